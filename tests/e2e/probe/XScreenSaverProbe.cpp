// Sets the X server's screen saver to start after <timeout> seconds without input, then watches
// its state for at most <watch> seconds. Prints "on" and exits 0 as soon as the saver runs;
// prints "off" with the last state seen and exits 1 when it never did; exits 2 when the display
// or its screen-saver extension is missing.
// Usage: x_screen_saver_probe <timeout seconds> <watch seconds>
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: %s <timeout seconds> <watch seconds>\n", argv[0]);
        return 2;
    }
    const int timeout = std::atoi(argv[1]);
    const int watch = std::atoi(argv[2]);
    Display* display = XOpenDisplay(nullptr);
    int eventBase = 0, errorBase = 0;
    if (display == nullptr || !XScreenSaverQueryExtension(display, &eventBase, &errorBase))
    {
        std::puts(display == nullptr ? "no display" : "no screen-saver extension");
        return 2;
    }
    XSetScreenSaver(display, timeout, 0, DefaultBlanking, DefaultExposures);
    XFlush(display);
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(watch);
    int state = -1;
    while (std::chrono::steady_clock::now() < end)
    {
        if (XScreenSaverQueryInfo(display, DefaultRootWindow(display), info) != 0)
            state = info->state;
        if (state == ScreenSaverOn)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    XFree(info);
    XCloseDisplay(display);
    if (state == ScreenSaverOn)
    {
        std::puts("on");
        return 0;
    }
    std::printf("off (state %d)\n", state);
    return 1;
}

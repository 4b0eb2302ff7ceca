// Opens the main window as the application does (1024 x 768, framed, centred in the work
// area), shows animated frames through the presenter on a 10 ms timer and closes after
// a number of frames, either by posting WM_CLOSE or by sending itself SIGTERM.
// Usage: window_smoke [--frames N] [--close post|signal|never] [--backend sdl|headless]
//                     [--fullscreen 1]  (desktop-sized, frames scaled with their aspect kept)
// Exit code 0 when the frames were shown and the close arrived as WM_CLOSE.
#include "framework/platform/Clock.h"
#include "framework/platform/FramePresenter.h"
#include "framework/platform/WindowSystem.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace Quoll::Platform;

namespace
{
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

WindowSystem* gSystem = nullptr;
bool gClosed = false;
int gTimerTicks = 0;
int gKeys = 0;

LResult SmokeProc(WindowId window, uint32_t message, WParam wParam, LParam lParam)
{
    switch (message)
    {
    case WM_CLOSE: gClosed = true; return 0;
    case WM_TIMER: ++gTimerTicks; return 0;
    case WM_KEYDOWN:
        ++gKeys;
        if (wParam == WParam(VK_ESCAPE))
            gSystem->PostMessage(window, WM_CLOSE, 0, 0);
        return 0;
    default: return gSystem->DefWindowProc(window, message, wParam, lParam);
    }
}

void DrawFrame(std::vector<uint32_t>& pixels, int frame)
{
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            uint32_t r = uint32_t((x + frame * 4) & 0xFF);
            uint32_t g = uint32_t((y + frame * 2) & 0xFF);
            uint32_t b = uint32_t(((x ^ y) + frame) & 0xFF);
            pixels[size_t(y) * kWidth + size_t(x)] = 0xFF000000u | r << 16 | g << 8 | b;
        }
}
} // namespace

int main(int argc, char** argv)
{
    int frames = 120;
    std::string close = "post";
    std::string backend;
    bool fullScreen = false;
    for (int i = 1; i + 1 < argc; i += 2)
    {
        if (std::strcmp(argv[i], "--frames") == 0)
            frames = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--close") == 0)
            close = argv[i + 1];
        else if (std::strcmp(argv[i], "--backend") == 0)
            backend = argv[i + 1];
        else if (std::strcmp(argv[i], "--fullscreen") == 0)
            fullScreen = std::atoi(argv[i + 1]) != 0;
        else
        {
            std::fprintf(stderr, "usage: %s [--frames N] [--close post|signal|never] [--backend NAME] [--fullscreen 1]\n",
                         argv[0]);
            return 2;
        }
    }

    std::unique_ptr<WindowSystem> system = WindowSystem::Create(backend);
    if (!system)
        return 1;
    gSystem = system.get();
    if (!system->RegisterClass({"MainWindow", CS_DBLCLKS, &SmokeProc}))
        return 1;

    // Centred horizontally, a little above the middle, as the application places it.
    WindowRect work = system->GetWorkArea();
    WindowCreateInfo info;
    info.className = "MainWindow";
    info.title = L"Window smoke test";
    info.style = WS_POPUP | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    info.width = kWidth;
    info.height = kHeight;
    info.x = work.left + (work.Width() - kWidth) / 2;
    info.y = work.top + int((work.Height() - kHeight) * 0.382);
    if (fullScreen)
    {
        info.style = WS_POPUP;
        info.exStyle = WS_EX_TOPMOST;
        info.x = info.y = 0;
    }
    WindowId main = system->CreateWindowEx(info);
    if (main == WindowId::None)
        return 1;
    system->ShowWindow(main, SW_SHOW);
    system->SetFocus(main);
    system->SetTimer(main, 100, 10);
    std::unique_ptr<FramePresenter> presenter = system->CreatePresenter(main);
    if (!presenter)
        return 1;

    std::vector<uint32_t> pixels(size_t(kWidth) * kHeight);
    int shown = 0;
    bool closing = false;
    while (!gClosed)
    {
        Message message;
        while (system->PeekMessage(message))
        {
            system->TranslateMessage(message);
            system->DispatchMessage(message);
        }
        if (gTimerTicks > 0 && shown < frames)
        {
            gTimerTicks = 0;
            DrawFrame(pixels, shown);
            if (!presenter->Present({pixels.data(), kWidth, kHeight, kWidth * 4}))
            {
                std::fprintf(stderr, "window_smoke: a frame could not be shown\n");
                return 1;
            }
            ++shown;
        }
        if (shown >= frames && !closing && close != "never")
        {
            closing = true;
            if (close == "signal")
                std::raise(SIGTERM);
            else
                system->PostMessage(main, WM_CLOSE, 0, 0);
        }
        SleepMilliseconds(1);
    }
    system->DestroyWindow(main);
    std::printf("window_smoke: %s back end, %d frames of %dx%d shown, %d keys, closed by WM_CLOSE\n",
                system->BackendName(), shown, kWidth, kHeight, gKeys);
    return shown >= frames ? 0 : 1;
}

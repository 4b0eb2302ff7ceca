#include "framework/platform/window/sdl/X11ScreenSaver.h"

#include "framework/platform/system/PlatformLog.h"
#include "framework/platform/system/SharedLibrary.h"

// Last: the X headers define short macros (None, Status, Bool) that our headers must not see.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/extensions/scrnsaver.h>

#include <string>

namespace Quoll::Platform
{
struct X11ScreenSaver::Api
{
    SharedLibrary x11, xss;
    Display* display = nullptr;
    decltype(&XGetScreenSaver) getScreenSaver = nullptr;
    decltype(&XResetScreenSaver) resetScreenSaver = nullptr;
    decltype(&XFlush) flush = nullptr;
    decltype(&XDefaultRootWindow) defaultRootWindow = nullptr;
    decltype(&XFree) free = nullptr;
    decltype(&XScreenSaverQueryExtension) queryExtension = nullptr;
    decltype(&XScreenSaverAllocInfo) allocInfo = nullptr;
    decltype(&XScreenSaverQueryInfo) queryInfo = nullptr;
    decltype(&XScreenSaverSuspend) suspend = nullptr; // null where libXss predates it
    XScreenSaverInfo* info = nullptr;

    template <typename Entry>
    static bool Bind(const SharedLibrary& library, const char* name, Entry& entry)
    {
        entry = reinterpret_cast<Entry>(library.Resolve(name));
        return entry != nullptr;
    }

    bool Load()
    {
        if (!(x11.Open("libX11.so.6") && xss.Open("libXss.so.1") &&
               Bind(x11, "XGetScreenSaver", getScreenSaver) && Bind(x11, "XResetScreenSaver", resetScreenSaver) &&
               Bind(x11, "XFlush", flush) && Bind(x11, "XDefaultRootWindow", defaultRootWindow) &&
               Bind(x11, "XFree", free) && Bind(xss, "XScreenSaverQueryExtension", queryExtension) &&
               Bind(xss, "XScreenSaverAllocInfo", allocInfo) && Bind(xss, "XScreenSaverQueryInfo", queryInfo)))
            return false;
        Bind(xss, "XScreenSaverSuspend", suspend);
        return true;
    }

    // The extension's reading now; false when the server did not answer.
    bool Query() { return queryInfo(display, defaultRootWindow(display), info) != 0; }
};

std::unique_ptr<X11ScreenSaver> X11ScreenSaver::Open(SDL_Window* window)
{
    SDL_SysWMinfo wm;
    SDL_VERSION(&wm.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &wm) != SDL_TRUE || wm.subsystem != SDL_SYSWM_X11)
    {
        LogLine("WindowSystem", "screen saver: not an X display, its state is unknown");
        return nullptr;
    }
    auto api = std::make_unique<Api>();
    api->display = wm.info.x11.display;
    if (!api->Load())
    {
        LogLine("WindowSystem", "screen saver: libX11 or libXss missing (" + api->x11.GetError() +
                                    api->xss.GetError() + "), its state is unknown");
        return nullptr;
    }
    int eventBase = 0, errorBase = 0;
    if (api->queryExtension(api->display, &eventBase, &errorBase) == 0 || (api->info = api->allocInfo()) == nullptr)
    {
        LogLine("WindowSystem", "screen saver: the X server has no screen-saver extension, its state is unknown");
        return nullptr;
    }
    return std::unique_ptr<X11ScreenSaver>(new X11ScreenSaver(std::move(api)));
}

X11ScreenSaver::X11ScreenSaver(std::unique_ptr<Api> api) : mApi(std::move(api)) {}

X11ScreenSaver::~X11ScreenSaver()
{
    if (mApi->info != nullptr)
        mApi->free(mApi->info);
}

std::optional<ScreenSaverSettings> X11ScreenSaver::Settings()
{
    int timeoutSeconds = 0, interval = 0, preferBlanking = 0, allowExposures = 0;
    mApi->getScreenSaver(mApi->display, &timeoutSeconds, &interval, &preferBlanking, &allowExposures);
    if (!mApi->Query())
        return std::nullopt;
    ScreenSaverSettings settings;
    settings.timeoutMs = timeoutSeconds > 0 ? uint32_t(timeoutSeconds) * 1000u : 0u;
    settings.active = timeoutSeconds > 0 && mApi->info->state != ScreenSaverDisabled;
    return settings;
}

std::optional<bool> X11ScreenSaver::Running()
{
    if (!mApi->Query())
        return std::nullopt;
    return mApi->info->state == ScreenSaverOn;
}

std::optional<uint32_t> X11ScreenSaver::IdleMilliseconds()
{
    if (!mApi->Query())
        return std::nullopt;
    return uint32_t(mApi->info->idle);
}

void X11ScreenSaver::Unsuspend()
{
    if (mApi->suspend == nullptr)
        return;
    mApi->suspend(mApi->display, False);
    mApi->flush(mApi->display);
}

void X11ScreenSaver::Reset()
{
    mApi->resetScreenSaver(mApi->display);
    mApi->flush(mApi->display);
}
} // namespace Quoll::Platform

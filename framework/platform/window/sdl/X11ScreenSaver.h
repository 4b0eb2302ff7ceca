#pragma once
// The desktop's screen saver on X11, read through the screen-saver extension on the X display
// of an SDL window: the server's timeout, whether the saver is enabled and running, and the
// time since the last input. libX11 and libXss are loaded at run time, so a machine without
// libXss runs as before; without either library, on a display without the extension, or in a
// session without X (Wayland without XWayland) there is no reader.
#include "framework/platform/window/WindowSystem.h"

#include <cstdint>
#include <memory>
#include <optional>

struct SDL_Window;

namespace Quoll::Platform
{
class X11ScreenSaver
{
public:
    // Null, with a log line saying why, when the window's display cannot answer.
    static std::unique_ptr<X11ScreenSaver> Open(SDL_Window* window);
    ~X11ScreenSaver();
    X11ScreenSaver(const X11ScreenSaver&) = delete;
    X11ScreenSaver& operator=(const X11ScreenSaver&) = delete;

    std::optional<ScreenSaverSettings> Settings();
    std::optional<bool> Running();
    std::optional<uint32_t> IdleMilliseconds();
    // Restarts the server's wait for its screen saver.
    void Reset();
    // Lifts a suspension of the saver made on the same display connection (SDL's, without a
    // session bus to ask instead); nothing where the server cannot suspend it.
    void Unsuspend();

private:
    struct Api;
    explicit X11ScreenSaver(std::unique_ptr<Api> api);
    std::unique_ptr<Api> mApi;
};
} // namespace Quoll::Platform

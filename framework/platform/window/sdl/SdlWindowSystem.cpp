// SDL2 window system.
// Supports: framed and borderless windows, desktop-sized full screen (no real mode
// switch; frames are scaled with their aspect kept), show / minimise / maximise / restore,
// focus, title, icon, placement, work area, screen size and refresh rate, keyboard, typed
// text, mouse buttons with double clicks, the wheel, capture, system cursors and colour
// cursors, the clipboard, message boxes, opening URLs, and frames shown on the main thread
// (SdlFrameOutput: the window's surface, or a scaling renderer for frames of another size).
// Fakes: the window manager's frame is known only once it has decorated a window (SDL
// reads its extents then), so the first framed window is placed as if it had none;
// monochrome cursors become colour cursors (inverted pixels are shown black).
// Limits: the wheel's resolution is whole notches; keys that SDL cannot name (media
// keys) are dropped; a quit from the session and SIGTERM / SIGINT are handled by the
// window system itself (SDL's own signal handlers are off). The desktop's screen saver is
// read on X11 only (X11ScreenSaver.h); elsewhere it cannot answer.
// No equivalent here: WM_QUERYOPEN (a minimised window is restored without asking),
// WM_ENDSESSION (the session's end arrives as a quit, hence WM_CLOSE), WM_NCLBUTTONDOWN (the
// window manager owns the frame and reports no clicks on it) and SC_MONITORPOWER (display
// power saving is not announced to programs).
#include "framework/platform/system/BackendTable.h"
#include "framework/platform/system/Clock.h"
#include "framework/platform/system/PlatformLog.h"
#include "framework/platform/system/Utf8.h"
#include "framework/platform/window/WindowSystem.h"
#include "framework/platform/window/sdl/X11ScreenSaver.h"
#include "framework/platform/window/sdl/SdlFrameOutput.h"
#include "framework/platform/window/sdl/SdlPresentStats.h"

#include <SDL.h>
#include <algorithm>
#include <map>
#include <memory>
#include <optional>

namespace Quoll::Platform
{
namespace
{
struct NativeWindow
{
    SDL_Window* window = nullptr;
    std::unique_ptr<SdlFrameOutput> output; // made with the first frame shown
    std::optional<FrameExtents> frame; // the window manager's, as last reported
    bool remade = false; // SDL re-made the window (for a renderer): its next move is undone
    ArgbImage icon; // kept until the window exists
};

uint16_t ModifiersFrom(Uint16 mod)
{
    uint16_t out = 0;
    if (mod & KMOD_LSHIFT) out |= ModLeftShift;
    if (mod & KMOD_RSHIFT) out |= ModRightShift;
    if (mod & KMOD_LCTRL) out |= ModLeftCtrl;
    if (mod & KMOD_RCTRL) out |= ModRightCtrl;
    if (mod & KMOD_LALT) out |= ModLeftAlt;
    if (mod & KMOD_RALT) out |= ModRightAlt;
    return out;
}

MouseButton ButtonFrom(Uint8 button)
{
    switch (button)
    {
    case SDL_BUTTON_LEFT: return MouseButton::Left;
    case SDL_BUTTON_MIDDLE: return MouseButton::Middle;
    case SDL_BUTTON_RIGHT: return MouseButton::Right;
    default: return MouseButton::None;
    }
}

SDL_SystemCursor SdlCursorFor(SystemCursor shape)
{
    switch (shape)
    {
    case SystemCursor::IBeam: return SDL_SYSTEM_CURSOR_IBEAM;
    case SystemCursor::Wait: return SDL_SYSTEM_CURSOR_WAIT;
    case SystemCursor::Cross: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case SystemCursor::SizeNWSE: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case SystemCursor::SizeNESW: return SDL_SYSTEM_CURSOR_SIZENESW;
    case SystemCursor::SizeWE: return SDL_SYSTEM_CURSOR_SIZEWE;
    case SystemCursor::SizeNS: return SDL_SYSTEM_CURSOR_SIZENS;
    case SystemCursor::SizeAll: return SDL_SYSTEM_CURSOR_SIZEALL;
    case SystemCursor::No: return SDL_SYSTEM_CURSOR_NO;
    case SystemCursor::Hand: return SDL_SYSTEM_CURSOR_HAND;
    default: return SDL_SYSTEM_CURSOR_ARROW;
    }
}

const char* AnswerLabel(int answer)
{
    switch (answer)
    {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "Abort";
    case IDRETRY: return "Retry";
    case IDIGNORE: return "Ignore";
    case IDYES: return "Yes";
    case IDNO: return "No";
    default: return "?";
    }
}

void Release(NativeWindow& native)
{
    native.output.reset();
    if (native.window != nullptr)
        SDL_DestroyWindow(native.window);
    native = NativeWindow{};
}

class SdlWindowSystem;

class SdlPresenter final : public FramePresenter
{
public:
    SdlPresenter(SdlWindowSystem& system, WindowId window) : mSystem(system), mWindow(window) {}
    bool Present(const ArgbImageView& frame) override;
    bool PresentChanged(const ArgbImageView& frame, const FrameArea& changed) override;
    uint64_t PresentCount() const override { return mCount; }
    bool SetCursorOverlay(const CursorPicture* picture) override;

private:
    SdlWindowSystem& mSystem;
    WindowId mWindow;
    uint64_t mCount = 0;
};

class SdlWindowSystem final : public WindowSystem
{
public:
    static std::unique_ptr<WindowSystem> Create();
    ~SdlWindowSystem() override;
    const char* BackendName() const override { return "sdl"; }
    std::string DisplayDriver() const override;
    bool ShowsNothing() const override;
    bool FellBackToShowingNothing() const override;
    bool PresentTo(WindowId window, const ArgbImageView& frame, const FrameArea& changed);
    // The presenters' cursor overlay: a colour cursor that SDL moves with the pointer, shown
    // while the window's cursor is none (null: none). False when it cannot be made.
    bool SetOverlayCursor(const CursorPicture* picture);

protected:
    void NativeShow(WindowRecord& window, int showCmd) override;
    void NativeDestroy(WindowRecord& window) override;
    void NativeUpdate(WindowRecord& window, WindowChange change) override;
    void NativeSetIcon(WindowRecord& window, const ArgbImageView& icon) override;
    void NativeRaise(WindowRecord& window) override;
    void PumpNativeEvents(std::vector<InputEvent>& events) override;
    ScreenInfo NativeScreen() override;
    ScreenPoint NativeGlobalPointer() override;
    void NativeCapture(bool capture) override { SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE); }
    bool NativeCreateCursor(CursorId id, SystemCursor shape) override;
    bool NativeCreateCursor(CursorId id, const CursorPicture& picture) override;
    void NativeSetCursor(CursorId id) override;
    void NativeDestroyCursor(CursorId id) override;
    bool NativeSetClipboard(const std::string& text) override { return SDL_SetClipboardText(text.c_str()) == 0; }
    std::string NativeGetClipboard() override;
    int NativeMessageBox(WindowRecord* owner, const std::string& text, const std::string& caption,
                         uint32_t flags) override;
    bool NativeOpenUrl(const std::string& url) override;
    void NativeAllowScreenSaver(bool allow) override;
    std::unique_ptr<FramePresenter> NativeCreatePresenter(WindowRecord& window) override
    {
        return std::make_unique<SdlPresenter>(*this, window.id);
    }
    std::optional<ScreenSaverSettings> NativeScreenSaverSettings() override;
    std::optional<bool> NativeScreenSaverRunning() override;
    std::optional<uint32_t> NativeLastInputTick() override;
    void NativeResetScreenSaver() override;

private:
    SdlWindowSystem() { SDL_AddEventWatch(&WatchRemakes, this); }
    static int WatchRemakes(void* system, SDL_Event* event);
    bool EnsureNative(WindowRecord& window);
    void ApplyIcon(NativeWindow& native);
    WindowId FromSdl(Uint32 sdlWindowId) const;
    void AddWindowEvent(const SDL_WindowEvent& event, std::vector<InputEvent>& events);
    std::optional<FrameExtents> FrameOf(WindowId window);
    bool UndoMoveOfRemadeWindow(WindowId window);
    void AddFrameChanges(std::vector<InputEvent>& events);
    // The screen-saver reader of the windows' display, opened with the first native window.
    X11ScreenSaver* Saver();

    std::map<WindowId, NativeWindow> mNative;
    std::map<CursorId, SDL_Cursor*> mCursors;
    SDL_Cursor* mOverlay = nullptr;
    std::unique_ptr<X11ScreenSaver> mSaver;
    bool mSaverOpened = false; // tried once a native window existed
    SdlFrameOutput::Path mPresentPath = SdlFrameOutput::PathFromEnvironment();
    SdlPresentStats mPresentStats;
    WindowId mShowingFrame = WindowId::None; // the window whose frame is being shown
};

std::unique_ptr<WindowSystem> SdlWindowSystem::Create()
{
    // SDL would suspend the desktop's screen saver at its start: the program says when it may
    // start instead (AllowScreenSaver), from its first frame on.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");

    // SIGTERM and SIGINT are turned into WM_CLOSE by the window system itself.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
    {
        LogLine("WindowSystem", std::string("SDL video: ") + SDL_GetError());
        return nullptr;
    }
    SDL_StartTextInput();
    return std::unique_ptr<WindowSystem>(new SdlWindowSystem());
}

std::string SdlWindowSystem::DisplayDriver() const
{
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr ? driver : "";
}

bool SdlWindowSystem::ShowsNothing() const
{
    const std::string driver = DisplayDriver();
    return driver == "offscreen" || driver == "dummy";
}

// SDL_VIDEODRIVER (the variable or the hint) names the drivers asked for; without it SDL tries
// the real ones and takes its offscreen driver when none finds a display.
bool SdlWindowSystem::FellBackToShowingNothing() const
{
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    return ShowsNothing() && (asked == nullptr || *asked == '\0');
}

SdlWindowSystem::~SdlWindowSystem()
{
    SDL_DelEventWatch(&WatchRemakes, this);
    mSaver.reset(); // before SDL closes the display
    for (auto& [id, native] : mNative)
        Release(native);
    for (auto& [id, cursor] : mCursors)
        if (cursor != nullptr)
            SDL_FreeCursor(cursor);
    if (mOverlay != nullptr)
        SDL_FreeCursor(mOverlay);
    SDL_StopTextInput();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    // The last SDL user lets SDL release its session-bus connection too.
    if (SDL_WasInit(0) == 0)
        SDL_Quit();
}

WindowId SdlWindowSystem::FromSdl(Uint32 sdlWindowId) const
{
    SDL_Window* window = SDL_GetWindowFromID(sdlWindowId);
    for (const auto& [id, native] : mNative)
        if (native.window != nullptr && native.window == window)
            return id;
    return WindowId::None;
}

bool SdlWindowSystem::EnsureNative(WindowRecord& window)
{
    NativeWindow& native = mNative[window.id];
    if (native.window != nullptr)
        return true;
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (window.IsFullScreen())
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    else if (!window.HasFrame())
        flags |= SDL_WINDOW_BORDERLESS;
    // A full-screen window has the desktop's size: without a window manager nobody else
    // resizes it. A window manager puts its frame where a new window asks to be, so a framed
    // window asks for its outer rectangle's corner.
    const WindowRect outer = window.OuterRect();
    std::string title = WideToUtf8(window.title);
    native.window =
        SDL_CreateWindow(title.c_str(), outer.left, outer.top, window.rect.Width(), window.rect.Height(), flags);
    if (native.window == nullptr)
    {
        LogLine("WindowSystem", std::string("SDL_CreateWindow: ") + SDL_GetError());
        return false;
    }
    ApplyIcon(native);
    return true;
}

void SdlWindowSystem::ApplyIcon(NativeWindow& native)
{
    if (native.window == nullptr || native.icon.pixels.empty())
        return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(native.icon.pixels.data(), native.icon.width,
                                                              native.icon.height, 32, native.icon.width * 4,
                                                              SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr)
        return;
    SDL_SetWindowIcon(native.window, surface);
    SDL_FreeSurface(surface);
}

void SdlWindowSystem::NativeShow(WindowRecord& window, int showCmd)
{
    if (showCmd == SW_HIDE)
    {
        if (auto found = mNative.find(window.id); found != mNative.end() && found->second.window != nullptr)
            SDL_HideWindow(found->second.window);
        return;
    }
    if (!EnsureNative(window))
        return;
    SDL_Window* sdl = mNative[window.id].window;
    switch (showCmd)
    {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED: SDL_ShowWindow(sdl); SDL_MinimizeWindow(sdl); break;
    case SW_SHOWMAXIMIZED: SDL_ShowWindow(sdl); SDL_MaximizeWindow(sdl); break;
    case SW_SHOWNOACTIVATE: SDL_ShowWindow(sdl); break;
    case SW_RESTORE: SDL_ShowWindow(sdl); SDL_RestoreWindow(sdl); SDL_RaiseWindow(sdl); break;
    default:
        SDL_ShowWindow(sdl);
        if (window.minimised)
            SDL_RestoreWindow(sdl);
        SDL_RaiseWindow(sdl);
        break;
    }
}

void SdlWindowSystem::NativeDestroy(WindowRecord& window)
{
    auto found = mNative.find(window.id);
    if (found == mNative.end())
        return;
    Release(found->second);
    mNative.erase(found);
}

void SdlWindowSystem::NativeUpdate(WindowRecord& window, WindowChange change)
{
    auto found = mNative.find(window.id);
    if (found == mNative.end() || found->second.window == nullptr)
        return;
    SDL_Window* sdl = found->second.window;
    if (change == WindowChange::Title)
        SDL_SetWindowTitle(sdl, WideToUtf8(window.title).c_str());
    else if (!window.IsFullScreen())
    {
        SDL_SetWindowSize(sdl, window.rect.Width(), window.rect.Height());
        SDL_SetWindowPosition(sdl, window.rect.left, window.rect.top);
    }
}

void SdlWindowSystem::NativeSetIcon(WindowRecord& window, const ArgbImageView& icon)
{
    NativeWindow& native = mNative[window.id];
    native.icon = ArgbImage::CopyOf(icon);
    ApplyIcon(native);
}

void SdlWindowSystem::NativeRaise(WindowRecord& window)
{
    if (auto found = mNative.find(window.id); found != mNative.end() && found->second.window != nullptr)
        SDL_RaiseWindow(found->second.window);
}

void SdlWindowSystem::AddWindowEvent(const SDL_WindowEvent& sdl, std::vector<InputEvent>& events)
{
    InputEvent event;
    event.window = FromSdl(sdl.windowID);
    switch (sdl.event)
    {
    case SDL_WINDOWEVENT_FOCUS_GAINED: event.kind = InputKind::FocusGained; break;
    case SDL_WINDOWEVENT_FOCUS_LOST: event.kind = InputKind::FocusLost; break;
    case SDL_WINDOWEVENT_MINIMIZED: event.kind = InputKind::Minimised; break;
    case SDL_WINDOWEVENT_MAXIMIZED: event.kind = InputKind::Maximised; break;
    case SDL_WINDOWEVENT_RESTORED: event.kind = InputKind::Restored; break;
    case SDL_WINDOWEVENT_EXPOSED:
        event.kind = InputKind::Exposed;
        if (auto found = mNative.find(event.window); found != mNative.end() && found->second.output)
            found->second.output->Exposed();
        break;
    case SDL_WINDOWEVENT_CLOSE: event.kind = InputKind::CloseRequested; break;
    case SDL_WINDOWEVENT_LEAVE: event.kind = InputKind::PointerLeft; break;
    case SDL_WINDOWEVENT_MOVED:
        if (UndoMoveOfRemadeWindow(event.window))
            return;
        event.kind = InputKind::Moved;
        event.x = sdl.data1;
        event.y = sdl.data2;
        event.frame = FrameOf(event.window);
        break;
    default: return;
    }
    if (event.window != WindowId::None)
        events.push_back(event);
}

// SDL re-makes a window when the renderer made for it needs another kind of window, on the first
// frame that goes through the renderer: it hides the old window at once, while the frame is being
// shown. A hide the window manager makes (a minimise, a switch of desktop) arrives with the events
// pumped later and is no re-making: the user's next move of that window stands.
int SdlWindowSystem::WatchRemakes(void* system, SDL_Event* event)
{
    auto& self = *static_cast<SdlWindowSystem*>(system);
    if (event->type != SDL_WINDOWEVENT || event->window.event != SDL_WINDOWEVENT_HIDDEN ||
        self.mShowingFrame == WindowId::None)
        return 0;
    if (auto native = self.mNative.find(self.mShowingFrame); native != self.mNative.end())
        native->second.remade = true;
    return 0;
}

// A re-made window is created at its client area's corner, where the window manager then puts
// its frame: the client area moves down and right by the frame. Put it back.
bool SdlWindowSystem::UndoMoveOfRemadeWindow(WindowId window)
{
    const WindowRecord* record = Find(window);
    auto native = mNative.find(window);
    if (record == nullptr || native == mNative.end() || !native->second.remade)
        return false;
    native->second.remade = false;
    if (!record->HasFrame())
        return false;
    SDL_SetWindowPosition(native->second.window, record->rect.left, record->rect.top);
    return true;
}

// The frame around a framed window, once the window manager has told its extents (none
// before, and none without a manager).
std::optional<FrameExtents> SdlWindowSystem::FrameOf(WindowId window)
{
    const WindowRecord* record = Find(window);
    auto native = mNative.find(window);
    if (record == nullptr || !record->HasFrame() || native == mNative.end() || native->second.window == nullptr)
        return std::nullopt;
    FrameExtents frame;
    if (SDL_GetWindowBordersSize(native->second.window, &frame.top, &frame.left, &frame.bottom, &frame.right) != 0 ||
        frame == FrameExtents{})
        return std::nullopt;
    native->second.frame = frame;
    return frame;
}

// The manager may tell a frame after the window's last move: that changes the outer rectangle.
void SdlWindowSystem::AddFrameChanges(std::vector<InputEvent>& events)
{
    for (auto& [id, native] : mNative)
    {
        if (native.window == nullptr)
            continue;
        const std::optional<FrameExtents> known = native.frame;
        const std::optional<FrameExtents> frame = FrameOf(id);
        if (!frame || frame == known)
            continue;
        InputEvent event;
        event.kind = InputKind::Moved;
        event.window = id;
        SDL_GetWindowPosition(native.window, &event.x, &event.y);
        event.frame = frame;
        events.push_back(event);
    }
}

void SdlWindowSystem::PumpNativeEvents(std::vector<InputEvent>& events)
{
    SDL_Event sdl;
    while (SDL_PollEvent(&sdl) != 0)
    {
        InputEvent event;
        switch (sdl.type)
        {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            event.kind = sdl.type == SDL_KEYDOWN ? InputKind::KeyDown : InputKind::KeyUp;
            event.window = FromSdl(sdl.key.windowID);
            event.symbol = (sdl.key.keysym.sym & SDLK_SCANCODE_MASK) != 0 ? 0 : uint32_t(sdl.key.keysym.sym);
            event.usage = static_cast<uint16_t>(sdl.key.keysym.scancode);
            event.modifiers = ModifiersFrom(sdl.key.keysym.mod);
            event.repeat = sdl.key.repeat != 0;
            break;
        case SDL_TEXTINPUT:
            event.kind = InputKind::Text;
            event.window = FromSdl(sdl.text.windowID);
            event.text = sdl.text.text;
            event.modifiers = ModifiersFrom(static_cast<Uint16>(SDL_GetModState()));
            break;
        case SDL_MOUSEMOTION:
            event.kind = InputKind::MouseMove;
            event.window = FromSdl(sdl.motion.windowID);
            event.x = sdl.motion.x;
            event.y = sdl.motion.y;
            event.modifiers = ModifiersFrom(static_cast<Uint16>(SDL_GetModState()));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            event.kind = sdl.type == SDL_MOUSEBUTTONDOWN ? InputKind::MouseDown : InputKind::MouseUp;
            event.window = FromSdl(sdl.button.windowID);
            event.button = ButtonFrom(sdl.button.button);
            event.clicks = sdl.button.clicks;
            event.x = sdl.button.x;
            event.y = sdl.button.y;
            event.modifiers = ModifiersFrom(static_cast<Uint16>(SDL_GetModState()));
            if (event.button == MouseButton::None)
                continue;
            break;
        case SDL_MOUSEWHEEL:
            event.kind = InputKind::Wheel;
            event.window = FromSdl(sdl.wheel.windowID);
            event.wheelNotches = sdl.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -sdl.wheel.y : sdl.wheel.y;
            event.x = sdl.wheel.mouseX;
            event.y = sdl.wheel.mouseY;
            event.modifiers = ModifiersFrom(static_cast<Uint16>(SDL_GetModState()));
            if (event.wheelNotches == 0)
                continue;
            break;
        case SDL_WINDOWEVENT: AddWindowEvent(sdl.window, events); continue;
        case SDL_DISPLAYEVENT:
            if (sdl.display.event == SDL_DISPLAYEVENT_NONE)
                continue;
            event.kind = InputKind::DisplayChanged;
            break;
        case SDL_QUIT: event.kind = InputKind::Quit; break;
        default: continue;
        }
        events.push_back(std::move(event));
    }
    AddFrameChanges(events);
}

ScreenInfo SdlWindowSystem::NativeScreen()
{
    int display = 0;
    for (const auto& [id, native] : mNative)
        if (native.window != nullptr)
        {
            display = std::max(0, SDL_GetWindowDisplayIndex(native.window));
            break;
        }
    ScreenInfo info;
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(display, &mode) == 0)
    {
        info.width = mode.w;
        info.height = mode.h;
        info.refreshRate = mode.refresh_rate > 0 ? mode.refresh_rate : 60;
    }
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(display, &usable) == 0)
        info.workArea = {usable.x, usable.y, usable.x + usable.w, usable.y + usable.h};
    else
        info.workArea = {0, 0, info.width, info.height};
    return info;
}

X11ScreenSaver* SdlWindowSystem::Saver()
{
    if (mSaverOpened)
        return mSaver.get();
    for (const auto& [id, native] : mNative)
        if (native.window != nullptr)
        {
            mSaverOpened = true;
            mSaver = X11ScreenSaver::Open(native.window);
            break;
        }
    return mSaver.get();
}

std::optional<ScreenSaverSettings> SdlWindowSystem::NativeScreenSaverSettings()
{
    X11ScreenSaver* saver = Saver();
    return saver != nullptr ? saver->Settings() : std::nullopt;
}

std::optional<bool> SdlWindowSystem::NativeScreenSaverRunning()
{
    X11ScreenSaver* saver = Saver();
    return saver != nullptr ? saver->Running() : std::nullopt;
}

std::optional<uint32_t> SdlWindowSystem::NativeLastInputTick()
{
    X11ScreenSaver* saver = Saver();
    const std::optional<uint32_t> idle = saver != nullptr ? saver->IdleMilliseconds() : std::nullopt;
    if (!idle)
        return std::nullopt;
    return TickCount() - *idle;
}

void SdlWindowSystem::NativeAllowScreenSaver(bool allow)
{
    if (!allow)
    {
        SDL_DisableScreenSaver();
        return;
    }
    SDL_EnableScreenSaver();
    // Without a session bus SDL suspends the X server's saver itself, and its enable leaves that
    // suspension in place: lift it on SDL's own connection.
    if (X11ScreenSaver* saver = Saver())
        saver->Unsuspend();
}

void SdlWindowSystem::NativeResetScreenSaver()
{
    if (X11ScreenSaver* saver = Saver())
        saver->Reset();
}

ScreenPoint SdlWindowSystem::NativeGlobalPointer()
{
    ScreenPoint point;
    SDL_GetGlobalMouseState(&point.x, &point.y);
    return point;
}

bool SdlWindowSystem::NativeCreateCursor(CursorId id, SystemCursor shape)
{
    // A driver without cursors (the dummy one) still gets a working id.
    mCursors[id] = SDL_CreateSystemCursor(SdlCursorFor(shape));
    return true;
}

bool SdlWindowSystem::NativeCreateCursor(CursorId id, const CursorPicture& picture)
{
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(picture.pixels.data()), picture.width, picture.height,
                                           32, picture.width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr)
        return false;
    mCursors[id] = SDL_CreateColorCursor(surface, picture.hotX, picture.hotY);
    SDL_FreeSurface(surface);
    return true;
}

void SdlWindowSystem::NativeSetCursor(CursorId id)
{
    if (id == CursorId::None)
    {
        // The overlay stands in for the hidden pointer.
        if (mOverlay != nullptr)
        {
            SDL_SetCursor(mOverlay);
            SDL_ShowCursor(SDL_ENABLE);
        }
        else
            SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    SDL_Cursor* cursor = mCursors.count(id) != 0 ? mCursors[id] : nullptr;
    SDL_SetCursor(cursor != nullptr ? cursor : SDL_GetDefaultCursor());
    SDL_ShowCursor(SDL_ENABLE);
}

void SdlWindowSystem::NativeDestroyCursor(CursorId id)
{
    auto found = mCursors.find(id);
    if (found == mCursors.end())
        return;
    if (found->second != nullptr)
        SDL_FreeCursor(found->second);
    mCursors.erase(found);
}

std::string SdlWindowSystem::NativeGetClipboard()
{
    char* text = SDL_GetClipboardText();
    std::string out = text != nullptr ? text : "";
    SDL_free(text);
    return out;
}

int SdlWindowSystem::NativeMessageBox(WindowRecord* owner, const std::string& text, const std::string& caption,
                                      uint32_t flags)
{
    std::vector<int> answers = MessageBoxAnswers(flags);
    int defaultAnswer = DefaultMessageBoxAnswer(flags);
    bool hasCancel = std::find(answers.begin(), answers.end(), IDCANCEL) != answers.end();
    std::vector<SDL_MessageBoxButtonData> buttons;
    for (int answer : answers)
    {
        Uint32 buttonFlags = 0;
        if (answer == defaultAnswer)
            buttonFlags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        if (answer == IDCANCEL || (!hasCancel && answers.size() == 1))
            buttonFlags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        buttons.push_back({buttonFlags, answer, AnswerLabel(answer)});
    }
    uint32_t icon = flags & MB_ICONMASK;
    SDL_MessageBoxData data{};
    data.flags = icon == MB_ICONERROR     ? SDL_MESSAGEBOX_ERROR
                 : icon == MB_ICONWARNING ? SDL_MESSAGEBOX_WARNING
                                          : SDL_MESSAGEBOX_INFORMATION;
    auto native = owner != nullptr ? mNative.find(owner->id) : mNative.end();
    data.window = native != mNative.end() ? native->second.window : nullptr;
    data.title = caption.c_str();
    data.message = text.c_str();
    data.numbuttons = static_cast<int>(buttons.size());
    data.buttons = buttons.data();
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0)
    {
        // Nobody will see it: keep the question in the log.
        LogLine("WindowSystem", "message box \"" + caption + "\" not shown (" + SDL_GetError() + "): " + text);
        return 0;
    }
    // Closed without a button: Cancel when there is one, else the only button.
    if (pressed < 0)
        return hasCancel ? IDCANCEL : answers.size() == 1 ? answers.front() : defaultAnswer;
    return pressed;
}

bool SdlWindowSystem::NativeOpenUrl(const std::string& url)
{
    if (SDL_OpenURL(url.c_str()) != 0)
    {
        LogLine("WindowSystem", "cannot open " + url + ": " + SDL_GetError());
        return false;
    }
    return true;
}

bool SdlWindowSystem::PresentTo(WindowId window, const ArgbImageView& frame, const FrameArea& changed)
{
    auto found = mNative.find(window);
    if (!frame.IsValid() || found == mNative.end() || found->second.window == nullptr)
        return false;
    NativeWindow& native = found->second;
    if (!native.output)
        native.output = std::make_unique<SdlFrameOutput>(native.window, mPresentPath);
    mShowingFrame = window;
    const bool shown = native.output->Show(frame, changed);
    mShowingFrame = WindowId::None;
    if (!shown)
        return false;
    mPresentStats.Counted();
    return true;
}

bool SdlWindowSystem::SetOverlayCursor(const CursorPicture* picture)
{
    SDL_Cursor* made = nullptr;
    if (picture != nullptr)
    {
        SDL_Surface* surface =
            SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(picture->pixels.data()), picture->width,
                                               picture->height, 32, picture->width * 4, SDL_PIXELFORMAT_ARGB8888);
        if (surface == nullptr)
            return false;
        made = SDL_CreateColorCursor(surface, picture->hotX, picture->hotY);
        SDL_FreeSurface(surface);
        if (made == nullptr)
            return false;
    }
    SDL_Cursor* old = mOverlay;
    mOverlay = made;
    if (GetCursor() == CursorId::None)
        NativeSetCursor(CursorId::None);
    if (old != nullptr)
        SDL_FreeCursor(old);
    return true;
}

bool SdlPresenter::SetCursorOverlay(const CursorPicture* picture)
{
    return mSystem.SetOverlayCursor(picture);
}

bool SdlPresenter::Present(const ArgbImageView& frame)
{
    return PresentChanged(frame, {0, 0, frame.width, frame.height});
}

bool SdlPresenter::PresentChanged(const ArgbImageView& frame, const FrameArea& changed)
{
    if (!mSystem.PresentTo(mWindow, frame, changed))
        return false;
    ++mCount;
    return true;
}
} // namespace

std::unique_ptr<WindowSystem> CreateSdlWindowSystem() { return SdlWindowSystem::Create(); }

namespace
{
// Linking this back end makes it the default window system.
const bool kRegistered = BackendRegistry<WindowSystem>::Add({"sdl", &CreateSdlWindowSystem}, true);
} // namespace
} // namespace Quoll::Platform

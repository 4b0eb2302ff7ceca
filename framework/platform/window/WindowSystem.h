#pragma once
// The window system of the framework: window classes with a window procedure, windows
// (the main window and an invisible message window), the message queue with posted,
// registered and timer messages, the pointer and cursors, the clipboard, message boxes,
// opening a URL and the presenter that shows finished frames.
//
// It keeps the shape of the system the framework was written for: messages carry the
// Windows numbers and wParam/lParam packing (WindowMessages.h), input arrives through
// PeekMessage / TranslateMessage / DispatchMessage, and each window's procedure decides
// what to do with each message, passing the rest to DefWindowProc.
//
// The back end is chosen by name (Create): "sdl" (the default) or "headless" (tests, demo
// replays; QUOLL_PLATFORM=headless). Everything runs on the main thread except
// PostMessage, RegisterWindowMessage, GetCursorPos, ScreenToClient, ClientToScreen,
// GetWindowRect and GetClientRect, which any thread may call (the cursor thread does).
//
// Geometry, in screen coordinates: a window with WS_CAPTION gets a frame from the window
// manager around its client area. CreateWindowEx, GetWindowRect, GetWindowPlacement and
// AdjustWindowRect speak of the outer rectangle (frame included), MoveWindow, GetClientRect,
// ClientToScreen and ScreenToClient of the client area. The frame's extents are what the
// back end last reported for a framed window: zero without a window manager, and until the
// manager has decorated a first window (it says how thick its frame is only then). A window
// created with WS_POPUP and WS_EX_TOPMOST and without WS_CAPTION is full screen: it covers
// the desktop at the desktop's mode whatever size it asks for, and its frames are scaled to
// fit with their aspect kept (there is no real mode switch). A window of zero size is never
// shown: it only receives messages.
#include "framework/platform/window/CursorImage.h"
#include "framework/platform/window/FramePresenter.h"
#include "framework/platform/window/InputEvent.h"
#include "framework/platform/window/WindowMessages.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace Quoll::Platform
{
class SingleInstance;

enum class WindowId : uint32_t
{
    None = 0,
};
// PostMessage to this reaches every top-level window.
inline constexpr WindowId HWND_BROADCAST = WindowId{0xFFFF};

struct Message
{
    WindowId window = WindowId::None;
    uint32_t message = WM_NULL;
    WParam wParam = 0;
    LParam lParam = 0;
    uint32_t time = 0; // TickCount when it was queued
};

using WindowProcedure = LResult (*)(WindowId window, uint32_t message, WParam wParam, LParam lParam);

struct WindowClass
{
    std::string name; // compared without regard to case
    uint32_t style = 0; // CS_DBLCLKS turns second clicks into double-click messages
    WindowProcedure procedure = nullptr;
};

struct WindowRect
{
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    WindowRect Grown(const FrameExtents& frame) const
    {
        return {left - frame.left, top - frame.top, right + frame.right, bottom + frame.bottom};
    }
    WindowRect Shrunk(const FrameExtents& frame) const
    {
        return {left + frame.left, top + frame.top, right - frame.right, bottom - frame.bottom};
    }
    bool operator==(const WindowRect&) const = default;
};

struct ScreenPoint
{
    int x = 0, y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

struct WindowCreateInfo
{
    std::string className;
    std::wstring title;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0; // outer rectangle (AdjustWindowRect of the client area)
};

struct WindowPlacement
{
    int showCmd = SW_HIDE; // SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED or SW_SHOWMAXIMIZED
    WindowRect normalPosition; // outer rectangle
};

// The desktop's screen-saver settings.
struct ScreenSaverSettings
{
    uint32_t timeoutMs = 0; // time without input before it starts
    bool active = false;    // it starts at all
};

struct ScreenInfo
{
    int width = 0, height = 0; // the desktop mode
    WindowRect workArea; // the desktop less panels
    int refreshRate = 60; // Hz
};

class WindowSystem
{
public:
    // The back end named (QUOLL_PLATFORM when empty; "sdl" when that is unset too). Null,
    // with a log line, when the name is unknown or the back end cannot start.
    static std::unique_ptr<WindowSystem> Create(std::string_view backend = {});

    virtual ~WindowSystem();
    WindowSystem(const WindowSystem&) = delete;
    WindowSystem& operator=(const WindowSystem&) = delete;

    virtual const char* BackendName() const = 0;
    // The display driver in use where the back end has several (SDL's "x11", "wayland",
    // "offscreen", "dummy"); empty where it has one.
    virtual std::string DisplayDriver() const { return {}; }
    // The driver in use shows the windows to nobody (SDL's offscreen and dummy drivers).
    virtual bool ShowsNothing() const { return false; }
    // ... and nobody asked for it: the back end found no display and fell back to it.
    virtual bool FellBackToShowingNothing() const { return false; }

    // Window classes and windows.
    bool RegisterClass(const WindowClass& windowClass);
    // Sends WM_CREATE; shows the window when WS_VISIBLE is in the style. None when the
    // class is unknown.
    WindowId CreateWindowEx(const WindowCreateInfo& info);
    // Sends WM_DESTROY, then forgets the window; its queued messages are dropped when
    // dispatched.
    bool DestroyWindow(WindowId window);
    bool IsWindow(WindowId window) const;
    void SetWindowUserData(WindowId window, void* data);
    void* GetWindowUserData(WindowId window) const;
    // Returns whether the window was visible before.
    bool ShowWindow(WindowId window, int showCmd);
    bool IsWindowVisible(WindowId window) const;
    bool IsIconic(WindowId window) const;
    bool SetWindowText(WindowId window, std::wstring_view title);
    std::wstring GetWindowText(WindowId window) const;
    bool SetWindowIcon(WindowId window, const ArgbImageView& icon);
    // The class's icon: every window of the class gets it, those there now and every one created
    // later (a window re-created on a mode switch keeps its look). False for an unknown class.
    bool SetClassIcon(std::string_view className, const ArgbImageView& icon);
    // Places the client area; the frame goes around it.
    bool MoveWindow(WindowId window, int x, int y, int width, int height);
    // The outer rectangle.
    bool GetWindowRect(WindowId window, WindowRect& rect) const;
    bool GetClientRect(WindowId window, WindowRect& rect) const;
    bool GetWindowPlacement(WindowId window, WindowPlacement& placement) const;
    bool ClientToScreen(WindowId window, ScreenPoint& point) const;
    bool ScreenToClient(WindowId window, ScreenPoint& point) const;
    // The outer rectangle of a window of this style around the client rectangle: grown by
    // the frame known for windows with a caption.
    WindowRect AdjustWindowRect(WindowRect client, uint32_t style) const;
    // Sends WM_ENABLE.
    bool EnableWindow(WindowId window, bool enable);
    bool IsWindowEnabled(WindowId window) const;
    WindowId SetFocus(WindowId window);
    WindowId GetFocus() const { return mFocus; }
    bool SetForegroundWindow(WindowId window);
    WindowId GetActiveWindow() const { return mActive; }

    // The desktop.
    ScreenInfo GetScreenInfo();
    WindowRect GetWorkArea() { return GetScreenInfo().workArea; }
    int GetRefreshRate() { return GetScreenInfo().refreshRate; }

    // Messages.
    // The same name (compared without regard to case) gives the same number in
    // kFirstRegisteredMessage..kLastRegisteredMessage; 0 when the range is used up or the
    // name is empty. Process-wide and thread-safe.
    static uint32_t RegisterWindowMessage(std::string_view name);
    // The name registered for a number, or empty.
    static std::string RegisteredMessageName(uint32_t message);
    // Thread-safe. False for an unknown window.
    bool PostMessage(WindowId window, uint32_t message, WParam wParam, LParam lParam);
    // Calls the window's procedure at once (main thread).
    LResult SendMessage(WindowId window, uint32_t message, WParam wParam, LParam lParam);
    // Takes in new input first; then the oldest queued message, else a due WM_TIMER.
    bool PeekMessage(Message& message, bool remove = true);
    // Adds the character messages for a key message: WM_CHAR 13, 8, 9, 27 for Enter,
    // Backspace, Tab and Escape, Ctrl+letter as 1..26, and WM_SYSCHAR for Alt+Enter,
    // Alt+letter and Alt+digit. Typed text itself arrives as WM_CHAR from the back end.
    bool TranslateMessage(const Message& message);
    // Calls the procedure of the message's window; 0 when the window is gone.
    LResult DispatchMessage(const Message& message);
    // The default handling: WM_CLOSE destroys the window, Alt+F4 and SC_CLOSE close it,
    // SC_MINIMIZE / SC_RESTORE / SC_MAXIMIZE change its state, SC_SCREENSAVE lets the
    // desktop's screen saver start; everything else is 0.
    LResult DefWindowProc(WindowId window, uint32_t message, WParam wParam, LParam lParam);
    // WM_TIMER every `milliseconds` (at least 1) while the queue has nothing else.
    bool SetTimer(WindowId window, uintptr_t id, uint32_t milliseconds);
    bool KillTimer(WindowId window, uintptr_t id);
    // Bit 15 set while the key is down: GetKeyState as of the messages taken so far,
    // GetAsyncKeyState as of the newest input.
    int16_t GetKeyState(int virtualKey) const;
    int16_t GetAsyncKeyState(int virtualKey) const;

    // Pointer and cursors. GetCursorPos gives the last position seen over the windows
    // (on the main thread, the desktop's pointer when it is over none of them).
    bool GetCursorPos(ScreenPoint& point);
    WindowId WindowFromPoint(ScreenPoint point);
    WindowId SetCapture(WindowId window);
    bool ReleaseCapture();
    WindowId GetCapture() const { return mCapture; }
    CursorId LoadCursor(SystemCursor cursor);
    CursorId CreateCursor(int hotX, int hotY, int width, int height, std::span<const uint8_t> andMask,
                          std::span<const uint8_t> xorMask);
    CursorId CreateCursorFromImage(const ArgbImageView& image, int hotX, int hotY);
    // None hides the pointer over the windows. Returns the previous cursor.
    CursorId SetCursor(CursorId cursor);
    CursorId GetCursor() const { return mCursor; }
    bool DestroyCursor(CursorId cursor);

    // Clipboard text (UTF-8).
    bool SetClipboardText(std::string_view text);
    std::string GetClipboardText();

    // A modal message box; returns IDOK, IDYES ... or 0 when it cannot be shown.
    int MessageBox(WindowId owner, std::string_view text, std::string_view caption, uint32_t flags);
    int MessageBox(WindowId owner, std::wstring_view text, std::wstring_view caption, uint32_t flags);
    // The answers of a box's button set (flags & MB_TYPEMASK), left to right, and the
    // answer of its default button.
    static std::vector<int> MessageBoxAnswers(uint32_t flags);
    static int DefaultMessageBoxAnswer(uint32_t flags);

    // Opens the URL with the desktop's opener; false when that cannot be started.
    bool OpenUrl(std::string_view url);

    // Whether the desktop's screen saver (and display power saving) may start while the program
    // runs. Until the first call the desktop's own settings hold (ScreenSaverAllowed says false);
    // the first call always reaches the desktop, later ones when the answer changes.
    void AllowScreenSaver(bool allow);
    bool ScreenSaverAllowed() const { return mScreenSaverAllowed.value_or(false); }

    // The desktop's screen saver, as the desktop reports it. Each query is empty when the
    // desktop cannot answer (no screen-saver extension, a session without X).
    std::optional<ScreenSaverSettings> GetScreenSaverSettings() { return NativeScreenSaverSettings(); }
    std::optional<bool> IsScreenSaverRunning() { return NativeScreenSaverRunning(); }
    // The TickCount of the user's last input anywhere on the desktop.
    std::optional<uint32_t> GetLastInputTick() { return NativeLastInputTick(); }

    // A presenter for the window (null for a message-only window).
    std::unique_ptr<FramePresenter> CreatePresenter(WindowId window);

    // Posts each notify that a second copy of the program sends through `instance` to
    // every top-level window, as the registered message of its name (any thread). Clear
    // the handler (SetNotifyHandler(nullptr)) or drop the instance before this system.
    void ReceiveInstanceNotifies(SingleInstance& instance);

protected:
    struct WindowRecord
    {
        WindowId id = WindowId::None;
        std::string className;
        uint32_t classStyle = 0;
        WindowProcedure procedure = nullptr;
        std::wstring title;
        uint32_t style = 0, exStyle = 0;
        WindowRect rect; // client area, screen coordinates
        FrameExtents frame; // the manager's frame around it, as last reported
        bool visible = false, minimised = false, maximised = false, enabled = true;
        void* userData = nullptr;

        bool IsFullScreen() const;
        bool HasFrame() const { return (style & WS_CAPTION) != 0; }
        bool IsMessageOnly() const { return rect.Width() <= 0 || rect.Height() <= 0; }
        WindowRect OuterRect() const { return rect.Grown(frame); }
    };

    enum class WindowChange
    {
        Title,
        Geometry,
    };

    WindowSystem();

    // Back-end work. Native windows exist only for windows that were shown.
    virtual void NativeShow(WindowRecord& window, int showCmd) = 0;
    virtual void NativeDestroy(WindowRecord& window) = 0;
    virtual void NativeUpdate(WindowRecord& window, WindowChange change) = 0;
    virtual void NativeSetIcon(WindowRecord& window, const ArgbImageView& icon) = 0;
    virtual void NativeRaise(WindowRecord& window) = 0;
    // New input, oldest first.
    virtual void PumpNativeEvents(std::vector<InputEvent>& events) = 0;
    virtual ScreenInfo NativeScreen() = 0;
    // The pointer in screen coordinates when it is over none of the windows.
    virtual ScreenPoint NativeGlobalPointer() = 0;
    virtual void NativeCapture(bool capture) = 0;
    virtual bool NativeCreateCursor(CursorId id, SystemCursor shape) = 0;
    virtual bool NativeCreateCursor(CursorId id, const CursorPicture& picture) = 0;
    virtual void NativeSetCursor(CursorId id) = 0;
    virtual void NativeDestroyCursor(CursorId id) = 0;
    virtual bool NativeSetClipboard(const std::string& text) = 0;
    virtual std::string NativeGetClipboard() = 0;
    virtual int NativeMessageBox(WindowRecord* owner, const std::string& text, const std::string& caption,
                                 uint32_t flags) = 0;
    virtual bool NativeOpenUrl(const std::string& url) = 0;
    virtual void NativeAllowScreenSaver(bool) {}
    virtual std::optional<ScreenSaverSettings> NativeScreenSaverSettings() { return std::nullopt; }
    virtual std::optional<bool> NativeScreenSaverRunning() { return std::nullopt; }
    virtual std::optional<uint32_t> NativeLastInputTick() { return std::nullopt; }
    // Restarts the desktop's wait for its screen saver, as input would (a refused start).
    virtual void NativeResetScreenSaver() {}
    virtual std::unique_ptr<FramePresenter> NativeCreatePresenter(WindowRecord& window) = 0;

    WindowRecord* Find(WindowId window);
    const WindowRecord* Find(WindowId window) const;
    // The window that input without a window goes to, and that a quit closes.
    WindowId InputTarget() const;
    // Windows in creation order.
    const std::map<WindowId, WindowRecord>& Windows() const { return mWindows; }

private:
    struct Timer
    {
        WindowId window;
        uintptr_t id;
        uint32_t interval;
        uint32_t due;
    };

    struct Geometry
    {
        WindowRect client;
        FrameExtents frame;
    };

    static bool TakeCloseSignal();
    void StoreRect(WindowRecord& window, WindowRect rect);
    void StoreFrame(WindowRecord& window, const FrameExtents& frame);
    WindowRect InitialClientRect(const WindowRecord& window, const WindowCreateInfo& info);
    bool GetGeometry(WindowId window, Geometry& geometry) const;
    void TakeInput();
    void Translate(const InputEvent& event);
    void Enqueue(const Message& message, bool atFront = false);
    void NoteWindowState(const InputEvent& event, WindowRecord& window);
    void UpdateKeyState(const Message& message, uint8_t* state) const;
    bool GenerateTimerMessage();
    // WM_SYSCOMMAND SC_SCREENSAVE to the active window once the desktop has been idle for its
    // screen saver's timeout; a window that refuses it restarts the desktop's wait.
    void OfferScreenSave(uint32_t now);
    void TranslateKey(const InputEvent& event, WindowRecord& window, uint32_t now);
    void TranslateMouse(const InputEvent& event, WindowRecord& window, uint32_t now);
    WParam MouseKeyFlags() const;

    std::map<WindowId, WindowRecord> mWindows;
    std::map<std::string, WindowClass> mClasses; // by lower-cased name
    std::map<std::string, ArgbImage> mClassIcons; // by lower-cased class name
    uint32_t mNextWindow = 1;
    WindowId mFocus = WindowId::None, mActive = WindowId::None, mCapture = WindowId::None;

    mutable std::mutex mQueueMutex; // guards the queue, the timers and mLiveWindows
    std::deque<Message> mQueue;
    std::vector<Timer> mTimers;
    std::set<WindowId> mLiveWindows;

    uint8_t mKeyState[256] = {}; // as of the messages taken
    uint8_t mAsyncKeyState[256] = {}; // as of the newest input
    uint16_t mModifiers = 0;
    uint8_t mButtonsHeld = 0; // MK_LBUTTON | MK_RBUTTON | MK_MBUTTON
    // Window rectangles and the pointer, for readers on other threads.
    mutable std::mutex mGeometryMutex;
    std::map<WindowId, Geometry> mGeometry;
    FrameExtents mCaptionFrame; // the frame last reported around a window with a caption
    WindowId mPointerWindow = WindowId::None; // the window the pointer is over
    ScreenPoint mPointerScreen; // its last position
    std::thread::id mMainThread;

    std::map<CursorId, bool> mCursors; // live cursors (value: a system shape)
    std::map<SystemCursor, CursorId> mSystemCursors;
    uint32_t mNextCursor = 1;
    CursorId mCursor = CursorId::None;
    std::optional<bool> mScreenSaverAllowed; // empty until AllowScreenSaver is called
    bool mCursorSet = false;
    bool mScreenSaveChecked = false;
    uint32_t mScreenSaveCheckTick = 0; // when the desktop's idle time was last looked at
    bool mScreenSaveOffered = false;   // SC_SCREENSAVE was sent for the current idle stretch
    bool mScreenSaveAccepted = false;  // the default procedure let the screen saver start

    struct SignalGuard;
    std::unique_ptr<SignalGuard> mSignals; // SIGTERM / SIGINT become WM_CLOSE
    std::vector<InputEvent> mPumped; // reused by TakeInput
};
} // namespace Quoll::Platform

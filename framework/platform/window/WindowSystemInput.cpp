// Translation of back-end input into window messages:
//  - keys become WM_KEYDOWN / WM_KEYUP with virtual-key codes, or WM_SYSKEYDOWN /
//    WM_SYSKEYUP while Alt is held without Ctrl (Ctrl+Alt is AltGr) and for F10 and Alt
//    itself; lParam holds the repeat count 1, the key's HID usage in bits 16-23, Alt in
//    bit 29, "was down" in bit 30 and "released" in bit 31;
//  - typed text becomes one WM_CHAR per character (none while Alt is held: the
//    character messages of Alt keys come from TranslateMessage as WM_SYSCHAR);
//  - mouse buttons become WM_xBUTTONDOWN/UP, and the second click of a pair
//    WM_xBUTTONDBLCLK for classes with CS_DBLCLKS; wParam holds the MK_ flags, lParam the
//    client position; the wheel gives WM_MOUSEWHEEL with 120 per notch;
//  - focus gives WM_ACTIVATEAPP and WM_SETFOCUS / WM_KILLFOCUS; minimising, restoring
//    and maximising give WM_SIZE; moving (or a new frame from the window manager) gives
//    WM_MOVE with the client area's position; exposure gives WM_PAINT; a
//    change of monitors gives every window WM_DISPLAYCHANGE (32 bits, the desktop size);
//  - a move by the user sends WM_SYSCOMMAND SC_MOVE at once, before WM_MOVE is queued;
//  - once the desktop has been idle for its screen saver's timeout, the active window is sent
//    WM_SYSCOMMAND SC_SCREENSAVE; when its procedure does not pass that on to DefWindowProc,
//    the desktop's wait for the screen saver starts again;
//  - the close button, the session's quit and SIGTERM / SIGINT give WM_CLOSE;
//  - a pointer move first sends WM_SETCURSOR (HTCLIENT, WM_MOUSEMOVE) at once, so the
//    window can set its cursor.
#include "framework/platform/window/WindowSystem.h"

#include "framework/platform/system/Clock.h"
#include "framework/platform/window/KeyMap.h"
#include "framework/platform/system/Utf8.h"

#include <algorithm>

namespace Quoll::Platform
{
namespace
{
WParam ButtonFlag(MouseButton button)
{
    switch (button)
    {
    case MouseButton::Left: return MK_LBUTTON;
    case MouseButton::Right: return MK_RBUTTON;
    case MouseButton::Middle: return MK_MBUTTON;
    default: return 0;
    }
}

uint32_t ButtonMessage(MouseButton button, bool down, bool doubleClick)
{
    uint32_t first = button == MouseButton::Left    ? WM_LBUTTONDOWN
                     : button == MouseButton::Right ? WM_RBUTTONDOWN
                                                    : WM_MBUTTONDOWN;
    if (!down)
        return first + 1;
    return doubleClick ? first + 2 : first;
}

bool AltHeld(uint16_t modifiers)
{
    return (modifiers & (ModLeftAlt | ModRightAlt)) != 0 && (modifiers & ModCtrl) == 0;
}
} // namespace

WParam WindowSystem::MouseKeyFlags() const
{
    WParam flags = mButtonsHeld;
    if ((mModifiers & ModShift) != 0)
        flags |= MK_SHIFT;
    if ((mModifiers & ModCtrl) != 0)
        flags |= MK_CONTROL;
    return flags;
}

void WindowSystem::UpdateKeyState(const Message& message, uint8_t* state) const
{
    switch (message.message)
    {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: state[message.wParam & 0xFF] = 0x80; break;
    case WM_KEYUP:
    case WM_SYSKEYUP: state[message.wParam & 0xFF] = 0; break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        state[VK_LBUTTON] = (message.wParam & MK_LBUTTON) != 0 ? 0x80 : 0;
        state[VK_RBUTTON] = (message.wParam & MK_RBUTTON) != 0 ? 0x80 : 0;
        state[VK_MBUTTON] = (message.wParam & MK_MBUTTON) != 0 ? 0x80 : 0;
        break;
    default: break;
    }
}

void WindowSystem::TakeInput()
{
    if (TakeCloseSignal())
        if (WindowId target = InputTarget(); target != WindowId::None)
            Enqueue({target, WM_CLOSE, 0, 0, TickCount()});
    mPumped.clear();
    PumpNativeEvents(mPumped);
    for (const InputEvent& event : mPumped)
        Translate(event);
    OfferScreenSave(TickCount());
}

void WindowSystem::OfferScreenSave(uint32_t now)
{
    constexpr uint32_t kCheckInterval = 1000; // ms
    if (mScreenSaveChecked && now - mScreenSaveCheckTick < kCheckInterval)
        return;
    mScreenSaveChecked = true;
    mScreenSaveCheckTick = now;
    const std::optional<ScreenSaverSettings> settings = NativeScreenSaverSettings();
    const std::optional<uint32_t> lastInput = NativeLastInputTick();
    const bool idleLongEnough = settings && settings->active && lastInput &&
                                int32_t(now - *lastInput) >= 0 && now - *lastInput >= settings->timeoutMs;
    if (!idleLongEnough)
    {
        mScreenSaveOffered = false;
        return;
    }
    // Only the active window is asked, once per idle stretch unless it refuses.
    if (mScreenSaveOffered || mActive == WindowId::None)
        return;
    mScreenSaveOffered = true;
    mScreenSaveAccepted = false;
    SendMessage(mActive, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    if (!mScreenSaveAccepted)
    {
        NativeResetScreenSaver();
        mScreenSaveOffered = false; // asked again while the desktop stays idle
    }
}

void WindowSystem::Translate(const InputEvent& event)
{
    uint32_t now = TickCount();
    WindowId target = (event.window != WindowId::None && IsWindow(event.window)) ? event.window : InputTarget();
    WindowRecord* window = Find(target);
    if (window == nullptr)
        return;
    switch (event.kind)
    {
    case InputKind::KeyDown:
    case InputKind::KeyUp: TranslateKey(event, *window, now); return;
    case InputKind::Text:
        mModifiers = event.modifiers;
        if (AltHeld(mModifiers))
            return;
        for (char32_t c : Utf8CodePoints(event.text))
            Enqueue({target, WM_CHAR, static_cast<WParam>(c), 1, now});
        return;
    case InputKind::MouseMove:
    case InputKind::MouseDown:
    case InputKind::MouseUp:
    case InputKind::Wheel: TranslateMouse(event, *window, now); return;
    case InputKind::PointerLeft:
    {
        std::lock_guard lock(mGeometryMutex);
        if (mPointerWindow == target)
            mPointerWindow = WindowId::None;
        return;
    }
    case InputKind::DisplayChanged:
    {
        ScreenInfo screen = NativeScreen();
        for (const auto& [id, record] : Windows())
            Enqueue({id, WM_DISPLAYCHANGE, 32, MakeLParam(screen.width, screen.height), now});
        return;
    }
    case InputKind::CloseRequested:
    case InputKind::Quit: Enqueue({target, WM_CLOSE, 0, 0, now}); return;
    case InputKind::Exposed:
    {
        std::lock_guard lock(mQueueMutex);
        bool queued = std::any_of(mQueue.begin(), mQueue.end(),
                                  [&](const Message& m) { return m.window == target && m.message == WM_PAINT; });
        if (!queued)
            mQueue.push_back({target, WM_PAINT, 0, 0, now});
        return;
    }
    default: NoteWindowState(event, *window); return;
    }
}

void WindowSystem::TranslateKey(const InputEvent& event, WindowRecord& window, uint32_t now)
{
    mModifiers = event.modifiers;
    int key = VirtualKeyFromKey(event.symbol, event.usage);
    if (key == 0)
        return;
    bool down = event.kind == InputKind::KeyDown;
    bool alt = AltHeld(event.modifiers);
    bool system = alt || key == VK_F10 || (key == VK_MENU && (event.modifiers & ModCtrl) == 0);
    uint32_t message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    bool wasDown = down ? (event.repeat || (mAsyncKeyState[key] & 0x80) != 0) : true;
    uint32_t bits = 1u | (uint32_t(event.usage & 0xFF) << 16) | (alt ? 1u << 29 : 0u) | (wasDown ? 1u << 30 : 0u) |
                    (down ? 0u : 1u << 31);
    Message translated{window.id, message, static_cast<WParam>(key), static_cast<LParam>(static_cast<int32_t>(bits)), now};
    UpdateKeyState(translated, mAsyncKeyState);
    Enqueue(translated);
}

void WindowSystem::TranslateMouse(const InputEvent& event, WindowRecord& window, uint32_t now)
{
    mModifiers = event.modifiers;
    {
        std::lock_guard lock(mGeometryMutex);
        mPointerWindow = window.id;
        mPointerScreen = {window.rect.left + event.x, window.rect.top + event.y};
    }
    // While captured, the capturing window gets the input, in its own coordinates.
    WindowRecord* target = &window;
    ScreenPoint at{event.x, event.y};
    if (WindowRecord* capture = Find(mCapture); capture != nullptr && capture != &window)
    {
        at = {event.x + window.rect.left - capture->rect.left, event.y + window.rect.top - capture->rect.top};
        target = capture;
    }
    Message message{target->id, WM_MOUSEMOVE, 0, MakeLParam(at.x, at.y), now};
    switch (event.kind)
    {
    case InputKind::MouseDown:
    {
        mButtonsHeld |= static_cast<uint8_t>(ButtonFlag(event.button));
        bool doubleClick = (target->classStyle & CS_DBLCLKS) != 0 && event.clicks >= 2 && event.clicks % 2 == 0;
        message.message = ButtonMessage(event.button, true, doubleClick);
        break;
    }
    case InputKind::MouseUp:
        mButtonsHeld &= static_cast<uint8_t>(~ButtonFlag(event.button));
        message.message = ButtonMessage(event.button, false, false);
        break;
    case InputKind::Wheel:
    {
        // The wheel goes to the focus window with the pointer in screen coordinates.
        WindowRecord* focus = Find(mFocus);
        WindowRecord* wheelTarget = focus != nullptr ? focus : &window;
        int delta = std::clamp(event.wheelNotches, -273, 273) * WHEEL_DELTA;
        Enqueue({wheelTarget->id, WM_MOUSEWHEEL, MakeWParam(int(MouseKeyFlags()), delta),
                 MakeLParam(window.rect.left + event.x, window.rect.top + event.y), now});
        return;
    }
    default:
        SendMessage(target->id, WM_SETCURSOR, static_cast<WParam>(target->id), MakeLParam(HTCLIENT, WM_MOUSEMOVE));
        target = Find(message.window); // the procedure may have destroyed it
        if (target == nullptr)
            return;
        break;
    }
    if (message.message != WM_MOUSEMOVE && event.button == MouseButton::None)
        return;
    message.wParam = MouseKeyFlags();
    UpdateKeyState(message, mAsyncKeyState);
    Enqueue(message);
}

void WindowSystem::NoteWindowState(const InputEvent& event, WindowRecord& window)
{
    uint32_t now = TickCount();
    switch (event.kind)
    {
    case InputKind::FocusGained:
        if (mActive == window.id)
            return;
        mActive = mFocus = window.id;
        Enqueue({window.id, WM_ACTIVATEAPP, 1, 0, now});
        Enqueue({window.id, WM_SETFOCUS, 0, 0, now});
        return;
    case InputKind::FocusLost:
        if (mActive != window.id)
            return;
        mActive = mFocus = WindowId::None;
        // Keys released while another program had the focus are never reported.
        std::fill(std::begin(mAsyncKeyState), std::end(mAsyncKeyState), uint8_t(0));
        mButtonsHeld = 0;
        mModifiers = 0;
        Enqueue({window.id, WM_KILLFOCUS, 0, 0, now});
        Enqueue({window.id, WM_ACTIVATEAPP, 0, 0, now});
        return;
    case InputKind::Minimised:
        window.minimised = true;
        Enqueue({window.id, WM_SIZE, SIZE_MINIMIZED, 0, now});
        return;
    case InputKind::Restored:
        window.minimised = window.maximised = false;
        Enqueue({window.id, WM_SIZE, SIZE_RESTORED, MakeLParam(window.rect.Width(), window.rect.Height()), now});
        return;
    case InputKind::Maximised:
        window.minimised = false;
        window.maximised = true;
        Enqueue({window.id, WM_SIZE, SIZE_MAXIMIZED, MakeLParam(window.rect.Width(), window.rect.Height()), now});
        return;
    case InputKind::Moved:
    {
        // A position other than the one stored is the user's move (MoveWindow stores its own
        // first): the window hears of it as a system move command.
        const WindowId id = window.id;
        const bool byUser = event.x != window.rect.left || event.y != window.rect.top;
        int width = window.rect.Width(), height = window.rect.Height();
        if (event.frame)
            StoreFrame(window, *event.frame);
        StoreRect(window, {event.x, event.y, event.x + width, event.y + height});
        if (byUser)
            SendMessage(id, WM_SYSCOMMAND, SC_MOVE, 0);
        if (IsWindow(id))
            Enqueue({id, WM_MOVE, 0, MakeLParam(event.x, event.y), now});
        return;
    }
    default: return;
    }
}
} // namespace Quoll::Platform

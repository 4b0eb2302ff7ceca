// The back-end-neutral part of the window system: windows, classes, the queue, timers,
// registered messages, cursors' bookkeeping and the default window procedure.
#include "framework/platform/window/WindowSystem.h"

#include "framework/platform/system/BackendTable.h"
#include "framework/platform/system/Clock.h"
#include "framework/platform/system/PlatformLog.h"
#include "framework/platform/system/SingleInstance.h"
#include "framework/platform/system/TextHelpers.h"
#include "framework/platform/system/Utf8.h"

#include <algorithm>
#include <csignal>

namespace Quoll::Platform
{
std::unique_ptr<WindowSystem> CreateHeadlessWindowSystem();

namespace
{
// The headless window system is always there; the SDL one registers itself when linked.
const bool kHeadlessRegistered = BackendRegistry<WindowSystem>::Add({"headless", &CreateHeadlessWindowSystem}, false);

// Registered message names, process-wide.
struct RegisteredMessages
{
    std::mutex mutex;
    std::map<std::string, uint32_t> byName; // lower-cased
    std::map<uint32_t, std::string> byNumber;
};

RegisteredMessages& Registered()
{
    static RegisteredMessages registered;
    return registered;
}

std::atomic<bool> gCloseSignal{false};

void OnCloseSignal(int) { gCloseSignal.store(true); }
} // namespace

struct WindowSystem::SignalGuard
{
    struct sigaction oldTerm{};
    struct sigaction oldInt{};

    SignalGuard()
    {
        struct sigaction action{};
        action.sa_handler = &OnCloseSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGTERM, &action, &oldTerm);
        sigaction(SIGINT, &action, &oldInt);
        gCloseSignal.store(false);
    }
    ~SignalGuard()
    {
        sigaction(SIGTERM, &oldTerm, nullptr);
        sigaction(SIGINT, &oldInt, nullptr);
    }
};

std::unique_ptr<WindowSystem> WindowSystem::Create(std::string_view backend)
{
    if (backend.empty())
        backend = RequestedBackendName();
    std::unique_ptr<WindowSystem> system = BackendRegistry<WindowSystem>::Create(backend);
    if (!system)
        LogLine("WindowSystem", "no window system \"" +
                                    std::string(backend.empty() ? BackendRegistry<WindowSystem>::DefaultName() : backend) + "\"");
    return system;
}

bool WindowSystem::TakeCloseSignal() { return gCloseSignal.exchange(false); }

WindowSystem::WindowSystem() : mMainThread(std::this_thread::get_id()), mSignals(std::make_unique<SignalGuard>()) {}

void WindowSystem::StoreRect(WindowRecord& window, WindowRect rect)
{
    window.rect = rect;
    std::lock_guard lock(mGeometryMutex);
    mGeometry[window.id] = {window.rect, window.frame};
}

// The manager's frame around a window (other threads see it with the next StoreRect). The
// last one reported around a window with a caption is the one new such windows expect.
void WindowSystem::StoreFrame(WindowRecord& window, const FrameExtents& frame)
{
    window.frame = window.HasFrame() ? frame : FrameExtents{};
    if (window.HasFrame())
        mCaptionFrame = frame;
}

bool WindowSystem::GetGeometry(WindowId window, Geometry& geometry) const
{
    std::lock_guard lock(mGeometryMutex);
    auto found = mGeometry.find(window);
    if (found == mGeometry.end())
        return false;
    geometry = found->second;
    return true;
}

WindowRect WindowSystem::AdjustWindowRect(WindowRect client, uint32_t style) const
{
    return (style & WS_CAPTION) != 0 ? client.Grown(mCaptionFrame) : client;
}

WindowSystem::~WindowSystem() = default;

bool WindowSystem::WindowRecord::IsFullScreen() const
{
    return (style & WS_POPUP) != 0 && (style & WS_CAPTION) == 0 && (exStyle & WS_EX_TOPMOST) != 0;
}

WindowSystem::WindowRecord* WindowSystem::Find(WindowId window)
{
    auto found = mWindows.find(window);
    return found == mWindows.end() ? nullptr : &found->second;
}

const WindowSystem::WindowRecord* WindowSystem::Find(WindowId window) const
{
    auto found = mWindows.find(window);
    return found == mWindows.end() ? nullptr : &found->second;
}

WindowId WindowSystem::InputTarget() const
{
    if (mFocus != WindowId::None)
        return mFocus;
    for (const auto& [id, window] : mWindows)
        if (window.visible && !window.IsMessageOnly())
            return id;
    return mWindows.empty() ? WindowId::None : mWindows.begin()->first;
}

// --- classes and windows -----------------------------------------------------------

bool WindowSystem::RegisterClass(const WindowClass& windowClass)
{
    if (windowClass.name.empty() || windowClass.procedure == nullptr)
        return false;
    return mClasses.emplace(LowerAscii(windowClass.name), windowClass).second;
}

WindowId WindowSystem::CreateWindowEx(const WindowCreateInfo& info)
{
    auto windowClass = mClasses.find(LowerAscii(info.className));
    if (windowClass == mClasses.end())
    {
        LogLine("WindowSystem", "CreateWindowEx: no class \"" + info.className + "\"");
        return WindowId::None;
    }
    if (mNextWindow == static_cast<uint32_t>(HWND_BROADCAST))
        ++mNextWindow;
    WindowRecord record;
    record.id = WindowId{mNextWindow++};
    record.className = windowClass->second.name;
    record.classStyle = windowClass->second.style;
    record.procedure = windowClass->second.procedure;
    record.title = info.title;
    record.style = info.style & ~WS_VISIBLE;
    record.exStyle = info.exStyle;
    WindowId id = record.id;
    WindowRecord& stored = mWindows.emplace(id, std::move(record)).first->second;
    StoreFrame(stored, mCaptionFrame);
    StoreRect(stored, InitialClientRect(stored, info));
    if (auto icon = mClassIcons.find(LowerAscii(info.className)); icon != mClassIcons.end())
        NativeSetIcon(stored, icon->second.View());
    {
        std::lock_guard lock(mQueueMutex);
        mLiveWindows.insert(id);
    }
    SendMessage(id, WM_CREATE, 0, 0);
    if ((info.style & WS_VISIBLE) != 0 && IsWindow(id))
        ShowWindow(id, SW_SHOW);
    return id;
}

// A full-screen window covers the desktop. Any other gets the rectangle asked for, less the
// frame the manager is expected to draw inside it.
WindowRect WindowSystem::InitialClientRect(const WindowRecord& window, const WindowCreateInfo& info)
{
    if (window.IsFullScreen())
    {
        const ScreenInfo screen = NativeScreen();
        if (screen.width > 0 && screen.height > 0)
            return {0, 0, screen.width, screen.height};
    }
    const WindowRect outer{info.x, info.y, info.x + std::max(0, info.width), info.y + std::max(0, info.height)};
    WindowRect client = outer.Shrunk(window.frame);
    client.right = std::max(client.left, client.right);
    client.bottom = std::max(client.top, client.bottom);
    return client;
}

bool WindowSystem::DestroyWindow(WindowId window)
{
    WindowRecord* record = Find(window);
    if (record == nullptr)
        return false;
    SendMessage(window, WM_DESTROY, 0, 0);
    record = Find(window); // the procedure may have changed the table
    if (record == nullptr)
        return true;
    NativeDestroy(*record);
    mWindows.erase(window);
    {
        std::lock_guard lock(mQueueMutex);
        mLiveWindows.erase(window);
        std::erase_if(mTimers, [&](const Timer& timer) { return timer.window == window; });
    }
    if (mFocus == window)
        mFocus = WindowId::None;
    if (mActive == window)
        mActive = WindowId::None;
    if (mCapture == window)
        ReleaseCapture();
    std::lock_guard lock(mGeometryMutex);
    mGeometry.erase(window);
    if (mPointerWindow == window)
        mPointerWindow = WindowId::None;
    return true;
}

bool WindowSystem::IsWindow(WindowId window) const { return Find(window) != nullptr; }

void WindowSystem::SetWindowUserData(WindowId window, void* data)
{
    if (WindowRecord* record = Find(window))
        record->userData = data;
}

void* WindowSystem::GetWindowUserData(WindowId window) const
{
    const WindowRecord* record = Find(window);
    return record != nullptr ? record->userData : nullptr;
}

bool WindowSystem::ShowWindow(WindowId window, int showCmd)
{
    WindowRecord* record = Find(window);
    if (record == nullptr)
        return false;
    bool wasVisible = record->visible;
    record->visible = showCmd != SW_HIDE;
    if (!record->IsMessageOnly())
        NativeShow(*record, showCmd);
    return wasVisible;
}

bool WindowSystem::IsWindowVisible(WindowId window) const
{
    const WindowRecord* record = Find(window);
    return record != nullptr && record->visible;
}

bool WindowSystem::IsIconic(WindowId window) const
{
    const WindowRecord* record = Find(window);
    return record != nullptr && record->minimised;
}

bool WindowSystem::SetWindowText(WindowId window, std::wstring_view title)
{
    WindowRecord* record = Find(window);
    if (record == nullptr)
        return false;
    record->title = std::wstring(title);
    NativeUpdate(*record, WindowChange::Title);
    return true;
}

std::wstring WindowSystem::GetWindowText(WindowId window) const
{
    const WindowRecord* record = Find(window);
    return record != nullptr ? record->title : std::wstring();
}

bool WindowSystem::SetWindowIcon(WindowId window, const ArgbImageView& icon)
{
    WindowRecord* record = Find(window);
    if (record == nullptr || !icon.IsValid())
        return false;
    NativeSetIcon(*record, icon);
    return true;
}

bool WindowSystem::SetClassIcon(std::string_view className, const ArgbImageView& icon)
{
    const std::string key = LowerAscii(className);
    if (mClasses.count(key) == 0 || !icon.IsValid())
        return false;
    mClassIcons[key] = ArgbImage::CopyOf(icon);
    for (auto& [id, window] : mWindows)
        if (LowerAscii(window.className) == key)
            NativeSetIcon(window, icon);
    return true;
}

bool WindowSystem::MoveWindow(WindowId window, int x, int y, int width, int height)
{
    WindowRecord* record = Find(window);
    if (record == nullptr || width < 0 || height < 0)
        return false;
    StoreRect(*record, {x, y, x + width, y + height});
    NativeUpdate(*record, WindowChange::Geometry);
    return true;
}

bool WindowSystem::GetWindowRect(WindowId window, WindowRect& rect) const
{
    Geometry geometry;
    if (!GetGeometry(window, geometry))
        return false;
    rect = geometry.client.Grown(geometry.frame);
    return true;
}

bool WindowSystem::GetClientRect(WindowId window, WindowRect& rect) const
{
    Geometry geometry;
    if (!GetGeometry(window, geometry))
        return false;
    rect = {0, 0, geometry.client.Width(), geometry.client.Height()};
    return true;
}

bool WindowSystem::GetWindowPlacement(WindowId window, WindowPlacement& placement) const
{
    const WindowRecord* record = Find(window);
    if (record == nullptr)
        return false;
    placement.showCmd = !record->visible     ? SW_HIDE
                        : record->minimised ? SW_SHOWMINIMIZED
                        : record->maximised ? SW_SHOWMAXIMIZED
                                            : SW_SHOWNORMAL;
    placement.normalPosition = record->OuterRect();
    return true;
}

bool WindowSystem::ClientToScreen(WindowId window, ScreenPoint& point) const
{
    Geometry geometry;
    if (!GetGeometry(window, geometry))
        return false;
    point.x += geometry.client.left;
    point.y += geometry.client.top;
    return true;
}

bool WindowSystem::ScreenToClient(WindowId window, ScreenPoint& point) const
{
    Geometry geometry;
    if (!GetGeometry(window, geometry))
        return false;
    point.x -= geometry.client.left;
    point.y -= geometry.client.top;
    return true;
}

bool WindowSystem::EnableWindow(WindowId window, bool enable)
{
    WindowRecord* record = Find(window);
    if (record == nullptr)
        return false;
    bool wasDisabled = !record->enabled;
    record->enabled = enable;
    SendMessage(window, WM_ENABLE, enable ? 1 : 0, 0);
    return wasDisabled;
}

bool WindowSystem::IsWindowEnabled(WindowId window) const
{
    const WindowRecord* record = Find(window);
    return record != nullptr && record->enabled;
}

WindowId WindowSystem::SetFocus(WindowId window)
{
    WindowId previous = mFocus;
    if (WindowRecord* record = Find(window); record != nullptr && !record->IsMessageOnly())
    {
        mFocus = window;
        NativeRaise(*record);
    }
    return previous;
}

bool WindowSystem::SetForegroundWindow(WindowId window)
{
    WindowRecord* record = Find(window);
    if (record == nullptr || record->IsMessageOnly())
        return false;
    mFocus = window;
    NativeRaise(*record);
    return true;
}

ScreenInfo WindowSystem::GetScreenInfo() { return NativeScreen(); }

// --- messages ----------------------------------------------------------------------

uint32_t WindowSystem::RegisterWindowMessage(std::string_view name)
{
    if (name.empty())
        return 0;
    RegisteredMessages& registered = Registered();
    std::lock_guard lock(registered.mutex);
    std::string key = LowerAscii(name);
    if (auto found = registered.byName.find(key); found != registered.byName.end())
        return found->second;
    uint32_t number = kFirstRegisteredMessage + static_cast<uint32_t>(registered.byName.size());
    if (number > kLastRegisteredMessage)
        return 0;
    registered.byName.emplace(key, number);
    registered.byNumber.emplace(number, std::string(name));
    return number;
}

std::string WindowSystem::RegisteredMessageName(uint32_t message)
{
    RegisteredMessages& registered = Registered();
    std::lock_guard lock(registered.mutex);
    auto found = registered.byNumber.find(message);
    return found == registered.byNumber.end() ? std::string() : found->second;
}

bool WindowSystem::PostMessage(WindowId window, uint32_t message, WParam wParam, LParam lParam)
{
    uint32_t now = TickCount();
    std::lock_guard lock(mQueueMutex);
    if (window == HWND_BROADCAST)
    {
        for (WindowId live : mLiveWindows)
            mQueue.push_back({live, message, wParam, lParam, now});
        return true;
    }
    if (mLiveWindows.count(window) == 0)
        return false;
    mQueue.push_back({window, message, wParam, lParam, now});
    return true;
}

void WindowSystem::ReceiveInstanceNotifies(SingleInstance& instance)
{
    instance.SetNotifyHandler([this](std::string_view messageName, uintptr_t wParam, intptr_t lParam) {
        if (uint32_t message = RegisterWindowMessage(messageName); message != 0)
            PostMessage(HWND_BROADCAST, message, wParam, lParam);
    });
}

LResult WindowSystem::SendMessage(WindowId window, uint32_t message, WParam wParam, LParam lParam)
{
    const WindowRecord* record = Find(window);
    if (record == nullptr)
        return 0;
    return record->procedure(window, message, wParam, lParam);
}

void WindowSystem::Enqueue(const Message& message, bool atFront)
{
    std::lock_guard lock(mQueueMutex);
    if (atFront)
        mQueue.push_front(message);
    else
        mQueue.push_back(message);
}

bool WindowSystem::GenerateTimerMessage()
{
    uint32_t now = TickCount();
    std::lock_guard lock(mQueueMutex);
    for (Timer& timer : mTimers)
    {
        if (static_cast<int32_t>(now - timer.due) < 0)
            continue;
        timer.due = now + timer.interval;
        mQueue.push_back({timer.window, WM_TIMER, timer.id, 0, now});
        return true;
    }
    return false;
}

bool WindowSystem::PeekMessage(Message& message, bool remove)
{
    TakeInput();
    bool queued = false;
    {
        std::lock_guard lock(mQueueMutex);
        queued = !mQueue.empty();
    }
    if (!queued && !GenerateTimerMessage())
        return false;
    {
        std::lock_guard lock(mQueueMutex);
        message = mQueue.front();
        if (remove)
            mQueue.pop_front();
    }
    if (remove)
        UpdateKeyState(message, mKeyState);
    return true;
}

bool WindowSystem::TranslateMessage(const Message& message)
{
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN)
        return false;
    int key = static_cast<int>(message.wParam);
    bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    int character = 0;
    if (key == VK_RETURN)
        character = '\r';
    else if (key == VK_BACK)
        character = '\b';
    else if (key == VK_TAB)
        character = '\t';
    else if (key == VK_ESCAPE)
        character = 27;
    else if (message.message == WM_SYSKEYDOWN && key >= 'A' && key <= 'Z')
        character = shift ? key : key - 'A' + 'a';
    else if (message.message == WM_SYSKEYDOWN && key >= '0' && key <= '9')
        character = key;
    else if (ctrl && key >= 'A' && key <= 'Z')
        character = key - 'A' + 1;
    if (character == 0)
        return false;
    uint32_t kind = message.message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    Enqueue({message.window, kind, static_cast<WParam>(character), message.lParam, message.time}, true);
    return true;
}

LResult WindowSystem::DispatchMessage(const Message& message)
{
    return SendMessage(message.window, message.message, message.wParam, message.lParam);
}

LResult WindowSystem::DefWindowProc(WindowId window, uint32_t message, WParam wParam, LParam lParam)
{
    switch (message)
    {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_SYSKEYDOWN:
        // Alt+F4 closes (bit 29 of lParam: Alt was held).
        if (wParam == WParam(VK_F4) && (uint32_t(lParam) & (1u << 29)) != 0)
            SendMessage(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0)
        {
        case SC_CLOSE: SendMessage(window, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE: ShowWindow(window, SW_MINIMIZE); break;
        case SC_RESTORE: ShowWindow(window, SW_RESTORE); break;
        case SC_MAXIMIZE: ShowWindow(window, SW_SHOWMAXIMIZED); break;
        case SC_SCREENSAVE: mScreenSaveAccepted = true; break; // the desktop starts it itself
        default: break;
        }
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return 0;
    }
}

bool WindowSystem::SetTimer(WindowId window, uintptr_t id, uint32_t milliseconds)
{
    if (!IsWindow(window))
        return false;
    uint32_t interval = std::max<uint32_t>(1, milliseconds);
    uint32_t due = TickCount() + interval;
    std::lock_guard lock(mQueueMutex);
    for (Timer& timer : mTimers)
        if (timer.window == window && timer.id == id)
        {
            timer.interval = interval;
            timer.due = due;
            return true;
        }
    mTimers.push_back({window, id, interval, due});
    return true;
}

bool WindowSystem::KillTimer(WindowId window, uintptr_t id)
{
    std::lock_guard lock(mQueueMutex);
    size_t removed = std::erase_if(mTimers, [&](const Timer& t) { return t.window == window && t.id == id; });
    // A WM_TIMER already queued for it is removed too.
    std::erase_if(mQueue, [&](const Message& m) { return m.message == WM_TIMER && m.window == window && m.wParam == id; });
    return removed > 0;
}

int16_t WindowSystem::GetKeyState(int virtualKey) const
{
    if (virtualKey < 0 || virtualKey > 255)
        return 0;
    return (mKeyState[virtualKey] & 0x80) != 0 ? int16_t(0x8000) : 0;
}

int16_t WindowSystem::GetAsyncKeyState(int virtualKey) const
{
    if (virtualKey < 0 || virtualKey > 255)
        return 0;
    return (mAsyncKeyState[virtualKey] & 0x80) != 0 ? int16_t(0x8000) : 0;
}

// --- pointer and cursors -----------------------------------------------------------

bool WindowSystem::GetCursorPos(ScreenPoint& point)
{
    {
        std::lock_guard lock(mGeometryMutex);
        point = mPointerScreen;
        if (mPointerWindow != WindowId::None || std::this_thread::get_id() != mMainThread)
            return true;
    }
    point = NativeGlobalPointer();
    return true;
}

WindowId WindowSystem::WindowFromPoint(ScreenPoint point)
{
    {
        // The pointer's own position: the window it is known to be over, if any.
        std::lock_guard lock(mGeometryMutex);
        if (point == mPointerScreen)
            return mPointerWindow;
    }
    for (auto it = mWindows.rbegin(); it != mWindows.rend(); ++it)
    {
        const WindowRecord& record = it->second;
        if (record.visible && !record.minimised && !record.IsMessageOnly() && record.rect.Contains(point.x, point.y))
            return record.id;
    }
    return WindowId::None;
}

WindowId WindowSystem::SetCapture(WindowId window)
{
    WindowId previous = mCapture;
    if (IsWindow(window))
    {
        mCapture = window;
        NativeCapture(true);
    }
    return previous;
}

bool WindowSystem::ReleaseCapture()
{
    if (mCapture != WindowId::None)
        NativeCapture(false);
    mCapture = WindowId::None;
    return true;
}

CursorId WindowSystem::LoadCursor(SystemCursor cursor)
{
    if (auto found = mSystemCursors.find(cursor); found != mSystemCursors.end())
        return found->second;
    CursorId id{mNextCursor++};
    if (!NativeCreateCursor(id, cursor))
        return CursorId::None;
    mCursors[id] = true;
    mSystemCursors[cursor] = id;
    return id;
}

CursorId WindowSystem::CreateCursor(int hotX, int hotY, int width, int height, std::span<const uint8_t> andMask,
                                    std::span<const uint8_t> xorMask)
{
    std::optional<CursorPicture> picture = CursorPicture::FromMasks(width, height, hotX, hotY, andMask, xorMask);
    if (!picture)
        return CursorId::None;
    CursorId id{mNextCursor++};
    if (!NativeCreateCursor(id, *picture))
        return CursorId::None;
    mCursors[id] = false;
    return id;
}

CursorId WindowSystem::CreateCursorFromImage(const ArgbImageView& image, int hotX, int hotY)
{
    if (!image.IsValid() || image.width > 256 || image.height > 256)
        return CursorId::None;
    CursorPicture picture;
    picture.width = image.width;
    picture.height = image.height;
    picture.hotX = std::clamp(hotX, 0, image.width - 1);
    picture.hotY = std::clamp(hotY, 0, image.height - 1);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            picture.pixels.push_back(image.At(x, y));
    CursorId id{mNextCursor++};
    if (!NativeCreateCursor(id, picture))
        return CursorId::None;
    mCursors[id] = false;
    return id;
}

CursorId WindowSystem::SetCursor(CursorId cursor)
{
    CursorId previous = mCursor;
    if (cursor != CursorId::None && mCursors.count(cursor) == 0)
        return previous;
    if (cursor != mCursor || !mCursorSet)
        NativeSetCursor(cursor);
    mCursor = cursor;
    mCursorSet = true;
    return previous;
}

bool WindowSystem::DestroyCursor(CursorId cursor)
{
    auto found = mCursors.find(cursor);
    // System cursors are shared and stay, as there.
    if (found == mCursors.end() || found->second)
        return false;
    if (mCursor == cursor)
        SetCursor(LoadCursor(IDC_ARROW));
    NativeDestroyCursor(cursor);
    mCursors.erase(found);
    return true;
}

// --- clipboard, boxes, URLs, presenters ----------------------------------------------

bool WindowSystem::SetClipboardText(std::string_view text) { return NativeSetClipboard(std::string(text)); }

std::string WindowSystem::GetClipboardText() { return NativeGetClipboard(); }

std::vector<int> WindowSystem::MessageBoxAnswers(uint32_t flags)
{
    switch (flags & MB_TYPEMASK)
    {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
    }
}

int WindowSystem::DefaultMessageBoxAnswer(uint32_t flags)
{
    std::vector<int> answers = MessageBoxAnswers(flags);
    size_t index = (flags & MB_DEFMASK) == MB_DEFBUTTON2 ? 1 : (flags & MB_DEFMASK) == MB_DEFBUTTON3 ? 2 : 0;
    return answers[std::min(index, answers.size() - 1)];
}

int WindowSystem::MessageBox(WindowId owner, std::string_view text, std::string_view caption, uint32_t flags)
{
    WindowRecord* record = Find(owner);
    int answer = NativeMessageBox(record, std::string(text), std::string(caption), flags);
    // Keys and buttons held when the box opened were released inside it.
    std::fill(std::begin(mAsyncKeyState), std::end(mAsyncKeyState), uint8_t(0));
    std::fill(std::begin(mKeyState), std::end(mKeyState), uint8_t(0));
    mModifiers = 0;
    mButtonsHeld = 0;
    return answer;
}

int WindowSystem::MessageBox(WindowId owner, std::wstring_view text, std::wstring_view caption, uint32_t flags)
{
    return MessageBox(owner, std::string_view(WideToUtf8(text)), std::string_view(WideToUtf8(caption)), flags);
}

bool WindowSystem::OpenUrl(std::string_view url)
{
    if (url.empty())
        return false;
    return NativeOpenUrl(std::string(url));
}

void WindowSystem::AllowScreenSaver(bool allow)
{
    // The first word always reaches the back end: the desktop's state before it is the desktop's.
    if (mScreenSaverAllowed == allow)
        return;
    mScreenSaverAllowed = allow;
    NativeAllowScreenSaver(allow);
}

std::unique_ptr<FramePresenter> WindowSystem::CreatePresenter(WindowId window)
{
    WindowRecord* record = Find(window);
    if (record == nullptr || record->IsMessageOnly())
        return nullptr;
    return NativeCreatePresenter(*record);
}
} // namespace Quoll::Platform

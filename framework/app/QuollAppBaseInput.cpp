// The window procedure of both window classes, the queue of deferred messages and their
// handling between logic steps, and the debug keys.
//
// The procedure answers a few messages at once and otherwise only queues: keyboard and mouse
// input reaches the widgets from ProcessDeferredMessage, one message per main-loop step, so
// that every input acts at a known update count (and a demo replays it at the same one).
#include "framework/core/Common.h"
#include "framework/core/DebugOutput.h"
#include "framework/core/ModVal.h"
#include "framework/core/Profiler.h"
#include "framework/app/QuollAppBase.h"
#include "framework/display/D3DInterface.h"
#include "framework/display/DDInterface.h"
#include "framework/display/MemoryImage.h"
#include "framework/platform/system/Clock.h"
#include "framework/sound/SoundManager.h"

#include <cstdio>

namespace Quoll
{
namespace
{
bool IsQueuedMessage(uint32_t message)
{
    using namespace Platform;
    switch (message)
    {
    case WM_MOVE:
    case WM_SIZE:
    case WM_CLOSE:
    case WM_SYSCOLORCHANGE:
    case WM_DISPLAYCHANGE:
    case WM_TIMER:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_MOUSEWHEEL:
    case WM_ACTIVATEAPP: return true;
    default: return message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK;
    }
}

bool IsColourOrDisplayChange(uint32_t message)
{
    return message == Platform::WM_SYSCOLORCHANGE || message == Platform::WM_DISPLAYCHANGE;
}

// The drop rules of the queue: one pending timer, nothing after a close, one pending colour
// or display change.
bool DropsNewMessage(const std::deque<QuollAppBase::DeferredMessage>& queue, uint32_t message)
{
    if (queue.empty())
        return false;
    const uint32_t newest = queue.back().message;
    if (newest == Platform::WM_CLOSE)
        return true;
    if (message == Platform::WM_TIMER && newest == Platform::WM_TIMER)
        return true;
    if (IsColourOrDisplayChange(message))
        for (const QuollAppBase::DeferredMessage& queued : queue)
            if (IsColourOrDisplayChange(queued.message))
                return true;
    return false;
}

bool IsButtonDown(uint32_t message)
{
    using namespace Platform;
    return message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDOWN ||
           message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDOWN || message == WM_MBUTTONDBLCLK;
}

constexpr uint32_t kTimerGapForResume = 500;   // ms without timer ticks: the loop was blocked
constexpr uint32_t kUrlSettleTime = 5000;      // ms after a resume before a URL is judged
constexpr uint32_t kUrlOpenedWhenInactive = 8000;
constexpr uint32_t kUrlFailedWhenActive = 12001;
} // namespace

Platform::LResult QuollAppBase::WindowProc(Platform::WindowId window, uint32_t message, Platform::WParam wParam,
                                           Platform::LParam lParam)
{
    using namespace Platform;
    QuollAppBase* app = gQuollApp;
    WindowSystem* system = app != nullptr ? app->mWindowSystem.get() : nullptr;
    if (system == nullptr)
        return 0;
    if (message == WM_CREATE && app->mFirstCreateTick == 0)
        app->mFirstCreateTick = TickCount();
    if (app->mIsScreenSaver && app->FilterScreenSaverMessage(window, message, wParam))
        return 0;
    app = static_cast<QuollAppBase*>(system->GetWindowUserData(window));
    if (app == nullptr)
        return system->DefWindowProc(window, message, wParam, lParam);

    switch (message)
    {
    case WM_ERASEBKGND: return 1;
    case WM_DESTROY: app->NoteWindowDestroyed(window); break;
    case WM_ENABLE: app->mIsDisabled = wParam == 0; return 0;
    case WM_PAINT:
        if (!app->mInitialized || app->mWindowHiddenAfterCrash)
            break;
        if (app->mRunning)
            app->Redraw(nullptr);
        return 0;
    case WM_QUERYOPEN: return app->CanRestoreWindow() ? 1 : 0;
    case WM_ENDSESSION: app->Shutdown(); break;
    case WM_ACTIVATEAPP:
        if (!app->mPlayingDemo && window == app->mMainWindow)
            app->mActive = wParam != 0;
        break;
    case WM_SETCURSOR:
        if (!app->mWindowHiddenAfterCrash)
            app->RefreshCursor();
        return 1;
    case WM_NCLBUTTONDOWN:
    {
        const LResult result = system->DefWindowProc(window, message, wParam, lParam);
        app->ResetFrameTiming();
        return result;
    }
    case WM_SYSCHAR:
        if (app->IsAltKeyUsed(wParam))
            return 0;
        break;
    case WM_SYSCOMMAND: return app->HandleSysCommand(window, wParam, lParam);
    default: break;
    }
    if (message == app->mNotifyMessage && message != 0 && window == app->mMainWindow)
    {
        app->HandleNotifyMessage(wParam, lParam);
        return 0;
    }
    if (IsQueuedMessage(message))
        return app->QueueMessage(window, message, wParam, lParam);
    return system->DefWindowProc(window, message, wParam, lParam);
}

// Screen-saver mode: true when the filter swallowed the message. When it ends the screen saver,
// the window is asked to close and the message goes on as usual.
bool QuollAppBase::FilterScreenSaverMessage(Platform::WindowId window, uint32_t message, Platform::WParam wParam)
{
    ScreenSaverFilter::Context context;
    context.forMainWindow = window == mMainWindow;
    context.msSinceStart = Platform::TickCount() - mFirstCreateTick;
    Platform::ScreenPoint cursor{};
    if (mWindowSystem->GetCursorPos(cursor))
    {
        context.cursorX = cursor.x;
        context.cursorY = cursor.y;
    }
    switch (mScreenSaverFilter.Filter(message, wParam, context))
    {
    case ScreenSaverFilter::Verdict::Swallow: return true;
    case ScreenSaverFilter::Verdict::End: mWindowSystem->PostMessage(window, Platform::WM_CLOSE, 0, 0); return false;
    case ScreenSaverFilter::Verdict::PassOn: return false;
    }
    return false;
}

void QuollAppBase::NoteWindowDestroyed(Platform::WindowId window)
{
    char line[64];
    std::snprintf(line, sizeof line, "DESTROYED HWND: %u\r\n", unsigned(window));
    OutputDebugText(line);
}

// Monitor power-off waits for the loading to end, the desktop's screen saver also for a window
// (a full-screen game covers it); a window move draws the frame at once.
Platform::LResult QuollAppBase::HandleSysCommand(Platform::WindowId window, Platform::WParam wParam,
                                                 Platform::LParam lParam)
{
    using namespace Platform;
    const WParam command = wParam & 0xFFF0;
    if (command == SC_MONITORPOWER && !mLoadingCompletionPickedUp)
        return 0;
    if (command == SC_SCREENSAVE && (!mIsPhysWindowed || !mLoadingCompletionPickedUp))
        return 0;
    // A move draws the frame at once; before the start-up finished there is nothing to draw.
    // The pause only covers the draw: a pause the viewer set with 'p' stays.
    if (command == SC_MOVE && mInitialized)
    {
        const bool wasPaused = mPaused;
        mPaused = true;
        mWidgetManager->MarkAllDirty();
        DrawDirty();
        mPaused = wasPaused;
    }
    return mWindowSystem->DefWindowProc(window, WM_SYSCOMMAND, wParam, lParam);
}

Platform::LResult QuollAppBase::QueueMessage(Platform::WindowId window, uint32_t message, Platform::WParam wParam,
                                             Platform::LParam lParam)
{
    using namespace Platform;
    // 1. A native popup is up: the input is the popup's.
    if (mInputIgnored)
        return mWindowSystem->DefWindowProc(window, message, wParam, lParam);
    // Modal UI of the application's own takes the live input, in playback too.
    if (RouteModalInput(message, wParam, lParam))
        return 0;

    // 2. Modifier state, and the keys handled before anything is queued.
    const bool keyDown = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (keyDown || message == WM_KEYUP || message == WM_SYSKEYUP)
    {
        if (wParam == VK_CONTROL)
            mCtrlDown = keyDown;
        else if (wParam == VK_MENU)
            mAltDown = keyDown;
        if (keyDown && DebugKeyDownAsync(int(wParam), mCtrlDown, mAltDown))
            return 0;
    }

    // 3. During playback real input only drives the playback keys; it is queued but ignored.
    if (mPlayingDemo)
    {
        if (message == WM_KEYDOWN)
            DebugKeyDown(int(wParam));
        else if (message == WM_CHAR)
            HandleDemoPlaybackKey(char32_t(wParam));
    }

    // 4. Queue, unless a drop rule applies.
    if (!DropsNewMessage(mDeferredMessages, message))
        mDeferredMessages.push_back({window, message, wParam, lParam});

    // 5. What the system still does with it.
    switch (message)
    {
    case WM_SYSKEYDOWN:
        if (wParam != VK_F4)
            return 0;
        break;
    case WM_CLOSE: CloseRequested(); return 0;
    default: break;
    }
    return mWindowSystem->DefWindowProc(window, message, wParam, lParam);
}

bool QuollAppBase::ProcessDeferredMessage()
{
    using namespace Platform;
    if (mDeferredMessages.empty())
        return false;
    const DeferredMessage message = mDeferredMessages.front();
    mDeferredMessages.pop_front();
    if (IsRecordingDemo())
        RecordDeferredMessage(message.window, message.message, message.wParam, message.lParam);

    if (!mPlayingDemo)
    {
        const bool mainWindow = message.window == mMainWindow;
        switch (message.message)
        {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: HandleKeyDown(message); break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            mLastUserInputTick = mLastTimerTick;
            mWidgetManager->KeyUp(int(message.wParam));
            break;
        case WM_CHAR:
            mLastUserInputTick = mLastTimerTick;
            mWidgetManager->KeyChar(wchar_t(message.wParam));
            break;
        case WM_MOVE:
            if (mainWindow && mIsWindowed)
            {
                WindowPlacement placement;
                if (mWindowSystem->GetWindowPlacement(mMainWindow, placement) &&
                    (placement.showCmd == SW_SHOW || placement.showCmd == SW_SHOWNORMAL))
                {
                    mPreferredX = placement.normalPosition.left;
                    mPreferredY = placement.normalPosition.top;
                }
            }
            break;
        case WM_SIZE:
            if (mainWindow && !mShutdown)
                HandleSizeMessage(message);
            break;
        case WM_SYSCOLORCHANGE:
        case WM_DISPLAYCHANGE:
            mWidgetManager->SystemColoursChangedAll();
            mWidgetManager->MarkAllDirty();
            break;
        case WM_ACTIVATEAPP:
            if (mainWindow && !mWindowHiddenAfterCrash && !mShutdown)
                ApplyActivation(mActive);
            break;
        case WM_TIMER:
            if (mRunning && !mWindowHiddenAfterCrash)
                HandleTimerMessage();
            break;
        case WM_MOUSEWHEEL: mWidgetManager->MouseWheel(WheelDelta(message.wParam) / 120); break;
        default:
            if (message.message >= WM_MOUSEMOVE && message.message <= WM_MBUTTONDBLCLK && !mWindowHiddenAfterCrash)
                HandleMouseMessage(message);
            break;
        }
    }

    if (message.message == WM_CLOSE && (message.window == mMainWindow || message.window == mInvisWindow))
    {
        mDemoClosedByWindow = true;
        Shutdown();
    }
    return !mDeferredMessages.empty();
}

// Alt+Enter switches between window and full screen unless a mode was forced (then it is an
// ordinary key for the widgets); Ctrl+Alt+D turns the debug keys on and off in a developer build.
void QuollAppBase::HandleKeyDown(const DeferredMessage& message)
{
    mLastUserInputTick = mLastTimerTick;
    const int key = int(message.wParam);
    if (message.message == Platform::WM_SYSKEYDOWN && key == Platform::VK_RETURN && !mForceFullScreen &&
        !mForceWindowed)
    {
        SwitchWindowedMode(!mIsWindowed);
        ClearKeysDown();
        return;
    }
    if (kDeveloperBuild && key == 'D' && mWidgetManager->IsKeyDown(Platform::VK_CONTROL) &&
        mWidgetManager->IsKeyDown(Platform::VK_MENU))
        mDebugKeysEnabled = !mDebugKeysEnabled;
    if (mDebugKeysEnabled && DebugKeyDown(key))
        return;
    mWidgetManager->KeyDown(key);
}

void QuollAppBase::HandleSizeMessage(const DeferredMessage& message)
{
    ApplyMinimised(message.wParam == Platform::SIZE_MINIMIZED);
    if (message.wParam == Platform::SIZE_MAXIMIZED)
        SwitchWindowedMode(false);
}

void QuollAppBase::ApplyMinimised(bool minimised)
{
    if (minimised != mMinimized)
    {
        mMinimized = minimised;
        if (mMuteOnLostFocus && minimised)
            Mute(true);
        if (mMuteOnLostFocus && !minimised)
            Unmute(true);
        if (!minimised)
            mWidgetManager->MarkAllDirty();
    }
    UpdateFocusState();
}

void QuollAppBase::ApplyActivation(bool active)
{
    mActive = active;
    UpdateFocusState();
    if (mActive && !mIsWindowed)
        mWidgetManager->MarkAllDirty();
    if (mIsOpeningURL && !mActive)
        URLOpenSucceeded(mOpeningURL);
}

// Timer ticks keep the input clock, judge a pending URL, and notice the pointer leaving or
// entering the client area.
void QuollAppBase::HandleTimerMessage()
{
    using namespace Platform;
    const uint32_t now = TickCount();
    if (now - mLastTimerTick > kTimerGapForResume)
        mTimerResumeTick = now;
    mLastTimerTick = now;

    if (mIsOpeningURL && now - mTimerResumeTick > kUrlSettleTime)
    {
        const uint32_t waited = now - mOpeningURLTime;
        if (!mActive && waited > kUrlOpenedWhenInactive)
            URLOpenSucceeded(mOpeningURL);
        else if (mActive && waited >= kUrlFailedWhenActive)
            URLOpenFailed(mOpeningURL);
    }

    ScreenPoint pointer;
    bool inside = false;
    if (mWindowSystem->GetCursorPos(pointer) && mWindowSystem->WindowFromPoint(pointer) == mMainWindow)
    {
        ScreenPoint client = pointer;
        mWindowSystem->ScreenToClient(mMainWindow, client);
        inside = client.x >= 0 && client.y >= 0 && client.x < mScreenWidth && client.y < mScreenHeight;
    }
    if (inside != mMouseIn)
    {
        if (!inside)
            mWidgetManager->MouseExit();
        SetMouseIn(inside);
    }
}

void QuollAppBase::SetMouseIn(bool in)
{
    if (IsRecordingDemo())
        RecordMouseInWindow(in);
    mMouseIn = in;
    RefreshCursor();
}

// Downs take the capture; the capture goes with the last held button.
void QuollAppBase::HandleMouseMessage(const DeferredMessage& message)
{
    using namespace Platform;
    int x = 0, y = 0;
    DemoMousePosition(message.lParam, x, y);
    mLastUserInputTick = mLastTimerTick;
    mWidgetManager->MouseMove(x, y);
    if (!mMouseIn)
        SetMouseIn(true);
    if (message.message == WM_MOUSEMOVE)
        return;
    const int count = MouseClickCount(message.message);
    if (IsButtonDown(message.message))
    {
        mWindowSystem->SetCapture(message.window);
        mWidgetManager->MouseDown(x, y, count);
        return;
    }
    if ((mWidgetManager->GetDownButtons() & ~MouseButtonBit(count)) == 0)
        mWindowSystem->ReleaseCapture();
    mWidgetManager->MouseUp(x, y, count);
}

// --- Debug keys ----------------------------------------------------------------------------------

bool QuollAppBase::DebugKeyDown(int key)
{
    using namespace Platform;
    const bool shift = mWidgetManager->IsKeyDown(VK_SHIFT);
    const bool ctrl = mWidgetManager->IsKeyDown(VK_CONTROL);
    const bool alt = mWidgetManager->IsKeyDown(VK_MENU);
    switch (key)
    {
    case 'R':
        if (alt)
        {
            bool reloaded = true;
            ModVal::Reparse([&](const std::string& text, const std::string& caption) {
                reloaded = false;
                MsgBoxA(text, caption, MB_OK);
            });
            if (!reloaded)
                mWidgetManager->ClearKeysDown();
        }
        return false;
    case VK_F3:
        if (shift)
        {
            mShowFPS = true;
            mShowFPSMode = (mShowFPSMode + 1) % 2;
        }
        else
        {
            mShowFPS = !mShowFPS;
        }
        mWidgetManager->MarkAllDirty();
        if (mShowFPS)
            mFrameRate.Reset();
        return false;
    case VK_F8:
        if (shift)
        {
            Set3DAcceleration(!Is3DAccelerated(), true);
            MsgBoxA(std::string("3D-Mode: ") + (Is3DAccelerated() ? "ON" : "OFF"), "Mode Switch", MB_OK);
            mLastModeSwitchTime = TickCount();
        }
        else
        {
            ShowVideoStats();
        }
        return true;
    case VK_F10:
        if (ctrl)
        {
            mSpeedFactor = mSpeedFactor == 0.25 ? 1.0 : 0.25;
        }
        else if (shift)
        {
            mDebugStepMode = 0;
            ResetFrameTiming();
        }
        else
        {
            mDebugStepMode = 1;
        }
        return true;
    case VK_F11:
        if (shift)
            DumpImages();
        else
            TakeScreenshot();
        return true;
    case VK_F2:
        ResetFrameTiming();
        if (!Profiler::IsActive())
        {
            Profiler::Start();
        }
        else
        {
            Profiler::Stop();
            MsgBoxA(Profiler::GetResults(), "Perf Results", MB_OK);
            ResetFrameTiming();
        }
        return false;
    default: return false;
    }
}

bool QuollAppBase::DebugKeyDownAsync(int, bool, bool)
{
    return false;
}

bool QuollAppBase::IsAltKeyUsed(Platform::WParam key)
{
    const Platform::WParam lower = key >= 'A' && key <= 'Z' ? key + ('a' - 'A') : key;
    return lower == 13 || lower == 'r';
}

// Kilobytes with thousands separators.
std::string QuollAppBase::KilobytesText(uint64_t bytes)
{
    return WStringToString(FormatWithCommas(int(std::min<uint64_t>(bytes / 1024, INT32_MAX))));
}

std::string QuollAppBase::VideoStatsText()
{
    const char* support = Is3DRecommended() ? "Recommended" : Is3DSupported() ? "Supported" : "Unsupported";
    std::string text = FormatString("3D-Mode is %s (3D is %s on this system)\r\n\r\nNum Images: %d\r\n"
                                    "Num Sounds: %d\r\n",
                                    Is3DAccelerated() ? "ON" : "OFF", support, int(mMemoryImageSet.size()),
                                    mSoundManager ? mSoundManager->GetNumSounds() : 0);
    uint32_t total = 0, free = 0;
    DDInterface* display = GetDDInterface();
    if (display != nullptr && display->mDD)
        display->mDD->GetAvailableVidMem(Platform::kCapsVideoMemory, &total, &free);
    text += "Video Memory: " + KilobytesText(total - free) + "/" + KilobytesText(total) + " KB\r\n";
    // The textures the 3D renderer holds for the images, by format.
    struct FormatStats
    {
        int code;
        const char* name;
        int count = 0;
        uint64_t bytes = 0;
    } formats[] = {{kTexFormatA8R8G8B8, "A8R8G8B8"},
                   {kTexFormatA4R4G4B4, "A4R4G4B4"},
                   {kTexFormatR5G6B5, "R5G6B5"},
                   {kTexFormatPalette8, "Palette8"}};
    uint64_t textureBytes = 0;
    {
        AutoCrit lock(display != nullptr ? display->GetLock() : mCritSect);
        for (MemoryImage* image : mMemoryImageSet)
        {
            const auto* data = static_cast<const TextureData*>(image->mTextureData);
            if (data == nullptr)
                continue;
            textureBytes += data->memoryBytes;
            for (FormatStats& format : formats)
                if (format.code == data->formatCode)
                {
                    ++format.count;
                    format.bytes += data->memoryBytes;
                }
        }
    }
    text += "Texture Memory: " + KilobytesText(textureBytes) + " KB\r\n";
    for (const FormatStats& format : formats)
        text += FormatString("%s: %d - %s KB\r\n", format.name, format.count, KilobytesText(format.bytes).c_str());
    return text;
}

void QuollAppBase::ShowVideoStats()
{
    MsgBoxA(VideoStatsText(), "Video Stats", Platform::MB_OK);
}
} // namespace Quoll

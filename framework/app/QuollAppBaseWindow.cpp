// The main window and its display, the window procedure, cursors and focus.
//
// Minimal until the window and message handling is built: the window procedure queues the
// messages the main loop will handle and answers only WM_ERASEBKGND, WM_ENABLE, WM_QUERYOPEN,
// WM_CLOSE and the single-instance notify; screen-mode switches re-create nothing yet.
#include "framework/app/Common.h"
#include "framework/app/QuollAppBase.h"

#include <algorithm>

namespace Quoll
{
namespace
{
constexpr uintptr_t kFrameTimerId = 100;

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
} // namespace

std::unique_ptr<AppDisplay> QuollAppBase::CreateDisplay()
{
    return std::make_unique<NullDisplay>(mWidth, mHeight);
}

// Windowed: framed, at the preferred position kept inside the work area, else centred
// horizontally and a little above the middle. Full screen: a top-most popup at the origin.
void QuollAppBase::CreateMainWindow()
{
    using namespace Platform;
    if (mMainWindow != WindowId::None)
    {
        mWindowSystem->SetWindowUserData(mMainWindow, nullptr);
        mWindowSystem->DestroyWindow(mMainWindow);
    }

    WindowCreateInfo info;
    info.className = "MainWindow";
    info.title = mTitle;
    info.width = mWidth;
    info.height = mHeight;
    const bool fullScreen = !mPlayingDemo && (!mIsWindowed || mFakeFullScreen);
    if (fullScreen)
    {
        info.exStyle = WS_EX_TOPMOST;
        info.style = WS_POPUP | WS_VISIBLE;
    }
    else
    {
        info.style = WS_POPUP | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        const WindowRect outer = WindowSystem::AdjustWindowRect({0, 0, mWidth, mHeight}, info.style);
        const WindowRect work = mWindowSystem->GetWorkArea();
        if (mPreferredX != -1 || mPreferredY != -1)
        {
            int x = std::max(mPreferredX, work.left + 4);
            int y = std::max(mPreferredY, work.top + 4);
            if (x + outer.Width() >= work.right - 4)
                x = work.right - 4 - outer.Width();
            if (y + outer.Height() >= work.bottom - 4)
                y = work.bottom - 4 - outer.Height();
            info.x = x;
            info.y = y;
        }
        else
        {
            info.x = work.left + (work.Width() - outer.Width()) / 2;
            info.y = work.top + int((work.Height() - outer.Height()) * 0.382);
        }
    }
    mMainWindow = mWindowSystem->CreateWindowEx(info);
    mIsPhysWindowed = !fullScreen;
    mWindowSystem->SetWindowUserData(mMainWindow, this);

    if (!mDisplay)
        mDisplay = CreateDisplay();
    const DisplayResult result = InitDisplay();
    if (result != DisplayResult::Ok)
    {
        PopupW(GetString("FAILED_INIT_DIRECTDRAW", L"Failed to initialize DirectDraw: ") +
               StringToWString(std::string(DisplayResultName(result)) + " " + mDisplay->GetErrorText()));
        DoExit(1);
    }
    mActive = mWindowSystem->GetActiveWindow() == mMainWindow;
    UpdateFocusState();
    ReInitImages();
    mWidgetManager->SetScreenImage(mDisplay->GetScreenImage());
    mWidgetManager->MarkAllDirty();
    mWindowSystem->SetTimer(mMainWindow, kFrameTimerId, uint32_t(mFrameTime));
}

DisplayResult QuollAppBase::InitDisplay()
{
    PreDisplayHook();
    DeleteNativeImageData();
    const DisplayResult result = mDisplay->Init(mMainWindow, mIsPhysWindowed);
    NoteRefreshRate();
    if (result == DisplayResult::Ok)
    {
        mScreenWidth = mDisplay->GetWidth();
        mScreenHeight = mDisplay->GetHeight();
        mScreenX = (mWidth - mScreenWidth) / 2;
        mScreenY = (mHeight - mScreenHeight) / 2;
        mWidgetManager->SetMouseRects({mScreenX, mScreenY, mScreenWidth, mScreenHeight}, {0, 0, mWidth, mHeight});
    }
    PostDisplayHook();
    return result;
}

Platform::LResult QuollAppBase::WindowProc(Platform::WindowId window, uint32_t message, Platform::WParam wParam,
                                           Platform::LParam lParam)
{
    using namespace Platform;
    QuollAppBase* app = gQuollApp;
    WindowSystem* system = app != nullptr ? app->mWindowSystem.get() : nullptr;
    if (system == nullptr)
        return 0;
    app = static_cast<QuollAppBase*>(system->GetWindowUserData(window));
    if (app == nullptr)
        return system->DefWindowProc(window, message, wParam, lParam);

    switch (message)
    {
    case WM_ERASEBKGND: return 1;
    case WM_ENABLE: app->mIsDisabled = wParam == 0; return 0;
    case WM_QUERYOPEN: return app->CanRestoreWindow() ? 1 : 0;
    default: break;
    }
    if (message == app->mNotifyMessage && message != 0 && window == app->mMainWindow)
    {
        app->HandleNotifyMessage(wParam, lParam);
        return 0;
    }
    if (!IsQueuedMessage(message) || app->mInputIgnored)
        return system->DefWindowProc(window, message, wParam, lParam);

    std::deque<DeferredMessage>& queue = app->mDeferredMessages;
    const bool dropTimer = message == WM_TIMER && !queue.empty() && queue.back().message == WM_TIMER;
    const bool afterClose = !queue.empty() && queue.back().message == WM_CLOSE;
    if (!dropTimer && !afterClose)
        queue.push_back({window, message, wParam, lParam});
    if (message == WM_CLOSE)
    {
        app->CloseRequested();
        return 0;
    }
    return system->DefWindowProc(window, message, wParam, lParam);
}

void QuollAppBase::UpdateFocusState()
{
    const bool hadFocus = mHasFocus;
    mHasFocus = mActive && !mMinimized;
    if (mHasFocus == hadFocus)
        return;
    if (mHasFocus)
    {
        mWidgetManager->GotFocus();
        GotFocus();
    }
    else
    {
        mWidgetManager->LostFocus();
        LostFocus();
    }
}

void QuollAppBase::RefreshCursor()
{
    // Minimal: the system arrow, or no pointer for cursor 11.
    if (!mWindowSystem)
        return;
    if (mCursorNum == 11)
        mWindowSystem->SetCursor(Platform::CursorId::None);
    else
        mWindowSystem->SetCursor(mWindowSystem->LoadCursor(Platform::SystemCursor::Arrow));
}

void QuollAppBase::SetCursor(int cursorNumber)
{
    mCursorNum = cursorNumber;
    RefreshCursor();
}

void QuollAppBase::EnableCustomCursors(bool enabled)
{
    mCustomCursorsEnabled = enabled;
    RefreshCursor();
}

bool QuollAppBase::IsAltKeyUsed(Platform::WParam key)
{
    const Platform::WParam lower = key >= 'A' && key <= 'Z' ? key + ('a' - 'A') : key;
    return lower == 13 || lower == 'r';
}

bool QuollAppBase::DebugKeyDown(int)
{
    return false; // minimal: the debug keys come with the message handling
}

bool QuollAppBase::DebugKeyDownAsync(int, bool, bool)
{
    return false;
}

bool QuollAppBase::CanRestoreWindow()
{
    return !mIsDisabled;
}

void QuollAppBase::SwitchScreenMode(bool windowed, bool, bool)
{
    mIsWindowed = mForceFullScreen ? false : windowed; // minimal: no re-creation yet
}

void QuollAppBase::SwitchWindowedMode(bool windowed)
{
    SwitchScreenMode(windowed, Is3DAccelerated(), false);
}

void QuollAppBase::ReapplyScreenMode()
{
    SwitchScreenMode(mIsWindowed, Is3DAccelerated(), true);
}

void QuollAppBase::SetVideoMemoryDraw(bool videoMemory)
{
    mVideoMemoryDraw = videoMemory;
}

void QuollAppBase::RestoreDisplayMode()
{
    if (!mDisplayModeChanged)
        return;
    if (mDisplay)
        mDisplay->RestoreDesktopMode();
    mDisplayModeChanged = false;
}
} // namespace Quoll

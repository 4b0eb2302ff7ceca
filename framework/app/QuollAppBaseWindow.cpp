// The main window and its display, switches of the screen mode and of 3D, focus and cursors.
#include "framework/core/Common.h"
#include "framework/app/QuollAppBase.h"
#include "framework/display/D3DTester.h"
#include "framework/display/DDInterface.h"
#include "framework/platform/system/Clock.h"
#include "framework/sound/SoundManager.h"

#include <algorithm>

namespace Quoll
{
namespace
{
constexpr uintptr_t kFrameTimerId = 100;
} // namespace

std::unique_ptr<AppDisplay> QuollAppBase::CreateDisplay() { return std::make_unique<DDInterface>(this); }

const DisplayOptions& QuollAppBase::GetDisplayOptions() const
{
    DisplayOptions& options = mDisplayOptions;
    options.width = mWidth;
    options.height = mHeight;
    options.colorDepth = mBitsPerPixel;
    options.is3D = mTest3D;
    options.autoTest3D = mAutoEnable3D;
    options.minVidMemory3D = mMinVidMemory3D;
    options.recommendedVidMemory3D = mRecommendedVidMemory3D;
    options.windowedAspect = mAspectRatio;
    options.waitForVSync = mWaitForVSync;
    options.vsyncBroken = mVSyncBroken;
    return options;
}

// Windowed: framed, at the preferred position kept inside the work area, else centred
// horizontally and a little above the middle; positions and the clamp are those of the outer
// rectangle, frame included, as the preferred position is saved. Full screen: a top-most
// popup at the origin.
void QuollAppBase::CreateMainWindow()
{
    using namespace Platform;
    if (mMainWindow != WindowId::None)
    {
        mWindowSystem->SetWindowUserData(mMainWindow, nullptr);
        mWindowSystem->DestroyWindow(mMainWindow);
    }

    WindowCreateInfo info;
    info.className = kMainWindowClass;
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
        const WindowRect outer = mWindowSystem->AdjustWindowRect({0, 0, mWidth, mHeight}, info.style);
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
        info.width = outer.Width();
        info.height = outer.Height();
    }
    mMainWindow = mWindowSystem->CreateWindowEx(info);
    mIsPhysWindowed = !fullScreen;
    mWindowSystem->SetWindowUserData(mMainWindow, this);

    mCursorWindow = mMainWindow;

    if (!mDisplay)
    {
        mDisplay = CreateDisplay();
        if (DDInterface* display = GetDDInterface())
            display->Set3DHost(&m3DHost);
        // Without a stored choice 3D is wanted: the display draws in 3D once its test passes.
        // A stored "Is3D" of false keeps the 2D path.
        bool is3D = true;
        if (ReadRegBool("Is3D", is3D))
            mDisplay->Set3D(is3D);
        mTest3D = is3D;
    }
    const DisplayResult result = InitDisplay();
    // A test measured now (new video card, or none cached) outweighs the stored choice. A
    // played demo leaves the player's settings alone.
    const DDInterface* display = GetDDInterface();
    if (display != nullptr && display->GetDisplayTest() != nullptr && display->GetDisplayTest()->IsFreshResult() &&
        !mPlayingDemo)
        EraseRegValue("Is3D");
    if (!HandleDisplayResult(result))
        return;

    const bool wasActive = mActive;
    mActive = mWindowSystem->GetActiveWindow() == mMainWindow;
    if (mMinimized)
    {
        if (mMuteOnLostFocus)
            Unmute(true);
        mMinimized = false;
        UpdateFocusState();
    }
    if (mActive != wasActive)
        UpdateFocusState();
    ReInitImages();
    TakeNewScreenImage();
    mWindowSystem->SetTimer(mMainWindow, kFrameTimerId, uint32_t(mFrameTime));
}

void QuollAppBase::FailDisplay(DisplayResult result)
{
    PopupW(GetString("FAILED_INIT_DIRECTDRAW", L"Failed to initialize DirectDraw: ") +
           StringToWString(std::string(DisplayResultName(result)) + " " + mDisplay->GetErrorText()));
    DoExit(1);
}

// The fall-backs of a display that did not start: full screen for an unusable desktop depth,
// a window when full screen is refused, no 3D when the renderer fails. True when the
// window creation goes on as after a success.
bool QuollAppBase::HandleDisplayResult(DisplayResult result)
{
    switch (result)
    {
    case DisplayResult::Ok: return true;
    case DisplayResult::InvalidColorDepth:
        if (mIsWindowed)
        {
            if (mForceWindowed)
            {
                PopupW(GetString("PLEASE_SET_COLOR_DEPTH", L"Please set your desktop color depth to 16 bit."));
                DoExit(1);
            }
            mForceFullScreen = true;
            SwitchWindowedMode(false);
            return false;
        }
        break;
    case DisplayResult::ExclusiveFailed:
    case DisplayResult::ModeChangeFailed:
        if (!mIsPhysWindowed)
        {
            mForceWindowed = true;
            SwitchWindowedMode(true);
            return true;
        }
        break;
    default: break;
    }
    if (result == DisplayResult::RendererFailed || Is3DAccelerated())
    {
        Set3DAcceleration(false, true);
        return false;
    }
    FailDisplay(result);
}

void QuollAppBase::TakeNewScreenImage()
{
    mWidgetManager->SetScreenImage(mDisplay->GetScreenImage());
    mWidgetManager->MarkAllDirty();
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
        if (const auto* native = dynamic_cast<const NativeDisplay*>(mDisplay.get()))
            mDisplayFormat = native->GetPixelFormat();
    }
    PostDisplayHook();
    return result;
}
// Losing the focus mutes (when wanted), releases the capture and lifts held buttons, so
// nothing stays pressed while the user is elsewhere.
void QuollAppBase::UpdateFocusState()
{
    const bool hadFocus = mHasFocus;
    mHasFocus = mActive && !mMinimized;
    if (mHasFocus == hadFocus)
        return;
    if (mHasFocus)
    {
        if (mMuteOnLostFocus)
            Unmute(true);
        mWidgetManager->GotFocus();
        GotFocus();
        return;
    }
    if (mMuteOnLostFocus)
        Mute(true);
    mWidgetManager->LostFocus();
    LostFocus();
    if (mWindowSystem)
        mWindowSystem->ReleaseCapture();
    if (mWidgetManager->GetDownButtons() != 0)
        mWidgetManager->ReleaseDownButtons();
}

// The cursor as a software image (demo playback, custom cursors, or cursor 12), else the
// system cursor of its number.
void QuollAppBase::RefreshCursor()
{
    using namespace Platform;
    if (!mDisplay || !mWindowSystem)
        return;
    if (mWindowHiddenAfterCrash || !mMouseIn)
    {
        mWindowSystem->SetCursor(mWindowSystem->LoadCursor(IDC_ARROW));
        return;
    }
    Image* image = mCursorNum >= 0 && mCursorNum < kCursorCount ? mCursorImages[mCursorNum] : nullptr;
    if (image != nullptr && (mPlayingDemo || mCustomCursorsEnabled || mCursorNum == 12))
    {
        // The window system may show the cursor over the frames by itself, where the real
        // pointer is: it moves then while the main thread is busy.
        mDisplay->SetCursorOverlayAllowed(!mPlayingDemo);
        if (mDisplay->SetCursorImage(image))
            mForceRedraw = true;
        mWindowSystem->SetCursor(mPlayingDemo ? mWindowSystem->LoadCursor(IDC_NO) : CursorId::None);
        return;
    }
    mWindowSystem->SetCursor(mOverrideCursor != CursorId::None ? mOverrideCursor : SystemCursorOf(mCursorNum));
    if (mDisplay->SetCursorImage(nullptr))
        mForceRedraw = true;
}

Platform::CursorId QuollAppBase::SystemCursorOf(int cursorNumber)
{
    using namespace Platform;
    switch (cursorNumber)
    {
    case 1: return mHandCursor;
    case 2: return mDraggingCursor;
    case 3: return mWindowSystem->LoadCursor(IDC_IBEAM);
    case 4: return mWindowSystem->LoadCursor(SystemCursor::No);
    case 5: return mWindowSystem->LoadCursor(SystemCursor::SizeAll);
    case 6: return mWindowSystem->LoadCursor(SystemCursor::SizeNESW);
    case 7: return mWindowSystem->LoadCursor(SystemCursor::SizeNS);
    case 8: return mWindowSystem->LoadCursor(SystemCursor::SizeNWSE);
    case 9: return mWindowSystem->LoadCursor(SystemCursor::SizeWE);
    case 10: return mWindowSystem->LoadCursor(IDC_WAIT);
    case 11:
    case 12: return CursorId::None;
    default: return mWindowSystem->LoadCursor(IDC_ARROW);
    }
}

void QuollAppBase::SetCursorImage(int cursorNumber, Image* image)
{
    if (cursorNumber < 0 || cursorNumber >= kCursorCount)
        return;
    mCursorImages[cursorNumber] = image;
    RefreshCursor();
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
bool QuollAppBase::CanRestoreWindow()
{
    return !mIsDisabled;
}

// A change of window and full screen re-creates the main window and starts the display on it.
void QuollAppBase::SwitchScreenMode(bool windowed, bool is3D, bool force)
{
    if (mForceFullScreen)
        windowed = false;
    if (windowed == mIsWindowed && !force)
    {
        Set3DAcceleration(is3D, true);
        return;
    }
    Set3DAcceleration(is3D, false);
    mIsWindowed = windowed;
    CreateMainWindow();
    if (mIsOpeningURL)
    {
        mWindowSystem->ShowWindow(mMainWindow, Platform::SW_SHOWNOACTIVATE);
    }
    else
    {
        mWindowSystem->ShowWindow(mMainWindow, Platform::SW_SHOWNORMAL);
        mWindowSystem->SetForegroundWindow(mMainWindow);
    }
    if (mSoundManager)
        mSoundManager->SetCooperativeWindow(WindowHandle(mMainWindow), mIsPhysWindowed);
    mLastModeSwitchTime = Platform::TickCount();
}

void QuollAppBase::Set3DAcceleration(bool is3D, bool reinitialise)
{
    if (!mDisplay || mDisplay->Is3D() == is3D)
        return;
    mChanged3DSetting = true;
    mDisplay->Set3D(is3D);
    if (!reinitialise)
        return;
    const DisplayResult result = InitDisplay();
    if (result != DisplayResult::Ok)
    {
        if (!is3D)
            FailDisplay(result);
        Set3DAcceleration(false, true);
        return;
    }
    ReInitImages();
    TakeNewScreenImage();
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
    if (videoMemory == mVideoMemoryDraw)
        return;
    mVideoMemoryDraw = videoMemory;
    if (!mDisplay)
        return;
    mDisplay->RecreateScreenImage(videoMemory);
    TakeNewScreenImage();
}

void QuollAppBase::RestoreDisplayMode()
{
    if (!mDisplayModeChanged)
        return;
    if (mDisplay)
        mDisplay->RestoreDesktopMode();
    mDisplayModeChanged = false;
}
void QuollAppBase::UpdateScreenSaverPermission()
{
    if (mWindowSystem)
        mWindowSystem->AllowScreenSaver(mIsPhysWindowed && mLoadingCompletionPickedUp);
}
} // namespace Quoll

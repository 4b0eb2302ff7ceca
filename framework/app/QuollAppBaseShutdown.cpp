// The end of a run: Shutdown (from any thread), the destructor, and the small operations
// around it: URL opening, the crash hooks, the sound toggle.
#include "framework/app/QuollAppBase.h"

#include "framework/display/Renderer3D.h"
#include "framework/display/DDInterface.h"
#include "framework/display/MemoryImage.h"
#include "framework/platform/system/Clock.h"
#include "framework/platform/audio/MixerOutput.h"
#include "framework/platform/system/SingleInstance.h"
#include "framework/files/ImageLib.h"
#include "framework/resources/ResourceManager.h"
#include "framework/resources/SoundLoader.h"
#include "framework/sound/MusicInterface.h"
#include "framework/sound/SoundManager.h"

#include <cstdio>

namespace Quoll
{
void QuollAppBase::Shutdown()
{
    // Another thread only raises the request; the main loop acts on it.
    if (mPrimaryThreadKnown && std::this_thread::get_id() != mPrimaryThreadId)
    {
        mShutdownRequested = true;
        return;
    }
    // Once only; the application hears of it first.
    if (mShutdown)
        return;
    mCloseRequest = true;
    mShutdown = true;
    ShutdownHook();
    // A played demo may have silenced the sound; the saved volumes are the player's.
    if (mPlayingDemo)
    {
        SetMusicVolume(mSavedMusicVolume);
        SetSfxVolume(mSavedSfxVolume);
    }
    if (mMusicInterface)
        mMusicInterface->StopAllMusic();
    // Back to the desktop's mode, the window hidden.
    if (mDisplay && !mIsPhysWindowed)
        mDisplay->RestoreDesktopMode();
    if (mWindowSystem && mMainWindow != Platform::WindowId::None)
        mWindowSystem->ShowWindow(mMainWindow, Platform::SW_HIDE);
    RestoreDisplayMode();
    // The settings, when they were read at start; the image codec's state.
    if (mReadFromRegistry)
        WriteSettings();
    ImageLib::FreeJ2kCodec();
}

// Nothing the loading or cursor thread may use is deleted before that thread has ended.
QuollAppBase::~QuollAppBase()
{
    // Ends the loop's threads too: the cursor thread stops at the shutdown flag, which is
    // set here even when the object goes on a thread that Shutdown only asks.
    Shutdown();
    mShutdown = true;
    WaitForLoadingThread();
    StopCursorThread();
    // The question about keeping 3D, while the window still exists.
    KeepAccelerationChoice();
    // Dialogs and queued widget deletions; the invisible window forgets the application.
    DestroyDialogs();
    ProcessDeferredDeletes();
    if (mWindowSystem && mInvisWindow != Platform::WindowId::None)
    {
        mWindowSystem->SetWindowUserData(mInvisWindow, nullptr);
        mWindowSystem->DestroyWindow(mInvisWindow);
    }
    // Widgets, resources and the application's own images.
    mWidgetManager.reset();
    mResourceManager.reset();
    mOverlayImage.reset();
    mDemoTimeImage.reset();
    for (auto& entry : mSharedImageMap)
        delete entry.second.mImage;
    mSharedImageMap.clear();
    // The display, music and sound, then the main window.
    mDisplay.reset();
    mMusicInterface.reset();
    mSoundLoader.reset();
    mSoundManager.reset();
    if (mWindowSystem && mMainWindow != Platform::WindowId::None)
    {
        mWindowSystem->SetWindowUserData(mMainWindow, nullptr);
        mWindowSystem->DestroyWindow(mMainWindow);
    }
    // The cursors made at start.
    if (mWindowSystem)
    {
        mWindowSystem->DestroyCursor(mHandCursor);
        mWindowSystem->DestroyCursor(mDraggingCursor);
    }
    if (gQuollApp == this)
        gQuollApp = nullptr;
    WriteDemoFile();
    if (GetImageRegistry() == this)
        SetImageRegistry(nullptr);
    // The instance name before the window system that receives its notifies.
    mMutex.reset();
    mWindowSystem.reset();
    mAudioOutput.reset();
}

// A 3D switch made during the run is kept; switching it on without the display's
// recommendation is confirmed by the player first. A run whose 3D scenes could not begin asks
// whether to keep 3D.
void QuollAppBase::KeepAccelerationChoice()
{
    if (!mDisplay)
        return;
    if (mChanged3DSetting)
    {
        bool stored = false;
        if (ReadRegBool("Is3D", stored) || Is3DRecommended())
            WriteRegBool("Is3D", Is3DAccelerated());
        else if (Is3DAccelerated())
        {
            ConfirmAccelerationSwitchedOn();
            return;
        }
    }
    const DDInterface* display = GetDDInterface();
    Renderer3D* renderer = display != nullptr ? display->GetRenderer() : nullptr;
    if (renderer == nullptr || !renderer->RenderTargetFailed())
        return;
    renderer->ClearRenderTargetFailed();
    if (mIsScreenSaver)
        return;
    const std::wstring text = GetString("HARDWARE_ACCEL_NOT_WORKING",
                                        L"Hardware Acceleration may not have been working correctly during this "
                                        L"session.\r\nIf you noticed graphics problems, you may want to turn off Hardware "
                                        L"Acceleration.\r\n"
                                        L"Would you like to keep Hardware Acceleration switched on?");
    const std::wstring title = GetString("HARDWARE_ACCEL_CONFIRMATION", L"Hardware Acceleration Confirmation");
    if (MsgBoxW(text, title, Platform::MB_YESNO | Platform::MB_ICONQUESTION) == Platform::IDNO)
        WriteRegBool("Is3D", false);
}

void QuollAppBase::ConfirmAccelerationSwitchedOn()
{
    const std::wstring text = GetString("HARDWARE_ACCEL_SWITCHED_ON",
                                        L"Hardware Acceleration was switched on during this session.\r\n"
                                        L"If this resulted in slower performance, it should be switched off.\r\n"
                                        L"Would you like to keep Hardware Acceleration switched on?");
    const std::wstring title = GetString("HARDWARE_ACCEL_CONFIRMATION", L"Hardware Acceleration Confirmation");
    const bool keep = mWindowSystem && mWindowSystem->MessageBox(Platform::WindowId::None, text, title,
                                                                 Platform::MB_YESNO | Platform::MB_ICONQUESTION) ==
                                           Platform::IDYES;
    mDisplay->Set3D(keep);
    if (keep)
        WriteRegBool("Is3D", true);
}

void QuollAppBase::URLOpenFailed(const std::string&)
{
    mIsOpeningURL = false;
}

void QuollAppBase::URLOpenSucceeded(const std::string&)
{
    mIsOpeningURL = false;
    if (mShutdownOnURLOpen)
        Shutdown();
}

bool QuollAppBase::OpenURL(const std::string& url, bool shutdownOnOpen)
{
    if (mIsOpeningURL && url == mOpeningURL)
        return true;
    mShutdownOnURLOpen = shutdownOnOpen;
    mIsOpeningURL = true;
    mOpeningURL = url;
    mOpeningURLTime = Platform::TickCount();
    if (mWindowSystem && mWindowSystem->OpenUrl(url))
        return true;
    URLOpenFailed(url);
    return false;
}

void QuollAppBase::CrashOccurred()
{
    if (mMusicInterface)
        mMusicInterface->SetVolume(0.0);
    if (mWindowSystem && mMainWindow != Platform::WindowId::None)
        mWindowSystem->ShowWindow(mMainWindow, Platform::SW_HIDE);
    mWindowHiddenAfterCrash = true;
    RefreshCursor();
}

std::string QuollAppBase::GetCrashInfo()
{
    const uint32_t seconds = (Platform::TickCount() - mConstructionTick) / 1000;
    char loaded[32];
    std::snprintf(loaded, sizeof loaded, "%02d:%02d:%02d", int(seconds / 3600), int(seconds / 60 % 60),
                  int(seconds % 60));
    char threadId[16];
    std::snprintf(threadId, sizeof threadId, "%X", unsigned(mPrimaryThreadNumber));
    return "Product: " + mProdName + "\r\nVersion: " + mProductVersion + "\r\nTime Loaded: " + loaded +
           "\r\nFullscreen: " + (mIsWindowed ? "No" : "Yes") + "\r\nPrimary ThreadId: " + threadId + "\r\n";
}

// The playback key 's': music and effects go silent, or back to what they were.
void QuollAppBase::ToggleSound()
{
    if (GetMusicVolume() == 0.0)
    {
        SetMusicVolume(mSavedMusicVolume);
    }
    else
    {
        mSavedMusicVolume = GetMusicVolume();
        SetMusicVolume(0.0);
    }
    if (GetSfxVolume() == 0.0)
    {
        SetSfxVolume(mSavedSfxVolume);
    }
    else
    {
        mSavedSfxVolume = GetSfxVolume();
        SetSfxVolume(0.0);
    }
}
} // namespace Quoll

// Shutdown, destruction, and the main loop, drawing, dialogs and the remaining operations.
//
// Minimal until the main loop is built: Start runs a plain loop that dispatches window
// messages, turns a queued WM_CLOSE into Shutdown and makes one update per frame time;
// drawing, dialogs, URL opening and the crash hooks do nothing yet.
#include "framework/app/QuollAppBase.h"

#include "framework/app/Common.h"
#include "framework/display/MemoryImage.h"
#include "framework/platform/Clock.h"
#include "framework/platform/MixerOutput.h"
#include "framework/platform/SingleInstance.h"
#include "framework/platform/TextHelpers.h"
#include "framework/resources/ImageLib.h"
#include "framework/resources/ResourceManager.h"
#include "framework/resources/SoundLoader.h"
#include "framework/sound/MusicInterface.h"
#include "framework/sound/SoundManager.h"

#include <algorithm>

namespace Quoll
{
namespace
{
constexpr double kMaxUpdateBacklog = 200.0; // milliseconds
} // namespace

QuollAppBase::~QuollAppBase()
{
    Shutdown();
    if (mWindowSystem && mInvisWindow != Platform::WindowId::None)
    {
        mWindowSystem->SetWindowUserData(mInvisWindow, nullptr);
        mWindowSystem->DestroyWindow(mInvisWindow);
    }
    mWidgetManager.reset();
    mResourceManager.reset();
    for (auto& entry : mSharedImageMap)
        delete entry.second.mImage;
    mSharedImageMap.clear();
    mDisplay.reset();
    mMusicInterface.reset();
    mSoundLoader.reset();
    mSoundManager.reset();
    if (mWindowSystem && mMainWindow != Platform::WindowId::None)
    {
        mWindowSystem->SetWindowUserData(mMainWindow, nullptr);
        mWindowSystem->DestroyWindow(mMainWindow);
    }
    WaitForLoadingThread();
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

void QuollAppBase::Shutdown()
{
    // 1. Another thread only raises the request; the main loop acts on it.
    if (mPrimaryThreadKnown && std::this_thread::get_id() != mPrimaryThreadId)
    {
        mShutdownRequested = true;
        return;
    }
    // 2-3.
    if (mShutdown)
        return;
    mCloseRequest = true;
    mShutdown = true;
    ShutdownHook();
    // 4-5. A played demo may have silenced the sound; the saved volumes are the player's.
    if (mPlayingDemo)
    {
        SetMusicVolume(mSavedMusicVolume);
        SetSfxVolume(mSavedSfxVolume);
    }
    if (mMusicInterface)
        mMusicInterface->StopAllMusic();
    // 6-8.
    if (mWindowSystem && mMainWindow != Platform::WindowId::None)
        mWindowSystem->ShowWindow(mMainWindow, Platform::SW_HIDE);
    RestoreDisplayMode();
    // 9-10.
    if (mReadFromRegistry)
        WriteSettings();
    ImageLib::FreeJ2kCodec();
}

void QuollAppBase::Start()
{
    if (mShutdown)
        return;
    mWindowSystem->ShowWindow(mMainWindow, Platform::SW_SHOW);
    mWindowSystem->SetFocus(mMainWindow);
    mRunning = true;
    mLastUserInputTick = mLastTimerTick = mLastModeSwitchTime = Platform::TickCount();
    DoMainLoop();
    mRunning = false;
    WaitForLoadingThread();
    PostMainLoopHook();
    WriteSettings();
}

void QuollAppBase::DoMainLoop()
{
    while (!mShutdown)
        UpdateApp();
}

bool QuollAppBase::UpdateApp()
{
    bool updated = false;
    while (!updated && !mShutdown)
        if (!UpdateAppStep(&updated))
            return false;
    return true;
}

bool QuollAppBase::UpdateAppStep(bool* updated)
{
    if (updated != nullptr)
        *updated = false;
    if (mExitNestedLoop)
        return false;
    Platform::Message message;
    while (mWindowSystem->PeekMessage(message))
    {
        mWindowSystem->TranslateMessage(message);
        mWindowSystem->DispatchMessage(message);
    }
    while (!mDeferredMessages.empty())
    {
        const DeferredMessage deferred = mDeferredMessages.front();
        mDeferredMessages.pop_front();
        if (deferred.message == Platform::WM_CLOSE)
            Shutdown();
    }
    if (mShutdownRequested)
        Shutdown();
    const bool didUpdate = !mShutdown && Process(true);
    if (updated != nullptr)
        *updated = didUpdate;
    return true;
}

// One update when a frame time of wall time has gathered, else a short sleep.
bool QuollAppBase::Process(bool allowSleep)
{
    const uint32_t now = Platform::TickCount();
    if (mLastAccumulatorTime == 0)
        mLastAccumulatorTime = now;
    mUpdateAccumulator = std::min(mUpdateAccumulator + double(now - mLastAccumulatorTime), kMaxUpdateBacklog);
    mLastAccumulatorTime = now;
    if (mUpdateAccumulator >= mFrameTime)
    {
        mUpdateAccumulator -= mFrameTime;
        return TryUpdateFrame();
    }
    if (!allowSleep)
        return false;
    Platform::SleepMilliseconds(1);
    ++mSleepCount;
    return false;
}

bool QuollAppBase::TryUpdateFrame()
{
    UpdateFrame();
    return true;
}

void QuollAppBase::UpdateFrame()
{
    ++mUpdateCount;
    mWidgetManager->UpdateFrame();
    if (mMusicInterface)
        mMusicInterface->Update();
}

void QuollAppBase::UpdateFrameSmooth(float fraction)
{
    mWidgetManager->UpdateFrameSmooth(fraction);
}

bool QuollAppBase::DrawDirty()
{
    return false;
}

void QuollAppBase::Redraw(const Rect*) {}

void QuollAppBase::WaitForLoadingThread()
{
    while (mLoadingThreadStarted && !mLoadingThreadCompleted)
        Platform::SleepMilliseconds(20);
}

double QuollAppBase::GetLoadingThreadProgress()
{
    if (mLoadingCompletionPickedUp)
        return 1.0;
    if (!mLoadingThreadStarted || mNumLoadingThreadTasks <= 0)
        return 0.0;
    return std::min(1.0, double(mCompletedLoadingThreadTasks) / mNumLoadingThreadTasks);
}

// --- Images ------------------------------------------------------------------------------------

MemoryImage* QuollAppBase::GetImage(const std::string& fileName, bool commitBits)
{
    std::unique_ptr<ImageLib::Image> picture = ImageLib::ReadImageFile(fileName);
    if (!picture)
        return nullptr;
    auto* image = new MemoryImage(this);
    image->SetBits(picture->GetBits(), picture->GetWidth(), picture->GetHeight(), commitBits);
    return image;
}

SharedImageRef QuollAppBase::GetSharedImage(const std::string& fileName, const std::string& variant, bool* isNew)
{
    const std::pair<std::string, std::string> key{Platform::LowerAscii(fileName), Platform::LowerAscii(variant)};
    SharedImage* shared = nullptr;
    bool inserted = false;
    {
        AutoCrit lock(mDisplay ? mDisplay->GetLock() : mCritSect);
        auto [entry, added] = mSharedImageMap.try_emplace(key);
        shared = &entry->second;
        inserted = added;
    }
    if (isNew != nullptr)
        *isNew = inserted;
    if (inserted)
        shared->mImage = !fileName.empty() && fileName[0] == '!' ? new MemoryImage(this) : GetImage(fileName);
    SharedImageRef reference;
    reference = shared;
    return reference;
}

// --- Dialogs, URLs, crash hooks: minimal until the widgets exist ---------------------------------

Dialog* QuollAppBase::NewDialog(int, bool, const std::wstring&, const std::wstring&, const std::wstring&, int)
{
    return nullptr;
}

Dialog* QuollAppBase::DoDialog(int id, bool isModal, const std::wstring& header, const std::wstring& lines,
                               const std::wstring& footer, int buttonMode)
{
    KillDialog(id);
    Dialog* dialog = NewDialog(id, isModal, header, lines, footer, buttonMode);
    if (dialog != nullptr)
        AddDialog(id, dialog);
    return dialog;
}

Dialog* QuollAppBase::GetDialog(int id)
{
    auto found = mDialogMap.find(id);
    return found != mDialogMap.end() ? found->second : nullptr;
}

void QuollAppBase::AddDialogObject(Dialog*) {}

void QuollAppBase::AddDialog(int, Dialog*) {}

bool QuollAppBase::KillDialogObject(Dialog*)
{
    return false;
}

bool QuollAppBase::KillDialog(int id)
{
    return KillDialogWithOptions(id, true, true);
}

bool QuollAppBase::KillDialogWithOptions(int id, bool, bool)
{
    return mDialogMap.count(id) != 0;
}

int QuollAppBase::GetDialogCount()
{
    return int(mDialogList.size());
}

void QuollAppBase::SafeDeleteWidget(Widget* widget)
{
    mDeferredDeletes.emplace_back(mUpdateAppDepth, widget);
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
    mWindowHiddenAfterCrash = true;
}

std::string QuollAppBase::GetCrashInfo()
{
    return {};
}
} // namespace Quoll

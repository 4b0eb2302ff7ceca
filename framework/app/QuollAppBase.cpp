// The application object's construction, start-up (Init), single-instance handshake, sound
// forwarding, localisable texts and image bookkeeping.
#include "framework/app/QuollAppBase.h"

#include "framework/core/Common.h"
#include "framework/app/AppCrashReportSource.h"
#include "framework/app/ErrorLog.h"
#include "framework/app/HandCursors.h"
#include "framework/app/PackMount.h"
#include "framework/core/MersenneTwister.h"
#include "framework/platform/system/Clock.h"
#include "framework/platform/audio/MixerOutput.h"
#include "framework/platform/system/ProgramInfo.h"
#include "framework/platform/system/SingleInstance.h"
#include "framework/platform/system/Thread.h"
#include "framework/platform/system/UserFolders.h"
#include "framework/display/D3DTester.h"
#include "framework/display/DDInterface.h"
#include "framework/display/MemoryImage.h"
#include "framework/files/ImageLib.h"
#include "framework/files/PakInterface.h"
#include "framework/resources/ResourceManager.h"
#include "framework/sound/CreateMusicInterface.h"
#include "framework/sound/DSoundManager.h"
#include "framework/sound/MusicInterface.h"
#include "framework/sound/SoundInstance.h"
#include "framework/sound/SoundManagerLoader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace Quoll
{
QuollAppBase* gQuollApp = nullptr;

namespace
{
// Where the start-up message sends a user whose window or audio back end cannot start.
constexpr const wchar_t* kBackendDownloadAddress = L"https://www.libsdl.org/";
} // namespace

void* WindowHandle(Platform::WindowId window)
{
    return reinterpret_cast<void*>(static_cast<uintptr_t>(window));
}

bool IsRelativeDataPath(const std::string& path)
{
    if (path.size() < 2)
        return true;
    return path[1] != ':' && path[0] != '\\' && path[0] != '/';
}

// Construction, in order: listener bases and empty containers (members); the image codec;
// the program's folder, version and construction tick; the default texts; the demo name;
// the owned widget and resource managers; the program-wide pointers.
QuollAppBase::QuollAppBase()
{
    ImageLib::LoadJ2kCodec();
    mWorkingFolder = Platform::ProgramFolder();
    mProductVersion = GetProductVersion(Platform::ProgramPath());
    mConstructionTick = Platform::TickCount();
    mNextDrawAllowed = mConstructionTick; // the wrapping clock is compared relative to it

    SetString("DIALOG_BUTTON_OK", L"OK");
    SetString("DIALOG_BUTTON_CANCEL", L"CANCEL");
    SetString("UPDATE_CHECK_TITLE", L"Update Check");
    SetString("UPDATE_CHECK_BODY", L"Checking if there are any updates available for this product ...");
    SetString("UP_TO_DATE_TITLE", L"Up to Date");
    SetString("UP_TO_DATE_BODY", L"There are no updates available for this product at this time.");
    SetString("NEW_VERSION_TITLE", L"New Version");
    SetString("NEW_VERSION_BODY", L"There is an update available for this product.  Would you like to visit the "
                                  L"web site to download it?");

    mDemoPrefix = "quollapp";
    mDemoFileName = mDemoPrefix + ".dmo";

    mWidgetManager = std::make_unique<NullWidgetManager>();
    mResourceManager = std::make_unique<ResourceManager>(this);

    gQuollApp = this;
    SetImageRegistry(this);
    InstallAppCrashReportSource();
}

void QuollAppBase::SetWindowSystem(std::unique_ptr<Platform::WindowSystem> system)
{
    mWindowSystem = std::move(system);
}

void QuollAppBase::SetString(const std::string& id, const std::wstring& text)
{
    mStringProperties[id] = text;
}

std::wstring QuollAppBase::GetString(const std::string& id, const std::wstring& defaultText) const
{
    auto found = mStringProperties.find(id);
    return found != mStringProperties.end() ? found->second : defaultText;
}

// Init, in order; each step may end the process through DoExit.
void QuollAppBase::Init()
{
    // The thread that runs the application.
    mPrimaryThreadId = std::this_thread::get_id();
    mPrimaryThreadNumber = Platform::CurrentThreadId();
    mPrimaryThreadKnown = true;
    if (mShutdown)
        return;

    // Without a window system or audio output there is nothing to run on. The failed
    // start-ups end with 1; only a second copy that handed over to the first ends with 0.
    if (!CheckBackends())
        DoExit(1);

    // Settings first, then the data folder, then the command line, which overrides both.
    PreInitHook();
    ReadSettings();
    if (InitAppDataFolder())
        mDemoFileName = WithDataFolder(mDemoFileName);
    if (!mCommandLineParsed)
        ParseCommandLine();

    // A screen saver may run beside the program; then the working folder.
    if (mIsScreenSaver)
        mOnlyAllowOneCopyToRun = false;
    if (!ChangeDirectoryHook(mWorkingFolder) && !mWorkingFolder.empty())
        Platform::SetCurrentFolder(mWorkingFolder);

    // The pack file; a missing pack leaves the files on the disk.
    MountPackFileOrLog(*GetPakInterface(), "main.pak", ErrorLog::Program(), &mPackMountError);

    // The single-instance handshake.
    mNotifyMessage = Platform::WindowSystem::RegisterWindowMessage("Notify" + mProdName);
    mMutex = std::make_unique<Platform::SingleInstance>(SingleInstanceName());
    if (mMutex->AlreadyExists())
        NotifyRunningInstance();
    else if (mMutex->State() == Platform::InstanceState::Owner)
        mWindowSystem->ReceiveInstanceNotifies(*mMutex);
    TellInstanceDecision(false);

    // The random seed; a played demo brings its own.
    mStartTick = Platform::TickCount();
    SeedRandom(mStartTick);
    if (mPlayingDemo)
    {
        std::string error;
        if (!ReadDemoFile(error))
        {
            mPlayingDemo = false;
            PopupA(error);
            DoExit(1);
        }
    }
    std::srand(Platform::TickCount());

    // Window classes, the invisible window, the cursors.
    CreateWindowClasses();
    CreateInvisibleWindow();
    auto makeCursor = [this](const MonochromeCursor& cursor) {
        return mWindowSystem->CreateCursor(cursor.hotX, cursor.hotY, MonochromeCursor::kSize, MonochromeCursor::kSize,
                                           cursor.andMask, cursor.xorMask);
    };
    mHandCursor = makeCursor(PointingHandCursor());
    mDraggingCursor = makeCursor(OpenHandCursor());

    // A window at least as large as the screen can only be full screen.
    PreWindowHook();
    const MouseRect appRect{0, 0, mWidth, mHeight};
    mWidgetManager->SetMouseRects(appRect, appRect);
    if (mIsWindowed && !mFakeFullScreen)
    {
        const Platform::ScreenInfo screen = mWindowSystem->GetScreenInfo();
        if (mWidth >= screen.width || mHeight >= screen.height)
        {
            mIsWindowed = false;
            mForceFullScreen = true;
        }
    }

    // The main window and display; a played demo says which mode it ran in.
    CreateMainWindow();
    if (IsReplayingRecords() && ExpectDemoRecord(DemoKind::DisplayMode))
    {
        mIsWindowed = mDemo.Data().ReadBool();
        mSyncRefreshRate = mDemo.Data().ReadByte();
        mDemo.EndRecord();
    }

    // Sound and music.
    CreateSoundObjects();

    // A screen saver shows no cursor; then the application's own start-up.
    if (mIsScreenSaver)
        SetCursor(11);
    PostInitHook();
    mInitialized = true;
}

// The stand-ins of the libraries the framework was written for: a window system and an
// audio output (a silent one when no sound device opens). Either missing shows the
// "You need DirectX" message.
bool QuollAppBase::CheckBackends()
{
    if (!mWindowSystem)
        mWindowSystem = Platform::WindowSystem::Create();
    // No display is a failed start: a driver that shows nothing runs only when asked for.
    if (mWindowSystem && mWindowSystem->FellBackToShowingNothing())
    {
        ReportNoDisplay();
        return false;
    }
    if (!mNoSoundNeeded && mWindowSystem)
    {
        std::string why;
        mAudioOutput = Platform::MixerOutput::Acquire({}, &why);
        if (!mAudioOutput)
        {
            // A machine without a usable sound device plays silently, as a missing sound card
            // always did; only a program without any audio output at all cannot run. The
            // program's log hears why, once; the sounds themselves then play into the silence.
            ErrorLog::Program().Append("Audio: no sound device could be opened; the game runs without sound",
                                       ErrorLogLevel::Warning, why);
            mAudioOutput = Platform::MixerOutput::Acquire("headless");
        }
    }
    if (mWindowSystem && (mNoSoundNeeded || mAudioOutput))
        return true;

    const std::wstring text = GetString("APP_REQUIRES_DIRECTX",
                                        std::wstring(L"This application requires DirectX to run.  You can get "
                                                     L"DirectX at ") +
                                            kBackendDownloadAddress);
    const std::wstring caption = GetString("YOU_NEED_DIRECTX", L"You need DirectX");
    if (mWindowSystem)
        mWindowSystem->MessageBox(Platform::WindowId::None, text, caption, Platform::MB_ICONERROR);
    else
        LogScreenSaverError(WStringToString(caption) + ": " + WStringToString(text));
    return false;
}

// Nobody would see a window or a message box: the reason goes to standard error and the logs.
void QuollAppBase::ReportNoDisplay()
{
    const std::string text =
        WStringToString(GetString("NO_DISPLAY", L"No display: this application cannot show its window. Start it on "
                                                L"a desktop.")) +
        " (neither DISPLAY nor WAYLAND_DISPLAY names a display that answers; SDL fell back to its \"" +
        mWindowSystem->DisplayDriver() + "\" video driver, which shows nothing)";
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
    ErrorLog::Program().Append(text);
}

bool QuollAppBase::InitAppDataFolder()
{
    std::optional<std::string> folder = Platform::UserFolder(Platform::UserFolderKind::Data, mCompanyName, mProdName);
    if (!folder)
        return false;
    SetAppDataFolder(*folder);
    return true;
}

std::string QuollAppBase::WithDataFolder(const std::string& fileName) const
{
    if (!IsRelativeDataPath(fileName))
        return fileName;
    return GetAppDataFolder() + fileName;
}

void QuollAppBase::CreateWindowClasses()
{
    mIsUnicodeWindows = true;
    mWindowSystem->RegisterClass({kMainWindowClass, Platform::CS_DBLCLKS, &QuollAppBase::WindowProc});
    mWindowSystem->RegisterClass({"InvisWindow", 0, &QuollAppBase::WindowProc});
}

void QuollAppBase::CreateInvisibleWindow()
{
    Platform::WindowCreateInfo info;
    info.className = "InvisWindow";
    info.title = mTitle;
    mInvisWindow = mWindowSystem->CreateWindowEx(info);
    mWindowSystem->SetWindowUserData(mInvisWindow, this);
}

void QuollAppBase::CreateSoundObjects()
{
    if (!mSoundManager)
        mSoundManager = std::make_unique<DSoundManager>(mNoSoundNeeded ? nullptr : WindowHandle(mMainWindow),
                                                        mUseFMod);
    mSoundLoader = std::make_unique<SoundManagerLoader>(*mSoundManager);
    mResourceManager->SetSoundLoader(mSoundLoader.get());
    SetSfxVolume(mSfxVolume);
    mMusicInterface = CreateMusicInterface(mInvisWindow);
    SetMusicVolume(mMusicVolume);
}

std::unique_ptr<MusicInterface> QuollAppBase::CreateMusicInterface(Platform::WindowId window)
{
    return ::Quoll::CreateMusicInterface(DefaultMusicPlayer(mNoSoundNeeded, mUseFMod), WindowHandle(window));
}

// The product's single-instance name, "<product>Mutex". QUOLL_INSTANCE_NAME replaces it, so
// that the copies a test harness starts neither turn away nor are turned away by a player's copy.
std::string QuollAppBase::SingleInstanceName() const
{
    if (const char* name = std::getenv("QUOLL_INSTANCE_NAME"); name != nullptr && *name != '\0')
        return name;
    return mProdName + "Mutex";
}

// A second copy tells the first through the single-instance name and ends.
void QuollAppBase::NotifyRunningInstance()
{
    if (!mOnlyAllowOneCopyToRun)
        return;
    if (mNotifyMessage != 0 && mMutex)
        mMutex->NotifyOwner(Platform::WindowSystem::RegisteredMessageName(mNotifyMessage), 0, 0);
    TellInstanceDecision(true);
    DoExit(0);
}

void QuollAppBase::TellInstanceDecision(bool handingOver)
{
    mInstanceDecisionTold = true;
    if (mInstanceDecision)
        mInstanceDecision(handingOver);
}

void QuollAppBase::HandleNotifyMessage(Platform::WParam wParam, Platform::LParam)
{
    if (wParam != 0 || !mWindowSystem || mMainWindow == Platform::WindowId::None)
        return;
    Platform::WindowPlacement placement;
    if (mWindowSystem->GetWindowPlacement(mMainWindow, placement) && placement.showCmd == Platform::SW_SHOWMINIMIZED)
        mWindowSystem->ShowWindow(mMainWindow, Platform::SW_RESTORE);
    mWindowSystem->SetForegroundWindow(mMainWindow);
}

void QuollAppBase::DialogButtonPress(int dialogId, int buttonId)
{
    if (buttonId == 1000)
        ButtonPress(2000 + dialogId);
    else if (buttonId == 1001)
        ButtonPress(3000 + dialogId);
}

void QuollAppBase::DialogButtonRelease(int dialogId, int buttonId)
{
    if (buttonId == 1000)
        ButtonRelease(2000 + dialogId);
    else if (buttonId == 1001)
        ButtonRelease(3000 + dialogId);
}

// --- Sound -----------------------------------------------------------------------------------

void QuollAppBase::PlaySample(int soundId)
{
    if (!mSoundManager || soundId < 0)
        return;
    if (SoundInstance* instance = mSoundManager->GetSoundInstance(unsigned(soundId)))
        instance->Play(false, true);
}

void QuollAppBase::PlaySamplePanned(int soundId, int pan)
{
    if (!mSoundManager || soundId < 0)
        return;
    if (SoundInstance* instance = mSoundManager->GetSoundInstance(unsigned(soundId)))
    {
        instance->SetPan(pan);
        instance->Play(false, true);
    }
}

double QuollAppBase::GetMasterVolume()
{
    return mSoundManager ? mSoundManager->GetMasterVolume() : 0.0;
}

double QuollAppBase::GetMusicVolume()
{
    return mMusicVolume;
}

double QuollAppBase::GetSfxVolume()
{
    return mSfxVolume;
}

bool QuollAppBase::IsMuted()
{
    return mMuteCount > 0;
}

void QuollAppBase::SetMasterVolume(double volume)
{
    mSfxVolume = volume;
    if (mSoundManager)
        mSoundManager->SetMasterVolume(volume);
}

void QuollAppBase::SetMusicVolume(double volume)
{
    mMusicVolume = volume;
    if (mMusicInterface)
        mMusicInterface->SetVolume(mMuteCount > 0 ? 0.0 : volume);
}

void QuollAppBase::SetSfxVolume(double volume)
{
    mSfxVolume = volume;
    if (mSoundManager)
        mSoundManager->SetVolume(mMuteCount > 0 ? 0.0 : volume);
}

void QuollAppBase::Mute(bool autoMute)
{
    ++mMuteCount;
    if (autoMute)
        ++mAutoMuteCount;
    SetMusicVolume(mMusicVolume);
    SetSfxVolume(mSfxVolume);
}

void QuollAppBase::Unmute(bool autoMute)
{
    mMuteCount = std::max(0, mMuteCount - 1);
    if (autoMute)
        mAutoMuteCount = std::max(0, mAutoMuteCount - 1);
    SetMusicVolume(mMusicVolume);
    SetSfxVolume(mSfxVolume);
}

// --- Display facts and images -------------------------------------------------------------

bool QuollAppBase::Is3DAccelerated() const
{
    return mDisplay && mDisplay->Is3D();
}

DDInterface* QuollAppBase::GetDDInterface() const
{
    return dynamic_cast<DDInterface*>(mDisplay.get());
}

// The display's test ran and found no reason against 3D.
bool QuollAppBase::Is3DSupported() const
{
    const DDInterface* display = GetDDInterface();
    const D3DTester* test = display != nullptr ? display->GetDisplayTest() : nullptr;
    return test != nullptr && test->GetFailureReason().empty();
}

// ... and no doubt about it either.
bool QuollAppBase::Is3DRecommended() const
{
    return Is3DSupported() && GetDDInterface()->GetDisplayTest()->GetWarning().empty();
}

void QuollAppBase::AddMemoryImage(MemoryImage* image)
{
    AutoCrit lock(mDisplay ? mDisplay->GetLock() : mCritSect);
    mMemoryImageSet.insert(image);
}

void QuollAppBase::RemoveMemoryImage(MemoryImage* image)
{
    AutoCrit lock(mDisplay ? mDisplay->GetLock() : mCritSect);
    mMemoryImageSet.erase(image);
    Remove3DData(image);
}

void QuollAppBase::Remove3DData(MemoryImage* image)
{
    if (DDInterface* display = GetDDInterface())
        display->Remove3DData(image);
}

bool QuollAppBase::ReadTextureBits(MemoryImage* image, uint32_t* bits)
{
    DDInterface* display = GetDDInterface();
    return display != nullptr && display->ReadTextureBits(image, bits);
}

void QuollAppBase::ReInitImages()
{
    for (MemoryImage* image : mMemoryImageSet)
        image->ReInit();
}

void QuollAppBase::DeleteNativeImageData()
{
    for (MemoryImage* image : mMemoryImageSet)
        image->DeleteNativeData();
}

void QuollAppBase::DeleteExtraImageData()
{
    AutoCrit lock(mDisplay ? mDisplay->GetLock() : mCritSect);
    for (MemoryImage* image : mMemoryImageSet)
        image->DeleteExtraBuffers();
}

std::string QuollAppBase::GetProductVersion(const std::string&)
{
    return std::string(Platform::ProductVersion());
}
} // namespace Quoll

#pragma once
// The framework's application object: one per process, reached through gQuollApp, which the
// constructor sets. It owns the main and invisible windows, the display, the widget manager,
// the resource manager, the sound manager, the music interface, the demo state and the timing
// state. The game derives its application class from it and overrides the virtual hooks;
// everything else of the application's life is done here.
//
// The class is split over several files by concern: QuollAppBase.cpp (construction, Init,
// single instance, sound forwarding, image set), QuollAppBaseCommandLine.cpp,
// QuollAppBaseSettings.cpp (registry values, whole-file reads and writes),
// QuollAppBaseMessages.cpp (message boxes, the error log, the fatal exit),
// QuollAppBaseDemo.cpp (the demo stream's records), QuollAppBaseWindow.cpp (main window,
// display start, screen modes, cursors, focus), QuollAppBaseInput.cpp (the window procedure,
// the queued messages, the debug keys), QuollAppBaseLoop.cpp (main loop and timing),
// QuollAppBaseDraw.cpp (one update, drawing, overlays), QuollAppBaseThreads.cpp (loading and
// cursor threads), QuollAppBaseImages.cpp (images, shared images, clipboard),
// QuollAppBaseShutdown.cpp (shutdown, destructor, deferred deletion, URLs, crash hooks) and
// QuollAppBaseDialogs.cpp (framework dialogs by id).
//
// Threads: the main thread runs everything but LoadingThreadProc (the loading thread) and
// CursorThreadProc (the cursor thread). The fields those threads share with the main thread
// are atomics; Shutdown is the one operation any thread may call.
#include "framework/app/AppDemoDialogs.h"
#include "framework/app/AppDialog.h"
#include "framework/display/AppDisplay.h"
#include "framework/app/AppWidgetManager.h"
#include "framework/core/Buffer.h"
#include "framework/app/ButtonListener.h"
#include "framework/core/CriticalSection.h"
#include "framework/demo/DemoStream.h"
#include "framework/app/DialogListener.h"
#include "framework/app/FrameRateCounter.h"
#include "framework/app/ScreenSaverFilter.h"
#include "framework/app/SystemScreenSaverCheck.h"
#include "framework/core/Ratio.h"
#include "framework/display/D3DTesterHost.h"
#include "framework/display/DisplayHost.h"
#include "framework/display/Font.h"
#include "framework/display/Image.h"
#include "framework/display/ImageRegistry.h"
#include "framework/display/Rect.h"
#include "framework/display/SharedImageRef.h"
#include "framework/platform/system/SettingsStore.h"
#include "framework/platform/system/Thread.h"
#include "framework/platform/window/WindowSystem.h"
#include "framework/sound/MusicInterface.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <thread>
#include <string>
#include <utility>
#include <vector>

namespace Quoll
{
// A developer build (one without NDEBUG) offers the debug keys (Ctrl+Alt+D, and with them the
// tweak box of Alt+R); a release build does not.
#ifdef NDEBUG
inline constexpr bool kDeveloperBuild = false;
#else
inline constexpr bool kDeveloperBuild = true;
#endif

class DDInterface;
class MemoryImage;
class ResourceManager;
class SoundManager;
class Widget;

class SoundLoader;

namespace Platform
{
class MixerOutput;
class SingleInstance;
}

// Ends the process with the code; tests install a handler that throws instead.
using ExitHandler = void (*)(int code);
class QuollAppBase;
// Makes a system font of a face name and point size, or null; the widget toolkit's system font
// is installed through it, since the application sits below the toolkit.
using SystemFontHook = std::unique_ptr<Font> (*)(QuollAppBase* app, const std::string& faceName, int pointSize);

class QuollAppBase : public ButtonListener, public DialogListener, public ImageRegistry, public DisplayHost
{
public:
    QuollAppBase();
    QuollAppBase(const QuollAppBase&) = delete;
    QuollAppBase& operator=(const QuollAppBase&) = delete;

    // --- Dialog listener: button 1000 becomes 2000 + dialog id, 1001 becomes 3000 + id.
    void DialogButtonPress(int dialogId, int buttonId) override;
    void DialogButtonRelease(int dialogId, int buttonId) override;

    // --- The widget toolkit, installed by the program before Init (the application sits below it)
    // Replaces the null manager; the application owns the new one.
    void SetWidgetManager(std::unique_ptr<AppWidgetManager> manager);
    [[nodiscard]] AppWidgetManager* GetWidgetManager() const { return mWidgetManager.get(); }
    // What NewDialog makes a dialog with; without one NewDialog makes none.
    using DialogFactory = std::function<AppDialog*(int id, bool isModal, const std::wstring& header,
                                                   const std::wstring& lines, const std::wstring& footer,
                                                   int buttonMode)>;
    void SetDialogFactory(DialogFactory factory) { mDialogFactory = std::move(factory); }

    // --- Virtual operations, in slot order ----------------------------------------------------
    virtual bool Process(bool allowSleep = true);
    virtual void UpdateFrame();
    virtual bool TryUpdateFrame();
    virtual void UpdateFrameSmooth(float fraction);
    virtual void CreateMainWindow();
    virtual void RefreshCursor();
    virtual void ReInitImages();
    virtual void DeleteNativeImageData();
    virtual void DeleteExtraImageData();
    virtual void LoadingThreadCompleted() {}
    ~QuollAppBase() override;
    virtual std::unique_ptr<MusicInterface> CreateMusicInterface(Platform::WindowId window);
    virtual void PostInitHook() {}
    virtual void ShutdownHook() {}
    virtual void PostMainLoopHook() {}
    virtual void LoadingThreadProc() {}
    virtual void WriteSettings();
    virtual void ReadSettings();
    virtual AppDialog* NewDialog(int id, bool isModal, const std::wstring& header, const std::wstring& lines,
                              const std::wstring& footer, int buttonMode);
    virtual void PreWindowHook() {}
    virtual void BeginPopup();
    virtual void EndPopup();
    virtual int MsgBoxW(const std::wstring& text, const std::wstring& title, uint32_t flags);
    virtual int MsgBoxA(const std::string& text, const std::string& title, uint32_t flags);
    virtual void PopupW(const std::wstring& text);
    virtual void PopupA(const std::string& text);
    virtual void LogScreenSaverError(const std::string& text);
    virtual void SafeDeleteWidget(Widget* widget);
    virtual void URLOpenFailed(const std::string& url);
    virtual void URLOpenSucceeded(const std::string& url);
    virtual bool OpenURL(const std::string& url, bool shutdownOnOpen = false);
    virtual std::string GetProductVersion(const std::string& path);
    virtual void CrashOccurred();
    virtual std::string GetCrashInfo();
    virtual void GetCrashReportFields(std::map<std::string, std::string>& fields) { (void)fields; }
    virtual void Shutdown();
    virtual void ParseCommandLine();
    virtual void ParseCommandLineString(const std::string& text);
    virtual void HandleCmdLineParam(const std::string& option, const std::string& value);
    virtual void HandleNotifyMessage(Platform::WParam wParam, Platform::LParam lParam);
    virtual void NotifyRunningInstance();
    std::string SingleInstanceName() const;
    // Told once Init's single-instance handshake has decided: true just before this copy hands
    // over to the copy that runs and ends, false when this copy goes on. A start that ends before
    // the handshake is told true when another copy holds the name, and nothing otherwise. A log
    // that must show only the running copy's lines waits for it.
    using InstanceDecision = std::function<void(bool handingOver)>;
    void SetInstanceDecision(InstanceDecision decision) { mInstanceDecision = std::move(decision); }
    virtual void Init();
    virtual void Start();
    virtual void PreDisplayHook() {}
    virtual void PostDisplayHook() {}
    virtual bool ChangeDirectoryHook(const std::string& folder)
    {
        (void)folder;
        return false;
    }
    virtual void PlaySamplePanned(int soundId, int pan);
    virtual void PlaySample(int soundId);
    virtual double GetMasterVolume();
    virtual double GetMusicVolume();
    virtual double GetSfxVolume();
    virtual bool IsMuted();
    virtual void SetMasterVolume(double volume);
    virtual void SetMusicVolume(double volume);
    virtual void SetSfxVolume(double volume);
    virtual void Mute(bool autoMute = false);
    virtual void Unmute(bool autoMute = false);
    virtual double GetLoadingThreadProgress();
    virtual MemoryImage* GetImage(const std::string& fileName, bool commitBits = true);
    virtual SharedImageRef GetSharedImage(const std::string& fileName, const std::string& variant = {},
                                          bool* isNew = nullptr);
    virtual void SwitchScreenMode(bool windowed, bool is3D, bool force = false);
    virtual void SwitchWindowedMode(bool windowed);
    virtual void ReapplyScreenMode();
    virtual void SetVideoMemoryDraw(bool videoMemory);
    virtual AppDialog* DoDialog(int id, bool isModal, const std::wstring& header, const std::wstring& lines,
                                const std::wstring& footer, int buttonMode);
    virtual AppDialog* GetDialog(int id);
    virtual void AddDialogObject(AppDialog* dialog);
    virtual void AddDialog(int id, AppDialog* dialog);
    virtual bool KillDialogObject(AppDialog* dialog);
    virtual bool KillDialog(int id);
    virtual bool KillDialogWithOptions(int id, bool removeWidget, bool deleteWidget);
    virtual int GetDialogCount();
    virtual void ModalOpen() {}
    virtual void ModalClose() {}
    virtual void GotFocus() {}
    virtual void LostFocus() {}
    virtual bool IsAltKeyUsed(Platform::WParam key);
    virtual bool DebugKeyDown(int key);
    virtual bool DebugKeyDownAsync(int key, bool ctrlDown, bool altDown);
    virtual void CloseRequested() {}
    void DisplayTestNotify() override {}

    // What the display reads of the application (DisplayHost).
    [[nodiscard]] const DisplayOptions& GetDisplayOptions() const override;
    [[nodiscard]] Platform::WindowSystem* GetDisplayWindowSystem() const override { return mWindowSystem.get(); }
    [[nodiscard]] const PixelFormat& GetDisplayFormat() const override { return mDisplayFormat; }
    virtual std::string GetCrashAttachmentPath() { return {}; }
    virtual bool ReservedQuery(int first, int second)
    {
        (void)first;
        (void)second;
        return false;
    }
    virtual bool DrawDirty();
    virtual void Redraw(const Rect* clip);
    virtual void PreInitHook() {}
    virtual void DoMainLoop();
    virtual bool UpdateAppStep(bool* updated);
    virtual bool UpdateApp();
    virtual bool CanRestoreWindow();

    // The procedure of both window classes; the application is in the window's user data.
    static Platform::LResult WindowProc(Platform::WindowId window, uint32_t message, Platform::WParam wParam,
                                        Platform::LParam lParam);

    // --- Localisable framework texts ------------------------------------------------------
    void SetString(const std::string& id, const std::wstring& text);
    [[nodiscard]] std::wstring GetString(const std::string& id, const std::wstring& defaultText) const;

    // The display's start on the main window, with the hooks around it.
    DisplayResult InitDisplay();
    // Switches the display's 3D mode; with reinitialise, starts the display again in it.
    void Set3DAcceleration(bool is3D, bool reinitialise);
    void ShowVideoStats();
    // The lines of the video statistics box: 3D state, images, sounds, video and texture memory.
    std::string VideoStatsText();
    static std::string KilobytesText(uint64_t bytes);
    // Handles the oldest queued window message; true while more remain.
    bool ProcessDeferredMessage();
    // What follows from a change of activation or of the minimised state, live or replayed:
    // focus, muting, a full redraw, a pending URL.
    void ApplyActivation(bool active);
    void ApplyMinimised(bool minimised);

    // --- Main loop, timing, threads ------------------------------------------------------------
    void AccumulateElapsedTime();
    // Deletes the widgets queued for deletion at the current step nesting or deeper.
    void ProcessDeferredDeletes();
    void StartLoadingThread();
    void StartCursorThread();
    void CursorThreadProc();

    // --- Start-up --------------------------------------------------------------------------
    bool InitAppDataFolder();
    // The window system to run on; Init creates the one QUOLL_PLATFORM names when none was
    // given. Give it before Init.
    void SetWindowSystem(std::unique_ptr<Platform::WindowSystem> system);
    // The demo navigation dialogs ('j' and 'l' during playback), made from widgets.
    void SetDemoDialogs(std::unique_ptr<AppDemoDialogs> dialogs) { mDemoDialogs = std::move(dialogs); }
    // Runs modal UI until it has finished: window messages are read and the live input goes to
    // the client, every pass draws the screen with the client on top; no update runs.
    void RunModal(AppModalClient& client);
    [[nodiscard]] Platform::WindowSystem* GetWindowSystem() const { return mWindowSystem.get(); }
    // Ends the process through the exit handler (std::exit unless a test replaced it).
    [[noreturn]] void DoExit(int code);
    static ExitHandler SetExitHandler(ExitHandler handler);
    void RestoreDisplayMode();
    [[nodiscard]] bool IsScreenSaver() const { return mIsScreenSaver; }
    // The maker of the overlays' font (main, the game and the tests install the toolkit's).
    void SetSystemFontHook(SystemFontHook hook) { mSystemFontHook = hook; }
    // A font of the hook; without a hook, or when it makes none, the block font.
    [[nodiscard]] std::unique_ptr<Font> MakeSystemFont(const std::string& faceName, int pointSize);

    // --- Registry values (under "SOFTWARE\" + registry key; empty key: not used) --------
    // The store to use instead of the per-user settings file (tests).
    void SetSettingsStore(std::unique_ptr<Platform::SettingsStore> store);
    bool WriteRegValue(const std::string& name, uint32_t type, const uint8_t* data, uint32_t length);
    bool WriteRegString(const std::string& name, const std::string& text);
    bool WriteRegInt(const std::string& name, int value);
    bool WriteRegBool(const std::string& name, bool value);
    // `length` holds the capacity of `data` on entry and the value's byte count on return.
    bool ReadRegValue(const std::string& name, uint32_t* type, uint8_t* data, uint32_t* length);
    bool ReadRegString(const std::string& name, std::string& text);
    bool ReadRegInt(const std::string& name, int& value);
    bool ReadRegBool(const std::string& name, bool& value);
    void EraseRegValue(const std::string& name);

    // --- Whole files, through the demo stream -----------------------------------------------
    bool WriteBytesToFile(const std::string& path, const uint8_t* data, size_t length);
    bool WriteBufferToFile(const std::string& path, const Buffer& buffer);
    bool ReadBufferFromFile(const std::string& path, Buffer& buffer, bool noDemo = false);
    bool FileExists(const std::string& path);
    // A regular file directly in a folder, as the folder lists it.
    struct FolderFile
    {
        std::string name;
        uint64_t size = 0;
        int64_t modified = 0; // larger is later; comparable only within one folder
    };
    // The regular files directly in the folder (none when it cannot be read), in the order the
    // system lists them.
    std::vector<FolderFile> ListFolderFiles(const std::string& folder);
    // Renames (or moves within its file system) a file; false when that failed.
    bool RenameFile(const std::string& from, const std::string& to);
    // The file's size without reading it; nullopt when it is missing or not a regular file, and
    // while playing back a demo recorded before sizes were recorded.
    std::optional<uint64_t> GetFileSize(const std::string& path);

    // --- Sound, images, cursors -------------------------------------------------------------
    [[nodiscard]] bool Is3DAccelerated() const override;
    [[nodiscard]] bool Is3DSupported() const;
    [[nodiscard]] bool Is3DRecommended() const;
    void AddMemoryImage(MemoryImage* image) override;
    // Also drops the image's textures, so that the renderer never keeps a freed image.
    void RemoveMemoryImage(MemoryImage* image) override;
    void Remove3DData(MemoryImage* image) override;
    bool ReadTextureBits(MemoryImage* image, uint32_t* bits) override;
    void SharedImagesChanged() override { mSharedImagesChanged = true; }
    void SetCursor(int cursorNumber);
    void EnableCustomCursors(bool enabled);
    // The image drawn for a cursor number when custom cursors are on (null: none).
    void SetCursorImage(int cursorNumber, Image* image);
    void ToggleSound();

    // --- Images and the clipboard -------------------------------------------------------------
    MemoryImage* CopyImageRect(Image* image, const Rect& rect);
    MemoryImage* CopyImage(Image* image);
    MemoryImage* NewDisplayImage();
    // Deletes the shared images nobody holds any more (once per update).
    void CleanSharedImages();
    void CopyToClipboard(const std::string& text);
    std::string GetClipboardText();
    // The resource manager's error in the fatal popup; then DoExit (1) when `exit` is set.
    void ShowResourceError(bool exit = false);
    void ClearKeysDown();
    void ResetFrameTiming();
    void WaitForLoadingThread();

    // --- Demo stream (QuollAppBaseDemo.cpp) --------------------------------------------------
    // Header of a record written at the current update count (fillers included).
    void WriteDemoRecordHeader();
    // Playback: whether the next record is due at the current update count.
    bool ReadDemoRecordHeader();
    // Playback: applies the input records due at the current update count.
    void ProcessDemoInput();
    // A value passed through the stream: recorded while recording, replaced by the recorded
    // one while playing.
    void DemoSyncBuffer(Buffer& buffer);
    std::string DemoSyncString(const std::string& text);
    bool DemoSyncBool(bool value);
    // Reads the demo file and seeds the random numbers with its seed.
    bool ReadDemoFile(std::string& error);
    // Writes the recording (only while recording).
    void WriteDemoFile();
    int FindHighestDemoNumber(const std::string& prefix, int keepCount, bool deleteOldest);
    // Recording of the window input handled by the main loop: one queued message, the pointer
    // entering or leaving the client area, the loading thread's completion.
    void RecordDeferredMessage(Platform::WindowId window, uint32_t message, Platform::WParam wParam,
                               Platform::LParam lParam);
    void RecordMouseInWindow(bool inWindow);
    void RecordLoadingCompletion();
    // The position a mouse message gives the widgets: remapped to application coordinates and
    // clamped to what a recording holds, so recording and playback agree.
    void DemoMousePosition(Platform::LParam lParam, int& x, int& y) const;
    // The display's refresh rate becomes the sync refresh rate (recorded while recording).
    void NoteRefreshRate();
    // Playback: true while no update may start (a record is due, the demo ended, or failed).
    bool DemoHoldsUpdate();
    // Playback keys typed while a demo plays; true when the key was one.
    bool HandleDemoPlaybackKey(char32_t key);
    // The demo navigation dialogs: a marker ahead, or a time before the end, becomes the
    // fast-forward target. "DemoJumpTime" keeps the last typed time, outside the demo's records.
    void ShowMarkerList();
    void ShowJumpToTime();
    // The screen as the next numbered PNG, and the report of every image, in the data folder.
    void TakeScreenshot();
    void DumpImages();

    // --- Identity ---------------------------------------------------------------------------
    std::string mRegKey;
    std::string mCompanyName;
    std::string mProdName = "Product";
    std::wstring mTitle = L"QuollApp";
    std::string mWorkingFolder;
    std::string mProductVersion;
    std::string mPackMountError; // why main.pak exists but could not be mounted (empty: it could)
    uint32_t mStartTick = 0;
    uint32_t mConstructionTick = 0;
    std::thread::id mPrimaryThreadId;
    bool mPrimaryThreadKnown = false;
    uint32_t mPrimaryThreadNumber = 0; // the system's number of that thread

    // --- Window ----------------------------------------------------------------------------
    int mWidth = 640;
    int mHeight = 480;
    int mBitsPerPixel = 16;
    int mPreferredX = -1;
    int mPreferredY = -1;
    bool mIsWindowed = true;
    bool mIsPhysWindowed = true;
    bool mFakeFullScreen = false;
    bool mForceFullScreen = false;
    bool mForceWindowed = false;
    Ratio mAspectRatio{4, 3};
    bool mAutoEnable3D = false; // run the display test even when 3D is not wanted
    // 3D is wanted: the display tests it and draws in 3D when it passes. Set by the first
    // window creation from "Is3D" (absent: wanted).
    bool mTest3D = false;
    // While set the 3D renderer draws nothing; no part of the framework sets it.
    bool m3DSuspended = false;
    int mMinVidMemory3D = 6;
    int mRecommendedVidMemory3D = 14;
    bool mChanged3DSetting = false;
    // The main window's class: its icon is every main window's, re-created ones included.
    static constexpr const char* kMainWindowClass = "MainWindow";
    Platform::WindowId mMainWindow = Platform::WindowId::None;
    Platform::WindowId mInvisWindow = Platform::WindowId::None;
    uint32_t mNotifyMessage = 0;
    std::unique_ptr<Platform::SingleInstance> mMutex;
    InstanceDecision mInstanceDecision;
    bool mInstanceDecisionTold = false;
    bool mOnlyAllowOneCopyToRun = true;
    bool mIsUnicodeWindows = true;
    bool mInitialized = false;
    bool mTabletPC = false;

    // --- Window and input state --------------------------------------------------------------
    struct DeferredMessage
    {
        Platform::WindowId window;
        uint32_t message;
        Platform::WParam wParam;
        Platform::LParam lParam;
    };
    std::deque<DeferredMessage> mDeferredMessages;
    bool mActive = true;
    bool mMinimized = false;
    bool mHasFocus = true;
    bool mMouseIn = false;
    bool mRunning = false; // in the main loop
    uint32_t mFirstCreateTick = 0; // the first WM_CREATE (the screen saver's start)
    std::atomic<Platform::WindowId> mCursorWindow{Platform::WindowId::None}; // the main window, for the cursor thread
    bool mIsDisabled = false;
    bool mCtrlDown = false;
    bool mAltDown = false;
    bool mDebugKeysEnabled = false;
    bool mInputIgnored = false; // a native popup is up over a full-screen display
    bool mWindowHiddenAfterCrash = false;
    uint32_t mLastUserInputTick = 0;
    uint32_t mLastTimerTick = 0;
    uint32_t mTimerResumeTick = 0;
    bool mIsOpeningURL = false;
    bool mShutdownOnURLOpen = false;
    std::string mOpeningURL;
    uint32_t mOpeningURLTime = 0;
    static constexpr int kCursorCount = 13;
    int mCursorNum = 0;
    Image* mCursorImages[kCursorCount] = {};
    bool mCustomCursorsEnabled = false;
    Platform::CursorId mOverrideCursor = Platform::CursorId::None;
    Platform::CursorId mHandCursor = Platform::CursorId::None;
    Platform::CursorId mDraggingCursor = Platform::CursorId::None;
    bool mForceRedraw = false;
    int mScreenX = 0, mScreenY = 0, mScreenWidth = 0, mScreenHeight = 0;
    bool mVideoMemoryDraw = false;
    bool mShowFPS = false;
    int mShowFPSMode = 0;

    // --- Timing (main loop) -------------------------------------------------------------------
    int mFrameTime = 10;
    double mSpeedFactor = 1.0;
    double mUpdateAccumulator = 0.0;
    uint32_t mLastAccumulatorTime = 0;
    double mStepFraction = 0.0;
    int mUpdateAppState = 0;
    int mUpdateAppDepth = 0;
    int mUpdateCount = 0;
    int mFrameStepCount = 0;
    std::atomic<int> mDrawCount{0}; // read by the cursor thread
    int mSleepCount = 0;
    int mDrawTimeTotal = 0;
    int mLastPresentTime = 0;     // duration of the last present, ms
    int mPresentCount = 0;
    int mChangedUpdateCount = 0;
    uint32_t mLastPresentTick = 0; // when the last present began
    std::atomic<uint32_t> mNextDrawAllowed{0}; // read by the cursor thread
    bool mSmoothUpdates = false;
    bool mDrawing = false;
    bool mNothingDrawn = false;
    bool mDisplayLost = false;
    uint32_t mLastReinitAttempt = 0;
    SystemScreenSaverCheck mSystemScreenSaver; // pauses while the desktop's screen saver runs
    bool mScreenSaverChecked = false;
    uint32_t mScreenSaverCheckTick = 0;
    bool mHasPendingDraw = true; // an update happened that is not drawn yet
    bool mDrawSkipped = false;
    bool mPaused = false;
    int mDebugStepMode = 0;
    bool mExitNestedLoop = false;
    std::atomic<bool> mShutdown{false};          // read by the cursor thread
    std::atomic<bool> mShutdownRequested{false}; // raised by another thread
    bool mCloseRequest = false;
    int mFastForwardTarget = 0;
    bool mFastForwardToEnd = false;
    bool mFastForwardStep = false;
    bool mAutoMuted = false;
    uint32_t mFastForwardFirstTick = 0; // paces a fast-forward's draws: one a wall second
    bool mVSyncUpdates = false;
    int mSyncRefreshRate = 100;
    bool mWaitForVSync = false;
    bool mSoftVSyncWait = true;
    bool mVSyncBroken = false;
    int mVSyncBrokenCount = 0;
    uint32_t mVSyncBrokenTime = 0;
    int mVSyncBrokenUpdates = 0;
    uint32_t mLastModeSwitchTime = 0;
    bool mDisplayModeChanged = false;

    // --- Threads --------------------------------------------------------------------------------
    bool mAutoStartLoadingThread = true;
    bool mLoadingThreadStarted = false;
    std::atomic<bool> mLoadingThreadCompleted{false}; // the thread's work returned
    bool mLoadingCompletionPickedUp = false;
    bool mLoadingThreadRunning = false; // from the start until the completion is picked up
    std::atomic<bool> mCursorThreadRunning{false};
    std::atomic<int> mNumLoadingThreadTasks{0};       // written by the loading thread
    std::atomic<int> mCompletedLoadingThreadTasks{0}; // written by the loading thread
    bool mMainThreadRaised = false; // the main thread runs above normal while loading runs
    // The demo's pointer, copied for the cursor thread after each pass of demo input.
    std::atomic<int> mDemoCursorX{0}, mDemoCursorY{0};
    std::atomic<bool> mCursorFollowsDemo{false};

    // --- Demo --------------------------------------------------------------------------------
    bool mRecordingDemo = false;
    bool mPlayingDemo = false;
    bool mDemoClosedByWindow = false; // playback met the recorded close of the window
    bool mLoadingFinishedInDemo = false;
    bool mDemoFailureShown = false;
    std::string mDemoPrefix = "quollapp";
    std::string mDemoFileName = "quollapp.dmo";
    // The records, the markers, the played demo's length and the last pointer position.
    DemoStream mDemo;

    // --- Settings and modes ------------------------------------------------------------------
    bool mReadFromRegistry = false; // ReadSettings has run
    bool mIsScreenSaver = false;
    bool mCommandLineParsed = false;
    bool mInPopup = false;

    // --- Sound --------------------------------------------------------------------------------
    double mMusicVolume = 0.85;
    double mSfxVolume = 0.85;
    double mSavedMusicVolume = 0.85;
    double mSavedSfxVolume = 0.85;
    int mMuteCount = 0;
    int mAutoMuteCount = 0;
    bool mMuteOnLostFocus = true;
    bool mNoSoundNeeded = false;
    bool mUseFMod = false;

    // --- Owned objects --------------------------------------------------------------------------
    std::unique_ptr<AppWidgetManager> mWidgetManager;
    DialogFactory mDialogFactory;
    std::unique_ptr<ResourceManager> mResourceManager;
    // The registry, the demo stream and the 3D-suspended flag as the 3D renderer and the
    // display test use them; the window creation gives it to the display it makes.
    class Display3DHost final : public D3DTesterHost
    {
    public:
        explicit Display3DHost(QuollAppBase& app) : mApp(app) {}
        // The values reach the registry but not the demo stream: the test does not run during
        // playback, its outcome passes through the stream instead. Playback writes nothing.
        bool ReadRegValue(const std::string& name, uint32_t* type, uint8_t* data, uint32_t* length) override;
        bool WriteRegValue(const std::string& name, uint32_t type, const uint8_t* data, uint32_t length) override;
        [[nodiscard]] bool IsPlayingDemo() const override { return mApp.mPlayingDemo; }
        std::string DemoSyncString(const std::string& text) override { return mApp.DemoSyncString(text); }
        bool DemoSyncBool(bool value) override { return mApp.DemoSyncBool(value); }
        [[nodiscard]] bool Is3DSuspended() const override { return mApp.m3DSuspended; }

    private:
        QuollAppBase& mApp;
    };
    Display3DHost m3DHost{*this}; // outlives the display
    std::unique_ptr<AppDisplay> mDisplay;
    PixelFormat mDisplayFormat = PixelFormat::Argb8888(); // the display's, once it started
    mutable DisplayOptions mDisplayOptions;               // refreshed from the fields when read
    std::unique_ptr<SoundManager> mSoundManager;
    std::unique_ptr<MusicInterface> mMusicInterface;
    std::set<MemoryImage*> mMemoryImageSet;
    std::map<std::pair<std::string, std::string>, SharedImage> mSharedImageMap;
    std::atomic<bool> mSharedImagesChanged{false};
    // Shared images still being loaded by the thread that asked first; others wait for them.
    std::set<std::pair<std::string, std::string>> mPendingSharedImages;
    std::map<std::string, std::wstring> mStringProperties;
    std::map<std::string, std::string> mStringProperties2;
    std::map<int, AppDialog*> mDialogMap;
    std::list<AppDialog*> mDialogList;
    std::list<std::pair<int, Widget*>> mDeferredDeletes;
    CriticalSection mCritSect;

protected:
    // The display the window creation makes when none exists (the display subsystem's, later).
    virtual std::unique_ptr<AppDisplay> CreateDisplay();
    // The settings store of the registry key, opened on first use; null without a usable one.
    Platform::SettingsStore* Settings();
    // Registry writes while the main loop runs reach the file once per logic update.
    void DeferSettingsWrites(bool deferred);
    void FlushSettings();
    // "SOFTWARE\" + registry key, plus the sub-key part of a value name; false for an empty key.
    bool GetRegKeyPath(const std::string& valueName, std::string& keyPath, std::string& name) const;
    // A value of the store itself, with no demo record (type may be null when reading).
    bool ReadStoreValue(const std::string& valueName, uint32_t* type, uint8_t* data, uint32_t* length);
    bool WriteStoreValue(const std::string& valueName, uint32_t type, const uint8_t* data, uint32_t length);
    // The display when it is the DirectDraw one (null otherwise).
    [[nodiscard]] DDInterface* GetDDInterface() const;
    // The demo file name with the data folder in front when it is relative.
    std::string WithDataFolder(const std::string& fileName) const;
    void UpdateFocusState();

    // Demo stream helpers of the operations that pass their outcomes through it.
    [[nodiscard]] bool IsRecordingDemo() const { return mRecordingDemo && !mPlayingDemo && !mShutdown; }
    // Playback reads records until the recorded run closed its window or shut down.
    [[nodiscard]] bool IsReplayingRecords() const { return mPlayingDemo && !mDemoClosedByWindow && !mShutdown; }
    // Header, full form and kind of a record about to be written.
    void WriteDemoRecordKind(DemoKind kind);
    // Playback: the next record must be this one; otherwise playback stops with its error.
    bool ExpectDemoRecord(DemoKind kind);
    // Playback of a record that holds one success bit; `closedResult` once records are no
    // longer read, or when playback failed.
    bool ReadDemoOutcome(DemoKind kind, bool closedResult);
    bool ReadDemoRegistryValue(uint32_t* type, uint8_t* data, uint32_t* length);
    bool ReadDemoFileRecord(Buffer& buffer);
    std::vector<FolderFile> ReadDemoFolderList();
    std::optional<uint64_t> ReadDemoFileSize();
    // Shows a playback failure once (error log and a message box).
    void ReportDemoFailure();

private:
    // Window procedure helpers.
    Platform::LResult QueueMessage(Platform::WindowId window, uint32_t message, Platform::WParam wParam,
                                   Platform::LParam lParam);
    Platform::LResult HandleSysCommand(Platform::WindowId window, Platform::WParam wParam, Platform::LParam lParam);
    // Queued message handling.
    void HandleKeyDown(const DeferredMessage& message);
    void HandleMouseMessage(const DeferredMessage& message);
    void HandleSizeMessage(const DeferredMessage& message);
    void HandleTimerMessage();
    void SetMouseIn(bool in);
    // Applying a display start's outcome in CreateMainWindow; false when it handled a failure.
    bool HandleDisplayResult(DisplayResult result);
    [[noreturn]] void FailDisplay(DisplayResult result);
    Platform::CursorId SystemCursorOf(int cursorNumber);
    // The debug line of every window that goes (WM_DESTROY).
    void NoteWindowDestroyed(Platform::WindowId window);
    bool FilterScreenSaverMessage(Platform::WindowId window, uint32_t message, Platform::WParam wParam);
    // While modal UI runs: true when the message was input and went to it.
    bool RouteModalInput(uint32_t message, Platform::WParam wParam, Platform::LParam lParam);
    void DrawModalClient();
    void TakeNewScreenImage();
    // Main loop helpers.
    bool FastForwardDemo(double stepsPerFrame);
    void RunOwedSteps(double stepsPerFrame);
    void CheckVSyncBroken(uint32_t now);
    bool LoadingPacing(bool allowSleep, uint32_t passStart, uint32_t slept);
    void ReportRunStatistics(uint32_t startTick);
    // The loading thread's completion, on the main thread; false while an update must wait.
    bool PickUpLoadingCompletion();
    // The desktop's screen saver may start in a window once the loading has completed.
    void UpdateScreenSaverPermission();
    // At most once a second, in a window, unless the program is a screen saver itself.
    void CheckSystemScreenSaver(uint32_t now);
    void UpdateOverlays();
    void DrawOverlays();
    void ReinitialiseLostDisplay();
    void DestroyDialogs();
    void KeepAccelerationChoice();
    void ConfirmAccelerationSwitchedOn();
    void StopCursorThread();

    std::unique_ptr<Image> mOverlayImage; // frames per second or the mouse position
    std::unique_ptr<Image> mDemoTimeImage;
    std::unique_ptr<Font> mOverlayFont; // "Tahoma" 8 of the system-font hook, made on first use
    SystemFontHook mSystemFontHook = nullptr;
    ScreenSaverFilter mScreenSaverFilter;
    std::unique_ptr<AppDemoDialogs> mDemoDialogs;
    AppModalClient* mModalClient = nullptr; // the modal UI that RunModal runs, while it runs
    FrameRateCounter mFrameRate;
    uint32_t mDemoTimeDrawn = 0;
    std::condition_variable_any mSharedImageLoaded; // a pending shared image became ready
    Platform::Thread mLoadingThread;
    Platform::Thread mCursorThread;

    void CreateWindowClasses();
    void CreateInvisibleWindow();
    void CreateSoundObjects();
    bool CheckBackends();
    void ReportNoDisplay();
    void TellInstanceDecision(bool handingOver);

    std::unique_ptr<Platform::WindowSystem> mWindowSystem;
    std::shared_ptr<Platform::MixerOutput> mAudioOutput; // held from the start-up check on
    std::unique_ptr<SoundLoader> mSoundLoader;
    std::unique_ptr<Platform::SettingsStore> mSettings;
    std::string mSettingsKey; // the registry key mSettings was opened for
    bool mSettingsInjected = false;
};

// The application object; set by its constructor, cleared by its destructor.
extern QuollAppBase* gQuollApp;

// A window as the opaque handle the sound objects keep.
void* WindowHandle(Platform::WindowId window);

// A relative demo or data path: not "X:..." and not starting with a separator.
bool IsRelativeDataPath(const std::string& path);
} // namespace Quoll

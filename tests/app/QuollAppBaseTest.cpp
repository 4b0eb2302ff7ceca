// The application object's start-up on the headless window system: the order of the hooks in
// Init, the window it opens, the single-instance handshake, the fatal path through the
// injectable exit, texts by id, message boxes, and mute and volume bookkeeping.
// Rerun one case: test_app --gtest_filter='QuollAppBase.*'
#include "TestApp.h"

#include "framework/app/ErrorLog.h"
#include "framework/core/Common.h"
#include "framework/display/DDInterface.h"
#include "framework/platform/system/Clock.h"
#include "framework/platform/audio/MixerOutput.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

using namespace Quoll;
using namespace QuollTest;

static_assert(!std::is_copy_constructible_v<QuollAppBase>);
static_assert(!std::is_copy_assignable_v<QuollAppBase>);
static_assert(std::has_virtual_destructor_v<QuollAppBase>);

namespace
{
class HookApp : public TestApp
{
public:
    std::vector<std::string> calls;

    HookApp() { mCommandLineParsed = false; }
    void PreInitHook() override { calls.push_back("PreInitHook"); }
    void ReadSettings() override
    {
        calls.push_back("ReadSettings");
        TestApp::ReadSettings();
    }
    void ParseCommandLine() override
    {
        calls.push_back("ParseCommandLine");
        mCommandLineParsed = true;
    }
    bool ChangeDirectoryHook(const std::string&) override
    {
        calls.push_back("ChangeDirectoryHook");
        return true;
    }
    void PreWindowHook() override { calls.push_back("PreWindowHook"); }
    void CreateMainWindow() override
    {
        calls.push_back("CreateMainWindow");
        TestApp::CreateMainWindow();
    }
    void PreDisplayHook() override { calls.push_back("PreDisplayHook"); }
    void PostDisplayHook() override { calls.push_back("PostDisplayHook"); }
    std::unique_ptr<MusicInterface> CreateMusicInterface(Platform::WindowId window) override
    {
        calls.push_back("CreateMusicInterface");
        return TestApp::CreateMusicInterface(window);
    }
    void PostInitHook() override
    {
        calls.push_back(mInitialized ? "PostInitHook after initialised" : "PostInitHook");
    }
};

// A display that cannot start.
class FailingDisplay final : public AppDisplay
{
public:
    DisplayResult Init(Platform::WindowId, bool) override { return DisplayResult::Failed; }
    bool IsWindowed() const override { return true; }
    int GetWidth() const override { return 0; }
    int GetHeight() const override { return 0; }
    int GetRefreshRate() const override { return 60; }
    Image* GetScreenImage() override { return nullptr; }
    bool Is3D() const override { return false; }
    void Set3D(bool) override {}
    std::string GetErrorText() const override { return "no clipper"; }
    void FlipToDesktopSurface() override {}
    void RestoreDesktopMode() override {}
    CriticalSection& GetLock() override { return mLock; }

private:
    CriticalSection mLock;
};

class FailingDisplayApp : public TestApp
{
protected:
    std::unique_ptr<AppDisplay> CreateDisplay() override { return std::make_unique<FailingDisplay>(); }
};
} // namespace

TEST(QuollAppBase, ProgramPointerLivesWithTheObject)
{
    {
        TestApp app;
        EXPECT_EQ(gQuollApp, &app);
        EXPECT_EQ(GetImageRegistry(), &app);
        EXPECT_EQ(app.mDemoFileName, "quollapp.dmo"); // relative until Init knows the data folder
        EXPECT_FALSE(app.mInitialized);
    }
    EXPECT_EQ(gQuollApp, nullptr);
}

TEST(QuollAppBase, InitRunsHooksInOrderAndOpensTheWindows)
{
    HookApp app;
    app.mWidth = 800;
    app.mHeight = 600;
    app.Init();

    const std::vector<std::string> expected = {
        "PreInitHook",     "ReadSettings",   "ParseCommandLine", "ChangeDirectoryHook",
        "PreWindowHook",   "CreateMainWindow", "PreDisplayHook", "PostDisplayHook",
        "CreateMusicInterface", "PostInitHook"};
    EXPECT_EQ(app.calls, expected);
    EXPECT_TRUE(app.mInitialized);

    Platform::HeadlessWindowSystem& system = app.Headless();
    ASSERT_TRUE(system.IsWindow(app.mMainWindow));
    ASSERT_TRUE(system.IsWindow(app.mInvisWindow));
    EXPECT_EQ(system.GetWindowUserData(app.mMainWindow), &app);
    // Centred horizontally in the work area, 0.382 of the spare height above.
    Platform::WindowRect rect;
    ASSERT_TRUE(system.GetWindowRect(app.mMainWindow, rect));
    const Platform::WindowRect work = system.GetWorkArea();
    EXPECT_EQ(rect.Width(), 800);
    EXPECT_EQ(rect.left, work.left + (work.Width() - 800) / 2);
    EXPECT_EQ(rect.top, work.top + int((work.Height() - 600) * 0.382));
    EXPECT_TRUE(app.mIsPhysWindowed);
    EXPECT_NE(app.mNotifyMessage, 0u);
    EXPECT_FALSE(GetAppDataFolder().empty());
    EXPECT_NE(GetAppDataFolder().find("Nordwick"), std::string::npos);
}

TEST(QuollAppBase, WindowAsLargeAsTheScreenStartsForcedFullScreen)
{
    TestApp app;
    const Platform::ScreenInfo screen = app.Headless().GetScreenInfo();
    app.mWidth = screen.width;
    app.mHeight = 600;
    app.Init();
    EXPECT_FALSE(app.mIsWindowed);
    EXPECT_TRUE(app.mForceFullScreen);
    EXPECT_FALSE(app.mIsPhysWindowed);
}

TEST(QuollAppBase, RelativeDemoFileGetsTheDataFolder)
{
    EXPECT_TRUE(IsRelativeDataPath("quollapp.dmo"));
    EXPECT_TRUE(IsRelativeDataPath("x"));
    EXPECT_FALSE(IsRelativeDataPath("C:demo.dmo"));
    EXPECT_FALSE(IsRelativeDataPath("\\demos\\a.dmo"));
    EXPECT_FALSE(IsRelativeDataPath("/tmp/a.dmo"));

    TestApp app;
    app.Init();
    EXPECT_EQ(app.mDemoFileName, GetAppDataFolder() + "quollapp.dmo");
}

TEST(QuollAppBase, SecondInstanceNotifiesTheFirstAndExitsWithZero)
{
    ScopedThrowingExit exit;
    const std::string product = UniqueProductName();
    TestApp first(product);
    first.Init();
    Platform::HeadlessWindowSystem& system = first.Headless();
    system.ShowWindow(first.mMainWindow, Platform::SW_MINIMIZE);
    first.UpdateAppStep(nullptr); // the window system applies it with the next messages
    ASSERT_TRUE(system.IsIconic(first.mMainWindow));

    {
        TestApp second(product);
        try
        {
            second.Init();
            FAIL() << "the second copy went on";
        }
        catch (const ExitCalled& called)
        {
            EXPECT_EQ(called.code, 0);
        }
        EXPECT_FALSE(second.mInitialized);
    }
    gQuollApp = &first;

    // The notify arrives on the first copy's listener thread and is posted to its windows.
    for (int i = 0; i < 200 && system.IsIconic(first.mMainWindow); ++i)
    {
        first.UpdateAppStep(nullptr);
        Platform::SleepMilliseconds(5);
    }
    EXPECT_FALSE(system.IsIconic(first.mMainWindow));
}

TEST(QuollAppBase, DisplayThatCannotStartShowsTheFatalPopupAndExitsWithOne)
{
    ScopedThrowingExit exit;
    FailingDisplayApp app;
    try
    {
        app.Init();
        FAIL() << "start-up went on";
    }
    catch (const ExitCalled& called)
    {
        EXPECT_EQ(called.code, 1);
    }
    const auto& boxes = app.Headless().MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "FATAL ERROR");
    EXPECT_EQ(boxes[0].text, "Failed to initialize DirectDraw: RESULT_FAIL no clipper");
    EXPECT_EQ(boxes[0].flags & Platform::MB_ICONMASK, Platform::MB_ICONERROR);
}

TEST(QuollAppBase, StringsHaveDefaultsAndOverrides)
{
    TestApp app;
    EXPECT_EQ(app.GetString("DIALOG_BUTTON_OK", L"x"), L"OK");
    EXPECT_EQ(app.GetString("DIALOG_BUTTON_CANCEL", L"x"), L"CANCEL");
    EXPECT_EQ(app.GetString("NEW_VERSION_BODY", L"x"),
              L"There is an update available for this product.  Would you like to visit the web site to "
              L"download it?");
    EXPECT_EQ(app.GetString("FATAL_ERROR", L"FATAL ERROR"), L"FATAL ERROR");
    app.SetString("FATAL_ERROR", L"SCHWERER FEHLER");
    app.SetString("DIALOG_BUTTON_OK", L"Ja");
    EXPECT_EQ(app.GetString("FATAL_ERROR", L"FATAL ERROR"), L"SCHWERER FEHLER");
    EXPECT_EQ(app.GetString("DIALOG_BUTTON_OK", L"x"), L"Ja");

    // The popup's title goes through the same table.
    app.Init();
    app.PopupA("disk on fire");
    const auto& boxes = app.Headless().MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "SCHWERER FEHLER");
    EXPECT_EQ(boxes[0].text, "disk on fire");
}

TEST(QuollAppBase, MessageBoxReturnsTheAnswerAndForgetsHeldInput)
{
    TestApp app;
    app.Init();
    app.mWidgetManager->KeyDown('A');
    app.mCtrlDown = true;
    app.mUpdateAccumulator = 150.0;
    app.Headless().QueueMessageBoxAnswer(Platform::IDNO);
    EXPECT_EQ(app.MsgBoxA("Keep it?", "Question", Platform::MB_YESNO), Platform::IDNO);
    EXPECT_FALSE(app.mWidgetManager->IsKeyDown('A'));
    EXPECT_FALSE(app.mCtrlDown);
    EXPECT_EQ(app.mUpdateAccumulator, 0.0);
    EXPECT_FALSE(app.mInPopup);
}

// The application's own display with the null device, so desktop flips can be counted.
class NullDisplayApp : public TestApp
{
public:
    std::unique_ptr<AppDisplay> CreateDisplay() override { return std::make_unique<NullDisplay>(mWidth, mHeight); }
};

// The program's log hears of it once, as a warning with the device's reason. In a process of its
// own: the audio output is shared with whatever ran before in this one.
TEST(QuollAppBase, NoSoundDeviceRunsSilentlyInsteadOfExiting)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ErrorLog::Program().SetSink([](ErrorLogLevel level, const std::string& text) {
                std::fprintf(stderr, "sink %s: %s\n", level == ErrorLogLevel::Warning ? "warning" : "error",
                             text.c_str());
            });
            ::setenv("QUOLL_AUDIO", "no-such-device", 1);
            bool silent = false;
            {
                TestApp app;
                app.Init();
                const auto output = Platform::MixerOutput::Acquire(); // the one the application holds
                silent = app.mInitialized && output != nullptr && !output->IsRealTime();
            }
            std::exit(silent ? 0 : 1);
        },
        ::testing::ExitedWithCode(0),
        "^sink warning: Audio: no sound device could be opened; the game runs without sound \\(no audio back "
        "end named \"no-such-device\"\\)\n$");
}

// Every start that ends after an error box ends with 1; only a second copy's hand-over is a
// success (above).
TEST(QuollAppBase, FailedStartsExitWithOne)
{
    ScopedThrowingExit exit;
    auto exitCodeOf = [](const std::function<void()>& start) {
        try
        {
            start();
        }
        catch (const ExitCalled& called)
        {
            return called.code;
        }
        return -1;
    };
    {
        TestApp app;
        app.mPlayingDemo = true;
        app.mDemoFileName = (std::filesystem::path(QUOLL_TEST_HOME) / "no-such-demo.dmo").string();
        EXPECT_EQ(exitCodeOf([&] { app.Init(); }), 1) << "a demo that cannot be read";
        ASSERT_FALSE(app.Headless().MessageBoxes().empty());
        EXPECT_EQ(app.Headless().MessageBoxes().back().caption, "FATAL ERROR");
        EXPECT_EQ(app.Headless().MessageBoxes().back().text.rfind("Demo file not found: ", 0), 0u);
    }
    {
        TestApp app;
        app.Init();
        EXPECT_EQ(exitCodeOf([&] { app.ShowResourceError(true); }), 1) << "a resource group that cannot load";
    }
    {
        ::setenv("QUOLL_PLATFORM", "no-such-window-system", 1);
        TestApp app;
        app.SetWindowSystem(nullptr);
        EXPECT_EQ(exitCodeOf([&] { app.Init(); }), 1) << "no window system";
        ::setenv("QUOLL_PLATFORM", "headless", 1);
    }
}

TEST(QuollAppBase, DefaultDisplayIsTheDirectDrawDisplayOverTheWindow)
{
    TestApp app;
    app.mWidth = 320;
    app.mHeight = 240;
    app.mBitsPerPixel = 32;
    app.Init();
    ASSERT_NE(dynamic_cast<DDInterface*>(app.mDisplay.get()), nullptr);
    ASSERT_NE(app.mDisplay->GetScreenImage(), nullptr);
    EXPECT_EQ(app.mDisplay->GetWidth(), 320);
    EXPECT_EQ(app.mDisplay->GetHeight(), 240);
    EXPECT_EQ(app.GetDisplayOptions().colorDepth, 32);
    EXPECT_EQ(app.GetDisplayWindowSystem(), app.GetWindowSystem());
}

TEST(QuollAppBase, PopupWhileShuttingDownShowsNothingButStillFlipsInFullScreen)
{
    NullDisplayApp app;
    app.mIsWindowed = false;
    app.Init();
    auto* display = dynamic_cast<NullDisplay*>(app.mDisplay.get());
    ASSERT_NE(display, nullptr);
    app.mShutdown = true;
    app.PopupA("late");
    EXPECT_TRUE(app.Headless().MessageBoxes().empty());
    EXPECT_EQ(display->DesktopFlips(), 1);
    EXPECT_FALSE(app.mInPopup);
    EXPECT_FALSE(app.mInputIgnored);
}

TEST(QuollAppBase, MuteCountsAndVolumes)
{
    TestApp app;
    app.mMuteOnLostFocus = false; // the window is not active before Start shows it
    app.Init();
    app.SetMusicVolume(0.5);
    app.Mute(true);
    app.Mute(false);
    EXPECT_TRUE(app.IsMuted());
    EXPECT_EQ(app.mMuteCount, 2);
    EXPECT_EQ(app.mAutoMuteCount, 1);
    EXPECT_DOUBLE_EQ(app.GetMusicVolume(), 0.5); // the stored volume survives muting
    app.Unmute(true);
    app.Unmute(true);
    app.Unmute(false);
    EXPECT_FALSE(app.IsMuted());
    EXPECT_EQ(app.mMuteCount, 0);
    EXPECT_EQ(app.mAutoMuteCount, 0);
}

TEST(QuollAppBase, CloseMessageEndsTheRunAndWritesTheSettings)
{
    TestApp app;
    app.Init();
    app.mMusicVolume = 0.42;
    app.Headless().PostMessage(app.mMainWindow, Platform::WM_CLOSE, 0, 0);
    app.Start();
    EXPECT_TRUE(app.mShutdown);
    EXPECT_EQ(app.Store().GetInt32("SOFTWARE\\Nordwick\\QuollTest", "MusicVolume"), 42);
    EXPECT_EQ(app.Store().GetInt32("SOFTWARE\\Nordwick\\QuollTest", "InProgress"), 0);
}

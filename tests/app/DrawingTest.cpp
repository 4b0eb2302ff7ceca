// Drawing passes on the fake clock: the frame-rate measurement, recovery of a display whose
// presenting fails, the spacing of draws while the loading thread runs, a demo that
// fast-forwards (updates back to back, one draw a wall second, muted until the target), the
// pause while the desktop's screen saver runs over a windowed game, and the frame drawn at once
// when the user moves the window.
// Rerun one case: test_app --gtest_filter='Drawing.*:FrameRateCounter.*'
#include "AppTestDoubles.h"

#include "framework/app/FrameRateCounter.h"
#include "framework/platform/system/Clock.h"
#include "framework/platform/window/headless/HeadlessWindowSystem.h"

#include <gtest/gtest.h>

using namespace Quoll;
using namespace QuollTest;

TEST(FrameRateCounter, NinetyFramesOverOneAndAHalfSecondsAreSixty)
{
    FrameRateCounter counter;
    EXPECT_TRUE(counter.Frame(5000));
    EXPECT_EQ(counter.Rate(), 0) << "a reset shows 0";
    for (int frame = 1; frame < 90; ++frame)
        EXPECT_FALSE(counter.Frame(5000 + uint32_t(frame)));
    EXPECT_TRUE(counter.Frame(6500));
    EXPECT_EQ(counter.Rate(), 60);
    counter.Reset();
    EXPECT_TRUE(counter.Frame(6501));
    EXPECT_EQ(counter.Rate(), 0);
}

namespace
{
class FlakyDisplay final : public NullDisplay
{
public:
    FlakyDisplay() : NullDisplay(640, 480) {}
    DisplayResult Init(Platform::WindowId window, bool windowed) override
    {
        ++inits;
        return NullDisplay::Init(window, windowed);
    }
    bool Redraw(const Rect*) override
    {
        ++presents;
        return presentWorks;
    }

    int inits = 0, presents = 0;
    bool presentWorks = true;
};

class DrawApp : public RecordingApp
{
public:
    DrawApp()
    {
        mMuteOnLostFocus = false; // only the fast-forward mutes here
    }
    std::unique_ptr<AppDisplay> CreateDisplay() override
    {
        auto created = std::make_unique<FlakyDisplay>();
        display = created.get();
        return created;
    }
    void UpdateFrame() override
    {
        TestApp::UpdateFrame();
        if (updateTakesMs != 0)
            Platform::CurrentClock().Sleep(updateTakesMs);
        if (mUpdateCount == 3000)
            mutedMidway = IsMuted();
    }

    FlakyDisplay* display = nullptr;
    uint32_t updateTakesMs = 0;
    bool mutedMidway = false;
};

using Drawing = StartedOnFakeClock<DrawApp>;
} // namespace

TEST_F(Drawing, ALostDisplayInAnInactiveWindowIsRestartedAtMostOnceASecond)
{
    app.mActive = false;
    app.display->presentWorks = false;
    app.widgets->dirty = true;
    const int initsBefore = app.display->inits;
    for (int pass = 0; pass < 30; ++pass)
    {
        app.DrawDirty();
        clock.AdvanceMilliseconds(100);
    }
    EXPECT_TRUE(app.mDisplayLost);
    EXPECT_NEAR(app.display->inits - initsBefore, 3, 1);

    app.display->presentWorks = true;
    app.DrawDirty();
    EXPECT_FALSE(app.mDisplayLost);
    EXPECT_TRUE(app.DrawDirty());
}

TEST_F(Drawing, WhileLoadingDrawsAreSpacedByFiftyMilliseconds)
{
    app.widgets->dirty = true;
    app.mLoadingThreadRunning = true;
    app.RunFor(1000);
    EXPECT_GE(app.mDrawCount.load(), 15);
    EXPECT_LE(app.mDrawCount.load(), 21);
    EXPECT_EQ(app.mDrawCount.load(), app.display->presents) << "nothing is drawn that is not shown";
}

TEST_F(Drawing, DemoFastForwardRunsUpdatesBackToBackMutedAndDrawsOnceASecond)
{
    app.mPlayingDemo = true;
    app.mDemo.WriteRecord(DemoKind::MouseEnter, 7000); // the demo's next input lies far ahead
    app.mFastForwardTarget = 6000;
    app.updateTakesMs = 1; // six wall seconds of updates
    app.widgets->dirty = true;
    const uint64_t sleepsBefore = clock.SleepCount();
    while (app.mUpdateCount < 6000)
        app.UpdateAppStep(nullptr);
    EXPECT_EQ(clock.SleepCount() - sleepsBefore, 6000u) << "only the updates' own time passed";
    EXPECT_TRUE(app.mutedMidway);
    EXPECT_NEAR(app.mDrawCount.load(), 6, 1);
    app.UpdateAppStep(nullptr);
    app.UpdateAppStep(nullptr);
    EXPECT_FALSE(app.IsMuted());
}

namespace
{
// The desktop's screen saver starts after a minute without input; the last input was now.
Platform::HeadlessWindowSystem::ScreenSaver MinuteSaver()
{
    Platform::HeadlessWindowSystem::ScreenSaver saver;
    saver.settings = {60'000, true};
    saver.lastInputTick = Platform::TickCount();
    return saver;
}
} // namespace

TEST_F(Drawing, TheDesktopScreenSaverPausesAWindowedGameUntilItStopsAndInputReturns)
{
    Platform::HeadlessWindowSystem& desktop = app.Headless();
    Platform::HeadlessWindowSystem::ScreenSaver saver = MinuteSaver();
    desktop.SetScreenSaver(saver);
    app.mLoadingCompletionPickedUp = true; // the game lets the screen saver start
    app.widgets->dirty = true;
    EXPECT_TRUE(app.DrawDirty());
    EXPECT_TRUE(app.TryUpdateFrame());

    // A minute and more without input: the pause starts, nothing is updated or drawn.
    clock.AdvanceMilliseconds(61'000);
    const int presents = app.display->presents;
    const int updates = app.mUpdateCount;
    EXPECT_FALSE(app.DrawDirty());
    ASSERT_TRUE(app.mSystemScreenSaver.IsPaused());
    EXPECT_FALSE(app.TryUpdateFrame());
    app.Redraw(nullptr);
    app.RunFor(5000);
    EXPECT_EQ(app.display->presents, presents);
    EXPECT_EQ(app.mUpdateCount, updates);

    // Input while the screen saver still runs keeps the pause.
    saver.running = true;
    saver.lastInputTick = Platform::TickCount();
    desktop.SetScreenSaver(saver);
    clock.AdvanceMilliseconds(1000);
    EXPECT_FALSE(app.DrawDirty());
    EXPECT_TRUE(app.mSystemScreenSaver.IsPaused());
    EXPECT_EQ(app.mLastUserInputTick, saver.lastInputTick) << "the desktop's last input is the game's";

    // It stopped: the game goes on and draws everything again.
    saver.running = false;
    desktop.SetScreenSaver(saver);
    clock.AdvanceMilliseconds(1000);
    const int marked = app.widgets->markedAllDirty;
    EXPECT_TRUE(app.DrawDirty());
    EXPECT_FALSE(app.mSystemScreenSaver.IsPaused());
    EXPECT_EQ(app.widgets->markedAllDirty, marked + 1);
    EXPECT_TRUE(app.TryUpdateFrame());
}

TEST_F(Drawing, NoScreenSaverPauseWithoutAnAnswerInFullScreenOrAsAScreenSaver)
{
    app.widgets->dirty = true;
    clock.AdvanceMilliseconds(3'600'000); // the desktop cannot answer: an hour idle is nothing
    EXPECT_TRUE(app.DrawDirty());

    app.Headless().SetScreenSaver(MinuteSaver());
    app.mIsScreenSaver = true;
    clock.AdvanceMilliseconds(61'000);
    EXPECT_TRUE(app.DrawDirty());
    app.mIsScreenSaver = false;

    // Paused in a window, then full screen: the pause ends there.
    clock.AdvanceMilliseconds(1000);
    EXPECT_FALSE(app.DrawDirty());
    ASSERT_TRUE(app.mSystemScreenSaver.IsPaused());
    app.mIsPhysWindowed = false;
    EXPECT_TRUE(app.DrawDirty());
    EXPECT_FALSE(app.mSystemScreenSaver.IsPaused());

    // A screen saver switched off ends a pause at the next reading of the settings.
    app.mIsPhysWindowed = true;
    clock.AdvanceMilliseconds(SystemScreenSaverCheck::kSettingsInterval);
    EXPECT_FALSE(app.DrawDirty());
    Platform::HeadlessWindowSystem::ScreenSaver off = *app.Headless().GetScreenSaver();
    off.settings.active = false;
    app.Headless().SetScreenSaver(off);
    clock.AdvanceMilliseconds(SystemScreenSaverCheck::kSettingsInterval);
    EXPECT_TRUE(app.DrawDirty());
}

TEST_F(Drawing, MovingTheWindowDrawsAFrameAtOnce)
{
    app.widgets->dirty = true;
    EXPECT_TRUE(app.DrawDirty());
    const int presents = app.display->presents;
    Platform::InputEvent moved;
    moved.kind = Platform::InputKind::Moved;
    moved.window = app.mMainWindow;
    moved.x = 123;
    moved.y = 45;
    app.Headless().Feed(moved);
    Platform::Message message;
    while (app.Headless().PeekMessage(message))
        app.Headless().DispatchMessage(message);
    EXPECT_EQ(app.display->presents, presents + 1);
    EXPECT_FALSE(app.mPaused);
}

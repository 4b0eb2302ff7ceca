// The main loop on the fake clock: the 200 ms cap of the update accumulator, catching up, a
// present at least once a second, sleeping to the next update, the speed factor (fast, stopped
// and very slow), and a pass that may not sleep.
// Rerun one case: test_app --gtest_filter='MainLoop.*'
#include "AppTestDoubles.h"

#include "framework/platform/system/Clock.h"

#include <gtest/gtest.h>

using namespace Quoll;
using namespace QuollTest;

namespace
{
using MainLoop = StartedOnFakeClock<RecordingApp>;
} // namespace

TEST_F(MainLoop, AFiveSecondStallRunsAtMostTwentyUpdates)
{
    clock.AdvanceMilliseconds(5000);
    while (app.mSleepCount == 0)
        app.UpdateAppStep(nullptr);
    EXPECT_EQ(app.mUpdateCount, 20);
}

TEST_F(MainLoop, UpdatesKeepPaceWithTheClockAtOneHundredASecond)
{
    app.RunFor(1000);
    EXPECT_NEAR(app.mUpdateCount, 100, 1);
}

TEST_F(MainLoop, IdleLoopSleepsToTheNextUpdateAndPresentsOnceASecond)
{
    app.RunFor(3000);
    EXPECT_GE(app.mSleepCount, 290) << "one sleep per update when nothing is drawn";
    EXPECT_NEAR(app.mDrawCount.load(), 3, 1);
    EXPECT_EQ(app.mPresentCount, app.mDrawCount.load());
}

TEST_F(MainLoop, DirtyWidgetsAreDrawnAfterEveryUpdate)
{
    app.widgets->dirty = true;
    app.RunFor(1000);
    EXPECT_NEAR(app.mDrawCount.load(), app.mUpdateCount, 1);
}

TEST_F(MainLoop, OnePassSleepsTheTimeToTheNextUpdate)
{
    app.mUpdateAppState = 1;
    app.mHasPendingDraw = false;
    app.mUpdateAccumulator = 3.0;
    const uint64_t slept = clock.SleptMilliseconds();
    EXPECT_TRUE(app.Process(true));
    EXPECT_EQ(app.mSleepCount, 1);
    EXPECT_EQ(clock.SleptMilliseconds() - slept, 7u);
}

TEST_F(MainLoop, APassThatMayNotSleepReturnsFalseAndCountsNothing)
{
    app.mUpdateAppState = 1;
    app.mHasPendingDraw = false;
    app.mUpdateAccumulator = 3.0;
    const uint32_t before = Platform::TickCount();
    EXPECT_FALSE(app.Process(false));
    EXPECT_EQ(app.mSleepCount, 0);
    EXPECT_EQ(app.mUpdateCount, 0);
    EXPECT_EQ(Platform::TickCount(), before);
}

TEST_F(MainLoop, SpeedFactorScalesTheUpdateRate)
{
    app.mSpeedFactor = 2.0;
    app.RunFor(1000);
    EXPECT_NEAR(app.mUpdateCount, 200, 2);
}

TEST_F(MainLoop, SpeedZeroOnlyPumpsMessages)
{
    app.mSpeedFactor = 0.0;
    for (int i = 0; i < 100; ++i)
    {
        clock.AdvanceMilliseconds(10);
        app.UpdateAppStep(nullptr);
    }
    EXPECT_EQ(app.mUpdateCount, 0);
    app.GetWindowSystem()->PostMessage(app.mMainWindow, Platform::WM_CLOSE, 0, 0);
    app.UpdateAppStep(nullptr);
    app.UpdateAppStep(nullptr);
    EXPECT_TRUE(app.mShutdown);
}

TEST_F(MainLoop, AVerySlowSpeedStillUpdates)
{
    app.mSpeedFactor = 0.05; // one update per 200 ms
    app.RunFor(2000);
    EXPECT_NEAR(app.mUpdateCount, 10, 1);
    app.mSpeedFactor = 0.04; // a step longer than the accumulator's usual cap
    const int before = app.mUpdateCount;
    app.RunFor(2000);
    EXPECT_NEAR(app.mUpdateCount - before, 8, 1);
}

TEST_F(MainLoop, UpdateAppReturnsAfterOneUpdateAndFalseForANestedLoopsExit)
{
    clock.AdvanceMilliseconds(10);
    EXPECT_TRUE(app.UpdateApp());
    EXPECT_EQ(app.mUpdateCount, 1);
    app.mExitNestedLoop = true;
    EXPECT_FALSE(app.UpdateApp());
}

TEST(MainLoopClock, DrawsWhenTheTickCounterIsPastHalfItsRange)
{
    Platform::FakeClock clock{3'000'000'000ull * 1'000'000}; // 3e9 ms: negative as a signed tick
    Platform::ScopedClock scoped{clock};
    ScopedThrowingExit exits;
    RecordingApp app;
    app.Init();
    app.widgets->dirty = true;
    app.ResetFrameTiming();
    app.RunFor(100);
    EXPECT_GE(app.mDrawCount.load(), 9);
}

TEST_F(MainLoop, DebugSingleStepRunsOneUpdateAndDrawThenHolds)
{
    app.mUpdateAppState = 1;
    app.mDebugStepMode = 1;
    app.UpdateAppStep(nullptr);
    EXPECT_EQ(app.mUpdateCount, 1);
    EXPECT_EQ(app.mDrawCount.load(), 1);
    EXPECT_EQ(app.mDebugStepMode, 2);
    app.RunFor(500);
    EXPECT_EQ(app.mUpdateCount, 1) << "held until the debug keys leave the mode";
}

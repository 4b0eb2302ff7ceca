// Drawing passes on the fake clock: the frame-rate measurement, recovery of a display whose
// presenting fails, the spacing of draws while the loading thread runs, and a demo that
// fast-forwards: updates back to back, one draw a wall second, muted until the target.
// Rerun one case: test_app --gtest_filter='Drawing.*:FrameRateCounter.*'
#include "AppTestDoubles.h"

#include "framework/app/FrameRateCounter.h"
#include "framework/platform/system/Clock.h"

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

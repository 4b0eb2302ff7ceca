// The jump-to-time dialog in a real replay: a recorded session of two minutes is played back at
// normal speed on the fake clock; the script types 'j', "1:30" and Return into the widget-made
// dialog, playback runs fast to 91 seconds before the end, and every update's evidence equals a
// replay run straight through at full speed.
// Rerun: test_widgets --gtest_filter='DemoJumpReplay.*'
#include "tests/app/ReplayHarness.h"
#include "WidgetTestSupport.h"

#include "framework/platform/system/Clock.h"
#include "framework/widgets/DemoDialogs.h"

#include <gtest/gtest.h>

using namespace Quoll;
using namespace QuollTest;

namespace
{
constexpr const char* kSession = "at 100\nkey A\nat 60000\nkey B\nat 120000\nclose\n";
constexpr const char* kJump = "at 2000\ntext j\nat 2500\ntext 1:30\nkey Return\n";
} // namespace

TEST(DemoJumpReplay, JumpingToATimeReplaysTheSameUpdates)
{
    ScratchFolder folder("jump");
    const std::string demo = (folder / "jump.dmo").string();
    const std::string data = (folder / "none.dat").string();
    {
        Platform::FakeClock clock(1'000'000'000);
        Platform::ScopedClock scoped(clock);
        ReplayTestApp app(demo, false, data);
        app.mWatchdogMilliseconds = 200000;
        const ReplayEvidence recorded = app.Run(kSession);
        app.WriteDemoFile();
        ASSERT_GT(recorded.updates, 11000) << (recorded.events.empty() ? "" : recorded.events.back());
    }
    ReplayEvidence straight;
    {
        Platform::FakeClock clock(5'000'000'000);
        Platform::ScopedClock scoped(clock);
        ReplayTestApp app(demo, true, data);
        app.mWatchdogMilliseconds = 200000;
        straight = app.Run({});
    }
    ASSERT_GT(straight.updates, 11000);

    Platform::FakeClock clock(9'000'000'000);
    Platform::ScopedClock scoped(clock);
    FakeFont font;
    ReplayTestApp app(demo, true, data);
    app.mFullSpeedReplay = false;
    app.mWatchdogMilliseconds = 200000;
    app.SetDemoDialogs(std::make_unique<DemoDialogs>(app, &font));
    const uint32_t start = clock.TickCount();
    const ReplayEvidence jumped = app.Run(kJump);
    EXPECT_EQ(app.mFastForwardTarget, app.mDemo.mLength - 9100);
    EXPECT_EQ(FirstDifference(straight, jumped), "");
    // Played at normal speed from the jump's target on: about 91 s of the clock, not 120.
    EXPECT_LT(clock.TickCount() - start, 100000u);
}

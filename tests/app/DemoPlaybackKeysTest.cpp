// The keys of demo playback: speed steps, fast-forward targets before the end of the demo,
// single steps, pause, and the requests left to the application.
// Rerun one case: test_app --gtest_filter='DemoPlaybackKeys.*'
#include "framework/demo/DemoPlaybackKeys.h"

#include <gtest/gtest.h>

using namespace Quoll;

TEST(DemoPlaybackKeys, SpeedStepsAndReset)
{
    DemoPlaybackControl control;
    EXPECT_EQ(HandleDemoPlaybackKey(U'+', control, 0, 1000, 10), DemoKeyAction::Handled);
    EXPECT_DOUBLE_EQ(control.speedFactor, 1.5);
    HandleDemoPlaybackKey(U'-', control, 0, 1000, 10);
    HandleDemoPlaybackKey(U'-', control, 0, 1000, 10);
    EXPECT_DOUBLE_EQ(control.speedFactor, 1.0 / 1.5);
    HandleDemoPlaybackKey(U'=', control, 0, 1000, 10);
    EXPECT_DOUBLE_EQ(control.speedFactor, 1.0);
}

TEST(DemoPlaybackKeys, FastForwardTargetsCountBackFromTheEnd)
{
    DemoPlaybackControl control;
    const int length = 50000; // 500 s at 10 ms
    const std::pair<char32_t, int> cases[] = {{U'0', 50000}, {U'4', 38000}, {U'5', 41000}, {U'6', 44000},
                                              {U'7', 47000}, {U'8', 49000}, {U'9', 49500}};
    for (const auto& [key, target] : cases)
    {
        EXPECT_EQ(HandleDemoPlaybackKey(key, control, 100, length, 10), DemoKeyAction::Handled);
        EXPECT_EQ(control.fastForwardTarget, target) << char(key);
    }
    HandleDemoPlaybackKey(U'N', control, 100, length, 10);
    EXPECT_EQ(control.fastForwardTarget, 101);
    EXPECT_TRUE(control.fastForwardStep);
    HandleDemoPlaybackKey(U'm', control, 100, length, 10);
    EXPECT_TRUE(control.fastForwardToEnd);
}

TEST(DemoPlaybackKeys, PauseAndTheApplicationsOwnRequests)
{
    DemoPlaybackControl control;
    EXPECT_EQ(HandleDemoPlaybackKey(U'p', control, 0, 0, 10), DemoKeyAction::PauseToggled);
    EXPECT_TRUE(control.paused);
    EXPECT_EQ(HandleDemoPlaybackKey(U'P', control, 0, 0, 10), DemoKeyAction::PauseToggled);
    EXPECT_FALSE(control.paused);
    EXPECT_EQ(HandleDemoPlaybackKey(U'j', control, 0, 0, 10), DemoKeyAction::JumpToTime);
    EXPECT_EQ(HandleDemoPlaybackKey(U'L', control, 0, 0, 10), DemoKeyAction::MarkerList);
    EXPECT_EQ(HandleDemoPlaybackKey(U's', control, 0, 0, 10), DemoKeyAction::ToggleSound);
    EXPECT_EQ(HandleDemoPlaybackKey(U'x', control, 0, 0, 10), DemoKeyAction::None);
    EXPECT_EQ(HandleDemoPlaybackKey(U'3', control, 0, 0, 10), DemoKeyAction::None);
}

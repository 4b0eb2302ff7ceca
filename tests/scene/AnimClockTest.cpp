// The animation clock: milliseconds from float steps (the 9 ms of a 0.01 s step), stopping at
// its length, where it rests after one or more passes, seeking, and what an unbound or empty
// animation reports. Also the saturating conversions the scene uses wherever it truncates.
// Rerun one case: test_scene --gtest_filter='AnimClock*.Name'.
#include "game/scene/AnimClock.h"
#include "game/scene/FrameAnimation.h"
#include "game/scene/Truncate.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
// Four steps of 100 ms: 400 ms a pass.
FrameAnimation FourSteps()
{
    FrameAnimation animation;
    animation.Init(100, 4, false);
    return animation;
}
} // namespace

TEST(AnimClock, AHundredthOfASecondAsAFloatAdvancesNineMilliseconds)
{
    const FrameAnimation animation = FourSteps();
    AnimClock clock;
    clock.SetAnimation(&animation);
    clock.Play(-1);
    clock.Update(0.01f);
    EXPECT_EQ(clock.GetElapsed(), 9u);
    clock.Update(0.0105f);
    EXPECT_EQ(clock.GetElapsed(), 19u);
    // 2 x 0.0105f rounds to 0.020999999f: 20 ms, not 21.
    clock.mSpeed = 2.0f;
    clock.Update(0.0105f);
    EXPECT_EQ(clock.GetElapsed(), 39u);
}

TEST(AnimClock, PlayingLoopsStopsAtTheLengthAndKeepsIt)
{
    const FrameAnimation animation = FourSteps();
    AnimClock clock;
    clock.SetAnimation(&animation);
    clock.Play(3);
    EXPECT_EQ(clock.GetLength(), 1200u);
    for (int i = 0; i < 130; ++i)
        clock.Update(0.0105f);
    EXPECT_FALSE(clock.IsPlaying());
    EXPECT_EQ(clock.GetElapsed(), 1200u);
    EXPECT_FLOAT_EQ(clock.GetProgress(), 1.0f);
    clock.Update(0.0105f);
    EXPECT_EQ(clock.GetElapsed(), 1200u);
}

TEST(AnimClock, OnePassRestsOnTheLastStepTwoPassesOnTheFirst)
{
    const FrameAnimation animation = FourSteps();
    AnimClock once, twice;
    once.SetAnimation(&animation);
    twice.SetAnimation(&animation);
    once.Play(1);
    twice.Play(2);
    for (int i = 0; i < 100; ++i)
    {
        once.Update(0.0105f);
        twice.Update(0.0105f);
    }
    EXPECT_EQ(once.GetFrame(), 3);
    EXPECT_EQ(twice.GetFrame(), 0);
}

TEST(AnimClock, EndlessClocksReportNoProgressAndLoop)
{
    const FrameAnimation animation = FourSteps();
    AnimClock clock;
    clock.SetAnimation(&animation);
    clock.Play(0);
    for (int i = 0; i < 50; ++i)
        clock.Update(0.0105f);
    EXPECT_TRUE(clock.IsPlaying());
    EXPECT_EQ(clock.GetProgress(), 0.0f);
    EXPECT_EQ(clock.GetFrame(), 1); // 500 ms: 100 ms into the second pass
}

TEST(AnimClock, PlayKeepsTheElapsedTimeResetAndRewindDiffer)
{
    const FrameAnimation animation = FourSteps();
    AnimClock clock;
    clock.SetAnimation(&animation);
    clock.SeekFraction(0.5f);
    EXPECT_EQ(clock.GetElapsed(), 200u);
    clock.Play(1);
    EXPECT_EQ(clock.GetElapsed(), 200u);
    EXPECT_FLOAT_EQ(clock.GetProgress(), 0.5f);
    clock.Rewind();
    EXPECT_TRUE(clock.IsPlaying());
    EXPECT_EQ(clock.GetElapsed(), 0u);
    clock.SeekFraction(0.75f);
    clock.Reset();
    EXPECT_FALSE(clock.IsPlaying());
    EXPECT_EQ(clock.GetElapsed(), 0u);
}

TEST(AnimClock, UnboundOrEmptyAnimationsNeverPlay)
{
    AnimClock clock;
    clock.mStaticFrame = 5;
    clock.Play(-1);
    EXPECT_FALSE(clock.IsPlaying());
    EXPECT_EQ(clock.GetFrame(), 5);
    clock.SeekFraction(0.5f);
    EXPECT_EQ(clock.GetElapsed(), 0u);

    const FrameAnimation empty;
    clock.SetAnimation(&empty);
    clock.Play(1);
    EXPECT_FALSE(clock.IsPlaying());
    EXPECT_EQ(clock.GetFrame(), 0);
}

TEST(AnimClock, SeekingSaturatesOddFractions)
{
    const FrameAnimation animation = FourSteps();
    AnimClock clock;
    clock.SetAnimation(&animation);
    clock.SeekFraction(-0.5f);
    EXPECT_EQ(clock.GetElapsed(), 0u);
    clock.SeekFraction(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(clock.GetElapsed(), 0u);
    clock.SeekFraction(1e30f);
    EXPECT_EQ(clock.GetElapsed(), 0xFFFFFFFFu);
}

TEST(Truncate, ConvertsTowardZeroAndSaturates)
{
    EXPECT_EQ(TruncToInt(2.9), 2);
    EXPECT_EQ(TruncToInt(-2.9), -2);
    EXPECT_EQ(TruncToInt(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(TruncToInt(1e20), std::numeric_limits<int>::max());
    EXPECT_EQ(TruncToInt(-std::numeric_limits<double>::infinity()), std::numeric_limits<int>::min());
    EXPECT_EQ(TruncToUnsigned(4294967295.5), 0xFFFFFFFFu);
    EXPECT_EQ(TruncToUnsigned(-1.0), 0u);
    EXPECT_EQ(TruncToUnsigned(7.99), 7u);
}

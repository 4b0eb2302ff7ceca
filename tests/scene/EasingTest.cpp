// Easing curves: every curve's ends, the exact tests of Expo and Elastic, the overshoots, and
// relations that hold between a family's forms by construction of the equations (the out form
// mirrors the in form; the in-out form is the in form at double speed, then the mirrored out
// form), checked at many points as an independent reference. Also Lerp and LerpScalar.
// Rerun one case: test_scene --gtest_filter='Easing*.Name'.
#include "game/scene/Easing.h"
#include "game/scene/Lerp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace
{
struct NamedCurve
{
    const char* name;
    const tween::Easing& curve;
};

const NamedCurve kCurves[] = {
    {"Linear", tween::linear}, {"Sine", tween::sine}, {"Quint", tween::quint},     {"Quart", tween::quart},
    {"Quad", tween::quad},     {"Expo", tween::expo}, {"Elastic", tween::elastic}, {"Cubic", tween::cubic},
    {"Circ", tween::circ},     {"Bounce", tween::bounce}, {"Back", tween::back},
};

// Curves whose out form is the in form turned by a half turn about the middle.
const NamedCurve kMirroredCurves[] = {
    {"Linear", tween::linear}, {"Sine", tween::sine}, {"Quint", tween::quint}, {"Quart", tween::quart},
    {"Quad", tween::quad},     {"Cubic", tween::cubic}, {"Circ", tween::circ}, {"Bounce", tween::bounce},
    {"Back", tween::back},
};
} // namespace

TEST(Easing, EveryFormStartsAtBAndEndsAtBPlusC)
{
    const float b = 3.0f, c = -7.5f, d = 2.0f;
    for (const NamedCurve& e : kCurves)
    {
        EXPECT_EQ(e.curve.EaseIn(0, b, c, d), b) << e.name;
        EXPECT_EQ(e.curve.EaseInOut(0, b, c, d), b) << e.name;
        EXPECT_NEAR(e.curve.EaseIn(d, b, c, d), b + c, 1e-5) << e.name;
        EXPECT_NEAR(e.curve.EaseOut(d, b, c, d), b + c, 1e-5) << e.name;
        EXPECT_NEAR(e.curve.EaseInOut(d, b, c, d), b + c, 1e-5) << e.name;
        if (std::string(e.name) != "Expo")
        {
            EXPECT_NEAR(e.curve.EaseOut(0, b, c, d), b, 1e-5) << e.name;
        }
    }
}

TEST(Easing, ExpoIsExactAtItsTestedEndsAndOffByOneThousandthElsewhere)
{
    EXPECT_EQ(tween::expo.EaseIn(2.0f, 3.0f, 0.1f, 2.0f), 3.0f + 0.1f);
    EXPECT_EQ(tween::expo.EaseOut(2.0f, 3.0f, 0.1f, 2.0f), 3.0f + 0.1f);
    EXPECT_EQ(tween::expo.EaseOut(0.0f, 3.0f, 0.1f, 2.0f), 3.0f);
    EXPECT_NEAR(tween::expo.EaseIn(1e-6f, 0, 1, 1), 0.0009765625, 1e-8);
    EXPECT_NEAR(tween::expo.EaseOut(1.0f - 1e-6f, 0, 1, 1), 1.0 - 0.0009765625, 1e-6);
}

TEST(Easing, BackUndershootsOnTheWayInAndOvershootsOnTheWayOut)
{
    float lowest = 0, lowestAt = 0, highest = 0;
    for (int i = 0; i <= 1000; ++i)
    {
        const float t = static_cast<float>(i) / 1000;
        const float in = tween::back.EaseIn(t, 0, 1, 1);
        if (in < lowest)
        {
            lowest = in;
            lowestAt = t;
        }
        highest = std::max(highest, tween::back.EaseOut(t, 0, 1, 1));
    }
    EXPECT_NEAR(lowest, -0.1, 0.001);
    EXPECT_NEAR(lowestAt, 0.42, 0.01);
    EXPECT_NEAR(highest, 1.1, 0.001);
}

TEST(Easing, ElasticOutAtAQuarterPeriodIsExactlyTheEnd)
{
    EXPECT_NEAR(tween::elastic.EaseOut(0.075f, 0, 1, 1), 1.0f, 1e-6);
    // Its in form at the same phase from the end, and the in-out form's exact ends.
    EXPECT_NEAR(tween::elastic.EaseIn(1.0f - 0.075f, 0, 1, 1), 0.0f, 1e-6);
    EXPECT_EQ(tween::elastic.EaseInOut(2.0f, 1.0f, 4.0f, 2.0f), 5.0f);
}

TEST(Easing, BounceOutFollowsItsHops)
{
    EXPECT_NEAR(tween::bounce.EaseOut(0.5f, 0, 1, 1), 0.765625, 1e-4);
    const double centre = static_cast<double>(0.5f) - static_cast<double>(1.5f / 2.75f);
    EXPECT_NEAR(tween::bounce.EaseOut(0.5f, 0, 1, 1), 7.5625 * centre * centre + 0.75, 1e-6);
    // The hops touch the end value at their boundaries.
    EXPECT_NEAR(tween::bounce.EaseOut(2.0f / 2.75f, 0, 1, 1), 1.0, 1e-5);
    EXPECT_NEAR(tween::bounce.EaseOut(2.5f / 2.75f, 0, 1, 1), 1.0, 1e-5);
}

TEST(Easing, OutFormsMirrorInForms)
{
    const float b = -2.0f, c = 5.0f, d = 1.5f;
    for (const NamedCurve& e : kMirroredCurves)
        for (int i = 0; i <= 60; ++i)
        {
            const float t = d * static_cast<float>(i) / 60;
            const float mirrored = b + c - (e.curve.EaseIn(d - t, b, c, d) - b);
            EXPECT_NEAR(e.curve.EaseOut(t, b, c, d), mirrored, 2e-5) << e.name << " at t = " << t;
        }
}

TEST(Easing, InOutFormsRunTheInFormThenTheOutFormAtDoubleSpeed)
{
    const float b = 1.0f, c = 4.0f, d = 2.0f;
    for (const NamedCurve& e : kCurves)
    {
        const std::string name = e.name;
        // Elastic's in-out form has a longer period and Back's a larger overshoot of their own.
        if (name == "Elastic" || name == "Back")
            continue;
        for (int i = 0; i <= 40; ++i)
        {
            const float t = d * static_cast<float>(i) / 40;
            const float expected = t < d / 2 ? b + e.curve.EaseIn(2 * t, 0, c, d) / 2
                                             : b + c / 2 + e.curve.EaseOut(2 * t - d, 0, c, d) / 2;
            EXPECT_NEAR(e.curve.EaseInOut(t, b, c, d), expected, 2e-5) << name << " at t = " << t;
        }
    }
}

TEST(Lerp, InterpolatesAndExtrapolates)
{
    EXPECT_EQ(LerpScalar(2, 6, 0.25f), 3.0f);
    EXPECT_EQ(Lerp({0, 10}, {10, 0}, 1.5f), (FloatPoint{15, -5}));
    EXPECT_EQ(Lerp({1, 1}, {3, 5}, 0.0f), (FloatPoint{1, 1}));
    EXPECT_EQ(Lerp({1, 1}, {3, 5}, 1.0f), (FloatPoint{3, 5}));
}

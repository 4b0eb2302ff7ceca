// Colour, rectangle, matrix and transform value types: packed colours (alpha 0 meaning opaque),
// rectangle intersection, matrix composition order and the simple/complex transform switch.
// Rerun one case: test_display --gtest_filter='ColorTest.*'
#include "framework/display/Color.h"
#include "framework/display/Rect.h"
#include "framework/display/Transform.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace Quoll;

static_assert(std::is_trivially_copyable_v<Color>);
static_assert(std::is_trivially_copyable_v<Rect>);

TEST(ColorTest, PackedValuesWithAlphaZeroMeanOpaque)
{
    const Color opaque(static_cast<int>(0x00FF8040));
    EXPECT_EQ(opaque, Color(255, 128, 64, 255));
    const Color half(static_cast<int>(0x80FF8040));
    EXPECT_EQ(half, Color(255, 128, 64, 128));
    const Color clear(0xFF8040, 0);
    EXPECT_EQ(clear, Color(255, 128, 64, 0));
    EXPECT_EQ(Color(1, 2, 3).ToInt(), 0xFF010203u);
    EXPECT_TRUE(Color(255, 255, 255).IsWhite());
    EXPECT_FALSE(Color(255, 255, 255, 254).IsWhite());
    EXPECT_TRUE(Color::Black != Color::White);
    EXPECT_EQ(Color(), Color(0, 0, 0, 255));
    EXPECT_EQ(Color::FromRGBTriple({4, 5, 6}), Color(4, 5, 6, 255));
}

TEST(ColorTest, RectIntersectionKeepsZeroWidthAndDropsDisjoint)
{
    EXPECT_EQ(Rect(0, 0, 10, 10).Intersection(Rect(10, 0, 5, 5)), Rect(10, 0, 0, 5));
    EXPECT_EQ(Rect(0, 0, 10, 10).Intersection(Rect(20, 20, 5, 5)), Rect(0, 0, 0, 0));
    EXPECT_EQ(Rect(-5, -5, 10, 10).Intersection(Rect(0, 0, 10, 10)), Rect(0, 0, 5, 5));
    EXPECT_EQ(FRect(0.5, 0, 2, 2).Intersection(FRect(1, 1, 4, 4)), FRect(1, 1, 1.5, 1));
}

TEST(ColorTest, MatrixTranslateAfterRotateIsNotRotated)
{
    Matrix3 m;
    m.RotateDeg(90);
    m.Translate(10, 0);
    const FPoint p = m.TransformPoint(1, 0);
    // Rotation by 90 degrees maps (1, 0) to (0, -1) in this convention, then the move.
    EXPECT_NEAR(p.x, 10, 1e-5);
    EXPECT_NEAR(p.y, -1, 1e-5);
    Matrix3 s;
    s.Scale(2, 3);
    const auto v = s.TransformVector3(1, 1, 1);
    EXPECT_FLOAT_EQ(v[0], 2);
    EXPECT_FLOAT_EQ(v[1], 3);
    EXPECT_FLOAT_EQ(v[2], 1);
}

TEST(ColorTest, TransformMirrorStaysSimpleOnlyOnce)
{
    Transform t;
    t.Scale(-1, 1);
    EXPECT_FALSE(t.mComplex);
    EXPECT_EQ(t.mScaleX, -1);
    t.Scale(-1, 1);
    EXPECT_TRUE(t.mComplex);
    EXPECT_FLOAT_EQ(t.GetMatrix().m[0], 1);
}

TEST(ColorTest, TransformMixingScaleAndRotationComposesInCallOrder)
{
    Transform t;
    t.Scale(2, 2);
    t.Rotate(0.5f);
    ASSERT_TRUE(t.mComplex);
    Matrix3 expected;
    expected.Scale(2, 2);
    expected.Rotate(0.5f);
    for (int i = 0; i < 9; ++i)
        EXPECT_FLOAT_EQ(t.GetMatrix().m[static_cast<size_t>(i)], expected.m[static_cast<size_t>(i)]);

    Transform r;
    r.Rotate(0.25f);
    r.Rotate(0.25f);
    EXPECT_FALSE(r.mComplex);
    EXPECT_FLOAT_EQ(r.mRotation, 0.5f);
    r.Scale(2, 1);
    EXPECT_TRUE(r.mComplex);

    Transform moved;
    moved.mTransX1 = 3;
    moved.Scale(2, 2);
    EXPECT_TRUE(moved.mComplex);
}

TEST(ColorTest, SimpleMatrixRotatesTheFirstTranslationAndAddsTheSecond)
{
    Transform t;
    t.mTransX1 = 1;
    t.Rotate(std::numbers::pi_v<float> / 2);
    t.mTransX2 = 5;
    t.mTransY2 = 7;
    const FPoint p = t.GetMatrix().TransformPoint(0, 0);
    EXPECT_NEAR(p.x, 5, 1e-5);
    EXPECT_NEAR(p.y, 6, 1e-5);
}

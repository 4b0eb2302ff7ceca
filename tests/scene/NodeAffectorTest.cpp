// Node affectors with a seeded generator: the draws each affector makes are replayed from a
// second generator of the same seed, so both the values and the order of the draws are checked.
// Wandering stays in its area and turns only when it leaves it; crossing restarts from an edge;
// spinning wraps its angle both ways and turns only rotatable nodes.
// Rerun one case: test_scene --gtest_filter='*NodeAffector*.Name'.
#include "SceneTestDoubles.h"
#include "game/scene/DirMover_NodeAffector.h"
#include "game/scene/Mover_NodeAffector.h"
#include "game/scene/RotatableNode.h"
#include "game/scene/Rotate_NodeAffector.h"
#include "game/scene/VisualNode.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr uint32_t kSeed = 2024;
constexpr float kTwoPi = 6.2831855f;

// A node with a rotation, as mesh nodes have.
class TurningNode : public VisualNode, public RotatableNode
{
public:
    void SetRotation(float radians) override
    {
        rotation = radians;
        ++turns;
    }
    float rotation = -100;
    int turns = 0;
};

// The draws of the program-wide generator's free functions, made from a reference generator.
struct ReferenceDraws
{
    Quoll::MersenneTwister random;
    explicit ReferenceDraws(uint32_t seed) { random.Seed(seed); }
    uint32_t Word() { return random.NextWord(); }
    int Int(int bound) { return static_cast<int>(random.NextWord() % static_cast<uint32_t>(bound)); }
    float Float(float bound)
    {
        return static_cast<float>(random.NextWord() / 2147483647.0 * static_cast<double>(bound));
    }
};
} // namespace

// --- Mover -------------------------------------------------------------------------------------------

TEST(Mover_NodeAffector, DrawsPhaseHeadingAndStartPointInOrder)
{
    FakeSceneServices services(kSeed);
    ReferenceDraws reference(kSeed);
    services.screenRect = Quoll::Rect(10, 20, 300, 200);
    Mover_NodeAffector mover(services);
    EXPECT_EQ(mover.GetPhase(), reference.Float(kTwoPi));
    EXPECT_EQ(mover.GetDirection(), reference.Float(kTwoPi));
    EXPECT_EQ(mover.GetArea(), Quoll::Rect(10, 20, 300, 200));

    VisualNode node;
    mover.Start(&node);
    const float x = static_cast<float>(reference.Int(300) + 10);
    const float y = static_cast<float>(reference.Int(200) + 20);
    EXPECT_EQ(node.GetPosition(), (FloatPoint{x, y}));
    EXPECT_EQ(services.draws, 4);
}

TEST(Mover_NodeAffector, KeepsItsHeadingInsideAndStaysWithinItsArea)
{
    FakeSceneServices services(kSeed);
    Mover_NodeAffector mover(services);
    mover.SetArea(Quoll::Rect(100, 100, 50, 40));
    mover.mSpeed = 80.0f;
    VisualNode node;
    mover.Start(&node);
    int turns = 0;
    float heading = mover.GetDirection();
    for (int step = 0; step < 3000; ++step)
    {
        const int drawsBefore = services.draws;
        mover.Apply(0.01f, &node);
        const FloatPoint p = node.GetPosition();
        // One step of 0.8 pixels can carry the point at most one pixel out before it turns.
        EXPECT_TRUE(p.x >= 99 && p.x < 151 && p.y >= 99 && p.y < 141) << p.x << ',' << p.y;
        if (mover.GetDirection() != heading)
        {
            ++turns;
            EXPECT_EQ(services.draws, drawsBefore + 2) << "a turn draws a fresh target";
            heading = mover.GetDirection();
        }
        else
        {
            EXPECT_EQ(services.draws, drawsBefore);
        }
    }
    EXPECT_GT(turns, 10);
}

TEST(Mover_NodeAffector, APointOnTheRightBorderIsReAimedAtOnce)
{
    FakeSceneServices services(kSeed);
    Mover_NodeAffector mover(services);
    VisualNode node;
    // A one-pixel area puts the start on x = 100, the right border of the area that follows.
    mover.SetArea(Quoll::Rect(100, 50, 1, 1));
    mover.Start(&node);
    ASSERT_EQ(node.GetPosition(), (FloatPoint{100, 50}));
    mover.SetArea(Quoll::Rect(0, 0, 100, 100));
    const int before = services.draws;
    mover.Apply(0.01f, &node);
    EXPECT_EQ(services.draws, before + 2);
    EXPECT_LT(std::cos(mover.GetDirection()), 0.0f);
    EXPECT_LT(node.GetPosition().x, 100.0f);
}

TEST(Mover_NodeAffector, WobbleCirclesAroundTheTravellingPoint)
{
    FakeSceneServices services(kSeed);
    Mover_NodeAffector still(services);
    still.mSpeed = 0;
    VisualNode node;
    still.Start(&node);
    still.Apply(0.01f, &node);
    EXPECT_EQ(node.GetPosition(), still.GetTravellingPoint());

    Mover_NodeAffector wobbling(services);
    wobbling.mSpeed = 0;
    wobbling.mWobbleAmplitude = 10;
    wobbling.mWobbleSpeed = 0;
    wobbling.Start(&node);
    const float phase = wobbling.GetPhase();
    wobbling.Apply(0.01f, &node);
    const FloatPoint centre = wobbling.GetTravellingPoint();
    EXPECT_NEAR(node.GetPosition().x, centre.x + 10 * std::cos(phase), 1e-3);
    EXPECT_NEAR(node.GetPosition().y, centre.y + 10 * std::sin(phase), 1e-3);
}

TEST(Mover_NodeAffector, AnEmptyAreaIsTakenAsOnePixel)
{
    FakeSceneServices services(kSeed);
    services.screenRect = Quoll::Rect(0, 0, 0, 0);
    Mover_NodeAffector mover(services);
    EXPECT_EQ(mover.GetArea(), Quoll::Rect(0, 0, 1, 1));
    mover.SetArea(Quoll::Rect(5, 5, -3, 0));
    VisualNode node;
    mover.Start(&node);
    mover.Apply(0.01f, &node);
    EXPECT_EQ(mover.GetArea(), Quoll::Rect(5, 5, 1, 1));
}

// --- Directional mover -------------------------------------------------------------------------------

TEST(DirMover_NodeAffector, StartsOnAnEdgeHeadingForAnotherAndTurnsTheNodeAlong)
{
    FakeSceneServices services(kSeed);
    ReferenceDraws reference(kSeed);
    DirMover_NodeAffector mover(services, 200, 100);
    TurningNode node;
    mover.Start(&node);

    // Replay: the excluded side, the start's side and its coordinate, then the target likewise.
    auto edgePoint = [&](int excluded) {
        int side = static_cast<int>(reference.Word() & 3u);
        if (side == excluded)
            side = (excluded + 2) & 3;
        switch (side)
        {
        case 0: return std::pair<FloatPoint, int>({-200.0f, static_cast<float>(reference.Int(768))}, 0);
        case 1: return std::pair<FloatPoint, int>({static_cast<float>(reference.Int(1024)), -100.0f}, 1);
        case 2: return std::pair<FloatPoint, int>({1024.0f, static_cast<float>(reference.Int(768))}, 2);
        default: return std::pair<FloatPoint, int>({static_cast<float>(reference.Int(1024)), 768.0f}, 3);
        }
    };
    const int excluded = static_cast<int>(reference.Word() & 3u);
    const auto [start, startSide] = edgePoint(excluded);
    const auto [target, targetSide] = edgePoint(startSide);
    EXPECT_NE(startSide, excluded);
    EXPECT_NE(targetSide, startSide);
    EXPECT_EQ(node.GetPosition(), start);
    const auto heading = static_cast<float>(std::atan2(target.y - start.y, target.x - start.x));
    EXPECT_EQ(mover.GetDirection(), heading);
    EXPECT_EQ(node.rotation, -heading);
    EXPECT_EQ(mover.OutsideSide(start), startSide);
}

TEST(DirMover_NodeAffector, OutsideTestsTheSidesInOrder)
{
    FakeSceneServices services(kSeed);
    DirMover_NodeAffector mover(services, 200, 100);
    EXPECT_EQ(mover.OutsideSide({-200, 300}), 0);
    EXPECT_EQ(mover.OutsideSide({-199.5f, 300}), -1);
    EXPECT_EQ(mover.OutsideSide({-300, -300}), 0);
    EXPECT_EQ(mover.OutsideSide({500, -100}), 1);
    EXPECT_EQ(mover.OutsideSide({1024, 300}), 2);
    EXPECT_EQ(mover.OutsideSide({1023.9f, 767.9f}), -1);
    EXPECT_EQ(mover.OutsideSide({500, 768}), 3);
}

TEST(DirMover_NodeAffector, SpeedFollowsTheArchOfTheSinePhase)
{
    FakeSceneServices services(kSeed);
    DirMover_NodeAffector mover(services, 50, 50);
    mover.mSpeed = 100.0f;
    mover.mPulseSpeed = 3.1415927f;
    VisualNode node;
    mover.Start(&node);
    mover.Apply(0.01f, &node); // leaves the edge
    float fastest = 0, fastestAt = 0;
    for (int step = 1; step < 100; ++step)
    {
        const FloatPoint before = mover.GetTravellingPoint();
        const float heading = mover.GetDirection();
        mover.Apply(0.01f, &node);
        if (mover.GetDirection() != heading)
            continue; // restarted from an edge: no step to measure
        const FloatPoint after = mover.GetTravellingPoint();
        const float moved = std::hypot(after.x - before.x, after.y - before.y);
        if (moved > fastest)
        {
            fastest = moved;
            fastestAt = mover.GetPhase();
        }
    }
    EXPECT_NEAR(fastest, 1.0f, 1e-3);
    EXPECT_NEAR(fastestAt, 3.1415927f / 2, 0.02);
}

TEST(DirMover_NodeAffector, WithoutPulseItRestartsInPlace)
{
    FakeSceneServices services(kSeed);
    DirMover_NodeAffector mover(services, 10, 10);
    VisualNode node;
    mover.Start(&node);
    for (int step = 0; step < 5; ++step)
    {
        const int before = services.draws;
        mover.Apply(0.01f, &node);
        EXPECT_NE(mover.OutsideSide(node.GetPosition()), -1);
        EXPECT_EQ(services.draws, before + 5) << "every step restarts from an edge";
    }
}

// --- Rotation ----------------------------------------------------------------------------------------

TEST(Rotate_NodeAffector, WrapsPastAFullTurnBothWays)
{
    FakeSceneServices services(kSeed);
    Rotate_NodeAffector rotate(services);
    TurningNode node;
    rotate.mSpeed = 1.0f;
    rotate.mAngle = 6.2f;
    rotate.Apply(0.1f, &node);
    EXPECT_NEAR(rotate.mAngle, 0.0168, 1e-4);
    EXPECT_EQ(node.rotation, rotate.mAngle);

    rotate.mSpeed = -1.0f;
    rotate.Apply(0.1f, &node);
    EXPECT_GT(rotate.mAngle, 6.0f);
    EXPECT_NEAR(rotate.mAngle, 0.0168 - 0.1 + kTwoPi, 1e-4);
}

TEST(Rotate_NodeAffector, ANegativeBaseSpinsEitherWayAPositiveOneForwards)
{
    FakeSceneServices services(kSeed);
    ReferenceDraws reference(kSeed);
    bool seen[2] = {false, false};
    for (int i = 0; i < 20; ++i)
    {
        Rotate_NodeAffector rotate(services);
        rotate.Init(-0.5f, 0);
        EXPECT_EQ(rotate.mAngle, reference.Float(kTwoPi));
        reference.Float(0);
        const float sense = (reference.Word() & 1u) != 0 ? 1.0f : -1.0f;
        EXPECT_EQ(rotate.mSpeed, -0.5f * sense);
        seen[rotate.mSpeed > 0] = true;
    }
    EXPECT_TRUE(seen[0] && seen[1]);

    Rotate_NodeAffector forwards(services);
    forwards.Init(0.5f, 0);
    EXPECT_EQ(forwards.mSpeed, 0.5f);
}

TEST(Rotate_NodeAffector, TurnsOnlyRotatableNodes)
{
    FakeSceneServices services(kSeed);
    Rotate_NodeAffector rotate(services);
    rotate.mSpeed = 1.0f;
    TurningNode turning;
    rotate.Start(&turning);
    EXPECT_EQ(turning.turns, 1);
    VisualNode plain;
    plain.SetPosition({3, 4});
    rotate.Start(&plain);
    rotate.Apply(0.5f, &plain);
    EXPECT_EQ(plain.GetPosition(), (FloatPoint{3, 4}));
    EXPECT_FLOAT_EQ(rotate.mAngle, 0.5f);
}

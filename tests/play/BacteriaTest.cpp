// Bacteria: births with and without animation, captures (exact and drawn delays, rebirth in the
// capturer's player as the same object, death removed by the cell view), the linear move, the
// bounce, and the idle behaviours around the pointer over long seeded runs.
// Rerun: test_play --gtest_filter='Bacteria*'
#include "PlayTestFixture.h"

#include "framework/display/MemoryImage.h"
#include "game/play/PlayIds.h"
#include "game/scene/AnimSprite.h"

#include <cmath>
#include <random>

static_assert(!std::is_copy_constructible_v<Bacteria> && !std::is_copy_assignable_v<Bacteria>);

namespace
{
float Length(const FloatPoint& p)
{
    return std::sqrt(p.x * p.x + p.y * p.y);
}
} // namespace

class BacteriaTest : public PlayTest
{
protected:
    BacteriaTest() { view->BuildCellViews(FullBoard()); }

    // A bacterium of the player on the cell, stepped until it rests.
    Bacteria& Idle(int id, int player)
    {
        view->AddBacteria(id, player, 0);
        for (int i = 0; i < 100 && Cell(id).GetBacteria()->GetState() != Bacteria::Idle; ++i)
            Step();
        EXPECT_EQ(Cell(id).GetBacteria()->GetState(), Bacteria::Idle);
        return *Cell(id).GetBacteria();
    }
};

TEST_F(BacteriaTest, BirthPlaysOnceThenRests)
{
    view->AddBacteria(5, 1, 0);
    Bacteria& b = *Cell(5).GetBacteria();
    Step();
    EXPECT_EQ(b.GetState(), Bacteria::Born);
    int steps = 1;
    while (b.GetState() == Bacteria::Born && steps < 200)
    {
        Step();
        ++steps;
    }
    EXPECT_EQ(b.GetState(), Bacteria::Idle);
    // The drawn delay (up to 0.15 s) and eight frames of 40 ms, at 9 ms per step.
    EXPECT_GE(steps, 8 * FakePlayServices::kBirthFrameMs / 9);
    EXPECT_LE(steps, 8 * FakePlayServices::kBirthFrameMs / 9 + 20);
    EXPECT_EQ(services.CountSound("SOUND_BAC_SPAWN"), 1);
}

TEST_F(BacteriaTest, BirthWithoutAnimationEndsIdle)
{
    Quoll::MemoryImage still;
    std::vector<uint32_t> pixels(64 * 64, 0xFF00FF00u);
    still.SetBits(pixels.data(), 64, 64);
    services.Register(PlayIds::kBornImageBase + 2, "STILL_BIRTH", &still);
    services.SetAnimation(PlayIds::kBornImageBase + 2, FrameAnimation());
    services.kinds[1] = 2;
    view->AddBacteria(6, 2, 0);
    Step(20);
    EXPECT_EQ(Cell(6).GetBacteria()->GetState(), Bacteria::Idle);
    view->ClearCell(6);
}

TEST_F(BacteriaTest, CaptureDelays)
{
    Bacteria& exact = Idle(10, 2);
    exact.StartCapture(nullptr, -0.3f);
    EXPECT_EQ(exact.GetDelay(), 0.3f);
    int steps = 0;
    while (services.CountParticles(1) == 0 && steps < 100)
    {
        Step();
        ++steps;
    }
    // 0.3 s of waiting (30 steps, one more when the float sum stays above 0), then the pop.
    EXPECT_GE(steps, 31);
    EXPECT_LE(steps, 32);

    Bacteria& drawn = Idle(11, 2);
    drawn.StartCapture(nullptr, 0);
    EXPECT_GE(drawn.GetDelay(), 0.0f);
    EXPECT_LE(drawn.GetDelay(), 0.15f);
}

TEST_F(BacteriaTest, CapturedBacteriumIsRebornInTheCapturersPlayer)
{
    services.kinds = {4, 6, 3};
    Bacteria& capturer = Idle(20, 1);
    Bacteria& victim = Idle(21, 2);
    victim.StartCapture(&capturer, 0);
    // The capturer's cell may be cleared before the pop; the player is kept.
    view->ClearCell(20);
    int steps = 0;
    while (victim.GetState() != Bacteria::Captured && victim.GetState() != Bacteria::Born && steps < 100)
    {
        Step();
        ++steps;
    }
    EXPECT_LE(steps, 17);
    EXPECT_EQ(services.CountParticles(6 - 1), 1) << "the pop of the victim's kind";
    EXPECT_EQ(services.CountSound("SOUND_BAC_POP"), 1);
    EXPECT_EQ(victim.GetValue(), 1);

    // Born again within 0.35 s: the birth's clock starts playing.
    steps = 0;
    while (!(victim.GetState() == Bacteria::Born && victim.GetAnimSprite()->mClock.IsPlaying()) && steps < 100)
    {
        Step();
        ++steps;
    }
    EXPECT_LE(steps, 36);
    EXPECT_EQ(Cell(21).GetBacteria(), &victim);
    EXPECT_EQ(victim.GetAnimSprite()->mImage, services.GetImageById(PlayIds::kBornImageBase + 4));
    EXPECT_EQ(victim.GetParent(), view->GetLayer(BoardView::kUnitLayer));
}

TEST_F(BacteriaTest, CaptureWithoutCapturerDies)
{
    Bacteria& victim = Idle(30, 3);
    victim.StartCapture(nullptr, -0.05f);
    Step(40);
    EXPECT_EQ(Cell(30).GetBacteria(), nullptr);
    EXPECT_TRUE(view->GetLayer(BoardView::kUnitLayer)->GetChildren().empty());
}

TEST_F(BacteriaTest, MoveIsLinearOverHalfASecond)
{
    Bacteria& b = Idle(40, 1);
    const FloatPoint source{b.GetPosition().x - 100, b.GetPosition().y + 50};
    b.StartMove(source);
    EXPECT_EQ(b.GetOffset(), (FloatPoint{-100, 50}));
    Step(25);
    EXPECT_NEAR(b.GetOffset().x, -50.0f, 0.01f);
    EXPECT_NEAR(b.GetOffset().y, 25.0f, 0.01f);
    Step(10);
    EXPECT_NEAR(b.GetOffset().x, -30.0f, 0.01f);
    Step(16);
    EXPECT_EQ(b.GetOffset(), (FloatPoint{0, 0}));
    Step();
    EXPECT_EQ(b.GetState(), Bacteria::Idle);
}

TEST_F(BacteriaTest, BounceReturnsTheCloneDelayAndSettles)
{
    Bacteria& b = Idle(41, 1);
    EXPECT_EQ(b.StartBounce(), 0.1f);
    Step(5);
    EXPECT_EQ(b.GetState(), Bacteria::Bounce);
    EXPECT_TRUE(b.GetSprite()->mTransform.mHasScale);
    EXPECT_EQ(b.GetOffset(), (FloatPoint{26, 26})) << "half the body keeps it centred";
    Step(20);
    EXPECT_EQ(b.GetState(), Bacteria::Idle);
    EXPECT_FALSE(b.GetSprite()->mTransform.mHasScale);
    EXPECT_EQ(b.GetOffset(), (FloatPoint{0, 0}));
}

TEST_F(BacteriaTest, AnUnmovedPointerMovesNobody)
{
    Bacteria& a = Idle(1, 1);
    Bacteria& b = Idle(2, 2);
    Step(500);
    EXPECT_EQ(a.GetOffset(), (FloatPoint{0, 0}));
    EXPECT_EQ(b.GetOffset(), (FloatPoint{0, 0}));
    EXPECT_EQ(a.GetBehaviour(), Bacteria::Drift);
}

TEST_F(BacteriaTest, IdleOffsetsStayWithinTheirRadius)
{
    Bacteria* units[3] = {&Idle(29, 1), &Idle(30, 2), &Idle(31, 3)};
    std::mt19937 pointer(2024);
    std::uniform_real_distribution<float> around(-90, 90);
    const FloatPoint centre = units[1]->GetBodyCentre();
    float most[3] = {0, 0, 0};
    int fled = 0;
    for (int step = 0; step < 6000; ++step)
    {
        if (step % 37 == 0)
            Play().lastMousePos = {centre.x + around(pointer), centre.y + around(pointer)};
        Step();
        for (int i = 0; i < 3; ++i)
            most[i] = std::max(most[i], Length(units[i]->GetOffset()));
        fled += units[1]->GetBehaviour() == Bacteria::Flee ? 1 : 0;
    }
    for (float m : most)
        EXPECT_LE(m, 10.0f + 1e-4f);
    EXPECT_GT(most[1], 5.0f);
    EXPECT_GT(fled, 0);
    EXPECT_GT(services.CountSound("SOUND_BACENEMY_OVER1"), 0);

    // Selected, the player's bacterium keeps within two thirds of the radius.
    view->HighlightCell(29);
    float selected = 0;
    for (int step = 0; step < 6000; ++step)
    {
        if (step % 37 == 0)
            Play().lastMousePos = {centre.x + around(pointer), centre.y + around(pointer)};
        Step();
        if (step > 100)
            selected = std::max(selected, Length(units[0]->GetOffset()));
        EXPECT_EQ(units[0]->GetBehaviour(), Bacteria::Selected);
    }
    EXPECT_LE(selected, 10.0f / 1.5f + 1e-4f);
    EXPECT_GT(selected, 5.0f);
}

TEST_F(BacteriaTest, PlayersBacteriaLookAtANearPointer)
{
    Bacteria& b = Idle(30, 1);
    const FloatPoint p = b.GetWorldPosition();
    Play().lastMousePos = {p.x + 33 + 10, p.y + 33};
    Step();
    EXPECT_EQ(b.GetBehaviour(), Bacteria::Look);
    EXPECT_EQ(b.GetFace().GetEmotion(), 1);
    EXPECT_EQ(services.CountSound("SOUND_BACGLORIA_OVER1"), 1);
    const FloatPoint still = b.GetOffset();
    Step(50);
    EXPECT_EQ(b.GetOffset(), still);
    Play().lastMousePos = {p.x + 33 + 31, p.y + 33};
    Step();
    EXPECT_EQ(b.GetBehaviour(), Bacteria::Drift);
}

TEST_F(BacteriaTest, AnUnattachedBacteriumWaitsWithoutBody)
{
    Bacteria loose(services);
    loose.Update(0.01f);
    loose.Update(0.01f);
    EXPECT_EQ(loose.GetLayer(), BaseUnit::kNoLayer);
    RecordingImage screen;
    Quoll::Graphics g(&screen);
    loose.Draw(&g);
    EXPECT_TRUE(screen.blits.empty());
    // Any state it is asked for gives it its body.
    loose.StartBounce();
    loose.Update(0.01f);
    loose.Draw(&g);
    EXPECT_EQ(screen.blits.size(), 1u);
}

TEST_F(BacteriaTest, BodiesFallBackToTheFirstBody)
{
    services.kinds[2] = 7;
    services.Register(PlayIds::kBodyImageBase + 7, "gone", nullptr);
    EXPECT_EQ(GetBodyImageForPlayer(services, 3), services.GetImageById(PlayIds::kBodyImageBase + 1));
    services.aiLevels[1] = kBossAiLevel;
    EXPECT_EQ(GetBodyImageForPlayer(services, 2), services.GetImageById(PlayIds::kBodyImageBase + kBossBacteria));
    services.kinds[0] = 0;
    EXPECT_EQ(GetBodyImageForPlayer(services, 1), services.GetImageById(PlayIds::kBodyImageBase + 1));
}

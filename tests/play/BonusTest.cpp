// Bonus units: appearance after the delay, activation keeping its first delay and bursting once,
// the flight into the inventory (bulge at half time, end on the rest point, its effect and
// sounds), the orbit in the inventory, the laid mine without glow, and missing images.
// Rerun: test_play --gtest_filter='Bonus*'
#include "PlayTestFixture.h"

#include "game/play/PlayIds.h"

#include <cmath>

class BonusTest : public PlayTest
{
protected:
    BonusTest() { view->BuildCellViews(FullBoard()); }

    Bonus& Add(int id, int kind, float delay = 0)
    {
        view->AddBonus(id, kind, delay);
        return *Cell(id).GetBonus();
    }
};

TEST_F(BonusTest, AppearsAfterItsDelay)
{
    Bonus& now = Add(3, Bonus::Mine);
    Bonus& later = Add(4, Bonus::Bomb, 0.1f);
    EXPECT_TRUE(now.IsHidden());
    Step();
    EXPECT_FALSE(now.IsHidden());
    EXPECT_EQ(now.GetState(), Bonus::OnBoard);
    EXPECT_TRUE(now.HasGlow());
    EXPECT_EQ(now.GetMainScale(), 0.65f);
    EXPECT_TRUE(later.IsHidden());
    Step(10);
    EXPECT_FALSE(later.IsHidden());
}

TEST_F(BonusTest, ActivationKeepsTheFirstDelayAndBurstsOnce)
{
    Bonus& bonus = Add(5, Bonus::Teleport);
    Step();
    bonus.Activate(0.2f);
    const float first = bonus.GetTimer();
    EXPECT_GE(first, 0.2f);
    EXPECT_LE(first, 0.55f);
    bonus.Activate(0.0f);
    EXPECT_EQ(bonus.GetTimer(), first);
    Step(60);
    EXPECT_EQ(Cell(5).GetBonus(), nullptr) << "gone, and deleted by its cell view";
    EXPECT_EQ(services.CountParticles(PlayIds::kBonusBurstParticleBase + 2), 1);
    EXPECT_EQ(services.CountSound("SOUND_BONUS_DESTROY"), 1);
}

TEST_F(BonusTest, FlightBulgesAndEndsOnTheRestPoint)
{
    Bonus& bonus = Add(6, Bonus::Bomb);
    Step();
    // The inventory takes the unit as its child in its slot, then it flies there.
    VisualNode inventory;
    inventory.SetPosition({500, 20});
    const FloatPoint start = bonus.GetWorldPosition();
    Bonus* taken = Cell(6).TakeBonus();
    ASSERT_EQ(taken, &bonus);
    inventory.AddChild(taken);
    taken->SetPosition({10, 5});
    taken->FlyToInventory(start);
    ASSERT_EQ(services.CountParticles(PlayIds::kBonusFlightParticle), 1);
    const FloatPoint from{start.x - 500, start.y - 20};
    const FloatPoint rest{30, 5};
    Step(); // the board view no longer updates it
    for (int i = 0; i < 50; ++i)
        taken->Update(0.01f);
    EXPECT_NEAR(taken->GetPosition().x, from.x + (rest.x - from.x) * 0.5f + 150, 0.05f);
    EXPECT_NEAR(taken->GetPosition().y, from.y + (rest.y - from.y) * 0.5f, 0.05f);
    EXPECT_NEAR(taken->GetMainScale(), 1.2f, 0.001f);
    const FakePlayServices::Particle& trail = services.particles.back();
    EXPECT_NEAR(trail.x, 500 + taken->GetPosition().x + 34, 3.0f);
    int steps = 0;
    while (taken->GetRequestedState() != Bonus::InInventory && steps < 100)
    {
        taken->Update(0.01f);
        ++steps;
    }
    EXPECT_EQ(taken->GetPosition(), rest);
    EXPECT_TRUE(trail.stopped);
    EXPECT_EQ(services.CountSound("SOUND_BONUS_GETFLY"), 1);
    EXPECT_EQ(services.CountSound("SOUND_BONUS_FLY_END"), 1);
    EXPECT_EQ(taken->GetRestPoint(), (FloatPoint{10, 5}));
    // It circles its slot: 20 pixels across, 10 up and down.
    float most = 0;
    for (int i = 0; i < 300; ++i)
    {
        taken->Update(0.01f);
        most = std::max(most, std::abs(taken->GetPosition().y - 5));
        EXPECT_LE(std::abs(taken->GetPosition().x - 10), 20.001f);
    }
    EXPECT_NEAR(most, 10.0f, 0.05f);
    EXPECT_EQ(taken->GetMainScale(), 1.4f);
    EXPECT_EQ(taken->GetGlowScale(), 1.7f);
}

TEST_F(BonusTest, LaidMineHasNoGlow)
{
    Bonus& mine = Add(7, Bonus::LaidMine);
    Step(30);
    EXPECT_FALSE(mine.HasGlow());
    EXPECT_NEAR(mine.GetPulse(), (std::sin(1.0f) + 1) / 2, 0.03f);
    RecordingImage screen;
    Quoll::Graphics g(&screen);
    mine.Draw(&g);
    ASSERT_EQ(screen.blits.size(), 1u);
    EXPECT_EQ(screen.blits[0].source, "IMAGE_BONUS4");
    mine.Activate(0);
    Step(50);
    EXPECT_EQ(services.CountSound("SOUND_MINE_EXPLOSION"), 1);
}

TEST_F(BonusTest, MissingImagesFallBackOrDrawNothing)
{
    services.Register(PlayIds::kBonusImageBase + 3, "missing", nullptr);
    services.Register(PlayIds::kBonusGlowImageBase + 3, "missing glow", nullptr);
    Bonus& bomb = Add(9, Bonus::Bomb);
    Step();
    RecordingImage screen;
    Quoll::Graphics g(&screen);
    bomb.Draw(&g);
    ASSERT_EQ(screen.blits.size(), 1u);
    EXPECT_EQ(screen.blits[0].source, "IMAGE_BONUS1");
    EXPECT_TRUE(services.log.empty());
}

TEST(AdvanceAngle, WrapsOnceAboveTwoPi)
{
    float angle = 6.0f;
    AdvanceAngle(angle, 0.5f);
    EXPECT_NEAR(angle, 6.5f - 6.2831855f, 1e-6f);
    angle = 1.0f;
    AdvanceAngle(angle, 20.0f);
    EXPECT_NEAR(angle, 21.0f - 6.2831855f, 1e-5f);
}

// Bonuses through the recording view: laid mines and their chains, pickups by the computer or
// beyond the first of a landing destroyed, the bomb's cells and points, the teleport restored
// from a saved level, the mine the human laid going off under an enemy, and pickups when no free
// cell is left.
// Rerun one case: test_level --gtest_filter='Bonus.Bomb*'
#include "LevelTestSupport.h"

#include <gtest/gtest.h>

using namespace LevelTest;

TEST(Bonus, LaidMineCapturesNothingAndChainsExplodeThreeTenthsApart)
{
    LevelFixture f;
    f.StartPicture(Picture({{13, '1'}, {58, '1'}, {30, 'l'}, {31, 'l'}, {21, '2'}, {22, '2'}, {32, '2'}, {0, '2'}}),
                   {-1, 0});
    f.HumanMove(13, 30);
    f.Step();
    EXPECT_EQ(f.view.Count("StartCapture ", true), 0); // nothing captured
    EXPECT_EQ(f.level().GetParams().capturedCells[0], 0);
    EXPECT_EQ(f.view.Count("StartCaptureAt 30 0.00"), 1); // the bacterium that landed
    EXPECT_EQ(f.view.Count("StartCaptureAt 21 0.30"), 1);
    EXPECT_EQ(f.view.Count("StartCaptureAt 22 0.30"), 1);
    EXPECT_EQ(f.view.Count("ActivateCellBonus 31 0.30"), 2); // the second mine: as a neighbour, then going off
    EXPECT_EQ(f.view.Count("StartCaptureAt 32 0.60"), 1);    // around the second mine
    EXPECT_EQ(f.services.CountSound(LevelSound::BonusMineHit), 2);
    EXPECT_EQ(f.services.CountEvent(AchievementEvent::MineHitHuman), 1);
    EXPECT_EQ(f.services.CountEvent(AchievementEvent::MineHitEnemy), 3);
    const Board& board = f.level().GetLogic().GetBoard();
    for (int cell : {21, 22, 30, 31, 32})
        EXPECT_EQ(board.GetCellFlags(cell), 0) << "cell " << cell;
    EXPECT_EQ(board.GetOwner(0), 2);
}

TEST(Bonus, ComputerPickupIsDestroyed)
{
    // Player 2's only move lands on a teleport.
    LevelFixture f;
    f.StartPicture(WalledIn(Picture({{0, '2'}, {1, 't'}, {30, '1'}}), 0, 1), {-1, 0}, 2);
    f.RunToHuman();
    EXPECT_EQ(f.view.Count("MoveBacterium 0 1 1 -1"), 1);
    EXPECT_EQ(f.view.Count("ActivateCellBonus 1 0.00"), 1);
    EXPECT_EQ(f.view.Count("CollectBonus", true), 0);
    EXPECT_EQ(f.level().GetLogic().GetBoard().GetBonus(1), 0);
    EXPECT_EQ(f.level().GetParams().inventory[0], 0);
    EXPECT_FALSE(f.level().HasPendingBonus());
}

TEST(Bonus, OnlyTheFirstBonusOfALandingIsArmed)
{
    LevelFixture f;
    f.StartBody(LogicBodyWithBonuses(Picture({{13, '1'}, {30, 'b'}, {21, '2'}, {0, '2'}}), {-1, 0}, 1, {{21, BONUS_MINE}}));
    f.HumanMove(13, 30);
    f.Step();
    EXPECT_EQ(f.view.Count("CollectBonus 30"), 1);
    EXPECT_EQ(f.view.Count("ActivateCellBonus 21 0.00"), 1); // the captured cell's mine
    EXPECT_EQ(f.level().GetParams().inventory[0], BONUS_BOMB);
    EXPECT_EQ(f.level().GetParams().armedSlot, 0);
    EXPECT_EQ(f.level().GetState(), LevelState::BonusArmed);
    EXPECT_EQ(f.level().GetLogic().GetBoard().GetBonus(21), 0);
}

TEST(Bonus, BombOverTwoEnemyCellsAndOneOwnScoresForty)
{
    LevelFixture f;
    f.StartPicture(Picture({{13, '1'}, {30, 'b'}, {58, '1'}, {45, '2'}, {46, '2'}, {50, '2'}}), {-1, 0});
    f.HumanMove(13, 30);
    f.Step();
    ASSERT_EQ(f.level().GetState(), LevelState::BonusArmed);
    EXPECT_EQ(f.view.GetSelectionMode(), CellSelectionMode::Bomb);
    f.view.SetSelectedTargets({45, 46, 58});
    f.Click(45);
    f.view.SetSelectedTargets({50}); // a click on a ready bomb is ignored
    f.Click(50);
    const int scoreBefore = f.level().GetParams().score;
    f.Step();
    EXPECT_EQ(f.level().GetParams().score - scoreBefore, 40);
    EXPECT_EQ(f.services.CountEvent(AchievementEvent::BombHitEnemy), 1);
    EXPECT_EQ(f.view.Count("ShowFloatingText 20 1", true), 2);
    const Board& board = f.level().GetLogic().GetBoard();
    EXPECT_EQ(board.GetOwner(45), 0);
    EXPECT_EQ(board.GetOwner(46), 0);
    EXPECT_EQ(board.GetOwner(58), 0); // the human's own cell is wiped out too
    EXPECT_EQ(board.GetOwner(50), 2);
    EXPECT_EQ(f.level().GetParams().inventory[0], 0);
    EXPECT_EQ(f.level().GetParams().armedSlot, -1);
    EXPECT_EQ(f.level().GetState(), LevelState::EndOfTurn);
}

TEST(Bonus, SavedArmedTeleportReloadsIntoTheArmedStateAndMoves)
{
    LevelFixture f;
    f.StartPicture(Picture({{13, '1'}, {30, 't'}, {0, '2'}}), {-1, 0});
    f.HumanMove(13, 30);
    f.Step();
    ASSERT_EQ(f.level().GetState(), LevelState::BonusArmed);
    Quoll::Buffer saved;
    f.level().Save(saved, false);

    LevelFixture g;
    g.StartBody(saved);
    EXPECT_EQ(g.level().GetState(), LevelState::BonusArmed);
    EXPECT_EQ(g.level().GetSelectedCell(), 30);
    ASSERT_NE(g.level().GetPendingBonus(), nullptr);
    g.Click(50);
    g.Step();
    EXPECT_EQ(g.view.Count("MoveBacterium 30 50 0 85"), 1);
    EXPECT_EQ(g.services.CountSound(LevelSound::BonusTeleport), 1);
    EXPECT_EQ(g.services.CountEvent(AchievementEvent::Teleported), 1);
    EXPECT_EQ(g.level().GetState(), LevelState::MoveLanded); // the landing comes next
    EXPECT_EQ(g.level().GetParams().armedSlot, -1);
    g.Step();
    EXPECT_EQ(g.level().GetState(), LevelState::EndOfTurn);
    EXPECT_EQ(g.level().GetLogic().GetBoard().GetOwner(30), 0);
    EXPECT_EQ(g.level().GetLogic().GetBoard().GetOwner(50), 1);
}

TEST(Bonus, TeleportFromAnEmptiedBossCellIsDestroyed)
{
    LevelFixture f;
    f.view.EnableBoss(true);
    f.StartBody(LogicBodyWithBonuses(Picture({{30, '1'}, {31, '2'}, {60, '2'}}), {-1, 3}, 1, {{31, BONUS_TELEPORT}}));
    f.HumanMove(30, 22);
    f.Step();
    EXPECT_EQ(f.view.Count("StartCapture 31 -1 0.00"), 1);
    EXPECT_EQ(f.view.Count("ActivateCellBonus 31 0.00"), 1);
    EXPECT_EQ(f.view.Count("Boss.PlaceSpawnedUnits 31"), 1);
    EXPECT_FALSE(f.level().HasPendingBonus());
    EXPECT_EQ(f.level().GetState(), LevelState::EndOfTurn);
}

TEST(Bonus, MineLaidByTheHumanGoesOffUnderAnEnemy)
{
    // Player 2's only free cell within reach is 59; the human lays its mine there.
    LevelFixture f;
    f.StartPicture(WalledIn(Picture({{13, '1'}, {30, 'm'}, {60, '2'}}), 60, 59), {-1, 0});
    f.HumanMove(13, 30);
    f.Step();
    ASSERT_EQ(f.level().GetState(), LevelState::BonusArmed);
    f.Click(60); // an owned cell: refused
    f.Click(59);
    f.Step();
    EXPECT_EQ(f.view.Count("AddBonus 59 16 0.00"), 1);
    EXPECT_EQ(f.level().GetLastLaidMine(), 59);
    EXPECT_EQ(f.services.CountEvent(AchievementEvent::MineLaid), 1);
    f.RunToHuman();
    EXPECT_EQ(f.view.Count("MoveBacterium 60 59 1 -1"), 1);
    EXPECT_EQ(f.services.CountEvent(AchievementEvent::OwnMineHitEnemy), 1);
    EXPECT_EQ(f.services.CountEvent(AchievementEvent::MineHitEnemy), 2); // the lander and cell 60
}

TEST(Bonus, PickupsWhenNoFreeCellIsLeft)
{
    LevelFixture teleport;
    teleport.StartPicture(HolesAnd({{0, '1'}, {1, 't'}, {60, '2'}}), {-1, 0});
    teleport.HumanMove(0, 1);
    teleport.Step();
    EXPECT_EQ(teleport.view.Count("ActivateCellBonus 1 0.00"), 1);
    EXPECT_FALSE(teleport.level().HasPendingBonus());

    LevelFixture bomb;
    bomb.StartPicture(HolesAnd({{0, '1'}, {1, 'b'}, {60, '2'}}), {-1, 0});
    bomb.HumanMove(0, 1);
    bomb.Step();
    EXPECT_EQ(bomb.level().GetState(), LevelState::BonusArmed);
    EXPECT_EQ(bomb.level().GetParams().inventory[0], BONUS_BOMB);
}

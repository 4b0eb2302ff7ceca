// A real level on the game scene, driven as the play state drives it: presses become the level's
// clicks, the level waits while the scene is busy, and a step back sets the same scene up again.
// The level is tests/play/data/levels/three-players.txt.
// Rerun: test_play --gtest_filter='GameSceneLevel*'
#include "SceneTestFixture.h"
#include "game/play/Bacteria.h"
#include "game/play/BoardView.h"
#include "game/play/HUD.h"
#include "game/play/InventoryView.h"
#include "game/play/PlayGlobals.h"
#include "game/play/VCell.h"

#include "framework/core/MersenneTwister.h"

#include <gtest/gtest.h>

namespace
{
class GameSceneLevelTest : public ::testing::Test
{
protected:
    GameSceneLevelTest()
    {
        Quoll::SeedRandom(11);
        h.Show();
        started = h.StartLevel("three-players");
    }

    VCell& Cell(int id) { return *h.scene->GetBoardView()->FindCellView(id); }
    void RunUntilIdle()
    {
        for (int i = 0; i < 1000 && h.scene->IsBusy(); ++i)
            h.Step();
    }
    // The bacteria on the board view, by player, must be the board's.
    void ExpectUnitsEqualTheBoard()
    {
        const Board& board = h.GetLevel().GetLogic().GetBoard();
        for (int id = 0; id < 61; ++id)
        {
            const Bacteria* unit = Cell(id).GetBacteria();
            EXPECT_EQ(unit != nullptr ? unit->GetValue() : 0, board.GetOwner(id)) << "cell " << id;
        }
    }

    SceneHarness h{20261207};
    bool started = false;
};

TEST_F(GameSceneLevelTest, AClickOnTheHumansBacteriumShowsItSelectedInTheNextFrame)
{
    ASSERT_TRUE(started);
    RunUntilIdle();
    ASSERT_EQ(h.GetLevel().GetState(), LevelState::HumanToMove);
    h.Press(h.CellPoint(50));
    EXPECT_EQ(h.link->commands.back(), std::make_pair(1, 0));
    EXPECT_EQ(h.GetLevel().GetSelectedCell(), 50);
    h.Step();
    EXPECT_EQ(Cell(50).GetState(), VCell::Highlighted);
    EXPECT_EQ(Play().selectedBacterium, Cell(50).GetBacteria());
    EXPECT_EQ(Cell(51).GetState(), VCell::CloneTarget);
}

TEST_F(GameSceneLevelTest, AMoveAnimatesAndTheLevelGoesOnOnceTheSceneIsIdle)
{
    ASSERT_TRUE(started);
    RunUntilIdle();
    h.Press(h.CellPoint(50));
    h.Press(h.CellPoint(51));
    // The step-back point was stored before the move.
    ASSERT_TRUE(h.session->HasSnapshot());
    ASSERT_NE(Cell(51).GetBacteria(), nullptr);
    EXPECT_EQ(h.GetLevel().GetState(), LevelState::MoveLanded);
    EXPECT_TRUE(h.scene->IsBusy());
    // The level waits for the clone's slide.
    h.Step(30);
    EXPECT_EQ(h.GetLevel().GetState(), LevelState::MoveLanded);
    EXPECT_EQ(Cell(52).GetBacteria()->GetValue(), 2);
    RunUntilIdle();
    h.Step();
    EXPECT_TRUE(h.scene->IsBusy()) << "the captures";
    RunUntilIdle();
    // The landing took the enemy on 52 and the mine on 51, which is armed at once: the scene
    // shows the capture, the points and the mine's flight to the inventory.
    EXPECT_EQ(h.GetLevel().GetState(), LevelState::BonusArmed);
    EXPECT_EQ(h.GetLevel().GetLogic().GetBoard().GetOwner(52), 1);
    EXPECT_EQ(Cell(52).GetBacteria()->GetValue(), 1);
    EXPECT_EQ(Cell(51).GetBonus(), nullptr);
    EXPECT_NE(h.scene->GetHud()->GetInventory()->GetSlot(0), nullptr);
    EXPECT_FALSE(h.scene->GetHud()->GetFloatingTexts().empty());
    // The mine goes where the pointer hovers.
    const ScreenPoint free = h.CellPoint(45);
    h.scene->MouseMove(free.x, free.y);
    h.Press(free);
    h.Step();
    EXPECT_NE(Cell(45).GetBonus(), nullptr);
    EXPECT_EQ(h.GetLevel().GetLogic().GetBoard().GetBonus(45), BONUS_LAID_MINE);
    // Play goes on to the computer players and back to the human; the view keeps up.
    for (int i = 0; i < 3000 && h.GetLevel().GetState() != LevelState::HumanToMove; ++i)
        h.Step();
    RunUntilIdle();
    EXPECT_EQ(h.GetLevel().GetState(), LevelState::HumanToMove);
    EXPECT_EQ(h.scene->GetHud()->GetParams().playerCells[0], h.GetLevel().GetLogic().GetCellCount(1));
    ExpectUnitsEqualTheBoard();
}

TEST_F(GameSceneLevelTest, AStepBackLeavesOneViewPerPlaceOneHudAndTheBoardsUnits)
{
    ASSERT_TRUE(started);
    RunUntilIdle();
    const HUD* hud = h.scene->GetHud();
    h.Press(h.CellPoint(50));
    h.Press(h.CellPoint(51));
    for (int i = 0; i < 3000 && h.GetLevel().GetState() != LevelState::HumanToMove; ++i)
        h.Step();
    RunUntilIdle();
    ASSERT_TRUE(h.session->StepBack());
    RunUntilIdle();
    EXPECT_EQ(h.scene->GetBoardView()->GetCellViews().size(), 61u);
    EXPECT_EQ(h.scene->GetHud(), hud);
    EXPECT_EQ(h.scene->GetHud()->GetParams().playerCells[0], 3);
    ExpectUnitsEqualTheBoard();
    // The units' layer holds exactly the board's bacteria.
    int units = 0;
    for (const VisualNode* node : h.scene->GetBoardView()->GetLayer(BoardView::kUnitLayer)->GetChildren())
        units += dynamic_cast<const Bacteria*>(node) != nullptr ? 1 : 0;
    const Board& board = h.GetLevel().GetLogic().GetBoard();
    EXPECT_EQ(units, board.GetOwnedCells(1).Count() + board.GetOwnedCells(2).Count() + board.GetOwnedCells(3).Count());
}
} // namespace

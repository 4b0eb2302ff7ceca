// The level editor's operations on a level: cell kinds (holes included), cell contents with the
// player count following player 3's cells, refused contents, and the AI-level cycle.
// Rerun one case: test_level --gtest_filter='LevelEditor.*'
#include "LevelTestSupport.h"

#include "game/board/LogicChecker.h"

#include <gtest/gtest.h>

using namespace LevelTest;

TEST(LevelEditor, CellKindsIncludingHoles)
{
    LevelFixture f;
    f.view.SetHolesClickable(true);
    f.StartPicture(Picture({{30, '1'}, {0, '2'}, {5, '#'}}), {-1, 0});
    f.level().EditSetCellKind(RecordingLevelView::PointOf(31), 0);
    EXPECT_FALSE(f.level().GetLogic().GetBoard().Exists(31));
    EXPECT_EQ(f.view.Count("ClearCellUnits 31"), 1);
    EXPECT_EQ(f.view.Count("SetCellViewKind 31 0"), 1);
    f.level().EditSetCellKind(RecordingLevelView::PointOf(5), 2);
    EXPECT_EQ(f.level().GetLogic().GetBoard().GetCellValue(5), 2);
    f.level().EditSetCellKind(RecordingLevelView::PointOf(5), 2); // the same kind: nothing
    EXPECT_EQ(f.view.Count("SetCellViewKind 5 2"), 1);
    EXPECT_EQ(f.view.GetLastParams().cellCount, 60); // one hole filled, one made
    EXPECT_EQ(FindLogicFault(f.level().GetLogic()), "");
}

TEST(LevelEditor, ThirdPlayerCellsSetThePlayerCount)
{
    LevelFixture f;
    f.StartPicture(Picture({{30, '1'}, {0, '2'}}), {-1, 0});
    f.level().EditSetCellContent(RecordingLevelView::PointOf(60), 3);
    EXPECT_EQ(f.level().GetLogic().GetPlayerCount(), 3);
    EXPECT_EQ(f.level().GetParams().playerCount, 3);
    EXPECT_EQ(f.level().GetLogic().GetCellCount(3), 1);
    EXPECT_EQ(FindLogicFault(f.level().GetLogic()), "");
    f.level().EditSetCellContent(RecordingLevelView::PointOf(60), 0);
    EXPECT_EQ(f.level().GetLogic().GetPlayerCount(), 2);
    EXPECT_EQ(f.level().GetParams().playerCount, 2);

    f.level().EditSetCellContent(RecordingLevelView::PointOf(40), BONUS_BOMB);
    EXPECT_EQ(f.level().GetLogic().GetBoard().GetBonus(40), BONUS_BOMB);
    f.level().EditSetCellContent(RecordingLevelView::PointOf(40), 0); // empties the bonus too
    EXPECT_EQ(f.level().GetLogic().GetBoard().GetCellFlags(40), 0);
    f.level().EditSetCellContent(RecordingLevelView::PointOf(41), 5); // no such content
    EXPECT_EQ(f.level().GetLogic().GetBoard().GetCellFlags(41), 0);
}

TEST(LevelEditor, CyclePlayerAiLevel)
{
    LevelFixture f;
    f.StartPicture(Picture({{30, '1'}, {0, '2'}}), {-1, 2});
    f.level().EditCyclePlayerAiLevel(2);
    EXPECT_EQ(f.level().GetLogic().GetPlayerAiLevel(2), 3);
    f.level().EditCyclePlayerAiLevel(2);
    EXPECT_EQ(f.level().GetLogic().GetPlayerAiLevel(2), 0);
    EXPECT_EQ(f.view.GetLastParams().playerAiLevels[1], 0);
    f.level().EditCyclePlayerAiLevel(0); // no such player
    f.level().EditCyclePlayerAiLevel(3);
    EXPECT_EQ(f.level().GetLogic().GetPlayerCount(), 2);
}

// GameLogic rules: legality and the jump flag, captures (converting, and emptying with a boss),
// counts after clones and jumps, leader and winner ties, turn order, board edits, and the
// neighbour tables each logic owns (a second logic never disturbs the active one).
// Rerun one case: test_board --gtest_filter='GameLogic.Capture*'
#include "BoardTestSupport.h"

#include "game/board/BoardText.h"
#include "game/board/LogicChecker.h"

#include <gtest/gtest.h>

#include <type_traits>

using namespace BoardTest;

static_assert(std::is_copy_constructible_v<GameLogic> && std::is_copy_assignable_v<GameLogic>);

namespace
{
// Row 5 is cells 26..34; the centre 30 has neighbours 21, 22, 29, 31, 38, 39.
constexpr std::string_view kEmpty = ". . . . . / . . . . . . / . . . . . . . / . . . . . . . . / . . . . . . . . . /"
                                    ". . . . . . . . / . . . . . . . / . . . . . . / . . . . .";

std::string Picture(std::initializer_list<std::pair<int, char>> cells, std::string_view base = kEmpty)
{
    std::string text;
    for (char c : base)
        if (c != ' ' && c != '/')
            text.push_back(c);
    for (const auto& [cell, symbol] : cells)
        text[static_cast<size_t>(cell)] = symbol;
    return text;
}
} // namespace

TEST(GameLogic, LegalityAndTheJumpFlag)
{
    GameLogic logic = MakeLogic(Picture({{30, '1'}}), {-1, 0}, 1);
    EXPECT_FALSE(logic.IsLegalMove(30, 30));
    EXPECT_FALSE(logic.IsLegalMove(-1, 30));
    EXPECT_FALSE(logic.IsLegalMove(30, 61));
    EXPECT_TRUE(logic.IsLegalMove(30, 13));
    EXPECT_TRUE(logic.GetJumpFlag());
    EXPECT_FALSE(logic.IsLegalMove(30, 4)); // distance 3: the flag keeps its value
    EXPECT_TRUE(logic.GetJumpFlag());
    EXPECT_TRUE(logic.IsLegalMove(30, 31));
    EXPECT_FALSE(logic.GetJumpFlag());
    // A hole is no target.
    logic.SetCellKind(31, 0);
    EXPECT_FALSE(logic.IsLegalMove(30, 31));
}

TEST(GameLogic, CountsAfterACloneAndAJump)
{
    GameLogic logic = MakeLogic(Picture({{30, '1'}, {0, '2'}}), {-1, 0}, 1);
    ASSERT_EQ(logic.GetCellCount(1), 1);
    ASSERT_EQ(logic.GetFreeCellCount(), 59);
    logic.MakeMove(30, 31, true);
    EXPECT_EQ(logic.GetCellCount(1), 2);
    EXPECT_EQ(logic.GetFreeCellCount(), 58);
    logic.MakeMove(31, 33, false);
    EXPECT_EQ(logic.GetCellCount(1), 2);
    EXPECT_EQ(logic.GetFreeCellCount(), 58);
    EXPECT_EQ(logic.GetBoard().GetOwner(31), 0);
    EXPECT_EQ(FindLogicFault(logic), "");
}

TEST(GameLogic, CaptureConvertsHostileNeighbours)
{
    GameLogic logic = MakeLogic(Picture({{30, '1'}, {21, '2'}, {39, '3'}, {22, '1'}, {0, '2'}}), {-1, 0, 2}, 1);
    std::vector<int> captured;
    std::vector<int> bossCells{99};
    EXPECT_EQ(logic.CaptureAt(30, &captured, bossCells), 2);
    EXPECT_EQ(captured, (std::vector<int>{21, 39}));
    EXPECT_TRUE(bossCells.empty());
    EXPECT_EQ(logic.GetBoard().GetOwner(21), 1);
    EXPECT_EQ(logic.GetBoard().GetOwner(39), 1);
    EXPECT_EQ(logic.GetBoard().GetOwner(0), 2);
    EXPECT_EQ(logic.GetCellCount(1), 4);
    EXPECT_EQ(logic.GetCellCount(3), 0);
    EXPECT_EQ(FindLogicFault(logic), "");
}

TEST(GameLogic, CapturesWithABossEmptyCells)
{
    // Player 3 is the boss: it ignores player 2, empties player 1's cells, and loses its own
    // cells to player 1 the same way.
    GameLogic logic = MakeLogic(Picture({{30, '3'}, {21, '2'}, {39, '1'}, {31, '1'}, {5, '2'}}), {-1, 0, 3}, 3);
    std::vector<int> bossCells;
    EXPECT_EQ(logic.CaptureAt(30, nullptr, bossCells), 2);
    EXPECT_EQ(logic.GetBoard().GetOwner(21), 2);
    EXPECT_EQ(logic.GetBoard().GetOwner(39), 0);
    EXPECT_EQ(logic.GetBoard().GetOwner(31), 0);
    EXPECT_EQ(logic.GetCellCount(1), 0);
    EXPECT_EQ(logic.GetCellCount(3), 1);

    GameLogic second = MakeLogic(Picture({{30, '1'}, {21, '3'}, {22, '3'}, {39, '2'}}), {-1, 0, 3}, 1);
    std::vector<int> captured;
    EXPECT_EQ(second.CaptureAt(30, &captured, bossCells), 3);
    EXPECT_EQ(bossCells, (std::vector<int>{21, 22}));
    EXPECT_EQ(second.GetBoard().GetOwner(21), 0);
    EXPECT_EQ(second.GetBoard().GetOwner(22), 0);
    EXPECT_EQ(second.GetBoard().GetOwner(39), 1);
    EXPECT_EQ(second.GetCellCount(3), 0);
    // Bosses and ordinary players leave each other alone.
    EXPECT_FALSE(second.AreHostile(2, 3));
    EXPECT_TRUE(second.AreHostile(1, 3));
    EXPECT_FALSE(second.AreHostile(2, 2));
}

TEST(GameLogic, LeaderAndWinnerBreakTiesOppositeWays)
{
    // Ten cells each, no free cell: the leader is the later player, the winner the earlier.
    std::string full = Picture({});
    for (int cell = 0; cell < kCellCount; ++cell)
        full[static_cast<size_t>(cell)] = cell < 10 ? '1' : cell < 20 ? '2' : '#';
    GameLogic logic = MakeLogic(full, {-1, 0}, 1);
    EXPECT_EQ(logic.GetLeader(), 2);
    EXPECT_EQ(logic.GetWinner(), 1);
    // With free cells and both able to move the round goes on.
    logic.SetCellKind(40, 1);
    logic.SetCellKind(41, 1);
    logic.ClearCellContent(0, true);
    EXPECT_EQ(logic.GetWinner(), 0);
    EXPECT_EQ(logic.GetLeader(), 2);
    GameLogic empty;
    EXPECT_EQ(empty.GetLeader(), 0);
    EXPECT_EQ(empty.GetWinner(), 0);
}

TEST(GameLogic, NextPlayerSkipsThoseWhoCannotMove)
{
    // Player 2 is walled in by holes; player 3 has no cells: only player 1 can move.
    std::string text = Picture({{30, '1'}, {0, '2'}, {1, '#'}, {2, '#'}, {5, '#'}, {6, '#'}, {7, '#'}, {11, '#'},
                                {12, '#'}, {13, '#'}});
    GameLogic logic = MakeLogic(text, {-1, 0, 1}, 1);
    EXPECT_FALSE(logic.CanMove(2));
    EXPECT_FALSE(logic.IsPlayerAlive(3));
    EXPECT_FALSE(logic.NextPlayer());
    EXPECT_EQ(logic.GetCurrentPlayer(), 1);
    // Before the first turn the scan starts at player 1.
    logic.SetCurrentPlayer(0);
    EXPECT_TRUE(logic.NextPlayer());
    EXPECT_EQ(logic.GetCurrentPlayer(), 1);
    // A third player with a move comes after player 2 is skipped.
    logic.SetCellContent(50, 3);
    EXPECT_TRUE(logic.NextPlayer());
    EXPECT_EQ(logic.GetCurrentPlayer(), 3);
    EXPECT_TRUE(logic.NextPlayer());
    EXPECT_EQ(logic.GetCurrentPlayer(), 1);
}

TEST(GameLogic, EditsKeepCountsTargetsAndTables)
{
    GameLogic logic = MakeLogic(Picture({{30, '1'}, {40, '2'}}), {-1, 0}, 1);
    logic.SetCellKind(31, 0);
    EXPECT_FALSE(logic.GetNeighbourTables().Reach(30).Contains(31));
    EXPECT_FALSE(logic.GetTargets(1).Contains(31));
    logic.SetCellKind(40, 0); // a hole loses its bacterium
    EXPECT_EQ(logic.GetBoard().GetCellFlags(40), 0);
    EXPECT_EQ(logic.GetCellCount(2), 0);
    logic.SetCellContent(40, 2); // holes take no content
    EXPECT_EQ(logic.GetCellCount(2), 0);
    logic.SetCellKind(40, 2);
    logic.SetCellContent(40, BONUS_BOMB);
    logic.SetCellContent(40, 2);
    EXPECT_EQ(logic.GetBoard().GetCellFlags(40), 2 | BONUS_BOMB);
    logic.AssignCells(CellSet::Single(41).Or(CellSet::Single(31)), 2, true);
    EXPECT_EQ(logic.GetCellCount(2), 2);
    logic.SetCellKind(99, 0);
    EXPECT_EQ(FindLogicFault(logic), "");

    logic.SetPlayerCount(3);
    EXPECT_EQ(logic.GetPlayerAiLevel(3), 0);
    logic.CyclePlayerAiLevel(3);
    logic.CyclePlayerAiLevel(3);
    logic.CyclePlayerAiLevel(3);
    EXPECT_EQ(logic.GetPlayerAiLevel(3), 3);
    logic.CyclePlayerAiLevel(3);
    EXPECT_EQ(logic.GetPlayerAiLevel(3), 0);
    logic.CyclePlayerAiLevel(1);
    EXPECT_EQ(logic.GetPlayerAiLevel(1), 0);
    EXPECT_EQ(logic.GetCellCount(4), 0);
    EXPECT_EQ(logic.GetCellCount(-1), 0);
}

TEST(GameLogic, EachLogicOwnsItsNeighbourTables)
{
    GameLogic level = MakeLogic(Picture({{30, '1'}, {31, '#'}, {40, '2'}}), {-1, 0}, 1);
    level.MakeActive();
    EXPECT_FALSE(ActiveNeighbourTables().Ring1(30).Contains(31));
    {
        // A second logic, a snapshot and its changes leave the active one alone.
        GameLogic preview;
        GameLogic snapshot = level;
        EXPECT_FALSE(snapshot.IsActive());
        snapshot.SetCellKind(31, 1);
        EXPECT_TRUE(snapshot.GetNeighbourTables().Ring1(30).Contains(31));
        EXPECT_FALSE(level.GetNeighbourTables().Ring1(30).Contains(31));
        EXPECT_FALSE(ActiveNeighbourTables().Ring1(30).Contains(31));
        EXPECT_TRUE(preview.GetNeighbourTables().Reach(30).IsEmpty());
        // Restoring a snapshot into the active logic: the accessor follows.
        level = snapshot;
        EXPECT_TRUE(level.IsActive());
        EXPECT_TRUE(ActiveNeighbourTables().Ring1(30).Contains(31));
    }
    level.SetCellKind(22, 0);
    EXPECT_FALSE(ActiveNeighbourTables().Ring1(30).Contains(22));
    EXPECT_EQ(FindLogicFault(level), "");
}

TEST(GameLogic, ActiveTablesFallBackToTheFullHexagon)
{
    {
        GameLogic level = MakeLogic(Picture({{31, '#'}}), {-1, 0}, 1);
        level.MakeActive();
        EXPECT_EQ(ActiveNeighbourTables().Ring1(30).Count(), 5);
    }
    EXPECT_EQ(ActiveNeighbourTables().Ring1(30).Count(), 6);
}

TEST(GameLogic, InitResetsAndSeeds)
{
    GameLogic logic = MakeLogic(Picture({{30, '1'}, {40, '2'}}), {-1, 0}, 1);
    logic.Init(0);
    EXPECT_EQ(logic.GetPlayerCount(), 0);
    EXPECT_EQ(logic.GetCurrentPlayer(), 0);
    EXPECT_EQ(logic.GetBoard(), Board());
    Quoll::MersenneTwister expected;
    expected.Seed(GameLogic::kDefaultSeed);
    EXPECT_EQ(logic.GetRandom().GetState(), expected.GetState());
    EXPECT_EQ(logic.Random(0), 0u);
    EXPECT_EQ(logic.GetRandom().GetState(), expected.GetState());
}

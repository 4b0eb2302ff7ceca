// Move generation and depth-0 scoring against the naive, coordinate-based reference: whole move
// lists on seeded random positions, perft counts at depths 1..4 on a dozen positions (frozen
// after both generators agreed), scores against board-copy scoring, the sort against
// std::stable_sort. Failures print the seed.
// Rerun one case: test_board --gtest_filter='MoveGenerator.Perft*'
// Recheck the frozen counts with the naive generator at every depth: QUOLL_NAIVE_PERFT=1.
#include "BoardTestSupport.h"

#include "game/board/MoveGenerator.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <vector>

using namespace BoardTest;

TEST(MoveGenerator, AgreesWithTheNaiveGenerator)
{
    for (uint32_t seed = 1; seed <= 400; ++seed)
    {
        std::mt19937 rng(seed);
        const GameLogic logic = RandomLogic(rng, static_cast<int>(seed % 40), 20 + static_cast<int>(seed % 60));
        for (int player = 1; player <= logic.GetPlayerCount(); ++player)
        {
            MoveList list;
            logic.GenerateMoves(player, list);
            const std::vector<AiMove> expected = NaiveMoves(ToNaive(logic), player);
            ASSERT_EQ(std::vector<AiMove>(list.begin(), list.end()), expected) << "seed " << seed << " player " << player;
            // A player can move exactly when its target set is not empty.
            EXPECT_EQ(logic.CanMove(player), !expected.empty()) << "seed " << seed;
        }
    }
}

TEST(MoveGenerator, FullBoardLongestList)
{
    // One player on every other row of a full board: longer lists than any game reaches
    // still fit the fixed capacity.
    GameLogic logic = MakeLogic("1 1 1 1 1 / . . . . . . / 1 1 1 1 1 1 1 / . . . . . . . . / 1 1 1 1 1 1 1 1 1 /"
                                ". . . . . . . . / 1 1 1 1 1 1 1 / . . . . . . / 1 1 1 1 1",
                                {-1, 0}, 1);
    MoveList list;
    logic.GenerateMoves(1, list);
    EXPECT_EQ(static_cast<size_t>(list.Size()), NaiveMoves(ToNaive(logic), 1).size());
    EXPECT_LE(list.Size(), MoveList::kCapacity);
}

namespace
{
struct PerftCase
{
    uint32_t seed;
    std::array<uint64_t, 4> counts;
};

// Small positions (many holes, few bacteria; two or three players, bosses in five) so that
// depth 4 stays cheap. Counts frozen after the fast and the naive generators agreed at every
// depth.
constexpr std::array<PerftCase, 12> kPerftCases = {{
    {2, {4, 8, 36, 86}},         {4, {8, 40, 401, 2624}},      {7, {3, 15, 85, 697}},
    {8, {29, 143, 4020, 25512}}, {12, {12, 24, 650, 9158}},    {13, {13, 78, 270, 3695}},
    {16, {11, 64, 662, 7195}},   {19, {7, 81, 585, 6877}},     {22, {5, 9, 108, 821}},
    {29, {4, 3, 15, 17}},        {46, {6, 64, 433, 2640}},     {51, {8, 147, 644, 5774}},
}};

GameLogic PerftPosition(uint32_t seed)
{
    std::mt19937 rng(seed * 7919u);
    return RandomLogic(rng, 55 + static_cast<int>(seed % 3) * 5, 75);
}
} // namespace

TEST(MoveGenerator, PerftCountsAreFrozen)
{
    const bool naiveEverywhere = std::getenv("QUOLL_NAIVE_PERFT") != nullptr;
    for (const PerftCase& entry : kPerftCases)
    {
        const GameLogic logic = PerftPosition(entry.seed);
        for (int depth = 1; depth <= 4; ++depth)
        {
            const uint64_t fast = FastPerft(logic, depth);
            EXPECT_EQ(fast, entry.counts[static_cast<size_t>(depth - 1)]) << "seed " << entry.seed << " depth " << depth;
            if (depth <= 2 || naiveEverywhere)
            {
                EXPECT_EQ(NaivePerft(ToNaive(logic), depth), fast) << "seed " << entry.seed << " depth " << depth;
            }
        }
    }
}

TEST(MoveGenerator, ScoresAgreeWithBoardCopies)
{
    for (uint32_t seed = 1; seed <= 400; ++seed)
    {
        std::mt19937 rng(seed);
        const GameLogic logic = RandomLogic(rng, static_cast<int>(seed % 30), 10 + static_cast<int>(seed % 70));
        for (int player = 1; player <= logic.GetPlayerCount(); ++player)
        {
            MoveList fast;
            logic.GenerateMoves(player, fast);
            MoveList reference = fast;
            logic.ScoreMoves(player, fast);
            ReferenceScoreMoves(logic, player, reference);
            ASSERT_EQ(std::vector<AiMove>(fast.begin(), fast.end()),
                      std::vector<AiMove>(reference.begin(), reference.end()))
                << "seed " << seed << " player " << player;
        }
    }
}

TEST(SortMoves, StableForEveryLength)
{
    std::mt19937 rng(99);
    for (int round = 0; round < 300; ++round)
    {
        MoveList list;
        const int length = static_cast<int>(rng() % 200);
        const int spread = 1 + static_cast<int>(rng() % 8);
        for (int i = 0; i < length; ++i)
            list.Add({static_cast<uint8_t>(i % 61), static_cast<uint8_t>(i / 61), static_cast<uint8_t>(40 + rng() % spread),
                      static_cast<uint8_t>(rng() % 2)});
        MoveList expected = list;
        SortMoves(list);
        ReferenceSort(expected);
        ASSERT_EQ(std::vector<AiMove>(list.begin(), list.end()), std::vector<AiMove>(expected.begin(), expected.end()))
            << "round " << round;
    }
}

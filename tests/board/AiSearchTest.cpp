// The computer opponent's search: no move and single moves draw nothing, the strong levels and
// player 1 take the best move, look-aheads never advance the round's generator, the fast search
// equals the reference search (whole logic copies) on seeded random positions, and a golden
// table of choices and draws plus the bench signature pin its behaviour.
// Rerun one case: test_board --gtest_filter='AiSearch.MatchesTheReference*'
// A change of behaviour changes the golden values: say so in the commit message.
#include "BoardTestSupport.h"

#include "game/board/AiSearch.h"
#include "game/board/BenchPositions.h"
#include "game/board/MoveGenerator.h"

#include <gtest/gtest.h>

using namespace BoardTest;

namespace
{
// Player 2 (at the given level) in the corner cell 0, free cells only at 1, 5 and 6 or at 1.
GameLogic Cornered(int level, bool singleMove)
{
    std::string text = "2 . # # # / . . # # # # / # # # # # # # / # # # # # # # # / # # # # # # # # # /"
                       "# # # # # # # # / # # # # # # # / # # # # # # / # # # # 1";
    if (singleMove)
        text = "2 . # # # / 1 1 # # # # / # # # # # # # / # # # # # # # # / # # # # # # # # # /"
               "# # # # # # # # / # # # # # # # / # # # # # # / # # # # 1";
    return MakeLogic(text, {-1, level}, 2, 31);
}
} // namespace

TEST(AiSearch, NoMoveReturnsFalseAndDrawsNothing)
{
    for (int level = -1; level <= 3; ++level)
    {
        GameLogic logic = MakeLogic("2 1 # # # / 1 1 # # # # / # # # # # # # / # # # # # # # # / # # # # # # # # # /"
                                    "# # # # # # # # / # # # # # # # / # # # # # # / # # # # .",
                                    {-1, level}, 2);
        const std::string state = logic.GetRandom().GetState();
        int from = 7;
        int to = 7;
        EXPECT_FALSE(logic.FindBestMove(from, to)) << "level " << level;
        EXPECT_EQ(from, 0);
        EXPECT_EQ(to, 0);
        EXPECT_EQ(logic.GetRandom().GetState(), state);
    }
    GameLogic noPlayers;
    int from = 0;
    int to = 0;
    EXPECT_FALSE(noPlayers.FindBestMove(from, to));
}

TEST(AiSearch, ASingleMoveIsPlayedWithoutDrawing)
{
    for (int level = -1; level <= 3; ++level)
    {
        GameLogic logic = Cornered(level, true);
        const std::string state = logic.GetRandom().GetState();
        int from = 0;
        int to = 0;
        ASSERT_TRUE(logic.FindBestMove(from, to)) << "level " << level;
        EXPECT_EQ(from, 0);
        EXPECT_EQ(to, 1);
        EXPECT_EQ(logic.GetRandom().GetState(), state) << "level " << level;
    }
}

TEST(AiSearch, StrongLevelsAndPlayerOneTakeTheBestMove)
{
    for (uint32_t seed = 1; seed <= 150; ++seed)
    {
        std::mt19937 rng(seed);
        GameLogic logic = RandomLogic(rng, 10, 40);
        const int player = logic.GetCurrentPlayer();
        if (!logic.CanMove(player))
            continue;
        const int level = player == 1 ? logic.GetPlayerAiLevel(1) : 2 + static_cast<int>(seed % 2);
        if (player != 1)
            logic.SetPlayerAiLevel(player, level);
        // The best move of a depth-0 or depth-1 scoring, taken without a draw.
        MoveList list;
        logic.GenerateMoves(player, list);
        if (SearchDepthForLevel(level) == 0)
            logic.ScoreMoves(player, list);
        else
        {
            for (AiMove& move : list)
                move.score = static_cast<uint8_t>(logic.EvaluateMove(move, 1));
            SortMoves(list);
        }
        const std::string state = logic.GetRandom().GetState();
        int from = 0;
        int to = 0;
        ASSERT_TRUE(logic.FindBestMove(from, to));
        EXPECT_EQ(from, list[0].from) << "seed " << seed;
        EXPECT_EQ(to, list[0].to) << "seed " << seed;
        EXPECT_EQ(logic.GetRandom().GetState(), state) << "seed " << seed;
    }
}

TEST(AiSearch, AHumanOtherThanPlayerOneSearchesShallowAndTakesTheBest)
{
    // Player 2 human: depth 0, best move, no draw. The best depth-0 move captures both of
    // player 1's cells next to cell 31.
    GameLogic logic = MakeLogic(". . . . . / . . . . . . / . . . . . . . / . . . . . 1 1 . / . . . . 2 . . . . /"
                                ". . . . . . . . / . . . . . . . / . . . . . . / . . . . .",
                                {-1, -1}, 2);
    const std::string state = logic.GetRandom().GetState();
    int from = 0;
    int to = 0;
    ASSERT_TRUE(logic.FindBestMove(from, to));
    EXPECT_EQ(from, 30);
    EXPECT_EQ(to, 22);
    EXPECT_EQ(logic.GetCellCount(2), 1);
    EXPECT_EQ(logic.GetRandom().GetState(), state);
}

TEST(AiSearch, LookAheadsNeverAdvanceTheRoundsGenerator)
{
    // Level 3 at depth 1 against a level-0 opponent that draws in every reply: the round's
    // generator stays untouched, because only the final choice draws from it.
    for (uint32_t seed = 1; seed <= 60; ++seed)
    {
        std::mt19937 rng(seed);
        GameLogic logic = RandomLogic(rng, 5, 50);
        const int player = logic.GetCurrentPlayer() == 1 ? 2 : logic.GetCurrentPlayer();
        logic.SetCurrentPlayer(player);
        logic.SetPlayerAiLevel(player, 3);
        logic.SetPlayerAiLevel(1, 0);
        const std::string state = logic.GetRandom().GetState();
        MoveList list;
        logic.GenerateMoves(player, list);
        for (const AiMove& move : list)
            (void)logic.EvaluateMove(move, 1);
        int from = 0;
        int to = 0;
        (void)logic.FindBestMove(from, to);
        EXPECT_EQ(logic.GetRandom().GetState(), state) << "seed " << seed;
    }
}

TEST(AiSearch, MatchesTheReferenceSearch)
{
    // Chosen moves and the generator's state afterwards, at every level and depth.
    for (uint32_t seed = 1; seed <= 160; ++seed)
    {
        std::mt19937 rng(seed);
        GameLogic logic = RandomLogic(rng, static_cast<int>(seed % 25), 25 + static_cast<int>(seed % 50));
        const int player = logic.GetCurrentPlayer();
        if (player != 1)
            logic.SetPlayerAiLevel(player, static_cast<int>(seed % 5) - 1);
        for (int depth = 0; depth <= 1; ++depth)
        {
            GameLogic reference = logic;
            GameLogic fast = logic;
            const AiMove expected = ReferenceSearch(reference, depth);
            const AiMove actual = fast.Search(depth);
            ASSERT_EQ(actual, expected) << "seed " << seed << " depth " << depth;
            ASSERT_EQ(fast.GetRandom().GetState(), reference.GetRandom().GetState()) << "seed " << seed;
        }
    }
}

TEST(AiSearch, LevelZeroTakesLargeGains)
{
    // Player 2 at level 0 can jump into the ring of five of player 1's cells around cell 30: a
    // gain of five.
    GameLogic logic = MakeLogic(". . . . . / . . . . . . / . . . . . . . / . . . 1 1 . . . / . . . 1 . 1 . . . /"
                                ". . . 1 1 . . . / . . . 2 . . . / . . . . . . / . . . . .",
                                {-1, 0}, 2);
    for (int i = 0; i < 20; ++i)
    {
        GameLogic copy = logic;
        copy.GetRandom().Seed(static_cast<uint32_t>(i + 1));
        int from = 0;
        int to = 0;
        ASSERT_TRUE(copy.FindBestMove(from, to));
        EXPECT_EQ(to, 30);
        EXPECT_EQ(from, 46);
    }
}

namespace
{
struct GoldenChoice
{
    int position;
    int level;
    uint32_t seed;
    int from;
    int to;
    int draws;
};

// Position (0 opening, 1 crowded, 2 sparse), mover level, seed, chosen move, draws taken.
constexpr GoldenChoice kGolden[] = {
    {0, 0, 1, 56, 51, 3}, {0, 0, 2, 56, 57, 3}, {0, 0, 3, 56, 57, 3}, {0, 0, 4, 56, 57, 3},
    {0, 1, 1, 4, 3, 1},   {0, 1, 2, 4, 3, 1},   {0, 1, 3, 4, 3, 1},   {0, 1, 4, 56, 51, 2},
    {1, 0, 1, 10, 24, 0}, {1, 0, 2, 10, 24, 0}, {1, 0, 3, 10, 24, 0}, {1, 0, 4, 10, 24, 0},
    {1, 1, 1, 10, 24, 1}, {1, 1, 2, 10, 24, 1}, {1, 1, 3, 10, 24, 1}, {1, 1, 4, 14, 20, 2},
    {2, 0, 1, 33, 42, 3}, {2, 0, 2, 51, 56, 3}, {2, 0, 3, 51, 56, 3}, {2, 0, 4, 16, 3, 3},
    {2, 1, 1, 16, 9, 1},  {2, 1, 2, 16, 9, 1},  {2, 1, 3, 16, 9, 1},  {2, 1, 4, 33, 24, 2},
};
} // namespace

TEST(AiSearch, GoldenChoicesOfTheWeakLevels)
{
    const auto& positions = GetBenchPositions();
    for (const GoldenChoice& golden : kGolden)
    {
        GameLogic logic = MakeBenchLogic(positions[static_cast<size_t>(golden.position)], golden.level, golden.seed);
        const Quoll::MersenneTwister before = logic.GetRandom();
        int from = 0;
        int to = 0;
        ASSERT_TRUE(logic.FindBestMove(from, to));
        EXPECT_EQ(from, golden.from) << "position " << golden.position << " level " << golden.level << " seed " << golden.seed;
        EXPECT_EQ(to, golden.to) << "position " << golden.position << " level " << golden.level << " seed " << golden.seed;
        EXPECT_EQ(CountDraws(before, logic.GetRandom()), golden.draws)
            << "position " << golden.position << " level " << golden.level << " seed " << golden.seed;
    }
}

TEST(AiSearch, BenchSignatureIsPinned)
{
    // The same figures bench/board_bench prints as its signature.
    const SearchSignature signature = ComputeSearchSignature();
    EXPECT_EQ(signature.scoredMoves, 686273u);
    EXPECT_EQ(signature.checksum, 76793449u);
}

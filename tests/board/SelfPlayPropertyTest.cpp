// Property test: hundreds of computer-against-computer rounds on generated boards (holes,
// bonuses, two or three players, bosses), checking after every move that the counts equal the
// board, the target sets equal recomputed ones, no bits lie outside the 61 cells and no owner
// exceeds the player count; each round then survives a section round trip.
// Rerun one case: test_board --gtest_filter='SelfPlay.*'
#include "BoardTestSupport.h"

#include "game/board/LogicChecker.h"
#include "game/board/SelfPlay.h"

#include <gtest/gtest.h>

using namespace BoardTest;

TEST(SelfPlay, RoundsStayConsistentMoveAfterMove)
{
    int finished = 0;
    for (uint32_t seed = 1; seed <= 200; ++seed)
    {
        std::mt19937 rng(seed);
        GameLogic logic = RandomLogic(rng, static_cast<int>(seed % 45), 55 + static_cast<int>(seed % 40));
        for (int player = 1; player <= logic.GetPlayerCount(); ++player)
            if (logic.GetPlayerAiLevel(player) < 0)
                logic.SetPlayerAiLevel(player, static_cast<int>(rng() % 3));
        ASSERT_EQ(FindLogicFault(logic), "") << "seed " << seed;
        for (int turn = 0; turn < 200; ++turn)
        {
            const TurnResult result = PlayComputerTurn(logic);
            ASSERT_EQ(FindLogicFault(logic), "") << "seed " << seed << " turn " << turn;
            if (result != TurnResult::Played)
            {
                finished += result == TurnResult::RoundOver;
                break;
            }
        }
        Quoll::Buffer buffer;
        logic.Write(buffer);
        GameLogic read;
        ASSERT_TRUE(read.Read(buffer)) << "seed " << seed;
        EXPECT_EQ(read.GetBoard(), logic.GetBoard()) << "seed " << seed;
    }
    // Most rounds reach their end within 200 turns.
    EXPECT_GT(finished, 160);
}

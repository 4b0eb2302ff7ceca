// Reproducibility of whole games through the session: the same game played twice gives the same
// moves, board and outcome, and a game saved mid-way, loaded into a fresh session and finished
// gives the same moves and outcome as the game played straight through. The human side is a
// seeded policy; computer players draw from the level's own generator, saved with the level.
// Rerun one case: test_level --gtest_filter='LevelReplay.*'
#include "LevelTestSupport.h"

#include <gtest/gtest.h>

using namespace LevelTest;

namespace
{
constexpr int kMaxUpdates = 50000;

// Three players, bonuses of every kind and a few holes.
std::string ReplayPicture()
{
    return Picture({{0, '1'}, {1, '1'}, {30, '1'}, {4, '2'}, {9, '2'}, {56, '3'}, {60, '3'}, {20, 't'}, {25, 'm'},
                    {40, 'b'}, {35, 'l'}, {15, '#'}, {44, '#'}, {47, '#'}});
}

struct Game
{
    std::vector<RecordingLevelView::MoveRecord> moves;
    std::optional<LevelOutcome> outcome;
    Board board;
    LevelParams params;
};

// Plays until the game is over, or until the human is to move after humanMoves of its moves.
void PlayOn(LevelFixture& f, HumanPolicy& human, int humanMoves = -1)
{
    int played = 0;
    for (int i = 0; i < kMaxUpdates && !f.session.IsOver(); ++i)
    {
        if (f.WaitsForHuman())
        {
            const bool move = f.level().GetState() == LevelState::HumanToMove;
            if (move && played == humanMoves)
                return;
            human.Play(f);
            played += move;
        }
        f.Step();
    }
}

Game Collect(const std::vector<RecordingLevelView::MoveRecord>& moves, LevelFixture& f)
{
    return {moves, f.session.GetOutcome(), f.level().GetLogic().GetBoard(), f.level().GetParams()};
}

Game PlayStraight(uint32_t seed)
{
    LevelFixture f;
    f.StartPicture(ReplayPicture(), {-1, 0, 1}, 1, seed);
    HumanPolicy human(seed);
    PlayOn(f, human);
    return Collect(f.view.GetMoves(), f);
}

void ExpectSameGame(const Game& a, const Game& b)
{
    ASSERT_TRUE(a.outcome.has_value());
    ASSERT_TRUE(b.outcome.has_value());
    EXPECT_EQ(a.moves, b.moves);
    EXPECT_EQ(a.outcome->result, b.outcome->result);
    EXPECT_EQ(a.outcome->score, b.outcome->score);
    EXPECT_EQ(a.outcome->medalGrade, b.outcome->medalGrade);
    EXPECT_EQ(a.board, b.board);
    EXPECT_EQ(a.params, b.params);
}
} // namespace

TEST(LevelReplay, SameGameTwice)
{
    for (uint32_t seed : {3u, 11u, 2024u})
    {
        SCOPED_TRACE(seed);
        const Game first = PlayStraight(seed);
        EXPECT_GT(first.moves.size(), 4u);
        ExpectSameGame(first, PlayStraight(seed));
    }
}

TEST(LevelReplay, SavedMidwayAndFinishedInAFreshSession)
{
    for (uint32_t seed : {3u, 11u, 2024u})
    {
        SCOPED_TRACE(seed);
        const Game straight = PlayStraight(seed);

        LevelFixture first;
        first.StartPicture(ReplayPicture(), {-1, 0, 1}, 1, seed);
        HumanPolicy human(seed);
        PlayOn(first, human, 3);
        ASSERT_FALSE(first.session.IsOver());
        Quoll::Buffer saved;
        first.level().Save(saved, false);

        LevelFixture second;
        second.StartBody(saved);
        PlayOn(second, human);
        std::vector<RecordingLevelView::MoveRecord> moves = first.view.GetMoves();
        moves.insert(moves.end(), second.view.GetMoves().begin(), second.view.GetMoves().end());
        ExpectSameGame(straight, Collect(moves, second));
    }
}

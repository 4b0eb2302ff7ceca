// Scores and medal grades: the capture table, the round and cell bonuses on full and small
// boards, the level bonus with its single-precision constant, the medal grade and the grade the
// quick menu shows, and the same numbers booked by a level (ComputeScore splitting the level
// bonus, the editor's medal operations).
// Rerun one case: test_level --gtest_filter='ScoreRules.*'
#include "LevelTestSupport.h"

#include "game/level/ScoreRules.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

using namespace LevelTest;

TEST(ScoreRules, CapturesBookedByTheLevel)
{
    LevelFixture f;
    f.StartPicture(Picture({{30, '1'}, {0, '2'}}), {-1, 0});
    const std::pair<int, int> cases[] = {{1, 10}, {2, 40}, {3, 90}, {6, 360}, {7, 420}};
    for (const auto& [captured, points] : cases)
    {
        const LevelParams before = f.level().GetParams();
        EXPECT_EQ(f.level().AddScore(ScoreKind::Captures, captured), CapturePointsPerCell(captured));
        EXPECT_EQ(f.level().GetParams().captureScore - before.captureScore, points) << captured << " cells";
        EXPECT_EQ(f.level().GetParams().score - before.score, points) << captured << " cells";
    }
    EXPECT_EQ(CapturePointsPerCell(0), 0);
    EXPECT_EQ(CapturePointsPerCell(7), 60);
}

TEST(ScoreRules, RoundAndCellBonuses)
{
    EXPECT_EQ(RoundBonusPoints(61, 10), 2460);
    EXPECT_EQ(RoundBonusPoints(61, 1), 2900);
    EXPECT_EQ(CellBonusPoints(61, 30), 1290);
    EXPECT_EQ(CellBonusPoints(61, 61), 2640);
    EXPECT_EQ(RoundBonusPoints(40, 5), 2290);
    EXPECT_EQ(CellBonusPoints(40, 20), 1800);
    EXPECT_EQ(RoundBonusPoints(40, 90), 0); // more rounds than cells
}

TEST(ScoreRules, LevelBonus)
{
    EXPECT_EQ(LevelBonusPoints(1), 500);
    EXPECT_EQ(LevelBonusPoints(10), 720);
    EXPECT_EQ(LevelBonusPoints(70), 5940);
    EXPECT_EQ(LevelBonusPoints(-5), 440);
}

TEST(ScoreRules, ComputeScoreSplitsTheLevelBonus)
{
    LevelFixture f;
    f.services.SetLevelNumber(10);
    f.StartPicture(Picture({{30, '1'}, {0, '2'}}), {-1, 0});
    f.level().ComputeScore();
    const LevelParams& params = f.level().GetParams();
    // Round 1 on the full board; the human holds one cell.
    EXPECT_EQ(params.roundBonus, RoundBonusPoints(61, 1) + 360);
    EXPECT_EQ(params.cellBonus, CellBonusPoints(61, 1) + 360);
    EXPECT_EQ(params.score, RoundBonusPoints(61, 1) + CellBonusPoints(61, 1) + 720);
}

TEST(ScoreRules, MedalGrades)
{
    const MedalRule cells{30, 20, 0};
    EXPECT_EQ(MedalGrade(cells, 30, 99), 2);
    EXPECT_EQ(MedalGrade(cells, 20, 99), 1);
    EXPECT_EQ(MedalGrade(cells, 19, 99), 0);
    const MedalRule rounds{10, 15, 1};
    EXPECT_EQ(MedalGrade(rounds, 0, 9), 2);
    EXPECT_EQ(MedalGrade(rounds, 0, 10), 1);
    EXPECT_EQ(MedalGrade(rounds, 0, 15), 0);
    EXPECT_EQ(MedalGrade(MedalRule{10, 15, 7}, 99, 0), 0);
    EXPECT_EQ(ShownMedalGrade(cells, 0), 1);
    EXPECT_EQ(ShownMedalGrade(cells, 2), 2);
    EXPECT_EQ(ShownMedalGrade(rounds, 2), 1);
    EXPECT_EQ(ShownMedalGrade(rounds, 0), 0);
}

TEST(ScoreRules, EditorMedalOperations)
{
    LevelFixture f;
    f.StartPicture(Picture({{30, '1'}, {0, '2'}}), {-1, 0});
    f.level().EditSetMedalThresholds(1, 4);
    EXPECT_EQ(f.level().GetMedalRule(), (MedalRule{1, 4, 1}));
    EXPECT_EQ(f.level().GetMedalGrade(), 1); // round 1: not below 1, below 4
    f.level().EditToggleMedalMode();
    EXPECT_EQ(f.level().GetMedalRule(), (MedalRule{4, 1, 0}));
    EXPECT_EQ(f.level().GetMedalGrade(), 1); // one cell held: below 4, not below 1
    EXPECT_EQ(f.level().GetShownMedalGrade(), 2);
    f.level().EditToggleMedalMode();
    EXPECT_EQ(f.level().GetMedalRule(), (MedalRule{1, 4, 1}));
}

TEST(ScoreRules, NumbersBeyondAGameStayWithinTheirRange)
{
    // Rounds, cell counts and level numbers no game reaches give bounded points, computed
    // without overflow: a round below zero counts as none played, cells beyond the board as the
    // whole board, a huge level number as the score's ceiling.
    EXPECT_EQ(RoundBonusPoints(61, INT_MIN), RoundBonusPoints(61, 0));
    EXPECT_EQ(RoundBonusPoints(61, INT_MAX), 0);
    EXPECT_EQ(RoundBonusPoints(INT_MAX, 1), RoundBonusPoints(61, 1));
    EXPECT_EQ(CellBonusPoints(61, INT_MAX), CellBonusPoints(61, 61));
    EXPECT_EQ(CellBonusPoints(INT_MIN, 5), CellBonusPoints(0, 5));
    EXPECT_EQ(LevelBonusPoints(INT_MAX), kMaxScore);
    EXPECT_EQ(LevelBonusPoints(INT_MIN), kMaxScore);
    EXPECT_EQ(CapturePointsPerCell(INT_MIN), 0);
    EXPECT_EQ(SaturatingAdd(kMaxScore - 5, INT64_C(1) << 40, kMaxScore), kMaxScore);
    EXPECT_EQ(SaturatingAdd(3, -10, kMaxScore), 0);
}

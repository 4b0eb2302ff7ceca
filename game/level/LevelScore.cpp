// Level: the score booked into the parameters and the medal grade of a finished level.
#include "game/level/Level.h"

#include <algorithm>
#include <cstdint>

void Level::BookPoints(int32_t& part, int64_t points)
{
    // Saturating at the score's ceiling: no level reaches it, and no file can make it wrap.
    part = SaturatingAdd(part, points, kMaxScore);
    mParams.score = SaturatingAdd(mParams.score, points, kMaxScore);
}

int Level::AddScore(ScoreKind kind, int count)
{
    const int boardCells = mLogic.GetBoard().CountExistingCells();
    int result = 0;
    switch (kind)
    {
    case ScoreKind::Captures:
    {
        const int perCell = CapturePointsPerCell(count);
        BookPoints(mParams.captureScore, int64_t{perCell} * count);
        result = perCell;
        break;
    }
    case ScoreKind::HiddenObject:
        result = static_cast<int>(std::clamp<int64_t>(int64_t{20} * count, 0, kMaxScore));
        BookPoints(mParams.captureScore, result);
        break;
    case ScoreKind::FewRounds:
        result = RoundBonusPoints(boardCells, mParams.round);
        BookPoints(mParams.roundBonus, result);
        break;
    case ScoreKind::CellsHeld:
        result = CellBonusPoints(boardCells, mParams.playerCells[0]);
        BookPoints(mParams.cellBonus, result);
        break;
    }
    mRefreshPending = true;
    return result;
}

void Level::ComputeScore()
{
    AddScore(ScoreKind::FewRounds, mParams.round);
    AddScore(ScoreKind::CellsHeld, mParams.playerCells[0]);
    // The level bonus is split evenly between the two bonus parts shown.
    const int levelBonus = LevelBonusPoints(mServices.GetCurrentLevelNumber());
    mParams.score = SaturatingAdd(mParams.score, levelBonus, kMaxScore);
    mParams.roundBonus = SaturatingAdd(mParams.roundBonus, levelBonus / 2, kMaxScore);
    mParams.cellBonus = SaturatingAdd(mParams.cellBonus, levelBonus / 2, kMaxScore);
}

int Level::GetMedalGrade() const { return MedalGrade(mMedalRule, mParams.playerCells[0], mParams.round); }

int Level::GetShownMedalGrade() const { return ShownMedalGrade(mMedalRule, GetMedalGrade()); }

void Level::EditToggleMedalMode()
{
    mMedalRule.mode = mMedalRule.mode + 1 > 1 ? 0 : mMedalRule.mode + 1;
    OrderMedalThresholds(mMedalRule);
    RefreshScene();
}

void Level::EditSetMedalThresholds(int first, int second)
{
    mMedalRule.firstThreshold = first;
    mMedalRule.secondThreshold = second;
    OrderMedalThresholds(mMedalRule);
    RefreshScene();
}

// Level: the score booked into the parameters and the medal grade of a finished level.
#include "game/level/Level.h"

int Level::AddScore(ScoreKind kind, int count)
{
    const int boardCells = mLogic.GetBoard().CountExistingCells();
    int result = 0;
    switch (kind)
    {
    case ScoreKind::Captures:
    {
        const int perCell = CapturePointsPerCell(count);
        mParams.captureScore += perCell * count;
        mParams.score += perCell * count;
        result = perCell;
        break;
    }
    case ScoreKind::HiddenObject:
        result = 20 * count;
        mParams.captureScore += result;
        mParams.score += result;
        break;
    case ScoreKind::FewRounds:
        result = RoundBonusPoints(boardCells, mParams.round);
        mParams.roundBonus += result;
        mParams.score += result;
        break;
    case ScoreKind::CellsHeld:
        result = CellBonusPoints(boardCells, mParams.playerCells[0]);
        mParams.cellBonus += result;
        mParams.score += result;
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
    mParams.score += levelBonus;
    mParams.roundBonus += levelBonus / 2;
    mParams.cellBonus += levelBonus / 2;
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

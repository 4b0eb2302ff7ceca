#include "game/level/BonusImpl.h"

#include "game/level/Level.h"

#include "framework/core/MersenneTwister.h"

#include <algorithm>

namespace
{
constexpr int kBombPickCount = 3;

// Marks the free cells and offers them to the scene's choice.
void OfferFreeCells(Level& level)
{
    const CellSet free = level.GetLogic().GetBoard().GetFreeCells();
    level.GetView().SetCellsState(free, CellViewState::JumpTarget);
    level.GetView().BeginCellSelection(CellSelectionMode::Target, 1, kCellPickRadius, free);
}

bool IsFreeCell(const Level& level, int cell)
{
    const Board& board = level.GetLogic().GetBoard();
    return Level::IsCell(cell) && board.Exists(cell) && board.GetOwner(cell) == 0;
}
} // namespace

// --- Teleport ---

TeleportBonusImpl::TeleportBonusImpl(Level& level) : mLevel(level)
{
    mLevel.SelectOrMove(mLevel.GetBonusSourceCell());
    OfferFreeCells(mLevel);
}

void TeleportBonusImpl::OnCellChosen(int cell)
{
    if (mLevel.GetSelectedCell() != -1 && IsFreeCell(mLevel, cell))
    {
        mReady = true;
        mTarget = cell;
    }
}

void TeleportBonusImpl::Apply()
{
    if (!mReady)
        return;
    mLevel.Move(mTarget, false);
    mLevel.GetServices().PlaySound(LevelSound::BonusTeleport, 1.0f, 0.0f);
    mLevel.GetServices().OnAchievementEvent(AchievementEvent::Teleported);
}

// --- Mine ---

MineBonusImpl::MineBonusImpl(Level& level) : mLevel(level) { OfferFreeCells(mLevel); }

void MineBonusImpl::OnCellChosen(int cell)
{
    if (IsFreeCell(mLevel, cell))
    {
        mReady = true;
        mTarget = cell;
    }
}

void MineBonusImpl::Apply()
{
    if (!mReady || mTarget == -1)
        return;
    // A mine laid on a cell that holds another bonus replaces it.
    mLevel.PlaceOnCell(mTarget, BONUS_LAID_MINE, 0.0f);
    mLevel.GetView().EndCellSelection();
    mLevel.GetView().ResetCellStates();
    mLevel.GetServices().PlaySound(LevelSound::BonusMineSet, 1.0f, 0.0f);
    mLevel.GetServices().OnAchievementEvent(AchievementEvent::MineLaid);
}

// --- Bomb ---

BombBonusImpl::BombBonusImpl(Level& level) : mLevel(level)
{
    const CellSet existing = mLevel.GetLogic().GetBoard().GetExistingCells();
    mLevel.GetView().SetCellsState(existing, CellViewState::BombTarget);
    mLevel.GetView().BeginCellSelection(CellSelectionMode::Bomb, kBombPickCount, kBombPickRadius, existing);
}

void BombBonusImpl::OnCellChosen(int /*cell*/)
{
    // The scene picks the cells around the pointer; the clicked cell itself does not count.
    // Once ready, further clicks would count cells twice.
    if (mReady)
        return;
    std::vector<int> picked;
    mLevel.GetView().GetSelectedTargets(picked);
    const Board& board = mLevel.GetLogic().GetBoard();
    for (int cell : picked)
    {
        const bool known = std::find(mChosen.begin(), mChosen.end(), cell) != mChosen.end();
        if (Level::IsCell(cell) && board.Exists(cell) && !known && mChosen.size() < static_cast<size_t>(kBombPickCount))
            mChosen.push_back(cell);
    }
    mReady = !mChosen.empty();
}

void BombBonusImpl::Apply()
{
    if (!mReady)
        return;
    // 1. Every picked cell is wiped out, the human's own and free ones included; only the
    //    enemy cells among them (players 2 and 3) score.
    const Board& board = mLevel.GetLogic().GetBoard();
    std::vector<int> enemies;
    for (int cell : mChosen)
        if (board.GetOwner(cell) > 1)
            enemies.push_back(cell);
    mLevel.BombCells(mChosen, 0.0f);
    mLevel.GetView().EndCellSelection();
    mLevel.GetView().ResetCellStates();
    // 2. Points per enemy cell, shown on each.
    const int count = static_cast<int>(enemies.size());
    const int perCell = mLevel.AddScore(ScoreKind::Captures, count);
    for (int cell : enemies)
        mLevel.GetView().ShowFloatingText(perCell, count - 1, 0.4f + Quoll::RandFloat(0.2f), mLevel.GetView().GetCellCentre(cell));
    if (perCell != 0)
        mLevel.GetServices().OnAchievementEvent(AchievementEvent::BombHitEnemy);
}

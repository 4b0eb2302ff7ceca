// Level: bonuses picked up, armed and clicked; laid mines and bombs exploding; units placed.
#include "game/level/Level.h"

#include "framework/core/MersenneTwister.h"

namespace
{
// Seconds between a mine's blast and the blasts of the laid mines next to it.
constexpr float kChainDelay = 0.3f;
} // namespace

void Level::CollectBonuses(int target, const std::vector<int>& captured, const std::vector<int>& bossCells)
{
    const Board& board = mLogic.GetBoard();
    if (board.GetBonus(target) != BONUS_NONE)
        CollectBonus(target, board.GetBonus(target));
    for (int cell : captured)
        if (mLogic.GetBoard().GetBonus(cell) != BONUS_NONE)
            CollectBonus(cell, mLogic.GetBoard().GetBonus(cell));
    if (mBoss)
        mBoss->PlaceSpawnedUnits(bossCells);
}

void Level::CollectBonus(int cell, int code)
{
    // 1. A laid mine explodes under the bacterium.
    if (code == BONUS_LAID_MINE)
    {
        ExplodeMine(cell, 0.0f);
        return;
    }
    // 2. Any other bonus leaves the board. Only the human keeps one, one at a time, and only
    //    when it can be used: a mine or teleport needs a free cell, and a teleport a bacterium of
    //    the human on the cell where it was picked up. Others are destroyed.
    mLogic.ClearCellContent(cell, false);
    if (mLogic.GetCurrentPlayer() != 1 || mPendingBonus || !CanUseBonus(code, cell))
    {
        mView->ActivateCellBonus(cell, 0.0f);
        return;
    }
    // 3. Into the first inventory slot, armed at once.
    mParams.inventory[0] = code;
    mView->CollectBonus(cell);
    mBonusSourceCell = cell;
    ArmBonus(0);
}

bool Level::CanUseBonus(int code, int sourceCell) const
{
    // A mine or teleport needs a free cell, and a teleport a bacterium of the human on the
    // cell where it was picked up.
    const bool noFreeCell = mLogic.GetFreeCellCount() == 0 && (code == BONUS_MINE || code == BONUS_TELEPORT);
    const bool noBacterium =
        code == BONUS_TELEPORT && (!IsCell(sourceCell) || mLogic.GetBoard().GetOwner(sourceCell) != 1);
    return !noFreeCell && !noBacterium;
}

void Level::ArmBonus(int slot)
{
    mParams.armedSlot = -1;
    int kind = 0;
    if (slot >= 0 && slot < 3 && mParams.inventory[slot] != 0)
    {
        mParams.armedSlot = slot;
        kind = mParams.inventory[slot];
        switch (kind)
        {
        case BONUS_MINE:
            mPendingBonus = std::make_unique<MineBonusImpl>(*this);
            break;
        case BONUS_TELEPORT:
            mPendingBonus = std::make_unique<TeleportBonusImpl>(*this);
            break;
        case BONUS_BOMB:
            mPendingBonus = std::make_unique<BombBonusImpl>(*this);
            break;
        default:
            mPendingBonus = std::make_unique<BonusImpl>();
            break;
        }
    }
    if (mBoss)
        mBoss->SetPendingBonus(kind);
    mRefreshPending = true;
}

bool Level::OnBonusClick(int cell, ScreenPoint point)
{
    mPendingBonus->OnCellChosen(cell);
    if (mPendingBonus->IsReady())
    {
        mRefreshPending = true;
        return true;
    }
    if (mBoss && mBoss->TryUseBonus(point))
    {
        mPendingBonus->MarkReady();
        return true;
    }
    return false;
}

void Level::ExplodeMine(int cell, float time)
{
    // The blast wipes out the mine's cell and the six around it; laid mines among them follow
    // 0.3 s later. Each cell is cleared before its neighbours are looked at, so the chain ends.
    Sound(LevelSound::BonusMineHit, 1.0f);
    const CellSet ring = mLogic.GetNeighbourTables().Ring1(cell);
    const int owner = mLogic.GetBoard().GetOwner(cell);
    if (owner == 1)
        Event(AchievementEvent::MineHitHuman);
    else if (owner > 1)
    {
        if (cell == mLastLaidMine)
            Event(AchievementEvent::OwnMineHitEnemy);
        Event(AchievementEvent::MineHitEnemy);
    }
    AnimateCellChange(cell, time, CellChangeKind::MineBlast);
    for (int neighbour : ring)
    {
        if (mLogic.GetBoard().GetOwner(neighbour) > 1)
            Event(AchievementEvent::MineHitEnemy);
        const bool wasMine = mLogic.GetBoard().GetBonus(neighbour) == BONUS_LAID_MINE;
        AnimateCellChange(neighbour, time + kChainDelay, CellChangeKind::MineBlast);
        if (wasMine)
            ExplodeMine(neighbour, time + kChainDelay);
    }
}

void Level::BombCells(const std::vector<int>& cells, float time)
{
    const int enemiesBefore = EnemyCellCount();
    for (int cell : cells)
    {
        if (!IsCell(cell))
            continue;
        const bool wasMine = mLogic.GetBoard().GetBonus(cell) == BONUS_LAID_MINE;
        AnimateCellChange(cell, time, CellChangeKind::BombBlast);
        if (wasMine)
            ExplodeMine(cell, time + kChainDelay);
    }
    if (enemiesBefore - EnemyCellCount() > 3)
        Event(AchievementEvent::BombedFourEnemies);
}

void Level::AnimateCellChange(int cell, float time, CellChangeKind kind)
{
    if (!IsCell(cell))
        return;
    if (mLogic.GetBoard().GetOwner(cell) != 0)
        mView->StartCaptureAt(cell, time);
    if (kind == CellChangeKind::BombBlast)
        mView->SetCellExplosionTimer(cell, time + Quoll::RandFloat(0.15f));
    mView->ActivateCellBonus(cell, time);
    mLogic.ClearCellContent(cell, false);
    mLogic.ClearCellContent(cell, true);
}

void Level::PlaceOnCell(int cell, int kind, float delay)
{
    if (!IsCell(cell) || !mLogic.GetBoard().Exists(cell))
        return;
    const bool bacterium = kind >= 1 && kind <= mLogic.GetPlayerCount();
    const bool bonus = kind == BONUS_MINE || kind == BONUS_TELEPORT || kind == BONUS_BOMB || kind == BONUS_LAID_MINE;
    if (!bacterium && !bonus)
        return;
    mLogic.SetCellContent(cell, kind);
    if (bonus)
    {
        mView->AddBonus(cell, kind, delay);
        if (kind == BONUS_LAID_MINE)
            mLastLaidMine = cell;
    }
    else
    {
        mView->AddBacteria(cell, kind, delay);
    }
}

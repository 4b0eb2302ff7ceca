#include "game/level/BossRules.h"

#include "game/level/Level.h"

#include "framework/core/MersenneTwister.h"

#include <algorithm>
#include <cmath>

namespace
{
// The cell of set number index in ascending id order.
int NthCell(CellSet cells, uint32_t index)
{
    for (int cell : cells)
        if (index-- == 0)
            return cell;
    return -1;
}

// One of the cells, drawn with the generator; -1 (and no draw) when there is none.
int DrawCell(CellSet cells, Quoll::MersenneTwister& random)
{
    const int count = cells.Count();
    return count > 0 ? NthCell(cells, random.Next(static_cast<uint32_t>(count))) : -1;
}
} // namespace

// --- BossSpawnBag ---

int BossSpawnBag::Next(Quoll::MersenneTwister& random)
{
    const int kind = mKinds[mIndex];
    mIndex += 1;
    if (kind != BONUS_BOMB && mIndex < mKinds.size())
        return kind;
    mIndex = 0;
    for (size_t slot = 0; slot < 3; ++slot)
    {
        const int drawn = 4 + 4 * static_cast<int>(random.Next(3));
        mKinds[slot] = drawn == BONUS_BOMB && slot < 2 ? BONUS_LAID_MINE : drawn;
    }
    mKinds[3] = BONUS_BOMB;
    return kind;
}

void BossSpawnBag::Reset()
{
    mKinds = kInitialBag;
    mIndex = 0;
}

BossSpawnBag& GetBossSpawnBag()
{
    static BossSpawnBag bag;
    return bag;
}

// --- BossRules ---

BossRules::BossRules(Level& level) : mLevel(level) {}

Quoll::MersenneTwister& BossRules::Random() { return mLevel.GetRandom(); }

int BossRules::GetHitPoints() const { return mLevel.GetParams().bossHitPoints; }

int BossRules::GetCountdown() const { return mLevel.GetParams().bossCountdown; }

BossPhase BossRules::GetPhase() const
{
    if (IsAnimating())
        return BossPhase::RayFlying;
    return GetHitPoints() <= 0 ? BossPhase::Beaten : BossPhase::Waiting;
}

int BossRules::GetBossPlayer() const
{
    const GameLogic& logic = mLevel.GetLogic();
    for (int player = 1; player <= logic.GetPlayerCount(); ++player)
        if (logic.GetPlayerAiLevel(player) == kBossLevel)
            return player;
    return 0;
}

void BossRules::OnTurnPassed()
{
    LevelParams& params = mLevel.GetParams();
    params.bossCountdown -= 1;
    if (!CanAct())
        return;
    params.bossCountdown = kCountdown;
    StartAttack();
}

bool BossRules::CanAct() const
{
    if (GetHitPoints() <= 0)
        return false;
    if (GetCountdown() <= 0)
        return true;
    const GameLogic& logic = mLevel.GetLogic();
    return logic.GetCellCount(GetBossPlayer()) == 0 || logic.GetFreeCellCount() == 0;
}

BossTarget BossRules::ChooseTarget()
{
    // A free cell without any bonus first; then the human's cells, whose neighbours go too; then
    // any cell of the board (never a hole).
    const Board& board = mLevel.GetLogic().GetBoard();
    Quoll::MersenneTwister& random = Random();
    const CellSet untouched = board.GetCellsWithoutFlags(0xFFFF);
    if (untouched.Any())
        return {DrawCell(untouched, random), false};
    const CellSet human = board.GetOwnedCells(1) & board.GetExistingCells();
    if (human.Any())
        return {DrawCell(human, random), true};
    return {DrawCell(board.GetExistingCells(), random), true};
}

void BossRules::StartAttack()
{
    const BossTarget target = ChooseTarget();
    if (!Level::IsCell(target.cell))
        return;
    mTargetCell = target.cell;
    // 1. The ray flies from the portrait to the cell's centre at a fixed speed.
    const ScreenPoint centre = mLevel.GetView().GetCellCentre(target.cell);
    mRayStart = {static_cast<float>(mPortrait.x) + kRayOffset.x, static_cast<float>(mPortrait.y) + kRayOffset.y};
    mRayEnd = {static_cast<float>(centre.x), static_cast<float>(centre.y)};
    mRayDuration = std::hypot(mRayEnd.x - mRayStart.x, mRayEnd.y - mRayStart.y) / kRaySpeed;
    mRayTimer = mRayDuration;
    // 2. A bacterium on the target is lost as the ray arrives.
    if (mLevel.GetLogic().GetBoard().GetOwner(target.cell) != 0)
        mLevel.GetView().StartCapture(target.cell, -1, mRayDuration);
    // 3. A spreading ray wipes out the six neighbours too.
    if (target.spread)
        for (int neighbour : mLevel.GetLogic().GetNeighbourTables().Ring1(target.cell))
            mLevel.AnimateCellChange(neighbour, mRayDuration + Random().NextFloat(kSpreadJitter), CellChangeKind::MineBlast);
    mLevel.MarkRefreshPending();
    // A ray with no way to go has arrived already.
    if (mRayTimer <= 0.0f)
        Land(0.0f);
}

void BossRules::Update(float dt)
{
    if (mRayTimer <= 0.0f)
        return;
    mRayTimer -= dt;
    if (mRayTimer <= 0.0f)
        Land(mRayTimer);
}

void BossRules::Land(float late)
{
    mRayTimer = 0.0f;
    mLevel.AnimateCellChange(mTargetCell, late, CellChangeKind::Plain);
    mLevel.PlaceOnCell(mTargetCell, GetBossPlayer(), late + kPlaceDelay);
    mLevel.MarkRefreshPending();
}

RayPoint BossRules::GetRayPosition() const
{
    const float done = mRayDuration > 0.0f ? 1.0f - std::max(mRayTimer, 0.0f) / mRayDuration : 1.0f;
    return {mRayStart.x + (mRayEnd.x - mRayStart.x) * done, mRayStart.y + (mRayEnd.y - mRayStart.y) * done};
}

int BossRules::AdjustGameResult(int result)
{
    if (GetHitPoints() <= 0)
    {
        mLevel.FillFreeCells(1);
        mLevel.GetServices().OnAchievementEvent(AchievementEvent::BossBeaten);
        return 1;
    }
    // While the boss lives the human's win does not count; any other end is the boss's.
    if (result == 1)
        return 0;
    return result == 0 ? 0 : 2;
}

bool BossRules::TryUseBonus(ScreenPoint point) { return mPortrait.Contains(point) && UseBonusOnPortrait(); }

bool BossRules::UseBonusOnPortrait()
{
    if (mPendingBonus != BONUS_BOMB)
        return false;
    HitBoss(1);
    return true;
}

void BossRules::HitBoss(int damage)
{
    LevelParams& params = mLevel.GetParams();
    params.bossHitPoints = std::max(0, params.bossHitPoints - damage);
}

void BossRules::PlaceSpawnedUnits(const std::vector<int>& cells)
{
    for (int cell : cells)
        mLevel.PlaceOnCell(cell, GetBossSpawnBag().Next(Random()), kSpawnDelay);
}

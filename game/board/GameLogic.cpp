#include "game/board/GameLogic.h"

#include "game/board/LogicChecker.h"

#include <atomic>
#include <cassert>

namespace
{
std::atomic<const GameLogic*> gActiveLogic{nullptr};

// The two hole layouts every round starts from share one table each; other layouts get their own.
std::shared_ptr<const NeighbourTables> TablesFor(CellSet existing)
{
    static const auto full = std::make_shared<const NeighbourTables>(kFullHexagonTables);
    static const auto empty = std::make_shared<const NeighbourTables>(NeighbourTables::Build(CellSet()));
    if (existing == full->Existing())
        return full;
    if (existing == empty->Existing())
        return empty;
    return std::make_shared<const NeighbourTables>(NeighbourTables::Build(existing));
}

bool IsCell(int cell) { return cell >= 0 && cell < kCellCount; }

// An owner 0..3 or a bonus code.
bool IsCellContent(int value)
{
    return (value >= 0 && value <= kMaxOwner) ||
           (value > 0 && value <= BONUS_LAID_MINE && (value & ~kBonusMask) == 0);
}
} // namespace

const NeighbourTables& ActiveNeighbourTables()
{
    const GameLogic* active = gActiveLogic.load();
    return active ? active->GetNeighbourTables() : kFullHexagonTables;
}

GameLogic::GameLogic() : mTables(TablesFor(CellSet())) { Init(0); }

GameLogic::GameLogic(const GameLogic& other) { CopyFrom(other); }

GameLogic& GameLogic::operator=(const GameLogic& other)
{
    if (this != &other)
        CopyFrom(other);
    return *this;
}

GameLogic::~GameLogic()
{
    const GameLogic* self = this;
    gActiveLogic.compare_exchange_strong(self, nullptr);
}

void GameLogic::CopyFrom(const GameLogic& other)
{
    mPlayers = other.mPlayers;
    mCurrentPlayer = other.mCurrentPlayer;
    mCellCounts = other.mCellCounts;
    mTargets = other.mTargets;
    mBoard = other.mBoard;
    mTables = other.mTables;
    mRandom = other.mRandom;
    mJumpFlag = other.mJumpFlag;
}

void GameLogic::Init(uint32_t seed)
{
    Reset();
    mRandom.Seed(seed == 0 ? kDefaultSeed : seed);
    mCurrentPlayer = 0;
}

void GameLogic::Reset()
{
    mBoard.Clear();
    mPlayers.Resize(0);
    mCellCounts.fill(0);
    mTargets.fill(CellSet());
    RefreshNeighbourTables();
}

void GameLogic::MakeActive() const { gActiveLogic.store(this); }

bool GameLogic::IsActive() const { return gActiveLogic.load() == this; }

void GameLogic::RefreshNeighbourTables()
{
    const CellSet existing = mBoard.GetExistingCells();
    if (!mTables || mTables->Existing() != existing)
        mTables = TablesFor(existing);
}

void GameLogic::SetPlayerCount(int count)
{
    if (count < 0 || count > kMaxPlayers || count == mPlayers.GetCount())
        return;
    mPlayers.Resize(count);
    if (count == kMaxPlayers)
        mPlayers.SetAiLevel(kMaxPlayers, 0);
    if (mCurrentPlayer > count)
        mCurrentPlayer = 0;
    Recount();
}

void GameLogic::SetPlayerAiLevel(int player, int level)
{
    if (player >= 1 && player <= GetPlayerCount() && level >= kHumanLevel && level <= kBossLevel)
        mPlayers.SetAiLevel(player, level);
}

void GameLogic::CyclePlayerAiLevel(int player)
{
    if (player < 1 || player > GetPlayerCount())
        return;
    const int level = mPlayers.GetAiLevel(player) + 1;
    mPlayers.SetAiLevel(player, level > kBossLevel ? 0 : level);
}

void GameLogic::SetCurrentPlayer(int player)
{
    if (player >= 0 && player <= GetPlayerCount())
        mCurrentPlayer = player;
}

int GameLogic::FindNextPlayer(int player) const
{
    // Each other player once, in turn order after the given one (player 1 first when nobody
    // has moved yet).
    const int count = GetPlayerCount();
    const int mover = player;
    for (int tried = 0; tried < count; ++tried)
    {
        player = player % count + 1;
        if (player == mover)
            continue;
        if (IsPlayerAlive(player) && CanMove(player))
            return player;
    }
    return 0;
}

bool GameLogic::NextPlayer()
{
    const int next = FindNextPlayer(mCurrentPlayer);
    if (next == 0)
        return false;
    mCurrentPlayer = next;
    return true;
}

int GameLogic::GetCellCount(int index) const
{
    return index >= 0 && index <= GetPlayerCount() ? mCellCounts[static_cast<size_t>(index)] : 0;
}

CellSet GameLogic::GetTargets(int player) const
{
    return player >= 1 && player <= GetPlayerCount() ? mTargets[static_cast<size_t>(player - 1)] : CellSet();
}

bool GameLogic::IsPlayerAlive(int player) const
{
    return player >= 1 && player <= GetPlayerCount() && GetCellCount(player) > 0;
}

bool GameLogic::CanMove(int player) const { return GetTargets(player).Any(); }

int GameLogic::GetLeader() const
{
    int leader = 0;
    int most = 0;
    for (int player = 1; player <= GetPlayerCount(); ++player)
    {
        const int cells = GetCellCount(player);
        if (cells > 0 && cells >= most)
        {
            leader = player;
            most = cells;
        }
    }
    return leader;
}

int GameLogic::GetWinner() const
{
    // The round is over when fewer than two players have cells, no free cell is left, or
    // nobody can move; the strongest player (the earlier one on equal counts) wins it.
    int alive = 0;
    int movers = 0;
    int best = 0;
    int most = 0;
    for (int player = 1; player <= GetPlayerCount(); ++player)
    {
        const int cells = GetCellCount(player);
        if (cells <= 0)
            continue;
        ++alive;
        movers += CanMove(player);
        if (cells > most)
        {
            best = player;
            most = cells;
        }
    }
    const bool over = alive < 2 || GetFreeCellCount() == 0 || movers == 0;
    return over ? best : 0;
}

uint32_t GameLogic::Random(int bound)
{
    return bound > 0 ? mRandom.Next(static_cast<uint32_t>(bound)) : 0;
}

void GameLogic::Recount()
{
    RefreshNeighbourTables();
    mCellCounts.fill(0);
    for (int player = 0; player <= GetPlayerCount(); ++player)
        mCellCounts[static_cast<size_t>(player)] = mBoard.CountCells(kOwnerMask, player);
    UpdateTargets();
}

void GameLogic::UpdateTargets()
{
    mTargets.fill(CellSet());
    for (int cell = 0; cell < kCellCount; ++cell)
    {
        const int owner = mBoard.GetOwner(cell);
        if (owner > 0 && owner <= GetPlayerCount())
            mTargets[static_cast<size_t>(owner - 1)] |= mTables->Reach(cell);
    }
    const CellSet free = mBoard.GetFreeCells();
    for (CellSet& targets : mTargets)
        targets &= free;
}

bool GameLogic::IsLegalMove(int from, int to)
{
    if (!IsCell(from) || !IsCell(to) || from == to)
        return false;
    if (mTables->Ring2(from).Contains(to))
    {
        mJumpFlag = true;
        return true;
    }
    if (mTables->Ring1(from).Contains(to))
    {
        mJumpFlag = false;
        return true;
    }
    return false;
}

void GameLogic::MakeMove(int from, int to, bool clone)
{
    if (!IsCell(from) || !IsCell(to))
        return;
    ApplyMove(mBoard, from, to, clone);
    Recount();
    AssertLogicConsistent(*this);
}

void GameLogic::ApplyMove(Board& board, int from, int to, bool clone)
{
    board.SetOwner(to, board.GetOwner(from));
    if (!clone)
        board.SetOwner(from, 0);
}

int GameLogic::Capture(int target, Board& board, std::vector<int>* captured) const
{
    if (!IsCell(target))
        return 0;
    const int attacker = board.GetOwner(target);
    if (attacker == 0 || attacker > GetPlayerCount())
        return 0;
    const bool attackerIsBoss = mPlayers.IsBoss(attacker);
    int count = 0;
    for (int cell : mTables->Ring1(target))
    {
        const int owner = board.GetOwner(cell);
        if (owner == 0 || owner > GetPlayerCount() || !mPlayers.AreHostile(attacker, owner))
            continue;
        // Between ordinary players the cell changes sides; a boss's cells are destroyed, and so
        // are the cells the boss takes.
        const bool convert = !attackerIsBoss && !mPlayers.IsBoss(owner);
        board.SetOwner(cell, convert ? attacker : 0);
        if (captured)
            captured->push_back(cell);
        ++count;
    }
    return count;
}

int GameLogic::CaptureAt(int target, std::vector<int>* captured, std::vector<int>& bossCells)
{
    if (!IsCell(target))
        return 0;
    if (mCurrentPlayer == 1)
    {
        // The boss's cells are listed before the capture empties them.
        bossCells.clear();
        for (int cell : mTables->Ring1(target))
        {
            const int owner = mBoard.GetOwner(cell);
            if (owner > 0 && owner <= GetPlayerCount() && mPlayers.IsBoss(owner))
                bossCells.push_back(cell);
        }
    }
    const int count = Capture(target, mBoard, captured);
    if (count > 0)
        Recount();
    AssertLogicConsistent(*this);
    return count;
}

void GameLogic::AssignCells(CellSet cells, int value, bool ownerBits)
{
    for (int cell : cells)
    {
        if (!mBoard.Exists(cell))
            continue;
        if (ownerBits)
            mBoard.SetOwner(cell, value & kOwnerMask);
        else
            mBoard.SetBonus(cell, value & kBonusMask);
    }
    Recount();
}

void GameLogic::SetCellKind(int cell, int kind)
{
    if (!IsCell(cell))
        return;
    if (kind == 0)
        mBoard.SetCellFlags(cell, 0);
    mBoard.SetCellValue(cell, kind);
    Recount();
}

void GameLogic::SetCellContent(int cell, int value)
{
    if (!IsCell(cell) || !mBoard.Exists(cell) || !IsCellContent(value))
        return;
    if (value <= kMaxOwner)
        mBoard.SetOwner(cell, value);
    else
        mBoard.SetBonus(cell, value);
    Recount();
}

void GameLogic::ClearCellContent(int cell, bool ownerBits)
{
    if (!IsCell(cell))
        return;
    if (ownerBits)
        mBoard.SetOwner(cell, 0);
    else
        mBoard.SetBonus(cell, 0);
    Recount();
}

void GameLogic::RefreshCounts(int /*player*/) { Recount(); }

#include "game/level/RandomLevelProvider.h"

#include "game/level/LevelList.h"

#include <array>

namespace Game
{
bool RandomLevelReplay = false;
uint32_t RandomLevelLastSeed = 0;

namespace
{
// Start bacteria of a computer player by its AI level 0..2.
constexpr std::array<int, 3> kQuotaByAiLevel = {6, 5, 3};

struct BonusUnlock
{
    int code;
    int afterLevel;
};
// The bonus kinds in drawing order, each with the level whose completion unlocks it.
constexpr std::array<BonusUnlock, 4> kBonusUnlocks = {{
    {BONUS_MINE, 6},
    {BONUS_TELEPORT, 3},
    {BONUS_BOMB, 7},
    {BONUS_LAID_MINE, 6},
}};

// The existing cells without owner or bonus, in cell order.
std::vector<int> EmptyCells(const Board& board)
{
    std::vector<int> cells;
    board.GetCellsWithoutFlags(0xFFFF).GetIndices(cells);
    return cells;
}

// Removes entry i, keeping the order of the others.
int TakeAt(std::vector<int>& cells, int i)
{
    const int cell = cells[static_cast<size_t>(i)];
    cells.erase(cells.begin() + i);
    return cell;
}

void FloodRegion(const NeighbourTables& tables, int cell, CellSet& toVisit, std::vector<int>& region)
{
    const CellSet next = tables.Ring1(cell) & toVisit;
    toVisit = toVisit.Without(next);
    for (int neighbour : next)
        region.push_back(neighbour);
    for (int neighbour : next)
        FloodRegion(tables, neighbour, toVisit, region);
}
} // namespace

RandomLevelProvider::RandomLevelProvider(int parameter, const LevelList* catalogue)
    : mParameter(parameter), mCatalogue(catalogue)
{
    // The program-wide draw is taken even when the seed is replayed, so that the program-wide
    // sequence does not depend on restarts.
    mSeed = Quoll::RandomWord();
    if (RandomLevelReplay)
    {
        mSeed = RandomLevelLastSeed;
        RandomLevelReplay = false;
    }
    mRandom.Seed(mSeed);
    RandomLevelLastSeed = mSeed;
}

std::function<bool(GameLogic&)> RandomLevelProvider::ForLevel(int currentLevel, const LevelList* catalogue)
{
    return [currentLevel, catalogue](GameLogic& logic) { return RandomLevelProvider(-currentLevel, catalogue).Generate(logic); };
}

int RandomLevelProvider::Random(int bound)
{
    return bound > 0 ? static_cast<int>(mRandom.Next(static_cast<uint32_t>(bound))) : 0;
}

bool RandomLevelProvider::Generate(GameLogic& logic)
{
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt)
    {
        logic.Init(Quoll::RandomWord());
        ChoosePlayers(logic);
        ChooseCells(logic);
        PlaceStartBacteria(logic);
        PlaceBonuses(logic);
        logic.Recount();
        if (IsPlayable(logic))
            return true;
    }
    logic.Reset();
    return false;
}

bool RandomLevelProvider::IsPlayable(const GameLogic& logic)
{
    if (!logic.HasEnoughPlayers())
        return false;
    for (int player = 1; player <= logic.GetPlayerCount(); ++player)
        if (!logic.CanMove(player))
            return false;
    return true;
}

void RandomLevelProvider::ChoosePlayers(GameLogic& logic)
{
    const int count = Random(2) + 2;
    logic.SetPlayerCount(count);
    logic.SetPlayerAiLevel(1, kHumanLevel);
    for (int player = 2; player <= count; ++player)
        logic.SetPlayerAiLevel(player, Random(3));
    logic.SetCurrentPlayer(1);
}

void RandomLevelProvider::ChooseCells(GameLogic& logic)
{
    // 1. The cell count: a full board now and then, mostly 51..61 cells, sometimes 32..46.
    Board& board = logic.GetBoard();
    board.Clear();
    const int r = Random(100);
    const int count = r <= 15 ? kCellCount : r <= 90 ? kCellCount - Random(11) : 46 - Random(15);
    // 2. Places drop out at random until count remain.
    std::vector<int> places(kCellCount);
    for (int cell = 0; cell < kCellCount; ++cell)
        places[static_cast<size_t>(cell)] = cell;
    while (static_cast<int>(places.size()) > count)
        TakeAt(places, Random(static_cast<int>(places.size())));
    // 3. Each remaining place gets one of three cell looks.
    for (int cell : places)
        board.SetCellValue(cell, Random(3) + 1);
    logic.Recount();
}

void RandomLevelProvider::PlaceStartBacteria(GameLogic& logic)
{
    // 1. Quotas: the human 3..5 cells, computer players fewer the stronger they are.
    std::vector<int> quotas;
    quotas.push_back(Random(3) + 3);
    for (int player = 2; player <= logic.GetPlayerCount(); ++player)
    {
        const int level = logic.GetPlayerAiLevel(player);
        quotas.push_back(level >= 0 && level <= 2 ? kQuotaByAiLevel[static_cast<size_t>(level)] : 3);
    }
    // 2. Scattered 60 % of the time, grouped otherwise.
    if (Random(100) >= 40)
        PlaceScattered(logic, quotas);
    else
        PlaceGrouped(logic, quotas);
}

void RandomLevelProvider::PlaceScattered(GameLogic& logic, const std::vector<int>& quotas)
{
    Board& board = logic.GetBoard();
    std::vector<int> empty = EmptyCells(board);
    for (size_t i = 0; i < quotas.size(); ++i)
        for (int n = 0; n < quotas[i] && !empty.empty(); ++n)
            board.SetOwner(TakeAt(empty, Random(static_cast<int>(empty.size()))), static_cast<int>(i) + 1);
}

void RandomLevelProvider::PlaceGrouped(GameLogic& logic, const std::vector<int>& quotas)
{
    // Each player fills the first cells of the empty region around a random empty cell; a small
    // region gives it fewer cells than its quota.
    Board& board = logic.GetBoard();
    for (size_t i = 0; i < quotas.size(); ++i)
    {
        const std::vector<int> empty = EmptyCells(board);
        if (empty.empty())
            return;
        const int start = empty[static_cast<size_t>(Random(static_cast<int>(empty.size())))];
        const std::vector<int> region = CollectEmptyRegion(board, logic.GetNeighbourTables(), start);
        for (size_t n = 0; n < region.size() && static_cast<int>(n) < quotas[i]; ++n)
            board.SetOwner(region[n], static_cast<int>(i) + 1);
    }
}

std::vector<int> RandomLevelProvider::CollectEmptyRegion(const Board& board, const NeighbourTables& tables, int start)
{
    std::vector<int> region = {start};
    CellSet toVisit = board.GetCellsWithoutFlags(0xFFFF);
    toVisit.Remove(start);
    FloodRegion(tables, start, toVisit, region);
    return region;
}

std::vector<int> RandomLevelProvider::AllowedBonusKinds() const
{
    std::vector<int> kinds;
    for (const BonusUnlock& unlock : kBonusUnlocks)
        if (mCatalogue && mCatalogue->IsLevelCompleted(unlock.afterLevel))
            kinds.push_back(unlock.code);
    return kinds;
}

void RandomLevelProvider::PlaceBonuses(GameLogic& logic)
{
    const int r = Random(100);
    const int count = r <= 15 ? 0 : r <= 90 ? Random(4) + 2 : Random(10) + 5;
    Board& board = logic.GetBoard();
    std::vector<int> empty = EmptyCells(board);
    const std::vector<int> kinds = AllowedBonusKinds();
    if (kinds.empty())
        return;
    // The kind is drawn before the cell.
    for (int n = 0; n < count && !empty.empty(); ++n)
    {
        const int kind = kinds[static_cast<size_t>(Random(static_cast<int>(kinds.size())))];
        board.SetBonus(TakeAt(empty, Random(static_cast<int>(empty.size()))), kind);
    }
}
} // namespace Game

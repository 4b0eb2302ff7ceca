#include "game/board/LogicChecker.h"

#include "game/board/GameLogic.h"

namespace
{
std::string CellFault(const char* what, int cell) { return std::string(what) + " at cell " + std::to_string(cell); }

std::string CheckCells(const GameLogic& logic)
{
    const Board& board = logic.GetBoard();
    for (int cell = 0; cell < kCellCount; ++cell)
    {
        if (!board.Exists(cell) && board.GetCellFlags(cell) != 0)
            return CellFault("hole with flags", cell);
        if (board.GetOwner(cell) > logic.GetPlayerCount())
            return CellFault("owner above the player count", cell);
    }
    return {};
}

std::string CheckCounts(const GameLogic& logic)
{
    const Board& board = logic.GetBoard();
    for (int index = 0; index <= logic.GetPlayerCount(); ++index)
        if (logic.GetCellCount(index) != board.CountCells(kOwnerMask, index))
            return "cell count " + std::to_string(index) + " is " + std::to_string(logic.GetCellCount(index)) +
                   ", the board holds " + std::to_string(board.CountCells(kOwnerMask, index));
    return {};
}

std::string CheckTargets(const GameLogic& logic)
{
    const Board& board = logic.GetBoard();
    const NeighbourTables& tables = logic.GetNeighbourTables();
    const CellSet free = board.GetFreeCells();
    for (int player = 1; player <= logic.GetPlayerCount(); ++player)
    {
        const CellSet targets = logic.GetTargets(player);
        if ((targets.Bits() & ~CellSet::kCellBits) != 0)
            return "target set " + std::to_string(player) + " has bits outside the board";
        CellSet expected;
        for (int cell : board.GetOwnedCells(player))
            expected |= tables.Reach(cell);
        if (targets != expected.And(free))
            return "target set " + std::to_string(player) + " differs from the board";
    }
    return {};
}

std::string CheckTables(const GameLogic& logic)
{
    if (logic.GetNeighbourTables() != NeighbourTables::Build(logic.GetBoard().GetExistingCells()))
        return "neighbour tables not built for the board's holes";
    return {};
}
} // namespace

std::string FindLogicFault(const GameLogic& logic)
{
    const int current = logic.GetCurrentPlayer();
    if (current < 0 || current > logic.GetPlayerCount())
        return "current player " + std::to_string(current) + " outside 0..N";
    for (auto check : {CheckCells, CheckTables, CheckCounts, CheckTargets})
    {
        std::string fault = check(logic);
        if (!fault.empty())
            return fault;
    }
    return {};
}

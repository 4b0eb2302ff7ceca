#include "game/board/MoveGenerator.h"

void GenerateMoves(const Board& board, const NeighbourTables& tables, int player, MoveList& list)
{
    const CellSet free = board.GetFreeCells();
    AiMove* out = list.Data();
    for (int from : board.GetOwnedCells(player))
    {
        const CellSet jumps = tables.Ring2(from);
        for (int to : tables.Reach(from).And(free))
            *out++ = AiMove{static_cast<uint8_t>(from), static_cast<uint8_t>(to), 0,
                            static_cast<uint8_t>(jumps.Contains(to))};
    }
    list.SetSize(static_cast<int>(out - list.Data()));
}

namespace
{
// Player's cells after the move (before, the count the score compares against), the captures
// and the cells after them, worked out from the neighbours of the landing cell.
struct MoveOutcome
{
    int before;
    int captured;
    int after;
};

MoveOutcome ScoreOneMove(const Board& board, const NeighbourTables& tables, const PlayerTable& players, int player,
                         int cells, const AiMove& move)
{
    const bool clone = move.jump == 0 && !players.IsBoss(player);
    MoveOutcome outcome{cells + (clone ? 1 : 0), 0, 0};
    outcome.after = outcome.before;
    const bool attackerIsBoss = players.IsBoss(player);
    for (int cell : tables.Ring1(move.to))
    {
        // The source has already changed hands when the capture runs.
        const int owner = cell == move.from ? (clone ? player : 0) : board.GetOwner(cell);
        if (owner == 0 || owner > players.GetCount() || !players.AreHostile(player, owner))
            continue;
        ++outcome.captured;
        if (!attackerIsBoss && !players.IsBoss(owner))
            ++outcome.after;
    }
    return outcome;
}
} // namespace

void ScoreMovesUnsorted(const Board& board, const NeighbourTables& tables, const PlayerTable& players, int player,
                        MoveList& list)
{
    const int cells = board.CountCells(kOwnerMask, player);
    const int level = players.GetAiLevel(player);
    for (AiMove& move : list)
    {
        const MoveOutcome outcome = ScoreOneMove(board, tables, players, player, cells, move);
        move.score = static_cast<uint8_t>(ScoreAfterMove(level, outcome.before, outcome.captured, outcome.after));
    }
}

#pragma once
// Move generation and depth-0 scoring of the computer opponent, on any board: every move of a
// player in cell order, and each move's score as the player's cell count after the move and
// its captures, found without copying the board.
#include "game/board/Board.h"
#include "game/board/MoveList.h"
#include "game/board/NeighbourTables.h"
#include "game/board/PlayerTable.h"

// Every move of player: from its cells in increasing order, to the free cells within distance 2
// in increasing order; jump set for distance 2. Replaces the list's contents.
void GenerateMoves(const Board& board, const NeighbourTables& tables, int player, MoveList& list);

// The score kept for a move: the cells after it, plus the captures for a boss that did not lose
// cells (its captures empty cells instead of adding to its own).
constexpr int ScoreAfterMove(int aiLevel, int before, int captured, int after)
{
    return static_cast<uint8_t>(after >= before && aiLevel == kBossLevel ? after + captured : after);
}

// Sets each move's depth-0 score for player (it must be the player the list was generated for).
// Does not sort.
void ScoreMovesUnsorted(const Board& board, const NeighbourTables& tables, const PlayerTable& players, int player,
                        MoveList& list);

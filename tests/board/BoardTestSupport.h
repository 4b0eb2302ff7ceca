#pragma once
// Helpers of the board tests: logics built from pictures, seeded random positions, and the plain
// reference implementations the fast code is compared with: a naive move generator and rules
// working from hex coordinates, a perft counter on each, and the search exactly as the rules
// describe it, on whole copies of the logic.
#include "game/board/GameLogic.h"
#include "game/board/MoveList.h"

#include <cstdint>
#include <random>
#include <string_view>
#include <vector>

namespace BoardTest
{
// A logic with the pictured board (see BoardText.h), the players' AI levels and the current
// player, recounted; the generator seeded with seed.
GameLogic MakeLogic(std::string_view picture, const std::vector<int>& aiLevels, int currentPlayer,
                    uint32_t seed = 1);

// A random consistent position: holeShare and freeShare in percent, 2 or 3 players with
// random levels (a boss now and then), current player chosen among those who can move.
GameLogic RandomLogic(std::mt19937& rng, int holeShare, int freeShare);

// Hex distance of two cells from their (row, column) places.
int HexDistance(int a, int b);

// Naive rules: every pair of cells tested literally, distances from coordinates.
struct NaivePosition
{
    Board board;
    std::vector<int> aiLevels;
    int currentPlayer = 0;
};
NaivePosition ToNaive(const GameLogic& logic);
std::vector<AiMove> NaiveMoves(const NaivePosition& position, int player);
uint64_t NaivePerft(const NaivePosition& position, int depth);
uint64_t FastPerft(const GameLogic& logic, int depth);

// The search as the rules word it: depth-0 scoring on board copies, look-aheads on whole copies
// of the logic (its counts left stale), std::stable_sort, the choice rules written out again.
AiMove ReferenceSearch(GameLogic& logic, int depth);
void ReferenceScoreMoves(const GameLogic& logic, int player, MoveList& list);
void ReferenceSort(MoveList& list);
} // namespace BoardTest

#include "game/board/MoveList.h"

#include <algorithm>

namespace
{
// Ascending key = best-first order: 255 - score, then the jump flag.
constexpr int SortKey(const AiMove& move) { return (255 - move.score) * 2 + (move.jump != 0); }
constexpr int kKeyCount = 512;
} // namespace

void SortMoves(MoveList& list)
{
    // A counting sort over the keys present: linear, stable and free of allocation.
    const int size = list.Size();
    if (size < 2)
        return;
    int lowest = kKeyCount;
    int highest = -1;
    for (const AiMove& move : list)
    {
        const int key = SortKey(move);
        lowest = key < lowest ? key : lowest;
        highest = key > highest ? key : highest;
    }
    if (lowest == highest)
        return;
    std::array<int, kKeyCount + 1> start;
    std::fill(start.begin() + lowest, start.begin() + highest + 2, 0);
    for (const AiMove& move : list)
        ++start[static_cast<size_t>(SortKey(move) + 1)];
    for (int key = lowest + 1; key <= highest; ++key)
        start[static_cast<size_t>(key)] += start[static_cast<size_t>(key - 1)];
    std::array<AiMove, MoveList::kCapacity> sorted;
    for (const AiMove& move : list)
        sorted[static_cast<size_t>(start[static_cast<size_t>(SortKey(move))]++)] = move;
    std::copy(sorted.begin(), sorted.begin() + size, list.begin());
}

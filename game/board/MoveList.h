#pragma once
// AiMove and MoveList: the four-byte move record of the computer opponent and a fixed-capacity
// list of them (no allocation while searching), with the search's stable best-first order.
#include "game/board/NeighbourTables.h"

#include <array>
#include <cassert>
#include <cstdint>

struct AiMove
{
    uint8_t from;
    uint8_t to;
    uint8_t score;
    // 1 for a jump (distance 2), 0 for a clone (distance 1).
    uint8_t jump;

    bool operator==(const AiMove&) const = default;
};

static_assert(sizeof(AiMove) == 4);

class MoveList
{
public:
    static constexpr int kCapacity = kMaxMoveCount;

    [[nodiscard]] int Size() const { return mSize; }
    [[nodiscard]] bool IsEmpty() const { return mSize == 0; }
    void Clear() { mSize = 0; }
    void Add(AiMove move)
    {
        assert(mSize < kCapacity && "MoveList::Add: list full");
        mMoves[static_cast<size_t>(mSize++)] = move;
    }
    // For filling the list in place: write up to kCapacity moves, then SetSize.
    AiMove* Data() { return mMoves.data(); }
    void SetSize(int size)
    {
        assert(size >= 0 && size <= kCapacity && "MoveList::SetSize: outside the capacity");
        mSize = size;
    }

    AiMove& operator[](int i) { return mMoves[static_cast<size_t>(i)]; }
    const AiMove& operator[](int i) const { return mMoves[static_cast<size_t>(i)]; }
    AiMove* begin() { return mMoves.data(); }
    AiMove* end() { return mMoves.data() + mSize; }
    [[nodiscard]] const AiMove* begin() const { return mMoves.data(); }
    [[nodiscard]] const AiMove* end() const { return mMoves.data() + mSize; }

private:
    // Left uninitialised: only the first mSize entries are ever read.
    std::array<AiMove, kCapacity> mMoves;
    int mSize = 0;
};

// Best first: descending score, a clone before a jump at equal score, and otherwise the order
// of generation (stable for every length).
void SortMoves(MoveList& list);

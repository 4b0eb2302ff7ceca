#pragma once
// CellSet: a set of board cells as one 64-bit mask (bit i = cell i). Only bits 0..60 are cells;
// bits 61..63 may be set by a complement but are never reported as cells.
#include <bit>
#include <cstdint>
#include <vector>

class CellSet
{
public:
    static constexpr int kBitCount = 64;
    // The 61 cells of the board and nothing else.
    static constexpr uint64_t kCellBits = (uint64_t{1} << 61) - 1;

    constexpr CellSet() = default;
    constexpr explicit CellSet(uint64_t bits) : mBits(bits) {}

    static constexpr CellSet Single(int index)
    {
        CellSet set;
        set.Insert(index);
        return set;
    }
    static constexpr CellSet AllCells() { return CellSet(kCellBits); }

    [[nodiscard]] constexpr uint64_t Bits() const { return mBits; }

    [[nodiscard]] constexpr CellSet Not() const { return CellSet(~mBits); }
    [[nodiscard]] constexpr CellSet And(CellSet other) const { return CellSet(mBits & other.mBits); }
    [[nodiscard]] constexpr CellSet Or(CellSet other) const { return CellSet(mBits | other.mBits); }
    // Set difference: the cells of this set that are not in other.
    [[nodiscard]] constexpr CellSet Without(CellSet other) const { return CellSet(mBits & ~other.mBits); }
    [[nodiscard]] constexpr bool Any() const { return mBits != 0; }
    [[nodiscard]] constexpr bool IsEmpty() const { return mBits == 0; }
    // Number of cells 0..60 in the set.
    [[nodiscard]] constexpr int Count() const { return std::popcount(mBits & kCellBits); }

    // Indexes outside 0..63 leave the set unchanged.
    constexpr void Insert(int index)
    {
        if (index >= 0 && index < kBitCount)
            mBits |= uint64_t{1} << index;
    }
    constexpr void Remove(int index)
    {
        if (index >= 0 && index < kBitCount)
            mBits &= ~(uint64_t{1} << index);
    }
    // False for indexes outside 0..63.
    [[nodiscard]] constexpr bool Contains(int index) const
    {
        return index >= 0 && index < kBitCount && ((mBits >> index) & 1u) != 0;
    }
    // Appends every cell 0..60 of the set, in increasing order.
    void GetIndices(std::vector<int>& indices) const
    {
        for (int cell : *this)
            indices.push_back(cell);
    }

    constexpr CellSet operator&(CellSet other) const { return And(other); }
    constexpr CellSet operator|(CellSet other) const { return Or(other); }
    constexpr CellSet operator~() const { return Not(); }
    constexpr CellSet& operator&=(CellSet other) { return *this = And(other); }
    constexpr CellSet& operator|=(CellSet other) { return *this = Or(other); }
    constexpr bool operator==(const CellSet&) const = default;

    // Walks the cells 0..60 of the set in increasing order.
    class Iterator
    {
    public:
        constexpr explicit Iterator(uint64_t bits) : mRest(bits) {}
        constexpr int operator*() const { return std::countr_zero(mRest); }
        constexpr Iterator& operator++()
        {
            mRest &= mRest - 1;
            return *this;
        }
        constexpr bool operator!=(const Iterator& other) const { return mRest != other.mRest; }

    private:
        uint64_t mRest;
    };
    [[nodiscard]] constexpr Iterator begin() const { return Iterator(mBits & kCellBits); }
    [[nodiscard]] constexpr Iterator end() const { return Iterator(0); }

private:
    uint64_t mBits = 0;
};

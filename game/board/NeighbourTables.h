#pragma once
// NeighbourTables: for every cell, the existing cells at distance 1 and at distance exactly 2,
// built for one set of existing cells (holes have empty entries and appear in no entry). The
// full-hexagon tables are built at compile time; a game logic owns the tables of its board.
#include "game/board/CellSet.h"
#include "game/board/HexGeometry.h"

#include <array>

class NeighbourTables
{
    // Defined before its first use: a constant evaluation of Build needs the instantiation.
    template <size_t N>
    static constexpr void BuildRing(const std::array<HexPlace, N>& offsets, CellSet existing,
                                    std::array<CellSet, kCellCount>& ring)
    {
        // Walk the places in cell order; a cell outside the mask keeps its empty entry.
        for (int cell = 0; cell < kCellCount; ++cell)
        {
            ring[static_cast<size_t>(cell)] = CellSet();
            if (!existing.Contains(cell))
                continue;
            const HexPlace place = HexPlaceOf(cell);
            CellSet entry;
            for (const HexPlace& offset : offsets)
                entry.Insert(HexCellIndex(place.row + offset.row, place.column + offset.column));
            ring[static_cast<size_t>(cell)] = entry.And(existing);
        }
    }

public:
    // Rebuilds both tables for the cells of existing (ring 2 first, then ring 1).
    static constexpr NeighbourTables Build(CellSet existing)
    {
        NeighbourTables tables;
        tables.mExisting = existing.And(CellSet::AllCells());
        BuildRing(kRing2Offsets, tables.mExisting, tables.mRing2);
        BuildRing(kRing1Offsets, tables.mExisting, tables.mRing1);
        return tables;
    }

    // Cells at distance 1 of cell 0..60.
    [[nodiscard]] constexpr CellSet Ring1(int cell) const { return mRing1[static_cast<size_t>(cell)]; }
    // Cells at distance exactly 2 of cell 0..60.
    [[nodiscard]] constexpr CellSet Ring2(int cell) const { return mRing2[static_cast<size_t>(cell)]; }
    // Cells at distance 1 or 2: where a bacterium on cell can move.
    [[nodiscard]] constexpr CellSet Reach(int cell) const { return Ring1(cell) | Ring2(cell); }
    // The existing cells the tables were built for.
    [[nodiscard]] constexpr CellSet Existing() const { return mExisting; }

    constexpr bool operator==(const NeighbourTables&) const = default;

private:
    std::array<CellSet, kCellCount> mRing1{};
    std::array<CellSet, kCellCount> mRing2{};
    CellSet mExisting;
};

inline constexpr NeighbourTables kFullHexagonTables = NeighbourTables::Build(CellSet::AllCells());

// Number of (from, to) pairs within distance 2 on the full board: no move list is longer.
inline constexpr int kMaxMoveCount = [] {
    int count = 0;
    for (int cell = 0; cell < kCellCount; ++cell)
        count += kFullHexagonTables.Reach(cell).Count();
    return count;
}();

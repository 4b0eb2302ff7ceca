#pragma once
// The hexagonal board's geometry: 61 cells in nine rows of 5, 6, 7, 8, 9, 8, 7, 6 and 5.
// Places are (row, column) with rows and columns 1..9; row r holds columns 1..r+4 (r <= 5) or
// r-4..9 (r >= 5). Cells are numbered row by row in increasing column order.
#include <array>
#include <cstddef>

inline constexpr int kCellCount = 61;
inline constexpr int kCentreCell = 30;
inline constexpr int kRowCount = 9;
inline constexpr int kNoCell = -1;

constexpr int HexRowFirstColumn(int row) { return row <= 5 ? 1 : row - 4; }
constexpr int HexRowLastColumn(int row) { return row <= 5 ? row + 4 : 9; }

// First cell index of each row; entry 0 is unused so rows index directly.
inline constexpr std::array<int, kRowCount + 1> kHexRowFirstCell = {0, 0, 5, 11, 18, 26, 35, 43, 50, 56};

// Cell index of a place, or -1 when the place lies outside the hexagon.
constexpr int HexCellIndex(int row, int column)
{
    if (row < 1 || row > kRowCount)
        return kNoCell;
    if (column < HexRowFirstColumn(row) || column > HexRowLastColumn(row))
        return kNoCell;
    return kHexRowFirstCell[static_cast<std::size_t>(row)] + column - HexRowFirstColumn(row);
}

struct HexPlace
{
    int row = 0;
    int column = 0;
};

// The place of a cell 0..60.
constexpr HexPlace HexPlaceOf(int cell)
{
    int row = kRowCount;
    while (row > 1 && kHexRowFirstCell[static_cast<std::size_t>(row)] > cell)
        --row;
    return {row, HexRowFirstColumn(row) + cell - kHexRowFirstCell[static_cast<std::size_t>(row)]};
}

// Row and column offsets of the places at distance 1 and at distance exactly 2.
inline constexpr std::array<HexPlace, 6> kRing1Offsets = {{{-1, -1}, {-1, 0}, {0, -1}, {0, 1}, {1, 0}, {1, 1}}};
inline constexpr std::array<HexPlace, 12> kRing2Offsets = {{{-2, -2}, {-2, -1}, {-2, 0}, {-1, -2}, {-1, 1}, {0, -2},
                                                            {0, 2}, {1, -1}, {1, 2}, {2, 0}, {2, 1}, {2, 2}}};

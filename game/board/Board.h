#pragma once
// Board: the 61 cell words of a round, a plain value copied freely. A cell word holds the kind
// (0 = no cell at this place, a hole; otherwise the cell's look) and the flags (owner in bits
// 0-1, bonus code in bits 2-4). Also the board block that level files and saved levels carry:
// written as "qk20brd", read in that form, the older "qkhxbrd" form and the oldest bare form.
#include "game/board/CellMask.h"
#include "game/board/CellSet.h"
#include "game/board/HexGeometry.h"

#include "framework/core/Buffer.h"

#include <array>
#include <cstdint>

// Bonus codes, kept unshifted in flag bits 2-4.
enum BonusCode : uint16_t
{
    BONUS_NONE = 0,
    BONUS_MINE = 4,
    BONUS_TELEPORT = 8,
    BONUS_BOMB = 12,
    BONUS_LAID_MINE = 16,
};

inline constexpr uint16_t kOwnerMask = 0x3;
inline constexpr uint16_t kBonusMask = 0x1C;
inline constexpr int kMaxOwner = 3;

class Board
{
public:
    // Size of the block Write appends.
    static constexpr size_t kBlockBytes = 262;

    // Cell accessors take cells 0..60; callers check the range.
    [[nodiscard]] int GetCellValue(int cell) const { return mWords[Index(cell)] & 0xFFFF; }
    // Stores the kind; the flags stay (callers clear them before making a hole).
    void SetCellValue(int cell, int kind);
    [[nodiscard]] int GetCellFlags(int cell) const { return static_cast<int>(mWords[Index(cell)] >> 16); }
    void SetCellFlags(int cell, int flags);
    [[nodiscard]] int GetOwner(int cell) const { return GetCellFlags(cell) & kOwnerMask; }
    // owner 0..3
    void SetOwner(int cell, int owner);
    [[nodiscard]] int GetBonus(int cell) const { return GetCellFlags(cell) & kBonusMask; }
    // bonus 0, 4, 8, 12 or 16
    void SetBonus(int cell, int bonus);
    [[nodiscard]] bool Exists(int cell) const { return GetCellValue(cell) != 0; }

    // Every word 0: no cells at all.
    void Clear() { mWords.fill(0); }

    // Cells whose kind is not 0.
    [[nodiscard]] CellSet GetExistingCells() const;
    // Cells whose flags share a bit with mask (existence not tested): mask 3 = owned cells,
    // 0x1C = cells holding a bonus.
    [[nodiscard]] CellSet GetCellsWithFlags(int mask) const;
    // Cells whose owner bits equal player (existence not tested: player 0 includes the holes).
    [[nodiscard]] CellSet GetOwnedCells(int player) const;
    // Existing cells whose flags share no bit with mask: mask 3 = the free cells.
    [[nodiscard]] CellSet GetCellsWithoutFlags(int mask) const;
    [[nodiscard]] CellSet GetFreeCells() const { return GetCellsWithoutFlags(kOwnerMask); }
    // Existing cells with (flags AND mask) = value.
    [[nodiscard]] int CountCells(int mask, int value) const;
    [[nodiscard]] int CountExistingCells() const;

    // Appends the "qk20brd" block.
    void Write(Quoll::Buffer& buffer) const;
    // Reads a block of any form. On failure (unknown or broken closing magic, data ending inside
    // the block) the board is unchanged. Holes lose their flags.
    [[nodiscard]] bool Read(Quoll::Buffer& buffer);

    bool operator==(const Board&) const = default;

private:
    static size_t Index(int cell) { return static_cast<size_t>(cell); }

    // The cells 0..60 whose (word AND select) equals value.
    [[nodiscard]] CellSet CellsWhere(uint32_t select, uint32_t value) const
    {
        return CellSet(CellMask(mWords, select, value) & CellSet::kCellBits);
    }

    // Kind in the low half, flags in the high half. Three padding words make 64 for the mask
    // scans; they stay 0.
    CellWords mWords{};
};

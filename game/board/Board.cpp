#include "game/board/Board.h"

#include "game/board/CheckedReader.h"

#include <cassert>
#include <string_view>

namespace
{
constexpr std::string_view kCurrentMagic = "qk20brd";
constexpr std::string_view kOlderMagic = "qkhxbrd";
constexpr size_t kWordBytes = 4;

constexpr uint32_t Word(uint32_t kind, uint32_t flags) { return (kind & 0xFFFF) | (flags << 16); }

// Older form: kind in the low nibble, flags in the high nibble.
constexpr uint32_t DecodeOlderByte(uint8_t byte) { return Word(byte & 0xF, byte >> 4); }

// Oldest form: kind = high nibble + 1, flags = low nibble + 1, both kept to four bits; so FF is
// a hole, 0F a free cell of kind 1 and 00 a player-1 cell of kind 1.
constexpr uint32_t DecodeOldestByte(uint8_t byte)
{
    return Word(((byte >> 4) + 1) & 0xF, ((byte & 0xF) + 1) & 0xF);
}

// A hole holds nothing: whatever flags a file gives it are dropped.
constexpr uint32_t DropHoleFlags(uint32_t word) { return (word & 0xFFFF) == 0 ? 0 : word; }

template <typename Decode>
bool ReadByteForm(CheckedReader& reader, CellWords& words, Decode decode)
{
    std::array<uint8_t, kCellCount> bytes{};
    if (!reader.ReadBytes(bytes.data(), bytes.size()))
        return false;
    for (int cell = 0; cell < kCellCount; ++cell)
        words[static_cast<size_t>(cell)] = DropHoleFlags(decode(bytes[static_cast<size_t>(cell)]));
    return true;
}

bool ReadWordForm(CheckedReader& reader, CellWords& words)
{
    std::array<uint8_t, kCellCount * kWordBytes> bytes{};
    if (!reader.ReadBytes(bytes.data(), bytes.size()))
        return false;
    for (size_t cell = 0; cell < kCellCount; ++cell)
    {
        const uint8_t* p = &bytes[cell * kWordBytes];
        words[cell] = DropHoleFlags(Word(p[0] | (p[1] << 8), p[2] | (p[3] << 8)));
    }
    return true;
}
} // namespace

void Board::SetCellValue(int cell, int kind)
{
    uint32_t& word = mWords[Index(cell)];
    word = (word & 0xFFFF0000u) | (static_cast<uint32_t>(kind) & 0xFFFFu);
}

void Board::SetCellFlags(int cell, int flags)
{
    uint32_t& word = mWords[Index(cell)];
    word = (word & 0xFFFFu) | (static_cast<uint32_t>(flags) << 16);
}

void Board::SetOwner(int cell, int owner)
{
    assert(owner >= 0 && owner <= kMaxOwner && "Board::SetOwner: owner must be 0..3");
    SetCellFlags(cell, (GetCellFlags(cell) & ~kOwnerMask) | (owner & kOwnerMask));
}

void Board::SetBonus(int cell, int bonus)
{
    assert((bonus & ~kBonusMask) == 0 && bonus <= BONUS_LAID_MINE && "Board::SetBonus: bad bonus code");
    SetCellFlags(cell, (GetCellFlags(cell) & ~kBonusMask) | (bonus & kBonusMask));
}

namespace
{
constexpr uint32_t kKindBits = 0xFFFFu;
constexpr uint32_t FlagBits(int mask) { return static_cast<uint32_t>(mask & 0xFFFF) << 16; }
} // namespace

CellSet Board::GetExistingCells() const { return CellsWhere(kKindBits, 0).Not().And(CellSet::AllCells()); }

CellSet Board::GetCellsWithFlags(int mask) const { return CellsWhere(FlagBits(mask), 0).Not().And(CellSet::AllCells()); }

CellSet Board::GetOwnedCells(int player) const { return CellsWhere(FlagBits(kOwnerMask), FlagBits(player)); }

CellSet Board::GetCellsWithoutFlags(int mask) const { return CellsWhere(FlagBits(mask), 0).And(GetExistingCells()); }

int Board::CountCells(int mask, int value) const
{
    return CellsWhere(FlagBits(mask), FlagBits(value)).And(GetExistingCells()).Count();
}

int Board::CountExistingCells() const { return GetExistingCells().Count(); }

void Board::Write(Quoll::Buffer& buffer) const
{
    buffer.WriteString(std::string(kCurrentMagic));
    for (int cell = 0; cell < kCellCount; ++cell)
    {
        buffer.WriteInt16(static_cast<int16_t>(GetCellValue(cell)));
        buffer.WriteInt16(static_cast<int16_t>(GetCellFlags(cell)));
    }
    buffer.WriteString(std::string(kCurrentMagic));
}

bool Board::Read(Quoll::Buffer& buffer)
{
    // 1. The opening magic names the form; without one the block is the oldest, bare form.
    // 2. Decode into a scratch copy and keep it only when the closing magic is right, so a
    //    failed read leaves the board as it was.
    CheckedReader reader(buffer);
    CellWords words{};
    bool read = false;
    if (reader.SkipMagic(kCurrentMagic))
        read = ReadWordForm(reader, words) && reader.SkipMagic(kCurrentMagic);
    else if (reader.SkipMagic(kOlderMagic))
        read = ReadByteForm(reader, words, DecodeOlderByte) && reader.SkipMagic(kOlderMagic);
    else
        read = ReadByteForm(reader, words, DecodeOldestByte);
    if (read)
        mWords = words;
    return read;
}

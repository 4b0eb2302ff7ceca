// Board, cell sets, hex geometry and neighbour tables: the worked examples, tables around holes,
// the board queries, and the three board-block forms with their failures.
// Rerun one case: test_board --gtest_filter='BoardBlock.*'
#include "game/board/Board.h"
#include "game/board/BoardText.h"
#include "game/board/NeighbourTables.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <type_traits>
#include <vector>

static_assert(std::is_trivially_copyable_v<Board> && std::is_trivially_copyable_v<CellSet>);

namespace
{
std::vector<int> Cells(CellSet set)
{
    std::vector<int> cells;
    set.GetIndices(cells);
    return cells;
}

std::vector<uint8_t> Bytes(const Quoll::Buffer& buffer)
{
    const uint8_t* p = buffer.GetDataPtr();
    return p ? std::vector<uint8_t>(p, p + buffer.GetDataSize()) : std::vector<uint8_t>{};
}

Quoll::Buffer BufferOf(const std::vector<uint8_t>& bytes)
{
    Quoll::Buffer buffer;
    buffer.SetData(bytes.data(), bytes.size());
    return buffer;
}

Board RandomBoard(std::mt19937& rng)
{
    Board board;
    for (int cell = 0; cell < kCellCount; ++cell)
    {
        const int kind = rng() % 5 == 0 ? 0 : static_cast<int>(rng() % 15) + 1;
        board.SetCellValue(cell, kind);
        if (kind != 0)
            board.SetCellFlags(cell, static_cast<int>(rng() % 4) | static_cast<int>(rng() % 5) * 4);
    }
    return board;
}
} // namespace

TEST(HexGeometry, CellIndexesAndPlaces)
{
    EXPECT_EQ(HexCellIndex(1, 6), -1);
    EXPECT_EQ(HexCellIndex(5, 10), -1);
    EXPECT_EQ(HexCellIndex(6, 1), -1);
    EXPECT_EQ(HexCellIndex(0, 3), -1);
    EXPECT_EQ(HexCellIndex(6, 2), 35);
    EXPECT_EQ(HexCellIndex(9, 9), 60);
    EXPECT_EQ(HexCellIndex(5, 5), kCentreCell);
    for (int cell = 0; cell < kCellCount; ++cell)
    {
        const HexPlace place = HexPlaceOf(cell);
        EXPECT_EQ(HexCellIndex(place.row, place.column), cell) << "cell " << cell;
    }
}

TEST(NeighbourTables, FullHexagonExamples)
{
    const NeighbourTables& tables = kFullHexagonTables;
    EXPECT_EQ(Cells(tables.Ring1(0)), (std::vector<int>{1, 5, 6}));
    EXPECT_EQ(Cells(tables.Ring2(0)), (std::vector<int>{2, 7, 11, 12, 13}));
    EXPECT_EQ(Cells(tables.Ring1(30)), (std::vector<int>{21, 22, 29, 31, 38, 39}));
    EXPECT_EQ(Cells(tables.Ring2(30)), (std::vector<int>{13, 14, 15, 20, 23, 28, 32, 37, 40, 45, 46, 47}));
    // Distance is symmetric and the rings never overlap or include the cell itself.
    for (int a = 0; a < kCellCount; ++a)
    {
        EXPECT_FALSE(tables.Ring1(a).And(tables.Ring2(a)).Any());
        EXPECT_FALSE(tables.Reach(a).Contains(a));
        for (int b : tables.Ring1(a))
            EXPECT_TRUE(tables.Ring1(b).Contains(a));
        for (int b : tables.Ring2(a))
            EXPECT_TRUE(tables.Ring2(b).Contains(a));
    }
    EXPECT_EQ(kMaxMoveCount, 834);
}

TEST(NeighbourTables, RebuiltAroundAHole)
{
    CellSet existing = CellSet::AllCells();
    existing.Remove(31);
    const NeighbourTables tables = NeighbourTables::Build(existing);
    EXPECT_TRUE(tables.Ring1(31).IsEmpty());
    EXPECT_TRUE(tables.Ring2(31).IsEmpty());
    for (int cell = 0; cell < kCellCount; ++cell)
        EXPECT_FALSE(tables.Reach(cell).Contains(31)) << "cell " << cell;
    EXPECT_EQ(tables.Ring1(30).Count(), 5);
    EXPECT_TRUE(NeighbourTables::Build(CellSet()).Reach(30).IsEmpty());
}

TEST(CellSet, EdgesOfTheIndexRange)
{
    CellSet set = CellSet::Single(3);
    for (int index : {-1, 64, 1000})
    {
        set.Insert(index);
        set.Remove(index);
        EXPECT_FALSE(set.Contains(index));
    }
    EXPECT_EQ(set, CellSet::Single(3));
    // The complement sets bits 61..63 but they are never reported as cells.
    const CellSet all = CellSet().Not();
    EXPECT_TRUE(all.Contains(63));
    EXPECT_EQ(all.Count(), kCellCount);
    EXPECT_EQ(Cells(all).back(), 60);
}

TEST(Board, AccessorsKeepTheOtherHalf)
{
    Board board;
    board.SetCellValue(7, 3);
    board.SetOwner(7, 2);
    board.SetBonus(7, BONUS_BOMB);
    EXPECT_EQ(board.GetCellValue(7), 3);
    EXPECT_EQ(board.GetOwner(7), 2);
    EXPECT_EQ(board.GetBonus(7), BONUS_BOMB);
    EXPECT_EQ(board.GetCellFlags(7), 2 | BONUS_BOMB);
    board.SetOwner(7, 0);
    EXPECT_EQ(board.GetBonus(7), BONUS_BOMB);
    board.SetCellValue(7, 9);
    EXPECT_EQ(board.GetCellFlags(7), BONUS_BOMB);
    board.Clear();
    EXPECT_EQ(board, Board());
}

TEST(Board, QueriesOnABoardWithHoles)
{
    Board board;
    ASSERT_TRUE(ParseBoardText("1 # . . 2 / . . . . . . / . . . . . . . / . . . . . . . . / . . . . . . . . . /"
                               ". . . . . . . . / . . . . . . . / . . . . . . / . . . m #",
                               board));
    EXPECT_EQ(board.CountExistingCells(), 59);
    EXPECT_EQ(Cells(board.GetOwnedCells(1)), (std::vector<int>{0}));
    // Player 0 also yields the holes; the free cells do not.
    EXPECT_TRUE(board.GetOwnedCells(0).Contains(1));
    EXPECT_TRUE(board.GetOwnedCells(0).Contains(60));
    EXPECT_FALSE(board.GetFreeCells().Contains(1));
    EXPECT_TRUE(board.GetFreeCells().Contains(59));
    EXPECT_EQ(board.GetFreeCells().Count(), 57);
    EXPECT_EQ(Cells(board.GetCellsWithFlags(kBonusMask)), (std::vector<int>{59}));
    EXPECT_EQ(board.CountCells(kOwnerMask, 0), 57);
    EXPECT_EQ(board.CountCells(kBonusMask, BONUS_MINE), 1);
    EXPECT_FALSE(board.GetExistingCells().Contains(1));
    EXPECT_EQ(board.GetExistingCells().Count(), 59);
}

TEST(BoardBlock, CurrentFormRoundTrips)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 50; ++round)
    {
        const Board board = RandomBoard(rng);
        Quoll::Buffer buffer;
        board.Write(buffer);
        const std::vector<uint8_t> bytes = Bytes(buffer);
        ASSERT_EQ(bytes.size(), Board::kBlockBytes);
        EXPECT_EQ(bytes[0], 7);
        EXPECT_EQ(bytes[1], 0);
        EXPECT_EQ(std::string(bytes.begin() + 2, bytes.begin() + 9), "qk20brd");
        Board read;
        ASSERT_TRUE(read.Read(buffer));
        EXPECT_EQ(read, board) << "round " << round;
        EXPECT_TRUE(buffer.AtEnd());
    }
}

TEST(BoardBlock, BrokenBlocksLeaveTheBoardUnchanged)
{
    Board written;
    ASSERT_TRUE(ParseBoardText(std::string(61, '2'), written));
    Quoll::Buffer buffer;
    written.Write(buffer);
    const std::vector<uint8_t> good = Bytes(buffer);
    Board original;
    ASSERT_TRUE(ParseBoardText(std::string(30, '1') + std::string(31, '.'), original));
    // Any changed character of the closing magic, and any truncation, fails the read.
    for (size_t at = Board::kBlockBytes - 9; at < Board::kBlockBytes; ++at)
    {
        std::vector<uint8_t> bytes = good;
        bytes[at] ^= 0x20;
        Quoll::Buffer broken = BufferOf(bytes);
        Board board = original;
        EXPECT_FALSE(board.Read(broken)) << "byte " << at;
        EXPECT_EQ(board, original);
    }
    for (size_t length : {size_t{0}, size_t{9}, size_t{100}, Board::kBlockBytes - 1})
    {
        Quoll::Buffer truncated = BufferOf(std::vector<uint8_t>(good.begin(), good.begin() + length));
        Board board = original;
        EXPECT_FALSE(board.Read(truncated)) << "length " << length;
        EXPECT_EQ(board, original);
    }
}

TEST(BoardBlock, OldestFormDecodesNibbles)
{
    Quoll::Buffer allHoles = BufferOf(std::vector<uint8_t>(61, 0xFF));
    Board board;
    board.SetCellValue(3, 1);
    ASSERT_TRUE(board.Read(allHoles));
    EXPECT_EQ(board, Board());

    std::vector<uint8_t> bytes(61, 0x0F);
    bytes[0] = 0x00;  // a player-1 cell of kind 1
    bytes[1] = 0x2B;  // kind 3, flags 12: a bomb
    bytes[2] = 0xF2;  // a hole with flags, which it drops
    Quoll::Buffer buffer = BufferOf(bytes);
    ASSERT_TRUE(board.Read(buffer));
    EXPECT_EQ(board.GetCellValue(0), 1);
    EXPECT_EQ(board.GetOwner(0), 1);
    EXPECT_EQ(board.GetCellValue(1), 3);
    EXPECT_EQ(board.GetBonus(1), BONUS_BOMB);
    EXPECT_EQ(board.GetCellValue(2), 0);
    EXPECT_EQ(board.GetCellFlags(2), 0);
    EXPECT_EQ(board.GetCellValue(60), 1);
    EXPECT_EQ(board.GetCellFlags(60), 0);
}

TEST(BoardBlock, OlderFormAndItsClosingMagic)
{
    auto block = [](const std::string& closing) {
        Quoll::Buffer buffer;
        buffer.WriteString("qkhxbrd");
        std::vector<uint8_t> cells(61, 0x01);
        cells[5] = 0x21;   // kind 1, owner 2
        cells[6] = 0x83;   // kind 3, teleport
        cells[7] = 0x30;   // a hole with flags
        buffer.WriteBytes(cells.data(), cells.size());
        buffer.WriteString(closing);
        return buffer;
    };
    Quoll::Buffer buffer = block("qkhxbrd");
    EXPECT_EQ(buffer.GetDataSize(), 79u);
    Board board;
    ASSERT_TRUE(board.Read(buffer));
    EXPECT_EQ(board.GetOwner(5), 2);
    EXPECT_EQ(board.GetCellValue(6), 3);
    EXPECT_EQ(board.GetBonus(6), BONUS_TELEPORT);
    EXPECT_EQ(board.GetCellFlags(7), 0);
    EXPECT_EQ(board.CountExistingCells(), 60);

    Quoll::Buffer broken = block("qkhxbrX");
    Board untouched;
    EXPECT_FALSE(untouched.Read(broken));
    EXPECT_EQ(untouched, Board());
}

TEST(CellMask, FastScanMatchesThePlainLoop)
{
    std::mt19937 rng(2024);
    for (int round = 0; round < 2000; ++round)
    {
        CellWords words{};
        for (uint32_t& word : words)
            word = rng() % 3 == 0 ? 0 : (rng() & 0x001F000Fu);
        const uint32_t select = rng() % 2 ? 0x30000u : (rng() & 0x001F000Fu);
        const uint32_t value = rng() % 2 ? (rng() % 4) << 16 : (rng() & select);
        ASSERT_EQ(CellMask(words, select, value), CellMaskPlain(words, select, value))
            << "round " << round << " (seed 2024)";
    }
}

// The level-logic section: round trip with the generator (2808 bytes for two players), sections
// without the generator part, the old headerless layout, and every refusal, which must leave
// the logic exactly as it was.
// Rerun one case: test_board --gtest_filter='LevelLogicSection.Refuses*'
#include "BoardTestSupport.h"

#include "game/board/LogicChecker.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace BoardTest;

namespace
{
constexpr std::string_view kPosition = "1 1 . 2 2 / . . . . . . / . . . . . . . / . . . # # . . . / . . . . . . . . . /"
                                       ". . . . . . . . / . . . . . . . / . . . . . b / . . . . 2";

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

void ExpectSameLogic(const GameLogic& a, const GameLogic& b)
{
    EXPECT_EQ(a.GetPlayers(), b.GetPlayers());
    EXPECT_EQ(a.GetCurrentPlayer(), b.GetCurrentPlayer());
    EXPECT_EQ(a.GetBoard(), b.GetBoard());
    EXPECT_EQ(a.GetRandom().GetState(), b.GetRandom().GetState());
    for (int index = 0; index <= 3; ++index)
        EXPECT_EQ(a.GetCellCount(index), b.GetCellCount(index));
}

// A section written field by field, for the refusals.
struct SectionLayout
{
    int32_t playerCount = 2;
    std::vector<int32_t> levels{-1, 1};
    int32_t currentPlayer = 2;
    std::string board{kPosition};
    bool withRandom = true;
};

Quoll::Buffer WriteSection(const SectionLayout& layout)
{
    GameLogic source = MakeLogic(layout.board, {-1, 0, 0}, 1);
    Quoll::Buffer buffer;
    buffer.WriteString("qklgc");
    buffer.WriteInt32(layout.playerCount);
    for (int32_t level : layout.levels)
        buffer.WriteInt32(level);
    buffer.WriteInt32(layout.currentPlayer);
    source.GetBoard().Write(buffer);
    buffer.WriteString("qklgc");
    if (layout.withRandom)
    {
        buffer.WriteString("qkrnd");
        buffer.WriteString(Quoll::MersenneTwister().GetState());
        buffer.WriteString("qkrnd");
    }
    return buffer;
}
} // namespace

TEST(LevelLogicSection, RoundTripRestoresTheGeneratorSequence)
{
    GameLogic logic = MakeLogic(kPosition, {-1, 1}, 2, 12345);
    for (int i = 0; i < 700; ++i) // past one regeneration of the state
        logic.Random(1000);
    Quoll::Buffer buffer;
    logic.Write(buffer);
    const std::vector<uint8_t> bytes = Bytes(buffer);
    ASSERT_EQ(bytes.size(), 2808u);
    EXPECT_EQ(std::string(bytes.begin() + 2, bytes.begin() + 7), "qklgc");

    GameLogic read;
    ASSERT_TRUE(read.Read(buffer));
    EXPECT_TRUE(buffer.AtEnd());
    ExpectSameLogic(read, logic);
    EXPECT_EQ(FindLogicFault(read), "");
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(read.Random(1 << 30), logic.Random(1 << 30)) << "draw " << i;
}

TEST(LevelLogicSection, WithoutTheGeneratorPartStillReads)
{
    SectionLayout layout;
    layout.withRandom = false;
    Quoll::Buffer buffer = WriteSection(layout);
    buffer.WriteString("next");
    GameLogic logic;
    logic.Init(777);
    const std::string stateBefore = logic.GetRandom().GetState();
    ASSERT_TRUE(logic.Read(buffer));
    EXPECT_EQ(logic.GetRandom().GetState(), stateBefore);
    EXPECT_EQ(logic.GetCurrentPlayer(), 2);
    EXPECT_EQ(logic.GetCellCount(2), 3);
    // The read stopped just after the closing "qklgc".
    EXPECT_EQ(buffer.ReadString(), "next");
}

TEST(LevelLogicSection, OldHeaderlessLayout)
{
    // Numbers in the most significant byte; FF FF FF FF is a human.
    Quoll::Buffer buffer;
    buffer.WriteInt32(3 << 24);
    buffer.WriteInt32(-1);
    buffer.WriteInt32(2 << 24);
    buffer.WriteInt32(3 << 24);
    std::vector<uint8_t> cells(61, 0x0F);
    cells[0] = 0x00; // player 1
    cells[1] = 0x01; // player 2
    cells[2] = 0x02; // player 3
    buffer.WriteBytes(cells.data(), cells.size());
    GameLogic logic;
    const std::string stateBefore = logic.GetRandom().GetState();
    ASSERT_TRUE(logic.Read(buffer));
    EXPECT_EQ(logic.GetPlayerCount(), 3);
    EXPECT_EQ(logic.GetPlayerAiLevel(1), -1);
    EXPECT_EQ(logic.GetPlayerAiLevel(2), 2);
    EXPECT_EQ(logic.GetPlayerAiLevel(3), 3);
    EXPECT_EQ(logic.GetCurrentPlayer(), 1);
    EXPECT_EQ(logic.GetCellCount(3), 1);
    EXPECT_EQ(logic.GetFreeCellCount(), 58);
    EXPECT_EQ(logic.GetRandom().GetState(), stateBefore);
}

TEST(LevelLogicSection, RefusesBadValuesAndChangesNothing)
{
    const std::vector<std::pair<std::string, std::function<void(SectionLayout&)>>> faults = {
        {"no players", [](SectionLayout& s) { s.playerCount = 0; s.levels.clear(); }},
        {"four players", [](SectionLayout& s) { s.playerCount = 4; s.levels = {-1, 0, 0, 0}; }},
        {"negative player count", [](SectionLayout& s) { s.playerCount = -2; }},
        {"level below -1", [](SectionLayout& s) { s.levels[1] = -2; }},
        {"level above 3", [](SectionLayout& s) { s.levels[1] = 4; }},
        {"current player 0", [](SectionLayout& s) { s.currentPlayer = 0; }},
        {"current player above N", [](SectionLayout& s) { s.currentPlayer = 3; }},
        {"owner above N", [](SectionLayout& s) { s.board[20] = '3'; }},
    };
    GameLogic original = MakeLogic(". . . . . / . . . . . . / . 1 . . . . . / . . . . . . . . / . . . . 3 . . . . /"
                                   ". . . . . . . . / . . . . 2 . . / . . . . . . / . . . . .",
                                   {-1, 0, 2}, 3, 4242);
    for (const auto& [name, fault] : faults)
    {
        SectionLayout layout;
        fault(layout);
        Quoll::Buffer buffer = WriteSection(layout);
        GameLogic logic = original;
        EXPECT_FALSE(logic.Read(buffer)) << name;
        ExpectSameLogic(logic, original);
    }
}

TEST(LevelLogicSection, RefusesTruncatedAndBrokenSections)
{
    GameLogic source = MakeLogic(kPosition, {-1, 1}, 2, 99);
    Quoll::Buffer full;
    source.Write(full);
    const std::vector<uint8_t> bytes = Bytes(full);
    GameLogic original = MakeLogic(kPosition, {-1, 0, 0}, 1, 5);
    original.MakeMove(0, 5, true);
    // Cut anywhere before the end of the board block, inside the generator part, or with a
    // broken closing magic: refused, nothing changes.
    std::vector<size_t> cuts = {0, 3, 7, 11, 15, 19, 100, 280, 287, 300, 2000, 2801, 2807};
    for (size_t cut : cuts)
    {
        Quoll::Buffer truncated = BufferOf(std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut));
        GameLogic logic = original;
        EXPECT_FALSE(logic.Read(truncated)) << "cut at " << cut;
        ExpectSameLogic(logic, original);
    }
    for (size_t at : {size_t{284}, size_t{290}, size_t{2805}})
    {
        std::vector<uint8_t> broken = bytes;
        broken[at] ^= 0x01;
        Quoll::Buffer buffer = BufferOf(broken);
        GameLogic logic = original;
        EXPECT_FALSE(logic.Read(buffer)) << "byte " << at;
        ExpectSameLogic(logic, original);
    }
}

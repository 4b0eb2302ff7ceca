// The level compiler: texts compiled, printed and compiled again give the same bytes; a compiled
// level equals what the game saves for the same level built in the editor; every validation
// error names its line; level files that the text cannot say are refused when printed.
// Rerun one case: test_level --gtest_filter='LevelCompiler.*'
#include "LevelTestSupport.h"

#include "game/level/LevelText.h"

#include "framework/files/PakInterface.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace LevelTest;

namespace
{
const std::string kFullRows = "        1.  1.  1.  1.  1.\n"
                              "      1.  1.  1.  1.  1.  1.\n"
                              "    1.  1.  1.  1.  1.  1.  1.\n"
                              "  1.  1.  1.  1.  1.  1.  1.  1.\n"
                              "1.  1.  1.  1.  1.  1.  1.  1.  1.\n"
                              "  1.  1.  1.  1.  1.  1.  1.  1.\n"
                              "    1.  1.  1.  1.  1.  1.  1.\n"
                              "      1.  1.  1.  1.  1.  1.\n"
                              "        1.  1.  1.  1.  1.\n";

// A level text: the header lines, then the board rows with the given tokens put in (cell order).
std::string LevelSource(const std::string& header, std::initializer_list<std::pair<int, std::string>> cells)
{
    std::vector<std::string> tokens(kCellCount, "1.");
    for (const auto& [cell, token] : cells)
        tokens[static_cast<size_t>(cell)] = token;
    std::string text = header + "board\n";
    int cell = 0;
    for (int length : {5, 6, 7, 8, 9, 8, 7, 6, 5})
    {
        for (int i = 0; i < length; ++i)
            text += tokens[static_cast<size_t>(cell++)] + (i + 1 < length ? " " : "\n");
    }
    return text;
}

const std::string kHeader = "players -1 0\nfirst 1\nseed 12\nmedal rounds 8 14\n";

std::vector<uint8_t> Bytes(const Quoll::Buffer& buffer)
{
    return {buffer.GetDataPtr(), buffer.GetDataPtr() + buffer.GetDataSize()};
}

Quoll::Buffer Compile(const std::string& text)
{
    Quoll::Buffer body;
    LevelTextError error;
    EXPECT_TRUE(CompileLevelText(text, body, error)) << error.ToString();
    return body;
}

std::string Print(Quoll::Buffer body)
{
    body.SeekReadStart();
    std::string text;
    LevelTextError error;
    EXPECT_TRUE(PrintLevelText(body, text, error)) << error.ToString();
    return text;
}

LevelTextError CompileError(const std::string& text)
{
    Quoll::Buffer body;
    LevelTextError error;
    EXPECT_FALSE(CompileLevelText(text, body, error)) << text;
    EXPECT_EQ(body.GetDataSize(), 0u);
    return error;
}

std::vector<std::string> Corpus()
{
    std::vector<std::string> texts;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(QUOLL_SOURCE_DIR) + "/tests/level/data/levels"))
    {
        std::string text;
        EXPECT_TRUE(Quoll::PakReadFile(entry.path().string(), text)) << entry.path();
        texts.push_back(text);
    }
    texts.push_back(LevelSource(kHeader, {{0, "11"}, {60, "32"}, {30, "2m"}, {31, "3t"}, {32, "1b"}, {33, "2l"}, {5, "-"}}));
    texts.push_back(LevelSource("players -1 2 3\nfirst 3\nseed 4294967295\nmedal cells 40 30\n",
                                {{0, "11"}, {4, "12"}, {56, "23"}, {45, "-"}, {46, "-"}}));
    texts.push_back(LevelSource("# seed 0 is the logic's default seed\nplayers -1 1\nfirst 2\nseed 0\nmedal rounds 3 3\n",
                                {{10, "11"}, {50, "12"}}));
    return texts;
}
} // namespace

TEST(LevelCompiler, CompilePrintCompileGivesTheSameBytes)
{
    const std::vector<std::string> corpus = Corpus();
    ASSERT_GE(corpus.size(), 6u);
    for (const std::string& text : corpus)
    {
        SCOPED_TRACE(text);
        const Quoll::Buffer first = Compile(text);
        const std::string printed = Print(first);
        const Quoll::Buffer second = Compile(printed);
        EXPECT_EQ(Bytes(first), Bytes(second));
        EXPECT_EQ(Print(second), printed);
    }
}

TEST(LevelCompiler, CompiledLevelEqualsTheGamesSaveOfTheEditedLevel)
{
    // The same level built in the game: a picture, kinds and the medal rule set in the editor.
    LevelFixture f;
    f.StartBody(LogicBody(Picture({{0, '1'}, {60, '2'}, {30, 'm'}, {31, 't'}, {32, 'b'}, {33, 'l'}, {5, '#'}}),
                          {-1, 0}, 1, 12));
    f.level().EditSetCellKind(RecordingLevelView::PointOf(30), 2);
    f.level().EditSetCellKind(RecordingLevelView::PointOf(60), 3);
    f.level().EditSetMedalThresholds(14, 8);
    Quoll::Buffer saved;
    ASSERT_TRUE(f.level().Save(saved, true));

    const Quoll::Buffer compiled =
        Compile(LevelSource(kHeader, {{0, "11"}, {60, "32"}, {30, "2m"}, {31, "1t"}, {32, "1b"}, {33, "1l"}, {5, "-"}}));
    EXPECT_EQ(Bytes(compiled), Bytes(saved));
    // The file loads into a fresh level with fresh parameters and the medal rule.
    LevelFixture g;
    g.StartBody(compiled);
    EXPECT_EQ(g.level().GetParams().round, 1);
    EXPECT_EQ(g.level().GetParams().cellCount, 60);
    EXPECT_EQ(g.level().GetMedalRule(), (MedalRule{8, 14, 1}));
    EXPECT_EQ(g.level().GetSelectedCell(), -1);
}

TEST(LevelCompiler, ValidationErrorsNameTheirLine)
{
    struct Case
    {
        std::string text;
        int line;
        std::string words;
    };
    const std::string board2 = "players -1 0\nfirst 1\nseed 1\nmedal cells 5 3\n";
    const std::vector<Case> cases = {
        // Owners within the player count (row 9 is line 14).
        {LevelSource(board2, {{0, "11"}, {56, "13"}, {60, "12"}}), 14, "belongs to player 3"},
        // Three players exactly when player 3 has a cell.
        {LevelSource("players -1 0 0\nfirst 1\nseed 1\nmedal cells 5 3\n", {{0, "11"}, {60, "12"}}), 1, "no cell of player 3"},
        // Every player has a cell and a move.
        {LevelSource(board2, {{0, "11"}}), 5, "player 2 has no cell"},
        {LevelSource(board2, {{0, "11"}, {60, "12"}, {59, "-"}, {54, "-"}, {55, "-"}, {53, "-"}, {58, "-"}, {48, "-"},
                              {49, "-"}, {47, "-"}, {57, "-"}, {41, "-"}}),
         5, "player 2 has no move"},
        // Kinds 1..3.
        {LevelSource(board2, {{0, "11"}, {60, "12"}, {11, "4."}}), 8, "kind 4"},
        {LevelSource(board2, {{0, "11"}, {60, "12"}, {26, "0."}}), 10, "kind 0"},
        // Syntax.
        {LevelSource(board2, {{0, "11"}, {60, "12"}, {18, "1x"}}), 9, "not a cell"},
        {"players -1 0\nfirst 1\nseed 1\nmedal cells 5 3\nboard\n1. 1.\n", 6, "has 2 cells"},
        {"players -1 0\nfirst 1\nseed 1\nmedal cells 5 3\nboard\n1. 1. 1. 1. 1.\n", 6, "needs 9"},
        {"players -1 4\n", 1, "outside -1..3"},
        {"players -1\n", 1, "takes 2 to 3 values"},
        {"\n\nplayers -1 0\nplayers -1 0\n", 4, "second time"},
        {"players -1 0\nfirst x\n", 2, "not a valid player"},
        {"players -1 0\nseed -4\n", 2, "not a valid seed"},
        {"medal stars 1 2\n", 1, "neither 'cells' nor 'rounds'"},
        {"colour blue\n", 1, "unknown keyword"},
        {"players -1 0\nfirst 1\nseed 1\n# no medal\n", 3, "no 'medal' line"},
        {LevelSource("players -1 0\nfirst 3\nseed 1\nmedal cells 5 3\n", {{0, "11"}, {60, "12"}}), 2, "first player 3"},
    };
    for (const Case& c : cases)
    {
        const LevelTextError error = CompileError(c.text);
        EXPECT_EQ(error.line, c.line) << c.text << "\n" << error.ToString();
        EXPECT_NE(error.message.find(c.words), std::string::npos) << error.ToString();
        EXPECT_EQ(error.ToString().rfind("line " + std::to_string(c.line) + ": ", 0), 0u) << error.ToString();
    }
}

TEST(LevelCompiler, PrintingRefusesWhatTheTextCannotSay)
{
    LevelTextError error;
    std::string text;
    // Not a level file at all.
    Quoll::Buffer garbage;
    garbage.WriteString("not a level");
    EXPECT_FALSE(PrintLevelText(garbage, text, error));
    EXPECT_NE(error.message.find("not a level file"), std::string::npos);
    // A bacterium standing on a bonus.
    Quoll::Buffer onBonus = LogicBodyWithBonuses(Picture({{0, '1'}, {60, '2'}}), {-1, 0}, 1, {{0, BONUS_BOMB}});
    EXPECT_FALSE(PrintLevelText(onBonus, text, error));
    EXPECT_NE(error.message.find("cell 0"), std::string::npos) << error.message;
    // A game in progress whose generator has been drawn from.
    GameLogic logic = BoardTest::MakeLogic(Picture({{0, '1'}, {60, '2'}}), {-1, 0}, 1, 5);
    logic.Random(10);
    Quoll::Buffer played;
    logic.Write(played);
    EXPECT_FALSE(PrintLevelText(played, text, error));
    EXPECT_NE(error.message.find("generator"), std::string::npos) << error.message;
    // A damaged level file: its medal-rule marker.
    Quoll::Buffer compiled = Compile(Print(LogicBody(Picture({{0, '1'}, {60, '2'}}), {-1, 1}, 1, 33)));
    std::vector<uint8_t> bytes(compiled.GetDataPtr(), compiled.GetDataPtr() + compiled.GetDataSize());
    bytes[bytes.size() - 16] ^= 0x10;
    Quoll::Buffer damaged;
    damaged.WriteBytes(bytes.data(), bytes.size());
    EXPECT_FALSE(PrintLevelText(damaged, text, error));
    EXPECT_EQ(error.message, "not a level file: its medal-rule marker is 381, not 365");
}

TEST(LevelCompiler, OlderLevelFilesPrintWithTheDefaultMedalRule)
{
    // A body that ends after the logic section: the level's defaults, ordered for rounds.
    const std::string text = Print(LogicBody(Picture({{0, '1'}, {60, '2'}}), {-1, 1}, 2, 33));
    EXPECT_NE(text.find("players -1 1\nfirst 2\nseed 33\nmedal rounds 1 2\n"), std::string::npos) << text;
    Compile(text);
}

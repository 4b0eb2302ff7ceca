// Stresses the configuration line reader: comments and blank lines skipped, CR LF endings,
// a line far longer than any fixed buffer, physical line numbers, reopening.
// Rerun one case: ./test_resources --gtest_filter=ConfigFileTest.LongLineIsReadWhole
#include "TestFolder.h"

#include "framework/files/ConfigFile.h"

using namespace Quoll;

namespace
{
using ConfigFileTest = QuollTest::TestFolder;

TEST_F(ConfigFileTest, SkipsCommentsAndBlankLinesAndCountsPhysicalLines)
{
    WriteFile("game.cfg", "# header\r\n\r\nEPISODELEVELS 1 2 3\r\n   \n#x\nLEVELASSET 7\n\n");
    ConfigFile config;
    ASSERT_TRUE(config.Open("game.cfg"));
    std::stringstream line;
    ASSERT_TRUE(config.NextLine(line));
    std::string keyword;
    int a = 0, b = 0, c = 0;
    line >> keyword >> a >> b >> c;
    EXPECT_EQ(keyword, "EPISODELEVELS");
    EXPECT_EQ(c, 3);
    EXPECT_EQ(config.GetLineNumber(), 3);

    // A line of spaces is not empty: the reader hands it over and the caller finds no word.
    ASSERT_TRUE(config.NextLine(line));
    EXPECT_FALSE(line >> keyword);
    EXPECT_EQ(config.GetLineNumber(), 4);

    ASSERT_TRUE(config.NextLine(line));
    EXPECT_EQ(line.str(), "LEVELASSET 7");
    EXPECT_EQ(config.GetLineNumber(), 6);
    EXPECT_FALSE(config.NextLine(line));
    EXPECT_FALSE(config.NextLine(line));
}

TEST_F(ConfigFileTest, LongLineIsReadWhole)
{
    std::string longLine = "CUSTOMDELAYS";
    while (longLine.size() < 5000)
        longLine += " 10";
    WriteFile("x.anim", "FRAMEANIMATION 4 100 0\n" + longLine + "\r\nlast");
    ConfigFile config;
    ASSERT_TRUE(config.Open("x.anim"));
    std::stringstream line;
    ASSERT_TRUE(config.NextLine(line));
    ASSERT_TRUE(config.NextLine(line));
    EXPECT_EQ(line.str(), longLine);
    ASSERT_TRUE(config.NextLine(line));
    EXPECT_EQ(line.str(), "last");
    EXPECT_EQ(config.GetLineNumber(), 3);
}

TEST_F(ConfigFileTest, OpenFailsForMissingFileAndReopenStartsOver)
{
    ConfigFile config;
    EXPECT_FALSE(config.Open("missing.cfg"));
    std::stringstream line;
    EXPECT_FALSE(config.NextLine(line));

    WriteFile("a.cfg", "A\n");
    WriteFile("b.cfg", "\nB\n");
    ASSERT_TRUE(config.Open("a.cfg"));
    ASSERT_TRUE(config.NextLine(line));
    ASSERT_TRUE(config.Open("b.cfg"));
    ASSERT_TRUE(config.NextLine(line));
    EXPECT_EQ(line.str(), "B");
    EXPECT_EQ(config.GetLineNumber(), 2);
}
} // namespace

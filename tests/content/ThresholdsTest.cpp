// The thresholds command's pieces: the medal line rewritten in place, the README's table kept in
// level order with one row per file, and the thresholds of a small batch by the percentile rule.
#include "tools/leveldriver/BatchReport.h"
#include "tools/leveldriver/Thresholds.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
const std::string kLevel = "# two players\nplayers -1 0\nfirst 1\nseed 5\nmedal rounds 1 2   # placeholder\nboard\n"
                           "        11  1.  1.  1.  1.\n      1.  1.  1.  1.  1.  1.\n    1.  1.  1.  1.  1.  1.  1.\n"
                           "  1.  1.  1.  1.  1.  1.  1.  1.\n1.  1.  1.  1.  1.  1.  1.  1.  1.\n"
                           "  1.  1.  1.  1.  1.  1.  1.  1.\n    1.  1.  1.  1.  1.  1.  1.\n"
                           "      1.  1.  1.  1.  1.  1.\n        1.  1.  1.  1.  12\n";
} // namespace

TEST(Thresholds, TheMedalLineIsRewrittenInPlace)
{
    std::string text = kLevel;
    MedalRule rule;
    rule.mode = static_cast<int32_t>(MedalMode::Cells);
    rule.firstThreshold = 40;
    rule.secondThreshold = 30;
    ASSERT_TRUE(ReplaceMedalLine(text, rule));
    EXPECT_NE(text.find("seed 5\nmedal cells 40 30\nboard\n"), std::string::npos) << text;
    EXPECT_EQ(text.size(), kLevel.size() - std::string("medal rounds 1 2   # placeholder").size() +
                               std::string("medal cells 40 30").size());
    std::string none = "players -1 0\n";
    EXPECT_FALSE(ReplaceMedalLine(none, rule));
}

TEST(Thresholds, TableRowsAreReplacedAndKeptInLevelOrder)
{
    std::string readme = std::string("intro\n") + kTableBegin + "\n| level | file |\n|---|---|\n" +
                         "| 10 | normal | a |\n| 2 | easy | b |\n" + kTableEnd + "\nafter\n";
    ASSERT_TRUE(PutTableRow(readme, "| 2 | normal | c |"));
    ASSERT_TRUE(PutTableRow(readme, "| 10 | normal | d |"));
    EXPECT_EQ(readme, std::string("intro\n") + kTableBegin + "\n| level | file |\n|---|---|\n" +
                          "| 2 | normal | c |\n| 2 | easy | b |\n| 10 | normal | d |\n" + kTableEnd + "\nafter\n");
    EXPECT_EQ(FindTableRow(readme, 2, "easy"), "| 2 | easy | b |");
    EXPECT_EQ(FindTableRow(readme, 3, "easy"), "");
    std::string noTable = "no table\n";
    EXPECT_FALSE(PutTableRow(noTable, "| 1 | normal | x |"));
    EXPECT_FALSE(PutTableRow(readme, "not a row"));
}

TEST(Thresholds, ABatchGivesPercentileThresholdsAndItsFirstWin)
{
    // Nearest-rank percentiles as the batch report prints them.
    EXPECT_EQ(Percentile({5, 1, 4, 2, 3}, 25), 2);
    EXPECT_EQ(Percentile({5, 1, 4, 2, 3}, 75), 4);
    EXPECT_EQ(Percentile({7}, 75), 7);
    ThresholdRun run;
    std::string error;
    ASSERT_TRUE(RunThresholds(kLevel, 1, 30, run, error)) << error;
    ASSERT_GT(run.wins, 0);
    ASSERT_TRUE(run.firstWinIndex.has_value());
    EXPECT_LE(run.rule.firstThreshold, run.rule.secondThreshold);
    EXPECT_EQ(run.medals[0] + run.medals[1] + run.medals[2], run.wins);
    // About a quarter of the wins earn the best medal: fewer rounds than the first threshold.
    EXPECT_GE(run.medals[2], 1);
    EXPECT_LE(run.medals[2], run.wins / 2 + 1);
    ASSERT_TRUE(run.firstWin.outcome.has_value());
    EXPECT_EQ(run.firstWin.outcome->result, 1);
    EXPECT_EQ(run.Row().rfind("| 1 | normal | rounds | ", 0), 0u) << run.Row();
    // A text that does not compile is refused with its line.
    EXPECT_FALSE(RunThresholds("players -1\n", 1, 30, run, error));
    EXPECT_NE(error.find("line 1"), std::string::npos) << error;
}

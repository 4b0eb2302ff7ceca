// The score table and the credits: their commands and what they draw.
// Rerun one case: test_screens --gtest_filter='ScoresCredits.*'.
#include "ScreenTestDoubles.h"
#include "game/screens/CreditsDlg.h"
#include "game/screens/ScoresDlg.h"
#include "game/ui/Button.h"

#include <gtest/gtest.h>

namespace
{
using Commands = std::vector<std::pair<int, int>>;
using ScreenTest::ScreenHarness;

// Whether the pixel at a dialog position shows the colour.
bool Shows(ScreenHarness& harness, const Quoll::Widget& dialog, int x, int y, uint32_t rgb)
{
    return harness.ui.Pixel(dialog.mX + x, dialog.mY + y) == rgb;
}

TEST(ScoresCredits, ScoresCommandsAndOkPlace)
{
    ScreenHarness harness;
    ScoreTable table;
    auto* dialog = harness.Show(new ScoresDlg(table));
    const auto* ok = dynamic_cast<Quoll::Button*>(dialog->GetWidgets().at(0));
    EXPECT_EQ(ok->mX, 434);
    EXPECT_EQ(ok->mY, 525);
    harness.Click(*ok);
    harness.Key(27);
    EXPECT_EQ(harness.Commands(), (Commands{{1, 0}, {0, 0}}));
}

TEST(ScoresCredits, EmptyTableShowsFiveRowsWithoutNames)
{
    ScreenHarness harness;
    ScoreTable table;
    auto* dialog = harness.Show(new ScoresDlg(table));
    harness.Run();
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_TRUE(Shows(harness, *dialog, 57 + 300, 153 + 75 * i + 5, 0xD8E4F8)) << i; // the row panel
        EXPECT_TRUE(Shows(harness, *dialog, 68 + 10, 172 + 75 * i + 10, i == 0 ? 0xF0C020 : i == 1 ? 0xC0C8D0
                                                                          : i == 2   ? 0xC08040
                                                                                     : 0x6080A0))
            << i;
        // No name on the name column.
        EXPECT_TRUE(Shows(harness, *dialog, 216, 160 + 75 * i + 6, 0xD8E4F8)) << i;
    }
}

TEST(ScoresCredits, SevenEntriesShowTheBestFive)
{
    ScreenHarness harness;
    ScoreTable table;
    for (int i = 0; i < 7; ++i)
    {
        std::string name = "p";
        name += std::to_string(i);
        table.Submit(name, 1000 * (i + 1));
    }
    ASSERT_GE(table.GetEntries().size(), 5u);
    auto* dialog = harness.Show(new ScoresDlg(table));
    harness.Run();
    // Names (two glyphs, 12 px, centred on 216) and scores (four digits, 24 px, centred on 426) on each row.
    for (int i = 0; i < 5; ++i)
    {
        const int textTop = 10 + 160 + 75 * i - 8;
        EXPECT_TRUE(Shows(harness, *dialog, 216 - 6 + 1, textTop + 3, 0x7607AF)) << i;
        EXPECT_TRUE(Shows(harness, *dialog, 426 - 12 + 1, textTop + 3, 0x7100F0)) << i;
    }
}

TEST(ScoresCredits, CreditsCommandsAndLayout)
{
    ScreenHarness harness;
    auto* dialog = harness.Show(new CreditsDlg);
    const auto* ok = dynamic_cast<Quoll::Button*>(dialog->GetWidgets().at(0));
    EXPECT_EQ(ok->mX, (600 - 160) / 2);
    EXPECT_EQ(ok->mY, 480 - 48 - 30);
    harness.Key(27);
    harness.Click(*ok);
    EXPECT_EQ(harness.Commands(), (Commands{{0, 0}, {1, 0}}));
    harness.Run();
    // The first name centred at baseline 160, in the label colour.
    const int width = 6 * static_cast<int>(std::string(CreditsDlg::kNames[0]).size());
    EXPECT_EQ(harness.ui.Pixel(dialog->mX + (600 - width) / 2 + 1, dialog->mY + 155), 0x1B3E98u);
}
} // namespace

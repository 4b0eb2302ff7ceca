// The difficulty dialog: its commands, layout and the hints above the pair of buttons.
// Rerun one case: test_screens --gtest_filter='ComplexityDlgTest.*'.
#include "ScreenTestDoubles.h"
#include "game/screens/ComplexityDlg.h"
#include "game/ui/Button.h"

#include <gtest/gtest.h>

namespace
{
using Commands = std::vector<std::pair<int, int>>;

TEST(ComplexityDlgTest, CommandsLayoutAndHints)
{
    ScreenTest::ScreenHarness harness;
    auto* dialog = harness.Show(new ComplexityDlg);
    Quoll::Button* easy = dialog->GetEasyButton();
    Quoll::Button* normal = dialog->GetNormalButton();
    EXPECT_EQ(easy->mX, (560 - 300) / 2);
    EXPECT_EQ(easy->mY, 230);
    EXPECT_EQ(normal->mY, 310);
    EXPECT_EQ(normal->mWidth, 300);
    EXPECT_EQ(normal->mHeight, 48);

    harness.Click(*easy);
    // The pointer is over the easy button now: its hint is centred 150 px right, 70 px above.
    ASSERT_TRUE(easy->IsHintShown());
    EXPECT_EQ(easy->GetHintX(), easy->GetAbsolutePosition().x + 150 - 200);
    EXPECT_EQ(easy->GetHintY(), easy->GetAbsolutePosition().y - 70 + 8);
    harness.Click(*normal);
    EXPECT_FALSE(easy->IsHintShown());
    EXPECT_EQ(normal->GetHintY(), normal->GetAbsolutePosition().y - 150 + 8);
    harness.Key(27);
    EXPECT_EQ(harness.Commands(), (Commands{{501, 0}, {502, 0}, {500, 0}}));
    harness.Close();
    EXPECT_EQ(harness.ui.groupCalls, (std::vector<std::string>{"load EditName", "unload EditName"}));
}
} // namespace

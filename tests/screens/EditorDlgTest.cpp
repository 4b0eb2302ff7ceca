// The level editor's panel: its layout, the palette's selection and board clicks, the threshold
// fields and the status it shows.
// Rerun one case: test_screens --gtest_filter='Editor.*'.
#include "game/screens/EditorDlg.h"
#include "EndScreensDoubles.h"
#include "framework/widgets/EditWidget.h"
#include "game/ui/Button.h"
#include "tests/play/FakePlayServices.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
using Commands = std::vector<std::pair<int, int>>;
using ScreenTest::ScreenHarness;

struct EditorFixture
{
    EditorFixture()
    {
        play.RegisterArt();
        harness.ui.fonts["FONT_LABEL"] = &harness.blockFont;
        panel = harness.Show(new EditorDlg(play));
    }

    void ClickAt(int x, int y)
    {
        harness.ui.manager.MouseMove(x, y);
        harness.ui.manager.MouseDown(x, y, 1);
        harness.ui.manager.MouseUp(x, y, 1);
    }

    // The play services outlive the harness, whose states detach the panel last.
    FakePlayServices play;
    ScreenHarness harness;
    ScreenTest::EndScreensArt art{harness};
    EditorDlg* panel = nullptr;
};

TEST(Editor, TilesAndControlsSitWhereTheStripPutsThem)
{
    EditorFixture f;
    for (int k = 0; k < EditorDlg::kPaletteSize; ++k)
    {
        const PaletteEntry& entry = f.panel->GetPaletteEntry(k);
        EXPECT_EQ(entry.x, k <= 3 ? 130 + 70 * k : 150 + 70 * k) << k;
        EXPECT_EQ(entry.y, 698);
        EXPECT_EQ(entry.width, 60);
        EXPECT_EQ(entry.kind, k);
        EXPECT_EQ(entry.image == nullptr, k == 0 || k == 4) << k;
    }
    EXPECT_EQ(f.panel->GetPaletteEntry(3).cel, 2);
    // The bonus strip has one cel: the tile shows it rather than nothing.
    EXPECT_EQ(f.panel->GetPaletteEntry(11).cel, 0);
    EXPECT_EQ(f.panel->GetPaletteEntry(9).image,
              f.play.GetImageById(f.play.GetResourceIdByName("IMAGE_BONUS2")));
    const struct
    {
        const Quoll::Widget* widget;
        int x, y;
    } controls[] = {
        {f.panel->GetButton(4), 585, 678},        {f.panel->GetButton(5), 655, 678},
        {f.panel->GetThresholdEdit(0), 802, 676}, {f.panel->GetThresholdEdit(1), 872, 676},
        {f.panel->GetButton(0), 10, 698},         {f.panel->GetButton(3), 60, 728},
    };
    for (const auto& control : controls)
    {
        ASSERT_NE(control.widget, nullptr);
        EXPECT_EQ(control.widget->mX, control.x);
        EXPECT_EQ(control.widget->mY, control.y);
    }
    EXPECT_EQ(f.panel->GetThresholdEdit(1)->mWidth, 35);
}

TEST(Editor, PaletteSelectionAndBoardClicks)
{
    EditorFixture f;
    EXPECT_EQ(f.panel->GetSelectedEntry(), 5);
    f.ClickAt(f.panel->GetPaletteEntry(5).x + 30, 720);
    EXPECT_TRUE(f.harness.Commands().empty());
    f.ClickAt(f.panel->GetPaletteEntry(9).x, 698);
    EXPECT_EQ(f.harness.Commands(), (Commands{{8, 9}}));
    EXPECT_EQ(f.panel->GetSelectedEntry(), 9);
    f.harness.Run(1);
    const PaletteEntry& chosen = f.panel->GetPaletteEntry(9);
    EXPECT_EQ(f.harness.ui.Pixel(chosen.x, chosen.y + 30) & 0xFFFFFF, 0xFFFF00u);
    const PaletteEntry& old = f.panel->GetPaletteEntry(5);
    EXPECT_NE(f.harness.ui.Pixel(old.x, old.y + 30) & 0xFFFFFF, 0xFFFF00u);
    // Between two tiles, below the tiles on the strip, and on the board above it.
    f.ClickAt(f.panel->GetPaletteEntry(3).x + 65, 720);
    f.ClickAt(f.panel->GetPaletteEntry(9).x + 61, 698);
    f.ClickAt(400, 300);
    EXPECT_EQ(f.harness.Commands(), (Commands{{8, 9}, {9, 0}, {9, 0}, {9, 0}}));
}

TEST(Editor, ButtonsAndEscapeSendTheirCommands)
{
    EditorFixture f;
    f.panel->UpdateStatusText(1, 2, {});
    for (int id = 0; id <= 6; ++id)
        f.harness.Click(*f.panel->GetButton(id));
    f.harness.Key(27);
    EXPECT_EQ(f.harness.Commands(),
              (Commands{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {0, 0}}));
}

TEST(Editor, ThresholdFieldsTakeThreeDigitsAndReadDefaults)
{
    EditorFixture f;
    EXPECT_EQ(f.panel->GetFirstThreshold(), 1);
    EXPECT_EQ(f.panel->GetSecondThreshold(), 2);
    Quoll::EditWidget* first = f.panel->GetThresholdEdit(0);
    f.harness.ui.SetFocus(first);
    f.harness.Type(L"a12b34");
    EXPECT_EQ(first->mString, L"123");
    EXPECT_EQ(f.panel->GetFirstThreshold(), 123);
    f.harness.Type(L"\r");
    EXPECT_EQ(f.harness.Commands(), (Commands{{7, 0}}));
    EXPECT_TRUE(f.panel->mHasFocus);
}

TEST(Editor, StatusShowsAiLevelsModeAndMedalIcons)
{
    EditorFixture f;
    UiTest::FakeUiServices& ui = f.harness.ui;
    f.panel->UpdateStatusText(3, 0, MedalRule{12, 20, 1});
    EXPECT_EQ(f.panel->GetButton(4)->mLabel, L"AI 3");
    EXPECT_EQ(f.panel->GetButton(5)->mLabel, L"AI 0");
    EXPECT_EQ(f.panel->GetButton(6)->mLabel, L"Mode: rounds");
    EXPECT_EQ(f.panel->GetThresholdEdit(0)->mString, L"12");
    EXPECT_EQ(f.panel->GetThresholdEdit(1)->mString, L"20");
    EXPECT_EQ(f.panel->GetMedalIcon(0), ui.GetImageNamed("IMAGE_ICON_MEDAL1"));
    EXPECT_EQ(f.panel->GetMedalIcon(1), ui.GetImageNamed("IMAGE_ICON_MEDAL2"));
    f.panel->UpdateStatusText(1, 2, MedalRule{40, 30, 0});
    EXPECT_EQ(f.panel->GetButton(6)->mLabel, L"Mode: cells");
    EXPECT_EQ(f.panel->GetMedalIcon(0), ui.GetImageNamed("IMAGE_ICON_MEDAL2"));
    EXPECT_EQ(f.panel->GetMedalIcon(1), ui.GetImageNamed("IMAGE_ICON_MEDAL3"));
    EXPECT_EQ(f.panel->GetSecondThreshold(), 30);
}
// The labels change width with the status: the strip is laid out again, every control at its
// label's natural width and none over another or over the first medal icon.
TEST(Editor, StripIsLaidOutAgainWhenItsLabelsChange)
{
    EditorFixture f;
    for (const MedalRule& rule : {MedalRule{12, 20, 1}, MedalRule{40, 30, 0}})
    {
        f.panel->UpdateStatusText(3, 2, rule);
        std::vector<const Quoll::Widget*> controls;
        for (int id = 0; id <= 6; ++id)
        {
            Quoll::Button* button = f.panel->GetButton(id);
            EXPECT_EQ(button->mWidth, button->GetNaturalWidth()) << id;
            controls.push_back(button);
        }
        controls.push_back(f.panel->GetThresholdEdit(0));
        controls.push_back(f.panel->GetThresholdEdit(1));
        for (size_t i = 0; i < controls.size(); ++i)
            for (size_t j = i + 1; j < controls.size(); ++j)
            {
                const Quoll::Widget& a = *controls[i];
                const Quoll::Widget& b = *controls[j];
                EXPECT_FALSE(a.mX < b.mX + b.mWidth && b.mX < a.mX + a.mWidth && a.mY < b.mY + b.mHeight &&
                             b.mY < a.mY + a.mHeight)
                    << i << " and " << j << " overlap";
            }
        const Quoll::Button& mode = *f.panel->GetButton(6);
        EXPECT_LE(mode.mX + mode.mWidth, f.panel->GetPaletteEntry(9).x) << "the mode runs into the medal icon";
    }
}
} // namespace

// Golden images of the end-of-level dialog, a comic page and the editor strip on the 2D path
// (tests/golden/screens), with the gallery's system fonts.
// Rerun one case: test_screens --gtest_filter='EndScreensGolden.*'.
#include "EndScreensDoubles.h"
#include "ScreenGallery.h"
#include "game/screens/ComicsViewer.h"
#include "game/screens/EditorDlg.h"
#include "tests/GoldenImage.h"
#include "tests/play/FakePlayServices.h"

#include <gtest/gtest.h>

namespace
{
using ScreenTest::ScreenHarness;

::testing::AssertionResult MatchesScreen(ScreenHarness& harness, const std::string& name)
{
    return Quoll::Testing::MatchesAreaGolden("screens", name, harness.ui.screen.GetBits(), harness.ui.appWidth,
                                             harness.ui.appHeight);
}

struct GoldenEndLevel
{
    // The services and scores outlive the harness, whose states detach the dialog last.
    ScreenTest::FakeEndLevelServices services;
    EndLevelScores scores{2, 1240, 300, 140, 800};
    std::unique_ptr<ScreenHarness> harness = ScreenTest::MakeGalleryHarness();
};

TEST(EndScreensGolden, EndLevelCounting)
{
    GoldenEndLevel f;
    ASSERT_NE(f.harness, nullptr) << "no system font";
    ScreenTest::EndScreensArt art(*f.harness);
    f.harness->Show(new EndLevelDlg(f.services, MakeEndLevelResult(1, true, true, 2), f.scores));
    // Through the capture line and a fifth of the fast-game line.
    f.harness->Run(60);
    EXPECT_TRUE(MatchesScreen(*f.harness, "end_level_counting"));
}

TEST(EndScreensGolden, EndLevelFinishedWithMedalAndBest)
{
    GoldenEndLevel f;
    ASSERT_NE(f.harness, nullptr) << "no system font";
    ScreenTest::EndScreensArt art(*f.harness);
    auto* dialog = f.harness->Show(new EndLevelDlg(f.services, MakeEndLevelResult(1, true, true, 2), f.scores));
    dialog->SkipCountUp();
    f.harness->Run(20);
    EXPECT_TRUE(MatchesScreen(*f.harness, "end_level_finished"));
}

TEST(EndScreensGolden, EndLevelLostWithAvatar)
{
    GoldenEndLevel f;
    ASSERT_NE(f.harness, nullptr) << "no system font";
    ScreenTest::EndScreensArt art(*f.harness);
    f.services.opponentKind = 4;
    f.harness->Show(new EndLevelDlg(f.services, MakeEndLevelResult(2, false, false, 0), f.scores));
    f.harness->Run(2);
    EXPECT_TRUE(MatchesScreen(*f.harness, "end_level_lost"));
}

TEST(EndScreensGolden, ComicPage)
{
    auto harness = ScreenTest::MakeGalleryHarness();
    ASSERT_NE(harness, nullptr) << "no system font";
    ScreenTest::EndScreensArt art(*harness);
    harness->ui.texts["UI_COMIC_STR1"] =
        L"Night in the lab. Twenty-four dishes glow softly, and a peaceful colony lives in each.";
    harness->Show(new Quoll::ComicsViewer(false));
    harness->Run(2);
    EXPECT_TRUE(MatchesScreen(*harness, "comic_page"));
}

TEST(EndScreensGolden, EditorStrip)
{
    FakePlayServices play;
    play.RegisterArt();
    auto harness = ScreenTest::MakeGalleryHarness();
    ASSERT_NE(harness, nullptr) << "no system font";
    ScreenTest::EndScreensArt art(*harness);
    harness->ui.fonts["FONT_LABEL"] = harness->ui.fonts["FONT_FNT1"];
    auto* panel = harness->Show(new EditorDlg(play));
    panel->UpdateStatusText(2, 1, MedalRule{30, 24, 0});
    harness->Run(2);
    EXPECT_TRUE(MatchesScreen(*harness, "editor_strip"));
}
} // namespace

// The comics viewer: turning pages by key, click and button, held keys and modifiers, skipping,
// the last page's label, and a page whose picture is missing.
// Rerun one case: test_screens --gtest_filter='Comics.*'.
#include "game/screens/ComicsViewer.h"
#include "EndScreensDoubles.h"
#include "game/shell/ResourceIds.h"
#include "game/ui/Button.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
using Commands = std::vector<std::pair<int, int>>;
using Quoll::ComicsViewer;
using ScreenTest::ScreenHarness;

// Updates to fade a page out at the fake's 0.01 s frames: a third of a second.
constexpr int kFadeUpdates = 34;

struct ComicsFixture
{
    explicit ComicsFixture(bool finalComic) { viewer = harness.Show(new ComicsViewer(finalComic)); }

    void Turn(int keyCode = 'A')
    {
        harness.ui.manager.KeyDown(keyCode);
        harness.ui.manager.KeyUp(keyCode);
        harness.Run(1 + kFadeUpdates);
    }
    void ClickScreen()
    {
        harness.ui.manager.MouseMove(500, 300);
        harness.ui.manager.MouseDown(500, 300, 1);
        harness.ui.manager.MouseUp(500, 300, 1);
    }
    [[nodiscard]] int PageIndex() const
    {
        const ComicPage* first = viewer->GetCurrentPage()->picture == IMAGE_FCOMIC1 ||
                                         viewer->GetCurrentPage()->picture == IMAGE_FCOMIC2
                                     ? FinalComicPages
                                     : OpeningComicPages;
        return static_cast<int>(viewer->GetCurrentPage() - first);
    }

    ScreenHarness harness;
    ScreenTest::EndScreensArt art{harness};
    ComicsViewer* viewer = nullptr;
};

TEST(Comics, TablesHoldTheirPages)
{
    EXPECT_EQ(OpeningComicPages[6].textKey, "UI_COMIC_STR7");
    EXPECT_EQ(OpeningComicPages[7].picture, 0);
    EXPECT_EQ(FinalComicPages[1].picture, IMAGE_FCOMIC2);
    EXPECT_EQ(FinalComicPages[2].picture, 0);
    EXPECT_EQ(ComicPictureName(IMAGE_COMIC6), "IMAGE_COMIC6");
}

TEST(Comics, HeldKeyTurnsOnePage)
{
    ComicsFixture f(false);
    auto& manager = f.harness.ui.manager;
    manager.KeyDown('A');
    f.harness.Run(1 + kFadeUpdates);
    EXPECT_EQ(f.PageIndex(), 1);
    // Auto-repeat of the held key.
    manager.KeyDown('A');
    manager.KeyDown('A');
    f.harness.Run(1 + kFadeUpdates);
    EXPECT_EQ(f.PageIndex(), 1);
    manager.KeyUp('A');
    manager.KeyDown('A');
    f.harness.Run(1 + kFadeUpdates);
    EXPECT_EQ(f.PageIndex(), 2);
    EXPECT_EQ(f.harness.ui.SoundNames().back(), "SOUND_COMICS_NEXT");
}

TEST(Comics, ClickDuringTheFadeIsLost)
{
    ComicsFixture f(false);
    f.ClickScreen();
    f.harness.Run(1);
    EXPECT_EQ(f.viewer->GetPageState(), ComicsViewer::kFading);
    f.ClickScreen();
    f.harness.Run(2 * kFadeUpdates);
    EXPECT_EQ(f.PageIndex(), 1);
    EXPECT_EQ(f.viewer->GetPageState(), ComicsViewer::kShowing);
    // Clicks in quick succession after the fade each turn.
    f.ClickScreen();
    f.harness.Run(1 + kFadeUpdates);
    EXPECT_EQ(f.PageIndex(), 2);
}

TEST(Comics, ModifiersNeverTurnAndEscapeEndsAtOnce)
{
    ComicsFixture f(false);
    for (const int modifier : {16, 17, 18})
        f.harness.ui.manager.KeyDown(modifier);
    f.harness.Run(1 + kFadeUpdates);
    EXPECT_EQ(f.PageIndex(), 0);
    EXPECT_EQ(f.viewer->GetPageState(), ComicsViewer::kShowing);
    f.harness.Key(27);
    EXPECT_EQ(f.harness.Commands(), (Commands{{0, 0}}));
    EXPECT_EQ(f.harness.ui.SoundNames().back(), "SOUND_COMICS_NEXT");
}

TEST(Comics, ContinueAfterSixTurnsOrOneAndThenTheEnd)
{
    for (const bool finalComic : {false, true})
    {
        ComicsFixture f(finalComic);
        const int turns = finalComic ? 1 : 6;
        for (int turn = 0; turn < turns; ++turn)
        {
            EXPECT_NE(f.viewer->GetNextButton()->mLabel, L"Continue") << turn;
            f.Turn();
        }
        EXPECT_EQ(f.viewer->GetPageState(), ComicsViewer::kLastPage);
        EXPECT_EQ(f.viewer->GetNextButton()->mLabel, L"Continue");
        EXPECT_TRUE(f.harness.Commands().empty());
        f.harness.Click(*f.viewer->GetNextButton());
        f.harness.Run(1);
        EXPECT_EQ(f.harness.Commands(), (Commands{{0, 0}}));
    }
}

TEST(Comics, SkipButtonAndLayout)
{
    ComicsFixture f(true);
    Quoll::Button* skip = f.viewer->GetSkipButton();
    EXPECT_EQ(skip->mX, 960);
    EXPECT_EQ(skip->mWidth, 40);
    EXPECT_EQ(f.viewer->GetNextButton()->mX, 780);
    EXPECT_EQ(f.viewer->GetNextButton()->mY, 710);
    EXPECT_EQ(f.viewer->GetNextButton()->mHeight, 38);
    f.harness.Click(*skip);
    EXPECT_EQ(f.harness.Commands(), (Commands{{0, 0}}));
    f.harness.Close();
    const auto& calls = f.harness.ui.groupCalls;
    EXPECT_NE(std::find(calls.begin(), calls.end(), "unload Comics"), calls.end());
}

TEST(Comics, PageWithoutItsPictureDrawsItsCaptionOnly)
{
    ScreenHarness harness;
    harness.ui.texts["UI_COMIC_STR1"] = L"Night in the lab";
    harness.Show(new ComicsViewer(false));
    harness.Run(1);
    int lit = 0;
    int litRight = 0;
    for (int y = 0; y < harness.ui.appHeight; ++y)
        for (int x = 0; x < harness.ui.appWidth; ++x)
        {
            if ((harness.ui.Pixel(x, y) & 0xFFFFFF) == 0) continue;
            const bool button = (x >= 780 && y >= 700) || (x >= 950 && y < 70);
            if (button) continue;
            ++lit;
            litRight += x >= harness.ui.appWidth / 2 ? 1 : 0;
            EXPECT_LT(y, 40) << x;
        }
    EXPECT_GT(lit, 20);
    EXPECT_EQ(litRight, 0);
}

TEST(Comics, GroupThatDoesNotLoadLeavesTheViewerUnbuilt)
{
    ScreenHarness harness;
    harness.ui.failingGroups.insert("Comics");
    auto* viewer = harness.Show(new ComicsViewer(false));
    EXPECT_EQ(viewer->GetSkipButton(), nullptr);
    EXPECT_EQ(viewer->GetNextButton(), nullptr);
}
} // namespace

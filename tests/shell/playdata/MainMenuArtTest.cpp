// The main menu's picture of the generated data keeps its colonies away from where the menu writes:
// the column of its labels and the timed profile hint. A colony is bright and saturated; the dish
// under the texts is dark. The logos, as the menu draws them, stand clear of the panels of the
// dialogs opened over the menu.
// Rerun: test_playdata --gtest_filter='PlayData.MainMenu*'.
#include "tests/shell/playdata/PlayDataFixture.h"

#include "framework/display/MemoryImage.h"
#include "game/screens/MainMenu.h"
#include "game/ui/UiServices.h"

#include <algorithm>

namespace
{
using PlayDataTest::PlayData;

// The pixels of the area that look like a colony: one channel bright and well above another.
int ColonyPixels(Quoll::MemoryImage& image, int left, int top, int right, int bottom)
{
    int found = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
        {
            const uint32_t pixel = image.GetBits()[y * image.mWidth + x];
            const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
            const int most = std::max({r, g, b}), least = std::min({r, g, b});
            found += most > 150 && most - least > 90 ? 1 : 0;
        }
    return found;
}

TEST_F(PlayData, MainMenuPictureKeepsItsColoniesFromTheTexts)
{
    ASSERT_TRUE(mApp->LoadResourceGroup("MainMenu"));
    auto* picture = dynamic_cast<Quoll::MemoryImage*>(Ui().GetImageNamed("IMAGE_MAIN_MENU_BACKGROUND"));
    ASSERT_TRUE(picture != nullptr && picture->mWidth == 1024 && picture->mHeight == 768);
    EXPECT_EQ(ColonyPixels(*picture, 380, 190, 530, 440), 0) << "under the labels";
    EXPECT_EQ(ColonyPixels(*picture, 750, 210, 900, 310), 0) << "under the profile hint";
    // The dish still has its colonies elsewhere.
    EXPECT_GT(ColonyPixels(*picture, 540, 200, 1000, 760), 500);
}

// The logo's pixels, drawn as the main menu draws it (at x, 0 scaled by the menu's logo scale),
// that lie on the opaque part of the panel centred on the screen. Only well opaque pixels count
// on either side: the letters, their edge and the bacterium, not the faint halo.
struct LogoCover
{
    int drawn = 0;
    int covered = 0;
};

LogoCover CoverOfLogo(Quoll::MemoryImage& logo, int x, Quoll::MemoryImage& panel, int screenWidth, int screenHeight)
{
    const int panelX = (screenWidth - panel.mWidth) / 2, panelY = (screenHeight - panel.mHeight) / 2;
    LogoCover cover;
    for (int ly = 0; ly < logo.mHeight; ++ly)
        for (int lx = 0; lx < logo.mWidth; ++lx)
        {
            if ((logo.GetBits()[ly * logo.mWidth + lx] >> 24) < 128)
                continue;
            ++cover.drawn;
            const int px = x + static_cast<int>(lx * Quoll::MainMenu::kLogoScale) - panelX;
            const int py = static_cast<int>(ly * Quoll::MainMenu::kLogoScale) - panelY;
            if (px >= 0 && py >= 0 && px < panel.mWidth && py < panel.mHeight &&
                (panel.GetBits()[py * panel.mWidth + px] >> 24) >= 128)
                ++cover.covered;
        }
    return cover;
}

TEST_F(PlayData, MainMenuLogosStandClearOfTheDialogsOverTheMenu)
{
    for (const char* group : {"TitleScreen", "ProfileDialog", "EditName", "HighScore", "Settings", "Credits", "ExitDialog"})
        ASSERT_TRUE(mApp->LoadResourceGroup(group)) << group;
    // Where the menu puts each language's logo.
    const std::pair<const char*, int> logos[] = {{"IMAGE_LOGO_EN", 240}, {"IMAGE_LOGO_ALT", 250}};
    // The panels of the players' list, the name entry, the high scores, the settings, the credits
    // and the exit question.
    const char* panels[] = {"IMAGE_PROFILE_DIALOG_BG", "IMAGE_EDIT_NAME_BACKGROUND", "IMAGE_PNL_SCORES_BG",
                            "IMAGE_SETTINGS_BG", "IMAGE_PNL_CREDITS", "IMAGE_PANEL_EXIT"};
    for (const auto& [logoName, x] : logos)
    {
        auto* logo = dynamic_cast<Quoll::MemoryImage*>(Ui().GetImageNamed(logoName));
        ASSERT_TRUE(logo != nullptr && logo->GetBits() != nullptr) << logoName;
        for (const char* panelName : panels)
        {
            auto* panel = dynamic_cast<Quoll::MemoryImage*>(Ui().GetImageNamed(panelName));
            ASSERT_TRUE(panel != nullptr && panel->GetBits() != nullptr) << panelName;
            const LogoCover cover = CoverOfLogo(*logo, x, *panel, mApp->GetAppWidth(), mApp->GetAppHeight());
            EXPECT_GT(cover.drawn, 5000) << logoName;
            EXPECT_EQ(cover.covered, 0) << logoName << " under " << panelName;
        }
    }
}
} // namespace

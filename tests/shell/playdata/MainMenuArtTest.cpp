// The main menu's picture of the generated data keeps its colonies away from where the menu writes:
// the column of its labels and the timed profile hint. A colony is bright and saturated; the dish
// under the texts is dark.
// Rerun: test_playdata --gtest_filter='PlayData.MainMenu*'.
#include "tests/shell/playdata/PlayDataFixture.h"

#include "framework/display/MemoryImage.h"
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
} // namespace

// The tutorial's panel of the generated data covers what lies under it (the HUD's tubes and the
// bacteria standing in them): drawn over a black and over a white screen, its inside comes out
// the same.
// Rerun: test_playdata --gtest_filter='PlayData.TutorialPanel*'.
#include "tests/shell/playdata/PlayDataFixture.h"

#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "framework/display/MemoryImage.h"

#include <vector>

namespace
{
using PlayDataTest::PlayData;

std::vector<uint32_t> DrawOn(Quoll::Image* panel, uint32_t ground)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(panel->mWidth * panel->mHeight), ground);
    Quoll::MemoryImage screen;
    screen.SetBits(pixels.data(), panel->mWidth, panel->mHeight);
    {
        Quoll::Graphics g(&screen);
        g.DrawImage(panel, 0, 0);
    }
    const uint32_t* bits = screen.GetBits();
    return {bits, bits + pixels.size()};
}

TEST_F(PlayData, TutorialPanelHidesWhatLiesUnderIt)
{
    LoadPlayGroups();
    ASSERT_TRUE(Services().LoadResourceGroup("Tutorial"));
    Quoll::Image* panel = Services().GetImageById(Services().GetResourceIdByName("IMAGE_TUTORIAL_BG"));
    ASSERT_NE(panel, nullptr);
    const std::vector<uint32_t> onBlack = DrawOn(panel, 0xFF000000u);
    const std::vector<uint32_t> onWhite = DrawOn(panel, 0xFFFFFFFFu);
    // Inside the frame: 10 pixels of margin and the round corners (radius 24) left out.
    const int inset = 10 + 24;
    int differing = 0;
    for (int y = inset; y < panel->mHeight - inset; ++y)
        for (int x = 12; x < panel->mWidth - 12; ++x)
        {
            const size_t i = static_cast<size_t>(y * panel->mWidth + x);
            differing += (onBlack[i] & 0xFFFFFFu) != (onWhite[i] & 0xFFFFFFu) ? 1 : 0;
        }
    EXPECT_EQ(differing, 0);
}
} // namespace

// The title screen's art of the generated data: the title picture is a picture of its own, not
// the company's branding picture the splash shows before it, and the plate drawn under the logo
// carries a row of bacteria of every kind rather than an empty bar.
// Rerun: test_playdata --gtest_filter='PlayData.Title*'.
#include "tests/shell/playdata/PlayDataFixture.h"

#include "framework/display/Image.h"
#include "framework/display/MemoryImage.h"
#include "game/ui/UiServices.h"

#include <algorithm>
#include <memory>
#include <set>

namespace
{
using PlayDataTest::PlayData;

TEST_F(PlayData, TitlePictureIsNotTheBrandingPictureAndItsPlateIsFilled)
{
    ASSERT_TRUE(mApp->LoadResourceGroup("PreInterface"));
    ASSERT_TRUE(mApp->LoadResourceGroup("Interface"));
    auto* title = dynamic_cast<Quoll::MemoryImage*>(Ui().GetImageNamed("IMAGE_SPLASH"));
    std::unique_ptr<Quoll::MemoryImage> branding(mApp->GetImage("Data/branding/nordwick.png"));
    ASSERT_NE(title, nullptr);
    ASSERT_NE(branding, nullptr);
    ASSERT_EQ(title->mWidth, branding->mWidth);
    ASSERT_EQ(title->mHeight, branding->mHeight);
    const int count = title->mWidth * title->mHeight;
    int differing = 0;
    for (int i = 0; i < count; ++i)
        differing += (title->GetBits()[i] & 0xFFFFFFu) != (branding->GetBits()[i] & 0xFFFFFFu) ? 1 : 0;
    EXPECT_GT(differing, count / 2);

    // The plate: bright, saturated pixels of many hues (in 30-degree steps).
    auto* plate = dynamic_cast<Quoll::MemoryImage*>(Ui().GetImageNamed("IMAGE_PROFHEAD"));
    ASSERT_NE(plate, nullptr);
    std::set<int> hues;
    const uint32_t* bits = plate->GetBits();
    for (int i = 0; i < plate->mWidth * plate->mHeight; ++i)
    {
        const uint32_t p = bits[i];
        const int r = static_cast<int>(p >> 16 & 0xFF), g = static_cast<int>(p >> 8 & 0xFF),
                  b = static_cast<int>(p & 0xFF);
        const int high = std::max({r, g, b}), low = std::min({r, g, b});
        if ((p >> 24) < 200 || high < 120 || high - low < 80)
            continue;
        const int d = high - low;
        int hue = high == r ? 60 * (g - b) / d : high == g ? 120 + 60 * (b - r) / d : 240 + 60 * (r - g) / d;
        hues.insert(((hue + 360) % 360) / 30);
    }
    EXPECT_GE(hues.size(), 5u);
}
} // namespace

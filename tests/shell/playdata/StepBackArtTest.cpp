// The step-back tab's art of the generated data as the fast menu lays it out: the tab's plate
// frames the button lying on it, and the button's counter icon, tinted with the label colour as
// the button draws it, covers the face of the stretched button picture with marks that stand out
// from it, enabled and disabled.
// Rerun: test_playdata --gtest_filter='PlayData.StepBack*'.
#include "tests/shell/playdata/PlayDataFixture.h"

#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "framework/display/MemoryImage.h"
#include "game/ui/GameColors.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace
{
using PlayDataTest::PlayData;

// The button on the tab: 12 pixels right of and 10 below the tab's corner, 80 x 73, its icon
// 14 right of and 8 below the button's corner.
constexpr int kButtonX = 12;
constexpr int kButtonY = 10;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 73;
constexpr int kIconX = 14;
constexpr int kIconY = 8;

struct Marks
{
    int count = 0;
    int width = 0;
    int height = 0;
};

int Brightness(uint32_t p)
{
    return static_cast<int>((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF));
}

// The button's picture stretched over its rectangle, with the icon tinted in the colour or
// without it.
std::vector<uint32_t> DrawButton(Quoll::Image* face, Quoll::Image* icon, const Quoll::Color& tint)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(kButtonWidth * kButtonHeight), 0xFF101820u);
    Quoll::MemoryImage screen;
    screen.SetBits(pixels.data(), kButtonWidth, kButtonHeight);
    {
        Quoll::Graphics g(&screen);
        g.DrawImage(face, 0, 0, kButtonWidth, kButtonHeight);
        if (icon != nullptr)
        {
            g.SetColor(tint);
            g.SetImageTint(true);
            g.DrawImage(icon, kIconX, kIconY);
        }
    }
    const uint32_t* bits = screen.GetBits();
    return {bits, bits + pixels.size()};
}

// The pixels the icon changes by more than the step, and the box they span.
Marks MarksOf(const std::vector<uint32_t>& plain, const std::vector<uint32_t>& marked, int step)
{
    Marks marks;
    int left = kButtonWidth, right = -1, top = kButtonHeight, bottom = -1;
    for (int y = 0; y < kButtonHeight; ++y)
        for (int x = 0; x < kButtonWidth; ++x)
        {
            const size_t i = static_cast<size_t>(y * kButtonWidth + x);
            if (std::abs(Brightness(plain[i]) - Brightness(marked[i])) <= step)
                continue;
            ++marks.count;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    marks.width = right - left + 1;
    marks.height = bottom - top + 1;
    return marks;
}

TEST_F(PlayData, StepBackTabFramesItsButtonAndTheCounterStandsOut)
{
    LoadPlayGroups();
    Quoll::Image* tab = Services().GetImageById(Services().GetResourceIdByName("IMAGE_BACKSTEP_FONE"));
    Quoll::Image* face = Services().GetImageById(Services().GetResourceIdByName("IMAGE_BTN1"));
    ASSERT_NE(tab, nullptr);
    ASSERT_NE(face, nullptr);
    EXPECT_GE(tab->mWidth, kButtonX + kButtonWidth + 4) << "the button overhangs the tab";
    EXPECT_GE(tab->mHeight, kButtonY + kButtonHeight + 4) << "the button overhangs the tab";

    const std::vector<uint32_t> plain = DrawButton(face, nullptr, ColorLabel);
    for (int count = 1; count <= 3; ++count)
    {
        const std::string name = "IMAGE_BACKSTEP_X" + std::to_string(count);
        Quoll::Image* icon = Services().GetImageById(Services().GetResourceIdByName(name));
        ASSERT_NE(icon, nullptr) << name;
        // Enabled: dark marks over most of the face.
        const Marks enabled = MarksOf(plain, DrawButton(face, icon, ColorLabel), 200);
        EXPECT_GE(enabled.width, kButtonWidth * 3 / 8) << name;
        EXPECT_GE(enabled.height, kButtonHeight / 2) << name;
        EXPECT_GE(enabled.count, 250) << name;
        // Disabled: the same marks, faint but there.
        const Marks disabled = MarksOf(plain, DrawButton(face, icon, Quoll::Color(0x33, 0x33, 0x33, 60)), 40);
        EXPECT_GE(disabled.height, kButtonHeight / 2) << name;
        EXPECT_GE(disabled.count, 150) << name;
    }
}
} // namespace

// A dialog's body text colour on its panel: dark text on a dark panel turns white, light text on a
// light panel black; text that already stands out, and panels whose pixels cannot be judged, keep
// the wanted colour. Rerun: test_ui --gtest_filter='ReadableTextColor.*'.
#include "UiTestDoubles.h"
#include "game/ui/GameColors.h"
#include "game/ui/QuollDialog.h"

#include <gtest/gtest.h>

namespace
{
using UiTest::MakeImage;

TEST(ReadableTextColor, DarkOnDarkTurnsWhiteAndLightOnLightBlack)
{
    const auto darkPanel = MakeImage(40, 30, 0xFF0E1A24);
    const auto lightPanel = MakeImage(40, 30, 0xFFE6F4FA);
    const Quoll::Color faded(0x1B3E98, 200);
    EXPECT_EQ(ReadableTextColor(darkPanel.get(), faded), Quoll::Color(255, 255, 255, 200)) << "alpha kept";
    EXPECT_EQ(ReadableTextColor(lightPanel.get(), Quoll::Color(0xF5FF55, 255)), Quoll::Color(0, 0, 0, 255));
    EXPECT_EQ(ReadableTextColor(darkPanel.get(), Quoll::Color::White), Quoll::Color::White);
    EXPECT_EQ(ReadableTextColor(lightPanel.get(), ColorLabel), ColorLabel);
}

// Only the visible pixels count: a light plate in a clear frame is a light panel.
TEST(ReadableTextColor, JudgesTheVisiblePixelsOnly)
{
    const auto framed = MakeImage(40, 30, 0x00000000);
    uint32_t* bits = framed->GetBits();
    for (int y = 10; y < 20; ++y)
        for (int x = 10; x < 30; ++x)
            bits[y * 40 + x] = 0xFFF0F0F0;
    framed->BitsChanged();
    EXPECT_EQ(ReadableTextColor(framed.get(), ColorLabel), ColorLabel);
    EXPECT_EQ(ReadableTextColor(MakeImage(8, 8, 0x00000000).get(), ColorLabel), ColorLabel) << "nothing visible";
    EXPECT_EQ(ReadableTextColor(nullptr, ColorLabel), ColorLabel);
}
} // namespace

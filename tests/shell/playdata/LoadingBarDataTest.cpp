// The loading bar on the generated art: the filling reaches as far as the progress says inside the
// frame, up to the frame's inside at a full bar. Probes on the bar's middle row, where only the
// green liquid or the dark ground can show.
// Rerun: test_playdata --gtest_filter='PlayData.LoadingBar*'.
#include "tests/shell/playdata/PlayDataFixture.h"

#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "game/screens/ProgressWidget.h"
#include "game/ui/UiServices.h"

#include <vector>

namespace
{
using PlayDataTest::PlayData;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

struct Bar
{
    std::vector<uint32_t> pixels;
    int left = 0;  // the frame's left edge
    int right = 0; // one past its right edge
    int row = 0;   // the frame's middle row

    [[nodiscard]] bool Green(int x) const
    {
        const uint32_t p = pixels[static_cast<size_t>(row * kWidth + x)];
        const int r = static_cast<int>(p >> 16 & 0xFF);
        const int g = static_cast<int>(p >> 8 & 0xFF);
        const int b = static_cast<int>(p & 0xFF);
        // Not the frame's cyan outline.
        return g > 120 && g > r + 60 && g > b + 40;
    }
    // The first column from the frame's left edge with no liquid.
    [[nodiscard]] int FillEnd() const
    {
        int x = left;
        while (x < right && !Green(x))
            ++x;
        while (x < right && Green(x))
            ++x;
        return x;
    }
};

Bar DrawBar(float progress)
{
    Quoll::Image* frame = Ui().GetImageNamed("IMAGE_PROGRESS_FOREGROUND");
    EXPECT_NE(frame, nullptr);
    Bar bar;
    if (frame == nullptr)
        return bar;
    bar.pixels.assign(static_cast<size_t>(kWidth * kHeight), 0xFF000000u);
    Quoll::MemoryImage screen;
    screen.SetBits(bar.pixels.data(), kWidth, kHeight);
    {
        Quoll::ProgressWidget widget;
        widget.Resize(0, 0, kWidth, kHeight);
        widget.SetProgress(progress);
        Quoll::Graphics g(&screen);
        widget.Draw(&g);
    }
    const uint32_t* bits = screen.GetBits();
    bar.pixels.assign(bits, bits + bar.pixels.size());
    bar.left = (kWidth - frame->mWidth) / 2;
    bar.right = bar.left + frame->mWidth;
    bar.row = kHeight - Quoll::ProgressWidget::kBarOffsetFromBottom + frame->mHeight / 2;
    return bar;
}

TEST_F(PlayData, LoadingBarFillsTheFrameInProportion)
{
    ASSERT_TRUE(mApp->LoadResourceGroup("PreInterface"));
    const Bar empty = DrawBar(0.0f);
    ASSERT_FALSE(empty.pixels.empty());
    EXPECT_EQ(empty.FillEnd(), empty.right) << "liquid in an empty bar";

    const Bar full = DrawBar(1.0f);
    const Bar half = DrawBar(0.5f);
    const int inside = full.right - full.left;
    // A full bar's liquid runs from the frame's left end to its right end, inside the outline.
    EXPECT_TRUE(full.Green(full.left + 20));
    EXPECT_GE(full.FillEnd(), full.right - 8);
    EXPECT_LT(full.FillEnd(), full.right);
    // Half way: the liquid ends near the frame's middle.
    EXPECT_TRUE(half.Green(half.left + 20));
    EXPECT_NEAR(half.FillEnd() - half.left, inside / 2, 12);
}
} // namespace

// The golden scene drawn into the display's screen image (a surface-backed image over the draw
// surface) on 32-bit, 5-6-5 and 5-5-5 displays, read back as ARGB and compared with stored
// goldens; the memory-image scene differs only where the surface formulas round differently.
// Rerun: test_display --gtest_filter='DDImageGoldenTest.*'; QUOLL_UPDATE_GOLDEN=1 rewrites.
#include "DisplayFixture.h"
#include "tests/GoldenImage.h"
#include "TestScene.h"

#include <gtest/gtest.h>

using namespace Quoll;
using namespace Quoll::Platform;
using namespace Quoll::Testing;

namespace
{
// The scene on the screen image of a display of the format, as ARGB.
std::vector<uint32_t> DrawOnDisplay(const SurfaceFormat& format)
{
    InitTriangleSpanTable();
    TestDisplay t(format);
    EXPECT_EQ(t.Init(), 0);
    MemoryImage canvas;
    MakeCanvas(canvas, 192, 144);
    t.Screen().Blt(&canvas, 0, 0, Rect(0, 0, 192, 144), Color::White, DrawMode::Normal);
    DrawSoftwareScene(t.Screen());
    const uint32_t* bits = t.Screen().GetBits();
    return std::vector<uint32_t>(bits, bits + 192 * 144);
}
} // namespace

TEST(DDImageGoldenTest, SceneOn32BitSurface)
{
    const auto pixels = DrawOnDisplay(SurfaceFormat::X8R8G8B8());
    EXPECT_TRUE(MatchesGolden("scene_surface32", pixels.data(), 192, 144));
    // The other channel order draws the same picture.
    const auto swapped = DrawOnDisplay(SurfaceFormat::X8B8G8R8());
    EXPECT_TRUE(MatchesGolden("scene_surface32", swapped.data(), 192, 144));
}

TEST(DDImageGoldenTest, SceneOn565Surface)
{
    const auto pixels = DrawOnDisplay(SurfaceFormat::R5G6B5());
    EXPECT_TRUE(MatchesGolden("scene_surface565", pixels.data(), 192, 144));
}

TEST(DDImageGoldenTest, SceneOn555Surface)
{
    const auto pixels = DrawOnDisplay(SurfaceFormat::X1R5G5B5());
    EXPECT_TRUE(MatchesGolden("scene_surface555", pixels.data(), 192, 144));
}

TEST(DDImageGoldenTest, SurfaceSceneStaysCloseToTheMemoryScene)
{
    MemoryImage canvas;
    MakeCanvas(canvas, 192, 144);
    DrawSoftwareScene(canvas);
    const auto surface = DrawOnDisplay(SurfaceFormat::X8R8G8B8());
    const uint32_t* memory = canvas.GetBits();
    int far = 0;
    for (size_t i = 0; i < surface.size(); ++i)
        for (int shift = 0; shift < 24; shift += 8)
            if (std::abs(static_cast<int>((surface[i] >> shift) & 0xFF) - static_cast<int>((memory[i] >> shift) & 0xFF)) > 8)
            {
                ++far;
                break;
            }
    // Lines and cleared pixels are drawn by other formulas; the rest agrees closely.
    EXPECT_LT(far, 192 * 144 / 50);
}

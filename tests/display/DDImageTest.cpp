// The surface-backed image: when it gets a surface and a colour key, reading the surface back,
// counted locks, fills and lines in the surface format, spans with coverage, and the
// surface-to-surface copy.
// Rerun: test_display --gtest_filter='DDImageTest.*'
#include "DisplayFixture.h"

#include "framework/display/Graphics.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Quoll;
using namespace Quoll::Platform;
using namespace Quoll::Testing;

namespace
{
void SetPixels(MemoryImage& image, int w, int h, const std::vector<uint32_t>& pixels)
{
    image.SetBits(pixels.data(), w, h);
}

uint32_t SurfacePixel(DDImage& image, int x, int y)
{
    return image.GetSurface()->PixelAt(x, y);
}
} // namespace

TEST(DDImageTest, SurfaceOnlyForImagesWithoutPartialAlpha)
{
    TestDisplay t;
    ASSERT_EQ(t.Init(), 0);
    DDImage translucent(t.display.get());
    SetPixels(translucent, 2, 1, {0xFFFFFFFF, 0x80FFFFFF});
    EXPECT_FALSE(translucent.EnsureSurface());
    EXPECT_FALSE(translucent.HasSurface());
    translucent.FillRect(Rect(0, 0, 2, 1), Color(0, 0, 0), DrawMode::Normal);
    EXPECT_EQ(translucent.GetBits()[0], 0xFF000000u); // drawn on the memory path

    DDImage opaque(t.display.get());
    SetPixels(opaque, 2, 1, {0xFF102030, 0xFF405060});
    ASSERT_TRUE(opaque.EnsureSurface());
    ColorKey key;
    EXPECT_EQ(opaque.GetSurface()->GetColorKey(kColorKeySrcBlt, &key), DDERR_NOCOLORKEY);
    EXPECT_EQ(SurfacePixel(opaque, 1, 0), 0x405060u);
    EXPECT_EQ(t.display->mDDImageSet.count(&opaque), 1u);
}

TEST(DDImageTest, TransparentPixelsGetAKeyNoVisiblePixelHas)
{
    for (const SurfaceFormat& format : {SurfaceFormat::X8R8G8B8(), SurfaceFormat::R5G6B5()})
    {
        TestDisplay t(format);
        ASSERT_EQ(t.Init(), 0);
        DDImage image(t.display.get());
        // The transparent pixel's own colour is used by a visible one: another key is chosen.
        SetPixels(image, 3, 1, {0x00000000, 0xFF000000, 0xFF0000FF});
        ASSERT_TRUE(image.EnsureSurface());
        ColorKey key;
        ASSERT_EQ(image.GetSurface()->GetColorKey(kColorKeySrcBlt, &key), DD_OK);
        EXPECT_EQ(SurfacePixel(image, 0, 0), key.low);
        EXPECT_NE(SurfacePixel(image, 1, 0), key.low);
        EXPECT_NE(SurfacePixel(image, 2, 0), key.low);
        EXPECT_EQ(key.low, 1u); // value 0 is taken by black; 1 is the first free one
        // Read back from the surface alone, the transparent pixel is opaque in the key colour.
        image.DeleteAllNonSurfaceData();
        const uint32_t* bits = image.GetBits();
        EXPECT_EQ(bits[0] >> 24, 255u);
        EXPECT_EQ(bits[1], 0xFF000000u);
        EXPECT_EQ(bits[3], MemoryImage::kGuardWord);
    }
}

TEST(DDImageTest, NoFreeKeyValueKeepsTheImageInMemory)
{
    TestDisplay t(SurfaceFormat::R5G6B5());
    ASSERT_EQ(t.Init(), 0);
    // Every 16-bit value is produced by a visible pixel, and one pixel is transparent.
    std::vector<uint32_t> pixels;
    for (uint32_t v = 0; v < 65536; ++v)
        pixels.push_back(0xFF000000 | ((v >> 11) & 0x1F) << 19 | ((v >> 5) & 0x3F) << 10 | (v & 0x1F) << 3);
    pixels.push_back(0);
    DDImage image(t.display.get());
    SetPixels(image, 65537, 1, pixels);
    EXPECT_FALSE(image.EnsureSurface());
    EXPECT_FALSE(image.HasSurface());
    EXPECT_NE(image.GetBits(), nullptr);
}

TEST(DDImageTest, LocksAreCounted)
{
    TestDisplay t;
    ASSERT_EQ(t.Init(), 0);
    DDImage image(t.display.get());
    SetPixels(image, 2, 2, std::vector<uint32_t>(4, 0xFF112233));
    ASSERT_TRUE(image.EnsureSurface());
    const int locks = t.card.CallCount(SoftCall::Lock);
    ASSERT_TRUE(image.LockSurface());
    ASSERT_TRUE(image.LockSurface());
    EXPECT_EQ(t.card.CallCount(SoftCall::Lock), locks + 1);
    ASSERT_TRUE(image.UnlockSurface());
    EXPECT_TRUE(image.GetSurface()->IsLocked());
    ASSERT_TRUE(image.UnlockSurface());
    EXPECT_FALSE(image.GetSurface()->IsLocked());
    EXPECT_FALSE(image.UnlockSurface());
    t.card.FailCall(SoftCall::Lock, 1, DDERR_SURFACELOST);
    EXPECT_FALSE(image.LockSurface());
    EXPECT_EQ(image.mLockCount, 0);
}

TEST(DDImageTest, FillsInTheSurfaceFormat)
{
    TestDisplay t32;
    ASSERT_EQ(t32.Init(), 0);
    t32.Screen().FillRect(Rect(0, 0, 4, 4), Color(255, 255, 255), DrawMode::Normal);
    EXPECT_EQ(SurfacePixel(t32.Screen(), 1, 1), 0xFEFEFEu);
    TestDisplay t565(SurfaceFormat::R5G6B5());
    ASSERT_EQ(t565.Init(), 0);
    t565.Screen().FillRect(Rect(0, 0, 4, 4), Color(255, 255, 255), DrawMode::Normal);
    EXPECT_EQ(SurfacePixel(t565.Screen(), 1, 1), 0xFFFFu);
    // Additive fills saturate through the display's tables.
    t565.Screen().FillRect(Rect(0, 0, 4, 4), Color(255, 255, 255), DrawMode::Additive);
    EXPECT_EQ(SurfacePixel(t565.Screen(), 1, 1), 0xFFFFu);
    t32.Screen().FillRect(Rect(0, 0, 4, 4), Color(0, 0, 0), DrawMode::Normal);
    t32.Screen().FillRect(Rect(0, 0, 4, 4), Color(100, 20, 255, 128), DrawMode::Additive);
    EXPECT_EQ(SurfacePixel(t32.Screen(), 2, 2), (50u << 16) | (10u << 8) | 128u);
    // Draw mode 2 draws nothing but still drops the memory copies.
    DDImage image(t32.display.get());
    SetPixels(image, 2, 1, {0xFF000000, 0xFF000000});
    image.FillRect(Rect(0, 0, 2, 1), Color(255, 0, 0), static_cast<DrawMode>(2));
    EXPECT_EQ(image.mBits, nullptr);
    EXPECT_EQ(SurfacePixel(image, 0, 0), 0u);
}

TEST(DDImageTest, StraightLinesAreRectanglesAndAdditiveSmoothLinesDrawNothing)
{
    TestDisplay t;
    ASSERT_EQ(t.Init(), 0);
    DDImage& screen = t.Screen();
    screen.DrawLine(10.0, 5.0, 3.0, 5.0, Color(255, 0, 0), DrawMode::Normal);
    EXPECT_EQ(SurfacePixel(screen, 3, 5), 0xFE0000u);
    EXPECT_EQ(SurfacePixel(screen, 10, 5), 0xFE0000u);
    EXPECT_EQ(SurfacePixel(screen, 11, 5), 0u);
    screen.DrawLine(20.0, 2.0, 20.0, 8.0, Color(0, 255, 0), DrawMode::Normal);
    EXPECT_EQ(SurfacePixel(screen, 20, 2), 0x00FE00u);
    EXPECT_EQ(SurfacePixel(screen, 20, 8), 0x00FE00u);
    EXPECT_EQ(SurfacePixel(screen, 20, 9), 0u);
    screen.DrawLineAA(30.0, 2.0, 50.0, 11.0, Color(255, 255, 255), DrawMode::Additive);
    for (int y = 0; y < 14; ++y)
        for (int x = 28; x < 52; ++x)
            ASSERT_EQ(SurfacePixel(screen, x, y), 0u);
    // A diagonal line covers both end points.
    screen.DrawLine(60.0, 0.0, 70.0, 10.0, Color(0, 0, 255), DrawMode::Normal);
    EXPECT_NE(SurfacePixel(screen, 60, 0), 0u);
    EXPECT_NE(SurfacePixel(screen, 70, 10), 0u);
    EXPECT_NE(SurfacePixel(screen, 65, 5), 0u);
}

TEST(DDImageTest, CoverageSpans)
{
    TestDisplay t;
    ASSERT_EQ(t.Init(), 0);
    DDImage& screen = t.Screen();
    screen.FillRect(Rect(0, 0, 8, 2), Color(0, 0, 0), DrawMode::Normal);
    const uint8_t coverage[2] = {255, 0};
    const ScanSpan spans[1] = {{0, 0, 2}};
    screen.FillScanLinesWithAlpha(spans, 1, Color(255, 255, 255), DrawMode::Normal, coverage, 0, 0, 2, 1);
    // White packs as 254 per channel; weight 255 of 256 leaves a share of the black (253);
    // weight 0 leaves the pixel.
    EXPECT_EQ(SurfacePixel(screen, 0, 0), 0xFDFDFDu);
    EXPECT_EQ(SurfacePixel(screen, 1, 0), 0u);
    // Spans reaching past the coverage or the surface are cut, not read out of bounds.
    const ScanSpan wide[1] = {{1, -4, 400}};
    screen.FillScanLinesWithAlpha(wide, 1, Color(255, 255, 255), DrawMode::Normal, coverage, 0, 0, 2, 1);
    EXPECT_EQ(SurfacePixel(screen, 0, 1), 0u);
}

TEST(DDImageTest, ColourisedAdditiveAndMirroredBlits)
{
    TestDisplay t;
    ASSERT_EQ(t.Init(), 0);
    DDImage& screen = t.Screen();
    MemoryImage source;
    SetPixels(source, 3, 1, {0xFF808080, 0xFF000000, 0xFFFFFFFF});
    screen.FillRect(Rect(0, 0, 16, 4), Color(255, 255, 255), DrawMode::Normal);
    const uint32_t white = SurfacePixel(screen, 0, 0);
    // Black adds nothing; white on white stays at the channel maxima.
    screen.Blt(&source, 0, 0, Rect(1, 0, 2, 1), Color::White, DrawMode::Additive);
    EXPECT_EQ(SurfacePixel(screen, 0, 0), white);
    EXPECT_EQ(SurfacePixel(screen, 1, 0), 0xFFFFFFu);
    // One grey factor: k = 128.
    screen.Blt(&source, 0, 1, Rect(0, 0, 1, 1), Color(128, 128, 128, 255), DrawMode::Normal);
    EXPECT_EQ(SurfacePixel(screen, 0, 1), ((0x808080u & 0xFF00FF) * 128 >> 8 & 0xFF00FF) + ((0x8000u * 128) >> 8 & 0xFF00));
    // The mirrored blit puts the first source column at x + width - 1.
    screen.BltMirror(&source, 4, 2, Rect(0, 0, 3, 1), Color::White, DrawMode::Normal);
    EXPECT_EQ(SurfacePixel(screen, 6, 2), 0x808080u);
    EXPECT_EQ(SurfacePixel(screen, 5, 2), 0u);
    EXPECT_EQ(SurfacePixel(screen, 4, 2), 0xFFFFFFu);
}

TEST(DDImageTest, SurfaceSourcesAreCopiedWithTheirColourKey)
{
    TestDisplay t;
    ASSERT_EQ(t.Init(), 0);
    DDImage sprite(t.display.get());
    SetPixels(sprite, 2, 1, {0x00000000, 0xFF00FF00});
    ASSERT_TRUE(sprite.EnsureSurface());
    t.Screen().FillRect(Rect(0, 0, 4, 1), Color(255, 0, 0), DrawMode::Normal);
    const int blits = t.card.CallCount(SoftCall::Blt);
    Graphics g(&t.Screen());
    g.DrawImage(&sprite, 0, 0);
    EXPECT_EQ(t.card.CallCount(SoftCall::Blt), blits + 1);
    EXPECT_EQ(SurfacePixel(t.Screen(), 0, 0), 0xFE0000u);
    EXPECT_EQ(SurfacePixel(t.Screen(), 1, 0), 0x00FF00u);
    EXPECT_TRUE(sprite.mDrawn);
    // Stretched fast, the copy keeps the key too.
    t.Screen().FillRect(Rect(0, 0, 4, 1), Color(255, 0, 0), DrawMode::Normal);
    g.SetFastStretch(true);
    g.DrawImage(&sprite, 0, 0, 4, 1);
    EXPECT_EQ(SurfacePixel(t.Screen(), 1, 0), 0xFE0000u);
    EXPECT_EQ(SurfacePixel(t.Screen(), 3, 0), 0x00FF00u);
}

TEST(DDImageTest, ChangedBitsDropTheSurfaceAndPurgeKeepsIt)
{
    TestDisplay t;
    ASSERT_EQ(t.Init(), 0);
    DDImage image(t.display.get());
    SetPixels(image, 2, 1, {0xFF0000FF, 0xFF00FF00});
    ASSERT_TRUE(image.EnsureSurface());
    image.BitsChanged();
    EXPECT_FALSE(image.HasSurface());
    image.PurgeBits();
    EXPECT_TRUE(image.HasSurface());
    EXPECT_EQ(image.mBits, nullptr);
    EXPECT_EQ(image.GetBits()[1], 0xFF00FF00u);
    image.SetVideoMemory(true);
    EXPECT_FALSE(image.HasSurface());
    EXPECT_NE(image.mBits, nullptr);
    image.ReInit();
    EXPECT_TRUE(image.HasSurface());
    EXPECT_EQ(image.GetSurface()->Caps() & kCapsVideoMemory, static_cast<uint32_t>(kCapsVideoMemory));
}

TEST(DDImageTest, DestinationsWithoutASurfaceAreDrawnInMemory)
{
    TestDisplay t;
    ASSERT_EQ(t.Init(), 0);
    InitTriangleSpanTable();
    MemoryImage source;
    SetPixels(source, 4, 2, std::vector<uint32_t>(8, 0xFF3366CC));
    // A translucent destination never gets a surface; every draw still reaches its pixels.
    std::vector<uint32_t> ground(16 * 8, 0x80FFFFFF);
    for (int path = 0; path < 4; ++path)
    {
        SCOPED_TRACE(path);
        DDImage dest(t.display.get());
        MemoryImage expected;
        SetPixels(dest, 16, 8, ground);
        SetPixels(expected, 16, 8, ground);
        auto draw = [&](Image& image) {
            Graphics g(&image);
            switch (path)
            {
            case 0:
                g.DrawImageMirror(&source, 2, 2);
                break;
            case 1:
                g.SetFastStretch(true);
                g.DrawImage(&source, 1, 1, 8, 4);
                break;
            case 2:
                g.DrawImageMirror(&source, Rect(1, 1, 8, 4), Rect(0, 0, 4, 2), true);
                break;
            default:
                g.DrawImageMatrix(&source, Matrix3(), 8, 4);
                break;
            }
        };
        draw(dest);
        draw(expected);
        EXPECT_FALSE(dest.HasSurface());
        const std::vector<uint32_t> got(dest.GetBits(), dest.GetBits() + 16 * 8);
        const std::vector<uint32_t> want(expected.GetBits(), expected.GetBits() + 16 * 8);
        EXPECT_EQ(got, want);
        EXPECT_NE(got, ground);
    }
}

// Every optimised blit path against its plain per-pixel reference (BlitReference.cpp), bit for
// bit, on about a thousand seeded random cases per path: sources with and without alpha,
// palettized sources, tints, clips, destinations opaque or not. A failure prints the seed; rerun
// one path with test_display --gtest_filter='MemoryImageBlitsTest.Rotated*'. Also the pinned
// rounding values and edge cases of the blits.
#include "BlitReference.h"

#include "framework/display/MemoryImage.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace Quoll;
using namespace Quoll::Testing;

namespace
{
constexpr int kCases = 1000;

struct RandomScene
{
    MemoryImage dst;
    MemoryImage src;
};

// A destination and a source of random sizes; the source is palettized in a quarter of the
// cases and opaque in another quarter; the destination is opaque half of the time.
void MakeScene(MersenneTwister& rng, RandomScene& scene)
{
    const int dw = 4 + static_cast<int>(rng.Next(24)), dh = 4 + static_cast<int>(rng.Next(24));
    const int sw = 2 + static_cast<int>(rng.Next(20)), sh = 2 + static_cast<int>(rng.Next(20));
    const bool opaqueDest = rng.Next(2) == 0;
    const uint32_t kind = rng.Next(4);
    auto dstPixels = RandomPixels(rng, dw * dh, 0, opaqueDest);
    scene.dst.SetBits(dstPixels.data(), dw, dh);
    auto srcPixels = RandomPixels(rng, sw * sh, kind == 0 ? 12 : 0, kind == 1);
    scene.src.SetBits(srcPixels.data(), sw, sh);
    if (kind == 0)
    {
        ASSERT_TRUE(scene.src.Palletize());
    }
}

void ExpectSame(const Canvas& expected, MemoryImage& actual, uint32_t seed)
{
    const Canvas got = Canvas::Of(actual);
    const int at = FirstDifference(expected.pixels, got.pixels);
    ASSERT_EQ(at, -1) << "seed " << seed << ": first differing pixel (" << at % expected.width << ", "
                      << at / expected.width << ") expected " << std::hex << expected.pixels[static_cast<size_t>(at)]
                      << " got " << got.pixels[static_cast<size_t>(at)];
}

// A position from a little before to a little inside the end of a destination axis.
int RandomPosition(MersenneTwister& rng, int size)
{
    return static_cast<int>(rng.Next(static_cast<uint32_t>(size + 4))) - 6;
}

// Runs the cases and checks that enough of them draw something, so an empty draw cannot pass.
template <typename Case> void RunCases(uint32_t salt, Case drawBoth)
{
    int drawn = 0;
    for (uint32_t seed = 1; seed <= kCases; ++seed)
    {
        MersenneTwister rng;
        rng.Seed(seed * 7919 + salt);
        RandomScene scene;
        MakeScene(rng, scene);
        Canvas expected = Canvas::Of(scene.dst);
        const Canvas source = Canvas::Of(scene.src);
        const std::vector<uint32_t> before = expected.pixels;
        drawBoth(rng, expected, source, scene);
        drawn += expected.pixels != before;
        ASSERT_NO_FATAL_FAILURE(ExpectSame(expected, scene.dst, seed));
    }
    EXPECT_GT(drawn, kCases / 10) << "too few cases drew anything: " << drawn;
}
} // namespace

TEST(MemoryImageBlitsTest, PlainAndMirroredBlitsMatchTheReference)
{
    for (int mirror = 0; mirror < 2; ++mirror)
        for (int mode = 0; mode < 2; ++mode)
            RunCases(static_cast<uint32_t>(mirror * 2 + mode),
                     [&](MersenneTwister& rng, Canvas& expected, const Canvas& source, RandomScene& scene) {
                         const Rect src = RandomRect(rng, scene.src.mWidth, scene.src.mHeight, 3);
                         const int x = RandomPosition(rng, scene.dst.mWidth), y = RandomPosition(rng, scene.dst.mHeight);
                         const Color tint = RandomTint(rng);
                         const auto drawMode = static_cast<DrawMode>(mode);
                         ReferenceBlt(expected, source, x, y, src, tint, drawMode, mirror != 0);
                         if (mirror != 0)
                             scene.dst.BltMirror(&scene.src, x, y, src, tint, drawMode);
                         else
                             scene.dst.Blt(&scene.src, x, y, src, tint, drawMode);
                     });
}

TEST(MemoryImageBlitsTest, RotatedAndSubPixelBlitsMatchTheReference)
{
    for (int mode = 0; mode < 2; ++mode)
        RunCases(static_cast<uint32_t>(10 + mode),
                 [&](MersenneTwister& rng, Canvas& expected, const Canvas& source, RandomScene& scene) {
                     const Rect whole(0, 0, scene.src.mWidth, scene.src.mHeight);
                     const Rect src = rng.Next(2) == 0 ? whole : RandomRect(rng, whole.width, whole.height, 2);
                     const Rect clip = rng.Next(2) == 0 ? Rect(0, 0, scene.dst.mWidth, scene.dst.mHeight)
                                                        : RandomRect(rng, scene.dst.mWidth, scene.dst.mHeight, 4);
                     const float x = RandomPosition(rng, scene.dst.mWidth) + rng.NextFloat(1), y = RandomPosition(rng, scene.dst.mHeight) + rng.NextFloat(1);
                     const double angle = rng.Next(4) == 0 ? 0.0 : rng.NextFloat(7) - 3.5;
                     const float cx = rng.NextFloat(static_cast<float>(src.width)), cy = rng.NextFloat(static_cast<float>(src.height));
                     const Color tint = RandomTint(rng);
                     const auto drawMode = static_cast<DrawMode>(mode);
                     ReferenceRotated(expected, source, x, y, src, clip, tint, drawMode, angle, cx, cy);
                     scene.dst.BltRotated(&scene.src, x, y, src, clip, tint, drawMode, angle, cx, cy);
                 });
}

TEST(MemoryImageBlitsTest, NearestStretchesMatchTheReference)
{
    for (int mirror = 0; mirror < 2; ++mirror)
        RunCases(static_cast<uint32_t>(20 + mirror),
                 [&](MersenneTwister& rng, Canvas& expected, const Canvas& source, RandomScene& scene) {
                     const Rect src = RandomRect(rng, scene.src.mWidth, scene.src.mHeight, 0);
                     const Rect dest = RandomRect(rng, scene.dst.mWidth, scene.dst.mHeight, 4);
                     const Rect clip = RandomRect(rng, scene.dst.mWidth, scene.dst.mHeight, 4);
                     const Color tint = RandomTint(rng);
                     ReferenceNearestStretch(expected, source, dest, src, clip, tint, mirror != 0);
                     if (mirror != 0)
                         scene.dst.StretchBltMirror(&scene.src, dest, src, clip, tint, DrawMode::Normal);
                     else
                         scene.dst.StretchBlt(&scene.src, dest, src, clip, tint, DrawMode::Normal, true);
                 });
}

TEST(MemoryImageBlitsTest, FilteredStretchesMatchTheReference)
{
    RunCases(30, [&](MersenneTwister& rng, Canvas& expected, const Canvas& source, RandomScene& scene) {
        const Rect src = RandomRect(rng, scene.src.mWidth, scene.src.mHeight, 0);
        const Rect dest = RandomRect(rng, scene.dst.mWidth, scene.dst.mHeight, 4);
        const Rect clip = RandomRect(rng, scene.dst.mWidth, scene.dst.mHeight, 4);
        const Color tint = RandomTint(rng);
        ReferenceFilteredStretch(expected, source, dest, src, clip, tint);
        scene.dst.StretchBlt(&scene.src, dest, src, clip, tint, DrawMode::Normal, false);
    });
}

TEST(MemoryImageBlitsTest, CoverageFillsMatchTheReference)
{
    RunCases(40, [&](MersenneTwister& rng, Canvas& expected, const Canvas&, RandomScene& scene) {
        const Rect cover = RandomRect(rng, scene.dst.mWidth, scene.dst.mHeight, 3);
        std::vector<uint8_t> coverage(static_cast<size_t>(cover.width * cover.height));
        for (uint8_t& byte : coverage)
            byte = static_cast<uint8_t>(rng.Next(3) == 0 ? 255 * rng.Next(2) : rng.Next(256));
        std::vector<ScanSpan> spans;
        for (int y = cover.y; y < cover.y + cover.height; ++y)
            if (rng.Next(4) != 0)
            {
                const int x = cover.x + static_cast<int>(rng.Next(static_cast<uint32_t>(cover.width)));
                spans.push_back({y, x, static_cast<int>(rng.Next(static_cast<uint32_t>(cover.x + cover.width - x))) + 1});
            }
        const Color color = RandomTint(rng);
        ReferenceCoverageFill(expected, spans.data(), static_cast<int>(spans.size()), color, coverage.data(), cover);
        scene.dst.FillScanLinesWithAlpha(spans.data(), static_cast<int>(spans.size()), color, DrawMode::Normal,
                                         coverage.data(), cover.x, cover.y, cover.width, cover.height);
    });
}

// --- Pinned values and edge cases -------------------------------------------------------------

TEST(MemoryImageBlitsTest, NonMemorySourceDrawsNothingButIsMarkedDrawn)
{
    MemoryImage dst;
    dst.Create(4, 4);
    dst.Clear();
    Image plain;
    plain.mWidth = plain.mHeight = 4;
    dst.Blt(&plain, 0, 0, Rect(0, 0, 4, 4), Color::White, DrawMode::Normal);
    EXPECT_TRUE(plain.mDrawn);
    EXPECT_EQ(dst.GetBits()[0], 0u);
}

TEST(MemoryImageBlitsTest, RotationByZeroAtIntegerPositionWeighs254)
{
    MemoryImage src;
    std::vector<uint32_t> white(16, 0xFFFFFFFF);
    src.SetBits(white.data(), 4, 4);
    MemoryImage dst;
    std::vector<uint32_t> black(16, 0xFF000000);
    dst.SetBits(black.data(), 4, 4);
    dst.BltAtFloat(&src, 0, 0, Rect(0, 0, 4, 4), Rect(0, 0, 4, 4), Color::White, DrawMode::Normal);
    EXPECT_EQ(dst.GetBits()[1 * 4 + 1], 0xFFFDFDFDu);

    // Four transparent samples leave the destination as it was.
    std::vector<uint32_t> clear(16, 0x00FFFFFF);
    src.SetBits(clear.data(), 4, 4);
    dst.SetBits(black.data(), 4, 4);
    dst.BltRotated(&src, 0.3f, 0.6f, Rect(0, 0, 4, 4), Rect(0, 0, 4, 4), Color::White, DrawMode::Normal, 0.7, 2, 2);
    EXPECT_EQ(Canvas::Of(dst).pixels, black);
}

TEST(MemoryImageBlitsTest, NearestStretchDoublesColumnsAndTintsInsteadOfDroppingThem)
{
    MemoryImage src;
    const uint32_t pixels[2] = {0xFF0000FF, 0xFF00FF00};
    src.SetBits(pixels, 2, 1);
    MemoryImage dst;
    dst.Create(4, 1);
    dst.Clear();
    dst.StretchBlt(&src, Rect(0, 0, 4, 1), Rect(0, 0, 2, 1), Rect(0, 0, 4, 1), Color::White, DrawMode::Normal, true);
    EXPECT_EQ(Canvas::Of(dst).pixels, (std::vector<uint32_t>{0xFF0000FF, 0xFF0000FF, 0xFF00FF00, 0xFF00FF00}));

    dst.Clear();
    dst.StretchBlt(&src, Rect(0, 0, 4, 1), Rect(0, 0, 2, 1), Rect(0, 0, 4, 1), Color(128, 128, 128), DrawMode::Normal,
                   true);
    EXPECT_NE(dst.GetBits()[0], 0u);
}

TEST(MemoryImageBlitsTest, FilteredStretchSaturatesAndHandlesOnePixel)
{
    MemoryImage src;
    std::vector<uint32_t> white(9, 0xFFFFFFFF);
    src.SetBits(white.data(), 3, 3);
    MemoryImage dst;
    dst.Create(5, 5);
    dst.Clear();
    dst.StretchBlt(&src, Rect(0, 0, 5, 5), Rect(0, 0, 3, 3), Rect(0, 0, 5, 5), Color::White, DrawMode::Normal, false);
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(dst.GetBits()[i] >> 24, 0xFFu) << i;
    dst.StretchBlt(&src, Rect(0, 0, 1, 1), Rect(0, 0, 3, 3), Rect(0, 0, 5, 5), Color::White, DrawMode::Normal, false);
    dst.StretchBlt(&src, Rect(2, 2, 1, 1), Rect(1, 1, 1, 1), Rect(0, 0, 5, 5), Color::White, DrawMode::Normal, false);
    EXPECT_EQ(dst.GetBits()[2 * 5 + 2] >> 24, 0xFFu);
}

// A dimmed icon: a grey tint on the filtered stretch darkens every channel to about the tint's share
// over black, and a half-transparent white lets half of the ground through.
TEST(MemoryImageBlitsTest, FilteredStretchAppliesTheTint)
{
    MemoryImage src;
    std::vector<uint32_t> white(16, 0xFFFFFFFF);
    src.SetBits(white.data(), 4, 4);
    MemoryImage dst;
    dst.Create(8, 8);
    dst.Clear();
    dst.StretchBlt(&src, Rect(0, 0, 8, 8), Rect(0, 0, 4, 4), Rect(0, 0, 8, 8), Color(128, 128, 128), DrawMode::Normal,
                   false);
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(dst.GetBits()[i], 0xFF7F7F7Fu) << i;
    std::vector<uint32_t> ground(16, 0xFF000000);
    dst.SetBits(ground.data(), 4, 4);
    dst.StretchBlt(&src, Rect(0, 0, 4, 4), Rect(0, 0, 4, 4), Rect(0, 0, 4, 4), Color(255, 255, 255, 128),
                   DrawMode::Normal, false);
    EXPECT_EQ(dst.GetBits()[5], 0xFF7F7F7Fu);
}

TEST(MemoryImageBlitsTest, AdditiveSkipsClearPixelsOfSourcesWithTransparency)
{
    MemoryImage src;
    const uint32_t pixels[2] = {0x00FFFFFF, 0xFF101010};
    src.SetBits(pixels, 2, 1);
    MemoryImage dst;
    const uint32_t base[2] = {0xFF202020, 0xFF202020};
    dst.SetBits(base, 2, 1);
    dst.Blt(&src, 0, 0, Rect(0, 0, 2, 1), Color::White, DrawMode::Additive);
    EXPECT_EQ(dst.GetBits()[0], 0xFF202020u);
    EXPECT_EQ(dst.GetBits()[1], 0xFF303030u);
}

TEST(MemoryImageBlitsTest, CoverageBytesMapToEffectiveAlpha)
{
    MemoryImage dst;
    const uint32_t base[2] = {0xFF000000, 0xFF000000};
    dst.SetBits(base, 2, 1);
    const uint8_t coverage[2] = {0, 255};
    const ScanSpan span{0, 0, 2};
    dst.FillScanLinesWithAlpha(&span, 1, Color(255, 255, 255, 255), DrawMode::Normal, coverage, 0, 0, 2, 1);
    EXPECT_EQ(dst.GetBits()[0], 0xFF000000u);
    EXPECT_EQ(dst.GetBits()[1], 0xFFFFFFFFu);
}

TEST(MemoryImageBlitsTest, RotatedBoundsFollowTheSamplerDirection)
{
    FRect bounds;
    // A 10 x 2 strip turned by a quarter about its origin lies below-left or above; the sampler
    // maps destination (dx, dy) to the source by the rotation, so the strip goes to negative y.
    ASSERT_TRUE(MemoryImage::GetRotatedBounds(Rect(0, 0, 10, 2), Rect(-50, -50, 100, 100), bounds, 0, 0, 0, 0,
                                              std::numbers::pi / 2));
    EXPECT_NEAR(bounds.y, -10, 1e-6);
    EXPECT_NEAR(bounds.height, 10, 1e-6);
    EXPECT_NEAR(bounds.x, 0, 1e-6);
    EXPECT_NEAR(bounds.width, 2, 1e-6);
}

TEST(MemoryImageBlitsTest, StretchClipMeasuresTheMirroredPartFromTheRight)
{
    Rect clipped;
    FRect src;
    ASSERT_TRUE(MemoryImage::ClipStretchRects(Rect(0, 0, 20, 10), Rect(5, 0, 20, 10), Rect(0, 0, 10, 5), clipped, src));
    EXPECT_EQ(clipped, Rect(5, 0, 15, 10));
    EXPECT_EQ(src, FRect(2.5, 0, 7.5, 5));
    ASSERT_TRUE(
        MemoryImage::ClipStretchRectsMirror(Rect(0, 0, 20, 10), Rect(5, 0, 20, 10), Rect(0, 0, 10, 5), clipped, src));
    EXPECT_EQ(src.x, 0);
}

// The stretched and rotated blits' row kernels, each set the machine runs (SSE2, AVX2), against
// the per-pixel formulas: rows of every width and alignment, and seeded random blits on images
// wide enough for many groups a row, with clips cutting rows at every offset. A failure names
// the set and the seed.
#include "BlitReference.h"

#include "framework/display/MemoryImage.h"
#include "framework/display/PixelBlend.h"
#include "framework/display/RowBlend.h"
#include "framework/display/RowKernels.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace Quoll;
using namespace Quoll::Testing;

namespace
{
// The sets this machine runs, by name.
std::vector<std::pair<std::string, const RowKernels::Kernels*>> Sets()
{
    std::vector<std::pair<std::string, const RowKernels::Kernels*>> sets;
    if (RowKernels::Sse2Kernels() != nullptr)
        sets.emplace_back("sse2", RowKernels::Sse2Kernels());
    if (RowKernels::Avx2Kernels() != nullptr)
        sets.emplace_back("avx2", RowKernels::Avx2Kernels());
    return sets;
}

// Makes the blits use one set for the scope.
class UseKernels
{
public:
    explicit UseKernels(const RowKernels::Kernels* kernels) : mBefore(RowKernels::Active())
    {
        RowKernels::SetActive(kernels);
    }
    ~UseKernels() { RowKernels::SetActive(mBefore); }
    UseKernels(const UseKernels&) = delete;
    UseKernels& operator=(const UseKernels&) = delete;

private:
    const RowKernels::Kernels* mBefore;
};

// A destination that is opaque but for a sprinkle of pixels in some cases, as back buffers are.
std::vector<uint32_t> Destination(MersenneTwister& rng, int count)
{
    const bool sprinkled = rng.Next(3) == 0;
    std::vector<uint32_t> pixels = RandomPixels(rng, count, 0, true);
    if (sprinkled)
        for (uint32_t& p : pixels)
            if (rng.Next(16) == 0)
                p = RandomPixel(rng, false);
    return pixels;
}

struct Scene
{
    MemoryImage dst;
    MemoryImage src;
};

void MakeScene(MersenneTwister& rng, Scene& scene)
{
    const int dw = 8 + static_cast<int>(rng.Next(80)), dh = 4 + static_cast<int>(rng.Next(24));
    const int sw = 2 + static_cast<int>(rng.Next(60)), sh = 2 + static_cast<int>(rng.Next(40));
    auto dstPixels = Destination(rng, dw * dh);
    scene.dst.SetBits(dstPixels.data(), dw, dh);
    auto srcPixels = RandomPixels(rng, sw * sh, 0, rng.Next(4) == 0);
    scene.src.SetBits(srcPixels.data(), sw, sh);
}

template <typename Draw> void CompareBlits(uint32_t salt, Draw draw)
{
    constexpr uint32_t kCases = 300;
    for (const auto& [name, kernels] : Sets())
    {
        const UseKernels use(kernels);
        int drawn = 0;
        for (uint32_t seed = 1; seed <= kCases; ++seed)
        {
            MersenneTwister rng;
            rng.Seed(seed * 104729 + salt);
            Scene scene;
            MakeScene(rng, scene);
            Canvas expected = Canvas::Of(scene.dst);
            const std::vector<uint32_t> before = expected.pixels;
            draw(rng, expected, Canvas::Of(scene.src), scene);
            drawn += expected.pixels != before;
            const Canvas got = Canvas::Of(scene.dst);
            const int at = FirstDifference(expected.pixels, got.pixels);
            ASSERT_EQ(at, -1) << name << " seed " << seed << ": pixel (" << at % got.width << ", " << at / got.width
                              << ") expected " << std::hex << expected.pixels[static_cast<size_t>(at)] << " got "
                              << got.pixels[static_cast<size_t>(at)];
        }
        EXPECT_GT(drawn, static_cast<int>(kCases) / 3) << name << " drew too few cases";
    }
}
} // namespace

TEST(RowKernelsTest, BlendFillRowsMatchTheFormulaAtEveryWidthAndAlignment)
{
    for (const auto& [name, kernels] : Sets())
    {
        const UseKernels use(kernels);
        for (uint32_t seed = 1; seed <= 40; ++seed)
        {
            MersenneTwister rng;
            rng.Seed(seed);
            const std::vector<uint32_t> src = RandomPixels(rng, 64, 0, false);
            const std::vector<uint32_t> dst = Destination(rng, 64);
            for (int offset = 0; offset < 8; ++offset)
                for (int width = 0; width <= 48; ++width)
                {
                    std::vector<uint32_t> expected = dst, got = dst;
                    for (int i = offset; i < offset + width; ++i)
                    {
                        const auto at = static_cast<size_t>(i);
                        if ((src[at] >> 24) != 0)
                            expected[at] = PixelBlend::BlendFill(expected[at], src[at], src[at] >> 24);
                    }
                    RowBlend::BlendFillRow(src.data() + offset, got.data() + offset, width);
                    ASSERT_EQ(FirstDifference(expected, got), -1)
                        << name << " seed " << seed << " offset " << offset << " width " << width;
                }
        }
    }
}

TEST(RowKernelsTest, KernelsDrawWholeGroupsOverOpaquePixelsAndStopAtOthers)
{
    std::vector<uint32_t> texels(16 * 16, 0x80406080);
    for (const auto& [name, kernels] : Sets())
    {
        std::vector<uint32_t> dst(24, 0xFF102030);
        EXPECT_EQ(kernels->blendFill(texels.data(), dst.data(), 24), 24 / kernels->pixels * kernels->pixels) << name;
        const RowKernels::RotatedRow row{texels.data(), 16, 0x8000, 0x18000, 0x4000, 0x2000, false, true, 256, 0, 0, 0};
        EXPECT_EQ(kernels->rotated(row, dst.data(), 24), 24 / kernels->pixels * kernels->pixels) << name;
        // A destination pixel that is not opaque under a partly clear sample stops the kernel
        // at its group.
        dst[static_cast<size_t>(kernels->pixels + 1)] = 0x80102030;
        EXPECT_EQ(kernels->blendFill(texels.data(), dst.data(), 24), kernels->pixels) << name;
        EXPECT_EQ(kernels->rotated(row, dst.data(), 24), kernels->pixels) << name;
    }
}

TEST(RowKernelsTest, RotatedBlitsMatchTheReference)
{
    for (int mode = 0; mode < 2; ++mode)
        CompareBlits(static_cast<uint32_t>(mode), [&](MersenneTwister& rng, Canvas& expected, const Canvas& source,
                                                      Scene& scene) {
            const Rect whole(0, 0, scene.src.mWidth, scene.src.mHeight);
            const Rect src = rng.Next(2) == 0 ? whole : RandomRect(rng, whole.width, whole.height, 2);
            const Rect clip = rng.Next(2) == 0 ? Rect(0, 0, scene.dst.mWidth, scene.dst.mHeight)
                                               : RandomRect(rng, scene.dst.mWidth, scene.dst.mHeight, 4);
            const float x = static_cast<float>(static_cast<int>(rng.Next(static_cast<uint32_t>(scene.dst.mWidth))) - src.width / 2) + rng.NextFloat(1);
            const float y = static_cast<float>(static_cast<int>(rng.Next(static_cast<uint32_t>(scene.dst.mHeight))) - src.height / 2) + rng.NextFloat(1);
            const double angle = rng.Next(5) == 0 ? 0.0 : rng.NextFloat(7) - 3.5;
            const float cx = rng.NextFloat(static_cast<float>(src.width)), cy = rng.NextFloat(static_cast<float>(src.height));
            const Color tint = RandomTint(rng);
            const auto drawMode = static_cast<DrawMode>(mode);
            ReferenceRotated(expected, source, x, y, src, clip, tint, drawMode, angle, cx, cy);
            scene.dst.BltRotated(&scene.src, x, y, src, clip, tint, drawMode, angle, cx, cy);
        });
}

TEST(RowKernelsTest, NearestStretchesMatchTheReference)
{
    for (int mirror = 0; mirror < 2; ++mirror)
        CompareBlits(static_cast<uint32_t>(10 + mirror), [&](MersenneTwister& rng, Canvas& expected,
                                                             const Canvas& source, Scene& scene) {
            const Rect src = RandomRect(rng, scene.src.mWidth, scene.src.mHeight, 0);
            const Rect dest = RandomRect(rng, scene.dst.mWidth, scene.dst.mHeight, 4);
            const Rect clip = rng.Next(2) == 0 ? Rect(0, 0, scene.dst.mWidth, scene.dst.mHeight)
                                               : RandomRect(rng, scene.dst.mWidth, scene.dst.mHeight, 4);
            const Color tint = rng.Next(2) == 0 ? Color::White : RandomTint(rng);
            ReferenceNearestStretch(expected, source, dest, src, clip, tint, mirror != 0);
            if (mirror != 0)
                scene.dst.StretchBltMirror(&scene.src, dest, src, clip, tint, DrawMode::Normal);
            else
                scene.dst.StretchBlt(&scene.src, dest, src, clip, tint, DrawMode::Normal, true);
        });
}

TEST(RowKernelsTest, CopiesAreExactAtEveryWidthAndAlignment)
{
    MersenneTwister rng;
    rng.Seed(5);
    const std::vector<uint32_t> src = RandomPixels(rng, 160, 0, false);
    for (const auto& [name, kernels] : Sets())
        for (int offset = 0; offset < 9; ++offset)
            for (int width = 0; width <= 140; ++width)
            {
                std::vector<uint32_t> expected(160, 0x12345678), got = expected;
                std::copy(src.begin() + offset, src.begin() + offset + width, expected.begin() + 9 - offset);
                EXPECT_EQ(kernels->copy(src.data() + offset, got.data() + 9 - offset, width), width);
                ASSERT_EQ(FirstDifference(expected, got), -1) << name << " offset " << offset << " width " << width;
            }
}

TEST(RowKernelsTest, AnOpaqueImageDrawnOntoItselfShiftsAsACopyWould)
{
    for (const auto& [name, kernels] : Sets())
    {
        const UseKernels use(kernels);
        for (int shift : {-48, -5, -1, 1, 3, 8})
        {
            MersenneTwister rng;
            rng.Seed(static_cast<uint32_t>(shift + 100));
            std::vector<uint32_t> pixels = RandomPixels(rng, 96 * 4, 0, true);
            MemoryImage image;
            image.SetBits(pixels.data(), 96, 4);
            const Canvas before = Canvas::Of(image);
            // The rows overlap themselves (but for the first shift): the source as it was before
            // the copy lands shifted.
            image.Blt(&image, 48 + shift, 0, Rect(48, 0, 40, 4), Color::White, DrawMode::Normal);
            std::vector<uint32_t> expected = before.pixels;
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 40; ++x)
                    expected[static_cast<size_t>(y * 96 + 48 + shift + x)] = before.pixels[static_cast<size_t>(y * 96 + 48 + x)];
            ASSERT_EQ(FirstDifference(expected, Canvas::Of(image).pixels), -1) << name << " shift " << shift;
        }
    }
}

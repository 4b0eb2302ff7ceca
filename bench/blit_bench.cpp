// Memory-image blit throughput, one core, 1024 x 768 destination: opaque copy, alpha blend (on
// sprite data and on pixels of random alpha), tinted blend, additive, nearest and filtered stretch (a 512 x 384 source doubled), rotated
// bilinear (the full-size source turned by 0.5 rad about its centre). Each path is run beside
// the same operation done by pixman on the same pixels (premultiplied for pixman), in the same
// run. Counter: Mpix/s of destination pixels written or considered per call.
// Run: blit_bench --benchmark_format=json
#include "framework/display/MemoryImage.h"

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace
{
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// Sprites of 64 x 64: a disc with a soft edge on a transparent ground, as game art is.
uint32_t SpritePixel(int x, int y, bool opaque)
{
    const int dx = (x % 64) - 32, dy = (y % 64) - 32;
    const double d = std::sqrt(static_cast<double>(dx * dx + dy * dy));
    const uint32_t alpha = opaque ? 255u : d > 30 ? 0u : d > 22 ? static_cast<uint32_t>((30 - d) * 31) : 255u;
    return alpha << 24 | static_cast<uint32_t>(x & 0xFF) << 16 | static_cast<uint32_t>(y & 0xFF) << 8 | 0x80;
}

// Pixels whose alpha takes every value in no order, so that no run of clear or opaque pixels
// can be skipped.
uint32_t RandomAlphaPixel(int x, int y)
{
    const auto i = static_cast<uint32_t>(y * 7919 + x);
    const uint32_t hash = (i * 2654435761u) ^ (i >> 7) * 40503u;
    return (hash & 0xFF000000) | static_cast<uint32_t>(x & 0xFF) << 16 | static_cast<uint32_t>(y & 0xFF) << 8 | 0x80;
}

std::vector<uint32_t> MakePixels(int width, int height, bool opaque, bool randomAlpha = false)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(width * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<size_t>(y * width + x)] = randomAlpha ? RandomAlphaPixel(x, y) : SpritePixel(x, y, opaque);
    return pixels;
}

std::vector<uint32_t> Premultiplied(const std::vector<uint32_t>& pixels)
{
    std::vector<uint32_t> out(pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i)
    {
        const uint32_t p = pixels[i], a = p >> 24;
        out[i] = a << 24 | (((p >> 16) & 0xFF) * a / 255) << 16 | (((p >> 8) & 0xFF) * a / 255) << 8 |
                 ((p & 0xFF) * a / 255);
    }
    return out;
}

// The images of one path, for both implementations.
struct Images
{
    Images(int srcWidth, int srcHeight, bool opaque, bool randomAlpha = false)
        : srcPixels(MakePixels(srcWidth, srcHeight, opaque, randomAlpha)), srcPremultiplied(Premultiplied(srcPixels)),
          dstPixels(static_cast<size_t>(kWidth * kHeight), 0xFF203040)
    {
        src.SetBits(srcPixels.data(), srcWidth, srcHeight);
        dst.SetBits(dstPixels.data(), kWidth, kHeight);
        src.GetRLAlphaData();
        pixSrc = pixman_image_create_bits(opaque ? PIXMAN_x8r8g8b8 : PIXMAN_a8r8g8b8, srcWidth, srcHeight,
                                          srcPremultiplied.data(), srcWidth * 4);
        pixDst = pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight, dstPixels.data(), kWidth * 4);
    }
    ~Images()
    {
        pixman_image_unref(pixSrc);
        pixman_image_unref(pixDst);
    }

    std::vector<uint32_t> srcPixels, srcPremultiplied, dstPixels;
    Quoll::MemoryImage src, dst;
    pixman_image_t* pixSrc = nullptr;
    pixman_image_t* pixDst = nullptr;
};

void SetRate(benchmark::State& state, double pixels)
{
    state.counters["Mpix/s"] =
        benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

const Quoll::Rect kFull(0, 0, kWidth, kHeight);
const Quoll::Color kTint(255, 160, 96, 200);

// --- Plain blits -------------------------------------------------------------------------

void Quoll_OpaqueCopy(benchmark::State& state)
{
    Images im(kWidth, kHeight, true);
    for (auto _ : state)
        im.dst.Blt(&im.src, 0, 0, kFull, Quoll::Color::White, Quoll::DrawMode::Normal);
    SetRate(state, kWidth * kHeight);
}

void Pixman_OpaqueCopy(benchmark::State& state)
{
    Images im(kWidth, kHeight, true);
    for (auto _ : state)
        pixman_image_composite32(PIXMAN_OP_SRC, im.pixSrc, nullptr, im.pixDst, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    SetRate(state, kWidth * kHeight);
}

void Quoll_AlphaBlend(benchmark::State& state)
{
    Images im(kWidth, kHeight, false);
    for (auto _ : state)
        im.dst.Blt(&im.src, 0, 0, kFull, Quoll::Color::White, Quoll::DrawMode::Normal);
    SetRate(state, kWidth * kHeight);
}

void Pixman_AlphaBlend(benchmark::State& state)
{
    Images im(kWidth, kHeight, false);
    for (auto _ : state)
        pixman_image_composite32(PIXMAN_OP_OVER, im.pixSrc, nullptr, im.pixDst, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    SetRate(state, kWidth * kHeight);
}

void Quoll_AlphaBlendRandom(benchmark::State& state)
{
    Images im(kWidth, kHeight, false, true);
    for (auto _ : state)
        im.dst.Blt(&im.src, 0, 0, kFull, Quoll::Color::White, Quoll::DrawMode::Normal);
    SetRate(state, kWidth * kHeight);
}

void Pixman_AlphaBlendRandom(benchmark::State& state)
{
    Images im(kWidth, kHeight, false, true);
    for (auto _ : state)
        pixman_image_composite32(PIXMAN_OP_OVER, im.pixSrc, nullptr, im.pixDst, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    SetRate(state, kWidth * kHeight);
}

void Quoll_TintedBlend(benchmark::State& state)
{
    Images im(kWidth, kHeight, false);
    for (auto _ : state)
        im.dst.Blt(&im.src, 0, 0, kFull, kTint, Quoll::DrawMode::Normal);
    SetRate(state, kWidth * kHeight);
}

// The tint as a solid component-alpha mask (colour times alpha, premultiplied).
pixman_image_t* TintMask()
{
    const auto scale = [](int c) { return static_cast<uint16_t>(c * kTint.a / 255 * 257); };
    const pixman_color_t color{scale(kTint.r), scale(kTint.g), scale(kTint.b), static_cast<uint16_t>(kTint.a * 257)};
    pixman_image_t* mask = pixman_image_create_solid_fill(&color);
    pixman_image_set_component_alpha(mask, 1);
    return mask;
}

void Pixman_TintedBlend(benchmark::State& state)
{
    Images im(kWidth, kHeight, false);
    pixman_image_t* mask = TintMask();
    for (auto _ : state)
        pixman_image_composite32(PIXMAN_OP_OVER, im.pixSrc, mask, im.pixDst, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    pixman_image_unref(mask);
    SetRate(state, kWidth * kHeight);
}

void Quoll_Additive(benchmark::State& state)
{
    Images im(kWidth, kHeight, false);
    for (auto _ : state)
        im.dst.Blt(&im.src, 0, 0, kFull, Quoll::Color::White, Quoll::DrawMode::Additive);
    SetRate(state, kWidth * kHeight);
}

void Pixman_Additive(benchmark::State& state)
{
    Images im(kWidth, kHeight, false);
    for (auto _ : state)
        pixman_image_composite32(PIXMAN_OP_ADD, im.pixSrc, nullptr, im.pixDst, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    SetRate(state, kWidth * kHeight);
}

// --- Stretches and rotation ---------------------------------------------------------------

void PixmanTransformed(benchmark::State& state, Images& im, const pixman_transform_t& transform,
                       pixman_filter_t filter)
{
    pixman_image_set_transform(im.pixSrc, &transform);
    pixman_image_set_filter(im.pixSrc, filter, nullptr, 0);
    for (auto _ : state)
        pixman_image_composite32(PIXMAN_OP_OVER, im.pixSrc, nullptr, im.pixDst, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    SetRate(state, kWidth * kHeight);
}

pixman_transform_t HalfScale()
{
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_double_to_fixed(0.5), pixman_double_to_fixed(0.5));
    return t;
}

void Quoll_NearestStretch(benchmark::State& state)
{
    Images im(kWidth / 2, kHeight / 2, false);
    for (auto _ : state)
        im.dst.StretchBlt(&im.src, kFull, Quoll::Rect(0, 0, kWidth / 2, kHeight / 2), kFull, Quoll::Color::White,
                          Quoll::DrawMode::Normal, true);
    SetRate(state, kWidth * kHeight);
}

void Pixman_NearestStretch(benchmark::State& state)
{
    Images im(kWidth / 2, kHeight / 2, false);
    PixmanTransformed(state, im, HalfScale(), PIXMAN_FILTER_NEAREST);
}

void Quoll_FilteredStretch(benchmark::State& state)
{
    Images im(kWidth / 2, kHeight / 2, false);
    for (auto _ : state)
        im.dst.StretchBlt(&im.src, kFull, Quoll::Rect(0, 0, kWidth / 2, kHeight / 2), kFull, Quoll::Color::White,
                          Quoll::DrawMode::Normal, false);
    SetRate(state, kWidth * kHeight);
}

void Pixman_FilteredStretch(benchmark::State& state)
{
    Images im(kWidth / 2, kHeight / 2, false);
    PixmanTransformed(state, im, HalfScale(), PIXMAN_FILTER_BILINEAR);
}

constexpr double kAngle = 0.5;

void Quoll_RotatedBilinear(benchmark::State& state)
{
    Images im(kWidth, kHeight, false);
    for (auto _ : state)
        im.dst.BltRotated(&im.src, 0, 0, kFull, kFull, Quoll::Color::White, Quoll::DrawMode::Normal, kAngle,
                          kWidth / 2.0f, kHeight / 2.0f);
    SetRate(state, kWidth * kHeight);
}

void Pixman_RotatedBilinear(benchmark::State& state)
{
    Images im(kWidth, kHeight, false);
    // Destination to source: about the centre by the same angle as the memory image's sampler.
    pixman_transform_t t;
    pixman_transform_init_translate(&t, pixman_double_to_fixed(-kWidth / 2.0), pixman_double_to_fixed(-kHeight / 2.0));
    pixman_transform_rotate(&t, nullptr, pixman_double_to_fixed(std::cos(kAngle)), pixman_double_to_fixed(std::sin(kAngle)));
    pixman_transform_translate(&t, nullptr, pixman_double_to_fixed(kWidth / 2.0), pixman_double_to_fixed(kHeight / 2.0));
    PixmanTransformed(state, im, t, PIXMAN_FILTER_BILINEAR);
}
} // namespace

BENCHMARK(Quoll_OpaqueCopy);
BENCHMARK(Pixman_OpaqueCopy);
BENCHMARK(Quoll_AlphaBlend);
BENCHMARK(Pixman_AlphaBlend);
BENCHMARK(Quoll_AlphaBlendRandom);
BENCHMARK(Pixman_AlphaBlendRandom);
BENCHMARK(Quoll_TintedBlend);
BENCHMARK(Pixman_TintedBlend);
BENCHMARK(Quoll_Additive);
BENCHMARK(Pixman_Additive);
BENCHMARK(Quoll_NearestStretch);
BENCHMARK(Pixman_NearestStretch);
BENCHMARK(Quoll_FilteredStretch);
BENCHMARK(Pixman_FilteredStretch);
BENCHMARK(Quoll_RotatedBilinear);
BENCHMARK(Pixman_RotatedBilinear);
BENCHMARK_MAIN();

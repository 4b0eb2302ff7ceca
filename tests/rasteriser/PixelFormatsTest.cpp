// Destination pixel formats: the worked examples of the opaque store and the blend in every
// format, and the packed forms checked exhaustively against the channel-by-channel formulas.
// Rerun one case: test_rasteriser --gtest_filter='PixelFormats.*'
#include "framework/rasteriser/PixelFormats.h"
#include "RasterReference.h"

#include <gtest/gtest.h>

using namespace Quoll;
namespace Ref = RasterReference;

namespace
{
template <class F> uint32_t Opaque(uint32_t c)
{
    typename F::Pixel p = 0;
    F::WritePixelOpaque(&p, c);
    return p;
}

template <class F> uint32_t Blended(uint32_t dst, uint32_t p, uint32_t a)
{
    typename F::Pixel px = static_cast<typename F::Pixel>(dst);
    F::BlendPixel(&px, p, a);
    return px;
}

template <class F> uint32_t BlendedWeighting(uint32_t dst, uint32_t c, uint32_t a)
{
    typename F::Pixel px = static_cast<typename F::Pixel>(dst);
    F::BlendPixelWeighting(&px, c, a);
    return px;
}

uint32_t Fields565(uint32_t r, uint32_t g, uint32_t b) { return (r << 11) | (g << 5) | b; }
uint32_t Fields555(uint32_t r, uint32_t g, uint32_t b) { return (r << 10) | (g << 5) | b; }

// A source colour and destination word derived from a counter, biased toward 0x00 and 0xFF.
uint32_t Mix(uint32_t x)
{
    x *= 2654435761u;
    x ^= x >> 15;
    const uint32_t bias = (x >> 28) & 3;
    return bias == 0 ? x | 0x00FF00FFu : bias == 1 ? x & 0xFF00FF00u : x;
}

template <class F> void CheckPackedAgainstChannels(uint32_t dst, uint32_t c, uint32_t a)
{
    const uint32_t p = Ref::Weight(c, a);
    const uint32_t expected = Ref::Blend(F::kCode, dst, p, a);
    ASSERT_EQ(Blended<F>(dst, p, a), expected) << std::hex << "dst " << dst << " p " << p << " a " << a;
    ASSERT_EQ(BlendedWeighting<F>(dst, c, a), expected) << std::hex << "dst " << dst << " c " << c << " a " << a;
}
} // namespace

TEST(PixelFormats, OpaqueStoreInEveryFormat)
{
    EXPECT_EQ(Opaque<PixelFormat8888>(0x80FF8040), 0xFFFF8040u);
    EXPECT_EQ(Opaque<PixelFormat888>(0x80FF8040), 0xFFFF8040u);
    EXPECT_EQ(Opaque<PixelFormat565>(0x80FF8040), Fields565(31, 32, 8));
    EXPECT_EQ(Opaque<PixelFormat555>(0x80FF8040), Fields555(31, 16, 8));
}

TEST(PixelFormats, WhiteAndBlackAtHalfAlpha)
{
    EXPECT_EQ(Blended<PixelFormat565>(0x0000, 0x7F7F7F, 128), Fields565(15, 31, 15));
    EXPECT_EQ(Blended<PixelFormat565>(0xFFFF, 0x7F7F7F, 128), Fields565(29, 60, 29));
    EXPECT_EQ(Blended<PixelFormat555>(0x0000, 0x7F7F7F, 128), Fields555(15, 15, 15));
    EXPECT_EQ(Blended<PixelFormat555>(0xFFFF, 0x7F7F7F, 128), Fields555(29, 29, 29));
    EXPECT_EQ(Blended<PixelFormat888>(0xFF000000, 0x7F7F7F, 128), 0xFF7F7F7Fu);
    EXPECT_EQ(Blended<PixelFormat888>(0xFFFFFFFF, 0, 128), 0xFF7E7E7Eu);
    EXPECT_EQ(Blended<PixelFormat8888>(0x00000000, 0x7F7F7F, 128), 0x7FFEFEFEu);
    EXPECT_EQ(Blended<PixelFormat8888>(0xFF000000, 0x7F7F7F, 128), 0xFF7F7F7Fu);
    EXPECT_EQ(Blended<PixelFormat8888>(0xFFFFFFFF, 0, 128), 0xFF7F7F7Fu);
}

TEST(PixelFormats, Blend8888OverOpaqueStaysOpaqueAndZeroDivisorKeepsPixel)
{
    for (uint32_t a = 1; a < 256; ++a)
        EXPECT_EQ(Blended<PixelFormat8888>(0xFF123456, Ref::Weight(0xABCDEF, a), a) >> 24, 0xFFu) << a;
    // Alpha 0 over alpha 0 has no defined result: the pixel is left as it was.
    EXPECT_EQ(Blended<PixelFormat8888>(0x00123456, 0, 0), 0x00123456u);
    // A source stronger than its alpha would give a quotient of 256: it saturates at 255.
    EXPECT_EQ(Blended<PixelFormat8888>(0x00000000, 0x050505, 5), 0x04FFFFFFu);
}

TEST(PixelFormats, PackedBlendsMatchChannelFormulasExhaustively)
{
    // 16-bit formats: every destination word under every alpha.
    for (uint32_t a = 0; a < 256; ++a)
        for (uint32_t d = 0; d < 0x10000; ++d)
        {
            CheckPackedAgainstChannels<PixelFormat565>(d, Mix(d * 256 + a), a);
            CheckPackedAgainstChannels<PixelFormat555>(d & 0x7FFF, Mix(d * 256 + a), a);
        }
    // 32-bit formats: every channel value of the destination, every destination alpha (0x8888)
    // and every alpha, with the three channels of destination and source all different.
    for (uint32_t a = 0; a < 256; ++a)
        for (uint32_t x = 0; x < 256; ++x)
        {
            const uint32_t c = Ref::Rgb(255 - x, x, (x * 7) & 255);
            CheckPackedAgainstChannels<PixelFormat888>(Ref::Rgb(x, 255 - x, x ^ 0x5A) | (x << 24), c, a);
            for (uint32_t da = 0; da < 256; ++da)
                CheckPackedAgainstChannels<PixelFormat8888>((da << 24) | Ref::Rgb(x, 255 - x, x ^ 0x5A), c, a);
        }
}

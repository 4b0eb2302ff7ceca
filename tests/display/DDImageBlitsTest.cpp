// Blits into surfaces: every path (run-length normal and additive, plain and colourised,
// mirrored, opaque copy, volatile direct path, nearest stretch) against a plain per-pixel
// reference written from the formulas, bit for bit, on random sources, destinations, clips and
// formats (pixel bytes biased to 0x00 and 0xFF, padded pitches); and against the memory image's
// blits on opaque destinations within 2 per channel.
// Rerun one case: test_display --gtest_filter='DDImageBlitsTest.*'; a failure prints its seed,
// QUOLL_BLIT_SEED=<seed> runs only that one.
#include "DisplayFixture.h"

#include "framework/display/Graphics.h"
#include "framework/display/SurfaceRows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

using namespace Quoll;
using namespace Quoll::Platform;
using namespace Quoll::Testing;

namespace
{
// --- The reference: one pixel at a time, straight from the formulas ------------------------

struct RefFormat
{
    SurfaceFormat f;
    uint32_t Spread() const
    {
        if (f.bitCount == 16 && f.greenMask == 0x7E0)
            return 0x07E0F81F;
        if (f.bitCount == 16 && f.greenMask == 0x3E0)
            return 0x03E07C1F;
        return 0;
    }
    static int Shift(uint32_t m) { return m == 0 ? 0 : __builtin_ctz(m); }
    static int Bits(uint32_t m) { return m == 0 ? 0 : 32 - __builtin_clz(m >> Shift(m)); }
    uint32_t Masks(int k) const { return k == 0 ? f.redMask : (k == 1 ? f.greenMask : f.blueMask); }
};

// The source pixel premultiplied by (alpha + 1) / 256 and cut to the display's bits.
uint32_t RefNative(uint32_t p, const RefFormat& rf)
{
    const uint32_t m = (p >> 24) + 1;
    uint32_t out = 0;
    for (int k = 0; k < 3; ++k)
    {
        const uint32_t mask = rf.Masks(k);
        const uint32_t c = (p >> (16 - 8 * k)) & 0xFF;
        out |= (((c * m) >> 8) >> (8 - RefFormat::Bits(mask)) << RefFormat::Shift(mask)) & mask;
    }
    return out;
}

struct Colour
{
    uint32_t r, g, b, a;
    bool White() const { return r == 255 && g == 255 && b == 255 && a == 255; }
    uint32_t K(int k) const { return (k == 0 ? r : (k == 1 ? g : b)) * a / 255; }
};

uint32_t RefNormal(uint32_t d, uint32_t p, const Colour& c, const RefFormat& rf)
{
    const uint32_t alpha = p >> 24;
    const uint32_t s = RefNative(p, rf);
    if (alpha == 0)
        return d;
    const uint32_t spread = rf.Spread();
    auto fold = [](uint32_t v) { return (v | (v >> 16)) & 0xFFFF; };
    auto sp = [&](uint32_t v) { return ((v << 16) | v) & spread; };
    if (c.White())
    {
        if (alpha == 255)
            return s;
        const uint32_t f = 256 - alpha;
        if (rf.f.bitCount == 32)
            return (((d & 0xFF00) * f >> 8) & 0xFF00) + (((d & 0xFF00FF) * f >> 8) & 0xFF00FF) + s;
        if (spread != 0)
            return fold((sp(d) * (f >> 3) >> 5) & spread) + s;
        uint32_t out = 0;
        for (int k = 0; k < 3; ++k)
            out += (uint32_t)(((uint64_t)(d & rf.Masks(k)) * f >> 8) & rf.Masks(k));
        return out + s;
    }
    const bool opaque = alpha == 255 && c.a == 255;
    const uint32_t f = 256 - alpha * c.a / 255;
    const bool single = c.K(0) == c.K(1) && c.K(1) == c.K(2) && (rf.f.bitCount == 32 || spread != 0);
    if (single)
    {
        const uint32_t k = c.K(0);
        if (rf.f.bitCount == 32)
            return opaque ? (((s & 0xFF00FF) * k >> 8) & 0xFF00FF) + (((s & 0xFF00) * k >> 8) & 0xFF00)
                          : ((((d & 0xFF00FF) * f + (s & 0xFF00FF) * k) >> 8) & 0xFF00FF) |
                                ((((d & 0xFF00) * f + (s & 0xFF00) * k) >> 8) & 0xFF00);
        return opaque ? fold((sp(s) * (k >> 3) >> 5) & spread)
                      : fold(((sp(s) * (k >> 3) + sp(d) * (f >> 3)) >> 5) & spread);
    }
    uint32_t out = 0;
    for (int k = 0; k < 3; ++k)
    {
        const uint64_t m = rf.Masks(k);
        out |= opaque ? (uint32_t)(((s & m) * c.K(k) >> 8) & m)
                      : (uint32_t)((((d & m) * f + (s & m) * c.K(k)) >> 8) & m);
    }
    return out;
}

// Black entries are skipped (the blit's runs); with skipBlack false only an entry of 0 with
// alpha 0 is (the stretch's test).
uint32_t RefAdditive(uint32_t d, uint32_t p, const Colour& c, const RefFormat& rf, bool skipBlack = true)
{
    const uint32_t s = RefNative(p, rf);
    if ((s & 0xFFFFFF) == 0 && (skipBlack || (p >> 24) == 0))
        return d;
    uint32_t out = 0;
    for (int k = 0; k < 3; ++k)
    {
        const uint32_t m = rf.Masks(k);
        const int shift = RefFormat::Shift(m);
        const uint32_t max = m >> shift;
        const uint32_t sum = c.White() ? ((d & m) + (s & m)) >> shift
                                       : (((s & m) >> shift) * c.K(k) >> 8) + ((d & m) >> shift);
        out |= std::min(sum, max) << shift;
    }
    return out;
}

// --- Random inputs ----------------------------------------------------------------------------

uint32_t RandomByte(std::mt19937& rng)
{
    switch (rng() % 4)
    {
    case 0:
        return 0;
    case 1:
        return 255;
    default:
        return rng() & 0xFF;
    }
}

enum class SourceKind
{
    Opaque,
    Keyed,
    Alpha,
    Palette,
};

void MakeSource(MemoryImage& image, std::mt19937& rng, int w, int h, SourceKind kind)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(w * h));
    uint32_t few[4];
    for (auto& p : few)
        p = RandomByte(rng) << 24 | RandomByte(rng) << 16 | RandomByte(rng) << 8 | RandomByte(rng);
    for (auto& p : pixels)
    {
        uint32_t a = 255;
        if (kind == SourceKind::Keyed)
            a = rng() % 3 == 0 ? 0 : 255;
        else if (kind == SourceKind::Alpha || kind == SourceKind::Palette)
            a = RandomByte(rng);
        p = a << 24 | RandomByte(rng) << 16 | RandomByte(rng) << 8 | RandomByte(rng);
        if (kind == SourceKind::Palette)
            p = few[rng() % 4];
    }
    image.SetBits(pixels.data(), w, h);
    if (kind == SourceKind::Palette)
        image.Palletize();
}

Colour RandomColour(std::mt19937& rng)
{
    switch (rng() % 3)
    {
    case 0:
        return {255, 255, 255, 255};
    case 1:
    {
        const uint32_t v = RandomByte(rng);
        return {v, v, v, RandomByte(rng)};
    }
    default:
        return {RandomByte(rng), RandomByte(rng), RandomByte(rng), RandomByte(rng)};
    }
}

std::vector<uint64_t> Seeds(int count)
{
    if (const char* one = std::getenv("QUOLL_BLIT_SEED"))
        return {std::strtoull(one, nullptr, 10)};
    std::vector<uint64_t> seeds;
    for (int i = 0; i < count; ++i)
        seeds.push_back(1000 + static_cast<uint64_t>(i));
    return seeds;
}

std::vector<uint32_t> ReadSurface(const SoftSurface& s)
{
    std::vector<uint32_t> out;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            out.push_back(s.PixelAt(x, y));
    return out;
}
} // namespace

TEST(DDImageBlitsTest, BlitPathsMatchThePerPixelReference)
{
    constexpr int W = 24, H = 18;
    for (uint64_t seed : Seeds(300))
    {
        std::mt19937 rng(static_cast<uint32_t>(seed));
        const SurfaceFormat format = kSurfaceFormats[rng() % std::size(kSurfaceFormats)];
        TestDisplay t(format, W, H, static_cast<int>(rng() % 3) * 4);
        ASSERT_EQ(t.Init(), 0) << "seed " << seed;
        SoftSurface& surface = *t.display->mDrawSurface;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                surface.SetPixelAt(x, y, static_cast<uint32_t>(rng()) & (format.bitCount == 16 ? 0xFFFF : 0xFFFFFF));
        const auto kind = static_cast<SourceKind>(rng() % 4);
        const int sw = 1 + static_cast<int>(rng() % 20), sh = 1 + static_cast<int>(rng() % 14);
        MemoryImage source;
        MakeSource(source, rng, sw, sh, kind);
        source.CommitBits();
        const Colour c = RandomColour(rng);
        const Color color(static_cast<int>(c.r), static_cast<int>(c.g), static_cast<int>(c.b), static_cast<int>(c.a));
        const bool additive = rng() % 3 == 0;
        const bool mirror = rng() % 3 == 0;
        const int x = static_cast<int>(rng() % (W + 8)) - 8, y = static_cast<int>(rng() % (H + 8)) - 8;
        const Rect srcRect(static_cast<int>(rng() % 3) - 1, static_cast<int>(rng() % 3) - 1, sw, sh);

        // Expected: the reference over a copy of the destination.
        std::vector<uint32_t> expected = ReadSurface(surface);
        const RefFormat rf{format};
        const uint32_t* argb = source.GetBits();
        const bool opaqueCopy = !additive && !mirror && c.White() && !source.mHasAlpha;
        for (int row = 0; row < srcRect.height; ++row)
            for (int col = 0; col < srcRect.width; ++col)
            {
                const int sx = srcRect.x + col, sy = srcRect.y + row;
                const int dx = mirror ? x + srcRect.width - 1 - col : x + col, dy = y + row;
                if (sx < 0 || sy < 0 || sx >= sw || sy >= sh || dx < 0 || dy < 0 || dx >= W || dy >= H)
                    continue;
                const uint32_t p = argb[sy * sw + sx];
                uint32_t& d = expected[static_cast<size_t>(dy * W + dx)];
                if (opaqueCopy)
                    d = (source.mHasTrans && (p >> 24) == 0) ? d : RefNative(p, rf);
                else
                    d = additive ? RefAdditive(d, p, c, rf) : RefNormal(d, p, c, rf);
            }

        const DrawMode mode = additive ? DrawMode::Additive : DrawMode::Normal;
        if (mirror)
            t.Screen().BltMirror(&source, x, y, srcRect, color, mode);
        else
            t.Screen().Blt(&source, x, y, srcRect, color, mode);
        const std::vector<uint32_t> actual = ReadSurface(surface);
        for (size_t i = 0; i < actual.size(); ++i)
            if (actual[i] != expected[i])
            {
                ADD_FAILURE() << "seed " << seed << ": pixel (" << i % W << ", " << i / W << ") expected " << std::hex
                              << expected[i] << ", got " << actual[i] << std::dec << " (format " << format.bitCount
                              << "/" << std::hex << format.greenMask << std::dec << ", source kind "
                              << static_cast<int>(kind) << (additive ? ", additive" : "")
                              << (mirror ? ", mirrored" : "") << ")";
                break;
            }
    }
}

TEST(DDImageBlitsTest, VolatileSourcesTakeTheDirectPathPerPixel)
{
    for (uint64_t seed : Seeds(60))
    {
        std::mt19937 rng(static_cast<uint32_t>(seed));
        const SurfaceFormat format = kSurfaceFormats[rng() % std::size(kSurfaceFormats)];
        TestDisplay t(format, 16, 8);
        ASSERT_EQ(t.Init(), 0);
        SoftSurface& surface = *t.display->mDrawSurface;
        for (int yy = 0; yy < 8; ++yy)
            for (int xx = 0; xx < 16; ++xx)
                surface.SetPixelAt(xx, yy, static_cast<uint32_t>(rng()) & (format.bitCount == 16 ? 0xFFFF : 0xFFFFFF));
        MemoryImage source;
        MakeSource(source, rng, 16, 8, SourceKind::Alpha);
        source.SetVolatile(true);
        std::vector<uint32_t> expected = ReadSurface(surface);
        const RefFormat rf{format};
        const bool rgbOrder = format.redMask > format.greenMask && format.greenMask > format.blueMask;
        const uint32_t* argb = source.GetBits();
        for (size_t i = 0; i < expected.size(); ++i)
        {
            const uint32_t s = argb[i], a = s >> 24;
            uint32_t& d = expected[i];
            if (format.bitCount == 32 && rgbOrder)
            {
                d = (((((s & 0xFF00FF) - (d & 0xFF00FF)) * a >> 8) + (d & 0xFF00FF)) & 0xFF00FF) |
                    (((((s & 0xFF00) - (d & 0xFF00)) * a >> 8) + (d & 0xFF00)) & 0xFF00);
                continue;
            }
            if (rgbOrder && rf.Spread() != 0)
            {
                const uint32_t spread = rf.Spread();
                const uint32_t ss = spread == 0x07E0F81F ? (s & 0xFC00) * 0x800 + ((s >> 3) & 0x1F) + ((s >> 8) & 0xF800)
                                                         : ((s >> 3) & 0x1F) + ((s >> 9) & 0x7C00) + (s & 0xF800) * 0x400;
                const uint32_t sd = ((d << 16) | d) & spread;
                const uint32_t v = (((ss - sd) * (a >> 3) >> 5) + sd) & spread;
                d = (v | (v >> 16)) & 0xFFFF;
                continue;
            }
            uint32_t out = 0;
            for (int k = 0; k < 3; ++k)
            {
                const uint64_t m = rf.Masks(k);
                const uint64_t sc = (s >> (16 - 8 * k)) & 0xFF;
                const uint64_t term = format.bitCount == 32 ? ((sc * a) >> 8) * m : (sc * a * m) >> 8;
                out |= static_cast<uint32_t>((((d & m) * (256 - a) + term + (m >> 1)) >> 8) & m);
            }
            d = out;
        }
        t.Screen().Blt(&source, 0, 0, Rect(0, 0, 16, 8), Color::White, DrawMode::Normal);
        EXPECT_EQ(ReadSurface(surface), expected) << "seed " << seed << ", format " << format.bitCount << "/"
                                                   << std::hex << format.greenMask;
    }
}

TEST(DDImageBlitsTest, AgreesWithTheMemoryImageOnOpaqueDestinations)
{
    constexpr int W = 40, H = 30;
    for (uint64_t seed : Seeds(80))
    {
        std::mt19937 rng(static_cast<uint32_t>(seed));
        const SurfaceFormat format = rng() % 2 == 0 ? SurfaceFormat::X8R8G8B8() : SurfaceFormat::X8B8G8R8();
        TestDisplay t(format, W, H);
        ASSERT_EQ(t.Init(), 0);
        std::vector<uint32_t> background(static_cast<size_t>(W * H));
        for (auto& p : background)
            p = 0xFF000000 | RandomByte(rng) << 16 | RandomByte(rng) << 8 | RandomByte(rng);
        MemoryImage memory, backdrop;
        memory.SetBits(background.data(), W, H);
        backdrop.SetBits(background.data(), W, H);
        t.Screen().Blt(&backdrop, 0, 0, Rect(0, 0, W, H), Color::White, DrawMode::Normal);

        MemoryImage source;
        MakeSource(source, rng, 1 + static_cast<int>(rng() % 16), 1 + static_cast<int>(rng() % 16),
                   static_cast<SourceKind>(rng() % 4));
        const Colour c = RandomColour(rng);
        const Color color(static_cast<int>(c.r), static_cast<int>(c.g), static_cast<int>(c.b), static_cast<int>(c.a));
        const int path = static_cast<int>(rng() % 4);
        // The memory image's stretch always blends normally; the surface's adds when asked to.
        const DrawMode mode = rng() % 3 == 0 && path != 3 ? DrawMode::Additive : DrawMode::Normal;
        const Rect srcRect(0, 0, source.mWidth, source.mHeight);
        const int x = static_cast<int>(rng() % W) - 4, y = static_cast<int>(rng() % H) - 4;
        // A tint rounds once more on the surface (premultiplied, then scaled).
        const int tolerance = c.White() ? 2 : 3;
        const Rect clip(0, 0, W, H);
        auto draw = [&](Image& dest) {
            switch (path)
            {
            case 0:
                dest.Blt(&source, x, y, srcRect, color, mode);
                break;
            case 1:
                dest.BltMirror(&source, x, y, srcRect, color, mode);
                break;
            case 2:
                dest.BltRotated(&source, static_cast<float>(x), static_cast<float>(y), srcRect, clip, color, mode,
                                0.7, 4.0f, 3.0f);
                break;
            default:
                dest.StretchBlt(&source, Rect(x, y, 23, 17), srcRect, clip, color, mode, true);
                break;
            }
        };
        draw(memory);
        draw(t.Screen());
        const uint32_t* want = memory.GetBits();
        const uint32_t* got = t.Screen().GetBits();
        for (int i = 0; i < W * H; ++i)
        {
            int most = 0;
            for (int shift = 0; shift < 24; shift += 8)
                most = std::max(most, std::abs(static_cast<int>((want[i] >> shift) & 0xFF) -
                                               static_cast<int>((got[i] >> shift) & 0xFF)));
            if (most > tolerance)
            {
                ADD_FAILURE() << "seed " << seed << " path " << path << (mode == DrawMode::Additive ? " additive" : "")
                              << ": pixel (" << i % W << ", " << i / W << ") memory " << std::hex << want[i]
                              << ", surface " << got[i];
                break;
            }
        }
        t.Screen().DeleteAllNonSurfaceData();
    }
}

TEST(DDImageBlitsTest, NearestStretchMatchesThePerPixelReference)
{
    constexpr int W = 30, H = 20;
    for (uint64_t seed : Seeds(150))
    {
        std::mt19937 rng(static_cast<uint32_t>(seed));
        const SurfaceFormat format = kSurfaceFormats[rng() % std::size(kSurfaceFormats)];
        TestDisplay t(format, W, H, 4);
        ASSERT_EQ(t.Init(), 0);
        SoftSurface& surface = *t.display->mDrawSurface;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                surface.SetPixelAt(x, y, static_cast<uint32_t>(rng()) & (format.bitCount == 16 ? 0xFFFF : 0xFFFFFF));
        MemoryImage source;
        const int sw = 1 + static_cast<int>(rng() % 12), sh = 1 + static_cast<int>(rng() % 12);
        MakeSource(source, rng, sw, sh, static_cast<SourceKind>(rng() % 4));
        source.CommitBits();
        const Colour c = RandomColour(rng);
        const Color color(static_cast<int>(c.r), static_cast<int>(c.g), static_cast<int>(c.b), static_cast<int>(c.a));
        const bool additive = rng() % 3 == 0, mirror = rng() % 3 == 0;
        const Rect dest(static_cast<int>(rng() % 40) - 10, static_cast<int>(rng() % 30) - 10,
                        1 + static_cast<int>(rng() % 40), 1 + static_cast<int>(rng() % 30));
        const Rect srcRect(0, 0, sw, sh), clip(2, 1, W - 4, H - 2);

        std::vector<uint32_t> expected = ReadSurface(surface);
        Rect clipped;
        FRect area;
        const bool drawn = mirror ? MemoryImage::ClipStretchRectsMirror(dest, clip, srcRect, clipped, area)
                                  : MemoryImage::ClipStretchRects(dest, clip, srcRect, clipped, area);
        const RefFormat rf{format};
        const uint32_t* argb = source.GetBits();
        if (drawn)
        {
            const auto stepX = static_cast<int64_t>(area.width * 65536 / clipped.width);
            const auto stepY = static_cast<int64_t>(area.height * 65536 / clipped.height);
            auto sy = static_cast<int64_t>(area.y * 65536);
            for (int row = 0; row < clipped.height; ++row, sy += stepY)
            {
                auto sx = static_cast<int64_t>(area.x * 65536);
                for (int col = 0; col < clipped.width; ++col, sx += stepX)
                {
                    const int px = std::clamp<int>(static_cast<int>(sx >> 16), 0, sw - 1);
                    const int py = std::clamp<int>(static_cast<int>(sy >> 16), 0, sh - 1);
                    const uint32_t p = argb[py * sw + px];
                    const int dx = mirror ? clipped.x + clipped.width - 1 - col : clipped.x + col;
                    uint32_t& d = expected[static_cast<size_t>((clipped.y + row) * W + dx)];
                    if (additive)
                    {
                        d = RefAdditive(d, p, c, rf, false);
                        continue;
                    }
                    const uint32_t s = RefNative(p, rf);
                    const uint32_t ae = c.White() ? p >> 24 : (p >> 24) * c.a / 255;
                    if (ae == 0)
                        continue;
                    uint32_t out = 0;
                    for (int k = 0; k < 3; ++k)
                    {
                        const uint64_t m = rf.Masks(k);
                        out |= c.White() ? static_cast<uint32_t>(((d & m) * (256 - ae) >> 8) & m)
                                         : static_cast<uint32_t>((((s & m) * c.K(k) + (d & m) * (256 - ae)) >> 8) & m);
                    }
                    d = c.White() ? out + s : out;
                }
            }
        }
        const DrawMode mode = additive ? DrawMode::Additive : DrawMode::Normal;
        if (mirror)
            t.Screen().StretchBltMirror(&source, dest, srcRect, clip, color, mode);
        else
            t.Screen().StretchBlt(&source, dest, srcRect, clip, color, mode, true);
        const std::vector<uint32_t> actual = ReadSurface(surface);
        for (size_t i = 0; i < actual.size(); ++i)
            if (actual[i] != expected[i])
            {
                ADD_FAILURE() << "seed " << seed << ": pixel (" << i % W << ", " << i / W << ") expected " << std::hex
                              << expected[i] << ", got " << actual[i] << std::dec << " (format " << format.bitCount
                              << "/" << std::hex << format.greenMask << std::dec << (additive ? ", additive" : "")
                              << (mirror ? ", mirrored" : "") << (c.White() ? "" : ", tinted") << ", dest "
                              << dest.x << "," << dest.y << " " << dest.width << "x" << dest.height << ", source "
                              << sw << "x" << sh << ")";
                break;
            }
    }
}

TEST(DDImageBlitsTest, RowKernelsEqualTheirPerPixelFormulas)
{
    using namespace Quoll::SurfaceBlend;
    const Layout l; // 32-bit, byte channels
    ASSERT_TRUE(SurfaceRows::IsByteChannels32(l));
    std::vector<int> saturate(511);
    for (int k = 0; k < 511; ++k)
        saturate[static_cast<size_t>(k)] = std::min(k, 255);
    Layout withTables;
    withTables.radd = withTables.gadd = withTables.badd = saturate.data();
    for (uint64_t seed : Seeds(200))
    {
        std::mt19937 rng(static_cast<uint32_t>(seed));
        const int n = static_cast<int>(rng() % 23);
        std::vector<uint32_t> src(static_cast<size_t>(n)), dst(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
        {
            // Entries as the display-format table holds them: colour premultiplied by alpha + 1.
            const uint32_t a = RandomByte(rng);
            uint32_t colour = 0;
            for (int shift = 0; shift < 24; shift += 8)
                colour |= ((RandomByte(rng) * (a + 1)) >> 8) << shift;
            src[static_cast<size_t>(i)] = a << 24 | colour;
            dst[static_cast<size_t>(i)] = RandomByte(rng) << 16 | RandomByte(rng) << 8 | RandomByte(rng);
        }
        std::vector<uint32_t> blended = dst, added = dst, filled = dst;
        SurfaceRows::BlendPremultipliedRow32(src.data(), blended.data(), n);
        SurfaceRows::AddRow32(src.data(), added.data(), n);
        const uint32_t fillAlpha = RandomByte(rng) % 255;
        const uint32_t fill = src.empty() ? 0 : src[0] & 0xFFFFFF;
        SurfaceRows::BlendConstantRow32(fill, 256 - fillAlpha, filled.data(), n);
        for (int i = 0; i < n; ++i)
        {
            const uint32_t s = src[static_cast<size_t>(i)], d = dst[static_cast<size_t>(i)];
            ASSERT_EQ(blended[static_cast<size_t>(i)], KeepAndAdd(d, s & 0xFFFFFF, 256 - (s >> 24), l)) << "seed " << seed;
            ASSERT_EQ(added[static_cast<size_t>(i)], AddPlain(d, s & 0xFFFFFF, withTables)) << "seed " << seed;
            ASSERT_EQ(filled[static_cast<size_t>(i)], KeepAndAdd(d, fill, 256 - fillAlpha, l)) << "seed " << seed;
        }
    }
}

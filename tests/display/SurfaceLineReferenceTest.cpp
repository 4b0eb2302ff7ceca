// The surface lines (plain, additive and anti-aliased) against plain per-pixel references
// written from their formulas: a midpoint walk over the major axis and the mask-wise pixel
// values for the plain and additive lines, the 16.16 error walk and the weighted blends for the
// anti-aliased one. Seeded random lines (fractional, reversed and off-surface end points, every
// alpha class) over random surface contents, compared bit for bit in 32-bit, 5-6-5, 5-5-5 and
// 4-4-4 surfaces. Rerun: test_display --gtest_filter='SurfaceLineReference.*'
#include "DisplayFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

using namespace Quoll;
using namespace Quoll::Platform;
using namespace Quoll::Testing;

namespace
{
constexpr int kWidth = 192, kHeight = 144;

struct Surface
{
    std::vector<uint32_t> pixels;
    uint32_t masks[3]; // red, green, blue
    bool is16;

    void Plot(int x, int y, uint32_t value)
    {
        if (x >= 0 && y >= 0 && x < kWidth && y < kHeight)
            pixels[static_cast<size_t>(y * kWidth + x)] = value;
    }
    [[nodiscard]] uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y * kWidth + x)]; }
};

int Trunc(double v) { return static_cast<int>(v); }

int Bits(uint32_t mask)
{
    int n = 0;
    for (; mask != 0; mask &= mask - 1)
        ++n;
    return n;
}

int Shift(uint32_t mask)
{
    int n = 0;
    while (((mask >> n) & 1) == 0)
        ++n;
    return n;
}

// The pixels of the plain and additive line, in drawing order.
std::vector<std::pair<int, int>> LinePixels(double x0, double y0, double x1, double y1)
{
    const double boxX0 = std::min(x0, x1), boxX1 = std::max(x0, x1);
    const double boxY0 = std::min(y0, y1), boxY1 = std::max(y0, y1);
    const bool yMajor = std::fabs(x1 - x0) <= std::fabs(y1 - y0);
    // Major and minor coordinates of the start and the end, the major one growing.
    double majorS = yMajor ? y0 : x0, minorS = yMajor ? x0 : y0;
    double majorE = yMajor ? y1 : x1, minorE = yMajor ? x1 : y1;
    if (majorE < majorS)
    {
        std::swap(majorS, majorE);
        std::swap(minorS, minorE);
    }
    const double minorLow = yMajor ? boxX0 : boxY0, minorHigh = yMajor ? boxX1 : boxY1;
    const double majorLow = yMajor ? boxY0 : boxX0, majorHigh = yMajor ? boxY1 : boxX1;
    std::vector<std::pair<int, int>> out;
    auto plot = [&](int major, int minor) { out.push_back(yMajor ? std::pair{minor, major} : std::pair{major, minor}); };
    int minor = Trunc(minorS);
    plot(Trunc(majorS), minor);
    const double d = std::fabs(minorE - minorS), l = majorE - majorS;
    const int straight = Trunc(2 * d), diagonal = Trunc(2 * (d - l));
    int error = Trunc((minorS - Trunc(minorS)) * straight + Trunc(2 * d - l));
    for (int major = Trunc(majorS + 1); major <= majorE; ++major)
    {
        if (error < 1)
            error += straight;
        else
        {
            minor += minorE < minorS ? -1 : 1;
            error += diagonal;
            // Outside the pixels of the end points' box: the line ends.
            if (minor < Trunc(minorLow) || minor > minorHigh || major < Trunc(majorLow) || major > majorHigh)
                break;
        }
        plot(major, minor);
    }
    return out;
}

uint32_t Channel(const Color& c, int i) { return static_cast<uint32_t>(i == 0 ? c.r : i == 1 ? c.g : c.b); }

// The plain line's pixel value over d.
uint32_t PlainLinePixel(const Surface& s, uint32_t d, const Color& color)
{
    const uint64_t a = static_cast<uint64_t>(color.a);
    uint64_t out = 0;
    for (int i = 0; i < 3; ++i)
    {
        const uint64_t m = s.masks[i], c = Channel(color, i);
        if (a == 255)
            out += ((c * m + (m >> 1)) >> 8) & m;
        else
            out += (((((c * a + 128) >> 8) * m) + (m >> 1)) >> 8 & m) + ((((d & m) * (256 - a) + (m >> 1)) >> 8) & m);
    }
    return static_cast<uint32_t>(out);
}

// The additive line's pixel: each channel saturates at its field's maximum.
uint32_t AdditiveLinePixel(const Surface& s, uint32_t d, const Color& color)
{
    uint32_t out = 0;
    for (int i = 0; i < 3; ++i)
    {
        const uint32_t m = s.masks[i];
        const uint32_t add = (Channel(color, i) * static_cast<uint32_t>(color.a) / 255) >> (8 - Bits(m));
        const uint32_t v = (d & m) >> Shift(m);
        out |= std::min(v + add, m >> Shift(m)) << Shift(m);
    }
    return out;
}

// The anti-aliased line's blend of the packed colour p into d with weight w.
uint32_t WeightedPixel(const Surface& s, uint32_t d, uint32_t p, uint32_t w)
{
    if (!s.is16)
    {
        const uint32_t rb = (((d & 0xFF00FF) * (256 - w) + (p & 0xFF00FF) * w) >> 8) & 0xFF00FF;
        const uint32_t g = (((d & 0xFF00) * (256 - w) + (p & 0xFF00) * w) >> 8) & 0xFF00;
        return rb | g;
    }
    uint32_t spread = 0;
    if (s.masks[1] == 0x7E0)
        spread = 0x07E0F81F;
    else if (s.masks[1] == 0x3E0)
        spread = 0x03E07C1F;
    if (spread != 0)
    {
        auto spreadOf = [&](uint32_t v) { return ((v << 16) | v) & spread; };
        const uint32_t r = ((spreadOf(p) * (w >> 3) + spreadOf(d) * ((256 - w) >> 3)) >> 5) & spread;
        return (r & 0xFFFF) | (r >> 16);
    }
    uint32_t out = 0;
    for (uint32_t m : s.masks)
        out |= (((d & m) * (256 - w) + (p & m) * w) >> 8) & m;
    return out;
}

void ReferenceAALine(Surface& s, double x0, double y0, double x1, double y1, const Color& color)
{
    uint32_t p = 0;
    for (int i = 0; i < 3; ++i)
        p |= static_cast<uint32_t>((uint64_t{Channel(color, i)} * s.masks[i]) >> 8) & s.masks[i];
    if (y1 < y0)
    {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    int x = Trunc(x0), y = Trunc(y0);
    const int dx = Trunc(x1) - x, dy = Trunc(y1) - y;
    const int xDir = dx < 0 ? -1 : 1;
    const bool yMajor = std::abs(dx) < dy;
    uint32_t e = static_cast<uint32_t>(std::lround(std::fabs(x0 - Trunc(x0)) * std::fabs(y0 - Trunc(y0)) * 65536));
    const double adx = std::fabs(x1 - x0), ady = y1 - y0;
    const uint32_t step = static_cast<uint32_t>(std::lround(yMajor ? 65536 * adx / ady : 65536 * ady / adx));
    auto blend = [&](int px, int py, uint32_t w) {
        if (color.a < 255)
            w = ((static_cast<uint32_t>(color.a) + 1) * w) >> 8;
        if (px >= 0 && py >= 0 && px < kWidth && py < kHeight)
            s.Plot(px, py, WeightedPixel(s, s.At(px, py), p, w));
    };
    uint32_t w = 255 - ((e >> 8) & 255);
    blend(x, y, w);
    for (int i = 0; i < (yMajor ? dy : std::abs(dx)) - 1; ++i)
    {
        e += step;
        if (e > 0xFFFF)
        {
            e &= 0xFFFF;
            if (yMajor)
                x += xDir;
            else
                ++y;
        }
        if (yMajor)
            ++y;
        else
            x += xDir;
        w = 255 - ((e >> 8) & 255);
        blend(x, y, w);
        if (yMajor && x < kWidth - 1)
            blend(x + xDir, y, 255 - w);
        else if (!yMajor && y < kHeight - 1)
            blend(x, y + 1, 255 - w);
    }
    blend(Trunc(x1), Trunc(y1), w);
}

enum class LineKind
{
    Plain,
    Additive,
    AntiAliased,
};

// Random lines drawn on the screen surface of the format and by the reference, from the same
// random contents; the first differing pixel is reported with the seed and the line.
void CompareLines(const SurfaceFormat& format, LineKind kind, uint32_t seed)
{
    TestDisplay t(format);
    ASSERT_EQ(t.Init(), 0);
    DDImage& screen = t.Screen();
    SurfacePtr surface = screen.GetSurface();
    ASSERT_NE(surface, nullptr);
    Surface ref{{}, {format.redMask, format.greenMask, format.blueMask}, format.bitCount == 16};
    std::mt19937 rng(seed);
    const uint32_t valueMask = ref.is16 ? 0xFFFF : 0xFFFFFF;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            const uint32_t v = rng() & valueMask;
            surface->SetPixelAt(x, y, v);
            ref.pixels.push_back(v);
        }
    std::uniform_real_distribution<double> across(-30.0, kWidth + 30.0), down(-30.0, kHeight + 30.0);
    for (int line = 0; line < 300; ++line)
    {
        double x0 = across(rng), y0 = down(rng), x1 = across(rng), y1 = down(rng);
        if (line % 5 == 0)
            x1 = x0 + (y1 - y0) * ((line % 2) ? 1 : -1); // diagonals
        if (x0 == x1 || y0 == y1)
            continue; // straight lines are rectangles
        const int alphas[] = {255, 255, 0, 1, 128, 254, static_cast<int>(rng() % 256)};
        const Color color(static_cast<int>(rng() % 256), static_cast<int>(rng() % 256), static_cast<int>(rng() % 256),
                          alphas[rng() % 7]);
        switch (kind)
        {
        case LineKind::Plain:
            screen.DrawLine(x0, y0, x1, y1, color, DrawMode::Normal);
            for (const auto& [x, y] : LinePixels(x0, y0, x1, y1))
                if (x >= 0 && y >= 0 && x < kWidth && y < kHeight)
                    ref.Plot(x, y, PlainLinePixel(ref, ref.At(x, y), color));
            break;
        case LineKind::Additive:
            screen.DrawLine(x0, y0, x1, y1, color, DrawMode::Additive);
            for (const auto& [x, y] : LinePixels(x0, y0, x1, y1))
                if (x >= 0 && y >= 0 && x < kWidth && y < kHeight)
                    ref.Plot(x, y, AdditiveLinePixel(ref, ref.At(x, y), color));
            break;
        case LineKind::AntiAliased:
            screen.DrawLineAA(x0, y0, x1, y1, color, DrawMode::Normal);
            ReferenceAALine(ref, x0, y0, x1, y1, color);
            break;
        }
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                ASSERT_EQ(surface->PixelAt(x, y) & valueMask, ref.At(x, y) & valueMask)
                    << "seed " << seed << " line " << line << " (" << x0 << "," << y0 << ")-(" << x1 << "," << y1
                    << ") colour " << color.r << "," << color.g << "," << color.b << "," << color.a << " pixel " << x
                    << "," << y;
    }
}

const SurfaceFormat kLineFormats[] = {SurfaceFormat::X8R8G8B8(), SurfaceFormat::R5G6B5(),
                                      SurfaceFormat::X1R5G5B5(), SurfaceFormat{16, 0xF000, 0x0F00, 0x00F0}};
} // namespace

TEST(SurfaceLineReference, PlainLinesMatchTheReference)
{
    for (const SurfaceFormat& format : kLineFormats)
        CompareLines(format, LineKind::Plain, 2101);
}

TEST(SurfaceLineReference, AdditiveLinesMatchTheReference)
{
    for (const SurfaceFormat& format : kLineFormats)
        CompareLines(format, LineKind::Additive, 2102);
}

TEST(SurfaceLineReference, AntiAliasedLinesMatchTheReference)
{
    for (const SurfaceFormat& format : kLineFormats)
        CompareLines(format, LineKind::AntiAliased, 2103);
}

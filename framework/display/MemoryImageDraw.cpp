// Fills, lines and coverage-masked spans of the memory image.
#include "framework/display/MemoryImage.h"
#include "framework/display/PixelBlend.h"

#include <cmath>
#include <cstdlib>

namespace Quoll
{
using namespace PixelBlend;

namespace
{
uint32_t ClampedColor(const Color& color)
{
    return Clamp255(color.a) << 24 | Clamp255(color.r) << 16 | Clamp255(color.g) << 8 | Clamp255(color.b);
}

// Opaque line colour: each channel scaled by 255/256 with rounding.
uint32_t ScaleLineChannel(uint32_t c)
{
    return (c * 255 + 127) >> 8;
}

int Trunc(double value)
{
    return static_cast<int>(value);
}

// Walks a midpoint line over its major axis, both ends included, calling plot(x, y).
template <typename Plot> void WalkLine(double x0, double y0, double x1, double y1, Plot plot)
{
    const bool yMajor = std::fabs(x1 - x0) <= std::fabs(y1 - y0);
    double major0 = yMajor ? y0 : x0, minor0 = yMajor ? x0 : y0;
    double major1 = yMajor ? y1 : x1, minor1 = yMajor ? x1 : y1;
    if (major1 < major0)
    {
        std::swap(major0, major1);
        std::swap(minor0, minor1);
    }
    const double dMajor = major1 - major0;
    const double dMinor = std::fabs(minor1 - minor0);
    const int minorStep = minor1 >= minor0 ? 1 : -1;
    const int minorLow = Trunc(std::min(minor0, minor1));
    const int minorHigh = Trunc(std::max(minor0, minor1));
    const double frac = minor0 - Trunc(minor0);
    const int stepPlain = Trunc(2 * dMinor);
    const int stepDiagonal = Trunc(2 * (dMinor - dMajor));
    int decision = Trunc(frac * stepPlain + Trunc(2 * dMinor - dMajor));
    int minor = Trunc(minor0);
    for (int major = Trunc(major0); major <= Trunc(major1); ++major)
    {
        if (minor < minorLow || minor > minorHigh)
            break;
        if (yMajor)
            plot(minor, major);
        else
            plot(major, minor);
        if (decision <= 0)
        {
            decision += stepPlain;
        }
        else
        {
            minor += minorStep;
            decision += stepDiagonal;
        }
    }
}
} // namespace

void MemoryImage::FillRect(const Rect& rect, const Color& color, DrawMode)
{
    const Rect area = rect.Intersection(Rect(0, 0, mWidth, mHeight));
    uint32_t* bits = GetBits();
    if (bits == nullptr || area.width <= 0 || area.height <= 0)
        return;
    const uint32_t c = ClampedColor(color);
    const uint32_t ca = c >> 24;
    for (int y = area.y; y < area.y + area.height; ++y)
    {
        uint32_t* row = bits + static_cast<size_t>(y) * static_cast<size_t>(mWidth) + area.x;
        for (int x = 0; x < area.width; ++x)
            row[x] = BlendFill(row[x], c, ca);
    }
    BitsChanged();
}

void MemoryImage::ClearRect(const Rect& rect)
{
    const Rect area = rect.Intersection(Rect(0, 0, mWidth, mHeight));
    uint32_t* bits = GetBits();
    if (bits == nullptr || area.width <= 0 || area.height <= 0)
        return;
    for (int y = area.y; y < area.y + area.height; ++y)
    {
        uint32_t* row = bits + static_cast<size_t>(y) * static_cast<size_t>(mWidth) + area.x;
        std::fill(row, row + area.width, 0u);
    }
    BitsChanged();
}

void MemoryImage::DrawLine(double x0, double y0, double x1, double y1, const Color& color, DrawMode mode)
{
    if (y0 == y1)
    {
        const int left = Trunc(std::min(x0, x1));
        FillRect(Rect(left, Trunc(y0), Trunc(std::max(x0, x1)) - left + 1, 1), color, mode);
        return;
    }
    if (x0 == x1)
    {
        const int top = Trunc(std::min(y0, y1));
        FillRect(Rect(Trunc(x0), top, 1, Trunc(std::max(y0, y1)) - top + 1), color, mode);
        return;
    }
    if (GetBits() == nullptr)
        return;
    if (mode == DrawMode::Normal)
        NormalDrawLine(x0, y0, x1, y1, color);
    else if (mode == DrawMode::Additive)
        AdditiveDrawLine(x0, y0, x1, y1, color);
    else
        return;
    BitsChanged();
}

void MemoryImage::NormalDrawLine(double x0, double y0, double x1, double y1, const Color& color)
{
    const uint32_t a = Clamp255(color.a);
    uint32_t r = Clamp255(color.r), g = Clamp255(color.g), b = Clamp255(color.b);
    if (a < 255)
    {
        r = (r * a + 128) >> 8;
        g = (g * a + 128) >> 8;
        b = (b * a + 128) >> 8;
    }
    r = ScaleLineChannel(r);
    g = ScaleLineChannel(g);
    b = ScaleLineChannel(b);
    const uint32_t keep = 256 - a;
    uint32_t* bits = mBits.get();
    WalkLine(x0, y0, x1, y1, [&](int x, int y) {
        if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
            return;
        uint32_t& d = bits[static_cast<size_t>(y) * static_cast<size_t>(mWidth) + static_cast<size_t>(x)];
        if (a >= 255)
        {
            d = 0xFF000000 | r << 16 | g << 8 | b;
            return;
        }
        auto channel = [&](int shift, uint32_t c) {
            return std::min<uint32_t>(((((d >> shift) & 0xFF) * keep + 127) >> 8) + c, 255) << shift;
        };
        d = 0xFF000000 | channel(16, r) | channel(8, g) | channel(0, b);
    });
}

void MemoryImage::AdditiveDrawLine(double x0, double y0, double x1, double y1, const Color& color)
{
    const uint32_t a = Clamp255(color.a);
    const uint32_t r = Clamp255(color.r) * a / 255, g = Clamp255(color.g) * a / 255, b = Clamp255(color.b) * a / 255;
    uint32_t* bits = mBits.get();
    WalkLine(x0, y0, x1, y1, [&](int x, int y) {
        if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
            return;
        uint32_t& d = bits[static_cast<size_t>(y) * static_cast<size_t>(mWidth) + static_cast<size_t>(x)];
        d = AddChannels(d, r, g, b) | 0xFF000000;
    });
}

void MemoryImage::DrawLineAA(double x0, double y0, double x1, double y1, const Color& color, DrawMode mode)
{
    if (y0 == y1 || x0 == x1)
    {
        DrawLine(x0, y0, x1, y1, color, mode);
        return;
    }
    if (mode != DrawMode::Normal || GetBits() == nullptr)
        return;
    NormalDrawLineAA(x0, y0, x1, y1, color);
    BitsChanged();
}

void MemoryImage::NormalDrawLineAA(double x0, double y0, double x1, double y1, const Color& color)
{
    // 1. Endpoints ordered by truncated y.
    if (Trunc(y1) < Trunc(y0))
    {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const int ix0 = Trunc(x0), iy0 = Trunc(y0), ix1 = Trunc(x1), iy1 = Trunc(y1);
    const int dx = ix1 - ix0, dy = iy1 - iy0;
    const int xStep = dx >= 0 ? 1 : -1;
    const uint32_t c = ClampedColor(color);
    const uint32_t alpha = c >> 24;
    uint32_t* bits = mBits.get();
    auto plot = [&](int x, int y, uint32_t coverage) {
        if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
            return;
        uint32_t& d = bits[static_cast<size_t>(y) * static_cast<size_t>(mWidth) + static_cast<size_t>(x)];
        const uint32_t ea = coverage * (alpha + 1) >> 8;
        d = BlendFill(d, c, ea);
    };

    // 2. Major axis and the 16-bit fraction accumulator.
    const bool yMajor = std::abs(dx) < dy;
    const int steps = yMajor ? dy : std::abs(dx);
    uint32_t acc = static_cast<uint32_t>(std::fabs(y0 - iy0) * std::fabs(x0 - ix0) * 65536.0);
    const uint32_t inc = steps == 0 ? 0
                         : yMajor   ? static_cast<uint32_t>(65536.0 * std::abs(dx) / dy)
                                    : static_cast<uint32_t>(65536.0 * dy / std::abs(dx));
    int x = ix0, y = iy0;

    // 3. The pixel on the line and its neighbour along the minor axis share the coverage.
    for (int i = 0; i <= steps; ++i)
    {
        const uint32_t far = (acc >> 8) & 255;
        plot(x, y, 255 - (acc >> 8));
        if (i != 0 && i != steps)
        {
            if (yMajor)
                plot(x + xStep, y, far);
            else
                plot(x, y + 1, far);
        }
        acc += inc;
        if (acc >= 0x10000)
        {
            acc &= 0xFFFF;
            if (yMajor)
                x += xStep;
            else
                ++y;
        }
        if (yMajor)
            ++y;
        else
            x += xStep;
    }
}

void MemoryImage::FillScanLinesWithAlpha(const ScanSpan* spans, int count, const Color& color, DrawMode,
                                         const uint8_t* coverage, int coverX, int coverY, int coverWidth,
                                         int coverHeight)
{
    uint32_t* bits = GetBits();
    if (bits == nullptr || spans == nullptr || coverage == nullptr)
        return;
    const uint32_t c = ClampedColor(color);
    const uint32_t alpha = c >> 24;
    const Rect cover(coverX, coverY, coverWidth, coverHeight);
    for (int s = 0; s < count; ++s)
    {
        const ScanSpan& span = spans[s];
        // Only pixels inside both the image and the coverage mask.
        const Rect area = Rect(span.x, span.y, span.width, 1).Intersection(Rect(0, 0, mWidth, mHeight)).Intersection(cover);
        if (area.width <= 0 || area.height <= 0)
            continue;
        const uint8_t* mask = coverage + static_cast<size_t>(area.y - coverY) * static_cast<size_t>(coverWidth) +
                              static_cast<size_t>(area.x - coverX);
        uint32_t* row = bits + static_cast<size_t>(area.y) * static_cast<size_t>(mWidth) + area.x;
        for (int i = 0; i < area.width; ++i)
            row[i] = BlendFill(row[i], c, alpha * (mask[i] + 1u) >> 8);
    }
    BitsChanged();
}
} // namespace Quoll

// Rectangles, lines and coverage spans of the surface-backed image: the dispatch between the
// 3D renderer, the surface bodies (straight into the locked surface in its format) and the
// memory image's software drawing, and the surface bodies themselves.
#include "framework/display/DDImage.h"
#include "framework/display/PixelBlend.h"
#include "framework/display/Renderer3D.h"
#include "framework/display/SurfaceLock.h"
#include "framework/display/SurfaceRows.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Quoll
{
using namespace SurfaceBlend;

namespace
{
struct Rgba
{
    uint32_t r, g, b, a;
};

Rgba Channels(const Color& color)
{
    return {PixelBlend::Clamp255(color.r), PixelBlend::Clamp255(color.g), PixelBlend::Clamp255(color.b),
            PixelBlend::Clamp255(color.a)};
}

// Sum over channels of ((value(c) * m + bias) >> 8 & m), bias m / 2 or 0.
template <typename Value> uint32_t Pack(const Rgba& c, const Layout& l, Value value, bool halfMaskBias = false)
{
    auto ch = [&](uint32_t v, uint32_t m) {
        return static_cast<uint32_t>(((uint64_t{v} * m + (halfMaskBias ? m >> 1 : 0)) >> 8) & m);
    };
    return ch(value(c.r), l.rm) | ch(value(c.g), l.gm) | ch(value(c.b), l.bm);
}

// Sum over channels of (((d & m) * f + bias(m)) >> 8 & m).
uint32_t Keep(uint32_t d, uint32_t f, const Layout& l, bool halfMaskBias, bool maskBias)
{
    auto ch = [&](uint32_t m) {
        const uint64_t bias = halfMaskBias ? (m >> 1) : (maskBias ? m : 0);
        return static_cast<uint32_t>(((uint64_t{d & m} * f + bias) >> 8) & m);
    };
    return ch(l.rm) | ch(l.gm) | ch(l.bm);
}

// The addend of an additive fill per channel and its application through the tables.
struct AddendFill
{
    uint32_t kr, kg, kb;
    uint32_t Apply(uint32_t d, const Layout& l) const
    {
        auto ch = [&](uint32_t m, int shift, const int* table, uint32_t k) {
            return static_cast<uint32_t>(table[((d & m) >> shift) + k]) << shift;
        };
        return ch(l.rm, l.rshift, l.radd, kr) | ch(l.gm, l.gshift, l.gadd, kg) | ch(l.bm, l.bshift, l.badd, kb);
    }
};

AddendFill MakeAddend(const Color& color, const NativeDisplay& d)
{
    const Rgba c = Channels(color);
    return {(c.r * c.a / 255) >> (8 - d.mRedBits), (c.g * c.a / 255) >> (8 - d.mGreenBits),
            (c.b * c.a / 255) >> (8 - d.mBlueBits)};
}

// Blend of weight w (0..255) of the packed colour over d, as the anti-aliased line does it.
uint32_t BlendWeighted(uint32_t d, uint32_t p, uint32_t w, const Layout& l)
{
    if (l.bits == 32)
        return ((((d & 0xFF00FF) * (256 - w) + (p & 0xFF00FF) * w) >> 8) & 0xFF00FF) |
               ((((d & 0xFF00) * (256 - w) + (p & 0xFF00) * w) >> 8) & 0xFF00);
    if (l.spread != 0)
        return Fold(((Spread(p, l.spread) * (w >> 3) + Spread(d, l.spread) * ((256 - w) >> 3)) >> 5) & l.spread);
    return KeepAndAddTinted(d, p, 256 - w, w, w, w, l);
}

int Trunc(double v)
{
    return static_cast<int>(v);
}
} // namespace

// --- Dispatch -----------------------------------------------------------------------------

bool DDImage::FillPolygon3D(const FPoint* points, int count, const Rect& clip, const Color& color, DrawMode mode,
                            int offsetX, int offsetY, bool convex)
{
    if (Check3D() && mDDInterface->mRenderer)
        return mDDInterface->mRenderer->FillPolygon(points, count, clip, color, mode, offsetX, offsetY);
    return MemoryImage::FillPolygon3D(points, count, clip, color, mode, offsetX, offsetY, convex);
}

void DDImage::FillRect(const Rect& rect, const Color& color, DrawMode mode)
{
    if (Check3D())
    {
        mDDInterface->mRenderer->FillRect(rect, color, mode);
        return;
    }
    CommitBits();
    if (!CanDrawOnSurface())
    {
        MemoryImage::FillRect(rect, color, mode);
        return;
    }
    if (mode == DrawMode::Normal)
        NormalFillRect(rect, color);
    else if (mode == DrawMode::Additive)
        AdditiveFillRect(rect, color);
    DeleteAllNonSurfaceData();
}

void DDImage::ClearRect(const Rect& rect)
{
    CommitBits();
    if (Check3D() || !CanDrawOnSurface() || !HasSurface())
    {
        MemoryImage::ClearRect(rect);
        return;
    }
    const Rect area = rect.Intersection(Rect(0, 0, mWidth, mHeight));
    SurfaceLock lock(*this);
    if (!lock.Drawable() || area.width <= 0 || area.height <= 0)
        return;
    for (int y = area.y; y < area.y + area.height; ++y)
        lock.Span(area.x, y, area.width, 1, [](uint32_t& d, int) { d = 0; });
    DeleteAllNonSurfaceData();
}

void DDImage::DrawLine(double x0, double y0, double x1, double y1, const Color& color, DrawMode mode)
{
    if (Check3D())
    {
        mDDInterface->mRenderer->DrawLine(x0, y0, x1, y1, color, mode);
        return;
    }
    if (mNoSurfaceDrawing || mHasAlpha || mHasTrans || mDDInterface->mIs3D)
    {
        MemoryImage::DrawLine(x0, y0, x1, y1, color, mode);
        return;
    }
    // Straight lines are rectangles including both end points.
    if (y0 == y1)
    {
        const int left = Trunc(std::min(x0, x1));
        FillRect(Rect(left, Trunc(y0), Trunc(std::max(x0, x1)) - left + 1, Trunc(y1 - y0 + 1.0)), color, mode);
        return;
    }
    if (x0 == x1)
    {
        const int top = Trunc(std::min(y0, y1));
        FillRect(Rect(Trunc(x0), top, Trunc(x1 - x0 + 1.0), Trunc(std::max(y0, y1)) - top + 1), color, mode);
        return;
    }
    CommitBits();
    if (mode == DrawMode::Normal)
        NormalDrawLine(x0, y0, x1, y1, color);
    else if (mode == DrawMode::Additive)
        AdditiveDrawLine(x0, y0, x1, y1, color);
    DeleteAllNonSurfaceData();
}

void DDImage::DrawLineAA(double x0, double y0, double x1, double y1, const Color& color, DrawMode mode)
{
    if (Check3D())
    {
        mDDInterface->mRenderer->DrawLine(x0, y0, x1, y1, color, mode);
        return;
    }
    if (mNoSurfaceDrawing || mHasAlpha || mHasTrans || mDDInterface->mIs3D)
    {
        MemoryImage::DrawLineAA(x0, y0, x1, y1, color, mode);
        return;
    }
    if (y0 == y1 || x0 == x1)
    {
        DrawLine(x0, y0, x1, y1, color, mode);
        return;
    }
    CommitBits();
    // Additive anti-aliased lines on a surface draw nothing.
    if (mode == DrawMode::Normal)
        NormalDrawLineAA(x0, y0, x1, y1, color);
    DeleteAllNonSurfaceData();
}

void DDImage::FillScanLinesWithAlpha(const ScanSpan* spans, int count, const Color& color, DrawMode mode,
                                     const uint8_t* coverage, int coverX, int coverY, int coverWidth,
                                     int coverHeight)
{
    if (count <= 0 || spans == nullptr)
        return;
    if (Check3D())
    {
        // The spans' bounding box drawn into a scratch image, shifted in a copy of the list.
        int minX = spans[0].x, maxX = spans[0].x + spans[0].width - 1, minY = spans[0].y, maxY = spans[0].y;
        for (int i = 1; i < count; ++i)
        {
            minX = std::min(minX, spans[i].x);
            maxX = std::max(maxX, spans[i].x + spans[i].width - 1);
            minY = std::min(minY, spans[i].y);
            maxY = std::max(maxY, spans[i].y);
        }
        std::vector<ScanSpan> shifted(spans, spans + count);
        for (ScanSpan& span : shifted)
        {
            span.x -= minX;
            span.y -= minY;
        }
        MemoryImage scratch(mApp);
        scratch.SetBits(nullptr, maxX - minX + 1, maxY - minY + 1);
        scratch.MemoryImage::FillScanLinesWithAlpha(shifted.data(), count, color, mode, coverage, coverX - minX,
                                                    coverY - minY, coverWidth, coverHeight);
        Blt(&scratch, minX, minY, Rect(0, 0, scratch.mWidth, scratch.mHeight), Color::White, mode);
        // The renderer lets go of the scratch image's texture before the image goes.
        mDDInterface->Remove3DData(&scratch);
        return;
    }
    if (mVideoMemoryScreen)
        return;
    SurfaceLock lock(*this);
    if (!lock.Drawable())
        return;
    const Layout& l = lock.layout;
    const Rgba c = Channels(color);
    const uint32_t packed = Pack(c, l, [](uint32_t v) { return v; });
    for (int i = 0; i < count; ++i)
    {
        const ScanSpan& span = spans[i];
        // Bounds-checked: spans outside the surface or the coverage are cut.
        const int from = std::max({span.x, 0, coverX});
        const int to = std::min({span.x + span.width, mWidth, coverX + coverWidth});
        if (span.y < 0 || span.y >= mHeight || span.y < coverY || span.y >= coverY + coverHeight || from >= to)
            continue;
        const uint8_t* cover = coverage + static_cast<ptrdiff_t>(span.y - coverY) * coverWidth + (from - coverX);
        lock.Span(from, span.y, to - from, 1, [&](uint32_t& d, int k) {
            const uint32_t ae = ((uint32_t{cover[k]} + 1) * c.a) >> 8;
            d = KeepAndAddTinted(d, packed, 256 - ae, ae, ae, ae, l);
        });
    }
    DeleteAllNonSurfaceData();
}

// --- Surface bodies -------------------------------------------------------------------------

void DDImage::NormalFillRect(const Rect& rect, const Color& color)
{
    if (mVideoMemoryScreen)
        return;
    SurfaceLock lock(*this);
    const Rect area = rect.Intersection(Rect(0, 0, mWidth, mHeight));
    if (!lock.Drawable() || area.width <= 0 || area.height <= 0)
        return;
    const Layout& l = lock.layout;
    const Rgba c = Channels(color);
    const bool is16 = l.bits == 16;
    if (c.a == 255)
    {
        const uint32_t pixel = is16 ? Pack(c, l, [](uint32_t v) { return v + 1; }) : Pack(c, l, [](uint32_t v) { return v; });
        for (int y = area.y; y < area.y + area.height; ++y)
            lock.Span(area.x, y, area.width, 1, [&](uint32_t& d, int) { d = pixel; });
        return;
    }
    const uint32_t a = c.a;
    const uint32_t source = is16 ? Pack(c, l, [a](uint32_t v) { return ((v * a + 128) >> 8) + 1; })
                                 : Pack(c, l, [a](uint32_t v) { return ((v * a + 127) >> 8) + 1; });
    // 32 bits: the per-channel form equals the paired form of KeepAndAdd, done by a row kernel.
    for (int y = area.y; y < area.y + area.height; ++y)
    {
        if (!is16)
        {
            SurfaceRows::BlendConstantRow32(source, 256 - a, RowOf<uint32_t>(lock.Desc(), y) + area.x, area.width);
            continue;
        }
        lock.Span(area.x, y, area.width, 1, [&](uint32_t& d, int) { d = source + Keep(d, 256 - a, l, false, true); });
    }
}

void DDImage::AdditiveFillRect(const Rect& rect, const Color& color)
{
    if (mVideoMemoryScreen)
        return;
    SurfaceLock lock(*this);
    const Rect area = rect.Intersection(Rect(0, 0, mWidth, mHeight));
    if (!lock.Drawable() || area.width <= 0 || area.height <= 0)
        return;
    const AddendFill addend = MakeAddend(color, *mDDInterface);
    for (int y = area.y; y < area.y + area.height; ++y)
        lock.Span(area.x, y, area.width, 1, [&](uint32_t& d, int) { d = addend.Apply(d, lock.layout); });
}

namespace
{
// The stepping of the surface line: plot(x, y) for every pixel from the first end point on.
template <typename Plot> void WalkLine(double x0, double y0, double x1, double y1, Plot plot)
{
    // Bounding box of the end points.
    const double minX = std::min(x0, x1), maxX = std::max(x0, x1);
    const double minY = std::min(y0, y1), maxY = std::max(y0, y1);
    const bool yMajor = std::abs(x1 - x0) <= std::abs(y1 - y0);
    // Major axis in a, minor in b; ordered so the major coordinate grows.
    double as = yMajor ? y0 : x0, bs = yMajor ? x0 : y0, ae = yMajor ? y1 : x1, be = yMajor ? x1 : y1;
    if (ae < as)
    {
        std::swap(as, ae);
        std::swap(bs, be);
    }
    const int step = be < bs ? -1 : 1;
    int a = Trunc(as), b = Trunc(bs);
    auto emit = [&] { yMajor ? plot(b, a) : plot(a, b); };
    emit();
    // Error terms of the minor axis.
    const double minor = std::abs(be - bs), major = std::abs(ae - as);
    const int straight = Trunc(2 * minor);
    const int diagonal = Trunc(2 * (minor - major));
    const double frac = bs - Trunc(bs);
    int error = Trunc(frac * straight + Trunc(2 * minor - major));
    const double bLow = yMajor ? minX : minY, bHigh = yMajor ? maxX : maxY;
    const double aLow = yMajor ? minY : minX, aHigh = yMajor ? maxY : maxX;
    // One pixel per major step.
    for (a = Trunc(as + 1); a <= ae; ++a)
    {
        if (error < 1)
        {
            error += straight;
        }
        else
        {
            b += step;
            error += diagonal;
            if (b < Trunc(bLow) || b > bHigh || a < Trunc(aLow) || a > aHigh)
                return;
        }
        emit();
    }
}
} // namespace

void DDImage::NormalDrawLine(double x0, double y0, double x1, double y1, const Color& color)
{
    if (mVideoMemoryScreen)
        return;
    SurfaceLock lock(*this);
    if (!lock.Drawable())
        return;
    const Layout& l = lock.layout;
    const Rgba c = Channels(color);
    // Opaque: the packed colour; translucent: the weighted colour over the kept pixel.
    const uint32_t a = c.a;
    const uint32_t opaquePixel = Pack(c, l, [](uint32_t v) { return v; }, true);
    const uint32_t source = Pack(c, l, [a](uint32_t v) { return (v * a + 128) >> 8; }, true);
    WalkLine(x0, y0, x1, y1, [&](int x, int y) {
        if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
            return;
        lock.At(x, y, [&](uint32_t& d) { d = a == 255 ? opaquePixel : source + Keep(d, 256 - a, l, true, false); });
    });
}

void DDImage::AdditiveDrawLine(double x0, double y0, double x1, double y1, const Color& color)
{
    if (mVideoMemoryScreen)
        return;
    SurfaceLock lock(*this);
    if (!lock.Drawable())
        return;
    const AddendFill addend = MakeAddend(color, *mDDInterface);
    WalkLine(x0, y0, x1, y1, [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < mWidth && y < mHeight)
            lock.At(x, y, [&](uint32_t& d) { d = addend.Apply(d, lock.layout); });
    });
}

void DDImage::NormalDrawLineAA(double x0, double y0, double x1, double y1, const Color& color)
{
    SurfaceLock lock(*this);
    if (!lock.Drawable())
        return;
    const Layout& l = lock.layout;
    const Rgba c = Channels(color);
    const uint32_t packed = Pack(c, l, [](uint32_t v) { return v; });
    // 1. Integer end points, ordered so y grows.
    if (y1 < y0)
    {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    int xi = Trunc(x0), yi = Trunc(y0);
    const int dx = Trunc(x1) - xi, dy = Trunc(y1) - yi;
    const int xDir = dx < 0 ? -1 : 1;
    const bool yMajor = std::abs(dx) < dy;
    // 2. Error accumulator and step in 16.16.
    uint32_t error = static_cast<uint32_t>(std::lround(std::abs(x0 - Trunc(x0)) * std::abs(y0 - Trunc(y0)) * 65536));
    const double dxf = std::abs(x1 - x0), dyf = y1 - y0;
    const auto stepValue = static_cast<uint32_t>(
        std::lround(yMajor ? (dyf != 0 ? 65536 * dxf / dyf : 0) : (dxf != 0 ? 65536 * dyf / dxf : 0)));
    const int length = yMajor ? dy : std::abs(dx);
    auto plot = [&](int x, int y, uint32_t w) {
        if (c.a < 255)
            w = ((c.a + 1) * w) >> 8;
        if (x >= 0 && y >= 0 && x < mWidth && y < mHeight)
            lock.At(x, y, [&](uint32_t& d) { d = BlendWeighted(d, packed, w, l); });
    };
    // 3. First pixel, then the major steps with the minor neighbour.
    uint32_t w = 255 - ((error >> 8) & 255);
    plot(xi, yi, w);
    for (int i = 0; i < length - 1; ++i)
    {
        error += stepValue;
        if (error > 0xFFFF)
        {
            error &= 0xFFFF;
            yMajor ? (xi += xDir) : ++yi;
        }
        yMajor ? ++yi : (xi += xDir);
        w = 255 - ((error >> 8) & 255);
        plot(xi, yi, w);
        if (yMajor && xi < mWidth - 1)
            plot(xi + xDir, yi, 255 - w);
        else if (!yMajor && yi < mHeight - 1)
            plot(xi, yi + 1, 255 - w);
    }
    plot(Trunc(x1), Trunc(y1), w);
}
} // namespace Quoll

// Image-to-image drawing of the surface-backed image. Each call goes one of four ways: the 3D
// renderer (the destination is the 3D screen), a surface-to-surface copy (both hold surfaces
// and nothing needs blending), the surface bodies here (straight into the locked destination
// surface in its format, from the source's display-format entries and alpha runs), or the
// memory image's software blits.
#include "framework/display/RasterView.h"
#include "framework/display/BlitGeometry.h"
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
// Colour factors of the colourised variants.
struct Factors
{
    explicit Factors(const Color& color)
        : white(color.IsWhite()), a(PixelBlend::Clamp255(color.a)), kr(PixelBlend::Clamp255(color.r) * a / 255),
          kg(PixelBlend::Clamp255(color.g) * a / 255), kb(PixelBlend::Clamp255(color.b) * a / 255),
          single(kr == kg && kg == kb)
    {
    }
    bool white;
    uint32_t a, kr, kg, kb;
    bool single;
};

// The source's display-format entry of pixel i (through the index byte for a palette source).
struct NativeReader
{
    const uint32_t* entries;
    const uint8_t* indices;
    uint32_t operator[](size_t i) const { return indices != nullptr ? entries[indices[i]] : entries[i]; }
};

NativeReader ReadNative(MemoryImage& source, const PixelFormat& format)
{
    const uint32_t* entries = source.GetNativeAlphaData(format);
    const uint8_t* indices = source.mPalette ? source.mPaletteIndices.get() : nullptr;
    return {entries, indices};
}

// The direct path: a volatile source's ARGB pixel blended by its own alpha.
uint32_t DirectBlend(uint32_t d, uint32_t s, const Layout& l, bool rgbOrder)
{
    const uint32_t alpha = s >> 24;
    if (l.bits == 32 && rgbOrder)
    {
        const uint32_t rb = ((((s & 0xFF00FF) - (d & 0xFF00FF)) * alpha >> 8) + (d & 0xFF00FF)) & 0xFF00FF;
        const uint32_t g = ((((s & 0xFF00) - (d & 0xFF00)) * alpha >> 8) + (d & 0xFF00)) & 0xFF00;
        return rb | g;
    }
    if (l.bits == 16 && rgbOrder && l.spread != 0)
    {
        const bool is565 = l.spread == 0x07E0F81F;
        const uint32_t spreadS = is565 ? (s & 0xFC00) * 0x800 + ((s >> 3) & 0x1F) + ((s >> 8) & 0xF800)
                                       : ((s >> 3) & 0x1F) + ((s >> 9) & 0x7C00) + (s & 0xF800) * 0x400;
        const uint32_t spreadD = Spread(d, l.spread);
        return Fold((((spreadS - spreadD) * (alpha >> 3) >> 5) + spreadD) & l.spread);
    }
    const uint32_t channels[3] = {(s >> 16) & 0xFF, (s >> 8) & 0xFF, s & 0xFF};
    const uint32_t masks[3] = {l.rm, l.gm, l.bm};
    uint32_t out = 0;
    for (int k = 0; k < 3; ++k)
    {
        const uint64_t m = masks[k];
        const uint64_t term = l.bits == 32 ? ((channels[k] * alpha) >> 8) * m : (channels[k] * alpha * m) >> 8;
        out |= static_cast<uint32_t>((((d & m) * (256 - alpha) + term + (m >> 1)) >> 8) & m);
    }
    return out;
}

// One pixel of the run-length normal blit: s is the source's display-format entry.
uint32_t NormalPixel(uint32_t d, uint32_t s, const Factors& f, const Layout& l)
{
    const uint32_t alpha = s >> 24;
    const uint32_t low = l.bits == 32 ? s & 0xFFFFFF : s & 0xFFFF;
    if (f.white)
        return alpha == 255 ? low : KeepAndAdd(d, low, 256 - alpha, l);
    const bool opaque = alpha == 255 && f.a == 255;
    if (f.single && (l.bits == 32 || l.spread != 0))
        return opaque ? ScaleSingle(low, f.kr, l) : KeepAndAddScaled(d, low, 256 - alpha * f.a / 255, f.kr, l);
    return opaque ? ScaleTinted(low, f.kr, f.kg, f.kb, l)
                  : KeepAndAddTinted(d, low, 256 - alpha * f.a / 255, f.kr, f.kg, f.kb, l);
}

uint32_t AdditivePixel(uint32_t d, uint32_t s, const Factors& f, const Layout& l)
{
    return f.white ? AddPlain(d, s, l) : AddTinted(d, s, f.kr, f.kg, f.kb, l);
}
} // namespace

// --- Dispatch -----------------------------------------------------------------------------

void DDImage::Blt(Image* source, int x, int y, const Rect& srcRect, const Color& color, DrawMode mode)
{
    MemoryImage* src = AsMemorySource(source);
    CommitBits();
    if (Check3D())
    {
        auto* surfaceSource = dynamic_cast<DDImage*>(source);
        if (surfaceSource != nullptr && surfaceSource->HasSurface() &&
            !mDDInterface->mRenderer->ForbidsDirectCopies() && mode == DrawMode::Normal && color.IsWhite() &&
            !surfaceSource->mHasAlpha)
            DirectDrawCopy(*surfaceSource, Rect(x, y, srcRect.width, srcRect.height), srcRect);
        else
            mDDInterface->mRenderer->Blt(source, static_cast<float>(x), static_cast<float>(y), srcRect, color,
                                         mode);
        return;
    }
    if (src == nullptr)
        return;
    if (!mNoSurfaceDrawing && !mHasAlpha && (!mHasTrans || mFirstPixelTrans) &&
        (!mDDInterface->mIs3D || IsCursorArea()))
    {
        if (mode == DrawMode::Normal || mode == DrawMode::Additive)
            SurfaceBlt(*src, x, y, srcRect, color, mode, false);
        DeleteAllNonSurfaceData();
        return;
    }
    MemoryImage::Blt(source, x, y, srcRect, color, mode);
}

void DDImage::BltMirror(Image* source, int x, int y, const Rect& srcRect, const Color& color, DrawMode mode)
{
    MemoryImage* src = AsMemorySource(source);
    CommitBits();
    if (Check3D())
    {
        mDDInterface->mRenderer->BltMirror(source, static_cast<float>(x), static_cast<float>(y), srcRect, color,
                                           mode);
        return;
    }
    if (src == nullptr || (mode != DrawMode::Normal && mode != DrawMode::Additive))
        return;
    // A destination that cannot hold its pixels in a surface is drawn in memory.
    if (!CanDrawOnSurface())
    {
        MemoryImage::BltMirror(source, x, y, srcRect, color, mode);
        return;
    }
    if (!LockSurface())
        return;
    SurfaceBlt(*src, x, y, srcRect, color, mode, true);
    UnlockSurface();
    DeleteAllNonSurfaceData();
}

void DDImage::BltAtFloat(Image* source, float x, float y, const Rect& srcRect, const Rect& clip, const Color& color,
                         DrawMode mode)
{
    if (!Check3D())
    {
        BltRotated(source, x, y, srcRect, clip, color, mode, 0.0, 0.0f, 0.0f);
        return;
    }
    AsMemorySource(source);
    const FRect placed = FRect(x, y, srcRect.width, srcRect.height).Intersection(FRect(clip.x, clip.y, clip.width, clip.height));
    if (placed.width <= 0 || placed.height <= 0)
        return;
    mDDInterface->mRenderer->BltClipF(source, x, y, srcRect, clip, color, mode);
}

namespace
{
// Draws into the destination area through a scratch memory image that holds the area's
// pixels (opaque ARGB), then writes the area back in the surface's format.
template <typename Draw> void DrawThroughMemory(DDImage& image, const Rect& area, Draw draw)
{
    if (image.mVideoMemoryScreen)
        return;
    SurfaceLock lock(image);
    if (!lock.Drawable() || area.width <= 0 || area.height <= 0)
        return;
    const NativeDisplay& d = *image.mDDInterface;
    // The scratch image takes the area's pixels directly; its mode is fixed (opaque), so no
    // scan of the pixels is needed.
    MemoryImage scratch(image.mApp);
    scratch.SetBits(nullptr, area.width, area.height, false);
    scratch.SetImageMode(false, false);
    uint32_t* pixels = scratch.GetBits();
    // The common display format is the ARGB layout itself: rows are copied.
    const Platform::SurfaceFormat& f = lock.Desc().format;
    const bool argbLayout = f == Platform::SurfaceFormat::X8R8G8B8();
    auto widen = [](uint32_t p, uint32_t shift, uint32_t bits) { return ((p >> shift) << (8 - bits)) & 0xFF; };
    for (int y = 0; y < area.height && argbLayout; ++y)
    {
        const uint32_t* row = RowOf<uint32_t>(lock.Desc(), area.y + y) + area.x;
        for (int i = 0; i < area.width; ++i)
            pixels[static_cast<size_t>(y * area.width + i)] = row[i] | 0xFF000000;
    }
    for (int y = 0; y < area.height && !argbLayout; ++y)
        lock.Span(area.x, area.y + y, area.width, 1, [&](uint32_t& p, int i) {
            pixels[static_cast<size_t>(y * area.width + i)] = 0xFF000000 | widen(p, d.mRedShift, d.mRedBits) << 16 |
                                                               widen(p, d.mGreenShift, d.mGreenBits) << 8 |
                                                               widen(p, d.mBlueShift, d.mBlueBits);
        });
    draw(scratch);
    const uint32_t* out = scratch.GetBits();
    for (int y = 0; y < area.height && argbLayout; ++y)
    {
        uint32_t* row = RowOf<uint32_t>(lock.Desc(), area.y + y) + area.x;
        for (int i = 0; i < area.width; ++i)
            row[i] = out[static_cast<size_t>(y * area.width + i)] & 0xFFFFFF;
    }
    for (int y = 0; y < area.height && !argbLayout; ++y)
        lock.Span(area.x, area.y + y, area.width, 1, [&](uint32_t& p, int i) {
            const uint32_t c = out[static_cast<size_t>(y * area.width + i)];
            p = (((c >> (24 - d.mRedBits)) << d.mRedShift) & f.redMask) |
                (((c >> (16 - d.mGreenBits)) << d.mGreenShift) & f.greenMask) |
                (((c >> (8 - d.mBlueBits)) << d.mBlueShift) & f.blueMask);
        });
}

Rect OuterPixels(const FRect& r)
{
    const int left = static_cast<int>(std::floor(r.x)), top = static_cast<int>(std::floor(r.y));
    return Rect(left, top, static_cast<int>(std::ceil(r.x + r.width)) - left,
                static_cast<int>(std::ceil(r.y + r.height)) - top);
}
} // namespace

void DDImage::BltRotated(Image* source, float x, float y, const Rect& srcRect, const Rect& clip, const Color& color,
                         DrawMode mode, double angle, float centerX, float centerY)
{
    if (Check3D())
    {
        AsMemorySource(source);
        mDDInterface->mRenderer->BltRotated(source, x, y, srcRect, clip, color, mode, angle, centerX, centerY);
        return;
    }
    CommitBits();
    if (!CanDrawOnSurface())
    {
        MemoryImage::BltRotated(source, x, y, srcRect, clip, color, mode, angle, centerX, centerY);
        return;
    }
    MemoryImage* src = AsMemorySource(source);
    FRect bounds;
    const Rect area = clip.Intersection(Rect(0, 0, mWidth, mHeight));
    if (src == nullptr || !GetRotatedBounds(srcRect, area, bounds, x, y, centerX, centerY, angle))
        return;
    src->CommitBits();
    // The memory image's rotated blit on the covered pixels, written back in the surface format.
    const Rect region = OuterPixels(bounds).Intersection(area);
    const Rect inRegion = Rect(area.x - region.x, area.y - region.y, area.width, area.height);
    DrawThroughMemory(*this, region, [&](MemoryImage& scratch) {
        scratch.MemoryImage::BltRotated(source, x - static_cast<float>(region.x), y - static_cast<float>(region.y),
                                        srcRect, inRegion, color, mode, angle, centerX, centerY);
    });
    DeleteAllNonSurfaceData();
}

void DDImage::StretchBlt(Image* source, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                         const Color& color, DrawMode mode, bool fastStretch)
{
    CommitBits();
    if (Check3D())
    {
        AsMemorySource(source);
        mDDInterface->mRenderer->StretchBlt(source, destRect, srcRect, clip, color, mode, fastStretch, false);
        return;
    }
    MemoryImage* src = AsMemorySource(source);
    Rect clipped;
    FRect area;
    if (src == nullptr ||
        !ClipStretchRects(destRect, clip.Intersection(Rect(0, 0, mWidth, mHeight)), srcRect, clipped, area))
        return;
    if (!fastStretch)
    {
        if (!CanDrawOnSurface())
        {
            MemoryImage::StretchBlt(source, destRect, srcRect, clip, color, mode, false);
            return;
        }
        // The smooth stretch into a clear scratch image, whose colours are then taken back out
        // of the premultiplication, and drawn with the colour and mode.
        MemoryImage scratch(mApp);
        scratch.SetBits(nullptr, clipped.width, clipped.height);
        scratch.MemoryImage::StretchBlt(source, Rect(destRect.x - clipped.x, destRect.y - clipped.y, destRect.width,
                                                     destRect.height),
                                        srcRect, Rect(0, 0, clipped.width, clipped.height), Color::White,
                                        DrawMode::Normal, false);
        uint32_t* bits = scratch.GetBits();
        for (int i = 0; i < clipped.width * clipped.height; ++i)
        {
            const uint32_t p = bits[i], a = p >> 24;
            auto channel = [&](int shift) { return a == 0 ? 0u : std::min(255u, (((p >> shift) & 0xFF) * 256 + a - 1) / a); };
            bits[i] = a << 24 | channel(16) << 16 | channel(8) << 8 | channel(0);
        }
        scratch.BitsChanged();
        Blt(&scratch, clipped.x, clipped.y, Rect(0, 0, clipped.width, clipped.height), color, mode);
        return;
    }
    if (!CanDrawOnSurface())
    {
        MemoryImage::StretchBlt(source, destRect, srcRect, clip, color, mode, true);
        return;
    }
    auto* surfaceSource = dynamic_cast<DDImage*>(source);
    if (surfaceSource != nullptr && surfaceSource->HasSurface() && color.IsWhite() && mode == DrawMode::Normal &&
        !surfaceSource->mHasAlpha)
    {
        DirectDrawCopy(*surfaceSource, clipped,
                       Rect(static_cast<int>(area.x), static_cast<int>(area.y), static_cast<int>(area.width),
                            static_cast<int>(area.height)));
        return;
    }
    NearestStretchOnSurface(*src, clipped, area, color, mode, false);
}

void DDImage::StretchBltMirror(Image* source, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                               const Color& color, DrawMode mode)
{
    CommitBits();
    if (Check3D())
    {
        AsMemorySource(source);
        mDDInterface->mRenderer->StretchBlt(source, destRect, srcRect, clip, color, mode, true, true);
        return;
    }
    MemoryImage* src = AsMemorySource(source);
    Rect clipped;
    FRect area;
    if (src == nullptr ||
        !ClipStretchRectsMirror(destRect, clip.Intersection(Rect(0, 0, mWidth, mHeight)), srcRect, clipped, area))
        return;
    if (!CanDrawOnSurface())
    {
        MemoryImage::StretchBltMirror(source, destRect, srcRect, clip, color, mode);
        return;
    }
    NearestStretchOnSurface(*src, clipped, area, color, mode, true);
}

void DDImage::BltMatrix(Image* source, float x, float y, const Matrix3& matrix, const Rect& clip, const Color& color,
                        DrawMode mode, const Rect& srcRect, bool filtering)
{
    if (Check3D())
    {
        AsMemorySource(source);
        mDDInterface->mRenderer->BltTransformed(source, clip, color, mode, srcRect, matrix, filtering, x, y, true);
        return;
    }
    CommitBits();
    if (!CanDrawOnSurface())
    {
        MemoryImage::BltMatrix(source, x, y, matrix, clip, color, mode, srcRect, filtering);
        return;
    }
    MemoryImage* src = AsMemorySource(source);
    if (src == nullptr || src->mWidth <= 0 || src->mHeight <= 0)
        return;
    TriVertex vertices[4];
    MatrixQuadVertices(*src, srcRect, matrix, x, y, vertices);
    TrianglesOnSurface(*src, vertices, 4, clip, color, filtering, false, mode);
}

void DDImage::BltTrianglesTex(Image* texture, const TriangleVertices* triangles, int count, const Rect& clip,
                              const Color& color, DrawMode mode, float tx, float ty, bool filtering)
{
    if (Check3D())
    {
        AsMemorySource(texture);
        mDDInterface->mRenderer->DrawTrianglesTex(texture, triangles, count, clip, color, mode, tx, ty, filtering);
        return;
    }
    CommitBits();
    if (!CanDrawOnSurface())
    {
        MemoryImage::BltTrianglesTex(texture, triangles, count, clip, color, mode, tx, ty, filtering);
        return;
    }
    MemoryImage* tex = AsMemorySource(texture);
    if (tex == nullptr || triangles == nullptr)
        return;
    for (int t = 0; t < count; ++t)
    {
        const ShadedTriangle shaded = OffsetTriangle(triangles[t], tx, ty, color);
        TrianglesOnSurface(*tex, shaded.vertices, 3, clip, shaded.tint, filtering, shaded.vertexColor, mode);
    }
}

void DDImage::TrianglesOnSurface(MemoryImage& texture, const TriVertex* vertices, int vertexCount, const Rect& clip,
                                 const Color& color, bool filtering, bool vertexColor, DrawMode mode)
{
    if (mVideoMemoryScreen)
        return;
    SurfaceLock lock(*this);
    const Rect area = clip.Intersection(Rect(0, 0, mWidth, mHeight));
    if (!lock.Drawable() || area.width <= 0 || area.height <= 0)
        return;
    const Layout& l = lock.layout;
    int32_t format = 0;
    if (l.bits == 32)
        format = kTriangleFormat888;
    else if (l.rm == 0xF800 && l.gm == 0x7E0 && l.bm == 0x1F)
        format = kTriangleFormat565;
    else if (l.rm == 0x7C00 && l.gm == 0x3E0 && l.bm == 0x1F)
        format = kTriangleFormat555;
    if (format == 0)
        return;
    const RasterTexture view = ToRasterTexture(texture);
    RasterizeTriangleStrip(ToRasterRect(area), ToRasterColor(color), vertices, vertexCount, &view, lock.Desc().pixels,
                           lock.Desc().pitch, format, filtering, vertexColor, ToTriangleMode(mode));
    DeleteAllNonSurfaceData();
}

// --- Surface bodies -------------------------------------------------------------------------

void DDImage::DirectDrawCopy(MemoryImage& source, const Rect& dest, const Rect& src)
{
    auto* surfaceSource = dynamic_cast<DDImage*>(&source);
    SurfacePtr from = surfaceSource != nullptr ? surfaceSource->GetSurface() : nullptr;
    SurfacePtr to = GetSurface();
    if (!from || !to)
        return;
    if (mLockCount > 0)
        to->Unlock(nullptr);
    Platform::BltFx fx;
    const Platform::SurfaceRect destRect{dest.x, dest.y, dest.x + dest.width, dest.y + dest.height};
    const Platform::SurfaceRect srcRect{src.x, src.y, src.x + src.width, src.y + src.height};
    const uint32_t flags = Platform::kBltWait | (source.mHasTrans ? static_cast<uint32_t>(Platform::kBltKeySrc) : 0u);
    to->Blt(&destRect, from.get(), &srcRect, flags, &fx);
    if (mLockCount > 0)
        to->Lock(nullptr, &mLockedSurfaceDesc, Platform::kLockWait);
}

void DDImage::SurfaceBlt(MemoryImage& source, int x, int y, const Rect& srcRect, const Color& color, DrawMode mode,
                         bool mirror)
{
    source.CommitBits();
    Rect src = srcRect;
    if (!ClipBlit(x, y, src, source.mWidth, source.mHeight, mWidth, mHeight, mirror))
        return;
    const Factors f(color);
    auto* surfaceSource = dynamic_cast<DDImage*>(&source);
    const bool sourceSurface = surfaceSource != nullptr && surfaceSource->HasSurface();
    const bool plainNormal = mode == DrawMode::Normal && !mirror;
    // 1. Opaque white sources between surfaces: a surface copy.
    if (plainNormal && !source.mIsVolatile && !source.mHasAlpha && f.white && sourceSurface &&
        (mVideoMemory || !surfaceSource->mVideoMemory))
    {
        DirectDrawCopy(source, Rect(x, y, src.width, src.height), src);
        return;
    }
    if (mVideoMemoryScreen)
        return;
    SurfaceLock lock(*this);
    if (!lock.Drawable())
        return;
    const Layout& l = lock.layout;
    const int step = mirror ? -1 : 1;
    const int firstColumn = mirror ? x + src.width - 1 : x;
    const size_t srcWidth = static_cast<size_t>(source.mWidth);

    // 2. Direct path: a volatile source blended from its ARGB pixels.
    if (plainNormal && source.mIsVolatile && !sourceSurface && f.white)
    {
        const bool rgbOrder = mDDInterface->mRedMask > mDDInterface->mGreenMask &&
                              mDDInterface->mGreenMask > mDDInterface->mBlueMask;
        const uint32_t* palette = source.mPalette.get();
        const uint8_t* indices = source.mPaletteIndices.get();
        const uint32_t* bits = palette != nullptr ? nullptr : source.GetBits();
        if (bits == nullptr && (palette == nullptr || indices == nullptr))
            return;
        for (int row = 0; row < src.height; ++row)
        {
            const size_t start = static_cast<size_t>(src.y + row) * srcWidth + static_cast<size_t>(src.x);
            lock.Span(firstColumn, y + row, src.width, step, [&](uint32_t& d, int i) {
                const size_t at = start + static_cast<size_t>(i);
                d = DirectBlend(d, bits != nullptr ? bits[at] : palette[indices[at]], l, rgbOrder);
            });
        }
        return;
    }
    const PixelFormat format = mDDInterface->GetPixelFormat();
    const NativeReader native = ReadNative(source, format);
    const uint32_t lowMask = l.bits == 32 ? 0xFFFFFF : 0xFFFF;

    // 3. Opaque path: white sources without partial alpha, entries copied.
    if (plainNormal && !source.mHasAlpha && f.white)
    {
        const bool skipClear = source.mHasTrans;
        for (int row = 0; row < src.height; ++row)
        {
            const size_t start = static_cast<size_t>(src.y + row) * srcWidth + static_cast<size_t>(src.x);
            lock.Span(firstColumn, y + row, src.width, step, [&](uint32_t& d, int i) {
                const uint32_t s = native[start + static_cast<size_t>(i)];
                if (!skipClear || (s >> 24) != 0)
                    d = s & lowMask;
            });
        }
        return;
    }

    // 4. Run-length paths: alpha runs (normal) or black runs (additive) skipped whole. Plain
    // forward rows of byte-channel 32-bit surfaces go through the row kernels.
    const uint8_t* runs = mode == DrawMode::Normal ? source.GetRLAlphaData() : source.GetRLAdditiveData(format);
    const bool rowKernels = f.white && !mirror && native.indices == nullptr && SurfaceRows::IsByteChannels32(l);
    for (int row = 0; row < src.height; ++row)
    {
        const size_t start = static_cast<size_t>(src.y + row) * srcWidth + static_cast<size_t>(src.x);
        uint32_t* dstRow = rowKernels ? RowOf<uint32_t>(lock.Desc(), y + row) + x : nullptr;
        for (int i = 0; i < src.width;)
        {
            const size_t at = start + static_cast<size_t>(i);
            const int n = std::min<int>(runs[at], src.width - i);
            const uint32_t first = native[at];
            const bool skip = mode == DrawMode::Normal ? (first >> 24) == 0 : (first & 0xFFFFFF) == 0;
            if (skip)
            {
                i += std::max(n, 1);
                continue;
            }
            if (rowKernels)
            {
                const uint32_t* from = native.entries + at;
                if (mode == DrawMode::Additive)
                    SurfaceRows::AddRow32(from, dstRow + i, n);
                else if ((first >> 24) == 255)
                    for (int k = 0; k < n; ++k)
                        dstRow[i + k] = from[k] & 0xFFFFFF;
                else
                    SurfaceRows::BlendPremultipliedRow32(from, dstRow + i, n);
            }
            else
            {
                lock.Span(firstColumn + step * i, y + row, n, step, [&](uint32_t& d, int k) {
                    const uint32_t s = native[at + static_cast<size_t>(k)];
                    d = mode == DrawMode::Normal ? NormalPixel(d, s, f, l) : AdditivePixel(d, s & lowMask, f, l);
                });
            }
            i += std::max(n, 1);
        }
    }
}

void DDImage::NearestStretchOnSurface(MemoryImage& source, const Rect& clipped, const FRect& src, const Color& color,
                                      DrawMode mode, bool mirror)
{
    if ((mode != DrawMode::Normal && mode != DrawMode::Additive) || mVideoMemoryScreen)
        return;
    SurfaceLock lock(*this);
    if (!lock.Drawable() || source.mWidth <= 0 || source.mHeight <= 0)
        return;
    source.CommitBits();
    const Layout& l = lock.layout;
    const NativeReader native = ReadNative(source, mDDInterface->GetPixelFormat());
    const Factors f(color);
    const uint32_t lowMask = l.bits == 32 ? 0xFFFFFF : 0xFFFF;
    // 16.16 steps from the clipped rectangles.
    const auto stepX = static_cast<int64_t>(src.width * 65536 / clipped.width);
    const auto stepY = static_cast<int64_t>(src.height * 65536 / clipped.height);
    const auto startX = static_cast<int64_t>(src.x * 65536);
    auto sy = static_cast<int64_t>(src.y * 65536);
    const int firstColumn = mirror ? clipped.x + clipped.width - 1 : clipped.x;
    for (int row = 0; row < clipped.height; ++row, sy += stepY)
    {
        // Bounds-checked: the source row and column never leave the image.
        const int64_t srcRow = std::clamp<int64_t>(sy >> 16, 0, source.mHeight - 1);
        int64_t sx = startX;
        lock.Span(firstColumn, clipped.y + row, clipped.width, mirror ? -1 : 1, [&](uint32_t& d, int) {
            const int64_t column = std::clamp<int64_t>(sx >> 16, 0, source.mWidth - 1);
            sx += stepX;
            const uint32_t s = native[static_cast<size_t>(srcRow) * static_cast<size_t>(source.mWidth) +
                                      static_cast<size_t>(column)];
            if (mode == DrawMode::Additive)
            {
                if (s != 0)
                    d = AdditivePixel(d, s & lowMask, f, l);
                return;
            }
            const uint32_t ae = f.white ? s >> 24 : (s >> 24) * f.a / 255;
            if (ae == 0)
                return;
            d = f.white ? KeepAndAddTinted(d, 0, 256 - ae, 0, 0, 0, l) + (s & lowMask)
                        : KeepAndAddTinted(d, s & lowMask, 256 - ae, f.kr, f.kg, f.kb, l);
        });
    }
    DeleteAllNonSurfaceData();
}
} // namespace Quoll

// Image-to-image drawing of the memory image, all in software on the destination's ARGB pixels:
// plain and mirrored blits (normal and additive), sub-pixel and rotated bilinear blits in 16.16
// fixed point, nearest and area-filtered stretches, and the matrix and textured-triangle blits
// handed to the triangle rasteriser. Every operation that takes a source sets its drawn flag and
// draws nothing unless the source is a memory image.
#include "framework/display/RasterView.h"
#include "framework/display/BlitGeometry.h"
#include "framework/display/MemoryImage.h"
#include "framework/display/PixelBlend.h"
#include "framework/display/RowBlend.h"
#include "framework/display/RowKernels.h"
#include "framework/display/SourcePixels.h"

#include <cmath>
#include <cstring>
#include <type_traits>
#include <vector>
#if defined(__SSE2__) && !defined(QUOLL_SCALAR_FALLBACK)
#include <emmintrin.h>
#endif

namespace Quoll
{
using namespace PixelBlend;

namespace
{
// Walks the destination row of a plain or mirrored blit: column i of the source maps to
// dst[step * i] with step +1 or -1.
struct RowTarget
{
    uint32_t* first;
    int step;
    uint32_t& operator[](int i) const { return first[static_cast<ptrdiff_t>(i) * step]; }
};

RowTarget TargetRow(uint32_t* bits, int width, int x, int y, int count, bool mirror)
{
    uint32_t* row = bits + static_cast<size_t>(y) * static_cast<size_t>(width) + x;
    return mirror ? RowTarget{row + count - 1, -1} : RowTarget{row, 1};
}

template <typename Reader>
void OpaqueRunBlit(const Reader& src, const uint8_t* runs, size_t srcStart, RowTarget dst, int count)
{
    for (int i = 0; i < count;)
    {
        const size_t at = srcStart + static_cast<size_t>(i);
        const int run = std::min<int>(runs[at], count - i);
        const uint32_t sa = src[at] >> 24;
        if (sa == 255)
        {
            for (int k = 0; k < run; ++k)
                dst[i + k] = src[at + static_cast<size_t>(k)];
        }
        else if (sa != 0)
        {
            for (int k = 0; k < run; ++k)
            {
                const uint32_t s = src[at + static_cast<size_t>(k)];
                dst[i + k] = BlendOverOpaque(dst[i + k], s, s >> 24);
            }
        }
        i += run;
    }
}

// A row of a wholly opaque source copied as it is: by the row kernel, or by memmove where there
// is none or the rows overlap (an image drawn onto itself).
void CopyRow(const uint32_t* src, uint32_t* dst, int count, const RowKernels::Kernels* kernels)
{
    const auto from = reinterpret_cast<uintptr_t>(src), to = reinterpret_cast<uintptr_t>(dst);
    const auto bytes = static_cast<uintptr_t>(count) * sizeof(uint32_t);
    const bool overlap = to < from + bytes && from < to + bytes;
    if (kernels != nullptr && !overlap)
        kernels->copy(src, dst, count);
    else
        std::memmove(dst, src, static_cast<size_t>(count) * sizeof(uint32_t));
}

// The common case of a forward row of plain pixels: runs copied, skipped or blended by the
// row kernel.
void OpaqueRunBlitForward(const uint32_t* src, const uint8_t* runs, uint32_t* dst, int count)
{
    // The widest kernel copies opaque and skips clear groups of eight faster than the runs are
    // walked.
    if (RowBlend::Avx2Rows() != nullptr)
    {
        RowBlend::BlendOverOpaque(src, dst, count);
        return;
    }
    for (int i = 0; i < count;)
    {
        const int run = std::min<int>(runs[i], count - i);
        const uint32_t sa = src[i] >> 24;
        if (sa == 255)
        {
            // Runs are short (at most 255 pixels): an inline loop beats a library call.
            for (int k = i; k < i + run; ++k)
                dst[k] = src[k];
        }
        else if (sa != 0)
        {
            // Short partial runs are widened to whole groups of four; the kernel takes any pixel.
            const int widened = std::min((run + 3) & ~3, count - i);
            RowBlend::BlendOverOpaque(src + i, dst + i, widened);
            i += widened;
            continue;
        }
        i += run;
    }
}

// Bilinear sample of the 16.16 position (u, v) of a source region; weights are alpha-weighted.
struct BilinearSample
{
    uint32_t weight; // sum of the four weights, 0..255
    uint32_t sumR, sumG, sumB;
};

template <typename Reader>
BilinearSample SampleBilinear(const Reader& src, size_t origin, int stride, int64_t u, int64_t v, uint32_t tintA)
{
    const size_t at = origin + static_cast<size_t>(v >> 16) * static_cast<size_t>(stride) + static_cast<size_t>(u >> 16);
    const uint32_t fu = static_cast<uint32_t>(u & 0xFFFE) + 1;
    const uint32_t fv = static_cast<uint32_t>(v & 0xFFFE) + 1;
    const uint32_t p[4] = {src[at], src[at + 1], src[at + static_cast<size_t>(stride)],
                           src[at + static_cast<size_t>(stride) + 1]};
    const uint32_t area[4] = {((0x10000 - fu) * (0x10000 - fv)) >> 16, (fu * (0x10000 - fv)) >> 16,
                              ((0x10000 - fu) * fv) >> 16, (fu * fv) >> 16};
    BilinearSample s{0, 0, 0, 0};
    for (int k = 0; k < 4; ++k)
    {
        uint32_t w = area[k] * (p[k] >> 24) >> 16;
        if (tintA != 256)
            w = w * tintA >> 8;
        s.weight += w;
        s.sumR += ((p[k] >> 16) & 0xFF) * w;
        s.sumG += ((p[k] >> 8) & 0xFF) * w;
        s.sumB += (p[k] & 0xFF) * w;
    }
    return s;
}

// Normal composite of a bilinear sample over d.
uint32_t CompositeSample(uint32_t d, const BilinearSample& s)
{
    if (s.weight >= 251)
        return 0xFF000000 | std::min<uint32_t>(s.sumR >> 8, 255) << 16 | std::min<uint32_t>(s.sumG >> 8, 255) << 8 |
               std::min<uint32_t>(s.sumB >> 8, 255);
    const uint32_t da = d >> 24;
    const uint32_t k = 256 - s.weight;
    const uint32_t a = 256 - ((256 - da) * k >> 8);
    if (a == 256)
    {
        // An opaque destination under a sample of some weight: the divisor is 256.
        auto opaque = [&](int shift, uint32_t sum) {
            return std::min<uint32_t>(((((d >> shift) & 0xFF) * da >> 8) * k + sum) >> 8, 255) << shift;
        };
        return 0xFF000000u | opaque(16, s.sumR) | opaque(8, s.sumG) | opaque(0, s.sumB);
    }
    auto channel = [&](int shift, uint32_t sum) {
        return std::min<uint32_t>(((((d >> shift) & 0xFF) * da >> 8) * k + sum) / a, 255) << shift;
    };
    return (a - 1) << 24 | channel(16, s.sumR) | channel(8, s.sumG) | channel(0, s.sumB);
}

// Solves the range [first, last] of a rotated row's pixels whose samples lie inside the source
// (u, v stepping by du, dv); false when the row draws nothing.
bool SolveRowRange(int64_t u, int64_t v, int64_t du, int64_t dv, int srcW, int srcH, int64_t& first, int64_t& last)
{
    const int64_t W = static_cast<int64_t>(srcW) << 16;
    const int64_t H = static_cast<int64_t>(srcH) << 16;
    auto axis = [&](int64_t p, int64_t dp, int size, int64_t extent, bool vertical) {
        if (dp > 0)
        {
            if ((p >> 16) >= size - 1)
                return false;
            first = std::max(first, (0x10000 - p) / dp);
            last = std::min(last, (extent - p - 0x17fff) / dp);
        }
        else if (dp < 0)
        {
            if ((p >> 16) < 0)
                return false;
            first = std::max(first, (extent - p - 0x27fff) / dp);
            last = std::min(last, vertical ? -(p / dp) : (32767 - p) / dp);
        }
        else if (p < 0 || p >= extent - 0x10000)
        {
            return false;
        }
        return true;
    };
    if (!axis(u, du, srcW, W, false) || !axis(v, dv, srcH, H, true))
        return false;
    // The closed form may be off by a step at the edges; never sample outside the source.
    auto inside = [&](int64_t i) {
        const int64_t pu = u + i * du, pv = v + i * dv;
        return pu >= 0 && pv >= 0 && (pu >> 16) <= srcW - 2 && (pv >> 16) <= srcH - 2;
    };
    while (first <= last && !inside(first))
        ++first;
    while (first <= last && !inside(last))
        --last;
    return first <= last;
}

// One axis of the filtered stretch: each tap adds source index src to destination index dst
// with a weight out of 257.
struct Tap
{
    int src;
    int dst;
    uint32_t weight;
};

void BuildTaps(std::vector<Tap>& taps, double srcPos, double srcLen, int dstLen, int lo, int hi)
{
    taps.clear();
    auto add = [&](int src, int dst, double weight) {
        const auto w = static_cast<uint32_t>(weight);
        if (dst >= 0 && dst < dstLen && w > 0)
            taps.push_back({std::clamp(src, lo, hi - 1), dst, w});
    };
    if (srcLen >= dstLen)
    {
        // Shrinking: source pixel i covers [(i - srcPos) k, (i - srcPos + 1) k) of the destination.
        const double k = dstLen / srcLen;
        for (int i = lo; i < hi; ++i)
        {
            const double start = (i - srcPos) * k;
            const double end = start + k;
            const double boundary = std::floor(start) + 1;
            const int column = static_cast<int>(std::floor(start));
            if (end <= boundary)
            {
                add(i, column, k * 257);
            }
            else
            {
                add(i, column, (boundary - start) * 257);
                add(i, column + 1, (end - boundary) * 257);
            }
        }
        return;
    }
    // Enlarging: destination j samples between the two source pixels around its position.
    const double step = dstLen > 1 ? std::max(0.0, (srcLen - 1) / (dstLen - 1)) : 0.0;
    for (int j = 0; j < dstLen; ++j)
    {
        const double p = dstLen > 1 ? srcPos + j * step : srcPos + srcLen * 0.5 - 0.5;
        const double whole = std::floor(p);
        const auto w = static_cast<uint32_t>((1 - (p - whole)) * 257);
        const int i = static_cast<int>(whole);
        add(i, j, w);
        add(i + 1, j, 257 - w);
    }
}

// Channel sums of the filtered stretch, blue, green, red, alpha.
struct Sums
{
    uint32_t c[4];
};

#if defined(__SSE2__) && !defined(QUOLL_SCALAR_FALLBACK)
// The four channel sums in the 32-bit lanes of one register. Weights are at most 257, so a
// channel times a weight fits 16 bits, and a sum (below 2^17) times a weight is its low half's
// product plus its high half's shifted up: exact in 32-bit lanes.
void AddWeighted(Sums& to, uint32_t pixel, uint32_t w)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i channels = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(pixel)), zero), zero);
    const __m128i sum = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to.c));
    const __m128i product = _mm_mullo_epi16(channels, _mm_set1_epi16(static_cast<short>(w)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to.c), _mm_add_epi32(sum, product));
}

void AddWeighted(Sums& to, const Sums& from, uint32_t w)
{
    const __m128i weight = _mm_set1_epi16(static_cast<short>(w));
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from.c));
    const __m128i product =
        _mm_add_epi32(_mm_mullo_epi16(x, weight), _mm_slli_epi32(_mm_mulhi_epu16(x, weight), 16));
    const __m128i sum = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to.c));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to.c), _mm_add_epi32(sum, product));
}
#else
void AddWeighted(Sums& to, uint32_t pixel, uint32_t w)
{
    to.c[0] += (pixel & 0xFF) * w;
    to.c[1] += ((pixel >> 8) & 0xFF) * w;
    to.c[2] += ((pixel >> 16) & 0xFF) * w;
    to.c[3] += (pixel >> 24) * w;
}

void AddWeighted(Sums& to, const Sums& from, uint32_t w)
{
    for (int k = 0; k < 4; ++k)
        to.c[k] += from.c[k] * w;
}
#endif

// Each sum's top 16 bits (257 * 257 is close to 2^16), saturated, blended over the row.
void WriteFilteredPixel(uint32_t& pixel, const Sums& in)
{
    const uint32_t a = std::min<uint32_t>(in.c[3] >> 16, 255);
    if (a == 0)
        return;
    const uint32_t d = pixel;
    auto channel = [&](int k, int shift) {
        const uint32_t c = std::min<uint32_t>(in.c[k] >> 16, 255);
        return ((c * a >> 8) + (((d >> shift) & 0xFF) * (256 - a) >> 8)) << shift;
    };
    pixel = BlendAlpha(a, d >> 24) << 24 | channel(2, 16) | channel(1, 8) | channel(0, 0);
}

// The filtered pixel with the tint applied before the blend: every channel, alpha too, scaled
// by the tint's channel out of 255.
void WriteTintedFilteredPixel(uint32_t& pixel, const Sums& in, const Tint& tint)
{
    const uint32_t a = Div255(std::min<uint32_t>(in.c[3] >> 16, 255) * tint.a);
    if (a == 0)
        return;
    const uint32_t d = pixel;
    auto channel = [&](int k, int shift, uint32_t t) {
        const uint32_t c = Div255(std::min<uint32_t>(in.c[k] >> 16, 255) * t);
        return ((c * a >> 8) + (((d >> shift) & 0xFF) * (256 - a) >> 8)) << shift;
    };
    pixel = BlendAlpha(a, d >> 24) << 24 | channel(2, 16, tint.r) | channel(1, 8, tint.g) | channel(0, 0, tint.b);
}

void WriteTintedFilteredRow(uint32_t* row, const Sums* in, int count, const Tint& tint)
{
    for (int j = 0; j < count; ++j)
        WriteTintedFilteredPixel(row[j], in[j], tint);
}

void WriteFilteredRow(uint32_t* row, const Sums* in, int count)
{
    int j = 0;
#if defined(__SSE2__) && !defined(QUOLL_SCALAR_FALLBACK)
    // Two pixels' channels in the 16-bit lanes of a register: every product stays below 2^16,
    // and the alpha's (255 - da) a / 255 is (x + 1 + (x >> 8)) >> 8 there.
    const __m128i zero = _mm_setzero_si128(), top = _mm_set1_epi16(255), k256 = _mm_set1_epi16(256);
    const __m128i one = _mm_set1_epi16(1);
    const __m128i alphaLanes = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
    auto pair = [&](const Sums* sums, __m128i d) {
        auto load = [](const Sums& sum) {
            return _mm_srli_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(sum.c)), 16);
        };
        const __m128i c = _mm_min_epi16(_mm_packs_epi32(load(sums[0]), load(sums[1])), top);
        const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(c, 0xFF), 0xFF);
        const __m128i colour = _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(c, a), 8),
                                             _mm_srli_epi16(_mm_mullo_epi16(d, _mm_sub_epi16(k256, a)), 8));
        const __m128i x = _mm_mullo_epi16(_mm_sub_epi16(top, d), a);
        const __m128i alpha = _mm_add_epi16(_mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, one), _mm_srli_epi16(x, 8)), 8), d);
        const __m128i out = _mm_or_si128(_mm_andnot_si128(alphaLanes, colour), _mm_and_si128(alphaLanes, alpha));
        // Pixels of alpha 0 keep the destination.
        const __m128i clear = _mm_cmpeq_epi16(a, zero);
        return _mm_or_si128(_mm_andnot_si128(clear, out), _mm_and_si128(clear, d));
    };
    for (; j + 4 <= count; j += 4)
    {
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + j));
        const __m128i lo = pair(in + j, _mm_unpacklo_epi8(d, zero));
        const __m128i hi = pair(in + j + 2, _mm_unpackhi_epi8(d, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + j), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; j < count; ++j)
        WriteFilteredPixel(row[j], in[j]);
}
} // namespace

// --- Plain blits -------------------------------------------------------------------------

void MemoryImage::Blt(Image* source, int x, int y, const Rect& srcRect, const Color& color, DrawMode mode)
{
    MemoryImage* src = AsMemorySource(source);
    if (src == nullptr)
        return;
    if (mode == DrawMode::Normal)
        NormalBlt(*src, x, y, srcRect, color, false);
    else if (mode == DrawMode::Additive)
        AdditiveBlt(*src, x, y, srcRect, color, false);
}

void MemoryImage::BltMirror(Image* source, int x, int y, const Rect& srcRect, const Color& color, DrawMode mode)
{
    MemoryImage* src = AsMemorySource(source);
    if (src == nullptr)
        return;
    if (mode == DrawMode::Normal)
        NormalBlt(*src, x, y, srcRect, color, true);
    else if (mode == DrawMode::Additive)
        AdditiveBlt(*src, x, y, srcRect, color, true);
}

void MemoryImage::NormalBlt(MemoryImage& source, int x, int y, const Rect& srcRect, const Color& color, bool mirror)
{
    Rect src = srcRect;
    if (!ClipBlit(x, y, src, source.mWidth, source.mHeight, mWidth, mHeight, mirror))
        return;
    const uint8_t* runs = source.GetRLAlphaData();
    uint32_t* bits = GetBits();
    if (bits == nullptr)
        return;
    const bool white = color.IsWhite();
    const bool opaqueDest = !mHasAlpha && !mHasTrans;
    const bool opaqueSource = !source.mHasAlpha && !source.mHasTrans; // committed by GetRLAlphaData
    const Tint tint(color);
    const RowKernels::Kernels* const kernels = RowKernels::Active();
    WithSourcePixels(source, [&](const auto& reader) {
        using Reader = std::decay_t<decltype(reader)>;
        for (int row = 0; row < src.height; ++row)
        {
            const size_t srcStart = static_cast<size_t>(src.y + row) * static_cast<size_t>(source.mWidth) +
                                    static_cast<size_t>(src.x);
            const RowTarget dst = TargetRow(bits, mWidth, x, y + row, src.width, mirror);
            if (white && opaqueDest)
            {
                // Opaque destination: whole alpha runs are copied or skipped; a wholly opaque
                // source is copied row by row.
                if constexpr (std::is_same_v<Reader, BitsReader>)
                    if (!mirror)
                    {
                        if (opaqueSource)
                            CopyRow(reader.bits + srcStart, dst.first, src.width, kernels);
                        else
                            OpaqueRunBlitForward(reader.bits + srcStart, runs + srcStart, dst.first, src.width);
                        continue;
                    }
                OpaqueRunBlit(reader, runs, srcStart, dst, src.width);
            }
            else if (!white)
            {
                // Tinted.
                if constexpr (std::is_same_v<Reader, BitsReader>)
                    if (!mirror)
                    {
                        RowBlend::TintRow(reader.bits + srcStart, dst.first, src.width, tint);
                        continue;
                    }
                for (int i = 0; i < src.width; ++i)
                    dst[i] = BlendTinted(dst[i], reader[srcStart + static_cast<size_t>(i)], tint);
            }
            else
            {
                // Untinted over a destination with alpha.
                for (int i = 0; i < src.width; ++i)
                {
                    const uint32_t s = reader[srcStart + static_cast<size_t>(i)];
                    if ((s >> 24) != 0)
                        dst[i] = BlendBlit(dst[i], s, s >> 24);
                }
            }
        }
    });
    BitsChanged();
}

void MemoryImage::AdditiveBlt(MemoryImage& source, int x, int y, const Rect& srcRect, const Color& color,
                              bool mirror)
{
    Rect src = srcRect;
    if (!ClipBlit(x, y, src, source.mWidth, source.mHeight, mWidth, mHeight, mirror))
        return;
    source.CommitBits();
    uint32_t* bits = GetBits();
    if (bits == nullptr)
        return;
    const bool white = color.IsWhite();
    const Tint tint(color);
    const uint32_t tr = tint.r * tint.a / 255, tg = tint.g * tint.a / 255, tb = tint.b * tint.a / 255;
    const RowBlend::AddParams params{white, source.mHasAlpha, source.mHasTrans, tr, tg, tb};
    WithSourcePixels(source, [&](const auto& reader) {
        using Reader = std::decay_t<decltype(reader)>;
        for (int row = 0; row < src.height; ++row)
        {
            const size_t srcStart = static_cast<size_t>(src.y + row) * static_cast<size_t>(source.mWidth) +
                                    static_cast<size_t>(src.x);
            const RowTarget dst = TargetRow(bits, mWidth, x, y + row, src.width, mirror);
            if constexpr (std::is_same_v<Reader, BitsReader>)
                if (!mirror)
                {
                    RowBlend::AddRow(reader.bits + srcStart, dst.first, src.width, params);
                    continue;
                }
            for (int i = 0; i < src.width; ++i)
                dst[i] = RowBlend::AddPixel(dst[i], reader[srcStart + static_cast<size_t>(i)], params);
        }
    });
    BitsChanged();
}

// --- Sub-pixel and rotated blits ----------------------------------------------------------

bool MemoryImage::GetRotatedBounds(const Rect& srcRect, const Rect& clip, FRect& out, float x, float y, float cx,
                                   float cy, double angle)
{
    // The sampler maps a destination offset d to the source by R(angle) d, so the corners go
    // to the destination by the inverse rotation.
    const double c = std::cos(angle), s = std::sin(angle);
    double minX = 1e7, minY = 1e7, maxX = -1e7, maxY = -1e7;
    const double corners[4][2] = {{0, 0}, {static_cast<double>(srcRect.width), 0},
                                  {0, static_cast<double>(srcRect.height)},
                                  {static_cast<double>(srcRect.width), static_cast<double>(srcRect.height)}};
    for (const auto& corner : corners)
    {
        const double px = corner[0] - cx, py = corner[1] - cy;
        const double rx = px * c + py * s + cx + x;
        const double ry = -px * s + py * c + cy + y;
        minX = std::min(minX, rx);
        maxX = std::max(maxX, rx);
        minY = std::min(minY, ry);
        maxY = std::max(maxY, ry);
    }
    const FRect bounds(minX, minY, maxX - minX, maxY - minY);
    out = bounds.Intersection(FRect(clip.x, clip.y, clip.width, clip.height));
    return out.width > 0 && out.height > 0;
}

void MemoryImage::BltAtFloat(Image* source, float x, float y, const Rect& srcRect, const Rect& clip,
                             const Color& color, DrawMode mode)
{
    BltRotated(source, x, y, srcRect, clip, color, mode, 0.0, 0.0f, 0.0f);
}

void MemoryImage::BltRotated(Image* source, float x, float y, const Rect& srcRect, const Rect& clip,
                             const Color& color, DrawMode mode, double angle, float cx, float cy)
{
    MemoryImage* srcImage = AsMemorySource(source);
    if (srcImage == nullptr)
        return;
    MemoryImage& sourceRef = *srcImage;
    // A source rect reaching outside the source is cut; the placement is kept.
    const Rect src = srcRect.Intersection(Rect(0, 0, sourceRef.mWidth, sourceRef.mHeight));
    const auto shiftX = static_cast<float>(src.x - srcRect.x), shiftY = static_cast<float>(src.y - srcRect.y);
    x += shiftX;
    y += shiftY;
    cx -= shiftX;
    cy -= shiftY;
    FRect bounds;
    if (src.width < 2 || src.height < 2 ||
        !GetRotatedBounds(src, clip.Intersection(Rect(0, 0, mWidth, mHeight)), bounds, x, y, cx, cy, angle))
        return;
    uint32_t* bits = GetBits();
    if (bits == nullptr)
        return;

    const double cosA = std::cos(angle), sinA = std::sin(angle);
    const auto du = static_cast<int64_t>(cosA * 65536), dv = static_cast<int64_t>(sinA * 65536);
    const int top = static_cast<int>(bounds.y), left = static_cast<int>(bounds.x);
    const int rows = static_cast<int>(bounds.height - 1) + 1;
    const int columns = static_cast<int>(bounds.width - 1) + 1;
    const bool white = color.IsWhite();
    const Tint tint(color);
    const uint32_t tintA = white ? 256 : tint.a;
    const uint32_t tr = tint.r * tint.a / 255, tg = tint.g * tint.a / 255, tb = tint.b * tint.a / 255;
    const size_t origin = static_cast<size_t>(src.y) * static_cast<size_t>(sourceRef.mWidth) + static_cast<size_t>(src.x);

    // One pixel: the weighted sample, then the normal or additive composite.
    auto drawPixel = [&](const auto& reader, uint32_t& d, int64_t u, int64_t v) {
        const BilinearSample s =
            SampleBilinear(reader, origin, sourceRef.mWidth, u, v, mode == DrawMode::Normal ? tintA : 256);
        if (s.weight == 0)
            return;
        if (mode == DrawMode::Normal)
        {
            BilinearSample t = s;
            if (!white)
            {
                t.sumR = s.sumR * tint.r >> 8;
                t.sumG = s.sumG * tint.g >> 8;
                t.sumB = s.sumB * tint.b >> 8;
            }
            d = CompositeSample(d, t);
        }
        else
        {
            uint32_t r = s.sumR >> 8, g = s.sumG >> 8, b = s.sumB >> 8;
            if (!white)
            {
                r = r * tr >> 8;
                g = g * tg >> 8;
                b = b * tb >> 8;
            }
            d = AddChannels(d, std::min(r, 255u), std::min(g, 255u), std::min(b, 255u));
        }
    };
    // The row kernels step positions in 32-bit lanes and index the source in 32 bits.
    const RowKernels::Kernels* const kernels = RowKernels::Active();
    const bool laneSafe = src.width < 0x7FFF && src.height < 0x7FFF &&
                          static_cast<int64_t>(src.y + src.height) * sourceRef.mWidth < (int64_t{1} << 31);
    WithSourcePixels(sourceRef, [&](const auto& reader) {
        for (int j = 0; j < rows; ++j)
        {
            const int py = top + j;
            if (py < 0 || py >= mHeight)
                continue;
            // The row start in floating point, the walk in 16.16 steps.
            const double dx = left - x - cx, dy = py - y - cy;
            const auto u0 = static_cast<int64_t>((dx * cosA - dy * sinA + cx) * 65536);
            const auto v0 = static_cast<int64_t>((dx * sinA + dy * cosA + cy) * 65536);
            int64_t first = 0, last = std::min(columns, mWidth - left) - 1;
            if (left < 0)
                first = -left;
            if (!SolveRowRange(u0, v0, du, dv, src.width, src.height, first, last))
                continue;
            int64_t i = first, u = u0 + first * du, v = v0 + first * dv;
            uint32_t* dst = bits + static_cast<size_t>(py) * static_cast<size_t>(mWidth) + left;
            if constexpr (std::is_same_v<std::remove_cvref_t<decltype(reader)>, BitsReader>)
            {
                if (kernels != nullptr && laneSafe)
                {
                    RowKernels::RotatedRow row{reader.bits + origin, sourceRef.mWidth, 0, 0,
                                               static_cast<int32_t>(du), static_cast<int32_t>(dv),
                                               mode != DrawMode::Normal, white,
                                               mode == DrawMode::Normal ? tintA : 256,
                                               mode == DrawMode::Normal ? tint.r : tr,
                                               mode == DrawMode::Normal ? tint.g : tg,
                                               mode == DrawMode::Normal ? tint.b : tb};
                    while (i <= last)
                    {
                        // The kernel's whole groups, then the group it left (or the tail) pixel
                        // by pixel.
                        row.u = static_cast<int32_t>(u);
                        row.v = static_cast<int32_t>(v);
                        const int done = kernels->rotated(row, dst + i, static_cast<int>(last - i + 1));
                        i += done, u += done * du, v += done * dv;
                        for (int k = 0; k < kernels->pixels && i <= last; ++k, ++i, u += du, v += dv)
                            drawPixel(reader, dst[i], u, v);
                    }
                }
            }
            for (; i <= last; ++i, u += du, v += dv)
                drawPixel(reader, dst[i], u, v);
        }
    });
    BitsChanged();
}

// --- Stretches -----------------------------------------------------------------------------

bool MemoryImage::ClipStretchRects(const Rect& destRect, const Rect& clip, const Rect& srcRect, Rect& clippedDest,
                                   FRect& clippedSrc)
{
    clippedDest = destRect.Intersection(clip);
    if (destRect.width <= 0 || destRect.height <= 0)
        return false;
    const double sx = static_cast<double>(srcRect.width) / destRect.width;
    const double sy = static_cast<double>(srcRect.height) / destRect.height;
    clippedSrc.x = (clippedDest.x - destRect.x) * sx + srcRect.x;
    clippedSrc.y = (clippedDest.y - destRect.y) * sy + srcRect.y;
    clippedSrc.width = srcRect.width + (clippedDest.width - destRect.width) * sx;
    clippedSrc.height = srcRect.height + (clippedDest.height - destRect.height) * sy;
    return clippedSrc.width > 0 && clippedSrc.height > 0 && clippedDest.width > 0 && clippedDest.height > 0;
}

bool MemoryImage::ClipStretchRectsMirror(const Rect& destRect, const Rect& clip, const Rect& srcRect,
                                         Rect& clippedDest, FRect& clippedSrc)
{
    if (!ClipStretchRects(destRect, clip, srcRect, clippedDest, clippedSrc))
        return false;
    const double sx = static_cast<double>(srcRect.width) / destRect.width;
    clippedSrc.x = (destRect.x + destRect.width - clippedDest.x - clippedDest.width) * sx + srcRect.x;
    return true;
}

void MemoryImage::StretchBlt(Image* source, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                             const Color& color, DrawMode, bool fastStretch)
{
    MemoryImage* src = AsMemorySource(source);
    Rect clipped;
    FRect srcArea;
    if (src == nullptr ||
        !ClipStretchRects(destRect, clip.Intersection(Rect(0, 0, mWidth, mHeight)), srcRect, clipped, srcArea))
        return;
    if (fastStretch)
        NearestStretch(*src, clipped, srcArea, static_cast<double>(srcRect.width) / destRect.width,
                       static_cast<double>(srcRect.height) / destRect.height, color, false);
    else
        FilteredStretch(*src, clipped, srcArea, color);
}

void MemoryImage::StretchBltMirror(Image* source, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                                   const Color& color, DrawMode)
{
    MemoryImage* src = AsMemorySource(source);
    Rect clipped;
    FRect srcArea;
    if (src == nullptr ||
        !ClipStretchRectsMirror(destRect, clip.Intersection(Rect(0, 0, mWidth, mHeight)), srcRect, clipped, srcArea))
        return;
    NearestStretch(*src, clipped, srcArea, static_cast<double>(srcRect.width) / destRect.width,
                   static_cast<double>(srcRect.height) / destRect.height, color, true);
}

void MemoryImage::NearestStretch(MemoryImage& source, const Rect& clipped, const FRect& src, double sx, double sy,
                                 const Color& color, bool mirror)
{
    uint32_t* bits = GetBits();
    if (bits == nullptr || source.mWidth <= 0 || source.mHeight <= 0)
        return;
    const bool white = color.IsWhite();
    const Tint tint(color);
    // The source column of every destination column, the same for each row.
    thread_local std::vector<int> columns;
    columns.resize(static_cast<size_t>(clipped.width));
    for (int k = 0; k < clipped.width; ++k)
        columns[static_cast<size_t>(k)] = std::clamp(static_cast<int>(src.x + k * sx), 0, source.mWidth - 1);
    // Each source row's pixels gathered in destination order (reversed when mirrored), once for
    // every run of destination rows that repeat it, then blended as a row.
    thread_local std::vector<uint32_t> gathered;
    gathered.resize(static_cast<size_t>(clipped.width));
    WithSourcePixels(source, [&](const auto& reader) {
        int gatheredY = -1;
        for (int j = 0; j < clipped.height; ++j)
        {
            const int srcY = std::clamp(static_cast<int>(src.y + j * sy), 0, source.mHeight - 1);
            if (srcY != gatheredY)
            {
                gatheredY = srcY;
                const size_t srcRow = static_cast<size_t>(srcY) * static_cast<size_t>(source.mWidth);
                const RowTarget into{mirror ? &gathered.back() : gathered.data(), mirror ? -1 : 1};
                for (int k = 0; k < clipped.width; ++k)
                    into[k] = reader[srcRow + static_cast<size_t>(columns[static_cast<size_t>(k)])];
            }
            uint32_t* row = bits + static_cast<size_t>(clipped.y + j) * static_cast<size_t>(mWidth) + clipped.x;
            if (white)
                RowBlend::BlendFillRow(gathered.data(), row, clipped.width);
            else
                RowBlend::TintRow(gathered.data(), row, clipped.width, tint);
        }
    });
    BitsChanged();
}

void MemoryImage::FilteredStretch(MemoryImage& source, const Rect& clipped, const FRect& src, const Color& color)
{
    // The source area widened to whole pixels and clipped to the source image.
    const int x0 = std::max(0, static_cast<int>(std::floor(src.x)));
    const int x1 = std::min(source.mWidth, static_cast<int>(std::ceil(src.x + src.width)));
    const int y0 = std::max(0, static_cast<int>(std::floor(src.y)));
    const int y1 = std::min(source.mHeight, static_cast<int>(std::ceil(src.y + src.height)));
    uint32_t* bits = GetBits();
    if (bits == nullptr || x0 >= x1 || y0 >= y1)
        return;

    const bool white = color.IsWhite();
    const Tint tint(color);
    thread_local std::vector<Tap> across, down;
    thread_local std::vector<Sums> ring, sums;
    const int dw = clipped.width, dh = clipped.height;
    BuildTaps(across, src.x, src.width, dw, x0, x1);
    BuildTaps(down, src.y, src.height, dh, y0, y1);
    // The vertical taps destination row by destination row; each row's source rows form a run
    // that moves down with it, so a ring of as many horizontally filtered rows as the longest
    // run (plus one) holds every row while it is needed, each filtered once. The sums are exact
    // integers, so their order does not change them.
    std::stable_sort(down.begin(), down.end(), [](const Tap& a, const Tap& b) { return a.dst < b.dst; });
    int slots = 1;
    for (size_t t = 0; t < down.size();)
    {
        size_t end = t;
        int low = down[t].src, high = down[t].src;
        for (; end < down.size() && down[end].dst == down[t].dst; ++end)
        {
            low = std::min(low, down[end].src);
            high = std::max(high, down[end].src);
        }
        slots = std::max(slots, high - low + 2);
        t = end;
    }
    ring.assign(static_cast<size_t>(slots) * static_cast<size_t>(dw), Sums{});
    thread_local std::vector<int> ringRow;
    ringRow.assign(static_cast<size_t>(slots), -1);
    sums.resize(static_cast<size_t>(dw));

    WithSourcePixels(source, [&](const auto& reader) {
        // The horizontally filtered source row r, from the ring.
        auto filtered = [&](int r) -> const Sums* {
            const auto slot = static_cast<size_t>(r % slots);
            Sums* out = &ring[slot * static_cast<size_t>(dw)];
            if (ringRow[slot] != r)
            {
                ringRow[slot] = r;
                std::fill(out, out + dw, Sums{});
                const size_t srcRow = static_cast<size_t>(r) * static_cast<size_t>(source.mWidth);
                for (const Tap& tap : across)
                    AddWeighted(out[tap.dst], reader[srcRow + static_cast<size_t>(tap.src)], tap.weight);
            }
            return out;
        };
        size_t t = 0;
        for (int i = 0; i < dh; ++i)
        {
            // The destination row's sums down its vertical taps.
            std::fill(sums.begin(), sums.end(), Sums{});
            bool any = false;
            for (; t < down.size() && down[t].dst == i; ++t)
            {
                const Sums* in = filtered(down[t].src);
                for (int j = 0; j < dw; ++j)
                    AddWeighted(sums[static_cast<size_t>(j)], in[j], down[t].weight);
                any = true;
            }
            if (!any)
                continue;
            uint32_t* row = bits + static_cast<size_t>(clipped.y + i) * static_cast<size_t>(mWidth) + clipped.x;
            if (white)
                WriteFilteredRow(row, sums.data(), dw);
            else
                WriteTintedFilteredRow(row, sums.data(), dw, tint);
        }
    });
    BitsChanged();
}

// --- Matrix and textured triangles ----------------------------------------------------------

int32_t MemoryImage::TriangleFormat() const
{
    return mForcedMode && !mHasAlpha && !mHasTrans ? kTriangleFormat888 : kTriangleFormat8888;
}

void MemoryImage::BltMatrix(Image* source, float x, float y, const Matrix3& matrix, const Rect& clip,
                            const Color& color, DrawMode mode, const Rect& srcRect, bool filtering)
{
    MemoryImage* src = AsMemorySource(source);
    if (src == nullptr || src->mWidth <= 0 || src->mHeight <= 0)
        return;
    uint32_t* bits = GetBits();
    const Rect area = clip.Intersection(Rect(0, 0, mWidth, mHeight));
    if (bits == nullptr || area.width <= 0 || area.height <= 0)
        return;
    TriVertex vertices[4];
    MatrixQuadVertices(*src, srcRect, matrix, x, y, vertices);
    const RasterTexture view = ToRasterTexture(*src);
    RasterizeTriangleStrip(ToRasterRect(area), ToRasterColor(color), vertices, 4, &view, reinterpret_cast<uint8_t*>(bits),
                           mWidth * 4, TriangleFormat(), filtering, false, ToTriangleMode(mode));
    BitsChanged();
}

void MemoryImage::BltTrianglesTex(Image* texture, const TriangleVertices* triangles, int count, const Rect& clip,
                                  const Color& color, DrawMode mode, float tx, float ty, bool filtering)
{
    MemoryImage* tex = AsMemorySource(texture);
    if (tex == nullptr || triangles == nullptr)
        return;
    uint32_t* bits = GetBits();
    const Rect area = clip.Intersection(Rect(0, 0, mWidth, mHeight));
    if (bits == nullptr || area.width <= 0 || area.height <= 0)
        return;
    const RasterTexture view = ToRasterTexture(*tex);
    for (int t = 0; t < count; ++t)
    {
        const ShadedTriangle shaded = OffsetTriangle(triangles[t], tx, ty, color);
        RasterizeTriangleStrip(ToRasterRect(area), ToRasterColor(shaded.tint), shaded.vertices, 3, &view,
                               reinterpret_cast<uint8_t*>(bits), mWidth * 4, TriangleFormat(), filtering,
                               shaded.vertexColor, ToTriangleMode(mode));
    }
    BitsChanged();
}
} // namespace Quoll

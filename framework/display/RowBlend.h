#pragma once
// Row kernels of the plain blits. Each equals, pixel for pixel, the per-pixel formula it names;
// on x86-64 they run four pixels at a time (unless QUOLL_SCALAR_FALLBACK builds the portable
// forms, which the same tests then check), eight at a time where the processor has AVX2.
#include "framework/display/PixelBlend.h"
#include "framework/display/RowBlendAvx2.h"
#include "framework/display/RowKernels.h"

#include <algorithm>

#include <cstdint>

#if defined(__SSE2__) && !defined(QUOLL_SCALAR_FALLBACK)
#include <emmintrin.h>
#endif

namespace Quoll::RowBlend
{
// d = (d * (256 - sa) >> 8) + (s * sa >> 8) per channel, alpha 255, for n pixels; a source
// pixel of alpha 255 is copied and one of alpha 0 leaves d, so any mix of pixels may be passed.
inline void BlendOverOpaque(const uint32_t* src, uint32_t* dst, int n)
{
    int i = 0;
#if defined(__SSE2__) && !defined(QUOLL_SCALAR_FALLBACK)
    static const WideRows* const wide = Avx2Rows();
    if (wide != nullptr && n >= 8)
        i = wide->blendOverOpaque(src, dst, n);
    // Each 32-bit pixel as two 16-bit lanes: red and blue (masked), green and alpha (shifted).
    // Every product stays below 2^16 (255 * 256), so the low halves are exact.
    const __m128i k256 = _mm_set1_epi16(256);
    const __m128i low = _mm_set1_epi32(0x00FF00FF);
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    for (; i + 4 <= n; i += 4)
    {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        const __m128i a1 = _mm_srli_epi32(s, 24);
        const __m128i a = _mm_or_si128(a1, _mm_slli_epi32(a1, 16));
        const __m128i ia = _mm_sub_epi16(k256, a);
        const __m128i rb = _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(_mm_and_si128(d, low), ia), 8),
                                         _mm_srli_epi16(_mm_mullo_epi16(_mm_and_si128(s, low), a), 8));
        const __m128i ga = _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(_mm_srli_epi16(d, 8), ia), 8),
                                         _mm_srli_epi16(_mm_mullo_epi16(_mm_srli_epi16(s, 8), a), 8));
        const __m128i blended = _mm_or_si128(_mm_or_si128(rb, _mm_slli_epi16(ga, 8)), opaque);
        // Opaque source pixels are copied.
        const __m128i isOpaque = _mm_cmpeq_epi32(_mm_and_si128(s, opaque), opaque);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i),
                         _mm_or_si128(_mm_and_si128(isOpaque, s), _mm_andnot_si128(isOpaque, blended)));
    }
#endif
    for (; i < n; ++i)
    {
        const uint32_t sa = src[i] >> 24;
        if (sa == 255)
            dst[i] = src[i];
        else if (sa != 0)
            dst[i] = PixelBlend::BlendOverOpaque(dst[i], src[i], sa);
    }
}

// PixelBlend::BlendFill of each source pixel with its own alpha; a pixel of alpha 0 leaves d.
inline void BlendFillRow(const uint32_t* src, uint32_t* dst, int n)
{
    const RowKernels::Kernels* const kernels = RowKernels::Active();
    for (int i = 0; i < n;)
    {
        // The kernel's whole groups, then the group it left (or the tail) pixel by pixel.
        if (kernels != nullptr)
            i += kernels->blendFill(src + i, dst + i, n - i);
        const int end = kernels != nullptr ? std::min(i + kernels->pixels, n) : n;
        for (; i < end; ++i)
        {
            const uint32_t sa = src[i] >> 24;
            if (sa != 0)
                dst[i] = PixelBlend::BlendFill(dst[i], src[i], sa);
        }
    }
}

// The tinted blit (PixelBlend::BlendTinted). Groups of four over opaque destination pixels take
// the fast form: the result alpha is 255, so the weight is the effective alpha itself.
inline void TintRow(const uint32_t* src, uint32_t* dst, int n, const PixelBlend::Tint& t)
{
    int i = 0;
#if defined(__SSE2__) && !defined(QUOLL_SCALAR_FALLBACK)
    const __m128i low = _mm_set1_epi32(0x00FF00FF);
    const __m128i greenOnly = _mm_set1_epi32(0x000000FF);
    const __m128i alphaByte = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i k256 = _mm_set1_epi16(256);
    const __m128i one = _mm_set1_epi32(1);
    const __m128i tintA = _mm_set1_epi32(static_cast<int>(t.a));
    const __m128i tintRB = _mm_set1_epi32(static_cast<int>(t.r << 16 | (t.gray ? t.r : t.b)));
    const __m128i tintG = _mm_set1_epi32(static_cast<int>(t.gray ? t.r : t.g));
    for (; i + 4 <= n; i += 4)
    {
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(d, alphaByte), alphaByte)) != 0xFFFF)
        {
            for (int k = i; k < i + 4; ++k)
                dst[k] = PixelBlend::BlendTinted(dst[k], src[k], t);
            continue;
        }
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        // ea = sa * ta / 255, exact for products below 2^16: (x + (x >> 8) + 1) >> 8.
        const __m128i x = _mm_mullo_epi16(_mm_srli_epi32(s, 24), tintA);
        const __m128i ea = _mm_srli_epi32(_mm_add_epi32(_mm_add_epi32(x, _mm_srli_epi32(x, 8)), one), 8);
        const __m128i w = _mm_or_si128(ea, _mm_slli_epi32(ea, 16));
        const __m128i iw = _mm_sub_epi16(k256, w);
        const __m128i keepRB = _mm_srli_epi16(_mm_mullo_epi16(_mm_and_si128(d, low), iw), 8);
        const __m128i keepGA = _mm_srli_epi16(_mm_mullo_epi16(_mm_srli_epi16(d, 8), iw), 8);
        const __m128i tintedRB = _mm_mullo_epi16(_mm_and_si128(s, low), tintRB);
        const __m128i tintedG = _mm_mullo_epi16(_mm_and_si128(_mm_srli_epi16(s, 8), greenOnly), tintG);
        __m128i termRB, termG;
        if (t.gray)
        {
            termRB = _mm_srli_epi16(_mm_mullo_epi16(_mm_srli_epi16(tintedRB, 8), w), 8);
            termG = _mm_srli_epi16(_mm_mullo_epi16(_mm_srli_epi16(tintedG, 8), w), 8);
        }
        else
        {
            termRB = _mm_mulhi_epu16(tintedRB, w);
            termG = _mm_mulhi_epu16(tintedG, w);
        }
        const __m128i rb = _mm_add_epi16(keepRB, termRB);
        const __m128i ga = _mm_add_epi16(keepGA, termG);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i),
                         _mm_or_si128(_mm_or_si128(rb, _mm_slli_epi16(ga, 8)), alphaByte));
    }
#endif
    for (; i < n; ++i)
        dst[i] = PixelBlend::BlendTinted(dst[i], src[i], t);
}

// The additive blit: each channel min(d + add, 255), the destination alpha kept, where add is
// the source channel, scaled by the premultiplied tint channel (t * s >> 8) unless white, then
// by the source alpha (add * sa >> 8) when weighByAlpha; pixels of alpha 0 are skipped when
// skipClear.
struct AddParams
{
    bool white;
    bool weighByAlpha;
    bool skipClear;
    uint32_t tr, tg, tb;
};

inline uint32_t AddPixel(uint32_t d, uint32_t s, const AddParams& p)
{
    const uint32_t sa = s >> 24;
    if (p.skipClear && sa == 0)
        return d;
    uint32_t r = (s >> 16) & 0xFF, g = (s >> 8) & 0xFF, b = s & 0xFF;
    if (!p.white)
    {
        r = r * p.tr >> 8;
        g = g * p.tg >> 8;
        b = b * p.tb >> 8;
    }
    if (p.weighByAlpha)
    {
        r = r * sa >> 8;
        g = g * sa >> 8;
        b = b * sa >> 8;
    }
    return PixelBlend::AddChannels(d, r, g, b);
}

inline void AddRow(const uint32_t* src, uint32_t* dst, int n, const AddParams& p)
{
    int i = 0;
#if defined(__SSE2__) && !defined(QUOLL_SCALAR_FALLBACK)
    static const WideRows* const wide = Avx2Rows();
    if (wide != nullptr && n >= 8)
        i = wide->addRow(src, dst, n, p.white, p.weighByAlpha, p.skipClear, p.tr, p.tg, p.tb);
    const __m128i low = _mm_set1_epi32(0x00FF00FF);
    const __m128i alphaByte = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i greenOnly = _mm_set1_epi32(0x000000FF);
    const __m128i tintRB = _mm_set1_epi32(static_cast<int>(p.tr << 16 | p.tb));
    const __m128i tintG = _mm_set1_epi32(static_cast<int>(p.tg));
    for (; i + 4 <= n; i += 4)
    {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        __m128i rb = _mm_and_si128(s, low);
        __m128i ga = _mm_and_si128(_mm_srli_epi16(s, 8), greenOnly);
        if (!p.white)
        {
            rb = _mm_srli_epi16(_mm_mullo_epi16(rb, tintRB), 8);
            ga = _mm_srli_epi16(_mm_mullo_epi16(ga, tintG), 8);
        }
        if (p.weighByAlpha)
        {
            const __m128i a1 = _mm_srli_epi32(s, 24);
            const __m128i a = _mm_or_si128(a1, _mm_slli_epi32(a1, 16));
            rb = _mm_srli_epi16(_mm_mullo_epi16(rb, a), 8);
            ga = _mm_srli_epi16(_mm_mullo_epi16(ga, a), 8);
        }
        __m128i add = _mm_or_si128(rb, _mm_slli_epi16(ga, 8));
        if (p.skipClear)
            add = _mm_andnot_si128(_mm_cmpeq_epi32(_mm_and_si128(s, alphaByte), _mm_setzero_si128()), add);
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_adds_epu8(d, add));
    }
#endif
    for (; i < n; ++i)
        dst[i] = AddPixel(dst[i], src[i], p);
}
} // namespace Quoll::RowBlend

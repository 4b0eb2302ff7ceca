#pragma once
// Row kernels of the surface blits on 32-bit surfaces whose channels are whole bytes (either
// channel order). Each equals, pixel for pixel, the per-pixel formula it names (SurfaceBlend);
// on x86-64 they run four pixels at a time (the portable forms with QUOLL_SCALAR_FALLBACK). The source is the display-format entries of the
// source image: premultiplied colour in the low 24 bits, alpha in the top byte.
#include "framework/display/SurfaceBlend.h"

#include <cstdint>

#if defined(__SSE2__) && !defined(QUOLL_SCALAR_FALLBACK)
#include <emmintrin.h>
#endif

namespace Quoll::SurfaceRows
{
// The surface is 32-bit with one byte per channel.
inline bool IsByteChannels32(const SurfaceBlend::Layout& l)
{
    auto byteMask = [](uint32_t m) { return m == 0xFF || m == 0xFF00 || m == 0xFF0000; };
    return l.bits == 32 && byteMask(l.rm) && byteMask(l.gm) && byteMask(l.bm) && (l.rm | l.gm | l.bm) == 0xFFFFFF;
}

// KeepAndAdd(d, s & 0xFFFFFF, 256 - alpha(s)) for n pixels.
inline void BlendPremultipliedRow32(const uint32_t* s, uint32_t* d, int n)
{
    int i = 0;
#if defined(__SSE2__) && !defined(QUOLL_SCALAR_FALLBACK)
    const __m128i low = _mm_set1_epi32(0x00FF00FF);
    const __m128i greenOnly = _mm_set1_epi32(0x000000FF);
    const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
    const __m128i k256 = _mm_set1_epi16(256);
    for (; i + 4 <= n; i += 4)
    {
        const __m128i src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i a1 = _mm_srli_epi32(src, 24);
        const __m128i keep = _mm_sub_epi16(k256, _mm_or_si128(a1, _mm_slli_epi32(a1, 16)));
        const __m128i rb = _mm_srli_epi16(_mm_mullo_epi16(_mm_and_si128(dst, low), keep), 8);
        const __m128i g = _mm_srli_epi16(_mm_mullo_epi16(_mm_and_si128(_mm_srli_epi16(dst, 8), greenOnly), keep), 8);
        const __m128i kept = _mm_or_si128(rb, _mm_slli_epi32(g, 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_add_epi32(kept, _mm_and_si128(src, colour)));
    }
#endif
    for (; i < n; ++i)
    {
        const uint32_t f = 256 - (s[i] >> 24);
        d[i] = (((d[i] & 0xFF00) * f >> 8) & 0xFF00) + (((d[i] & 0xFF00FF) * f >> 8) & 0xFF00FF) + (s[i] & 0xFFFFFF);
    }
}

// KeepAndAdd(d, s, f) for n pixels: a constant colour s (premultiplied, top byte 0) over
// each pixel keeping f / 256 of it (the translucent fill).
inline void BlendConstantRow32(uint32_t s, uint32_t f, uint32_t* d, int n)
{
    int i = 0;
#if defined(__SSE2__) && !defined(QUOLL_SCALAR_FALLBACK)
    const __m128i low = _mm_set1_epi32(0x00FF00FF);
    const __m128i greenOnly = _mm_set1_epi32(0x000000FF);
    const __m128i keep = _mm_set1_epi16(static_cast<short>(f));
    const __m128i colour = _mm_set1_epi32(static_cast<int>(s));
    for (; i + 4 <= n; i += 4)
    {
        const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i rb = _mm_srli_epi16(_mm_mullo_epi16(_mm_and_si128(dst, low), keep), 8);
        const __m128i g = _mm_srli_epi16(_mm_mullo_epi16(_mm_and_si128(_mm_srli_epi16(dst, 8), greenOnly), keep), 8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                         _mm_add_epi32(_mm_or_si128(rb, _mm_slli_epi32(g, 8)), colour));
    }
#endif
    for (; i < n; ++i)
        d[i] = (((d[i] & 0xFF00) * f >> 8) & 0xFF00) + (((d[i] & 0xFF00FF) * f >> 8) & 0xFF00FF) + s;
}

// AddPlain(d, s & 0xFFFFFF) for n pixels: each byte channel saturated at 255, top byte 0.
inline void AddRow32(const uint32_t* s, uint32_t* d, int n)
{
    int i = 0;
#if defined(__SSE2__) && !defined(QUOLL_SCALAR_FALLBACK)
    const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
    for (; i + 4 <= n; i += 4)
    {
        const __m128i src = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)), colour);
        const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_and_si128(_mm_adds_epu8(dst, src), colour));
    }
#endif
    for (; i < n; ++i)
    {
        uint32_t out = 0;
        for (int shift = 0; shift < 24; shift += 8)
            out |= std::min<uint32_t>(((d[i] >> shift) & 0xFF) + ((s[i] >> shift) & 0xFF), 255) << shift;
        d[i] = out;
    }
}
} // namespace Quoll::SurfaceRows

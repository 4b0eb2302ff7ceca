#pragma once
// The two texel fetches of the textured variants. Coordinates are 16.16 texel positions and are
// neither clamped nor wrapped: a texel is addressed by one linear index, row * width + column
// modulo 2^32, and reads as 0 unless that index (unsigned) is below the texel count. The filtered
// fetch uses SSE2 where present; QUOLL_SCALAR_FALLBACK builds its portable form instead.
#include "framework/rasteriser/FixedPoint.h"
#include "framework/rasteriser/TriangleRecords.h"

#include <cstdint>
#if defined(__SSE2__) && !defined(QUOLL_SCALAR_FALLBACK)
#include <emmintrin.h>
#endif

namespace Quoll
{
inline uint32_t ReadTexel(const TriangleTexture& texture, uint32_t index)
{
    return index < static_cast<uint32_t>(texture.size) ? texture.pixels[index] : 0u;
}

// The texel under (u, v); negative coordinates give columns or rows from 32768 up.
inline uint32_t FetchTexelPoint(const TriangleTexture& texture, int32_t u, int32_t v)
{
    const uint32_t column = static_cast<uint32_t>(u) >> 16;
    const uint32_t row = static_cast<uint32_t>(v) >> 16;
    return ReadTexel(texture, row * static_cast<uint32_t>(texture.width) + column);
}

// The four texels around (u - 0.5, v - 0.5), weighted by area and by their own alphas. The result
// is alpha-weighted: its alpha is the sum of the four alpha weights (at most 254) and each colour
// channel is the sum of the channels times their weights, shifted right by 8.
inline uint32_t FetchTexelBilinear(const TriangleTexture& texture, int32_t u, int32_t v)
{
    // 1. Move the sample half a texel up and left, so that texel centres fall on whole numbers.
    const int32_t su = FixedAdd(u, -0x8000);
    const int32_t sv = FixedAdd(v, -0x8000);
    const int32_t fu = FixedFloor(su);
    const int32_t fv = FixedFloor(sv);
    // 2. The upper-left texel and its three neighbours; one bounds test when all are inside.
    const uint32_t width = static_cast<uint32_t>(texture.width);
    const uint32_t index = static_cast<uint32_t>(fv >> 16) * width + static_cast<uint32_t>(fu >> 16);
    const bool inside = static_cast<uint64_t>(index) + width + 1 < static_cast<uint32_t>(texture.size);
    // 3. Fractions, odd so never 0 or 1.0, and their complements.
    const uint32_t fx = ((static_cast<uint32_t>(su) - static_cast<uint32_t>(fu)) & 0xFFFEu) + 1;
    const uint32_t fy = ((static_cast<uint32_t>(sv) - static_cast<uint32_t>(fv)) & 0xFFFEu) + 1;
    const uint32_t gx = 0x10000u - fx;
    const uint32_t gy = 0x10000u - fy;
#if defined(__SSE2__) && !defined(QUOLL_SCALAR_FALLBACK)
    // 4. Texels 00, 10, 01, 11 in four 32-bit lanes.
    __m128i t;
    if (inside)
        t = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(texture.pixels + index)),
                               _mm_loadl_epi64(reinterpret_cast<const __m128i*>(texture.pixels + index + width)));
    else
        t = _mm_set_epi32(static_cast<int>(ReadTexel(texture, index + width + 1)),
                          static_cast<int>(ReadTexel(texture, index + width)),
                          static_cast<int>(ReadTexel(texture, index + 1)), static_cast<int>(ReadTexel(texture, index)));
    // 5. Area weights (gx gy, fx gy, gx fy, fx fy) >> 16, then alpha weights (P * A) >> 16, in
    // 16-bit lanes: every factor is below 0x10000.
    const __m128i x = _mm_shuffle_epi32(_mm_cvtsi32_si128(static_cast<int>(gx | (fx << 16))), 0);
    const __m128i y = _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(gy * 0x10001u)),
                                         _mm_cvtsi32_si128(static_cast<int>(fy * 0x10001u)));
    const __m128i alphas = _mm_packs_epi32(_mm_srli_epi32(t, 24), _mm_setzero_si128());
    const __m128i w = _mm_mulhi_epu16(_mm_mulhi_epu16(x, y), alphas);
    const __m128i w4 = _mm_unpacklo_epi16(w, w);
    const __m128i w0 = _mm_unpacklo_epi32(w4, w4); // W00 x 4, W10 x 4
    const __m128i w1 = _mm_unpackhi_epi32(w4, w4); // W01 x 4, W11 x 4
    // 6. Channels times weights; the alpha lanes hold 256, so that they sum to 256 * sum(W).
    // No lane exceeds 255 * 254.
    const __m128i keep = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);
    const __m128i one = _mm_set_epi16(256, 0, 0, 0, 256, 0, 0, 0);
    const __m128i top = _mm_or_si128(_mm_and_si128(_mm_unpacklo_epi8(t, _mm_setzero_si128()), keep), one);
    const __m128i bottom = _mm_or_si128(_mm_and_si128(_mm_unpackhi_epi8(t, _mm_setzero_si128()), keep), one);
    const __m128i pairs = _mm_add_epi16(_mm_mullo_epi16(top, w0), _mm_mullo_epi16(bottom, w1));
    const __m128i sums = _mm_add_epi16(pairs, _mm_srli_si128(pairs, 8));
    return static_cast<uint32_t>(
        _mm_cvtsi128_si32(_mm_packus_epi16(_mm_srli_epi16(sums, 8), _mm_setzero_si128())));
#else
    uint32_t t00, t10, t01, t11;
    if (inside)
    {
        const uint32_t* p = texture.pixels + index;
        t00 = p[0];
        t10 = p[1];
        t01 = p[width];
        t11 = p[width + 1];
    }
    else
    {
        t00 = ReadTexel(texture, index);
        t10 = ReadTexel(texture, index + 1);
        t01 = ReadTexel(texture, index + width);
        t11 = ReadTexel(texture, index + width + 1);
    }
    const uint32_t w00 = (((gx * gy) >> 16) * (t00 >> 24)) >> 16;
    const uint32_t w10 = (((fx * gy) >> 16) * (t10 >> 24)) >> 16;
    const uint32_t w01 = (((gx * fy) >> 16) * (t01 >> 24)) >> 16;
    const uint32_t w11 = (((fx * fy) >> 16) * (t11 >> 24)) >> 16;
    // Channel sums; no sum exceeds 255 * 254, so red and blue share one word.
    const uint32_t rb = (t00 & 0x00FF00FFu) * w00 + (t10 & 0x00FF00FFu) * w10 +
                        (t01 & 0x00FF00FFu) * w01 + (t11 & 0x00FF00FFu) * w11;
    const uint32_t g = (t00 & 0x0000FF00u) * w00 + (t10 & 0x0000FF00u) * w10 +
                       (t01 & 0x0000FF00u) * w01 + (t11 & 0x0000FF00u) * w11;
    return ((w00 + w10 + w01 + w11) << 24) | ((rb >> 8) & 0x00FF00FFu) | ((g >> 8) & 0x0000FF00u);
#endif
}
} // namespace Quoll

#pragma once
// The four destination pixel formats of the triangle variants and their two stores, in packed
// form: WritePixelOpaque stores a 0xAARRGGBB colour opaque; BlendPixel blends a colour that is
// already weighted by its alpha a (each channel (C * a) >> 8); BlendPixelWeighting weights an
// unweighted colour by a and blends it in one step. Stores truncate; nothing rounds or dithers.
#include <algorithm>
#include <array>
#include <cstdint>

namespace Quoll
{
// Each channel of c multiplied by a (0..255) and shifted right by 8, in place.
inline uint32_t WeightColor(uint32_t c, uint32_t a)
{
    return ((((c & 0x00FF00FFu) * a) >> 8) & 0x00FF00FFu) | ((((c & 0x0000FF00u) * a) >> 8) & 0x0000FF00u);
}

// round(a * b / 255) for a and b in 0..255, as a modulation of two channels computes it.
inline uint32_t MulDiv255(uint32_t a, uint32_t b)
{
    const uint32_t n = a * b + 128;
    return (n + (n >> 8)) >> 8;
}

// Channel c plus add, saturated at 255.
inline uint32_t AddSaturated(uint32_t c, uint32_t add)
{
    return std::min(c + add, 255u);
}

// n / d for n below 2^32 and d from 1 to 256, exact: n * ceil(2^48 / d) exceeds n * 2^48 / d by
// less than 2^-16 * 2^48, which cannot reach the next multiple of 2^48 / d (at least 2^40 away).
struct SmallDivisor
{
    static constexpr uint64_t Multiplier(uint32_t d) { return ((uint64_t{1} << 48) + d - 1) / d; }

    static constexpr std::array<uint64_t, 257> MakeTable()
    {
        std::array<uint64_t, 257> table{};
        for (uint32_t d = 1; d <= 256; ++d)
            table[d] = Multiplier(d);
        return table;
    }

    static uint32_t Divide(uint32_t n, uint64_t multiplier)
    {
        return static_cast<uint32_t>((static_cast<unsigned __int128>(n) * multiplier) >> 48);
    }
};

inline constexpr std::array<uint64_t, 257> kSmallDivisorTable = SmallDivisor::MakeTable();

// 32-bit ARGB: the destination's own alpha takes part in the blend, which divides by the new
// alpha. A zero divisor (alpha 0 over alpha 0) leaves the pixel as it is; a quotient of 256
// (only for sources weighted by more than a) saturates at 255.
struct PixelFormat8888
{
    using Pixel = uint32_t;
    static constexpr int32_t kCode = 0x8888;

    static void WritePixelOpaque(Pixel* pixel, uint32_t c) { *pixel = c | 0xFF000000u; }

    static void BlendTerms(Pixel* pixel, uint32_t srcR, uint32_t srcG, uint32_t srcB, uint32_t a)
    {
        const uint32_t d = *pixel;
        const uint32_t da = d >> 24;
        const uint32_t ia = 256 - a;
        const uint32_t divisor = 256 - (((256 - da) * ia) >> 8);
        if (divisor == 0)
            return;
        const uint32_t r = ((((d & 0x00FF0000u) * da) >> 8) & 0x00FF0000u) * ia + srcR;
        const uint32_t g = ((((d & 0x0000FF00u) * da) >> 8) & 0x0000FF00u) * ia + srcG;
        const uint32_t b = (((d & 0x000000FFu) * da) >> 8) * ia + srcB;
        uint32_t qr, qg, qb;
        if (divisor == 256)
        {
            // Over an opaque destination the division is a shift.
            qr = r >> 8;
            qg = g >> 8;
            qb = b >> 8;
        }
        else
        {
            const uint64_t m = kSmallDivisorTable[divisor];
            qr = SmallDivisor::Divide(r, m);
            qg = SmallDivisor::Divide(g, m);
            qb = SmallDivisor::Divide(b, m);
        }
        *pixel = ((divisor - 1) << 24) | (std::min(qr, 0x00FFFFFFu) & 0x00FF0000u) |
                 (std::min(qg, 0x0000FFFFu) & 0x0000FF00u) | std::min(qb, 0xFFu);
    }

    static void BlendPixel(Pixel* pixel, uint32_t p, uint32_t a)
    {
        BlendTerms(pixel, (p & 0x00FF0000u) << 8, (p & 0x0000FF00u) << 8, (p & 0x000000FFu) << 8, a);
    }

    // Adds r, g, b (0..255 each) with saturation; the destination's alpha is kept.
    static void AddPixel(Pixel* pixel, uint32_t r, uint32_t g, uint32_t b)
    {
        const uint32_t d = *pixel;
        *pixel = (d & 0xFF000000u) | (AddSaturated((d >> 16) & 0xFF, r) << 16) |
                 (AddSaturated((d >> 8) & 0xFF, g) << 8) | AddSaturated(d & 0xFF, b);
    }

    static void BlendPixelWeighting(Pixel* pixel, uint32_t c, uint32_t a)
    {
        BlendTerms(pixel, ((c & 0x00FF0000u) * a) & 0xFF000000u, ((c & 0x0000FF00u) * a) & 0x00FF0000u,
                   ((c & 0x000000FFu) * a) & 0x0000FF00u, a);
    }
};

// 32-bit RGB: the top byte carries nothing and is stored as 0xFF.
struct PixelFormat888
{
    using Pixel = uint32_t;
    static constexpr int32_t kCode = 0x888;

    static void WritePixelOpaque(Pixel* pixel, uint32_t c) { *pixel = c | 0xFF000000u; }

    static void BlendPixel(Pixel* pixel, uint32_t p, uint32_t a)
    {
        const uint32_t keep = 255 - a;
        const uint32_t d = *pixel;
        const uint32_t dst = ((((d & 0x00FF00FFu) * keep) >> 8) & 0x00FF00FFu) |
                             ((((d & 0x0000FF00u) * keep) >> 8) & 0x0000FF00u);
        *pixel = (dst + (p & 0x00FFFFFFu)) | 0xFF000000u;
    }

    static void BlendPixelWeighting(Pixel* pixel, uint32_t c, uint32_t a)
    {
        BlendPixel(pixel, WeightColor(c, a), a);
    }

    static void AddPixel(Pixel* pixel, uint32_t r, uint32_t g, uint32_t b)
    {
        const uint32_t d = *pixel;
        *pixel = 0xFF000000u | (AddSaturated((d >> 16) & 0xFF, r) << 16) | (AddSaturated((d >> 8) & 0xFF, g) << 8) |
                 AddSaturated(d & 0xFF, b);
    }
};

// 16-bit formats: red, green and blue keep their top bits, packed by truncation. The blend scales
// the destination fields by k / 32, k = (255 - a) >> 3, and adds the packed weighted colour.
// kRedShift and kGreenShift move the 8-bit channels' top bits onto their fields.
template <int32_t kFormatCode, uint32_t kRedShift, uint32_t kRedMask, uint32_t kGreenShift, uint32_t kGreenMask>
struct PixelFormat16
{
    using Pixel = uint16_t;
    static constexpr int32_t kCode = kFormatCode;
    static constexpr uint32_t kRedBlueMask = kRedMask | 0x001Fu;

    static uint32_t Pack(uint32_t c)
    {
        return ((c >> kRedShift) & kRedMask) | ((c >> kGreenShift) & kGreenMask) | ((c >> 3) & 0x001Fu);
    }

    static void WritePixelOpaque(Pixel* pixel, uint32_t c) { *pixel = static_cast<Pixel>(Pack(c)); }

    static uint32_t Destination(uint32_t d, uint32_t a)
    {
        const uint32_t k = (255 - a) >> 3;
        return ((((d & kGreenMask) * k) >> 5) & kGreenMask) | ((((d & kRedBlueMask) * k) >> 5) & kRedBlueMask);
    }

    static void BlendPixel(Pixel* pixel, uint32_t p, uint32_t a)
    {
        *pixel = static_cast<Pixel>(Destination(*pixel, a) + Pack(p));
    }

    static void BlendPixelWeighting(Pixel* pixel, uint32_t c, uint32_t a)
    {
        const uint32_t w = (((c & 0x00FF00FFu) * a) >> 8) & 0x00FF00FFu;
        const uint32_t src = ((((c & 0x0000FF00u) * a) >> (kGreenShift + 8)) & kGreenMask) |
                             ((w >> kRedShift) & kRedMask) | ((w >> 3) & 0x001Fu);
        *pixel = static_cast<Pixel>(Destination(*pixel, a) + src);
    }

    // Adds r, g, b (0..255 each, truncated to the fields' widths) with each field saturated.
    static void AddPixel(Pixel* pixel, uint32_t r, uint32_t g, uint32_t b)
    {
        constexpr uint32_t kGreenBits = kGreenMask == 0x07E0u ? 6 : 5;
        constexpr uint32_t kRedShiftOut = kGreenBits + 5;
        const uint32_t d = *pixel;
        const uint32_t dr = std::min(((d & kRedMask) >> kRedShiftOut) + (r >> 3), 31u);
        const uint32_t dg = std::min(((d & kGreenMask) >> 5) + (g >> (8 - kGreenBits)), (1u << kGreenBits) - 1);
        const uint32_t db = std::min((d & 0x001Fu) + (b >> 3), 31u);
        *pixel = static_cast<Pixel>((dr << kRedShiftOut) | (dg << 5) | db);
    }
};

// 16-bit 5-6-5.
using PixelFormat565 = PixelFormat16<0x565, 8, 0xF800u, 5, 0x07E0u>;
// 15-bit 5-5-5: bit 15 carries nothing and is stored as 0.
using PixelFormat555 = PixelFormat16<0x555, 9, 0x7C00u, 6, 0x03E0u>;
} // namespace Quoll

#pragma once
// Plain, channel-by-channel reference of the triangle variants' per-pixel work, written from the
// formulas rather than the packed forms, and a reference kernel that draws any table index in
// any format through the shared walk. Tests compare the table's variants with it bit-exactly.
#include "framework/rasteriser/FixedPoint.h"
#include "framework/rasteriser/PixelFormats.h"
#include "framework/rasteriser/TriangleRecords.h"
#include "framework/rasteriser/TriangleWalk.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace RasterReference
{
using namespace Quoll;

inline uint32_t Ch(uint32_t c, int shift) { return (c >> shift) & 0xFF; }
inline uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }

// Each channel (C * a) >> 8.
inline uint32_t Weight(uint32_t c, uint32_t a)
{
    return Rgb((Ch(c, 16) * a) >> 8, (Ch(c, 8) * a) >> 8, (Ch(c, 0) * a) >> 8);
}

inline uint32_t Store(int32_t format, uint32_t c)
{
    const uint32_t r = Ch(c, 16), g = Ch(c, 8), b = Ch(c, 0);
    switch (format)
    {
    case 0x565:
        return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
    case 0x555:
        return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    default:
        return 0xFF000000u | (c & 0x00FFFFFFu);
    }
}

// Blend of the alpha-weighted colour p with alpha a into the pixel d, per channel.
inline uint32_t Blend(int32_t format, uint32_t d, uint32_t p, uint32_t a)
{
    const uint32_t pr = Ch(p, 16), pg = Ch(p, 8), pb = Ch(p, 0);
    if (format == 0x565 || format == 0x555)
    {
        const uint32_t k = (255 - a) >> 3;
        const bool six = format == 0x565;
        const uint32_t dr = six ? (d >> 11) & 31 : (d >> 10) & 31;
        const uint32_t dg = six ? (d >> 5) & 63 : (d >> 5) & 31;
        const uint32_t db = d & 31;
        const uint32_t r = ((dr * k) >> 5) + (pr >> 3);
        const uint32_t g = ((dg * k) >> 5) + (six ? pg >> 2 : pg >> 3);
        const uint32_t b = ((db * k) >> 5) + (pb >> 3);
        return six ? (r << 11) + (g << 5) + b : (r << 10) + (g << 5) + b;
    }
    if (format == 0x888)
    {
        auto channel = [&](int s, uint32_t pc) { return ((Ch(d, s) * (255 - a)) >> 8) + pc; };
        return 0xFF000000u + (channel(16, pr) << 16) + (channel(8, pg) << 8) + channel(0, pb);
    }
    const uint32_t da = d >> 24;
    const uint32_t ia = 256 - a;
    const uint32_t D = 256 - (((256 - da) * ia) >> 8);
    if (D == 0)
        return d; // alpha 0 over alpha 0: left as it was
    auto channel = [&](int s, uint32_t pc)
    {
        const uint32_t q = ((((Ch(d, s) * da) >> 8) * ia) + pc * 256) / D;
        return q > 255 ? 255u : q;
    };
    return ((D - 1) << 24) | Rgb(channel(16, pr), channel(8, pg), channel(0, pb));
}

inline uint32_t Texel(const TriangleTexture& t, uint32_t index)
{
    return index < static_cast<uint32_t>(t.size) ? t.pixels[index] : 0;
}

inline uint32_t FetchPoint(const TriangleTexture& t, int32_t u, int32_t v)
{
    return Texel(t, (static_cast<uint32_t>(v) >> 16) * static_cast<uint32_t>(t.width) +
                        (static_cast<uint32_t>(u) >> 16));
}

inline uint32_t FetchBilinear(const TriangleTexture& t, int32_t u, int32_t v)
{
    const int64_t su = int64_t{u} - 0x8000, sv = int64_t{v} - 0x8000;
    // Wrap like a 32-bit value, then take the true floor.
    const int32_t wu = static_cast<int32_t>(static_cast<uint32_t>(su));
    const int32_t wv = static_cast<int32_t>(static_cast<uint32_t>(sv));
    const int64_t col = wu >= 0 ? wu / 65536 : -((-int64_t{wu} + 65535) / 65536);
    const int64_t row = wv >= 0 ? wv / 65536 : -((-int64_t{wv} + 65535) / 65536);
    const uint32_t fx = ((static_cast<uint32_t>(wu - col * 65536)) & 0xFFFE) + 1;
    const uint32_t fy = ((static_cast<uint32_t>(wv - row * 65536)) & 0xFFFE) + 1;
    const uint32_t base = static_cast<uint32_t>(row) * static_cast<uint32_t>(t.width) + static_cast<uint32_t>(col);
    const uint32_t texel[4] = {Texel(t, base), Texel(t, base + 1), Texel(t, base + t.width),
                               Texel(t, base + t.width + 1)};
    const uint32_t area[4] = {((0x10000 - fx) * (0x10000 - fy)) >> 16, (fx * (0x10000 - fy)) >> 16,
                              ((0x10000 - fx) * fy) >> 16, (fx * fy) >> 16};
    uint32_t alpha = 0, sum[3] = {0, 0, 0};
    for (int i = 0; i < 4; ++i)
    {
        const uint32_t w = (area[i] * (texel[i] >> 24)) >> 16;
        alpha += w;
        for (int c = 0; c < 3; ++c)
            sum[c] += Ch(texel[i], 16 - 8 * c) * w;
    }
    return (alpha << 24) | Rgb(sum[0] >> 8, sum[1] >> 8, sum[2] >> 8);
}

inline uint32_t Clamp16(int32_t v) { return v < 0 ? 0 : v > 0xFFFFFF ? 0xFFFFFF : static_cast<uint32_t>(v); }

// Draws any index (0..31 within a group) in any format, one case per family of the table.
template <class Format> struct Kernel
{
    using Pixel = typename Format::Pixel;
    static constexpr int kAttributes = 6;
    static constexpr int kColorAttributes = 0; // clamps every pixel itself
    int index;
    TriangleTexture texture;
    TriangleColor color;

    Kernel(int idx, const TriangleTexture& t, const TriangleColor& c) : index(idx), texture(t), color(c) {}

    bool Tinted() const { return (index & 2) && (index & 4); }

    void Load(const FixedVertex& v, int32_t* out) const
    {
        const bool fold = Tinted();
        out[0] = fold ? static_cast<int32_t>((static_cast<uint32_t>(v.a) * color.a) >> 8) : v.a;
        out[1] = fold ? static_cast<int32_t>((static_cast<uint32_t>(v.r) * color.r) >> 8) : v.r;
        out[2] = fold ? static_cast<int32_t>((static_cast<uint32_t>(v.g) * color.g) >> 8) : v.g;
        out[3] = fold ? static_cast<int32_t>((static_cast<uint32_t>(v.b) * color.b) >> 8) : v.b;
        out[4] = v.u;
        out[5] = v.v;
    }

    void Put(Pixel* pixel, uint32_t value) const { *pixel = static_cast<Pixel>(value); }

    template <bool> void Draw(Pixel* pixel, const int32_t* k) const
    {
        const int32_t f = Format::kCode;
        if (!(index & 16))
        {
            if (index & 4)
                DrawVertexColor(pixel, k);
            return;
        }
        const bool bilinear = index & 1, tint = index & 2, vertex = index & 4, blend = index & 8;
        const uint32_t t = bilinear ? FetchBilinear(texture, k[4], k[5]) : FetchPoint(texture, k[4], k[5]);
        const uint32_t A = t >> 24;
        if (blend && A <= 8)
            return;
        if (!tint && !vertex)
        {
            if (!blend || A >= 240)
                Put(pixel, Store(f, t));
            else
                Put(pixel, Blend(f, *pixel, bilinear ? t : Weight(t, A), A));
            return;
        }
        uint32_t fa = 0, fc[3] = {};
        for (int c = 0; c < 4; ++c)
        {
            const int32_t channel[4] = {color.a, color.r, color.g, color.b};
            uint32_t factor;
            if (vertex && tint)
                factor = (static_cast<uint32_t>(channel[c]) * Clamp16(k[c])) >> 24;
            else if (vertex)
                factor = Clamp16(k[c]) >> 16;
            else
                factor = static_cast<uint32_t>(channel[c]);
            if (c == 0)
                fa = factor;
            else
                fc[c - 1] = factor;
        }
        const uint32_t S = Rgb((Ch(t, 16) * fc[0]) >> 8, (Ch(t, 8) * fc[1]) >> 8, (Ch(t, 0) * fc[2]) >> 8);
        const uint32_t coverage = (fa * (blend ? A : 255)) >> 8;
        const uint32_t O = bilinear ? Weight(S, fa) : S;
        if (coverage >= 240)
            Put(pixel, Store(f, O));
        else
            Put(pixel, Blend(f, *pixel, bilinear ? O : Weight(S, coverage), coverage));
    }

    void DrawVertexColor(Pixel* pixel, const int32_t* k) const
    {
        const uint32_t a16 = Clamp16(k[0]), r16 = Clamp16(k[1]), g16 = Clamp16(k[2]), b16 = Clamp16(k[3]);
        const uint32_t r8 = r16 >> 16, g8 = g16 >> 16, b8 = b16 >> 16;
        if (a16 > 0xF00000)
            Put(pixel, Store(Format::kCode, Rgb(r8, g8, b8)));
        else if (a16 > 0x80000)
        {
            const uint32_t w = a16 >> 16;
            const uint32_t p = Format::kCode == 0x8888
                                   ? Rgb((w * r16) >> 24, (w * (g16 >> 8)) >> 16, (b8 * w) >> 8)
                                   : Rgb((r8 * w) >> 8, (g8 * w) >> 8, (b8 * w) >> 8);
            Put(pixel, Blend(Format::kCode, *pixel, p, w));
        }
    }
};

// Draws one triangle with the reference for table index (0..127).
inline void DrawReference(int index, const FixedVertex* v, uint8_t* dst, int32_t pitch,
                          const TriangleTexture& texture, const TriangleColor& color)
{
    const int i = index & 31;
    switch (index >> 5)
    {
    case 0:
    {
        const Kernel<PixelFormat8888> k(i, texture, color);
        TriangleWalk<Kernel<PixelFormat8888>>(k, dst, pitch).Draw(v);
        break;
    }
    case 1:
    {
        const Kernel<PixelFormat888> k(i, texture, color);
        TriangleWalk<Kernel<PixelFormat888>>(k, dst, pitch).Draw(v);
        break;
    }
    case 2:
    {
        const Kernel<PixelFormat565> k(i, texture, color);
        TriangleWalk<Kernel<PixelFormat565>>(k, dst, pitch).Draw(v);
        break;
    }
    default:
    {
        const Kernel<PixelFormat555> k(i, texture, color);
        TriangleWalk<Kernel<PixelFormat555>>(k, dst, pitch).Draw(v);
        break;
    }
    }
}
// The additive family, written from its formulas: each destination channel gains
// round(round(C * F / 255) * W / 255), W the colour's alpha factor times (point sampling) the
// sample's alpha over 255, saturating; 16-bit fields gain the sum's top bits and saturate.
// A pixel that gains nothing keeps every bit, also the unused top byte of 0x888.
template <class Format> struct AddKernel
{
    using Pixel = typename Format::Pixel;
    static constexpr int kAttributes = 6;
    static constexpr int kColorAttributes = 0;
    int index; // 0..7: 1 filter, 2 tint, 4 vertex colours
    TriangleTexture texture;
    TriangleColor color;

    AddKernel(int idx, const TriangleTexture& t, const TriangleColor& c) : index(idx), texture(t), color(c) {}

    void Load(const FixedVertex& v, int32_t* out) const
    {
        const bool fold = (index & 2) && (index & 4);
        out[0] = fold ? static_cast<int32_t>((static_cast<uint32_t>(v.a) * color.a) >> 8) : v.a;
        out[1] = fold ? static_cast<int32_t>((static_cast<uint32_t>(v.r) * color.r) >> 8) : v.r;
        out[2] = fold ? static_cast<int32_t>((static_cast<uint32_t>(v.g) * color.g) >> 8) : v.g;
        out[3] = fold ? static_cast<int32_t>((static_cast<uint32_t>(v.b) * color.b) >> 8) : v.b;
        out[4] = v.u;
        out[5] = v.v;
    }

    template <bool> void Draw(Pixel* pixel, const int32_t* k) const
    {
        const bool bilinear = index & 1, tint = index & 2, vertex = index & 4;
        const uint32_t t = bilinear ? FetchBilinear(texture, k[4], k[5]) : FetchPoint(texture, k[4], k[5]);
        const int32_t channel[4] = {color.a, color.r, color.g, color.b};
        uint32_t f[4];
        for (int c = 0; c < 4; ++c)
        {
            if (vertex && tint)
                f[c] = (static_cast<uint32_t>(channel[c]) * Clamp16(k[c])) >> 24;
            else if (vertex)
                f[c] = Clamp16(k[c]) >> 16;
            else if (tint)
                f[c] = static_cast<uint32_t>(channel[c]);
            else
                f[c] = 255;
        }
        const uint32_t w = bilinear ? f[0] : Round(f[0] * (t >> 24));
        const uint32_t add[3] = {Round(Round(Ch(t, 16) * f[1]) * w), Round(Round(Ch(t, 8) * f[2]) * w),
                                 Round(Round(Ch(t, 0) * f[3]) * w)};
        if (add[0] == 0 && add[1] == 0 && add[2] == 0)
            return; // a pixel that gains nothing is left as it is
        const uint32_t d = *pixel;
        switch (Format::kCode)
        {
        case 0x565:
        case 0x555:
        {
            const bool six = Format::kCode == 0x565;
            const uint32_t gmax = six ? 63 : 31;
            const uint32_t r = std::min<uint32_t>((six ? d >> 11 : d >> 10) % 32 + (add[0] >> 3), 31);
            const uint32_t g = std::min<uint32_t>((d >> 5) % (gmax + 1) + (add[1] >> (six ? 2 : 3)), gmax);
            const uint32_t b = std::min<uint32_t>(d % 32 + (add[2] >> 3), 31);
            *pixel = static_cast<Pixel>(six ? (r << 11) + (g << 5) + b : (r << 10) + (g << 5) + b);
            break;
        }
        default:
        {
            const uint32_t top = Format::kCode == 0x8888 ? (d & 0xFF000000u) : 0xFF000000u;
            *pixel = top | Rgb(std::min(Ch(d, 16) + add[0], 255u), std::min(Ch(d, 8) + add[1], 255u),
                               std::min(Ch(d, 0) + add[2], 255u));
        }
        }
    }

    // x / 255 rounded to the nearest whole number.
    static uint32_t Round(uint32_t x) { return (x + 127) / 255; }
};

// Draws one triangle with the additive reference for index (0..31: format group * 8 + flags).
inline void DrawAddReference(int index, const FixedVertex* v, uint8_t* dst, int32_t pitch,
                             const TriangleTexture& texture, const TriangleColor& color)
{
    auto draw = [&](auto format) {
        using Format = decltype(format);
        const AddKernel<Format> k(index & 7, texture, color);
        TriangleWalk<AddKernel<Format>>(k, dst, pitch).Draw(v);
    };
    switch (index >> 3)
    {
    case 0:
        draw(PixelFormat8888{});
        break;
    case 1:
        draw(PixelFormat888{});
        break;
    case 2:
        draw(PixelFormat565{});
        break;
    default:
        draw(PixelFormat555{});
        break;
    }
}
} // namespace RasterReference

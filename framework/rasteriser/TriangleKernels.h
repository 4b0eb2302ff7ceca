#pragma once
// The per-pixel work of the drawing variants, one kernel per family, each generated for every
// destination format (PixelFormats.h) and, for textured triangles, every flag combination of
// the table index: 1 bilinear filter, 2 draw-colour tint, 4 vertex colours, 8 texel-alpha blend.
// The additive family (textured only) adds instead of blending and has no blend flag.
#include "framework/rasteriser/PixelFormats.h"
#include "framework/rasteriser/TexelFetch.h"
#include "framework/rasteriser/TriangleRecords.h"

#include <algorithm>
#include <cstdint>

namespace Quoll
{
// Opaque at an alpha of this or more; the blending textured variants skip samples whose alpha
// is kSkipAlpha or less.
constexpr uint32_t kOpaqueAlpha = 240;
constexpr uint32_t kSkipAlpha = 8;

// An interpolated 16.16 colour channel, held at 0 below (rounding can take it a few units under
// a vertex value of 0) and below 256.0 above.
inline uint32_t ClampColorChannel(int32_t v)
{
    return static_cast<uint32_t>(std::clamp<int32_t>(v, 0, 0x00FFFFFF));
}

template <bool kInRange> uint32_t ColorChannel(int32_t v)
{
    return kInRange ? static_cast<uint32_t>(v) : ClampColorChannel(v);
}

// A vertex's colour channel scaled by a draw-colour channel (0..255), once per triangle.
inline int32_t FoldColorChannel(int32_t channel, int32_t colorChannel)
{
    return static_cast<int32_t>((static_cast<uint32_t>(channel) * static_cast<uint32_t>(colorChannel)) >> 8);
}

// Each of red, green and blue of t multiplied by its multiplier (0..255) and shifted right by 8,
// formed within the packed word; the alpha byte of the result is 0.
inline uint32_t ShadeColor(uint32_t t, uint32_t r, uint32_t g, uint32_t b)
{
    return ((((t & 0x00FF0000u) * r) & 0xFF000000u) | (((t & 0x0000FF00u) * g) & 0x00FF0000u) |
            (((t & 0x000000FFu) * b) & 0x0000FF00u)) >>
           8;
}

// Untextured triangles in interpolated vertex colours, optionally scaled by the draw colour.
// The interpolated alpha decides: above 240.0 opaque, above 8.0 blended, else untouched.
template <class Format, bool kTint> struct VertexColorKernel
{
    using Pixel = typename Format::Pixel;
    static constexpr int kAttributes = 4;
    static constexpr int kColorAttributes = 4;

    VertexColorKernel(const TriangleTexture*, const TriangleColor& color) : mColor(color) {}

    void Load(const FixedVertex& v, int32_t* out) const
    {
        out[0] = v.a;
        out[1] = v.r;
        out[2] = v.g;
        out[3] = v.b;
        if constexpr (kTint)
        {
            out[0] = FoldColorChannel(v.a, mColor.a);
            out[1] = FoldColorChannel(v.r, mColor.r);
            out[2] = FoldColorChannel(v.g, mColor.g);
            out[3] = FoldColorChannel(v.b, mColor.b);
        }
    }

    template <bool kInRange> void Draw(Pixel* pixel, const int32_t* k) const
    {
        const uint32_t a16 = ColorChannel<kInRange>(k[0]);
        if (a16 <= (kSkipAlpha << 16))
            return;
        const uint32_t r16 = ColorChannel<kInRange>(k[1]);
        const uint32_t g16 = ColorChannel<kInRange>(k[2]);
        const uint32_t b16 = ColorChannel<kInRange>(k[3]);
        const uint32_t r8 = (r16 >> 16) & 0xFF;
        const uint32_t g8 = (g16 >> 16) & 0xFF;
        const uint32_t b8 = (b16 >> 16) & 0xFF;
        if (a16 > (kOpaqueAlpha << 16))
        {
            Format::WritePixelOpaque(pixel, (r8 << 16) | (g8 << 8) | b8);
            return;
        }
        const uint32_t w = a16 >> 16;
        uint32_t p;
        if constexpr (Format::kCode == 0x8888)
            // The fractions of red and green count here.
            p = ((((w * r16) >> 24) & 0xFF) << 16) | ((((w * (g16 >> 8)) >> 16) & 0xFF) << 8) |
                (((b8 * w) >> 8) & 0xFF);
        else
            p = (((r8 * w) >> 8) << 16) | (((g8 * w) >> 8) << 8) | ((b8 * w) >> 8);
        Format::BlendPixel(pixel, p, w);
    }

    TriangleColor mColor;
};

// Textured triangles, for table indices 16 to 31 (kIndex is the index within a format group).
// Each pixel: fetch a sample; with the blend flag skip it when its alpha is 8 or less; multiply
// its colour by the colour factors; derive the coverage; store opaque from 240, else blend.
template <class Format, int kIndex> struct TexturedKernel
{
    static_assert(kIndex >= 16 && kIndex < 32);
    static constexpr bool kBilinear = (kIndex & 1) != 0;
    static constexpr bool kTint = (kIndex & 2) != 0;
    static constexpr bool kVertex = (kIndex & 4) != 0;
    static constexpr bool kBlend = (kIndex & 8) != 0;
    static constexpr int kU = kVertex ? 4 : 0;

    using Pixel = typename Format::Pixel;
    static constexpr int kAttributes = kU + 2;
    static constexpr int kColorAttributes = kU;

    TexturedKernel(const TriangleTexture* texture, const TriangleColor& color)
        : mTexture(*texture), mColor(color)
    {
    }

    void Load(const FixedVertex& v, int32_t* out) const
    {
        if constexpr (kVertex)
        {
            // The draw colour is folded into the vertex colours once per triangle (and applied
            // again per pixel, so a tint channel t scales by about (t/256)^2).
            out[0] = kTint ? FoldColorChannel(v.a, mColor.a) : v.a;
            out[1] = kTint ? FoldColorChannel(v.r, mColor.r) : v.r;
            out[2] = kTint ? FoldColorChannel(v.g, mColor.g) : v.g;
            out[3] = kTint ? FoldColorChannel(v.b, mColor.b) : v.b;
        }
        out[kU] = v.u;
        out[kU + 1] = v.v;
    }

    template <bool kInRange> void Draw(Pixel* pixel, const int32_t* k) const
    {
        const uint32_t t = kBilinear ? FetchTexelBilinear(mTexture, k[kU], k[kU + 1])
                                     : FetchTexelPoint(mTexture, k[kU], k[kU + 1]);
        const uint32_t sampleAlpha = t >> 24;
        if (kBlend && sampleAlpha <= kSkipAlpha)
            return;
        if constexpr (!kVertex && !kTint)
            DrawSample(pixel, t, sampleAlpha);
        else
            DrawColored<kInRange>(pixel, t, sampleAlpha, k);
    }

private:
    // Indices 16, 17, 24, 25: the sample as it is; with the blend flag its alpha is the coverage.
    static void DrawSample(Pixel* pixel, uint32_t t, uint32_t sampleAlpha)
    {
        if (!kBlend || sampleAlpha >= kOpaqueAlpha)
            Format::WritePixelOpaque(pixel, t);
        else if constexpr (kBilinear)
            Format::BlendPixel(pixel, t, sampleAlpha); // the filtered word is already weighted
        else
            Format::BlendPixelWeighting(pixel, t, sampleAlpha);
    }

    template <bool kInRange> void DrawColored(Pixel* pixel, uint32_t t, uint32_t sampleAlpha, const int32_t* k) const
    {
        uint32_t fa, fr, fg, fb;
        if constexpr (kVertex && kTint)
        {
            fa = (static_cast<uint32_t>(mColor.a) * ColorChannel<kInRange>(k[0])) >> 24;
            fr = (static_cast<uint32_t>(mColor.r) * ColorChannel<kInRange>(k[1])) >> 24;
            fg = (static_cast<uint32_t>(mColor.g) * ColorChannel<kInRange>(k[2])) >> 24;
            fb = (static_cast<uint32_t>(mColor.b) * ColorChannel<kInRange>(k[3])) >> 24;
        }
        else if constexpr (kVertex)
        {
            fa = ColorChannel<kInRange>(k[0]) >> 16;
            fr = ColorChannel<kInRange>(k[1]) >> 16;
            fg = ColorChannel<kInRange>(k[2]) >> 16;
            fb = ColorChannel<kInRange>(k[3]) >> 16;
        }
        else
        {
            fa = static_cast<uint32_t>(mColor.a);
            fr = static_cast<uint32_t>(mColor.r);
            fg = static_cast<uint32_t>(mColor.g);
            fb = static_cast<uint32_t>(mColor.b);
        }
        const uint32_t shaded = ShadeColor(t, fr, fg, fb);
        const uint32_t coverage = (fa * (kBlend ? sampleAlpha : 255u)) >> 8;
        // A filtered sample carries the texel alphas already; it is weighted by the colour alpha
        // alone, and that weighted colour is what both paths store.
        const uint32_t out = kBilinear ? WeightColor(shaded, fa) : shaded;
        if (coverage >= kOpaqueAlpha)
            Format::WritePixelOpaque(pixel, out);
        else if constexpr (kBilinear)
            Format::BlendPixel(pixel, out, coverage);
        else
            Format::BlendPixelWeighting(pixel, shaded, coverage);
    }

    TriangleTexture mTexture;
    TriangleColor mColor;
};
// The colour factors (alpha, red, green, blue; 0..255) of a textured pixel, as both textured
// families derive them: vertex colours (already folded with the draw colour when tinted, which
// is applied once more here), the draw colour alone, or white.
template <bool kVertex, bool kTint, bool kInRange>
void TexelFactors(const TriangleColor& color, const int32_t* k, uint32_t (&f)[4])
{
    const int32_t channels[4] = {color.a, color.r, color.g, color.b};
    for (int i = 0; i < 4; ++i)
    {
        if constexpr (kVertex && kTint)
            f[i] = (static_cast<uint32_t>(channels[i]) * ColorChannel<kInRange>(k[i])) >> 24;
        else if constexpr (kVertex)
            f[i] = ColorChannel<kInRange>(k[i]) >> 16;
        else if constexpr (kTint)
            f[i] = static_cast<uint32_t>(channels[i]);
        else
            f[i] = 255;
    }
}

// Textured triangles drawn additively: each channel of the destination gains the sample's
// channel times its colour factor times the pixel's alpha (the sample's alpha times the alpha
// factor), saturating at full intensity; products over 255 are rounded. A filtered sample is
// already weighted by its texels' alphas, so only the alpha factor weights it. kIndex is the
// family's index: 1 bilinear filter, 2 draw-colour tint, 4 vertex colours.
template <class Format, int kIndex> struct AdditiveKernel
{
    static_assert(kIndex >= 0 && kIndex < 8);
    static constexpr bool kBilinear = (kIndex & 1) != 0;
    static constexpr bool kTint = (kIndex & 2) != 0;
    static constexpr bool kVertex = (kIndex & 4) != 0;
    static constexpr int kU = kVertex ? 4 : 0;

    using Pixel = typename Format::Pixel;
    static constexpr int kAttributes = kU + 2;
    static constexpr int kColorAttributes = kU;

    AdditiveKernel(const TriangleTexture* texture, const TriangleColor& color) : mTexture(*texture), mColor(color) {}

    void Load(const FixedVertex& v, int32_t* out) const
    {
        if constexpr (kVertex)
        {
            out[0] = kTint ? FoldColorChannel(v.a, mColor.a) : v.a;
            out[1] = kTint ? FoldColorChannel(v.r, mColor.r) : v.r;
            out[2] = kTint ? FoldColorChannel(v.g, mColor.g) : v.g;
            out[3] = kTint ? FoldColorChannel(v.b, mColor.b) : v.b;
        }
        out[kU] = v.u;
        out[kU + 1] = v.v;
    }

    template <bool kInRange> void Draw(Pixel* pixel, const int32_t* k) const
    {
        const uint32_t t = kBilinear ? FetchTexelBilinear(mTexture, k[kU], k[kU + 1])
                                     : FetchTexelPoint(mTexture, k[kU], k[kU + 1]);
        uint32_t f[4];
        TexelFactors<kVertex, kTint, kInRange>(mColor, k, f);
        const uint32_t weight = kBilinear ? f[0] : MulDiv255(f[0], t >> 24);
        auto add = [&](int shift, uint32_t factor) { return MulDiv255(MulDiv255((t >> shift) & 0xFF, factor), weight); };
        const uint32_t r = add(16, f[1]), g = add(8, f[2]), b = add(0, f[3]);
        // A pixel that gains nothing keeps every bit, also an unused top byte.
        if ((r | g | b) != 0)
            Format::AddPixel(pixel, r, g, b);
    }

    TriangleTexture mTexture;
    TriangleColor mColor;
};
} // namespace Quoll

#pragma once
// Per-pixel formulas of software drawing on 0xAARRGGBB words. All arithmetic is unsigned;
// divisions by 255 truncate.
#include "framework/display/AddTable.h"
#include "framework/display/Color.h"

#include <algorithm>
#include <cstdint>

namespace Quoll::PixelBlend
{
inline uint32_t Clamp255(int value)
{
    return static_cast<uint32_t>(std::clamp(value, 0, 255));
}

// Exact x / 255 for x < 2^16 * 255 by multiply and shift.
inline uint32_t Div255(uint32_t x)
{
    return static_cast<uint32_t>((static_cast<uint64_t>(x) * 0x80808081u) >> 39);
}

// Resulting alpha of colour alpha ea over destination alpha da.
inline uint32_t BlendAlpha(uint32_t ea, uint32_t da)
{
    return Div255((255 - da) * ea) + da;
}

// The colour's weight out of 256 for a result alpha newA (exact; skips the division over an
// opaque destination, the common case).
inline uint32_t BlendWeight(uint32_t ea, uint32_t newA)
{
    return newA == 255 ? ea : ea * 255 / newA;
}

// The normal blend: colour c (its alpha ignored) with effective alpha ea over d; red and blue
// as one pair, both weights applied before the shift. ea = 0 leaves d; ea = 255 replaces it.
inline uint32_t BlendFill(uint32_t d, uint32_t c, uint32_t ea)
{
    if (ea == 0)
        return d;
    if (ea >= 255)
        return (c & 0xFFFFFF) | 0xFF000000;
    const uint32_t newA = BlendAlpha(ea, d >> 24);
    const uint32_t w = BlendWeight(ea, newA);
    const uint32_t iw = 256 - w;
    const uint32_t rb = (((d & 0xFF00FF) * iw + (c & 0xFF00FF) * w) >> 8) & 0xFF00FF;
    const uint32_t g = (((d & 0xFF00) * iw + (c & 0xFF00) * w) >> 8) & 0xFF00;
    return newA << 24 | rb | g;
}

// The blit blend: each channel (d * (256 - w) >> 8) + (s * w >> 8), the terms shifted apart.
inline uint32_t BlendBlit(uint32_t d, uint32_t s, uint32_t ea)
{
    const uint32_t newA = BlendAlpha(ea, d >> 24);
    const uint32_t w = BlendWeight(ea, newA);
    const uint32_t iw = 256 - w;
    const uint32_t rb = ((((d & 0xFF00FF) * iw) >> 8) & 0xFF00FF) + ((((s & 0xFF00FF) * w) >> 8) & 0xFF00FF);
    const uint32_t g = ((((d & 0xFF00) * iw) >> 8) & 0xFF00) + ((((s & 0xFF00) * w) >> 8) & 0xFF00);
    return newA << 24 | rb | g;
}

// Over an opaque destination: weights sa and 256 - sa, alpha forced to 255.
inline uint32_t BlendOverOpaque(uint32_t d, uint32_t s, uint32_t sa)
{
    const uint32_t id = 256 - sa;
    const uint32_t rb = ((((d & 0xFF00FF) * id) >> 8) & 0xFF00FF) + ((((s & 0xFF00FF) * sa) >> 8) & 0xFF00FF);
    const uint32_t g = ((((d & 0xFF00) * id) >> 8) & 0xFF00) + ((((s & 0xFF00) * sa) >> 8) & 0xFF00);
    return 0xFF000000 | rb | g;
}

// A tint clamped to 0..255 per component.
struct Tint
{
    explicit Tint(const Color& color)
        : r(Clamp255(color.r)), g(Clamp255(color.g)), b(Clamp255(color.b)), a(Clamp255(color.a)),
          gray(r == g && g == b)
    {
    }
    uint32_t r, g, b, a;
    bool gray;
};

// The tinted blit blend of source pixel s (alpha sa) with tint t; ea = 0 leaves d.
inline uint32_t BlendTinted(uint32_t d, uint32_t s, const Tint& t)
{
    const uint32_t ea = Div255((s >> 24) * t.a);
    if (ea == 0)
        return d;
    const uint32_t newA = BlendAlpha(ea, d >> 24);
    const uint32_t w = BlendWeight(ea, newA);
    const uint32_t iw = 256 - w;
    auto channel = [&](int shift, uint32_t tc) {
        const uint32_t dc = (d >> shift) & 0xFF;
        const uint32_t sc = (s >> shift) & 0xFF;
        const uint32_t term = t.gray ? ((sc * t.r >> 8) * w >> 8) : (sc * w * tc >> 16);
        return ((dc * iw >> 8) + term) << shift;
    };
    return newA << 24 | channel(16, t.r) | channel(8, t.g) | channel(0, t.b);
}

// Additive: each channel addTable[d + add]; the destination alpha is kept.
inline uint32_t AddChannels(uint32_t d, uint32_t addR, uint32_t addG, uint32_t addB)
{
    return (d & 0xFF000000) | static_cast<uint32_t>(kAddTable[((d >> 16) & 0xFF) + addR]) << 16 |
           static_cast<uint32_t>(kAddTable[((d >> 8) & 0xFF) + addG]) << 8 | kAddTable[(d & 0xFF) + addB];
}
} // namespace Quoll::PixelBlend

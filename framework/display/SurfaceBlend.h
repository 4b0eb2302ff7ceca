#pragma once
// Per-pixel formulas of software drawing into a locked 16- or 32-bit surface. A 16-bit surface
// of 5-6-5 or 5-5-5 masks blends all three channels at once in the spread form (the pixel
// repeated in both halves of a word, masked so the channels have room, five-bit weights);
// other 16-bit masks and 32-bit surfaces blend per channel with the surface's masks.
#include "framework/platform/video/SoftDirectDraw.h"

#include <bit>
#include <cstdint>

namespace Quoll::SurfaceBlend
{
struct Layout
{
    int bits = 32;
    uint32_t rm = 0xFF0000, gm = 0xFF00, bm = 0xFF;
    uint32_t spread = 0; // 0x07E0F81F (5-6-5), 0x03E07C1F (5-5-5) or 0
    int rshift = 16, gshift = 8, bshift = 0;
    const int* radd = nullptr; // the display's saturation tables
    const int* gadd = nullptr;
    const int* badd = nullptr;
};

inline uint32_t Spread(uint32_t p, uint32_t mask)
{
    return ((p << 16) | p) & mask;
}

inline uint32_t Fold(uint32_t v)
{
    return (v | (v >> 16)) & 0xFFFF;
}

// Sum over channels of ((d & m) * f >> 8 & m).
inline uint32_t ScaleChannels(uint32_t d, uint32_t f, const Layout& l)
{
    auto c = [&](uint32_t m) { return static_cast<uint32_t>((uint64_t{d & m} * f >> 8) & m); };
    return c(l.rm) | c(l.gm) | c(l.bm);
}

// d keeps 256 - a of itself and gets the premultiplied entry s on top.
inline uint32_t KeepAndAdd(uint32_t d, uint32_t s, uint32_t f, const Layout& l)
{
    if (l.bits == 32)
        return (((d & 0xFF00) * f >> 8) & 0xFF00) + (((d & 0xFF00FF) * f >> 8) & 0xFF00FF) + s;
    if (l.spread != 0)
        return Fold((Spread(d, l.spread) * (f >> 3) >> 5) & l.spread) + s;
    return ScaleChannels(d, f, l) + s;
}

// The single-factor colourised blend: (d * f + s * k) >> 8.
inline uint32_t KeepAndAddScaled(uint32_t d, uint32_t s, uint32_t f, uint32_t k, const Layout& l)
{
    if (l.bits == 32)
        return ((((d & 0xFF00FF) * f + (s & 0xFF00FF) * k) >> 8) & 0xFF00FF) |
               ((((d & 0xFF00) * f + (s & 0xFF00) * k) >> 8) & 0xFF00);
    if (l.spread != 0)
        return Fold(((Spread(s, l.spread) * (k >> 3) + Spread(d, l.spread) * (f >> 3)) >> 5) & l.spread);
    auto c = [&](uint32_t m) {
        return static_cast<uint32_t>(((uint64_t{d & m} * f + uint64_t{s & m} * k) >> 8) & m);
    };
    return c(l.rm) | c(l.gm) | c(l.bm);
}

// The same with a factor per channel.
inline uint32_t KeepAndAddTinted(uint32_t d, uint32_t s, uint32_t f, uint32_t kr, uint32_t kg, uint32_t kb,
                                 const Layout& l)
{
    auto c = [&](uint32_t m, uint32_t k) {
        return static_cast<uint32_t>(((uint64_t{d & m} * f + uint64_t{s & m} * k) >> 8) & m);
    };
    return c(l.rm, kr) | c(l.gm, kg) | c(l.bm, kb);
}

// s scaled by k (an opaque tinted pixel).
inline uint32_t ScaleSingle(uint32_t s, uint32_t k, const Layout& l)
{
    if (l.bits == 32)
        return (((s & 0xFF00FF) * k >> 8) & 0xFF00FF) + (((s & 0xFF00) * k >> 8) & 0xFF00);
    if (l.spread != 0)
        return Fold((Spread(s, l.spread) * (k >> 3) >> 5) & l.spread);
    return ScaleChannels(s, k, l);
}

inline uint32_t ScaleTinted(uint32_t s, uint32_t kr, uint32_t kg, uint32_t kb, const Layout& l)
{
    auto c = [&](uint32_t m, uint32_t k) { return static_cast<uint32_t>((uint64_t{s & m} * k >> 8) & m); };
    return c(l.rm, kr) | c(l.gm, kg) | c(l.bm, kb);
}

// Additive: each channel saturated through the display's tables.
inline uint32_t AddPlain(uint32_t d, uint32_t s, const Layout& l)
{
    auto c = [&](uint32_t m, int shift, const int* table) {
        return static_cast<uint32_t>(table[((d & m) + (s & m)) >> shift]) << shift;
    };
    return c(l.rm, l.rshift, l.radd) | c(l.gm, l.gshift, l.gadd) | c(l.bm, l.bshift, l.badd);
}

inline uint32_t AddTinted(uint32_t d, uint32_t s, uint32_t kr, uint32_t kg, uint32_t kb, const Layout& l)
{
    auto c = [&](uint32_t m, int shift, const int* table, uint32_t k) {
        return static_cast<uint32_t>(table[(((s & m) >> shift) * k >> 8) + ((d & m) >> shift)]) << shift;
    };
    return c(l.rm, l.rshift, l.radd, kr) | c(l.gm, l.gshift, l.gadd, kg) | c(l.bm, l.bshift, l.badd, kb);
}

// The layout of a locked surface, with the display's saturation tables.
inline Layout MakeLayout(const Platform::SurfaceDesc& desc, const int* radd, const int* gadd, const int* badd)
{
    Layout l;
    l.bits = desc.format.bitCount;
    l.rm = desc.format.redMask;
    l.gm = desc.format.greenMask;
    l.bm = desc.format.blueMask;
    if (l.bits == 16 && l.gm == 0x7E0)
        l.spread = 0x07E0F81F;
    else if (l.bits == 16 && l.gm == 0x3E0)
        l.spread = 0x03E07C1F;
    l.rshift = l.rm != 0 ? std::countr_zero(l.rm) : 0;
    l.gshift = l.gm != 0 ? std::countr_zero(l.gm) : 0;
    l.bshift = l.bm != 0 ? std::countr_zero(l.bm) : 0;
    l.radd = radd;
    l.gadd = gadd;
    l.badd = badd;
    return l;
}

// Row access of a locked surface.
template <typename P> P* RowOf(const Platform::SurfaceDesc& desc, int y)
{
    return reinterpret_cast<P*>(desc.pixels + static_cast<ptrdiff_t>(y) * desc.pitch);
}
} // namespace Quoll::SurfaceBlend

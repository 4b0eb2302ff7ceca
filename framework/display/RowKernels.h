#pragma once
// Row kernels of the plain, stretched and rotated blits, in sets of one vector width each: SSE2 (four
// pixels a step) and AVX2 (eight, only where the processor has it). Each kernel does whole
// groups from the start of the row and answers how many pixels it did; it stops early at a group
// it cannot do exactly (a blend over a destination pixel that is not opaque), and the caller
// draws that group and the tail with the per-pixel formulas, then calls it again.
#include <cstdint>

namespace Quoll::RowKernels
{
// One row of a rotated bilinear blit over a plain (not palettized) source. Positions are 16.16
// and every sample of the row, with its right and lower neighbours, lies inside the source.
struct RotatedRow
{
    const uint32_t* texels; // the source region's first pixel
    int32_t stride;         // source pixels per row
    int32_t u, v;           // position of the row's first pixel
    int32_t du, dv;         // step per pixel
    bool additive;
    bool white;
    uint32_t tintA;       // the weights' tint alpha, 256 for none
    uint32_t tr, tg, tb;  // the sums' tint (normal) or the added channels' tint (additive)
};

struct Kernels
{
    int pixels; // pixels a step
    // Copies all n pixels as they are (and answers n); src and dst must not overlap.
    int (*copy)(const uint32_t* src, uint32_t* dst, int n);
    // Per pixel: a source of alpha 0 leaves d, of alpha 255 replaces it, others blend
    // (PixelBlend::BlendFill with the source alpha).
    int (*blendFill)(const uint32_t* src, uint32_t* dst, int n);
    // Per pixel: the weighted bilinear sample, then the normal or additive composite.
    int (*rotated)(const RotatedRow& row, uint32_t* dst, int n);
};

// Null where the build keeps to the portable forms.
const Kernels* Sse2Kernels();
// Null where the processor lacks AVX2 or the build keeps to the portable forms.
const Kernels* Avx2Kernels();
// The widest set the machine runs, or null.
const Kernels* Widest();
// The set the blits use: the widest unless another (or null, the per-pixel formulas alone) was
// set, as the tests do to check each set against the same references.
const Kernels* Active();
void SetActive(const Kernels* kernels);
} // namespace Quoll::RowKernels

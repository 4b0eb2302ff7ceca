#pragma once
// Generates the 32 table entries of one destination format from the walk and the kernels.
// Each format group is instantiated in its own source file.
#include "framework/rasteriser/PixelFormats.h"
#include "framework/rasteriser/TriangleKernels.h"
#include "framework/rasteriser/TriangleRecords.h"
#include "framework/rasteriser/TriangleSpanTable.h"
#include "framework/rasteriser/TriangleWalk.h"

#include <type_traits>
#include <utility>

namespace Quoll
{
// The entry for untextured flag sets without vertex colours: nothing to draw.
void DrawNothing(const FixedVertex*, uint8_t*, int32_t, const TriangleTexture*, const TriangleColor*);

namespace Detail
{
template <class Format, int... kIndex>
void FillAdditiveEntries(TriangleSpanFunc* group, std::integer_sequence<int, kIndex...>)
{
    ((group[kIndex] = &DrawTriangle<AdditiveKernel<Format, kIndex>>), ...);
}

template <class Format, int... kIndex>
void FillTexturedEntries(TriangleSpanFunc* group, std::integer_sequence<int, kIndex...>)
{
    ((group[16 + kIndex] = &DrawTriangle<TexturedKernel<Format, 16 + kIndex>>), ...);
}
} // namespace Detail

template <class Format> void FillTriangleSpanGroup(TriangleSpanFunc* group)
{
    for (int index : {0, 1, 2, 3, 8, 9, 10, 11})
        group[index] = &DrawNothing;
    // Blend and filter make no difference without a texture.
    for (int index : {4, 5, 12, 13})
        group[index] = &DrawTriangle<VertexColorKernel<Format, false>>;
    for (int index : {6, 7, 14, 15})
        group[index] = &DrawTriangle<VertexColorKernel<Format, true>>;
    Detail::FillTexturedEntries<Format>(group, std::make_integer_sequence<int, 16>{});
    // The plain textured entries never read the destination and store 0xFF in the top byte,
    // which is right for both 32-bit formats: they share one function each.
    if constexpr (Format::kCode == PixelFormat888::kCode)
    {
        group[16] = &DrawTriangle<TexturedKernel<PixelFormat8888, 16>>;
        group[17] = &DrawTriangle<TexturedKernel<PixelFormat8888, 17>>;
    }
}

// The 8 entries of the additive family of one destination format.
template <class Format> void FillTriangleAddGroup(TriangleSpanFunc* group)
{
    Detail::FillAdditiveEntries<Format>(group, std::make_integer_sequence<int, kTriangleAddGroupSize>{});
}

extern template void FillTriangleSpanGroup<PixelFormat8888>(TriangleSpanFunc*);
extern template void FillTriangleAddGroup<PixelFormat8888>(TriangleSpanFunc*);
extern template void FillTriangleSpanGroup<PixelFormat888>(TriangleSpanFunc*);
extern template void FillTriangleAddGroup<PixelFormat888>(TriangleSpanFunc*);
extern template void FillTriangleSpanGroup<PixelFormat565>(TriangleSpanFunc*);
extern template void FillTriangleAddGroup<PixelFormat565>(TriangleSpanFunc*);
extern template void FillTriangleSpanGroup<PixelFormat555>(TriangleSpanFunc*);
extern template void FillTriangleAddGroup<PixelFormat555>(TriangleSpanFunc*);
} // namespace Quoll

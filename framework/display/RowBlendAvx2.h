#pragma once
// The plain blits' widest row kernels: the alpha blend over opaque pixels and the additive row
// of RowBlend.h, eight pixels at a time in AVX2 lanes, with the same results. Built in a file of
// their own with AVX2 code generation and handed out only where the processor runs AVX2.
#include <cstdint>

namespace Quoll::RowBlend
{
struct WideRows
{
    // Each works on the first n & ~7 pixels and answers how many it did.
    int (*blendOverOpaque)(const uint32_t* src, uint32_t* dst, int n);
    int (*addRow)(const uint32_t* src, uint32_t* dst, int n, bool white, bool weighByAlpha, bool skipClear, uint32_t tr,
                  uint32_t tg, uint32_t tb);
};

// Null where the processor lacks AVX2 or the build keeps to the portable forms.
const WideRows* Avx2Rows();
} // namespace Quoll::RowBlend

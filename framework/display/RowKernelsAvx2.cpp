// The AVX2 set of the stretched and rotated blits' row kernels. This file alone is compiled for
// AVX2 (see CMakeLists.txt) and uses no inline function of another header.
#include "framework/display/RowKernels.h"

#if defined(__AVX2__) && !defined(QUOLL_SCALAR_FALLBACK)
#include <immintrin.h>

namespace Quoll::RowKernels
{
namespace
{
struct Avx2
{
    using R = __m256i;
    static constexpr int kPixels = 8;

    static R Load(const uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static void Store(uint32_t* p, R v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
    static R Set1(uint32_t x) { return _mm256_set1_epi32(static_cast<int>(x)); }
    static R Ramp(int32_t step)
    {
        return _mm256_mullo_epi32(_mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7), _mm256_set1_epi32(step));
    }
    static R Zero() { return _mm256_setzero_si256(); }
    static R And(R a, R b) { return _mm256_and_si256(a, b); }
    static R AndNot(R a, R b) { return _mm256_andnot_si256(a, b); }
    static R Or(R a, R b) { return _mm256_or_si256(a, b); }
    static R Add32(R a, R b) { return _mm256_add_epi32(a, b); }
    static R Sub32(R a, R b) { return _mm256_sub_epi32(a, b); }
    static R Mullo32(R a, R b) { return _mm256_mullo_epi32(a, b); }
    template <int N> static R Srli32(R a) { return _mm256_srli_epi32(a, N); }
    template <int N> static R Srai32(R a) { return _mm256_srai_epi32(a, N); }
    template <int N> static R Slli32(R a) { return _mm256_slli_epi32(a, N); }
    static R CmpEq32(R a, R b) { return _mm256_cmpeq_epi32(a, b); }
    static R CmpGt32(R a, R b) { return _mm256_cmpgt_epi32(a, b); }
    static R Select(R mask, R a, R b) { return _mm256_blendv_epi8(b, a, mask); }
    static bool AllSet(R mask) { return _mm256_movemask_epi8(mask) == -1; }
    static bool NoneSet(R mask) { return _mm256_testz_si256(mask, mask) != 0; }
    static R Add16(R a, R b) { return _mm256_add_epi16(a, b); }
    static R Sub16(R a, R b) { return _mm256_sub_epi16(a, b); }
    static R Mullo16(R a, R b) { return _mm256_mullo_epi16(a, b); }
    template <int N> static R Srli16(R a) { return _mm256_srli_epi16(a, N); }
    template <int N> static R Slli16(R a) { return _mm256_slli_epi16(a, N); }
    static R AddsU8(R a, R b) { return _mm256_adds_epu8(a, b); }
    static R Gather(const uint32_t* base, R index)
    {
        return _mm256_i32gather_epi32(reinterpret_cast<const int*>(base), index, 4);
    }
};

#include "framework/display/RowKernelsSimd.inc"

constexpr Kernels kAvx2{Avx2::kPixels, CopyRow<Avx2>, BlendFillRow<Avx2>, RotatedRow<Avx2>};
} // namespace

const Kernels* Avx2Kernels()
{
    static const bool runs = __builtin_cpu_supports("avx2");
    return runs ? &kAvx2 : nullptr;
}
} // namespace Quoll::RowKernels
#else
namespace Quoll::RowKernels
{
const Kernels* Avx2Kernels()
{
    return nullptr;
}
} // namespace Quoll::RowKernels
#endif

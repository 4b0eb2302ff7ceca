// The SSE2 set of the stretched and rotated blits' row kernels, and the choice of the widest set.
#include "framework/display/RowKernels.h"

#include <atomic>

#if defined(__SSE2__) && !defined(QUOLL_SCALAR_FALLBACK)
#include <emmintrin.h>

namespace Quoll::RowKernels
{
namespace
{
struct Sse2
{
    using R = __m128i;
    static constexpr int kPixels = 4;

    static R Load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static void Store(uint32_t* p, R v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
    static R Set1(uint32_t x) { return _mm_set1_epi32(static_cast<int>(x)); }
    static R Ramp(int32_t step) { return _mm_setr_epi32(0, step, 2 * step, 3 * step); }
    static R Zero() { return _mm_setzero_si128(); }
    static R And(R a, R b) { return _mm_and_si128(a, b); }
    static R AndNot(R a, R b) { return _mm_andnot_si128(a, b); }
    static R Or(R a, R b) { return _mm_or_si128(a, b); }
    static R Add32(R a, R b) { return _mm_add_epi32(a, b); }
    static R Sub32(R a, R b) { return _mm_sub_epi32(a, b); }
    // The low 32 bits of each product from the two even and the two odd 64-bit products.
    static R Mullo32(R a, R b)
    {
        const R even = _mm_mul_epu32(a, b);
        const R odd = _mm_mul_epu32(_mm_srli_si128(a, 4), _mm_srli_si128(b, 4));
        return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                                  _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
    }
    template <int N> static R Srli32(R a) { return _mm_srli_epi32(a, N); }
    template <int N> static R Srai32(R a) { return _mm_srai_epi32(a, N); }
    template <int N> static R Slli32(R a) { return _mm_slli_epi32(a, N); }
    static R CmpEq32(R a, R b) { return _mm_cmpeq_epi32(a, b); }
    static R CmpGt32(R a, R b) { return _mm_cmpgt_epi32(a, b); }
    static R Select(R mask, R a, R b) { return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b)); }
    static bool AllSet(R mask) { return _mm_movemask_epi8(mask) == 0xFFFF; }
    static bool NoneSet(R mask) { return _mm_movemask_epi8(mask) == 0; }
    static R Add16(R a, R b) { return _mm_add_epi16(a, b); }
    static R Sub16(R a, R b) { return _mm_sub_epi16(a, b); }
    static R Mullo16(R a, R b) { return _mm_mullo_epi16(a, b); }
    template <int N> static R Srli16(R a) { return _mm_srli_epi16(a, N); }
    template <int N> static R Slli16(R a) { return _mm_slli_epi16(a, N); }
    static R AddsU8(R a, R b) { return _mm_adds_epu8(a, b); }
    static R Gather(const uint32_t* base, R index)
    {
        alignas(16) int32_t at[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(at), index);
        return _mm_setr_epi32(static_cast<int>(base[at[0]]), static_cast<int>(base[at[1]]),
                              static_cast<int>(base[at[2]]), static_cast<int>(base[at[3]]));
    }
};

#include "framework/display/RowKernelsSimd.inc"

constexpr Kernels kSse2{Sse2::kPixels, CopyRow<Sse2>, BlendFillRow<Sse2>, RotatedRow<Sse2>};
} // namespace

const Kernels* Sse2Kernels()
{
    return &kSse2;
}
} // namespace Quoll::RowKernels
#else
namespace Quoll::RowKernels
{
const Kernels* Sse2Kernels()
{
    return nullptr;
}
} // namespace Quoll::RowKernels
#endif

namespace Quoll::RowKernels
{
const Kernels* Widest()
{
    static const Kernels* const widest = Avx2Kernels() != nullptr ? Avx2Kernels() : Sse2Kernels();
    return widest;
}

namespace
{
std::atomic<const Kernels*>& ActiveSlot()
{
    static std::atomic<const Kernels*> slot{Widest()};
    return slot;
}
} // namespace

const Kernels* Active()
{
    return ActiveSlot().load(std::memory_order_relaxed);
}

void SetActive(const Kernels* kernels)
{
    ActiveSlot().store(kernels, std::memory_order_relaxed);
}
} // namespace Quoll::RowKernels

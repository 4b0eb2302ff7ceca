// The span kernels in AVX2 lanes, 8 pixels at once. This file alone is compiled with AVX2 code
// generation (see CMakeLists.txt); it defines nothing outside its anonymous namespace but the
// accessor, which hands out the set only when the processor runs AVX2, and it uses no library
// templates whose copies another file could share.
#include "framework/platform/video/SpanKernels.h"

#if defined(__AVX2__) && !defined(QUOLL_SCALAR_FALLBACK)
#include <immintrin.h>

#include <cstddef>

namespace Quoll::Platform
{
namespace
{
struct Avx2
{
    using R = __m256i;
    static constexpr int kPixels = 8;

    static R Load(const uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static void Store(uint32_t* p, R v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
    // Partial groups in 128-bit pieces: masked moves are slow on some processors.
    static __m128i LoadQuarter(const uint32_t* p, int n)
    {
        const __m128i first = _mm_cvtsi32_si128(static_cast<int>(p[0]));
        if (n == 1)
            return first;
        const __m128i pair = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
        return n == 2 ? pair : _mm_unpacklo_epi64(pair, _mm_cvtsi32_si128(static_cast<int>(p[2])));
    }
    static void StoreQuarter(uint32_t* p, __m128i v, int n)
    {
        if (n == 1)
        {
            p[0] = static_cast<uint32_t>(_mm_cvtsi128_si32(v));
            return;
        }
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
        if (n == 3)
            p[2] = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(v, 8)));
    }
    static R LoadPartial(const uint32_t* p, int n)
    {
        if (n < 4)
            return _mm256_zextsi128_si256(LoadQuarter(p, n));
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i high = n == 4 ? _mm_setzero_si128() : LoadQuarter(p + 4, n - 4);
        return _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
    }
    static void StorePartial(uint32_t* p, R v, int n)
    {
        if (n < 4)
        {
            StoreQuarter(p, _mm256_castsi256_si128(v), n);
            return;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm256_castsi256_si128(v));
        if (n > 4)
            StoreQuarter(p + 4, _mm256_extracti128_si256(v, 1), n - 4);
    }
    static R Set1(int32_t v) { return _mm256_set1_epi32(v); }
    static R Set1x16(int v) { return _mm256_set1_epi16(static_cast<short>(v)); }
    static R Zero() { return _mm256_setzero_si256(); }
    static R Add32(R a, R b) { return _mm256_add_epi32(a, b); }
    static R Sub32(R a, R b) { return _mm256_sub_epi32(a, b); }
    static bool AllEqual32(R a, R b) { return _mm256_movemask_epi8(_mm256_cmpeq_epi32(a, b)) == -1; }
    static R And(R a, R b) { return _mm256_and_si256(a, b); }
    static R Or(R a, R b) { return _mm256_or_si256(a, b); }
    template <int N> static R Srai32(R a) { return _mm256_srai_epi32(a, N); }
    template <int N> static R Slli32(R a) { return _mm256_slli_epi32(a, N); }
    static R Clamp32(R a, int high) { return _mm256_min_epi32(_mm256_max_epi32(a, Zero()), _mm256_set1_epi32(high)); }
    static R Ramp(int32_t step)
    {
        return _mm256_mullo_epi32(_mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7), _mm256_set1_epi32(step));
    }
    static R Fetch(const uint32_t* texels, int width, R x, R y)
    {
        const R index = _mm256_add_epi32(_mm256_mullo_epi32(y, _mm256_set1_epi32(width)), x);
        return _mm256_i32gather_epi32(reinterpret_cast<const int*>(texels), index, 4);
    }
    static void FetchPairs(const uint32_t* texels, int width, R x, R y, R& left, R& right)
    {
        const R index = _mm256_add_epi32(_mm256_mullo_epi32(y, _mm256_set1_epi32(width)), x);
        const auto* base = reinterpret_cast<const long long*>(texels);
        // Pixels 0-3 and 4-7 as l r pairs, then l l r r within each half.
        const R first = _mm256_shuffle_epi32(
            _mm256_i32gather_epi64(base, _mm256_castsi256_si128(index), 4), 0xD8);
        const R second = _mm256_shuffle_epi32(
            _mm256_i32gather_epi64(base, _mm256_extracti128_si256(index, 1), 4), 0xD8);
        // Quarters (l0 l1) (r0 r1) (l2 l3) (r2 r3) -> (l0 l1) (l2 l3) (r0 r1) (r2 r3).
        const R a = _mm256_permute4x64_epi64(first, 0xD8), b = _mm256_permute4x64_epi64(second, 0xD8);
        left = _mm256_permute2x128_si256(a, b, 0x20);
        right = _mm256_permute2x128_si256(a, b, 0x31);
    }
    static R CmpGt32(R a, R b) { return _mm256_cmpgt_epi32(a, b); }
    static R Select(R mask, R a, R b) { return _mm256_blendv_epi8(b, a, mask); }
    static R WidenLo(R a) { return _mm256_unpacklo_epi8(a, Zero()); }
    static R WidenHi(R a) { return _mm256_unpackhi_epi8(a, Zero()); }
    static R SpreadLo(R a) { return _mm256_unpacklo_epi32(a, a); }
    static R SpreadHi(R a) { return _mm256_unpackhi_epi32(a, a); }
    static R AlphaLanes(R a) { return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(a, 0xFF), 0xFF); }
    static R Mullo16(R a, R b) { return _mm256_mullo_epi16(a, b); }
    static R Add16(R a, R b) { return _mm256_add_epi16(a, b); }
    static R Sub16(R a, R b) { return _mm256_sub_epi16(a, b); }
    template <int N> static R Srli16(R a) { return _mm256_srli_epi16(a, N); }
    static R Packus16(R a, R b) { return _mm256_packus_epi16(a, b); }
    static R Packs32(R a, R b) { return _mm256_packs_epi32(a, b); }
    static R ShiftBytes8(R a) { return _mm256_srli_si256(a, 8); }
    static R UnpackLo8(R a, R b) { return _mm256_unpacklo_epi8(a, b); }
    static R AddsU8(R a, R b) { return _mm256_adds_epu8(a, b); }
};

#include "framework/platform/video/SpanKernelsSimd.inc"

constexpr SpanKernels kAvx2{"avx2",
                            8,
                            ShadeSpanLanes<Avx2>,
                            ReplaceLanes<Avx2>,
                            NormalLanes<Avx2>,
                            AdditiveLanes<Avx2>,
                            ModulateLanes<Avx2>,
                            ShadeBlendLanes<Avx2>};
} // namespace

const SpanKernels* Avx2SpanKernels()
{
    static const bool runs = __builtin_cpu_supports("avx2");
    return runs ? &kAvx2 : nullptr;
}
} // namespace Quoll::Platform
#else
namespace Quoll::Platform
{
const SpanKernels* Avx2SpanKernels()
{
    return nullptr;
}
} // namespace Quoll::Platform
#endif

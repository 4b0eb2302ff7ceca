// AVX2 forms of RowBlend's row kernels. This file alone is compiled for AVX2 (see
// CMakeLists.txt); it uses no inline function of another header, so that no copy built for AVX2
// can stand in for one another file uses.
#include "framework/display/RowBlendAvx2.h"

#if defined(__AVX2__) && !defined(QUOLL_SCALAR_FALLBACK)
#include <immintrin.h>

namespace Quoll::RowBlend
{
namespace
{
__m256i Load(const uint32_t* p)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

void Store(uint32_t* p, __m256i v)
{
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

// RowBlend::BlendOverOpaque: red and blue (masked) and green and alpha (shifted) in 16-bit lanes.
int BlendOverOpaque(const uint32_t* src, uint32_t* dst, int n)
{
    const __m256i k256 = _mm256_set1_epi16(256);
    const __m256i low = _mm256_set1_epi32(0x00FF00FF);
    const __m256i opaque = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    int i = 0;
    for (; i + 8 <= n; i += 8)
    {
        const __m256i s = Load(src + i);
        const __m256i isOpaque = _mm256_cmpeq_epi32(_mm256_and_si256(s, opaque), opaque);
        if (_mm256_movemask_epi8(isOpaque) == -1)
        {
            Store(dst + i, s);
            continue;
        }
        if (_mm256_testz_si256(s, opaque))
            continue; // all clear
        const __m256i d = Load(dst + i);
        const __m256i a1 = _mm256_srli_epi32(s, 24);
        const __m256i a = _mm256_or_si256(a1, _mm256_slli_epi32(a1, 16));
        const __m256i ia = _mm256_sub_epi16(k256, a);
        const __m256i rb =
            _mm256_add_epi16(_mm256_srli_epi16(_mm256_mullo_epi16(_mm256_and_si256(d, low), ia), 8),
                             _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_and_si256(s, low), a), 8));
        const __m256i ga = _mm256_add_epi16(_mm256_srli_epi16(_mm256_mullo_epi16(_mm256_srli_epi16(d, 8), ia), 8),
                                            _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_srli_epi16(s, 8), a), 8));
        const __m256i blended = _mm256_or_si256(_mm256_or_si256(rb, _mm256_slli_epi16(ga, 8)), opaque);
        Store(dst + i, _mm256_blendv_epi8(blended, s, isOpaque));
    }
    return i;
}

// RowBlend::AddRow.
int AddRow(const uint32_t* src, uint32_t* dst, int n, bool white, bool weighByAlpha, bool skipClear, uint32_t tr,
           uint32_t tg, uint32_t tb)
{
    const __m256i low = _mm256_set1_epi32(0x00FF00FF);
    const __m256i alphaByte = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    const __m256i greenOnly = _mm256_set1_epi32(0x000000FF);
    const __m256i tintRB = _mm256_set1_epi32(static_cast<int>(tr << 16 | tb));
    const __m256i tintG = _mm256_set1_epi32(static_cast<int>(tg));
    int i = 0;
    for (; i + 8 <= n; i += 8)
    {
        const __m256i s = Load(src + i);
        if (skipClear && _mm256_testz_si256(s, alphaByte))
            continue;
        __m256i rb = _mm256_and_si256(s, low);
        __m256i ga = _mm256_and_si256(_mm256_srli_epi16(s, 8), greenOnly);
        if (!white)
        {
            rb = _mm256_srli_epi16(_mm256_mullo_epi16(rb, tintRB), 8);
            ga = _mm256_srli_epi16(_mm256_mullo_epi16(ga, tintG), 8);
        }
        if (weighByAlpha)
        {
            const __m256i a1 = _mm256_srli_epi32(s, 24);
            const __m256i a = _mm256_or_si256(a1, _mm256_slli_epi32(a1, 16));
            rb = _mm256_srli_epi16(_mm256_mullo_epi16(rb, a), 8);
            ga = _mm256_srli_epi16(_mm256_mullo_epi16(ga, a), 8);
        }
        __m256i add = _mm256_or_si256(rb, _mm256_slli_epi16(ga, 8));
        if (skipClear)
            add = _mm256_andnot_si256(_mm256_cmpeq_epi32(_mm256_and_si256(s, alphaByte), _mm256_setzero_si256()), add);
        Store(dst + i, _mm256_adds_epu8(Load(dst + i), add));
    }
    return i;
}

constexpr WideRows kRows{BlendOverOpaque, AddRow};
} // namespace

const WideRows* Avx2Rows()
{
    static const bool runs = __builtin_cpu_supports("avx2");
    return runs ? &kRows : nullptr;
}
} // namespace Quoll::RowBlend
#else
namespace Quoll::RowBlend
{
const WideRows* Avx2Rows()
{
    return nullptr;
}
} // namespace Quoll::RowBlend
#endif

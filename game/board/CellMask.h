#pragma once
// Turns 64 cell words into a 64-bit mask: bit i is set when (word i AND select) equals value.
// Every board query is one or two of these. The SSE2 form packs 16 comparisons into one
// byte mask per step; the plain loop is the reference the tests compare it with, and the path
// used where SSE2 is missing.
#include <array>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using CellWords = std::array<uint32_t, 64>;

inline uint64_t CellMaskPlain(const CellWords& words, uint32_t select, uint32_t value)
{
    uint64_t bits = 0;
    for (int i = 0; i < 64; ++i)
        bits |= static_cast<uint64_t>((words[static_cast<size_t>(i)] & select) == value) << i;
    return bits;
}

inline uint64_t CellMask(const CellWords& words, uint32_t select, uint32_t value)
{
#if defined(__SSE2__)
    const __m128i selectLanes = _mm_set1_epi32(static_cast<int>(select));
    const __m128i valueLanes = _mm_set1_epi32(static_cast<int>(value));
    auto compare = [&](size_t at) {
        const __m128i lanes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(words.data() + at));
        return _mm_cmpeq_epi32(_mm_and_si128(lanes, selectLanes), valueLanes);
    };
    uint64_t bits = 0;
    for (size_t at = 0; at < 64; at += 16)
    {
        // All-ones or all-zero lanes survive the saturating packs unchanged.
        const __m128i low = _mm_packs_epi32(compare(at), compare(at + 4));
        const __m128i high = _mm_packs_epi32(compare(at + 8), compare(at + 12));
        const auto chunk = static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(low, high)));
        bits |= static_cast<uint64_t>(chunk) << at;
    }
    return bits;
#else
    return CellMaskPlain(words, select, value);
#endif
}

#pragma once
// 16.16 fixed-point helpers of the triangle walk. Wrapping arithmetic is done in unsigned types,
// so that overflow is defined; products are formed in 64 bits and shifted arithmetically
// (rounding toward minus infinity); reciprocals truncate toward zero.
#include <cstdint>

namespace Quoll
{
constexpr int32_t kFixedOne = 65536;

// a + b modulo 2^32.
constexpr int32_t FixedAdd(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// (a * b) >> shift: the low 64 bits of the product, shifted arithmetically, low 32 bits kept.
constexpr int32_t FixedMulShift(int64_t a, int64_t b, int shift)
{
    uint64_t product = static_cast<uint64_t>(a) * static_cast<uint64_t>(b);
    return static_cast<int32_t>(static_cast<int64_t>(product) >> shift);
}

// 2^48 / d truncated toward zero; d must not be 0.
constexpr int64_t FixedReciprocal(int64_t d)
{
    return (int64_t{1} << 48) / d;
}

// The smallest whole number not below v / 65536.
constexpr int32_t FixedCeil(int64_t v)
{
    return static_cast<int32_t>((v + 0xFFFF) >> 16);
}

// The whole-number part of a 16.16 value, rounded toward minus infinity, fraction bits clear.
constexpr int32_t FixedFloor(int32_t v)
{
    return static_cast<int32_t>(static_cast<uint32_t>(v) & 0xFFFF0000u);
}
} // namespace Quoll

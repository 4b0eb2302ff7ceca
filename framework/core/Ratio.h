#pragma once
// A fraction of two integers kept reduced by their greatest common divisor.
#include <cstdint>

namespace Quoll
{
struct Ratio
{
    int32_t mNumerator = 1;
    int32_t mDenominator = 1;

    Ratio() = default;
    Ratio(int32_t numerator, int32_t denominator) { Set(numerator, denominator); }

    // Stores both divided by their divisor (Euclid with truncating remainder, so the signs
    // follow the inputs); (n, 0) stores 1/0 for n > 0 and (0, 0) stores 0/1.
    void Set(int32_t numerator, int32_t denominator);

    bool operator==(const Ratio&) const = default;
};
} // namespace Quoll

#pragma once
// Conversions toward zero that never overflow: where scene code truncates a float to an integer,
// NaN gives 0 and values beyond the target's range give its nearest end, instead of the undefined
// result of a plain cast.
#include <cmath>
#include <cstdint>
#include <limits>

// trunc(value) as an int, saturated at INT_MIN and INT_MAX; NaN gives 0.
[[nodiscard]] inline int TruncToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

// trunc(value) as an unsigned 32-bit value, saturated at 0 and UINT32_MAX; NaN gives 0.
[[nodiscard]] inline uint32_t TruncToUnsigned(double value)
{
    if (std::isnan(value) || value <= 0.0)
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<uint32_t>::max()))
        return std::numeric_limits<uint32_t>::max();
    return static_cast<uint32_t>(value);
}

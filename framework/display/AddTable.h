#pragma once
// The saturating add table of additive drawing: entry i is min(i, 255) for i in 0..511.
#include <array>
#include <cstddef>
#include <cstdint>

namespace Quoll
{
inline constexpr std::array<uint8_t, 512> kAddTable = [] {
    std::array<uint8_t, 512> table{};
    for (int i = 0; i < 512; ++i)
        table[static_cast<size_t>(i)] = static_cast<uint8_t>(i < 255 ? i : 255);
    return table;
}();
} // namespace Quoll

#pragma once
// The framework's two hand cursors as 32 x 32 monochrome masks (rows of 4 bytes, most
// significant bit first; AND 0 with XOR 0 paints black, with XOR 1 white; AND 1 with XOR 0
// leaves the screen): a pointing hand with the index finger up, hot spot at the fingertip, and
// an open hand, hot spot in the palm. Black outline, white fill.
#include <cstdint>
#include <vector>

namespace Quoll
{
struct MonochromeCursor
{
    static constexpr int kSize = 32;
    int hotX = 0, hotY = 0;
    std::vector<uint8_t> andMask, xorMask;
};

MonochromeCursor PointingHandCursor();
MonochromeCursor OpenHandCursor();
} // namespace Quoll

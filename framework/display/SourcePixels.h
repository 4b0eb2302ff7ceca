#pragma once
// Read access to the pixels of a blit's source image, palettized or not, without converting it.
#include "framework/display/MemoryImage.h"

#include <cstddef>
#include <cstdint>

namespace Quoll
{
struct BitsReader
{
    const uint32_t* bits;
    uint32_t operator[](size_t i) const { return bits[i]; }
};

struct PaletteReader
{
    const uint32_t* palette;
    const uint8_t* indices;
    uint32_t operator[](size_t i) const { return palette[indices[i]]; }
};

// Calls body(reader) with the reader that fits the source; false when it has no pixels.
template <typename Body> bool WithSourcePixels(MemoryImage& source, Body body)
{
    if (source.mPalette && source.mPaletteIndices)
    {
        body(PaletteReader{source.mPalette.get(), source.mPaletteIndices.get()});
        return true;
    }
    const uint32_t* bits = source.GetBits();
    if (bits == nullptr)
        return false;
    body(BitsReader{bits});
    return true;
}
} // namespace Quoll

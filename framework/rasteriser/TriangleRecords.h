#pragma once
// The records every triangle-drawing variant reads: the 16.16 vertex, the texture view and
// the draw colour, plus the signature of a whole-triangle drawing function. None of them
// depends on the display code, so the variants can be built and tested on their own.
#include <cstdint>

namespace Quoll
{
// One vertex in 16.16 fixed point (65536 = 1.0). Colours hold 0..255 as 16.16 values; u and v
// are texel positions. Fields a call does not fill are never read by the variant it selects.
struct FixedVertex
{
    int32_t x, y, a, r, g, b, u, v;
};

// A texture as the variants see it: width * height 0xAARRGGBB words, rows without a gap.
// The variants address a texel by one linear index and read it only when it is below size.
struct TriangleTexture
{
    const uint32_t* pixels;
    int32_t rowShift; // 16 - floor(log2(width))
    int32_t maxU;     // (width - 1) << 16
    int32_t maxV;     // (height - 1) << 16
    int32_t width;
    int32_t size; // width * height
    int32_t height;
};

// The draw colour, 0..255 per channel, in the order alpha, red, green, blue.
struct TriangleColor
{
    int32_t a, r, g, b;
};

// Draws one whole triangle: three consecutive vertex records (read only), the destination's
// pixel (0, 0), its pitch in bytes, the texture record (unset when untextured) and the colour.
using TriangleSpanFunc = void (*)(const FixedVertex* vertices, uint8_t* dstPixels, int32_t pitch,
                                  const TriangleTexture* texture, const TriangleColor* color);
} // namespace Quoll

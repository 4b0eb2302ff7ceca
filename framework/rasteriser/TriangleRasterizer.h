#pragma once
// Software triangle drawing into locked pixel memory: a strip of float vertices is clipped to a
// rectangle, converted to 16.16 fixed point and drawn triangle by triangle by one of 128
// whole-triangle variants, chosen by destination format and drawing flags. Allocates nothing;
// not re-entrant (the clipper's scratch pool is shared).
#include "framework/rasteriser/TriangleRecords.h"
#include "framework/rasteriser/TriangleSpanTable.h"

#include <cstdint>

namespace Quoll
{
// The rasteriser's plain views of what it draws with; the display makes them from its rectangles,
// colours and images.

// A clip rectangle in destination pixels; its right and bottom edges (x + width, y + height) are
// outside.
struct RasterRect
{
    int32_t x, y, width, height;
};

// The call's colour per channel; values outside 0..255 are clamped. All four at 255 draws
// untinted.
struct RasterColor
{
    int32_t a, r, g, b;
    bool IsWhite() const { return a == 255 && r == 255 && g == 255 && b == 255; }
};

// A texture: width x height 32-bit ARGB texels in rows of exactly width texels. Translucent
// textures (alpha or transparent texels) are blended.
struct RasterTexture
{
    const uint32_t* bits;
    int32_t width, height;
    bool translucent;
};

// Destination pixel format codes.
constexpr int32_t kTriangleFormat8888 = 0x8888; // 32-bit ARGB
constexpr int32_t kTriangleFormat888 = 0x888;   // 32-bit RGB, top byte unused
constexpr int32_t kTriangleFormat565 = 0x565;   // 16-bit
constexpr int32_t kTriangleFormat555 = 0x555;   // 15-bit, top bit unused

// The caller's vertex: destination position in pixels, texture position as a fraction of the
// texture's size, colour packed 0xAARRGGBB.
struct TriVertex
{
    float x, y, u, v;
    uint32_t color;
};

// How textured triangles meet the destination: blended over it, or added to it (each channel
// saturating). Untextured triangles are always blended.
enum class TriangleMode
{
    Normal,
    Additive,
};

// Draws count - 2 triangles of a strip: (0,1,2), (1,3,2), (2,3,4), ... clipped to clip.
// A non-white color tints; texture may be null; filter asks for bilinear filtering (and, when
// textured, texel-alpha blending); vertexColor shades by the vertices' colours.
void RasterizeTriangleStrip(const RasterRect& clip, const RasterColor& color, const TriVertex* vertices,
                            int32_t count, const RasterTexture* texture, uint8_t* dstPixels, int32_t pitch,
                            int32_t format, bool filter, bool vertexColor,
                            TriangleMode mode = TriangleMode::Normal);
} // namespace Quoll

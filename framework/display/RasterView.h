#pragma once
// The display's rectangles, colours and memory images as the rasteriser's plain views.
#include "framework/display/Color.h"
#include "framework/display/MemoryImage.h"
#include "framework/display/Rect.h"
#include "framework/rasteriser/TriangleRasterizer.h"

namespace Quoll
{
inline RasterRect ToRasterRect(const Rect& rect) { return {rect.x, rect.y, rect.width, rect.height}; }

inline RasterColor ToRasterColor(const Color& color) { return {color.a, color.r, color.g, color.b}; }

// The image's committed bits as a texture; the view lives as long as the bits stay unchanged.
inline RasterTexture ToRasterTexture(MemoryImage& image)
{
    image.CommitBits();
    return {image.GetBits(), image.GetWidth(), image.GetHeight(), image.mHasAlpha || image.mHasTrans};
}
} // namespace Quoll

namespace Quoll
{
// The rasteriser's entry point over the display's own types; a null texture draws untextured.
inline void RasterizeTriangleStrip(const Rect& clip, const Color& color, const TriVertex* vertices, int32_t count,
                                   MemoryImage* texture, uint8_t* dstPixels, int32_t pitch, int32_t format,
                                   bool filter, bool vertexColor, TriangleMode mode = TriangleMode::Normal)
{
    RasterTexture view{};
    if (texture != nullptr)
        view = ToRasterTexture(*texture);
    RasterizeTriangleStrip(ToRasterRect(clip), ToRasterColor(color), vertices, count, texture ? &view : nullptr,
                           dstPixels, pitch, format, filter, vertexColor, mode);
}
} // namespace Quoll

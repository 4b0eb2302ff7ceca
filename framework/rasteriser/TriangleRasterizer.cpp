#include "framework/rasteriser/TriangleRasterizer.h"

#include "framework/rasteriser/TriangleClipper.h"

#include <algorithm>
#include <cmath>

namespace Quoll
{
namespace
{
struct ClipEdges
{
    float left, right, top, bottom;
};

// value * 65536 truncated toward zero, saturated into the 32-bit range.
int32_t ToFixed(double value)
{
    const double scaled = value * 65536.0;
    if (!(scaled > -2147483648.0))
        return INT32_MIN;
    if (!(scaled < 2147483647.0))
        return INT32_MAX;
    return static_cast<int32_t>(scaled);
}

bool IsFinite(const TriVertex& v, bool textured)
{
    return std::isfinite(v.x) && std::isfinite(v.y) &&
           (!textured || (std::isfinite(v.u) && std::isfinite(v.v)));
}

int32_t ColorChannel(int value)
{
    return std::clamp(value, 0, 255);
}

TriangleTexture MakeTexture(const RasterTexture& image)
{
    TriangleTexture texture{};
    texture.pixels = image.bits;
    texture.width = image.width;
    texture.height = image.height;
    const uint32_t width = static_cast<uint32_t>(texture.width);
    // An image without pixels has no texels to read.
    texture.size = texture.pixels ? static_cast<int32_t>(width * static_cast<uint32_t>(texture.height)) : 0;
    int log2 = 0;
    for (uint32_t half = width >> 1; half != 0; half >>= 1)
        ++log2;
    texture.rowShift = 16 - log2;
    texture.maxU = static_cast<int32_t>((width - 1) << 16);
    texture.maxV = static_cast<int32_t>((static_cast<uint32_t>(texture.height) - 1) << 16);
    return texture;
}

bool IsInside(const TriVertex& v, const ClipEdges& clip)
{
    return v.x >= clip.left && v.x <= clip.right && v.y >= clip.top && v.y <= clip.bottom;
}

// The clipper, skipped for a triangle that lies wholly inside (it would return it unchanged).
// A polygon with a non-finite vertex (far-away vertices can interpolate to one) is dropped.
int32_t ClipTriangle(const TriVertex* v0, const TriVertex* v1, const TriVertex* v2, const TriVertex** polygon,
                     const ClipEdges& clip, bool textured)
{
    if (IsInside(*v0, clip) && IsInside(*v1, clip) && IsInside(*v2, clip))
    {
        polygon[0] = v0;
        polygon[1] = v1;
        polygon[2] = v2;
        polygon[3] = nullptr;
        return 3;
    }
    const int32_t n = ClipPolygonToRect(v0, v1, v2, polygon, clip.left, clip.right, clip.top, clip.bottom);
    return std::all_of(polygon, polygon + n, [&](const TriVertex* v) { return IsFinite(*v, textured); }) ? n : 0;
}

// A clipped vertex in 16.16. Positions are held inside the clip edges, which rounding of the
// clipper's interpolation (large for far-away vertices) could otherwise leave.
FixedVertex ToFixedVertex(const TriVertex& v, const ClipEdges& clip, const RasterTexture* texture,
                          bool vertexColor)
{
    FixedVertex f{};
    f.x = ToFixed(std::clamp(v.x, clip.left, clip.right));
    f.y = ToFixed(std::clamp(v.y, clip.top, clip.bottom));
    if (texture)
    {
        f.u = ToFixed(v.u * static_cast<float>(texture->width));
        f.v = ToFixed(v.v * static_cast<float>(texture->height));
    }
    if (vertexColor)
    {
        f.a = static_cast<int32_t>(((v.color >> 24) & 0xFF) << 16);
        f.r = static_cast<int32_t>(((v.color >> 16) & 0xFF) << 16);
        f.g = static_cast<int32_t>(((v.color >> 8) & 0xFF) << 16);
        f.b = static_cast<int32_t>((v.color & 0xFF) << 16);
    }
    return f;
}
} // namespace

void RasterizeTriangleStrip(const RasterRect& clip, const RasterColor& color, const TriVertex* vertices,
                            int32_t count, const RasterTexture* texture, uint8_t* dstPixels, int32_t pitch,
                            int32_t format, bool filter, bool vertexColor, TriangleMode mode)
{
    // Clip edges on the last column and row of the rectangle.
    const ClipEdges edges{static_cast<float>(clip.x),
                          static_cast<float>(int64_t{clip.x} + clip.width - 1),
                          static_cast<float>(clip.y),
                          static_cast<float>(int64_t{clip.y} + clip.height - 1)};
    // The draw colour and the drawing flags.
    const TriangleColor drawColor{ColorChannel(color.a), ColorChannel(color.r), ColorChannel(color.g),
                                  ColorChannel(color.b)};
    const bool tint = !color.IsWhite();
    const bool textured = texture != nullptr;
    const bool blend = textured && (texture->translucent || filter);
    const bool additive = textured && mode == TriangleMode::Additive;
    // Fewer than three vertices, or an empty clip rectangle, draw nothing.
    if (count < 3 || !vertices || clip.width <= 0 || clip.height <= 0)
        return;

    // Each triangle of the strip, with the winding flipped at odd positions.
    const TriVertex* polygon[kClipListCapacity];
    for (int32_t k = 0; k + 2 < count; ++k)
    {
        const TriVertex* v0 = &vertices[k];
        const TriVertex* v1 = &vertices[(k & 1) ? k + 2 : k + 1];
        const TriVertex* v2 = &vertices[(k & 1) ? k + 1 : k + 2];
        if (!IsFinite(*v0, textured) || !IsFinite(*v1, textured) || !IsFinite(*v2, textured))
            continue;
        const int32_t n = ClipTriangle(v0, v1, v2, polygon, edges, textured);
        if (n == 0)
            continue;

        FixedVertex fixed[kClipListCapacity];
        for (int32_t i = 0; i < n; ++i)
            fixed[i] = ToFixedVertex(*polygon[i], edges, texture, vertexColor);
        TriangleTexture textureRecord{};
        if (textured)
            textureRecord = MakeTexture(*texture);

        // The polygon is drawn as a fan around its first vertex: (0,1,2), (0,2,3), ...
        const auto draw = [&](const FixedVertex* records) {
            if (additive)
                DispatchTriangleAdd(format, vertexColor, tint, records, dstPixels, pitch, &textureRecord, &drawColor,
                                    filter);
            else
                DispatchTriangleSpan(textured, blend, format, vertexColor, tint, records, dstPixels, pitch,
                                     &textureRecord, &drawColor, filter);
        };
        draw(fixed);
        for (int32_t j = 3; j < n; ++j)
        {
            const FixedVertex records[3] = {fixed[0], fixed[j - 1], fixed[j]};
            draw(records);
        }
    }
}
} // namespace Quoll

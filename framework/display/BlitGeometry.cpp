#include "framework/display/BlitGeometry.h"

#include "framework/display/MemoryImage.h"

#include <algorithm>

namespace Quoll
{
MemoryImage* AsMemorySource(Image* source)
{
    if (source == nullptr)
        return nullptr;
    source->mDrawn = true;
    return dynamic_cast<MemoryImage*>(source);
}

bool ClipBlit(int& x, int& y, Rect& src, int srcW, int srcH, int dstW, int dstH, bool mirror)
{
    const Rect inSource = src.Intersection(Rect(0, 0, srcW, srcH));
    const int cutRight = (src.x + src.width) - (inSource.x + inSource.width);
    x += mirror ? cutRight : inSource.x - src.x;
    y += inSource.y - src.y;
    src = inSource;
    const Rect dest = Rect(x, y, src.width, src.height).Intersection(Rect(0, 0, dstW, dstH));
    const int dCutRight = (x + src.width) - (dest.x + dest.width);
    src.x += mirror ? dCutRight : dest.x - x;
    src.y += dest.y - y;
    src.width = dest.width;
    src.height = dest.height;
    x = dest.x;
    y = dest.y;
    return src.width > 0 && src.height > 0;
}

void MatrixQuadVertices(const MemoryImage& source, const Rect& srcRect, const Matrix3& matrix, float x, float y,
                        TriVertex (&vertices)[4])
{
    const float hw = srcRect.width / 2.0f, hh = srcRect.height / 2.0f;
    const float u0 = static_cast<float>(srcRect.x) / source.mWidth;
    const float v0 = static_cast<float>(srcRect.y) / source.mHeight;
    const float u1 = static_cast<float>(srcRect.x + srcRect.width) / source.mWidth;
    const float v1 = static_cast<float>(srcRect.y + srcRect.height) / source.mHeight;
    const float corners[4][4] = {{-hw, -hh, u0, v0}, {hw, -hh, u1, v0}, {-hw, hh, u0, v1}, {hw, hh, u1, v1}};
    for (int i = 0; i < 4; ++i)
    {
        const auto p = matrix.TransformVector3(corners[i][0], corners[i][1], 1.0f);
        vertices[i] = {p[0] + x - 0.5f, p[1] + y - 0.5f, corners[i][2], corners[i][3], 0xFFFFFFFF};
    }
}

uint32_t ModulateVertexColor(uint32_t v, uint32_t c)
{
    if (v == 0)
        v = 0xFFFFFFFF;
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
    {
        const uint32_t n = ((v >> shift) & 0xFF) * ((c >> shift) & 0xFF) + 127;
        out |= (n / 255) << shift;
    }
    return out;
}

ShadedTriangle OffsetTriangle(const TriangleVertices& triangle, float tx, float ty, const Color& color)
{
    ShadedTriangle out{};
    out.vertexColor = false;
    for (int i = 0; i < 3; ++i)
    {
        out.vertices[i] = triangle[i];
        out.vertices[i].x += tx;
        out.vertices[i].y += ty;
        if (out.vertices[i].color == 0)
            out.vertices[i].color = 0xFFFFFFFF;
        out.vertexColor = out.vertexColor || out.vertices[i].color != 0xFFFFFFFF;
    }
    out.tint = color;
    if (out.vertexColor)
    {
        // The rasteriser would apply the call's colour twice over shaded vertices: it is
        // multiplied in here once, and the rasteriser draws untinted.
        auto channel = [](int value) { return static_cast<uint32_t>(std::clamp(value, 0, 255)); };
        const uint32_t c = channel(color.a) << 24 | channel(color.r) << 16 | channel(color.g) << 8 | channel(color.b);
        for (TriVertex& v : out.vertices)
            v.color = ModulateVertexColor(v.color, c);
        out.tint = Color::White;
    }
    return out;
}

TriangleMode ToTriangleMode(DrawMode mode)
{
    return mode == DrawMode::Additive ? TriangleMode::Additive : TriangleMode::Normal;
}
} // namespace Quoll

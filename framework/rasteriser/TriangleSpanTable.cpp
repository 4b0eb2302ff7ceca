#include "framework/rasteriser/TriangleSpanTable.h"

#include "framework/rasteriser/TriangleVariants.h"

#include <cassert>

namespace Quoll
{
namespace
{
TriangleSpanFunc gTriangleSpanTable[kTriangleSpanTableSize] = {};
TriangleSpanFunc gTriangleAddTable[kTriangleAddTableSize] = {};
} // namespace

void DrawNothing(const FixedVertex*, uint8_t*, int32_t, const TriangleTexture*, const TriangleColor*) {}

int TriangleFormatGroup(int32_t format)
{
    switch (format)
    {
    case 0x888:
        return 1;
    case 0x565:
        return 2;
    case 0x555:
        return 3;
    default:
        return 0;
    }
}

void InitTriangleSpanTable()
{
    FillTriangleSpanGroup<PixelFormat8888>(&gTriangleSpanTable[0]);
    FillTriangleSpanGroup<PixelFormat888>(&gTriangleSpanTable[32]);
    FillTriangleSpanGroup<PixelFormat565>(&gTriangleSpanTable[64]);
    FillTriangleSpanGroup<PixelFormat555>(&gTriangleSpanTable[96]);
    FillTriangleAddGroup<PixelFormat8888>(&gTriangleAddTable[0]);
    FillTriangleAddGroup<PixelFormat888>(&gTriangleAddTable[kTriangleAddGroupSize]);
    FillTriangleAddGroup<PixelFormat565>(&gTriangleAddTable[2 * kTriangleAddGroupSize]);
    FillTriangleAddGroup<PixelFormat555>(&gTriangleAddTable[3 * kTriangleAddGroupSize]);
}

void SetTriangleSpanOverride(int32_t format, TriangleSpanFunc func)
{
    gTriangleSpanTable[TriangleFormatGroup(format) * 32 + kSpanTextured + kSpanBlend + kSpanTint] = func;
}

TriangleSpanFunc GetTriangleSpanEntry(int index)
{
    assert(index >= 0 && index < kTriangleSpanTableSize && "triangle span index out of range");
    return gTriangleSpanTable[index];
}

void DispatchTriangleSpan(bool textured, bool blend, int32_t format, bool vertexColor, bool tint,
                          const FixedVertex* vertices, uint8_t* dstPixels, int32_t pitch,
                          const TriangleTexture* texture, const TriangleColor* color, bool filter)
{
    // 1. Flag bits; 2. the format's group; 3. a null entry draws nothing; 4. call it.
    const int flags = (textured ? kSpanTextured : 0) | (blend ? kSpanBlend : 0) |
                      (vertexColor ? kSpanVertexColor : 0) | (tint ? kSpanTint : 0) |
                      (filter ? kSpanFilter : 0);
    const TriangleSpanFunc func = gTriangleSpanTable[TriangleFormatGroup(format) * 32 + flags];
    if (func)
        func(vertices, dstPixels, pitch, texture, color);
}

TriangleSpanFunc GetTriangleAddEntry(int index)
{
    assert(index >= 0 && index < kTriangleAddTableSize && "additive triangle index out of range");
    return gTriangleAddTable[index];
}

void DispatchTriangleAdd(int32_t format, bool vertexColor, bool tint, const FixedVertex* vertices,
                         uint8_t* dstPixels, int32_t pitch, const TriangleTexture* texture,
                         const TriangleColor* color, bool filter)
{
    const int flags = (vertexColor ? kSpanVertexColor : 0) | (tint ? kSpanTint : 0) | (filter ? kSpanFilter : 0);
    const TriangleSpanFunc func = gTriangleAddTable[TriangleFormatGroup(format) * kTriangleAddGroupSize + flags];
    if (func)
        func(vertices, dstPixels, pitch, texture, color);
}
} // namespace Quoll

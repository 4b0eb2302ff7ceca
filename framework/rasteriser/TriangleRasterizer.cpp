#include "framework/rasteriser/TriangleRasterizer.h"

namespace Quoll
{
void RasterizeTriangleStrip(const Rect&, const Color&, const TriVertex*, int32_t, MemoryImage*,
                            uint8_t*, int32_t, int32_t, bool, bool)
{
}

void InitTriangleSpanTable() {}

void SetTriangleSpanOverride(int32_t, TriangleSpanFunc) {}
} // namespace Quoll

// The drawing variants of the 16-bit 5-6-5 destination format.
#include "framework/rasteriser/TriangleVariants.h"

namespace Quoll
{
template void FillTriangleSpanGroup<PixelFormat565>(TriangleSpanFunc*);
template void FillTriangleAddGroup<PixelFormat565>(TriangleSpanFunc*);
} // namespace Quoll

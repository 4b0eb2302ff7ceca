// The drawing variants of the 15-bit 5-5-5 destination format.
#include "framework/rasteriser/TriangleVariants.h"

namespace Quoll
{
template void FillTriangleSpanGroup<PixelFormat555>(TriangleSpanFunc*);
template void FillTriangleAddGroup<PixelFormat555>(TriangleSpanFunc*);
} // namespace Quoll

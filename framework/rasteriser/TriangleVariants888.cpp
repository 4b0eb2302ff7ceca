// The drawing variants of the 32-bit RGB destination format.
#include "framework/rasteriser/TriangleVariants.h"

namespace Quoll
{
template void FillTriangleSpanGroup<PixelFormat888>(TriangleSpanFunc*);
template void FillTriangleAddGroup<PixelFormat888>(TriangleSpanFunc*);
} // namespace Quoll

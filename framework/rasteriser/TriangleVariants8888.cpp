// The drawing variants of the 32-bit ARGB destination format.
#include "framework/rasteriser/TriangleVariants.h"

namespace Quoll
{
template void FillTriangleSpanGroup<PixelFormat8888>(TriangleSpanFunc*);
template void FillTriangleAddGroup<PixelFormat8888>(TriangleSpanFunc*);
} // namespace Quoll

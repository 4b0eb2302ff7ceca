#pragma once
// The symbolic name of a display, 3D or sound result value, for error texts and logs.
#include "framework/platform/video/SoftDirectDraw.h"

#include <string>

namespace Quoll
{
// The name of the result, or its value in lower-case hexadecimal without prefix or leading
// zeros when it has none (0 gives "0").
std::string DXErrorName(Platform::HResult code);
} // namespace Quoll

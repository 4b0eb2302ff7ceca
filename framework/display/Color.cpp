#include "framework/display/Color.h"

namespace Quoll
{
const Color Color::White(255, 255, 255, 255);
const Color Color::Black(0, 0, 0, 255);

Color::Color(int argb)
    : r((argb >> 16) & 0xFF), g((argb >> 8) & 0xFF), b(argb & 0xFF), a((argb >> 24) & 0xFF)
{
    if (a == 0)
        a = 255;
}

Color::Color(int rgb, int alpha) : r((rgb >> 16) & 0xFF), g((rgb >> 8) & 0xFF), b(rgb & 0xFF), a(alpha) {}
} // namespace Quoll

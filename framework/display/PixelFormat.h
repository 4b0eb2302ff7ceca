#pragma once
// A display pixel format: bits per pixel and, per colour channel, its mask, bit count and shift.
#include <cstdint>

namespace Quoll
{
struct PixelFormat
{
    int bitsPerPixel = 32;
    uint32_t redMask = 0xFF0000;
    uint32_t greenMask = 0xFF00;
    uint32_t blueMask = 0xFF;
    int redBits = 8;
    int greenBits = 8;
    int blueBits = 8;
    int redShift = 16;
    int greenShift = 8;
    int blueShift = 0;

    static PixelFormat Argb8888() { return PixelFormat(); }
    static PixelFormat Rgb565() { return {16, 0xF800, 0x07E0, 0x001F, 5, 6, 5, 11, 5, 0}; }
    static PixelFormat Rgb555() { return {16, 0x7C00, 0x03E0, 0x001F, 5, 5, 5, 10, 5, 0}; }
};
} // namespace Quoll

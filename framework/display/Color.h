#pragma once
// An RGBA colour of four ints (each meant to lie in 0..255; nothing clamps them) with a packed
// 0xAARRGGBB form. Color::White is the neutral tint: untinted draws pass it.
#include <cstdint>

namespace Quoll
{
struct RGBTriple
{
    int r, g, b;
};

class Color
{
public:
    static const Color White;
    static const Color Black;

    Color() = default;
    // From 0xAARRGGBB; an alpha byte of 0 means opaque.
    explicit Color(int argb);
    // Red, green and blue from the low 24 bits of rgb; alpha exactly as given.
    Color(int rgb, int alpha);
    Color(int red, int green, int blue) : r(red), g(green), b(blue), a(255) {}
    Color(int red, int green, int blue, int alpha) : r(red), g(green), b(blue), a(alpha) {}

    static Color FromRGBTriple(const RGBTriple& triple) { return Color(triple.r, triple.g, triple.b); }

    [[nodiscard]] int GetRed() const { return r; }
    [[nodiscard]] int GetGreen() const { return g; }
    [[nodiscard]] int GetBlue() const { return b; }
    [[nodiscard]] int GetAlpha() const { return a; }

    // Components shifted into place as they stand (no masking).
    [[nodiscard]] uint32_t ToInt() const
    {
        return (static_cast<uint32_t>(a) << 24) | (static_cast<uint32_t>(r) << 16) |
               (static_cast<uint32_t>(g) << 8) | static_cast<uint32_t>(b);
    }
    [[nodiscard]] bool IsWhite() const { return !(*this != White); }

    bool operator!=(const Color& other) const
    {
        return r != other.r || g != other.g || b != other.b || a != other.a;
    }
    bool operator==(const Color& other) const { return !(*this != other); }

    int r = 0;
    int g = 0;
    int b = 0;
    int a = 255;
};
} // namespace Quoll

#pragma once
// The art generator's drawing surface: a cairo image with the house style's primitives (glow,
// glass discs and panels, membranes, text in DejaVu), and a seeded random source so that every
// image comes out the same on every run.
#include <cairo.h>

#include <cstdint>
#include <string>

namespace ArtGen
{
struct Rgb
{
    double r = 0, g = 0, b = 0;

    Rgb Mix(const Rgb& other, double t) const
    {
        return {r + (other.r - r) * t, g + (other.g - g) * t, b + (other.b - b) * t};
    }
    Rgb Scaled(double k) const { return {r * k, g * k, b * k}; }
};

Rgb FromHue(double hueDegrees, double saturation, double value);

// A small deterministic generator (xorshift), seeded from a name.
class ArtRandom
{
public:
    explicit ArtRandom(const std::string& seed);
    double Next();                         // in [0, 1)
    double Range(double low, double high); // in [low, high)

private:
    uint64_t mState;
};

enum class TextWeight
{
    Regular,
    Bold,
};

class ArtCanvas
{
public:
    ArtCanvas(int width, int height);
    ~ArtCanvas();
    ArtCanvas(const ArtCanvas&) = delete;
    ArtCanvas& operator=(const ArtCanvas&) = delete;

    cairo_t* Cr() const { return mCr; }
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }

    // Writes the canvas as a PNG; false with the reason in error.
    bool WritePng(const std::string& path, std::string& error);

    // Primitives of the style, all in the current transformation.
    void SetColor(const Rgb& color, double alpha = 1.0);
    void Glow(double x, double y, double radius, const Rgb& color, double alpha);
    void GlassDisc(double x, double y, double radius, const Rgb& tint, double brightness);
    void RoundedRect(double x, double y, double w, double h, double radius);
    void GlassPanel(double x, double y, double w, double h, double radius, const Rgb& rim, double rimAlpha);
    void Hexagon(double cx, double cy, double rx, double ry);
    // A wobbling closed membrane: radius r with two harmonics moving with phase.
    void Membrane(double cx, double cy, double r, double wobble, double phase);
    void Blob(double cx, double cy, double r, const Rgb& color, double wobble, double phase, double glow);
    void Specular(double cx, double cy, double rx, double ry, double alpha);
    void Star(double cx, double cy, double outer, double inner, int points, double rotation);
    // Text centred on (cx, cy baseline-centred) at the given pixel size, with a glow behind it.
    void Text(const std::string& utf8, double cx, double cy, double size, TextWeight weight, const Rgb& color,
              double glowAlpha);
    double TextWidth(const std::string& utf8, double size, TextWeight weight);
    void Agar(ArtRandom& random, double cx, double cy, double radius, int specks, const Rgb& tint);

    static void SetFontFolder(const std::string& folder);

private:
    void UseFont(double size, TextWeight weight);

    int mWidth, mHeight;
    cairo_surface_t* mSurface;
    cairo_t* mCr;
};
} // namespace ArtGen

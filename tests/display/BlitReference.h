#pragma once
// Plain per-pixel implementations of the memory image's blits, written straight from their
// formulas with their own clipping, for bit-exact comparison with the optimised paths; and the
// seeded random images the comparisons draw.
#include "framework/core/MersenneTwister.h"
#include "framework/display/MemoryImage.h"

#include <cstdint>
#include <vector>

namespace Quoll::Testing
{
// Pixels biased to alpha and channel values 0 and 255. With colours > 0, only that many
// distinct colours are used (so the image can be palettized).
std::vector<uint32_t> RandomPixels(MersenneTwister& rng, int count, int colours, bool opaque);
uint32_t RandomPixel(MersenneTwister& rng, bool opaque);
Color RandomTint(MersenneTwister& rng);
Rect RandomRect(MersenneTwister& rng, int width, int height, int margin);

// A snapshot of an image's pixels and flags, with the reference blits.
struct Canvas
{
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    bool hasTrans = false;
    bool hasAlpha = false;

    static Canvas Of(MemoryImage& image);
    [[nodiscard]] uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    [[nodiscard]] bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

void ReferenceBlt(Canvas& dst, const Canvas& src, int x, int y, const Rect& srcRect, const Color& color,
                  DrawMode mode, bool mirror);
void ReferenceRotated(Canvas& dst, const Canvas& src, float x, float y, const Rect& srcRect, const Rect& clip,
                      const Color& color, DrawMode mode, double angle, float cx, float cy);
void ReferenceNearestStretch(Canvas& dst, const Canvas& src, const Rect& destRect, const Rect& srcRect,
                             const Rect& clip, const Color& color, bool mirror);
void ReferenceFilteredStretch(Canvas& dst, const Canvas& src, const Rect& destRect, const Rect& srcRect,
                              const Rect& clip, const Color& color);
void ReferenceCoverageFill(Canvas& dst, const ScanSpan* spans, int count, const Color& color,
                           const uint8_t* coverage, const Rect& cover);

// Index of the first differing pixel, or -1.
int FirstDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b);
} // namespace Quoll::Testing

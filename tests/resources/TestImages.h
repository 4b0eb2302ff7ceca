#pragma once
// Writers of small test pictures in the formats the decoders read, built with the encoders of
// the same libraries (PNG palette and grey files, GIF, JPEG 2000) or byte by byte (TGA).
#include "framework/files/ImageLib.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace QuollTest
{
// A picture of seeded random pixels, alpha biased to 0x00 and 0xFF.
ImageLib::Image RandomImage(int width, int height, unsigned seed);
// A smooth picture that JPEG keeps close.
ImageLib::Image GradientImage(int width, int height);

// Palette PNG of the given 0xAARRGGBB colours (alpha through tRNS), indexes row by row.
bool WritePalettePng(const std::string& path, int width, int height, const std::vector<uint32_t>& palette,
                     const std::vector<uint8_t>& indexes);
// 8-bit grey PNG, optionally with an alpha channel.
bool WriteGreyPng(const std::string& path, int width, int height, const std::vector<uint8_t>& grey,
                  const std::vector<uint8_t>& alpha);

struct GifFrame
{
    int left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    int transparentIndex = -1;
    std::vector<uint8_t> indexes;
};
bool WriteGif(const std::string& path, int screenWidth, int screenHeight, const std::vector<uint32_t>& colours,
              const std::vector<GifFrame>& frames);

// JPEG 2000, lossless, of the picture's 4 channels (or 3 without alpha); jp2 selects the
// boxed file format, else a raw codestream.
bool WriteJ2k(const std::string& path, const ImageLib::Image& image, bool withAlpha, bool jp2);
} // namespace QuollTest

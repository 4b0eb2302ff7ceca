#pragma once
// A synthetic bitmap font for the font tests: a 64 x 16 atlas of a few glyphs whose pixels are
// wholly opaque or wholly clear white, so that every drawn pixel is exactly the text colour
// or the background, and a reference drawer that places the glyphs by hand.
#include "framework/display/MemoryImage.h"
#include "framework/widgets/ImageFont.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace QuollTest
{
// Height 10, ascent 8, ascent padding 1, line-spacing offset 2. Glyphs: 'A' a solid 5 x 8
// block, 'V' a 5 x 8 checker, '?' a 4 x 8 frame drawn one pixel right of the pen, 'b' a 5 x 10
// bar reaching 2 below the baseline, ' ' empty; advance 6 each, 3 for the space; "AV" kerned
// by -2.
extern const char* const kSyntheticDescriptor;

// Whether the atlas pixel of glyph c at (column, row) of its rectangle is opaque.
bool GlyphPixel(wchar_t c, int column, int row);

// A folder of its own under the test home holding the atlas ("atlas.png") and the descriptor
// ("font.txt"), removed afterwards.
class SyntheticFontFiles
{
public:
    SyntheticFontFiles();
    ~SyntheticFontFiles();
    SyntheticFontFiles(const SyntheticFontFiles&) = delete;
    SyntheticFontFiles& operator=(const SyntheticFontFiles&) = delete;

    [[nodiscard]] const std::filesystem::path& Folder() const { return mFolder; }
    [[nodiscard]] std::string Descriptor() const { return (mFolder / "font.txt").string(); }
    // Writes another descriptor beside the atlas; returns its path.
    std::string WriteDescriptor(const std::string& name, const std::string& text) const;
    // The synthetic font, loaded from the files.
    [[nodiscard]] std::unique_ptr<Quoll::ImageFont> Load() const;

private:
    std::filesystem::path mFolder;
};

// The text drawn by hand: the glyphs' opaque pixels set to colour where they fall inside clip.
void DrawReference(std::vector<uint32_t>& pixels, int width, int height, int x, int baseline,
                   const std::wstring& text, uint32_t colour, const Quoll::Rect& clip);

// Equal pixel lists, or the first differing pixel named with both values.
::testing::AssertionResult SamePixels(const std::vector<uint32_t>& actual, const std::vector<uint32_t>& expected,
                                      int width);

// What the memory image's tinted blit makes of an opaque white pixel over black: the colour of
// every pixel a bitmap glyph covers (the blitter's rounding is its own business).
uint32_t TintedWhite(const Quoll::Color& colour);

// The pixels of an image as a vector (width * height words).
std::vector<uint32_t> PixelsOf(Quoll::MemoryImage& image);
} // namespace QuollTest

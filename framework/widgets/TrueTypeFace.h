#pragma once
// One face of a font file read by FreeType, at one pixel size: its metrics, the kerning of a
// pair, and a character rendered into 8-bit coverage (anti-aliased, hinted). The system font
// renders through it, and so does the font baker. Not thread-safe: its users lock.
//
// FindSystemFontFile asks fontconfig for the file of a face name. A name that no installed
// family matches falls back to DejaVu Sans (the faces the game names, such as the overlay's,
// are not installed on Linux).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Quoll
{
struct GlyphBitmap
{
    int width = 0;
    int height = 0;
    int left = 0;    // of the bitmap from the pen
    int top = 0;     // rows above the baseline
    int advance = 0; // whole pixels
    std::vector<uint8_t> coverage; // width * height, rows top to bottom
};

class TrueTypeFace
{
public:
    // Font files at 96 dots per inch: the pixel size of a point size, as a character height.
    static int PixelSizeOfPoints(int points) { return (points * 96 + 36) / 72; }
    // The file of the installed face that matches the name, or DejaVu Sans; empty when neither
    // is installed.
    static std::string FindSystemFontFile(const std::string& faceName);

    // Null with the reason in error when the file cannot be read or sized.
    static std::unique_ptr<TrueTypeFace> Open(const std::string& file, int pixelSize, std::string& error);
    TrueTypeFace(const TrueTypeFace&) = delete;
    TrueTypeFace& operator=(const TrueTypeFace&) = delete;
    ~TrueTypeFace();

    [[nodiscard]] int GetAscent() const { return mAscent; }
    [[nodiscard]] int GetDescent() const { return mDescent; }
    [[nodiscard]] int GetPixelSize() const { return mPixelSize; }
    [[nodiscard]] const std::string& GetFamilyName() const { return mFamily; }
    [[nodiscard]] bool HasChar(char32_t c) const;
    // False when the face lacks the character (the bitmap is then that of its missing glyph).
    bool Render(char32_t c, GlyphBitmap& out);
    // Whole pixels added between the pair (0 when the face has no kerning table).
    [[nodiscard]] int Kerning(char32_t previous, char32_t c) const;

private:
    struct Handles;
    TrueTypeFace();

    std::unique_ptr<Handles> mHandles;
    int mPixelSize = 0;
    int mAscent = 0;
    int mDescent = 0;
    std::string mFamily;
};
} // namespace Quoll

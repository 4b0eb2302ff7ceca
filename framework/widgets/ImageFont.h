#pragma once
// The bitmap font: glyphs are rectangles of one atlas image, drawn tinted by the text colour
// (the atlas holds white glyphs with their coverage in alpha, so one atlas serves every colour).
// A descriptor file names the atlas and gives the metrics, the glyphs and kerning pairs:
//
//   # comment
//   atlas fnt1.png                 the image, relative to the descriptor's folder
//   height 20                      line height in pixels
//   ascent 15                      pixels above the baseline (at most the height)
//   ascent-padding 2               taken off the ascent for the first line of wrapped text
//   line-spacing-offset 2          added to the height between lines
//   glyph U+0041 0 0 11 14 0 -14 12   character, atlas x y width height, offset of the glyph's
//                                  top-left from the pen on the baseline (x y), advance
//   kern A V -1                    added to the advance of the second after the first
//
// Characters are written as U+ and hexadecimal digits, or as the one character itself. A
// character the font lacks is drawn and measured as '?', or as nothing when '?' is missing too.
// Fonts loaded from the same descriptor, and duplicates, share the glyph table and the atlas;
// the shared data has a lock of its own, since the loading thread builds fonts while the main
// thread draws.
#include "framework/display/Font.h"
#include "framework/display/Rect.h"

#include <memory>
#include <string>

namespace Quoll
{
class ImageFont final : public Font
{
public:
    struct Glyph
    {
        Rect source;     // in the atlas
        int offsetX = 0; // of the glyph's top-left from the pen on the baseline
        int offsetY = 0;
        int advance = 0;
    };

    // The font of a descriptor file (read through the pack layer); null with the reason in
    // error, " on Line N" for a fault of a line.
    static std::unique_ptr<ImageFont> Load(const std::string& path, std::string& error);
    // The font of descriptor text; the atlas path is taken relative to folder.
    static std::unique_ptr<ImageFont> FromText(const std::string& text, const std::string& folder,
                                               std::string& error);

    ImageFont(const ImageFont&) = default;
    ~ImageFont() override;

    [[nodiscard]] int GetHeight() const override;
    [[nodiscard]] int GetAscent() const override;
    [[nodiscard]] int GetAscentPadding() const override;
    [[nodiscard]] int GetLineSpacing() const override;
    [[nodiscard]] int StringWidth(const std::wstring& text) override;
    [[nodiscard]] int CharWidthKern(wchar_t c, wchar_t previous) override;
    void DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color,
                    const Rect& clip) override;
    [[nodiscard]] std::unique_ptr<Font> Duplicate() const override;

    // The glyph drawn for a character: its own, else '?', else null.
    [[nodiscard]] const Glyph* FindGlyph(wchar_t c) const;
    // The kerning of the pair (0 when none, or at a line start).
    [[nodiscard]] int Kerning(wchar_t previous, wchar_t c) const;

    struct Data;

private:
    explicit ImageFont(std::shared_ptr<Data> data);

    std::shared_ptr<Data> mData;
};
} // namespace Quoll

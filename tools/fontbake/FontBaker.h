#pragma once
// Bakes one face of a font file at one pixel size into a bitmap font: the glyphs of a set of
// characters packed in rows into an atlas of white pixels whose alpha is the glyph's coverage,
// and the descriptor text that the bitmap font reads (metrics, a glyph line per character,
// the face's kerning pairs among them).
#include "framework/files/ImageLib.h"
#include "framework/widgets/TrueTypeFace.h"

#include <string>
#include <utility>
#include <vector>

namespace Quoll
{
struct BakedFont
{
    ImageLib::Image atlas;
    std::string descriptor;
    int glyphCount = 0;
    int kerningPairs = 0;
};

class FontBaker
{
public:
    static constexpr int kAtlasWidth = 256;
    static constexpr int kGap = 1; // clear pixels around every glyph

    // "20-7E,A0-FF": hexadecimal code points and ranges; false on a malformed list.
    static bool ParseCharacters(const std::string& text, std::vector<char32_t>& out);

    explicit FontBaker(TrueTypeFace& face) : mFace(face) {}
    // The characters the face has (others are left out); atlasName is the descriptor's atlas
    // line. False with the reason in error when the glyphs do not fit an atlas.
    bool Bake(const std::vector<char32_t>& characters, const std::string& atlasName, BakedFont& out,
              std::string& error);

private:
    TrueTypeFace& mFace;
};
} // namespace Quoll

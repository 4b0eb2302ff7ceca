// The font baker on DejaVu Sans: the character lists it accepts, an atlas whose pixels are white
// with each glyph's coverage as alpha, packed without overlaps, and a descriptor the bitmap font
// reads back with the face's advances. Rerun one case: test_widgets --gtest_filter='FontBaker.*'
#include "tools/fontbake/FontBaker.h"

#include "FontTestSupport.h"

#include "framework/files/ImageLib.h"
#include "framework/widgets/ImageFont.h"

#include <gtest/gtest.h>

using namespace Quoll;
using namespace QuollTest;

TEST(FontBaker, CharacterListsAreHexadecimalCodesAndRanges)
{
    std::vector<char32_t> characters;
    ASSERT_TRUE(FontBaker::ParseCharacters("41-43,61,42,e9", characters));
    EXPECT_EQ(characters, (std::vector<char32_t>{U'A', U'B', U'C', U'a', U'\u00E9'})) << "each character once";
    for (const char* bad : {"", "43-41", "4G", "41-", "110000", "41,,42"})
    {
        std::vector<char32_t> ignored;
        EXPECT_FALSE(FontBaker::ParseCharacters(bad, ignored)) << bad;
    }
}

TEST(FontBaker, TheAtlasHoldsEachGlyphsCoverageAndTheDescriptorReadsBack)
{
    std::string error;
    auto face = TrueTypeFace::Open(QUOLL_DEJAVU_SANS, 24, error);
    ASSERT_NE(face, nullptr) << error;
    const std::vector<char32_t> characters{U' ', U'A', U'V', U'g', U'@', U'\x4E2D'};
    BakedFont baked;
    ASSERT_TRUE(FontBaker(*face).Bake(characters, "baked.png", baked, error)) << error;
    EXPECT_EQ(baked.glyphCount, 5) << "the face lacks U+4E2D";
    EXPECT_EQ(baked.atlas.GetWidth(), FontBaker::kAtlasWidth);

    SyntheticFontFiles files; // a scratch folder
    ASSERT_TRUE(ImageLib::WritePng((files.Folder() / "baked.png").string(), baked.atlas));
    auto font = ImageFont::Load(files.WriteDescriptor("baked.txt", baked.descriptor), error);
    ASSERT_NE(font, nullptr) << error;
    EXPECT_EQ(font->GetAscent(), face->GetAscent());
    EXPECT_EQ(font->GetHeight(), face->GetAscent() + face->GetDescent());

    // Every glyph's rectangle holds its rendered coverage as alpha over white; rectangles do not
    // overlap; everything else in the atlas is clear.
    std::vector<int> owner(static_cast<size_t>(baked.atlas.GetWidth() * baked.atlas.GetHeight()), -1);
    for (size_t i = 0; i < characters.size() - 1; ++i)
    {
        const char32_t c = characters[i];
        GlyphBitmap glyph;
        face->Render(c, glyph);
        const ImageFont::Glyph* placed = font->FindGlyph(static_cast<wchar_t>(c));
        ASSERT_NE(placed, nullptr);
        EXPECT_EQ(placed->advance, glyph.advance);
        EXPECT_EQ(placed->offsetX, glyph.left);
        EXPECT_EQ(placed->offsetY, -glyph.top);
        ASSERT_EQ(placed->source.width, glyph.width);
        ASSERT_EQ(placed->source.height, glyph.height);
        for (int row = 0; row < glyph.height; ++row)
            for (int column = 0; column < glyph.width; ++column)
            {
                const size_t at = static_cast<size_t>((placed->source.y + row) * baked.atlas.GetWidth() +
                                                      placed->source.x + column);
                EXPECT_EQ(owner[at], -1) << "glyphs overlap";
                owner[at] = static_cast<int>(i);
                const uint32_t coverage = glyph.coverage[static_cast<size_t>(row * glyph.width + column)];
                EXPECT_EQ(baked.atlas.GetBits()[at], coverage << 24 | 0xFFFFFF);
            }
    }
    int strayPixels = 0;
    for (size_t at = 0; at < owner.size(); ++at)
        strayPixels += owner[at] == -1 && (baked.atlas.GetBits()[at] >> 24) != 0;
    EXPECT_EQ(strayPixels, 0);
    GlyphBitmap a, v;
    face->Render(U'A', a);
    face->Render(U'V', v);
    EXPECT_EQ(font->StringWidth(L"AV"), a.advance + v.advance + face->Kerning(U'A', U'V')) << "kerned as the face";
}

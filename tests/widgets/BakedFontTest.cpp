// The font baked at build time from DejaVu Sans at 16 pixels: its metrics and widths agree with
// the face read directly, its glyphs draw the same pixels as the system font of that face and
// size, and a text block drawn with it on the 2D path matches its golden image.
// Rerun one case: test_widgets --gtest_filter='BakedFont.*'
#include "FontTestSupport.h"
#include "tests/GoldenImage.h"

#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/widgets/ImageFont.h"
#include "framework/widgets/SysFont.h"
#include "framework/widgets/TrueTypeFace.h"

#include <gtest/gtest.h>

using namespace Quoll;
using namespace QuollTest;

namespace
{
std::unique_ptr<ImageFont> LoadBaked()
{
    std::string error;
    auto font = ImageFont::Load(QUOLL_BAKED_FONT, error);
    EXPECT_NE(font, nullptr) << error;
    return font;
}

MemoryImage Canvas(int width, int height, uint32_t colour)
{
    MemoryImage image;
    const std::vector<uint32_t> fill(static_cast<size_t>(width * height), colour);
    image.SetBits(fill.data(), width, height);
    return image;
}
} // namespace

TEST(BakedFont, MetricsAndWidthsAreTheFacesOwn)
{
    auto font = LoadBaked();
    ASSERT_NE(font, nullptr);
    std::string error;
    auto face = TrueTypeFace::Open(QUOLL_DEJAVU_SANS, 16, error);
    ASSERT_NE(face, nullptr) << error;
    EXPECT_EQ(font->GetAscent(), face->GetAscent());
    EXPECT_EQ(font->GetHeight(), face->GetAscent() + face->GetDescent());
    EXPECT_EQ(font->GetLineSpacing(), font->GetHeight());

    const std::wstring text = L"AVATAR Tour, \u00C9t\u00E9 \u00BF? Lyw 0123";
    int expected = 0;
    wchar_t previous = 0;
    for (wchar_t c : text)
    {
        GlyphBitmap glyph;
        face->Render(static_cast<char32_t>(c), glyph);
        expected += glyph.advance + face->Kerning(static_cast<char32_t>(previous), static_cast<char32_t>(c));
        previous = c;
    }
    EXPECT_EQ(font->StringWidth(text), expected);
    EXPECT_EQ(font->CharWidth(L'\x4E2D'), font->CharWidth(L'?')) << "outside the baked set";
}

TEST(BakedFont, GlyphsDrawAsTheSystemFontOfTheSameFaceAndSize)
{
    auto baked = LoadBaked();
    ASSERT_NE(baked, nullptr);
    std::string error;
    auto system = SysFont::Create(nullptr, "DejaVu Sans", 12, 0, error); // 16 pixels
    ASSERT_NE(system, nullptr) << error;
    ASSERT_EQ(system->GetPixelSize(), 16);
    const std::wstring text = L"Jackdaws love my big sphinx of quartz.";
    ASSERT_EQ(baked->StringWidth(text), system->StringWidth(text));
    constexpr int kW = 340, kH = 30;
    auto draw = [&](Font& font) {
        MemoryImage image = Canvas(kW, kH, 0xFF000000);
        Graphics g(&image);
        g.SetFont(&font);
        g.SetColor(Color(255, 255, 255));
        g.DrawString(text, 4, 20);
        return PixelsOf(image);
    };
    const auto fromAtlas = draw(*baked), fromFace = draw(*system);
    int most = 0, inked = 0;
    for (size_t i = 0; i < fromAtlas.size(); ++i)
    {
        most = std::max(most, std::abs(static_cast<int>(fromAtlas[i] & 0xFF) - static_cast<int>(fromFace[i] & 0xFF)));
        inked += (fromAtlas[i] & 0xFF) != 0;
    }
    EXPECT_LE(most, 2) << "the blends round differently, nothing more";
    EXPECT_GT(inked, 500);
}

TEST(BakedFont, TextBlockMatchesItsGolden)
{
    auto font = LoadBaked();
    ASSERT_NE(font, nullptr);
    constexpr int kW = 320, kH = 200;
    MemoryImage image = Canvas(kW, kH, 0xFF1C2A48);
    Graphics g(&image);
    g.SetFont(font.get());
    g.SetColor(Color(255, 255, 255));
    g.DrawString(L"PetriGlow \u00E9t\u00E9: AVA Tour", 8, 22);
    g.SetColor(Color(245, 255, 85));
    g.DrawWordWrapped(Rect(8, 30, 300, 0),
                      L"Your bacteria clone to a neighbouring cell or jump two cells away, "
                      L"capturing every hostile one around where they land.",
                      -1, 0);
    g.SetColor(Color(120, 200, 255, 160));
    g.WriteString(L"Half clear, then ^FF8040^orange^oldclr^ again", 8, 120);
    g.SetColor(Color(255, 255, 255));
    g.ClipRect(8, 132, 150, 30);
    g.DrawString(L"Cut off by the clip rectangle", 8, 150);
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("widgets", "text_block", image.GetBits(), kW, kH));
}

// The bitmap font from a synthetic descriptor and atlas: metrics, kerning and the '?' fallback,
// word wrapping through the drawing context, drawing compared pixel for pixel with glyphs
// placed by hand (inside and across a clip), sharing between duplicates and loads, and the
// descriptor's errors with their lines, and the resource manager's fonts through the factory. Rerun one case: test_widgets --gtest_filter='ImageFont.*'
#include "FontTestSupport.h"

#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/resources/ResourceManager.h"
#include "framework/widgets/ImageFont.h"
#include "framework/widgets/ImageFontFactory.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace Quoll;
using namespace QuollTest;

static_assert(!std::is_copy_assignable_v<ImageFont>);

namespace
{
constexpr uint32_t kBackground = 0xFF000000;
const uint32_t kInk = TintedWhite(Color(200, 100, 50));

struct Canvas
{
    explicit Canvas(int width = 64, int height = 32) : width(width), height(height)
    {
        const std::vector<uint32_t> black(static_cast<size_t>(width * height), kBackground);
        image.SetBits(black.data(), width, height);
    }
    int width, height;
    MemoryImage image;
};

// The sum of the lit pixels' positions: a checksum of where the text covers.
uint64_t CoverageChecksum(const std::vector<uint32_t>& pixels, int width)
{
    uint64_t sum = 0;
    for (size_t i = 0; i < pixels.size(); ++i)
        if (pixels[i] != kBackground)
            sum += (i % static_cast<size_t>(width) + 1) * 131 + i / static_cast<size_t>(width) + 1;
    return sum;
}
} // namespace

TEST(ImageFont, MetricsKerningAndTheQuestionMarkFallback)
{
    SyntheticFontFiles files;
    auto font = files.Load();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetHeight(), 10);
    EXPECT_EQ(font->GetAscent(), 8);
    EXPECT_EQ(font->GetDescent(), 2);
    EXPECT_EQ(font->GetAscentPadding(), 1);
    EXPECT_EQ(font->GetLineSpacing(), 12);

    EXPECT_EQ(font->CharWidth(L'V'), 6);
    EXPECT_EQ(font->CharWidthKern(L'V', L'A'), 4);
    EXPECT_EQ(font->CharWidthKern(L'A', L'V'), 6) << "kerning pairs are ordered";
    EXPECT_EQ(font->StringWidth(L"AV"), 10);
    EXPECT_EQ(font->StringWidth(L"A V"), 15) << "a space breaks the pair";
    EXPECT_EQ(font->StringWidth(L""), 0);
    EXPECT_EQ(font->CharWidth(L'x'), 6) << "missing characters measure as '?'";
    EXPECT_EQ(font->FindGlyph(L'\x4E2D'), font->FindGlyph(L'?'));
}

TEST(ImageFont, WithoutAQuestionMarkMissingCharactersAreNothing)
{
    SyntheticFontFiles files;
    std::string error;
    auto font = ImageFont::FromText("atlas atlas.png\nheight 10\nascent 8\nglyph A 0 0 5 8 0 -8 6\n",
                                    files.Folder().string(), error);
    ASSERT_NE(font, nullptr) << error;
    EXPECT_EQ(font->FindGlyph(L'x'), nullptr);
    EXPECT_EQ(font->StringWidth(L"AxA"), 12);
    Canvas canvas;
    Graphics g(&canvas.image);
    g.SetFont(font.get());
    g.SetColor(Color(200, 100, 50));
    g.DrawString(L"xAx", 0, 10);
    std::vector<uint32_t> expected(static_cast<size_t>(canvas.width * canvas.height), kBackground);
    for (int row = 2; row < 10; ++row)
        for (int column = 0; column < 5; ++column)
            expected[static_cast<size_t>(row * canvas.width + column)] = kInk;
    EXPECT_TRUE(SamePixels(PixelsOf(canvas.image), expected, canvas.width));
}

TEST(ImageFont, DrawsTheGlyphsTintedWhereTheReferenceDoesAndNothingOutsideTheClip)
{
    SyntheticFontFiles files;
    auto font = files.Load();
    ASSERT_NE(font, nullptr);
    const std::wstring text = L"AVx b";
    {
        Canvas canvas;
        Graphics g(&canvas.image);
        g.SetFont(font.get());
        g.SetColor(Color(200, 100, 50));
        g.Translate(2, 1);
        g.DrawString(text, 1, 12); // destination pen (3, 13)
        std::vector<uint32_t> expected(static_cast<size_t>(canvas.width * canvas.height), kBackground);
        DrawReference(expected, canvas.width, canvas.height, 3, 13, text, kInk, Rect(0, 0, 64, 32));
        const auto actual = PixelsOf(canvas.image);
        EXPECT_EQ(CoverageChecksum(actual, canvas.width), CoverageChecksum(expected, canvas.width));
        EXPECT_TRUE(SamePixels(actual, expected, canvas.width));
        // 'A' 40 + 'V' 20 + '?' 20 + 'b' 20 pixels, less the 4 where the kerned 'V' overlaps 'A'.
        EXPECT_EQ(std::count(actual.begin(), actual.end(), kInk), 96);
    }
    // A clip that cuts through every glyph: what lies outside stays untouched.
    for (const Rect clip : {Rect(5, 8, 9, 4), Rect(0, 14, 64, 3), Rect(20, 0, 3, 32), Rect(70, 0, 5, 5)})
    {
        Canvas canvas;
        Graphics g(&canvas.image);
        g.SetColor(Color(200, 100, 50));
        font->DrawString(&g, 3, 13, text, Color(200, 100, 50), clip);
        std::vector<uint32_t> expected(static_cast<size_t>(canvas.width * canvas.height), kBackground);
        DrawReference(expected, canvas.width, canvas.height, 3, 13, text, kInk, clip);
        EXPECT_TRUE(SamePixels(PixelsOf(canvas.image), expected, canvas.width)) << "clip " << clip.x << "," << clip.y;
    }
}

TEST(ImageFont, WordWrappingBreaksAtSpacesWithTheKernedWidths)
{
    SyntheticFontFiles files;
    auto font = files.Load();
    ASSERT_NE(font, nullptr);
    Canvas canvas(64, 48);
    Graphics g(&canvas.image);
    g.SetFont(font.get());
    g.SetColor(Color(200, 100, 50));
    // "AV AV" is 23 pixels: each "AV" (10 kerned) goes on a line of its own at width 20.
    const int height = g.DrawWordWrapped(Rect(4, 3, 20, 0), L"AV AV AV");
    // The first baseline lies ascent - padding below the top, then one line spacing apart.
    std::vector<uint32_t> expected(static_cast<size_t>(64 * 48), kBackground);
    for (int line = 0; line < 3; ++line)
        DrawReference(expected, 64, 48, 4, 3 + 7 + 12 * line, L"AV", kInk, Rect(0, 0, 64, 48));
    EXPECT_TRUE(SamePixels(PixelsOf(canvas.image), expected, canvas.width));
    EXPECT_EQ(height, 2 + 7 + 2 * 12);
    EXPECT_EQ(g.MeasureWordWrappedHeight(20, L"AV AV AV"), height);
    EXPECT_EQ(g.MeasureWordWrappedHeight(23, L"AV AV AV"), 2 + 7 + 12) << "23 pixels hold two words";
}

TEST(ImageFont, DuplicatesAndLoadsOfOneDescriptorShareTheirAtlas)
{
    SyntheticFontFiles files;
    auto font = files.Load();
    ASSERT_NE(font, nullptr);
    const std::unique_ptr<Font> copy = font->Duplicate();
    auto* imageCopy = dynamic_cast<ImageFont*>(copy.get());
    ASSERT_NE(imageCopy, nullptr);
    EXPECT_EQ(imageCopy->FindGlyph(L'A'), font->FindGlyph(L'A'));
    auto again = files.Load();
    EXPECT_EQ(again->FindGlyph(L'A'), font->FindGlyph(L'A'));
    font.reset();
    again.reset();
    EXPECT_EQ(copy->StringWidth(L"AV"), 10) << "a duplicate outlives its original";
}

TEST(ImageFont, DescriptorErrorsNameTheirLine)
{
    SyntheticFontFiles files;
    const std::string head = "atlas atlas.png\nheight 10\nascent 8\n";
    struct Case
    {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {head + "bogus 1\n", "Unknown command 'bogus' on Line 4"},
        {head + "glyph A 0 0 5 8 0 -8\n", "'glyph' takes 8 arguments, not 7 on Line 4"},
        {"# heading\n\natlas atlas.png\nheight ten\n", "'ten' is not a whole number on Line 4"},
        {head + "height 12\n", "A second 'height' line on Line 4"},
        {head + "glyph A 60 0 5 8 0 -8 6\n", "The glyph's rectangle leaves the 64 x 16 atlas on Line 4"},
        {head + "glyph A 0 0 5 8 0 -8 6\nglyph A 8 0 5 8 0 -8 6\n", "A second glyph of A on Line 5"},
        {head + "glyph U+D800 0 0 5 8 0 -8 6\n", "'U+D800' is not a character code on Line 4"},
        {head + "glyph AB 0 0 5 8 0 -8 6\n", "'AB' is not one character (write U+XXXX) on Line 4"},
        {head + "kern A \"V 1\n", "Unterminated quote on Line 4"},
        {"height 10\nascent 8\n", "No 'atlas' line on Line 3"},
        {"atlas atlas.png\nascent 8\n", "No 'height' line on Line 3"},
        {"atlas atlas.png\nheight 8\nascent 9\n", "The ascent 9 exceeds the height 8 on Line 3"},
        {"atlas missing.png\n", "Cannot read the atlas image"},
        {"height 0\n", "0 is outside 1..4096 on Line 1"},
    };
    for (const Case& c : cases)
    {
        std::string error;
        EXPECT_EQ(ImageFont::FromText(c.text, files.Folder().string(), error), nullptr) << c.text;
        EXPECT_NE(error.find(c.error), std::string::npos) << "got: " << error;
    }
    std::string error;
    EXPECT_EQ(ImageFont::Load(files.WriteDescriptor("bad.txt", head + "bogus\n"), error), nullptr);
    EXPECT_NE(error.find("bad.txt: Unknown command 'bogus' on Line 4"), std::string::npos) << error;
    EXPECT_EQ(ImageFont::Load((files.Folder() / "none.txt").string(), error), nullptr);
    EXPECT_NE(error.find("Cannot open file: "), std::string::npos) << error;
}

TEST(ImageFont, DescriptorsAcceptMarksCommentsQuotesAndWindowsLineEnds)
{
    SyntheticFontFiles files;
    std::string error;
    auto font = ImageFont::FromText("\xEF\xBB\xBF# heading\r\natlas \"atlas.png\" # the image\r\nheight 10\r\n"
                                    "ascent 8\r\nglyph \"#\" 0 0 5 8 0 -8 7\r\nglyph \"\\\"\" 8 0 5 8 0 -8 4\r\n",
                                    files.Folder().string(), error);
    ASSERT_NE(font, nullptr) << error;
    EXPECT_EQ(font->StringWidth(L"#\""), 11);
}

TEST(ImageFont, TheFactoryMakesTheManifestsFontsAndReportsBadOnes)
{
    SyntheticFontFiles files;
    files.WriteDescriptor("broken.txt", "atlas atlas.png\nheight 10\n");
    const std::string folder = files.Folder().string();
    const std::string manifest = files.WriteDescriptor(
        "resources.xml", "<ResourceManifest><Resources id=\"Fonts\">"
                         "<SetDefaults path=\"" + folder + "\" idprefix=\"FONT_\"/>"
                         "<Font id=\"SMALL\" path=\"font.txt\"/></Resources>"
                         "<Resources id=\"Broken\"><Font id=\"BAD\" path=\"" + folder + "/broken.txt\"/></Resources>"
                         "</ResourceManifest>");
    ImageFontFactory factory;
    ResourceManager manager;
    manager.SetFontFactory(&factory);
    ASSERT_TRUE(manager.ParseResourcesFile(manifest)) << manager.GetErrorText();
    ASSERT_TRUE(manager.LoadResources("Fonts")) << manager.GetErrorText();
    Font* font = manager.GetFont("FONT_SMALL");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->StringWidth(L"AV"), 10);
    EXPECT_FALSE(manager.LoadResources("Broken"));
    EXPECT_NE(manager.GetErrorText().find("No 'ascent' line on Line 3"), std::string::npos) << manager.GetErrorText();
}

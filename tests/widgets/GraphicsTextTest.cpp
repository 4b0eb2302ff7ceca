// The drawing context's text edge cases with a real bitmap font drawing into a memory image:
// escaped carets, colour escapes and ^oldclr^, an escape too close to the end, escapes turned
// off, and a word longer than the wrap width. Each case is compared with plain DrawString calls
// of what it must amount to. Rerun one case: test_widgets --gtest_filter='GraphicsText.*'
#include "FontTestSupport.h"

#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"

#include <gtest/gtest.h>

using namespace Quoll;
using namespace QuollTest;

namespace
{
constexpr int kWidth = 80, kHeight = 40;

class GraphicsText : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_NE(font, nullptr); }

    // A fresh black canvas with a context in the old colour (alpha 200) and the font.
    struct Canvas
    {
        explicit Canvas(Font* font)
        {
            const std::vector<uint32_t> black(kWidth * kHeight, 0xFF000000);
            image.SetBits(black.data(), kWidth, kHeight);
            g.SetFont(font);
            g.SetColor(Color(10, 20, 30, 200));
        }
        MemoryImage image;
        Graphics g{&image};
    };

    // The pixels of plain DrawString calls: (text, x, colour) on the baseline 20.
    std::vector<uint32_t> Plain(std::initializer_list<std::tuple<std::wstring, int, Color>> pieces)
    {
        Canvas canvas(font.get());
        for (const auto& [text, x, colour] : pieces)
        {
            canvas.g.SetColor(colour);
            canvas.g.DrawString(text, x, 20);
        }
        return PixelsOf(canvas.image);
    }

    SyntheticFontFiles files;
    std::unique_ptr<ImageFont> font = files.Load();
    const Color old{10, 20, 30, 200};
};
} // namespace

TEST_F(GraphicsText, TwoCaretsWriteOneCaret)
{
    Canvas canvas(font.get());
    EXPECT_EQ(canvas.g.WriteString(L"A^^V", 2, 20), font->StringWidth(L"A^V"));
    EXPECT_TRUE(SamePixels(PixelsOf(canvas.image), Plain({{L"A^V", 2, old}}), kWidth));
}

TEST_F(GraphicsText, ColourEscapesSwitchColourAndKeepTheOldAlpha)
{
    Canvas canvas(font.get());
    EXPECT_EQ(canvas.g.WriteString(L"A^FF0000^V", 2, 20), 12) << "the pair is not kerned across an escape";
    EXPECT_TRUE(SamePixels(PixelsOf(canvas.image), Plain({{L"A", 2, old}, {L"V", 8, Color(255, 0, 0, 200)}}), kWidth));
    EXPECT_EQ(canvas.g.GetColor(), Color(255, 0, 0, 200));

    Canvas restored(font.get());
    restored.g.WriteString(L"A^oldclr^V", 2, 20, -1, -1, true, 0, -1, 0x00405060);
    EXPECT_TRUE(SamePixels(PixelsOf(restored.image), Plain({{L"A", 2, old}, {L"V", 8, Color(0x40, 0x50, 0x60, 200)}}), kWidth));
}

TEST_F(GraphicsText, AnEscapeTooCloseToTheEndStopsTheText)
{
    Canvas canvas(font.get());
    EXPECT_EQ(canvas.g.WriteString(L"AV^FF00", 2, 20), 10);
    EXPECT_TRUE(SamePixels(PixelsOf(canvas.image), Plain({{L"AV", 2, old}}), kWidth));
}

TEST_F(GraphicsText, WithEscapesOffTheCaretsAreWritten)
{
    Canvas canvas(font.get());
    canvas.g.SetColorEscapes(false);
    canvas.g.WriteString(L"^FF0000^", 2, 20);
    EXPECT_TRUE(SamePixels(PixelsOf(canvas.image), Plain({{L"^FF0000^", 2, old}}), kWidth));
    EXPECT_EQ(canvas.g.GetColor(), old);
}

TEST_F(GraphicsText, AWordLongerThanTheWrapWidthIsCutAtLeastOneCharacterALine)
{
    Canvas canvas(font.get());
    canvas.g.SetColor(old);
    // Width 7 holds one glyph: three lines of one 'A', baselines 7, 19 and 31 below the top 0.
    const int height = canvas.g.DrawWordWrapped(Rect(2, 0, 7, 0), L"AAA");
    EXPECT_EQ(height, 2 + 7 + 2 * 12);
    Canvas expected(font.get());
    for (int line = 0; line < 3; ++line)
        expected.g.DrawString(L"A", 2, 7 + 12 * line);
    EXPECT_TRUE(SamePixels(PixelsOf(canvas.image), PixelsOf(expected.image), kWidth));

    Canvas narrow(font.get());
    EXPECT_EQ(narrow.g.DrawWordWrapped(Rect(2, 0, 3, 0), L"AV"), 2 + 7 + 12) << "never fewer than one a line";
}

// The drawing context against a recording image and a fixed-width fake font: clipping and
// translation of shapes and images, the image-draw paths chosen for transforms, cels and boxes,
// colour escapes and word wrapping. Rerun one case: test_display --gtest_filter='GraphicsTest.*'
#include "framework/display/Font.h"
#include "framework/display/Graphics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Quoll;

static_assert(!std::is_copy_assignable_v<Graphics>);

namespace
{
std::string R(const Rect& r)
{
    return std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.width) + "," +
           std::to_string(r.height);
}

// Records the drawing calls it receives.
class RecordingImage : public Image
{
public:
    RecordingImage(int width, int height)
    {
        mWidth = width;
        mHeight = height;
    }
    void FillRect(const Rect& r, const Color&, DrawMode) override { calls.push_back("fill " + R(r)); }
    void DrawRect(const Rect& r, const Color&, DrawMode) override { calls.push_back("rect " + R(r)); }
    void DrawLine(double x0, double y0, double x1, double y1, const Color&, DrawMode) override
    {
        calls.push_back("line " + std::to_string(static_cast<int>(x0)) + "," + std::to_string(static_cast<int>(y0)) +
                        "," + std::to_string(static_cast<int>(x1)) + "," + std::to_string(static_cast<int>(y1)));
    }
    void Blt(Image*, int x, int y, const Rect& src, const Color&, DrawMode) override
    {
        calls.push_back("blt " + std::to_string(x) + "," + std::to_string(y) + " " + R(src));
    }
    void BltMirror(Image*, int x, int y, const Rect& src, const Color&, DrawMode) override
    {
        calls.push_back("mirror " + std::to_string(x) + "," + std::to_string(y) + " " + R(src));
    }
    void StretchBlt(Image*, const Rect& dest, const Rect& src, const Rect&, const Color&, DrawMode, bool) override
    {
        calls.push_back("stretch " + R(dest) + " " + R(src));
    }
    void StretchBltMirror(Image*, const Rect& dest, const Rect& src, const Rect&, const Color&, DrawMode) override
    {
        calls.push_back("stretchmirror " + R(dest) + " " + R(src));
    }
    void BltRotated(Image*, float, float, const Rect&, const Rect&, const Color&, DrawMode, double, float,
                    float) override
    {
        calls.push_back("rotated");
    }
    void BltMatrix(Image*, float, float, const Matrix3&, const Rect&, const Color&, DrawMode, const Rect&,
                   bool) override
    {
        calls.push_back("matrix");
    }

    std::vector<std::string> calls;
};

// Every character is 10 pixels wide; draws are recorded with their colour.
class FakeFont : public Font
{
public:
    int GetHeight() const override { return 20; }
    int GetAscent() const override { return 15; }
    int GetAscentPadding() const override { return 2; }
    int GetLineSpacing() const override { return 22; }
    int StringWidth(const std::wstring& text) override { return 10 * static_cast<int>(text.size()); }
    int CharWidthKern(wchar_t, wchar_t) override { return 10; }
    void DrawString(Graphics*, int x, int y, const std::wstring& text, const Color& color, const Rect&) override
    {
        if (!text.empty())
            draws.push_back({x, y, text, color});
    }

    std::unique_ptr<Font> Duplicate() const override { return std::make_unique<FakeFont>(*this); }

    struct Draw
    {
        int x, y;
        std::wstring text;
        Color color;
    };
    std::vector<Draw> draws;
};

struct Fixture
{
    RecordingImage dest{100, 50};
    RecordingImage source{20, 10};
    Graphics g{&dest};
};
} // namespace

TEST(GraphicsTest, FillsAndOutlinesClipAndSkipClearColours)
{
    Fixture f;
    f.g.SetColor(Color(1, 2, 3, 0));
    f.g.FillRect(0, 0, 5, 5);
    f.g.DrawRect(0, 0, 5, 5);
    EXPECT_TRUE(f.dest.calls.empty());

    f.g.SetColor(Color::White);
    f.g.Translate(5, 5);
    f.g.DrawRect(0, 0, 10, 5); // wholly inside: one outline
    f.g.ClipRect(0, 0, 8, 100);
    f.g.FillRect(-3, 0, 20, 2);
    EXPECT_EQ(f.dest.calls, (std::vector<std::string>{"rect 5,5,10,5", "fill 5,5,8,2"}));

    Fixture h;
    h.g.SetColor(Color::White);
    h.g.ClipRect(0, 0, 10, 50);
    h.g.DrawRect(0, 0, 10, 5);
    EXPECT_EQ(h.dest.calls,
              (std::vector<std::string>{"fill 0,0,10,1", "fill 0,5,10,1", "fill 0,1,1,4"})); // right edge clipped off
}

TEST(GraphicsTest, PushAndPopRestoreTheState)
{
    Fixture f;
    f.g.PushState();
    f.g.Translate(10, 10);
    f.g.ClipRect(0, 0, 5, 5);
    f.g.SetColor(Color(9, 9, 9));
    f.g.PopState();
    f.g.PopState(); // a pop without a push does nothing
    EXPECT_EQ(f.g.mTransX, 0);
    EXPECT_EQ(f.g.mClipRect, Rect(0, 0, 100, 50));
    EXPECT_EQ(f.g.GetColor(), Color(0, 0, 0, 255));
}

// Create copies the current state to the heap; the pushed states stay behind.
TEST(GraphicsTest, CreateCopiesTheCurrentStateOnly)
{
    Fixture f;
    f.g.Translate(3, 4);
    f.g.PushState();
    f.g.SetColor(Color(9, 8, 7));
    const std::unique_ptr<Graphics> copy = f.g.Create();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->mTransX, 3);
    EXPECT_EQ(copy->GetColor(), Color(9, 8, 7));
    copy->PopState(); // nothing pushed on the copy
    EXPECT_EQ(copy->GetColor(), Color(9, 8, 7));
}

TEST(GraphicsTest, LinesAreCutToTheClip)
{
    Fixture f;
    f.g.ClipRect(10, 10, 20, 20);
    f.g.DrawLine(0, 20, 40, 20);
    f.g.DrawLine(0, 0, 5, 50); // wholly left of the clip
    f.g.DrawLine(0, 0, 40, 40);
    EXPECT_EQ(f.dest.calls, (std::vector<std::string>{"line 10,20,29,20", "line 10,10,29,29"}));
}

TEST(GraphicsTest, ImageDrawsClipTheSourceAndRejectRectsOutsideTheImage)
{
    Fixture f;
    f.g.Translate(-5, 0);
    f.g.DrawImage(&f.source, 0, 0);
    f.g.DrawImage(&f.source, 0, 0, Rect(15, 0, 10, 10)); // leaves the image
    f.g.DrawImageMirror(&f.source, 0, 0);
    f.g.DrawImageCel(&f.source, 0, 0, 1, 0); // one column only
    f.g.DrawImageCel(&f.source, 0, 0, 0, -1);
    EXPECT_EQ(f.dest.calls, (std::vector<std::string>{"blt 0,0 5,0,15,10", "mirror 0,0 0,0,15,10"}));
}

TEST(GraphicsTest, ScaledDrawsStretchAboutTheOrigin)
{
    Fixture f;
    f.g.mScaleX = 2;
    f.g.mScaleY = 0.5f;
    f.g.mScaleOrigX = 10;
    f.g.DrawImage(&f.source, 20, 20);
    EXPECT_EQ(f.dest.calls, (std::vector<std::string>{"stretch 30,10,40,5 0,0,20,10"}));
}

TEST(GraphicsTest, TransformsChooseTheirDrawingPath)
{
    Fixture f;
    Transform mirror;
    mirror.Scale(-1, 1);
    f.g.DrawImageTransform(&f.source, mirror, 50, 20);
    Transform wide;
    wide.Scale(-1, 1);
    wide.Scale(2, 1); // not a plain mirror: stretched and mirrored
    f.g.DrawImageTransform(&f.source, wide, 50, 20);
    Transform plain;
    f.g.DrawImageTransform(&f.source, plain, 50, 20);
    Transform turned;
    turned.Rotate(0.5f);
    f.g.DrawImageTransformF(&f.source, turned, 50, 20);
    Transform complex;
    complex.Scale(2, 2);
    complex.Rotate(0.5f);
    f.g.DrawImageTransform(&f.source, complex, 50, 20);
    EXPECT_EQ(f.dest.calls, (std::vector<std::string>{"mirror 40,15 0,0,20,10", "stretchmirror 30,15,40,10 0,0,20,10",
                                                      "blt 40,15 0,0,20,10", "rotated", "matrix"}));
}

TEST(GraphicsTest, NinePartBoxTilesEdgesAndCentreInsideTheClip)
{
    Fixture f;
    RecordingImage box(30, 30); // corners 10 x 10, middle 10 x 10
    f.g.DrawImageBox(Rect(0, 0, 45, 30), &box);
    // Four corners, three top and bottom edge tiles (the third cut by the clip), one left and
    // right tile, three centre tiles.
    ASSERT_EQ(f.dest.calls.size(), 4u + 6u + 2u + 3u);
    EXPECT_EQ(f.dest.calls[1], "blt 35,0 20,0,10,10");
    EXPECT_EQ(f.dest.calls[8], "blt 30,0 10,0,5,10");
    EXPECT_EQ(f.dest.calls[14], "blt 30,10 10,10,5,10");
}

TEST(GraphicsTest, ColourEscapesSwitchColourAndKeepTheOldAlpha)
{
    Fixture f;
    FakeFont font;
    f.g.SetFont(&font);
    f.g.SetColor(Color(1, 2, 3, 200));
    EXPECT_EQ(f.g.WriteString(L"a^^b", 0, 0), 30);
    EXPECT_EQ(font.draws.back().text, L"a^b");

    font.draws.clear();
    EXPECT_EQ(f.g.WriteString(L"x^FF0000^y", 0, 0), 20);
    ASSERT_EQ(font.draws.size(), 2u);
    EXPECT_EQ(font.draws[0].color, Color(1, 2, 3, 200));
    EXPECT_EQ(font.draws[1].color, Color(255, 0, 0, 200));
    EXPECT_EQ(font.draws[1].x, 10);
    EXPECT_EQ(f.g.GetColor(), Color(255, 0, 0, 200)); // the last escape stays

    font.draws.clear();
    f.g.WriteString(L"x^oldclr^y", 0, 0, -1, -1, true, 0, -1, 0x00123456);
    EXPECT_EQ(font.draws[1].color, Color(0x12, 0x34, 0x56, 200));

    font.draws.clear();
    EXPECT_EQ(f.g.WriteString(L"ab^FF00", 0, 0), 20); // escape too close to the end stops the text
    f.g.SetColorEscapes(false);
    font.draws.clear();
    f.g.WriteString(L"^FF0000^", 0, 0);
    EXPECT_EQ(font.draws[0].text, L"^FF0000^");
}

TEST(GraphicsTest, CentredTextMeasuresWithoutKeepingTheEscapeColour)
{
    Fixture f;
    FakeFont font;
    f.g.SetFont(&font);
    f.g.WriteString(L"ab^00FF00^c", 0, 0, 100, 0);
    ASSERT_EQ(font.draws.size(), 2u);
    EXPECT_EQ(font.draws[0].x, 35);
    EXPECT_EQ(font.draws[0].color, Color(0, 0, 0, 255));
}

TEST(GraphicsTest, WordWrapBreaksAtSpacesAndCutsLongWords)
{
    Fixture f;
    FakeFont font;
    f.g.SetFont(&font);
    const int height = f.g.DrawWordWrapped(Rect(0, 0, 50, 0), L"ab cd efghijkl\nx");
    std::vector<std::wstring> lines;
    for (const auto& d : font.draws)
        lines.push_back(d.text);
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"ab cd", L"efghi", L"jkl", L"x"}));
    EXPECT_EQ(font.draws[0].y, 13);
    EXPECT_EQ(font.draws[1].y, 35);
    // Four lines: descent 5 + 13 + 3 * 22.
    EXPECT_EQ(height, 5 + 13 + 3 * 22);
    EXPECT_EQ(f.g.MeasureWordWrappedHeight(50, L"ab cd efghijkl\nx"), height);

    font.draws.clear();
    f.g.DrawWordWrapped(Rect(0, 0, 5, 0), L"abc");
    EXPECT_EQ(font.draws.size(), 3u); // at least one character a line
}

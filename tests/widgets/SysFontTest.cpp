// The system font over the installed DejaVu faces: a face found by name, an unknown face
// falling back to DejaVu Sans, point sizes at 96 dots per inch, measuring with no display or
// application, and drawing that colours covered pixels and leaves everything outside the clip.
// Rerun one case: test_widgets --gtest_filter='SysFont.*'
#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/widgets/SysFont.h"
#include "framework/widgets/TrueTypeFace.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace Quoll;

static_assert(!std::is_copy_assignable_v<SysFont>);

namespace
{
std::unique_ptr<SysFont> Make(const std::string& face, int points)
{
    std::string error;
    auto font = SysFont::Create(nullptr, face, points, 0, error);
    EXPECT_NE(font, nullptr) << error;
    return font;
}
} // namespace

TEST(SysFont, PointSizesBecomePixelsAtNinetySixDotsPerInch)
{
    EXPECT_EQ(TrueTypeFace::PixelSizeOfPoints(8), 11);
    EXPECT_EQ(TrueTypeFace::PixelSizeOfPoints(9), 12);
    EXPECT_EQ(TrueTypeFace::PixelSizeOfPoints(10), 13);
    EXPECT_EQ(TrueTypeFace::PixelSizeOfPoints(12), 16);
}

TEST(SysFont, AnUnknownFaceFallsBackToDejaVuSansAndMeasuresWithoutADisplay)
{
    auto font = Make("Tahoma", 8);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetFamilyName(), "DejaVu Sans");
    EXPECT_EQ(font->GetPixelSize(), 11);
    EXPECT_GT(font->GetAscent(), 0);
    EXPECT_GT(font->GetDescent(), 0);
    EXPECT_EQ(font->GetHeight(), font->GetAscent() + font->GetDescent());
    EXPECT_EQ(font->GetLineSpacing(), font->GetHeight());

    const std::wstring text = L"FPS: 60";
    int sum = 0;
    wchar_t previous = 0;
    for (wchar_t c : text)
    {
        sum += font->CharWidthKern(c, previous);
        previous = c;
    }
    EXPECT_EQ(font->StringWidth(text), sum);
    EXPECT_GT(sum, 30);
    EXPECT_LT(sum, 48) << "the overlay's 50-pixel image holds it";
    EXPECT_GT(font->StringWidth(L"WWWW"), font->StringWidth(L"iiii"));
    EXPECT_EQ(font->StringWidth(L""), 0);

    // The bigger size measures wider; a duplicate measures the same.
    auto big = Make("No Such Face At All", 20);
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->GetFamilyName(), "DejaVu Sans");
    EXPECT_GT(big->StringWidth(text), sum);
    EXPECT_EQ(font->Duplicate()->StringWidth(text), sum);
}

TEST(SysFont, AnInstalledFaceIsFoundByName)
{
    auto serif = Make("dejavu serif", 10);
    ASSERT_NE(serif, nullptr);
    EXPECT_EQ(serif->GetFamilyName(), "DejaVu Serif");
    auto sans = Make("DejaVu Sans", 10);
    EXPECT_NE(serif->StringWidth(L"Quoll framework"), sans->StringWidth(L"Quoll framework"));
}

TEST(SysFont, DrawsTheColourIntoCoveredPixelsAndNothingOutsideTheClip)
{
    auto font = Make("DejaVu Sans", 12);
    ASSERT_NE(font, nullptr);
    constexpr int kW = 120, kH = 40;
    const std::vector<uint32_t> black(kW * kH, 0xFF000000);
    auto draw = [&](const Rect& clip) {
        MemoryImage image;
        image.SetBits(black.data(), kW, kH);
        Graphics g(&image);
        g.Translate(3, 0);
        font->DrawString(&g, 2, 25, L"Hello, |g", Color(0, 255, 0), clip);
        const uint32_t* bits = image.GetBits();
        return std::vector<uint32_t>(bits, bits + kW * kH);
    };
    const auto whole = draw(Rect(0, 0, kW, kH));
    int solid = 0, touched = 0, left = kW, top = kH, bottom = 0;
    for (int i = 0; i < kW * kH; ++i)
    {
        if (whole[i] == 0xFF000000)
            continue;
        ++touched;
        EXPECT_EQ(whole[i] & 0xFFFF00FF, 0xFF000000u) << "only green blends in";
        solid += whole[i] == 0xFF00FF00;
        left = std::min(left, i % kW);
        top = std::min(top, i / kW);
        bottom = std::max(bottom, i / kW);
    }
    EXPECT_GT(solid, 20);
    EXPECT_GE(left, 5) << "the pen starts at the translated x";
    EXPECT_GE(top, 25 - font->GetAscent());
    EXPECT_LT(bottom, 25 + font->GetDescent());
    EXPECT_GT(bottom, 25) << "'g' and '|' reach below the baseline";

    const Rect clip(20, 18, 30, 6);
    const auto clipped = draw(clip);
    int inside = 0;
    for (int i = 0; i < kW * kH; ++i)
    {
        const int x = i % kW, y = i / kW;
        if (x >= clip.x && x < clip.x + clip.width && y >= clip.y && y < clip.y + clip.height)
        {
            EXPECT_EQ(clipped[i], whole[i]) << x << "," << y;
            inside += clipped[i] != 0xFF000000;
        }
        else
        {
            EXPECT_EQ(clipped[i], 0xFF000000u) << "drawn outside the clip at " << x << "," << y;
        }
    }
    EXPECT_GT(inside, 0);
    EXPECT_GT(touched, inside);
}

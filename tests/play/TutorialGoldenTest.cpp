// A tutorial step (panel, centred text, glow on cell 50, pointer and its shadow, close button)
// on a black screen: on the 2D path against its golden image, and the same frame on the 3D path
// compared with it. Rerun: test_play --gtest_filter='TutorialGolden*'; QUOLL_UPDATE_GOLDEN=1
// rewrites the golden.
#include "../display/Display3DFixture.h"
#include "tests/GoldenImage.h"
#include "TutorialFixture.h"

#include "framework/core/MersenneTwister.h"
#include "framework/rasteriser/TriangleSpanTable.h"
#include "game/ui/Button.h"

#include <cstdio>

namespace
{
constexpr const char* kScript = "STEP 1 1 -50 0 TUTOR_A 60 300\n";
constexpr int kWidth = TutorialFixture::kWidth;
constexpr int kHeight = TutorialFixture::kHeight;

// The step faded in, mid-swing; the tutorial draws its close button with it, and the widget
// tree's pass leaves it alone.
void DrawStep(TutorialFixture& f, Quoll::Graphics& g)
{
    Tutorial& t = f.tutorial ? *f.tutorial : f.Make();
    if (!t.IsShowingStep())
    {
        t.Advance(1, false);
        for (int i = 0; i < 50; ++i)
            t.Update(0.01f);
    }
    t.Draw(&g);
    Quoll::Button* button = t.GetCloseButton();
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->IsDrawnByOwner());
    // The tree's own call draws nothing more.
    g.PushState();
    g.Translate(button->GetAbsolutePosition().x, button->GetAbsolutePosition().y);
    button->Draw(&g);
    g.PopState();
}

std::vector<uint32_t> Draw2D()
{
    Quoll::InitTriangleSpanTable();
    Quoll::SeedRandom(31);
    TutorialFixture f(kScript);
    Quoll::MemoryImage screen;
    std::vector<uint32_t> black(static_cast<size_t>(kWidth * kHeight), TutorialFixture::kBlack);
    screen.SetBits(black.data(), kWidth, kHeight);
    {
        Quoll::Graphics g(&screen);
        DrawStep(f, g);
    }
    std::vector<uint32_t> pixels(screen.GetBits(), screen.GetBits() + kWidth * kHeight);
    for (uint32_t& p : pixels)
        p |= 0xFF000000u;
    return pixels;
}

std::vector<uint32_t> Draw3D()
{
    using namespace Quoll::Testing;
    Quoll::InitTriangleSpanTable();
    Quoll::SeedRandom(31);
    Registry3D registry;
    TestDisplay t(Quoll::Platform::SurfaceFormat::X8R8G8B8(), kWidth, kHeight);
    registry.mDisplay = t.display.get();
    t.display->Set3D(true);
    EXPECT_EQ(t.Init(), 0);
    std::vector<uint32_t> pixels;
    {
        TutorialFixture f(kScript);
        {
            Quoll::Graphics g(&t.Screen());
            g.SetColor(Quoll::Color(0, 0, 0));
            g.FillRect(0, 0, kWidth, kHeight);
            DrawStep(f, g);
        }
        EXPECT_TRUE(t.display->Redraw(nullptr));
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                pixels.push_back(t.display->mDrawSurface->ArgbAt(x, y) | 0xFF000000u);
    }
    t.display.reset();
    return pixels;
}
} // namespace

TEST(TutorialGolden, AStepMatchesItsGolden)
{
    const std::vector<uint32_t> frame = Draw2D();
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("play", "tutorial_step", frame.data(), kWidth, kHeight));
}

// The rotated pointer is sampled differently by the 3D path's triangles; everything else (panel,
// text, glow, button) agrees within 3.
TEST(TutorialGolden, TheThreeDimensionalPathAgreesWithinThreeOutsideThePointer)
{
    const std::vector<uint32_t> a = Draw2D();
    const std::vector<uint32_t> b = Draw3D();
    TutorialFixture layout(kScript);
    Quoll::Graphics scratch(nullptr);
    DrawStep(layout, scratch);
    const Tutorial& t = *layout.tutorial;
    const std::vector<Quoll::Rect> pointer = {Quoll::Rect(t.GetPointerX() - 12, t.GetPointerY() - 12, 48 + 30, 48 + 30)};
    const Quoll::Testing::FrameAgreement agreement = Quoll::Testing::CompareFrames(a, b, kWidth, kHeight, pointer);
    std::printf("tutorial step: largest difference %d, outside the pointer %d, %.4f of the pixels within 3\n",
                agreement.most, agreement.mostOutsideExcluded, agreement.shareWithin3);
    EXPECT_LE(agreement.mostOutsideExcluded, 3);
    EXPECT_GE(agreement.shareWithin3, 0.999);
}

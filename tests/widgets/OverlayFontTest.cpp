// The application's overlay font through the system-font hook: without a hook the block font,
// with the toolkit's hook a system font; the frame-rate overlay on the screen holds the text as
// that font draws it, and system text drawn straight into the 3D screen reaches the frame.
// Rerun one case: test_widgets --gtest_filter='OverlayFont.*'
#include "tests/app/TestApp.h"

#include "framework/app/BlockFont.h"
#include "framework/display/DDInterface.h"
#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/widgets/SysFont.h"

#include <gtest/gtest.h>

using namespace Quoll;
using namespace QuollTest;

namespace
{
class OverlayApp : public TestApp
{
public:
    explicit OverlayApp(bool is3D)
    {
        mWidth = 320;
        mHeight = 240;
        mBitsPerPixel = 32;
        SetSystemFontHook(&SysFont::MakeForApplication);
        EXPECT_TRUE(WriteRegBool("Is3D", is3D));
    }
    [[nodiscard]] DDInterface& Display() const { return *dynamic_cast<DDInterface*>(mDisplay.get()); }
};
} // namespace

TEST(OverlayFont, TheHookMakesTheSystemFontAndWithoutOneTheBlockFontStays)
{
    TestApp plain;
    EXPECT_NE(dynamic_cast<BlockFont*>(plain.MakeSystemFont("Tahoma", 8).get()), nullptr);
    plain.SetSystemFontHook([](QuollAppBase*, const std::string&, int) { return std::unique_ptr<Font>(); });
    EXPECT_NE(dynamic_cast<BlockFont*>(plain.MakeSystemFont("Tahoma", 8).get()), nullptr) << "a hook that fails";

    OverlayApp app(false);
    const auto font = app.MakeSystemFont("Tahoma", 8);
    auto* system = dynamic_cast<SysFont*>(font.get());
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(system->GetPointSize(), 8);
}

TEST(OverlayFont, TheFrameRateOverlayShowsTheSystemFontsText)
{
    ScopedThrowingExit exits;
    OverlayApp app(false);
    app.Init();
    ASSERT_FALSE(app.Is3DAccelerated());
    app.mShowFPS = true;
    app.mForceRedraw = true;
    ASSERT_TRUE(app.DrawDirty());

    // The reference: the overlay drawn by hand with a font of its own, into a display image as
    // the overlay is.
    std::string error;
    const auto font = SysFont::Create(nullptr, "Tahoma", 8, 0, error);
    ASSERT_NE(font, nullptr) << error;
    const int width = 50, height = font->GetHeight() + 4;
    const std::unique_ptr<MemoryImage> reference(app.NewDisplayImage());
    MemoryImage& expected = *reference;
    const std::vector<uint32_t> black(static_cast<size_t>(width * height), 0xFF000000);
    expected.SetBits(black.data(), width, height);
    Graphics g(&expected);
    g.SetFont(font.get());
    g.SetColor(Color(255, 255, 255));
    g.DrawString(L"FPS: 0", 2, font->GetAscent());

    const int left = 320 - width - 10, top = 240 - height - 10;
    int lit = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const uint32_t want = expected.GetBits()[y * width + x] & 0xFFFFFF;
            const uint32_t got = app.Display().mDrawSurface->ArgbAt(left + x, top + y) & 0xFFFFFF;
            ASSERT_EQ(got, want) << "overlay pixel " << x << "," << y;
            lit += got != 0;
        }
    EXPECT_GT(lit, 20) << "the text is there";
}

TEST(OverlayFont, SystemTextReachesTheThreeDScreen)
{
    ScopedThrowingExit exits;
    OverlayApp app(true);
    app.Init();
    ASSERT_TRUE(app.Is3DAccelerated());
    const auto font = app.MakeSystemFont("DejaVu Sans", 14);
    Graphics g(app.mDisplay->GetScreenImage());
    g.SetColor(Color(0, 0, 0));
    g.FillRect(0, 0, 320, 240);
    g.SetFont(font.get());
    g.SetColor(Color(0, 255, 0));
    g.DrawString(L"Level 12", 20, 40);
    g.SetColor(Color(255, 0, 0));
    g.FillRect(200, 10, 10, 10); // 3D drawing goes on after the text
    app.Redraw(nullptr);
    int green = 0;
    for (int y = 40 - font->GetAscent(); y < 40 + font->GetDescent(); ++y)
        for (int x = 20; x < 20 + font->StringWidth(L"Level 12"); ++x)
            green += (app.Display().mDrawSurface->ArgbAt(x, y) & 0xFFFFFF) == 0x00FF00;
    EXPECT_GT(green, 20);
    EXPECT_EQ(app.Display().mDrawSurface->ArgbAt(205, 15) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(app.Display().mDrawSurface->ArgbAt(100, 200) & 0xFFFFFF, 0u);
}

// Sprites as they reach the destination image: cels of a strip, untransformed draws at the
// top-left, scaled draws centred (checked against the sprite's own reported rectangle), the
// animated sprite's frame choice and its binding to the image's animation, and the additive
// two-copy glow. Rerun one case: test_scene --gtest_filter='*Sprite*.Name'.
#include "SceneTestDoubles.h"
#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "game/scene/AnimSprite.h"
#include "game/scene/HilightSprite.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
struct SpriteDraw : ::testing::Test
{
    RecordingImage screen;
    Quoll::Graphics g{&screen};
    const Quoll::Color white = Quoll::Color::White;
};

// The destination rectangle of a recorded StretchBlt line ("... to (x,y,w,h) ...").
Quoll::Rect StretchDestination(const std::string& call)
{
    Quoll::Rect r;
    const size_t at = call.find(" to (");
    EXPECT_NE(at, std::string::npos) << call;
    std::sscanf(call.c_str() + at, " to (%d,%d,%d,%d)", &r.x, &r.y, &r.width, &r.height);
    return r;
}
} // namespace

TEST(GetCelRect, NumbersCelsRowByRow)
{
    auto strip = MakeSourceImage("strip", 256, 128, 4, 2);
    EXPECT_EQ(GetCelRect(strip.get(), 5), Quoll::Rect(64, 64, 64, 64));
    EXPECT_EQ(GetCelRect(strip.get(), 3), Quoll::Rect(192, 0, 64, 64));
    EXPECT_EQ(GetCelRect(nullptr, 1), Quoll::Rect());
}

TEST_F(SpriteDraw, AWholeImageDrawsAtTheTruncatedTopLeftAndReportsTheCelSize)
{
    auto strip = MakeSourceImage("strip", 256, 128, 4, 2);
    Sprite sprite;
    sprite.mImage = strip.get();
    sprite.Draw(&g, 10.9f, 3.7f, Quoll::Color(1, 2, 3, 4));
    EXPECT_EQ(screen.calls, std::vector<std::string>{"Blt strip at 10,3 src (0,0,256,128) rgba(1,2,3,4) normal"});
    EXPECT_EQ(sprite.GetWidth(), 64);
    EXPECT_EQ(sprite.GetHeight(), 64);
    EXPECT_EQ(sprite.GetRectAt(100, 100), Quoll::Rect(68, 68, 64, 64));
}

TEST_F(SpriteDraw, ACelDrawsItsPartAndSubPixelKeepsFractions)
{
    auto strip = MakeSourceImage("strip", 256, 128, 4, 2);
    Sprite sprite;
    sprite.mImage = strip.get();
    sprite.mCel = 5;
    sprite.mSubPixel = true;
    sprite.Draw(&g, 10.5f, 20.25f, white);
    EXPECT_EQ(screen.calls,
              std::vector<std::string>{"BltAtFloat strip at 10.5,20.25 src (64,64,64,64) rgba(255,255,255,255) normal"});
}

TEST_F(SpriteDraw, UnscaledSpritesIgnoreCentringUntilTheyAreScaled)
{
    auto ball = MakeSourceImage("ball", 32, 16);
    Sprite sprite;
    sprite.mImage = ball.get();
    ASSERT_TRUE(sprite.mCentred);
    sprite.Draw(&g, 100, 100, white);
    sprite.SetScale(1.0f);
    sprite.Draw(&g, 100, 100, white);
    ASSERT_EQ(screen.calls.size(), 2u);
    EXPECT_EQ(screen.calls[0], "Blt ball at 100,100 src (0,0,32,16) rgba(255,255,255,255) normal");
    EXPECT_EQ(StretchDestination(screen.calls[1]), Quoll::Rect(84, 92, 32, 16));
}

TEST_F(SpriteDraw, ScaledDrawsLandOnTheReportedRectangle)
{
    auto strip = MakeSourceImage("cels", 80, 20, 2, 1);
    Sprite sprite;
    sprite.mImage = strip.get();
    sprite.mCel = 1;
    sprite.SetScale(0.5f);
    EXPECT_EQ(sprite.GetRectAt(100, 100), Quoll::Rect(90, 95, 20, 10));
    sprite.Draw(&g, 100, 100, white);
    sprite.mCentred = false;
    EXPECT_EQ(sprite.GetRectAt(100, 100), Quoll::Rect(100, 100, 20, 10));
    sprite.Draw(&g, 100, 100, white);
    ASSERT_EQ(screen.calls.size(), 2u);
    EXPECT_EQ(StretchDestination(screen.calls[0]), Quoll::Rect(90, 95, 20, 10));
    EXPECT_EQ(StretchDestination(screen.calls[1]), Quoll::Rect(100, 100, 20, 10));
    EXPECT_NE(screen.calls[0].find("src (40,0,40,20)"), std::string::npos) << screen.calls[0];
}

TEST_F(SpriteDraw, WithoutImageNothingIsDrawnButTheTintIsLeftOn)
{
    Sprite sprite;
    g.SetImageTint(false);
    sprite.Draw(&g, 0, 0, white);
    EXPECT_TRUE(screen.calls.empty());
    EXPECT_TRUE(g.GetImageTint());
    EXPECT_EQ(sprite.GetRectAt(5, 5), Quoll::Rect());
    EXPECT_EQ(sprite.GetWidth(), 0);
}

// --- AnimSprite ------------------------------------------------------------------------------------

TEST_F(SpriteDraw, AnimSpriteDrawsCelZeroForFramesOutsideTheGrid)
{
    auto strip = MakeSourceImage("strip", 256, 128, 4, 2);
    AnimSprite sprite;
    sprite.mImage = strip.get();
    sprite.mCel = 6;
    sprite.DrawFrame(8, &g, 0, 0, white);
    sprite.DrawFrame(-1, &g, 0, 0, white);
    sprite.DrawFrame(7, &g, 0, 0, white);
    sprite.mClock.mStaticFrame = 2;
    sprite.Draw(&g, 0, 0, white);
    EXPECT_EQ(screen.calls, (std::vector<std::string>{
                                "Blt strip at 0,0 src (0,0,64,64) rgba(255,255,255,255) normal",
                                "Blt strip at 0,0 src (0,0,64,64) rgba(255,255,255,255) normal",
                                "Blt strip at 0,0 src (192,64,64,64) rgba(255,255,255,255) normal",
                                "Blt strip at 0,0 src (128,0,64,64) rgba(255,255,255,255) normal",
                            }));
}

TEST(AnimSprite, StartAnimationPlaysEndlesslyFromAFractionOrOnlyBinds)
{
    FakeSceneServices services;
    auto walker = MakeSourceImage(SceneDataPath("walker.png"), 64, 16, 4, 1);
    services.Register(300, "IMAGE_WALKER", walker.get());

    AnimSprite sprite;
    EXPECT_FALSE(sprite.StartAnimation(services, 0.5f));
    sprite.mImage = walker.get();
    ASSERT_TRUE(sprite.StartAnimation(services, 0.5f));
    EXPECT_TRUE(sprite.mClock.IsPlaying());
    EXPECT_EQ(sprite.mClock.GetElapsed(), 500u);
    EXPECT_EQ(sprite.mClock.GetLength(), 0u);
    EXPECT_EQ(sprite.mClock.GetFrame(), 2);
    sprite.Update(0.0105f);
    EXPECT_EQ(sprite.mClock.GetElapsed(), 510u);

    AnimSprite bound;
    bound.mImage = walker.get();
    ASSERT_TRUE(bound.StartAnimation(services, -1.0f));
    EXPECT_FALSE(bound.mClock.IsPlaying());
    EXPECT_EQ(bound.mClock.GetAnimation(), services.animations.Find(300));
    EXPECT_EQ(bound.mClock.GetElapsed(), 0u);
}

TEST(AnimSprite, AnImageWithoutAnimationStaysOnCelZero)
{
    FakeSceneServices services;
    auto still = MakeSourceImage(SceneDataPath("still.png"), 32, 16, 2, 1);
    services.Register(301, "IMAGE_STILL", still.get());
    AnimSprite sprite;
    sprite.mImage = still.get();
    ASSERT_TRUE(sprite.StartAnimation(services, 0.0f));
    EXPECT_FALSE(sprite.mClock.IsPlaying());
    sprite.Update(1.0f);
    EXPECT_EQ(sprite.mClock.GetFrame(), 0);
}

// --- HilightSprite ----------------------------------------------------------------------------------

TEST_F(SpriteDraw, HilightSpriteTurnsTwoCopiesApartAndDrawsThemAdditively)
{
    FakeSceneServices services;
    auto glow = MakeSourceImage("bonush", 40, 40);
    services.Register(190, "IMAGE_BONUSH", glow.get());
    HilightSprite sprite;
    sprite.SetDefaultImage(services);
    ASSERT_EQ(sprite.mImage, glow.get());
    ASSERT_EQ(sprite.mOverlay.mImage, glow.get());
    sprite.mSpeed = 2.0f;
    sprite.Update(0.25f);
    sprite.Draw(&g, 100, 100, white);
    ASSERT_EQ(screen.calls.size(), 2u);
    EXPECT_NE(screen.calls[0].find("angle 0.5 "), std::string::npos) << screen.calls[0];
    EXPECT_NE(screen.calls[1].find("angle -0.5 "), std::string::npos) << screen.calls[1];
    for (const std::string& call : screen.calls)
    {
        EXPECT_EQ(call.rfind("BltRotated bonush", 0), 0u) << call;
        EXPECT_NE(call.find(" additive"), std::string::npos) << call;
    }
    EXPECT_EQ(g.GetDrawMode(), Quoll::DrawMode::Normal);
}

// --- Cels outside the grid on real images ----------------------------------------------------------

TEST(SpriteCels, CelsOutsideTheGridNeverReadOutsideTheImage)
{
    // Run under AddressSanitizer: every drawing path of a sprite with a cel beyond the strip's
    // grid, or negative, must stay inside the source's pixels.
    Quoll::MemoryImage screen;
    screen.Create(64, 64);
    Quoll::MemoryImage strip;
    strip.Create(32, 16);
    std::fill_n(strip.GetBits(), 32 * 16, 0xFF336699u);
    strip.mNumCols = 2;
    Quoll::Graphics g(&screen);
    for (int cel : {2, 3, 9, -2, -7})
        for (int form = 0; form < 5; ++form)
        {
            Sprite sprite;
            sprite.mImage = &strip;
            sprite.mCel = cel;
            sprite.mSubPixel = form == 1;
            if (form == 2 || form == 4)
                sprite.SetScale(1.5f);
            if (form == 3 || form == 4)
                sprite.mTransform.Rotate(0.3f);
            sprite.Draw(&g, 20.5f, 20.5f, Quoll::Color::White);
        }
    SUCCEED();
}

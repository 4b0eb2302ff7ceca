// The hint area: hits inside its rectangle only with a text, the shown place relative to the
// rectangle or absolute, a zero coordinate that hides, and the shadow drawn as the text itself.
// Rerun one case: test_scene --gtest_filter='HintArea*.Name'.
#include "SceneTestDoubles.h"
#include "game/scene/HintArea.h"

#include "framework/display/Graphics.h"

#include <gtest/gtest.h>

namespace
{
HintArea MakeHint()
{
    HintArea hint;
    hint.mRect = Quoll::Rect(100, 50, 40, 40);
    hint.mOffsetX = 10;
    hint.mOffsetY = -20;
    hint.mText = L"Hi";
    return hint;
}
} // namespace

TEST(HintAreaTest, EmptyTextNeverShows)
{
    HintArea hint = MakeHint();
    hint.mText.clear();
    EXPECT_FALSE(hint.HitTest(120, 70));
}

TEST(HintAreaTest, HitShowsAtTheOffsetFromTheCornerAndTheEdgeHides)
{
    HintArea hint = MakeHint();
    EXPECT_TRUE(hint.HitTest(139, 89));
    EXPECT_EQ(hint.GetShownX(), 110);
    EXPECT_EQ(hint.GetShownY(), 30);
    EXPECT_FALSE(hint.HitTest(140, 89));
    EXPECT_EQ(hint.GetShownX(), 0);

    hint.mAbsolute = true;
    EXPECT_TRUE(hint.HitTest(139, 89));
    EXPECT_EQ(hint.GetShownX(), 10);
    EXPECT_EQ(hint.GetShownY(), -20);
}

TEST(HintAreaTest, ShadowIsTheTextMovedTwoPixelsAndAZeroCoordinateHides)
{
    RecordingImage screen;
    Quoll::Graphics g(&screen);
    FakeFont font;
    HintArea hint = MakeHint();
    hint.mFont = &font;
    hint.mTextColor = Quoll::Color(250, 240, 10);
    hint.HitTest(120, 70);
    hint.Draw(&g);
    ASSERT_EQ(font.calls.size(), 2u);
    EXPECT_EQ(font.calls[0].substr(0, 14), "DrawString 'Hi");
    EXPECT_NE(font.calls[0].find("rgba(0,0,0,200)"), std::string::npos);
    EXPECT_NE(font.calls[1].find("rgba(250,240,10,255)"), std::string::npos);
    EXPECT_EQ(g.GetFont(), &font);
    EXPECT_TRUE(screen.calls.empty()); // no box

    font.calls.clear();
    hint.mAbsolute = true;
    hint.mOffsetX = 0;
    hint.mOffsetY = 200;
    EXPECT_TRUE(hint.HitTest(120, 70));
    hint.Draw(&g);
    EXPECT_TRUE(font.calls.empty());
}

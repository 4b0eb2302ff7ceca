// The game button: labels from keys, the disabled colour, natural sizes and placing, the hint's
// position and drawing, the icon while held, and the sounds.
// Rerun one case: test_ui --gtest_filter='GameButton.*'.
#include "UiTestDoubles.h"
#include "game/ui/Button.h"
#include "game/ui/GameColors.h"

#include <gtest/gtest.h>

namespace
{
using UiTest::BlockFont;

class GameButton : public ::testing::Test
{
protected:
    GameButton()
    {
        services.Register("SOUND_BUTTON_OVER");
        services.Register("SOUND_BUTTON_SELECT");
        services.texts["UI_OK"] = L"OK";
        services.texts["UI_EMPTY"] = L"";
        services.texts["UI_HINT"] = L"aaaa bbbb cccc"; // 84 px wide in the block font
    }

    // A text button owned by the manager.
    Quoll::Button* Add(Quoll::Button* button)
    {
        services.manager.AddWidget(button);
        mOwned.push_back(std::unique_ptr<Quoll::Button>(button));
        return button;
    }
    ~GameButton() override
    {
        for (auto& button : mOwned)
            services.manager.RemoveWidget(button.get());
    }

    UiTest::FakeUiServices services;
    BlockFont font;

private:
    std::vector<std::unique_ptr<Quoll::Button>> mOwned;
};

TEST_F(GameButton, LabelFallsBackToTheKey)
{
    Quoll::Button known(0, "UI_OK", nullptr, nullptr, nullptr, &font);
    Quoll::Button missing(1, "UI_NOPE", nullptr, nullptr, nullptr, &font);
    Quoll::Button empty(2, "UI_EMPTY", nullptr, nullptr, nullptr, &font);
    EXPECT_EQ(known.mLabel, L"OK");
    EXPECT_EQ(missing.mLabel, L"UI_NOPE");
    EXPECT_EQ(empty.mLabel, L"UI_EMPTY");

    services.texts["UI_OK"] = L"Fine";
    known.UpdateLabel();
    EXPECT_EQ(known.mLabel, L"Fine");
}

TEST_F(GameButton, DisablingTwiceThenEnablingRestoresTheLabelColour)
{
    Quoll::Button button(0, "UI_OK", nullptr, nullptr, nullptr, &font);
    button.SetColor(0, ColorLabel);
    button.SetColor(Quoll::Button::kColorDisabledLabel, ColorButtonShade);
    button.SetDisabled(true);
    EXPECT_EQ(button.GetColor(0).ToInt(), ColorButtonShade.ToInt());
    button.SetDisabled(true);
    button.SetDisabled(false);
    EXPECT_EQ(button.GetColor(0).ToInt(), ColorLabel.ToInt());
    button.SetDisabled(false);
    EXPECT_EQ(button.GetColor(0).ToInt(), ColorLabel.ToInt());
}

TEST_F(GameButton, NaturalSizes)
{
    Quoll::Button text(0, "UI_OK", nullptr, nullptr, nullptr, &font);
    EXPECT_EQ(text.GetNaturalWidth(), 2 * BlockFont::kAdvance + 20);
    EXPECT_EQ(text.GetNaturalHeight(), 10);
    services.texts["UI_OK"] = L"Longer";
    text.UpdateLabel();
    text.PlaceAt(5, 7);
    EXPECT_EQ(text.mX, 5);
    EXPECT_EQ(text.mY, 7);
    EXPECT_EQ(text.mWidth, 6 * BlockFont::kAdvance + 20);
    EXPECT_EQ(text.mHeight, 10);
    // Without images it is its label alone, green under the mouse.
    EXPECT_TRUE(text.mDrawnWithoutImages);
    EXPECT_EQ(text.GetColor(1).ToInt(), Quoll::Color(0, 255, 0).ToInt());

    auto image = UiTest::MakeImage(120, 40, 0xFF336699);
    Quoll::Button imaged(1, "UI_OK", nullptr, image.get(), nullptr, &font);
    services.texts["UI_OK"] = L"A much longer label than the image";
    imaged.UpdateLabel();
    EXPECT_EQ(imaged.GetNaturalWidth(), 120);
    EXPECT_EQ(imaged.GetNaturalHeight(), 40);
}

TEST_F(GameButton, HintPositionPerAlignment)
{
    // Hint width 60: the text wraps to two lines of 10 px ("aaaa bbbb" and "cccc").
    const struct
    {
        int vertical, horizontal, x, y;
    } cases[] = {
        {-1, -1, 110, 228}, // anchor: offset + position, + ascent
        {0, -1, 110, 218},  // centred on the anchor vertically
        {1, -1, 110, 208},  // above it
        {-1, 0, 80, 228},   // centred horizontally
        {-1, 1, 50, 228},   // to its left
        {1, 1, 50, 208},
    };
    for (const auto& each : cases)
    {
        Quoll::Button* button = Add(new Quoll::Button(0, "UI_OK", nullptr, nullptr, nullptr, &font));
        button->PlaceAt(100, 200);
        button->mHintOffsetX = 10;
        button->mHintOffsetY = 20;
        button->mHintWidth = 60;
        button->SetHint("UI_HINT", each.vertical, each.horizontal);
        button->ShowHint(true);
        EXPECT_TRUE(button->IsHintShown());
        EXPECT_EQ(button->GetHintX(), each.x) << each.vertical << "," << each.horizontal;
        EXPECT_EQ(button->GetHintY(), each.y) << each.vertical << "," << each.horizontal;
    }
}

TEST_F(GameButton, HintIsDrawnAboveTheTreeAndAnEmptyHintDrawsNothing)
{
    Quoll::Button* button = Add(new Quoll::Button(0, "UI_OK", nullptr, nullptr, nullptr, &font));
    button->PlaceAt(100, 100);
    button->mHintColor = ColorHint;
    button->SetHint("UI_EMPTY");
    button->ShowHint(true);
    EXPECT_FALSE(button->IsHintShown());
    services.Step();
    EXPECT_EQ(services.Pixel(301, 103), 0u);

    button->SetHint("UI_HINT");
    button->mHintOffsetX = 200;
    button->ShowHint(true);
    ASSERT_TRUE(button->IsHintShown());
    services.Step();
    // First glyph of the hint at (300, 100 + 8 - 8): the yellow text over its shadow.
    EXPECT_EQ(services.Pixel(301, 103), ColorHint.ToInt() & 0xFFFFFF);
    button->ShowHint(false);
    services.Step();
    EXPECT_EQ(services.Pixel(301, 103), 0u);
}

TEST_F(GameButton, IconMovesOnePixelWhileHeld)
{
    auto face = UiTest::MakeImage(40, 20, 0xFF000080);
    auto icon = UiTest::MakeImage(4, 4, 0xFFFFFFFF);
    Quoll::Button* button = Add(new Quoll::Button(0, "", nullptr, face.get(), nullptr, &font));
    button->mIcon = icon.get();
    button->mIconX = 10;
    button->mIconY = 5;
    button->SetColor(0, Quoll::Color(0, 255, 0));
    button->SetColor(1, Quoll::Color(255, 255, 255));
    button->PlaceAt(0, 0);
    services.Step();
    EXPECT_GT(services.Pixel(10, 5) & 0x00FF00u, 0x00F000u); // tinted with colour 0
    EXPECT_EQ(services.Pixel(10, 5) & 0xFF00FFu, 0u);
    EXPECT_EQ(services.Pixel(14, 9), 0x000080u);

    services.manager.MouseMove(20, 10);
    services.manager.MouseDown(20, 10, 1);
    services.Step();
    EXPECT_EQ(services.Pixel(10, 5), 0x000080u);
    EXPECT_GT(services.Pixel(14, 9), 0xF0F0F0u); // colour 1 while over, one pixel on
    services.manager.MouseUp(20, 10, 1);
}

TEST_F(GameButton, SoundsOnEnterAndPress)
{
    Quoll::Button* button = Add(new Quoll::Button(0, "UI_OK", nullptr, nullptr, nullptr, &font));
    button->PlaceAt(0, 0);
    services.manager.MouseMove(3, 3);
    services.manager.MouseDown(3, 3, 1);
    services.manager.MouseUp(3, 3, 1);
    EXPECT_EQ(services.SoundNames(), (std::vector<std::string>{"SOUND_BUTTON_OVER", "SOUND_BUTTON_SELECT"}));
}
} // namespace

// The look of a button in its states and of a dialog, drawn by the widget manager into a memory
// image (the 2D path). Besides the golden images, pixels that can be known from the inputs are
// checked directly. Rerun: test_widgets --gtest_filter='WidgetGolden.*'; QUOLL_UPDATE_GOLDEN=1
// rewrites the goldens.
#include "tests/GoldenImage.h"
#include "WidgetTestSupport.h"

#include "framework/widgets/ButtonWidget.h"
#include "framework/widgets/Dialog.h"

#include <gtest/gtest.h>

using namespace QuollTest;
using Quoll::ButtonWidget;
using Quoll::Color;

namespace
{
// A vertical gradient from `top` to `bottom` inside a one-pixel border.
void MakeButtonImage(Quoll::MemoryImage& image, Color top, Color bottom, Color border)
{
    constexpr int kWidth = 60, kHeight = 20;
    std::vector<uint32_t> pixels(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            Color c = border;
            if (x > 0 && y > 0 && x < kWidth - 1 && y < kHeight - 1)
                c = Color(top.r + (bottom.r - top.r) * y / kHeight, top.g + (bottom.g - top.g) * y / kHeight,
                          top.b + (bottom.b - top.b) * y / kHeight);
            pixels[static_cast<size_t>(y * kWidth + x)] = c.ToInt();
        }
    image.SetBits(pixels.data(), kWidth, kHeight);
}

uint32_t ImagePixel(Quoll::MemoryImage& image, int x, int y)
{
    return image.GetBits()[y * image.mWidth + x] & 0xFFFFFF;
}

// A backdrop that fills the screen with one colour.
struct Backdrop : Quoll::Widget
{
    void Draw(Quoll::Graphics* g) override
    {
        g->SetColor(Color(48, 48, 48));
        g->FillRect(0, 0, mWidth, mHeight);
    }
};

struct NoListener : Quoll::ButtonListener
{
};
} // namespace

// Top row: image buttons normal, over and disabled; bottom row: framed buttons normal, over
// and held down.
TEST(WidgetGolden, ButtonStates)
{
    ManagerFixture f;
    f.SetScreenSize(220, 80);
    Backdrop backdrop;
    backdrop.Resize(0, 0, 220, 80);
    f.manager.AddWidget(&backdrop);
    FakeFont font;
    NoListener listener;
    Quoll::MemoryImage normal, over, disabled;
    MakeButtonImage(normal, Color(0, 90, 200), Color(0, 40, 120), Color(0, 20, 60));
    MakeButtonImage(over, Color(80, 170, 255), Color(20, 90, 200), Color(0, 20, 60));
    MakeButtonImage(disabled, Color(150, 150, 150), Color(110, 110, 110), Color(80, 80, 80));

    ButtonWidget* buttons[6];
    for (int i = 0; i < 6; ++i)
    {
        buttons[i] = f.Add(new ButtonWidget(i, &listener));
        buttons[i]->Resize(10 + 70 * (i % 3), i < 3 ? 10 : 45, 60, 20);
        buttons[i]->SetFont(&font);
        buttons[i]->SetLabel(L"GO");
        buttons[i]->SetColor(ButtonWidget::kColorLabelOver, Color(0, 0, 200));
        if (i < 3)
        {
            buttons[i]->SetColor(ButtonWidget::kColorLabelOver, Color(255, 255, 0));
            buttons[i]->mButtonImage = &normal;
            buttons[i]->mOverImage = &over;
            buttons[i]->mDisabledImage = &disabled;
            buttons[i]->SetColor(ButtonWidget::kColorLabel, Color(255, 255, 255));
        }
    }
    for (ButtonWidget* button : {buttons[1], buttons[4], buttons[5]})
    {
        button->mIsOver = true;
        button->mOverAlpha = 1;
    }
    buttons[2]->SetDisabled(true);
    buttons[5]->mIsDown = true;
    ASSERT_TRUE(f.manager.DrawScreen());

    // Away from the label each image button shows its state's image as it is.
    for (int i = 0; i < 3; ++i)
        for (auto [x, y] : {std::pair{0, 0}, std::pair{3, 4}, std::pair{50, 15}})
        {
            Quoll::MemoryImage* image = i == 0 ? &normal : i == 1 ? &over : &disabled;
            EXPECT_EQ(f.Pixel(10 + 70 * i + x, 10 + y), ImagePixel(*image, x, y)) << i << " " << x << "," << y;
        }
    // The label "GO" is 11 pixels wide, centred: blocks from x = 24, 8 high above the baseline 13.
    EXPECT_EQ(f.Pixel(10 + 24, 10 + 5), 0xFFFFFFu);
    EXPECT_EQ(f.Pixel(80 + 24, 10 + 5), 0xFFFF00u); // the over colour
    EXPECT_EQ(f.Pixel(10 + 23, 10 + 5), ImagePixel(normal, 23, 5));
    // Framed: light top-left edge and background; held down the edges swap and the label
    // moves by one pixel.
    EXPECT_EQ(f.Pixel(10, 45), 0xFFFFFFu);
    EXPECT_EQ(f.Pixel(15, 50), 0xD4D4D4u);
    EXPECT_EQ(f.Pixel(150, 45), 0x000000u);
    EXPECT_EQ(f.Pixel(150 + 24, 45 + 5), 0xD4D4D4u);
    EXPECT_EQ(f.Pixel(150 + 25, 45 + 6), 0x0000C8u);

    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("widgets", "button_states", f.screen.GetBits(), 220, 80));
    f.manager.RemoveWidget(&backdrop);
}

TEST(WidgetGolden, DialogWithHeaderBodyFooterAndButtons)
{
    ManagerFixture f;
    f.SetScreenSize(320, 200);
    Backdrop backdrop;
    backdrop.Resize(0, 0, 320, 200);
    f.manager.AddWidget(&backdrop);
    FakeFont font;
    auto* dialog = f.Add(new Quoll::Dialog(1, true, L"HEADER", L"Some body text that wraps onto a second line here",
                                           L"footer", Quoll::Dialog::kButtonsYesNo));
    dialog->SetHeaderFont(&font);
    dialog->SetLinesFont(&font);
    dialog->SetButtonFont(&font);
    dialog->Resize(10, 10, 300, dialog->GetPreferredHeight(300));
    ASSERT_TRUE(f.manager.DrawScreen());

    EXPECT_EQ(dialog->mHeight, 24 + 20 + 20 + 18 + 32 + 24); // two body lines, the footer, the buttons
    EXPECT_EQ(f.Pixel(10, 10), dialog->GetColor(6).ToInt() & 0xFFFFFF);
    EXPECT_EQ(f.Pixel(20, 20), dialog->GetColor(5).ToInt() & 0xFFFFFF);
    // The header "HEADER" (36 pixels) is centred in the 252 pixels inside the insets.
    EXPECT_EQ(f.Pixel(10 + 24 + 108, 10 + 24), dialog->GetColor(0).ToInt() & 0xFFFFFF);
    EXPECT_EQ(f.Pixel(10 + 24 + 107, 10 + 24), dialog->GetColor(5).ToInt() & 0xFFFFFF);

    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("widgets", "dialog", f.screen.GetBits(), 320, 200));
    f.manager.RemoveWidget(&backdrop);
}

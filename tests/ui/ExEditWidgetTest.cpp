// The profile-name field: what it accepts, its disabled colour and where it draws its text.
// Rerun one case: test_ui --gtest_filter='ExEditWidgetTest.*'.
#include "UiTestDoubles.h"
#include "game/ui/ExEditWidget.h"

#include <gtest/gtest.h>

namespace
{
class Refuser : public Quoll::EditListener
{
public:
    bool AllowChar(int, wchar_t c) override { return c != L'!'; }
};

class ExEditWidgetTest : public ::testing::Test
{
protected:
    ExEditWidgetTest()
    {
        field.SetFont(&font);
        field.Resize(100, 100, 120, 30);
        services.manager.AddWidget(&field);
        services.manager.SetFocus(&field);
    }
    ~ExEditWidgetTest() override { services.manager.RemoveWidget(&field); }

    void Type(const std::wstring& text)
    {
        for (wchar_t c : text)
            services.manager.KeyChar(c);
    }

    UiTest::FakeUiServices services;
    UiTest::BlockFont font;
    Refuser refuser;
    Quoll::ExEditWidget field{&refuser};
};

TEST_F(ExEditWidgetTest, TakesEightCharactersAtMostAndDropsRefusedOnes)
{
    field.mMaxChars = 8;
    field.mSingleByteInput = true;
    Type(L"an!n\u00e9\u0416\u4e2dbcdefgh");
    EXPECT_EQ(field.mString, L"ann\u00e9bcde");
    services.manager.KeyChar(L'\b');
    EXPECT_EQ(field.mString, L"ann\u00e9bcd");
}

TEST_F(ExEditWidgetTest, WideCharactersPassWithoutSingleByteMode)
{
    Type(L"\u0416\u4e2d");
    EXPECT_EQ(field.mString, L"\u0416\u4e2d");
}

TEST_F(ExEditWidgetTest, DisablingRestoresTheTextColour)
{
    field.SetColor(2, Quoll::Color(10, 20, 30));
    field.SetColor(Quoll::ExEditWidget::kColorDisabledText, Quoll::Color(99, 99, 99));
    field.SetDisabled(true);
    EXPECT_EQ(field.GetColor(2).ToInt(), Quoll::Color(99, 99, 99).ToInt());
    field.SetDisabled(true);
    field.SetDisabled(false);
    EXPECT_EQ(field.GetColor(2).ToInt(), Quoll::Color(10, 20, 30).ToInt());
}

TEST_F(ExEditWidgetTest, TextIsCentredFourteenPixelsLeft)
{
    field.SetColors({Quoll::Color(0, 0, 0), Quoll::Color(0, 0, 255), Quoll::Color(255, 255, 255),
                     Quoll::Color(255, 0, 0), Quoll::Color(0, 255, 0)});
    field.SetText(L"abcd"); // 24 px: left edge (120 - 24) / 2 - 18 = 30, drawn from 34
    field.mBlinkVal = false;
    services.Step();
    EXPECT_EQ(services.Pixel(100 + 34, 100 + 12), 0xFFFFFFu);
    EXPECT_EQ(services.Pixel(100 + 33, 100 + 12), 0u);
    EXPECT_EQ(services.Pixel(100 + 52, 100 + 12), 0xFFFFFFu); // the fourth glyph
    EXPECT_EQ(services.Pixel(100 + 0, 100 + 0), 0x0000FFu);   // the outline

    // The caret after the text: 2 px of the selection colour at 30 + 24 + 4.
    field.mBlinkVal = true;
    services.Step();
    EXPECT_EQ(services.Pixel(100 + 58, 100 + 12), 0xFF0000u);
    EXPECT_EQ(services.Pixel(100 + 60, 100 + 12), 0u);
}
} // namespace

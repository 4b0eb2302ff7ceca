// The text formatter: filled texts, and every disagreement between text and arguments giving the
// raw text with one warning naming the key.
// Rerun one case: test_ui --gtest_filter='FormatLocalised.*'.
#include "UiTestDoubles.h"
#include "game/ui/FormatLocalised.h"

#include <gtest/gtest.h>

TEST(FormatLocalised, FillsNumbersAndTextInOrder)
{
    UiTest::FakeUiServices services;
    EXPECT_EQ(FormatLocalised("K", L"%s has %d points, %i medals, %u%% done, %ls", {L"ann", 1200, -3, -1, L"ok"}),
              L"ann has 1200 points, -3 medals, 4294967295% done, ok");
    EXPECT_EQ(FormatLocalised("K", L"no conversions"), L"no conversions");
    EXPECT_TRUE(services.log.empty());
}

TEST(FormatLocalised, DisagreementsGiveTheRawTextAndOneWarning)
{
    const struct
    {
        std::wstring text;
        std::vector<FormatArg> args;
    } cases[] = {
        {L"%s and %s", {L"one"}},       // an extra %s: a missing argument
        {L"%d", {5, 6}},                // an argument left over
        {L"%n", {5}},                   // a conversion that is never filled
        {L"%5d", {5}},                  // widths are not taken either
        {L"%d", {L"text"}},             // text for a number
        {L"%s", {7}},                   // a number for text
        {L"cut at the end %", {}},      // a lone percent sign
    };
    for (const auto& each : cases)
    {
        UiTest::FakeUiServices services;
        std::string reason;
        EXPECT_FALSE(FormatChecked(each.text, each.args, reason).has_value());
        EXPECT_FALSE(reason.empty());
        std::wstring shown;
        if (each.args.size() == 1)
            shown = FormatLocalised("UI_KEY", each.text, {each.args[0]});
        else if (each.args.size() == 2)
            shown = FormatLocalised("UI_KEY", each.text, {each.args[0], each.args[1]});
        else
            shown = FormatLocalised("UI_KEY", each.text);
        EXPECT_EQ(shown, each.text);
        ASSERT_EQ(services.log.size(), 1u);
        EXPECT_EQ(services.log[0].rfind("WARNING: ", 0), 0u);
        EXPECT_NE(services.log[0].find("UI_KEY"), std::string::npos);
    }
}

TEST(FormatLocalised, FormatTextLooksTheKeyUp)
{
    UiTest::FakeUiServices services;
    services.texts["UI_SCORE"] = L"Score: %d";
    EXPECT_EQ(FormatText("UI_SCORE", {42}), L"Score: 42");
    EXPECT_EQ(FormatText("UI_MISSING"), L"");
}

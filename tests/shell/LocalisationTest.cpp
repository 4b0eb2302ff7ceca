// Localisation: lookup by key in the current locale with the first locale and the key itself
// as fallbacks, empty values, aliases, the framework group, and the file faults that refuse
// the whole file with their line.
#include "game/shell/Localisation.h"

#include <gtest/gtest.h>

namespace
{
const char* kTexts = R"(<?xml version="1.0" encoding="utf-8"?>
<texts>
  <locale id="0" name="en"/>
  <locale id="3" name="de"/>
  <group name="ui">
    <text name="UI_PLAY"><value locale="en">Play</value><value locale="de">Spielen</value></text>
    <text name="UI_ONLY_EN"><value locale="en">Only &amp; English</value></text>
    <text name="UI_EMPTY"><value locale="en"></value></text>
    <text name="UI_START" using_as="UI_PLAY"/>
    <text name="UI_START2" using_as="UI_START"/>
  </group>
  <group name="framework">
    <text name="FATAL_ERROR"><value locale="en">FATAL ERROR</value><value locale="de">FEHLER</value></text>
  </group>
</texts>
)";

Localisation Loaded()
{
    Localisation texts;
    EXPECT_TRUE(texts.LoadFromString(kTexts, "texts.xml")) << texts.GetErrorText();
    return texts;
}

TEST(Localisation, LooksUpKeysInTheCurrentLocale)
{
    Localisation texts = Loaded();
    EXPECT_EQ(texts.GetLocaleName(), "en");
    EXPECT_EQ(texts.GetText("UI_PLAY"), L"Play");
    EXPECT_EQ(texts.GetText("UI_ONLY_EN"), L"Only & English");
    ASSERT_TRUE(texts.SetLocale(3));
    EXPECT_EQ(texts.GetLocaleName(), "de");
    EXPECT_EQ(texts.GetText("UI_PLAY"), L"Spielen");
    // A text missing in the locale falls back to the first locale's.
    EXPECT_EQ(texts.GetText("UI_ONLY_EN"), L"Only & English");
    EXPECT_FALSE(texts.SetLocale(7));
    EXPECT_EQ(texts.GetLocaleId(), 3);
}

TEST(Localisation, AMissingKeyAnswersItselfAndAnEmptyValueStaysEmpty)
{
    Localisation texts = Loaded();
    EXPECT_EQ(texts.GetText("UI_NO_SUCH_TEXT"), L"UI_NO_SUCH_TEXT");
    EXPECT_TRUE(texts.HasText("UI_EMPTY"));
    EXPECT_EQ(texts.GetText("UI_EMPTY"), L"");
}

TEST(Localisation, AnAliasAnswersItsTargetsTextInEveryLocale)
{
    Localisation texts = Loaded();
    EXPECT_EQ(texts.GetText("UI_START"), L"Play");
    EXPECT_EQ(texts.GetText("UI_START2"), L"Play");
    texts.SetLocale(3);
    EXPECT_EQ(texts.GetText("UI_START2"), L"Spielen");
}

TEST(Localisation, TheFrameworkGroupIsListedInTheCurrentLocale)
{
    Localisation texts = Loaded();
    texts.SetLocale(3);
    const auto framework = texts.GetFrameworkTexts();
    ASSERT_EQ(framework.size(), 1u);
    EXPECT_EQ(framework[0].first, "FATAL_ERROR");
    EXPECT_EQ(framework[0].second, L"FEHLER");
}

TEST(Localisation, AFaultyFileIsRefusedWholeWithItsLine)
{
    struct Case
    {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"<texts>\n<locale id=\"0\" name=\"en\"/>\n<text name=\"A\"/>\n</texts>",
         "t.xml: unexpected element <text> inside <texts> on Line 3"},
        {"<texts>\n<locale id=\"0\" name=\"en\"/>\n<group name=\"g\">\n<text name=\"A\"/>\n<text name=\"A\"/>\n</group>\n</texts>",
         "t.xml: text A is given twice on Line 5"},
        {"<texts>\n<locale id=\"x\" name=\"en\"/>\n</texts>", "t.xml: a locale needs a number of 0 or more as its id on Line 2"},
        {"<texts>\n</texts>", "t.xml: the file declares no locale on Line 2"},
        {"<texts>\n<locale id=\"0\" name=\"en\"/>\n<group name=\"g\">\n<text name=\"A\" using_as=\"B\"/>\n</group>\n</texts>",
         "t.xml: text A uses B, which does not exist on Line 4"},
        {"<texts>\n<locale id=\"0\" name=\"en\"/>\n<group name=\"g\">\n<text name=\"A\" using_as=\"B\"/>\n"
         "<text name=\"B\" using_as=\"A\"/>\n</group>\n</texts>",
         "t.xml: text A uses texts in a circle on Line 4"},
        {"<texts>\n<locale id=\"0\" name=\"en\"/>\n<group name=\"g\">\n<text name=\"A\" using_as=\"B\"><value locale=\"en\">x</value></text>\n"
         "<text name=\"B\"/>\n</group>\n</texts>",
         "t.xml: text A uses another text's values and may not have its own on Line 4"},
    };
    for (const Case& c : cases)
    {
        Localisation texts = Loaded();
        EXPECT_FALSE(texts.LoadFromString(c.text, "t.xml")) << c.text;
        EXPECT_EQ(texts.GetErrorText(), c.error);
        // The texts loaded before stay.
        EXPECT_EQ(texts.GetText("UI_PLAY"), L"Play");
    }
}

TEST(Localisation, AMissingFileIsAnError)
{
    Localisation texts;
    EXPECT_FALSE(texts.Load("no/such/texts.xml"));
    EXPECT_NE(texts.GetErrorText().find("no/such/texts.xml"), std::string::npos);
    EXPECT_EQ(texts.GetText("UI_PLAY"), L"UI_PLAY");
}
} // namespace

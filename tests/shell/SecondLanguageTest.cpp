// The game's texts in both languages: every key has an English and a German text with the same
// format conversions, the settings find two languages in the file (so the language button
// shows), the second one is named "de" (which the tutorial reads), and the tutorial script names
// only keys that exist.
#include "game/shell/GameSettings.h"
#include "game/shell/Localisation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace
{
std::string ReadSource(const std::string& relative)
{
    std::ifstream in(std::string(QUOLL_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> KeysOfFile(const std::string& xml)
{
    std::vector<std::string> keys;
    const std::regex name("<text name=\"([A-Za-z0-9_]+)\"");
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), name); it != std::sregex_iterator(); ++it)
        keys.push_back((*it)[1].str());
    return keys;
}

// The printf conversions of a text in order ("%s", "%d"; "%%" is a plain percent sign).
std::vector<std::wstring> Conversions(const std::wstring& text)
{
    std::vector<std::wstring> found;
    const std::wregex conversion(L"%[-+ #0]*[0-9]*(?:\\.[0-9]+)?[a-zA-Z%]");
    for (auto it = std::wsregex_iterator(text.begin(), text.end(), conversion); it != std::wsregex_iterator(); ++it)
        if (it->str() != L"%%")
            found.push_back(it->str());
    return found;
}

int LocaleIdNamed(const Localisation& texts, const std::string& name)
{
    for (const Localisation::Locale& locale : texts.GetLocales())
        if (locale.name == name)
            return locale.id;
    return -1;
}

TEST(SecondLanguage, KeysWithoutValueNamesWhatATranslationLacks)
{
    Localisation texts;
    ASSERT_TRUE(texts.LoadFromString(R"(<texts><locale id="0" name="en"/><locale id="1" name="de"/>
      <group name="ui">
        <text name="B"><value locale="en">b</value></text>
        <text name="A"><value locale="en">a</value><value locale="de">ä</value></text>
        <text name="C"><value locale="en"></value><value locale="de"></value></text>
        <text name="D" using_as="B"/>
        <text name="E"><value locale="de">e</value></text>
      </group></texts>)",
                                     "texts.xml"))
        << texts.GetErrorText();
    // An empty text is a text; a key that uses another's texts has none of its own to lack.
    EXPECT_EQ(texts.KeysWithoutValue("de"), std::vector<std::string>{"B"});
    EXPECT_EQ(texts.KeysWithoutValue("en"), std::vector<std::string>{"E"});
    EXPECT_EQ(texts.KeysWithoutValue("fr").size(), 4u);
}

TEST(SecondLanguage, EveryKeyOfTheGameHasAnEnglishAndAGermanTextWithTheSameConversions)
{
    const std::string xml = ReadSource("data/texts.xml");
    Localisation texts;
    ASSERT_TRUE(texts.LoadFromString(xml, "data/texts.xml")) << texts.GetErrorText();
    ASSERT_EQ(texts.GetLocales().size(), 2u);
    const int english = LocaleIdNamed(texts, "en"), german = LocaleIdNamed(texts, "de");
    ASSERT_EQ(english, texts.GetLocales().front().id) << "English is the first language";
    ASSERT_NE(german, -1);
    for (const char* locale : {"en", "de"})
        for (const std::string& key : texts.KeysWithoutValue(locale))
            ADD_FAILURE() << key << " has no text in locale " << locale;

    const std::vector<std::string> keys = KeysOfFile(xml);
    ASSERT_GT(keys.size(), 100u);
    for (const std::string& key : keys)
    {
        ASSERT_TRUE(texts.SetLocale(english));
        const std::wstring en = texts.GetText(key);
        ASSERT_TRUE(texts.SetLocale(german));
        const std::wstring de = texts.GetText(key);
        EXPECT_FALSE(en.empty()) << key;
        EXPECT_FALSE(de.empty()) << key;
        EXPECT_EQ(Conversions(en), Conversions(de)) << key << ": the German text formats other values";
    }
}

TEST(SecondLanguage, TheSettingsOfferGermanAsTheSecondLanguage)
{
    Localisation texts;
    ASSERT_TRUE(texts.LoadFromString(ReadSource("data/texts.xml"), "data/texts.xml")) << texts.GetErrorText();
    std::vector<int> ids;
    for (const Localisation::Locale& locale : texts.GetLocales())
        ids.push_back(locale.id);
    GameSettings settings;
    settings.ChooseLanguages(ids);
    EXPECT_TRUE(settings.HasTwoLanguages()) << "the settings' language button shows only with two languages";
    settings.languageFlag = true;
    ASSERT_TRUE(texts.SetLocale(settings.GetCurrentLanguage()));
    EXPECT_EQ(texts.GetLocaleName(), "de") << "the tutorial moves its panels for the locale named de";
    EXPECT_EQ(texts.GetText("UI_CREDITS"), L"Mitwirkende");
    // The language button names the language it switches to.
    EXPECT_EQ(texts.GetText("UI_LANG"), L"English");
    ASSERT_TRUE(texts.SetLocale(settings.firstLanguage));
    EXPECT_EQ(texts.GetText("UI_LANG"), L"Deutsch");
}

// The settings show the same on and off words beside the music and the sound checkbox, so in
// either language they name neither channel, and on differs from off.
TEST(SecondLanguage, TheSettingsOnOffWordsNameNeitherChannel)
{
    Localisation texts;
    ASSERT_TRUE(texts.LoadFromString(ReadSource("data/texts.xml"), "data/texts.xml")) << texts.GetErrorText();
    for (const Localisation::Locale& locale : texts.GetLocales())
    {
        ASSERT_TRUE(texts.SetLocale(locale.id));
        const std::wstring on = texts.GetText("UI_SOUND_ENABLED"), off = texts.GetText("UI_SOUND_DISABLED");
        EXPECT_NE(on, off) << locale.name;
        for (const std::wstring& word : {on, off})
            for (const wchar_t* channel : {L"Music", L"Musik", L"Sound", L"Effekt"})
                EXPECT_EQ(word.find(channel), std::wstring::npos) << locale.name;
    }
}

TEST(SecondLanguage, TheTutorialScriptNamesOnlyKeysOfTheTexts)
{
    const std::string script = ReadSource("data/tutorial.cfg");
    if (script.empty())
        GTEST_SKIP() << "no tutorial script yet";
    Localisation texts;
    ASSERT_TRUE(texts.LoadFromString(ReadSource("data/texts.xml"), "data/texts.xml")) << texts.GetErrorText();
    std::istringstream lines(script);
    int steps = 0;
    for (std::string line; std::getline(lines, line);)
    {
        std::istringstream words(line);
        std::vector<std::string> word{std::istream_iterator<std::string>(words), {}};
        if (word.size() < 6 || word[0] != "STEP")
            continue;
        ++steps;
        EXPECT_TRUE(texts.HasText(word[5])) << word[5] << " of the tutorial script is missing from data/texts.xml";
    }
    EXPECT_GT(steps, 0);
}
} // namespace

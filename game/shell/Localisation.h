#pragma once
// Localisation: the game's texts by key from "data/texts.xml", in the current locale. A key
// without a text in the current locale answers the first locale's text, and a key that is not
// in the file answers itself, widened, so that a missing text shows where it belongs. The
// texts of the group named "framework" are the framework's own messages (ids such as
// "FATAL_ERROR"); the application registers them so that its messages are translated too.
//
// The file (UTF-8 XML; the README's data section describes it):
//   <texts>
//     <locale id="0" name="en"/>
//     <group name="ui">
//       <text name="UI_WINDOWTITLE"><value locale="en">PetriGlow Saga</value></text>
//       <text name="UI_TITLE" using_as="UI_WINDOWTITLE"/>
//     </group>
//   </texts>
// A file that breaks the schema is refused whole, with the reason and " on Line N".
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace Quoll
{
class XMLParser;
}

class Localisation
{
public:
    static constexpr const char* kFileName = "data/texts.xml";
    static constexpr const char* kFrameworkGroup = "framework";

    struct Locale
    {
        int id = 0;
        std::string name;
    };

    // Reads the file through the pack layer. On failure the texts stay as they were and
    // GetErrorText says why: the file's name, the reason and the line.
    bool Load(const std::string& fileName = kFileName);
    // The same from text (tests); name stands for the file in error texts.
    bool LoadFromString(const std::string& utf8, const std::string& name);
    [[nodiscard]] const std::string& GetErrorText() const { return mErrorText; }

    // The locales in file order; never empty after a successful load.
    [[nodiscard]] const std::vector<Locale>& GetLocales() const { return mLocales; }
    [[nodiscard]] bool HasLocale(int id) const;
    // False, keeping the current locale, for an id the file does not declare.
    bool SetLocale(int id);
    [[nodiscard]] int GetLocaleId() const;
    // The current locale's name ("en", "de"); empty before a load.
    [[nodiscard]] std::string GetLocaleName() const;

    [[nodiscard]] bool HasText(const std::string& key) const { return mEntries.count(key) != 0; }
    [[nodiscard]] std::wstring GetText(const std::string& key) const;
    // The keys with texts of their own (not using another's) that have no text in the named
    // locale, in key order: what a translation still lacks.
    [[nodiscard]] std::vector<std::string> KeysWithoutValue(const std::string& localeName) const;

    // The keys of the framework group with their texts in the current locale.
    [[nodiscard]] std::vector<std::pair<std::string, std::wstring>> GetFrameworkTexts() const;

private:
    struct Entry
    {
        std::string group;
        std::string alias;                       // using_as: answer that key's text
        std::map<std::string, std::wstring> values; // by locale name
    };
    struct Document
    {
        std::vector<Locale> locales;
        std::map<std::string, Entry> entries;
    };
    class Reader;

    bool ReadFrom(Quoll::XMLParser& parser, const std::string& name);

    // The entry whose values answer the key (an alias followed to its target).
    [[nodiscard]] const Entry* Resolve(const std::string& key) const;

    std::vector<Locale> mLocales;
    std::map<std::string, Entry> mEntries;
    size_t mCurrent = 0; // index into mLocales
    std::string mErrorText;
};

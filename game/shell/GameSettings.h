#pragma once
// GameSettings: the game's own persistent settings, kept beside the framework's values in the
// settings store: "MusicEnabled", "SoundEnabled", "CurrentLanguage" (the first language, a
// locale id of the texts), "LangOverSet" (the language flag: the second language is in use)
// and "CurrentProfile" (the name of the current player profile). The second language is not
// stored: it follows from the texts' locales (GameSettings::ChooseLanguages).
#include <string>
#include <vector>

// The typed values of the settings store, as the application reads and writes them.
class SettingsAccess
{
public:
    virtual ~SettingsAccess() = default;
    // False, leaving the value alone, when the store has none.
    virtual bool ReadInt(const std::string& name, int& value) = 0;
    virtual bool ReadBool(const std::string& name, bool& value) = 0;
    virtual bool ReadString(const std::string& name, std::string& value) = 0;
    virtual void WriteInt(const std::string& name, int value) = 0;
    virtual void WriteBool(const std::string& name, bool value) = 0;
    virtual void WriteString(const std::string& name, const std::string& value) = 0;
};

struct GameSettings
{
    static constexpr const char* kMusicEnabled = "MusicEnabled";
    static constexpr const char* kSoundEnabled = "SoundEnabled";
    static constexpr const char* kCurrentLanguage = "CurrentLanguage";
    static constexpr const char* kLangOverSet = "LangOverSet";
    static constexpr const char* kCurrentProfile = "CurrentProfile";

    bool musicEnabled = true;
    bool soundEnabled = true;
    int firstLanguage = 0;
    int secondLanguage = 0;
    bool languageFlag = false; // the second language is in use
    std::string currentProfile;

    // Values missing from the store keep their defaults.
    void Read(SettingsAccess& store);
    void Write(SettingsAccess& store) const;

    // Fixes the two languages against the locale ids of the texts (in file order): the first is
    // the stored one when the texts have it, else their first locale; the second is the texts'
    // first other locale, or the first language again when there is only one.
    void ChooseLanguages(const std::vector<int>& localeIds);
    [[nodiscard]] bool HasTwoLanguages() const { return firstLanguage != secondLanguage; }
    // The locale in use: the second language when the flag is set (and there is one).
    [[nodiscard]] int GetCurrentLanguage() const { return languageFlag && HasTwoLanguages() ? secondLanguage : firstLanguage; }
};

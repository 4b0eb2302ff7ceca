// The settings record (stored values, defaults for missing ones, the two languages) and the
// per-sound replay limiter.
#include "game/shell/GameSettings.h"
#include "game/shell/SoundRepeatLimiter.h"

#include <gtest/gtest.h>

#include <map>

namespace
{
class MapSettings final : public SettingsAccess
{
public:
    bool ReadInt(const std::string& name, int& value) override { return Read(mInts, name, value); }
    bool ReadBool(const std::string& name, bool& value) override { return Read(mBools, name, value); }
    bool ReadString(const std::string& name, std::string& value) override { return Read(mStrings, name, value); }
    void WriteInt(const std::string& name, int value) override { mInts[name] = value; }
    void WriteBool(const std::string& name, bool value) override { mBools[name] = value; }
    void WriteString(const std::string& name, const std::string& value) override { mStrings[name] = value; }

    std::map<std::string, int> mInts;
    std::map<std::string, bool> mBools;
    std::map<std::string, std::string> mStrings;

private:
    template <typename Map, typename T>
    static bool Read(const Map& map, const std::string& name, T& value)
    {
        const auto found = map.find(name);
        if (found == map.end())
            return false;
        value = found->second;
        return true;
    }
};

TEST(GameSettings, WrittenValuesReadBackAndMissingOnesKeepTheirDefaults)
{
    MapSettings store;
    GameSettings defaults;
    defaults.Read(store);
    EXPECT_TRUE(defaults.musicEnabled);
    EXPECT_TRUE(defaults.soundEnabled);
    EXPECT_FALSE(defaults.languageFlag);

    GameSettings written;
    written.musicEnabled = false;
    written.firstLanguage = 2;
    written.languageFlag = true;
    written.currentProfile = "Ann";
    written.Write(store);
    EXPECT_EQ(store.mBools.at("MusicEnabled"), false);
    EXPECT_EQ(store.mBools.at("SoundEnabled"), true);
    EXPECT_EQ(store.mInts.at("CurrentLanguage"), 2);
    EXPECT_EQ(store.mBools.at("LangOverSet"), true);
    EXPECT_EQ(store.mStrings.at("CurrentProfile"), "Ann");

    GameSettings read;
    read.Read(store);
    EXPECT_FALSE(read.musicEnabled);
    EXPECT_EQ(read.firstLanguage, 2);
    EXPECT_TRUE(read.languageFlag);
    EXPECT_EQ(read.currentProfile, "Ann");
}

TEST(GameSettings, TheLanguagesFollowTheTextsLocales)
{
    GameSettings settings;
    settings.firstLanguage = 5; // stored, but the texts do not have it
    settings.ChooseLanguages({0, 1});
    EXPECT_EQ(settings.firstLanguage, 0);
    EXPECT_EQ(settings.secondLanguage, 1);
    EXPECT_EQ(settings.GetCurrentLanguage(), 0);
    settings.languageFlag = true;
    EXPECT_EQ(settings.GetCurrentLanguage(), 1);

    settings.firstLanguage = 1;
    settings.ChooseLanguages({0, 1});
    EXPECT_EQ(settings.secondLanguage, 0);

    settings.ChooseLanguages({1});
    EXPECT_FALSE(settings.HasTwoLanguages());
    EXPECT_EQ(settings.GetCurrentLanguage(), 1); // the flag has nothing to switch to
}

TEST(SoundRepeatLimiter, ASoundStartsAgainOnlySixUpdatesAfterItsLastStart)
{
    SoundRepeatLimiter limiter;
    EXPECT_TRUE(limiter.TryStart(362, 100));
    for (int update = 100; update < 106; ++update)
        EXPECT_FALSE(limiter.TryStart(362, update)) << update;
    // Other sounds are not held back.
    EXPECT_TRUE(limiter.TryStart(363, 101));
    EXPECT_TRUE(limiter.TryStart(362, 106));
    EXPECT_FALSE(limiter.TryStart(362, 111));
    // Refused attempts do not move the last start.
    EXPECT_TRUE(limiter.TryStart(362, 112));
    limiter.Reset();
    EXPECT_TRUE(limiter.TryStart(362, 113));
}
} // namespace

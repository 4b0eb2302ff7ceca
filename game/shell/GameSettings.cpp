#include "game/shell/GameSettings.h"

#include <algorithm>

void GameSettings::Read(SettingsAccess& store)
{
    store.ReadBool(kMusicEnabled, musicEnabled);
    store.ReadBool(kSoundEnabled, soundEnabled);
    store.ReadInt(kCurrentLanguage, firstLanguage);
    store.ReadBool(kLangOverSet, languageFlag);
    store.ReadString(kCurrentProfile, currentProfile);
}

void GameSettings::Write(SettingsAccess& store) const
{
    store.WriteBool(kMusicEnabled, musicEnabled);
    store.WriteBool(kSoundEnabled, soundEnabled);
    store.WriteInt(kCurrentLanguage, firstLanguage);
    store.WriteBool(kLangOverSet, languageFlag);
    store.WriteString(kCurrentProfile, currentProfile);
}

void GameSettings::ChooseLanguages(const std::vector<int>& localeIds)
{
    if (localeIds.empty())
    {
        secondLanguage = firstLanguage;
        return;
    }
    if (std::find(localeIds.begin(), localeIds.end(), firstLanguage) == localeIds.end())
        firstLanguage = localeIds.front();
    secondLanguage = firstLanguage;
    for (int id : localeIds)
    {
        if (id != firstLanguage)
        {
            secondLanguage = id;
            break;
        }
    }
}

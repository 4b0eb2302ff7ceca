#include "game/app/GameShellActions.h"

#include "game/app/GameApp.h"

PlayerData* GameShellActions::GetPlayerData()
{
    return mApp.GetPlayerData();
}

void GameShellActions::OnProfileChanged()
{
    mApp.GetGameSettings().currentProfile = mApp.GetCurrentProfileName();
    mApp.WriteSettings();
}

SettingsView GameShellActions::ReadSettingsView()
{
    SettingsView view;
    view.musicVolume = mApp.GetMusicVolume();
    view.soundVolume = mApp.GetSfxVolume();
    view.musicEnabled = mApp.GetGameSettings().musicEnabled;
    view.soundEnabled = mApp.GetGameSettings().soundEnabled;
    view.windowed = mApp.mIsWindowed;
    view.customCursors = mApp.mCustomCursorsEnabled;
    view.twoLanguages = mApp.GetGameSettings().HasTwoLanguages();
    // The platform always offers a window: the check never fails here.
    view.isWindowedImpossible = [] { return false; };
    return view;
}

void GameShellActions::SetMusicVolume(double volume)
{
    mApp.SetMusicVolume(volume);
}

void GameShellActions::SetSoundVolume(double volume)
{
    mApp.SetSfxVolume(volume);
}

void GameShellActions::SetMusicEnabled(bool enabled)
{
    mApp.SetMusicEnabled(enabled);
}

void GameShellActions::SetSoundEnabled(bool enabled)
{
    mApp.SetSoundEnabled(enabled);
}

void GameShellActions::PlayMusic(int song, float fadeSpeed)
{
    mApp.PlayMusic(song, fadeSpeed);
}

void GameShellActions::PlaySoundNamed(const std::string& name)
{
    mApp.PlaySound(mApp.GetResourceIdByName(name), 1.0f, 0.0f);
}

void GameShellActions::SetCustomCursors(bool enabled)
{
    mApp.EnableCustomCursors(enabled);
}

void GameShellActions::OnAchievementEvent(int eventId)
{
    mApp.OnAchievementEvent(eventId);
}

void GameShellActions::SetWindowed(bool windowed)
{
    mApp.SwitchWindowedMode(windowed);
}

void GameShellActions::ToggleLanguage()
{
    mApp.SetLanguageFlag(!mApp.GetGameSettings().languageFlag);
}

void GameShellActions::WriteSettings()
{
    mApp.WriteSettings();
}

void GameShellActions::RequestShutdown()
{
    mApp.Shutdown();
}

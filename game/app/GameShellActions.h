#pragma once
// GameShellActions: the dialogs' states served by the game application.
#include "game/app/ShellActions.h"

class GameApp;

class GameShellActions final : public ShellActions
{
public:
    explicit GameShellActions(GameApp& app) : mApp(app) {}

    PlayerData* GetPlayerData() override;
    void OnProfileChanged() override;
    SettingsView ReadSettingsView() override;
    void SetMusicVolume(double volume) override;
    void SetSoundVolume(double volume) override;
    void SetMusicEnabled(bool enabled) override;
    void SetSoundEnabled(bool enabled) override;
    void PlayMusic(int song, float fadeSpeed) override;
    void PlaySoundNamed(const std::string& name) override;
    void SetCustomCursors(bool enabled) override;
    void OnAchievementEvent(int eventId) override;
    void SetWindowed(bool windowed) override;
    void ToggleLanguage() override;
    void WriteSettings() override;
    void RequestShutdown() override;

private:
    GameApp& mApp;
};

#pragma once
// ShellActions: what the dialogs' states ask of the application: the player's data, the values
// the settings dialog starts from and the changes it makes, the language switch, writing the
// settings and shutting down. GameShellActions serves them from GameApp; tests use a fake.
#include "game/screens/SettingsDlg.h"

class PlayerData;

class ShellActions
{
public:
    virtual ~ShellActions() = default;

    // Null before the player's data is loaded.
    [[nodiscard]] virtual PlayerData* GetPlayerData() = 0;
    // The current profile changed: its name goes into the settings, which are written.
    virtual void OnProfileChanged() = 0;

    [[nodiscard]] virtual SettingsView ReadSettingsView() = 0;
    virtual void SetMusicVolume(double volume) = 0;
    virtual void SetSoundVolume(double volume) = 0;
    virtual void SetMusicEnabled(bool enabled) = 0;
    virtual void SetSoundEnabled(bool enabled) = 0;
    virtual void PlayMusic(int song, float fadeSpeed) = 0;
    virtual void PlaySoundNamed(const std::string& name) = 0;
    virtual void SetCustomCursors(bool enabled) = 0;
    virtual void OnAchievementEvent(int eventId) = 0;
    virtual void SetWindowed(bool windowed) = 0;
    // Switches to the other of the two languages (texts, the framework's messages, the title).
    virtual void ToggleLanguage() = 0;
    // Writes the settings store now.
    virtual void WriteSettings() = 0;
    virtual void RequestShutdown() = 0;
};

#pragma once
// Shell actions that do nothing, over a player's data kept in memory: state tests derive from it
// and record only the actions they check.
#include "game/app/ShellActions.h"
#include "game/shell/PlayerData.h"
#include "game/shell/PlayerFileStore.h"

#include <memory>
#include <string>

class QuietShellActions : public ShellActions
{
public:
    PlayerData* GetPlayerData() override { return data.get(); }
    void OnProfileChanged() override {}
    SettingsView ReadSettingsView() override { return {}; }
    void SetMusicVolume(double) override {}
    void SetSoundVolume(double) override {}
    void SetMusicEnabled(bool) override {}
    void SetSoundEnabled(bool) override {}
    void PlayMusic(int, float) override {}
    void PlaySoundNamed(const std::string&) override {}
    void SetCustomCursors(bool) override {}
    void OnAchievementEvent(int) override {}
    void SetWindowed(bool) override {}
    void ToggleLanguage() override {}
    void WriteSettings() override {}
    void RequestShutdown() override {}

    MemoryFileStore store;
    std::unique_ptr<PlayerData> data = std::make_unique<PlayerData>(store);
};

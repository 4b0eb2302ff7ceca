#pragma once
// SettingsState: the settings dialog. Volumes, the music and sound switches, image cursors and
// the language apply at once; full screen applies on OK; Escape leaves the screen mode alone.
// The settings are written when the dialog closes.
#include "game/app/DialogState.h"

class SettingsDlg;
class ShellActions;

class SettingsState final : public DialogState
{
public:
    static constexpr int kAchievementCursorSwitch = 13;

    SettingsState(StateHost& host, ShellActions& actions) : DialogState(host, "SettingsState"), mActions(actions) {}

    void OnExit() override;
    // Switches to the other language and shows the dialog's texts in it.
    void ToggleLanguage();

protected:
    BaseWidget* CreateWidget() override;
    void OnCommand(int command, int argument) override;

private:
    ShellActions& mActions;
    SettingsDlg* mDialog = nullptr;
};

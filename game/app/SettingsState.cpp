#include "game/app/SettingsState.h"

#include "game/app/ShellActions.h"
#include "game/screens/SettingsDlg.h"

BaseWidget* SettingsState::CreateWidget()
{
    mDialog = new SettingsDlg(mActions.ReadSettingsView());
    return mDialog;
}

void SettingsState::OnExit()
{
    DialogState::OnExit();
    mActions.WriteSettings();
}

void SettingsState::ToggleLanguage()
{
    mActions.ToggleLanguage();
    if (IsWidgetAttached())
        mDialog->RefreshTexts();
}

void SettingsState::OnCommand(int command, int argument)
{
    switch (command)
    {
    case SettingsDlg::kCommandCancel: Close(); break;
    case SettingsDlg::kLangButtonId: ToggleLanguage(); break;
    case SettingsDlg::kOkButtonId:
        mActions.SetWindowed(!mDialog->IsFullScreenChecked());
        Close();
        break;
    case SettingsDlg::kMusicSliderId: mActions.SetMusicVolume(argument / 100.0); break;
    case SettingsDlg::kSoundSliderId:
        mActions.SetSoundVolume(argument / 100.0);
        mActions.PlaySoundNamed("SOUND_BUTTON_SELECT");
        break;
    case SettingsDlg::kMusicCheckboxId:
        mActions.SetMusicEnabled(argument != 0);
        mActions.PlayMusic(1, 0.001f);
        break;
    case SettingsDlg::kSoundCheckboxId:
        mActions.SetSoundEnabled(argument != 0);
        mActions.PlaySoundNamed("SOUND_BUTTON_SELECT");
        break;
    case SettingsDlg::kCustomCursorId:
        mActions.OnAchievementEvent(kAchievementCursorSwitch);
        mActions.SetCustomCursors(argument != 0);
        break;
    default: break;
    }
}

#pragma once
// ChangeProfileState: the profile list. OK (0) makes the selected profile current and closes;
// add (1) asks for a new one; delete (2) removes the selected profile and makes the one before it
// current; 3 closes. Every change is saved at once.
#include "game/app/CreateProfileState.h"
#include "game/app/DialogState.h"

class ChangeProfileDlg;
class ShellActions;

class ChangeProfileState final : public DialogState
{
public:
    ChangeProfileState(StateHost& host, ShellActions& actions)
        : DialogState(host, "ChangeProfileState"), mActions(actions), mCreate(host, actions)
    {
    }

    // Back from the name dialog: the new profile is selected.
    void OnResume() override;

protected:
    BaseWidget* CreateWidget() override;
    void OnCommand(int command, int argument) override;

private:
    // The dialog's selection when it names a profile; -1 otherwise.
    [[nodiscard]] int ValidSelection() const;

    ShellActions& mActions;
    CreateProfileState mCreate;
    ChangeProfileDlg* mDialog = nullptr;
};

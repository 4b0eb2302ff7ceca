#pragma once
// CreateProfileState: asks for a new profile's name. OK (0) creates it when the name is new and
// not empty; Enter (1) does the same at the next update, or closes with an empty name; 2 closes.
// With no profile at all the state is compulsory: it cannot be left without a valid name.
#include "game/app/DialogState.h"

#include <string>

class ProfileNameDlg;
class ShellActions;

class CreateProfileState final : public DialogState
{
public:
    CreateProfileState(StateHost& host, ShellActions& actions)
        : DialogState(host, "CreateProfileState"), mActions(actions)
    {
    }

    void OnEnter() override;
    void Update() override;

protected:
    BaseWidget* CreateWidget() override;
    void OnCommand(int command, int argument) override;

private:
    // Creates the profile and closes when the entered name is acceptable; false otherwise.
    bool TryCreate();
    [[nodiscard]] std::string EnteredName() const;

    ShellActions& mActions;
    ProfileNameDlg* mDialog = nullptr;
    bool mCompulsory = false;
    bool mEnterPending = false;
};

#include "game/app/CreateProfileState.h"

#include "framework/core/Common.h"
#include "game/app/ShellActions.h"
#include "game/screens/ProfileNameDlg.h"
#include "game/shell/PlayerData.h"

BaseWidget* CreateProfileState::CreateWidget()
{
    mDialog = new ProfileNameDlg;
    return mDialog;
}

void CreateProfileState::OnEnter()
{
    PlayerData* data = mActions.GetPlayerData();
    mCompulsory = data != nullptr && data->GetProfileList().GetCount() == 0;
    mEnterPending = false;
    DialogState::OnEnter();
}

std::string CreateProfileState::EnteredName() const
{
    return IsWidgetAttached() ? Quoll::WStringToString(mDialog->GetEnteredName()) : std::string();
}

bool CreateProfileState::TryCreate()
{
    PlayerData* data = mActions.GetPlayerData();
    const std::string name = EnteredName();
    if (data == nullptr || data->GetProfileList().CheckNewName(name) != ProfileList::NameCheck::Ok)
        return false;
    data->CreateProfile(name);
    mActions.OnProfileChanged();
    Close();
    return true;
}

void CreateProfileState::OnCommand(int command, int)
{
    switch (command)
    {
    case ProfileNameDlg::kCommandOk: TryCreate(); break;
    case ProfileNameDlg::kCommandEnter: mEnterPending = true; break;
    case ProfileNameDlg::kCommandCancel:
        if (!mCompulsory)
            Close();
        break;
    default: break;
    }
}

void CreateProfileState::Update()
{
    DialogState::Update();
    if (!mEnterPending)
        return;
    mEnterPending = false;
    if (TryCreate())
        return;
    if (EnteredName().empty() && !mCompulsory)
        Close();
}

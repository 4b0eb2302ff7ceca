#include "game/app/ChangeProfileState.h"

#include "game/app/ShellActions.h"
#include "game/screens/ChangeProfileDlg.h"
#include "game/shell/PlayerData.h"

#include <algorithm>

namespace
{
const ProfileList& EmptyList()
{
    static const ProfileList empty;
    return empty;
}
} // namespace

BaseWidget* ChangeProfileState::CreateWidget()
{
    PlayerData* data = mActions.GetPlayerData();
    mDialog = new ChangeProfileDlg(data != nullptr ? data->GetProfileList() : EmptyList(),
                                   data != nullptr ? data->GetCurrentName() : std::string());
    return mDialog;
}

int ChangeProfileState::ValidSelection() const
{
    PlayerData* data = mActions.GetPlayerData();
    if (!IsWidgetAttached() || data == nullptr)
        return -1;
    const int selected = mDialog->GetSelected();
    return selected >= 0 && selected < data->GetProfileList().GetCount() ? selected : -1;
}

void ChangeProfileState::OnCommand(int command, int)
{
    PlayerData* data = mActions.GetPlayerData();
    switch (command)
    {
    case ChangeProfileDlg::kCommandOk:
        if (const int selected = ValidSelection(); selected >= 0)
        {
            data->SelectProfile(selected);
            mActions.OnProfileChanged();
            mDialog->RefreshProfileList();
            Close();
        }
        break;
    case ChangeProfileDlg::kCommandAdd: PushState(mCreate); break;
    case ChangeProfileDlg::kCommandDelete:
        if (const int selected = ValidSelection(); selected >= 0)
        {
            const int current = data->DeleteProfile(selected);
            if (current >= 0)
            {
                mDialog->SetSelected(std::max(current, 0));
                mActions.OnProfileChanged();
            }
            mDialog->RefreshProfileList();
        }
        break;
    case ChangeProfileDlg::kCommandCancel: Close(); break;
    default: break;
    }
}

void ChangeProfileState::OnResume()
{
    PlayerData* data = mActions.GetPlayerData();
    if (!IsWidgetAttached() || data == nullptr)
        return;
    mDialog->SetSelected(data->GetProfileList().Find(data->GetCurrentName()));
    mDialog->RefreshProfileList();
}

#include "game/app/ExitGameState.h"

#include "game/app/ShellActions.h"
#include "game/screens/ExitGameDlg.h"

BaseWidget* ExitGameState::CreateWidget()
{
    return new ExitGameDlg;
}

void ExitGameState::OnCommand(int command, int)
{
    if (command == ExitGameDlg::kCommandYes)
        mActions.RequestShutdown();
    else
        Close();
}

#include "game/app/InGameState.h"

#include "game/app/PlayLevelState.h"
#include "game/screens/InGameDlg.h"

BaseWidget* InGameState::CreateWidget()
{
    return new InGameDlg;
}

void InGameState::OnCommand(int command, int /*argument*/)
{
    switch (command)
    {
    case InGameDlg::kCommandContinue: PopState(); break;
    case InGameDlg::kCommandSaveQuit:
        PopState();
        // Carried out after the pop: the play state is on top again when it leaves.
        mPlay.SaveAndLeave();
        break;
    case InGameDlg::kCommandRestart:
        PopState();
        mPlay.ReceiveCommand(PlayLevelState::kCommandRestart, 0);
        break;
    default: break;
    }
}

#pragma once
// InGameDlg: the play screen's pause menu: continue (command 0, also Enter and Escape), save and
// quit (1, with a hint under the column) and restart (2), three buttons twice their image's width.
#include "game/ui/QuollDialog.h"

namespace Quoll
{
class Button;
}

class InGameDlg : public QuollDialog
{
public:
    static constexpr int kDialogId = 1002;
    static constexpr int kCommandContinue = 0;
    static constexpr int kCommandSaveQuit = 1;
    static constexpr int kCommandRestart = 2;

    InGameDlg() : QuollDialog(kDialogId, kCommandContinue) {}

    void Attach(WidgetLink* link) override;
    void Detach() override;
    void Resize(int x, int y, int width, int height) override;
    void KeyDown(int keyCode) override;

private:
    Quoll::Button* mContinueButton = nullptr;
    Quoll::Button* mSaveQuitButton = nullptr;
    Quoll::Button* mRestartButton = nullptr;
};

#pragma once
// ExitGameDlg: "are you sure?" with yes (command 0) and no (command 1, also Escape). The same
// panel, layout and keys ask whether to continue a saved game (StartSavedGameDlg) and whether to
// leave the tutorial (TutorialCancelDlg).
#include "game/ui/QuollDialog.h"

namespace Quoll
{
class Button;
}

class ExitGameDlg : public QuollDialog
{
public:
    static constexpr int kDialogId = 1002;
    static constexpr int kCommandYes = 0;
    static constexpr int kCommandNo = 1;

    ExitGameDlg() : ExitGameDlg(kDialogId, "UI_ARE_YOU_SURE") {}

    void Attach(WidgetLink* link) override;
    void Detach() override;
    void Resize(int x, int y, int width, int height) override;

protected:
    ExitGameDlg(int dialogId, std::string questionKey);

private:
    std::string mQuestionKey;
    Quoll::Button* mYesButton = nullptr;
    Quoll::Button* mNoButton = nullptr;
};

class StartSavedGameDlg : public ExitGameDlg
{
public:
    StartSavedGameDlg() : ExitGameDlg(kDialogId, "UI_SAVED_GAME_QUESTION") {}
};

class TutorialCancelDlg : public ExitGameDlg
{
public:
    static constexpr int kTutorialDialogId = 1007;
    TutorialCancelDlg() : ExitGameDlg(kTutorialDialogId, "UI_TUTORIAL_QUIT") {}
};

#include "game/screens/InGameDlg.h"

#include "game/ui/Button.h"
#include "game/ui/GameColors.h"

void InGameDlg::Attach(WidgetLink* link)
{
    DialogRecipe recipe;
    recipe.group = "ExitDialog";
    recipe.panelImage = "IMAGE_PANEL_EXIT";
    recipe.linesColor = ColorLabel;
    recipe.insets = {23, 30, 23, 20};
    if (!BuildFrom(recipe))
        return;
    mContinueButton = AddButton({kCommandContinue, "UI_CONTINUE", "IMAGE_BTN2", "IMAGE_BTN2_OVER"});
    mSaveQuitButton = AddButton({kCommandSaveQuit, "UI_SAVE_QUIT", "IMAGE_BTN2", "IMAGE_BTN2_OVER"});
    mSaveQuitButton->SetHint("HINT_SAVE_AND_EXIT", -1, 0);
    mSaveQuitButton->mHintColor = ColorHint;
    mSaveQuitButton->mHintOffsetX = 200;
    mSaveQuitButton->mHintOffsetY = 160;
    mSaveQuitButton->mHintWidth = 500;
    mSaveQuitButton->mHintJustification = 0;
    mRestartButton = AddButton({kCommandRestart, "UI_RESTART", "IMAGE_BTN2", "IMAGE_BTN2_OVER"});
    CentreOnPanel();
    QuollDialog::Attach(link);
}

void InGameDlg::Detach()
{
    mContinueButton = nullptr;
    mSaveQuitButton = nullptr;
    mRestartButton = nullptr;
    QuollDialog::Detach();
}

void InGameDlg::Resize(int x, int y, int width, int height)
{
    QuollDialog::Resize(x, y, width, height);
    if (mContinueButton == nullptr)
        return;
    const int buttonWidth = 2 * mContinueButton->GetNaturalWidth();
    const int buttonHeight = mContinueButton->GetNaturalHeight();
    const int left = (mWidth - buttonWidth) / 2;
    mContinueButton->Resize(left, 110, buttonWidth, buttonHeight);
    mRestartButton->Resize(left, 190, buttonWidth, buttonHeight);
    mSaveQuitButton->Resize(left, 310, buttonWidth, buttonHeight);
}

void InGameDlg::KeyDown(int keyCode)
{
    if (keyCode == kKeyEnter || keyCode == kKeyEscape)
        SendWithSound(kCommandContinue);
}

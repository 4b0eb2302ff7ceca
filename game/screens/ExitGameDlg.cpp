#include "game/screens/ExitGameDlg.h"

#include "game/ui/Button.h"
#include "game/ui/GameColors.h"

ExitGameDlg::ExitGameDlg(int dialogId, std::string questionKey)
    : QuollDialog(dialogId, kCommandNo), mQuestionKey(std::move(questionKey))
{
}

void ExitGameDlg::Attach(WidgetLink* link)
{
    DialogRecipe recipe;
    recipe.group = "ExitDialog";
    recipe.panelImage = "IMAGE_PANEL_EXIT";
    recipe.linesKey = mQuestionKey;
    recipe.linesFont = "FONT_FNT2";
    recipe.linesColor = Quoll::Color::White;
    recipe.insets = {23, 160, 23, 20};
    recipe.spaceAfterHeader = 10;
    if (!BuildFrom(recipe))
        return;
    // The question stands centred, like the header of every other dialog.
    mTextAlign = 0;
    mYesButton = AddButton({kCommandYes, "UI_YES"});
    mNoButton = AddButton({kCommandNo, "UI_NO"});
    CentreOnPanel();
    QuollDialog::Attach(link);
}

void ExitGameDlg::Detach()
{
    mYesButton = nullptr;
    mNoButton = nullptr;
    QuollDialog::Detach();
}

void ExitGameDlg::Resize(int x, int y, int width, int height)
{
    QuollDialog::Resize(x, y, width, height);
    if (mYesButton != nullptr)
        mYesButton->PlaceAt(40, 315);
    if (mNoButton != nullptr)
        mNoButton->PlaceAt(388, 315);
}

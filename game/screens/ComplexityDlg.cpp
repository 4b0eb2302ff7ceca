#include "game/screens/ComplexityDlg.h"

#include "game/ui/Button.h"
#include "game/ui/GameColors.h"
#include "game/ui/UiServices.h"

namespace
{
constexpr int kButtonWidth = 300;
}

Quoll::Button* ComplexityDlg::AddChoice(int id, const std::string& labelKey, const std::string& hintKey, int hintY)
{
    ButtonRecipe recipe(id, labelKey, "IMAGE_BTN2", "IMAGE_BTN2_OVER");
    recipe.disabledImage = "IMAGE_BTN2_DISABLED";
    recipe.disabledLabel = ColorButtonShade;
    Quoll::Button* button = AddButton(recipe);
    button->SetHint(hintKey, -1, 0);
    button->mHintColor = ColorHint;
    button->mHintWidth = 400;
    button->mHintJustification = 0;
    button->mHintOffsetX = 150;
    button->mHintOffsetY = hintY;
    return button;
}

void ComplexityDlg::Attach(WidgetLink* link)
{
    DialogRecipe recipe;
    recipe.group = "EditName";
    recipe.panelImage = "IMAGE_EDIT_NAME_BACKGROUND";
    recipe.headerKey = "UI_SELECT_COMPLEXITY";
    recipe.linesColor = ColorLabel;
    recipe.insets = {23, 100, 23, 20};
    if (!BuildFrom(recipe))
        return;
    mEasyButton = AddChoice(kCommandEasy, "UI_COMPLEXITY_EASY", "HINT_EASY_MODE", -70);
    mNormalButton = AddChoice(kCommandNormal, "UI_COMPLEXITY_NORMAL", "HINT_HARD_MODE", -150);
    CentreOnPanel();
    QuollDialog::Attach(link);
}

void ComplexityDlg::Detach()
{
    Ui().SetFocus(nullptr);
    mEasyButton = nullptr;
    mNormalButton = nullptr;
    QuollDialog::Detach();
}

void ComplexityDlg::Resize(int x, int y, int width, int height)
{
    QuollDialog::Resize(x, y, width, height);
    if (mEasyButton == nullptr)
        return;
    const int buttonHeight = mEasyButton->GetNaturalHeight();
    const int left = (mWidth - kButtonWidth) / 2;
    mEasyButton->Resize(left, 230, kButtonWidth, buttonHeight);
    mNormalButton->Resize(left, 310, kButtonWidth, buttonHeight);
}

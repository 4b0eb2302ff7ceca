#include "game/screens/ProfileNameDlg.h"

#include "framework/display/Image.h"
#include "game/shell/ProfileList.h"
#include "game/ui/Button.h"
#include "game/ui/ExEditWidget.h"
#include "game/ui/GameColors.h"
#include "game/ui/UiServices.h"

namespace
{
const Quoll::Color kFieldBackground{0x361E0B, 255};
const Quoll::Color kFieldSelection{0xB978BB, 255};
constexpr int kFieldBackgroundX = -20;
} // namespace

void ProfileNameDlg::Attach(WidgetLink* link)
{
    DialogRecipe recipe;
    recipe.group = "EditName";
    recipe.panelImage = "IMAGE_EDIT_NAME_BACKGROUND";
    recipe.headerKey = "UI_TYPE_NAME";
    recipe.linesColor = ColorLabel;
    recipe.insets = {23, 100, 23, 20};
    if (!BuildFrom(recipe))
        return;
    UiServices& ui = Ui();
    mNameField = new Quoll::ExEditWidget(this);
    mNameField->mBackgroundX = kFieldBackgroundX;
    mNameField->SetFont(ui.GetFontNamed("FONT_FNT1"));
    mNameField->mMaxChars = ProfileList::GetMaxNameLength();
    mNameField->SetColor(0, kFieldBackground);
    mNameField->SetColor(1, kFieldBackground);
    mNameField->SetColor(2, ColorLabel);
    mNameField->SetColor(3, kFieldSelection);
    mNameField->mBackgroundImage = ui.GetImageNamed("IMAGE_EDIT_ITEM");
    mNameField->mSingleByteInput = true;
    AddWidget(mNameField);
    ButtonRecipe ok(kCommandOk, "UI_OK");
    ok.disabledImage = "IMAGE_BTN1_DISABLED";
    ok.disabledLabel = ColorButtonShade;
    mOkButton = AddButton(ok);
    CentreOnPanel();
    QuollDialog::Attach(link);
    ui.SetFocus(mNameField);
}

void ProfileNameDlg::Detach()
{
    Ui().SetFocus(nullptr);
    QuollDialog::Detach();
    mOkButton = nullptr;
    mNameField = nullptr;
}

void ProfileNameDlg::Resize(int x, int y, int width, int height)
{
    QuollDialog::Resize(x, y, width, height);
    if (mNameField == nullptr)
        return;
    const Quoll::Image* item = mNameField->mBackgroundImage;
    const int fieldWidth = item != nullptr ? static_cast<int>(item->mWidth * 1.7) : 0;
    const int fieldHeight = item != nullptr ? item->mHeight : 0;
    mNameField->Resize((width - fieldWidth) / 2 - kFieldBackgroundX, 200, fieldWidth, fieldHeight);
    mOkButton->PlaceAt(380, 309);
}

std::wstring ProfileNameDlg::GetEnteredName() const
{
    return mNameField != nullptr ? mNameField->mString : std::wstring();
}

void ProfileNameDlg::KeyDown(int keyCode)
{
    if (keyCode == kKeyEnter)
        SendWithSound(GetEnteredName().empty() ? kCommandCancel : kCommandEnter);
    else if (keyCode == kKeyEscape)
        SendWithSound(kCommandCancel);
}

void ProfileNameDlg::EditWidgetText(int, const std::wstring&)
{
    SendToLink(kCommandEnter, 0);
}

bool ProfileNameDlg::AllowKey(int, int keyCode)
{
    if (keyCode != kKeyEscape)
        return true;
    if (mNameField != nullptr)
        mNameField->SetText(L"");
    SendToLink(kCommandEnter, 0);
    return false;
}

bool ProfileNameDlg::AllowChar(int, wchar_t character)
{
    return IsValidProfileNameChar(static_cast<int>(character));
}

#include "game/screens/ChangeProfileDlg.h"

#include "framework/core/Common.h"
#include "game/ui/Button.h"
#include "game/ui/GameColors.h"
#include "game/ui/UiServices.h"

ChangeProfileDlg::ChangeProfileDlg(const ProfileList& profiles, std::string currentName)
    : QuollDialog(kDialogId, kCommandCancel), mProfiles(profiles), mCurrentName(std::move(currentName))
{
}

void ChangeProfileDlg::Attach(WidgetLink* link)
{
    DialogRecipe recipe;
    recipe.group = "ProfileDialog";
    recipe.panelImage = "IMAGE_PROFILE_DIALOG_BG";
    recipe.headerKey = "UI_GAMERS";
    recipe.linesColor = ColorLabel;
    if (!BuildFrom(recipe))
        return;
    ButtonRecipe button(kCommandOk, "UI_OK");
    button.disabledLabel = ColorButtonShade;
    button.disabledImage = "IMAGE_BTN1_DISABLED";
    mOkButton = AddButton(button);
    button.normalImage = "IMAGE_BTN3";
    button.overImage = "IMAGE_BTN3_OVER";
    button.disabledImage = "IMAGE_BTN3_DISABLED";
    button.id = kCommandAdd;
    button.labelKey = "UI_ADD_PROFILE";
    mAddButton = AddButton(button);
    button.id = kCommandDelete;
    button.labelKey = "UI_DEL_PROFILE";
    mDeleteButton = AddButton(button);
    button.normalImage = "IMAGE_BTN2";
    button.overImage = "IMAGE_BTN2_OVER";
    button.disabledImage = "IMAGE_BTN2_DISABLED";
    button.labelKey.clear();
    for (int i = 0; i < kSlots; ++i)
    {
        button.id = kFirstSlotId + i;
        mSlots[static_cast<size_t>(i)] = AddButton(button);
    }
    CentreOnPanel();
    QuollDialog::Attach(link);
    mSelected = mProfiles.Find(mCurrentName);
    RefreshProfileList();
}

void ChangeProfileDlg::Detach()
{
    mOkButton = nullptr;
    mAddButton = nullptr;
    mDeleteButton = nullptr;
    mSlots.fill(nullptr);
    QuollDialog::Detach();
}

void ChangeProfileDlg::Resize(int x, int y, int width, int height)
{
    QuollDialog::Resize(x, y, width, height);
    if (mOkButton == nullptr)
        return;
    mAddButton->PlaceAt(100, 475);
    mDeleteButton->PlaceAt(160, 550);
    mOkButton->PlaceAt(389, 504);
    for (int i = 0; i < kSlots; ++i)
    {
        Quoll::Button* slot = mSlots[static_cast<size_t>(i)];
        slot->Resize(140, 150 + 65 * i, 310, slot->GetNaturalHeight());
    }
}

void ChangeProfileDlg::RefreshProfileList()
{
    if (mOkButton == nullptr)
        return;
    UiServices& ui = Ui();
    const int count = mProfiles.GetCount();
    for (int i = 0; i < kSlots; ++i)
    {
        Quoll::Button* slot = mSlots[static_cast<size_t>(i)];
        const bool used = i < count;
        const bool selected = used && i == mSelected;
        slot->SetLabel(used ? Quoll::StringToWString(mProfiles.GetName(i)) : ui.GetText("UI_EMPTY"));
        slot->SetDisabled(!used);
        slot->mButtonImage = ui.GetImageNamed(selected ? "IMAGE_BTN2_SELECTED" : "IMAGE_BTN2");
        slot->mOverImage = ui.GetImageNamed(selected ? "IMAGE_BTN2_SELECTED" : "IMAGE_BTN2_OVER");
        slot->Update();
    }
    const bool validSelection = mSelected >= 0 && mSelected < count;
    mOkButton->SetDisabled(!validSelection);
    mAddButton->SetDisabled(count >= ProfileList::kMaxProfiles);
    mDeleteButton->SetDisabled(count < 2 || !validSelection);
    ui.SetFocus(this);
}

void ChangeProfileDlg::ButtonRelease(int id)
{
    if (id >= kFirstSlotId)
    {
        mSelected = id - kFirstSlotId;
        RefreshProfileList();
        return;
    }
    QuollDialog::ButtonRelease(id);
}

void ChangeProfileDlg::MoveSelection(int step)
{
    const int count = mProfiles.GetCount();
    if (count == 0)
        return;
    mSelected += step;
    if (mSelected < 0)
        mSelected = count - 1;
    else if (mSelected >= count)
        mSelected = 0;
    RefreshProfileList();
}

void ChangeProfileDlg::KeyDown(int keyCode)
{
    switch (keyCode)
    {
    case kKeyEnter: SendWithSound(kCommandOk); break;
    case kKeyEscape: SendWithSound(kCommandCancel); break;
    case kKeyUp: MoveSelection(-1); break;
    case kKeyDown: MoveSelection(1); break;
    default: break;
    }
}

#include "game/screens/SettingsDlg.h"

#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "framework/widgets/Checkbox.h"
#include "game/shell/BaseWidget.h"
#include "game/ui/BacSlider.h"
#include "game/ui/Button.h"
#include "game/ui/GameColors.h"
#include "game/ui/UiServices.h"

#include <array>
#include <utility>

namespace
{
const Quoll::Color kLabelOutline{130, 21, 150, 120};
constexpr std::array<std::pair<int, int>, 8> kOutlineOffsets = {
    {{2, 2}, {-2, -2}, {-2, 2}, {2, -2}, {0, -2}, {0, 2}, {-2, 0}, {2, 0}}};
} // namespace

SettingsDlg::SettingsDlg(SettingsView view) : QuollDialog(kDialogId, kCommandCancel), mView(std::move(view)) {}

Quoll::Checkbox* SettingsDlg::AddCheckbox(int id)
{
    UiServices& ui = Ui();
    auto* box = new Quoll::Checkbox(ui.GetImageNamed("IMAGE_SETTING_CHECKBOX"),
                                    ui.GetImageNamed("IMAGE_SETTING_CHECKBOX_CHECK"), id, this);
    AddWidget(box);
    return box;
}

void SettingsDlg::Attach(WidgetLink* link)
{
    DialogRecipe recipe;
    recipe.group = "Settings";
    recipe.panelImage = "IMAGE_SETTINGS_BG";
    recipe.headerKey = "UI_SETTINGS";
    recipe.linesColor = ColorLabel;
    recipe.insets = {80, 23, 23, 20};
    if (!BuildFrom(recipe))
        return;
    mLangButton = AddButton({kLangButtonId, "UI_LANG", "IMAGE_BTN2", "IMAGE_BTN2_OVER"});
    mLangButton->SetFont(Ui().GetFontNamed("FONT_FNT1"));
    mLangButton->SetVisible(mView.twoLanguages);
    if (mView.twoLanguages)
    {
        mLangButton->SetHint("HINT_CHANGE_LANG", -1, 0);
        mLangButton->mHintOffsetX = 210;
        mLangButton->mHintOffsetY = 117;
        mLangButton->mHintWidth = 500;
        mLangButton->mHintJustification = 0;
        mLangButton->mHintColor = ColorHint;
    }
    mOkButton = AddButton({kOkButtonId, "UI_OK"});
    mMusicSlider = new Quoll::BacSlider(kMusicSliderId, this);
    AddWidget(mMusicSlider);
    mSoundSlider = new Quoll::BacSlider(kSoundSliderId, this);
    AddWidget(mSoundSlider);
    mFullScreenCheckbox = AddCheckbox(kFullScreenId);
    mCustomCursorCheckbox = AddCheckbox(kCustomCursorId);
    mMusicCheckbox = AddCheckbox(kMusicCheckboxId);
    mSoundCheckbox = AddCheckbox(kSoundCheckboxId);
    // Before the link is stored: what the controls tell the listener now sends nothing.
    SyncControls();
    CentreOnPanel();
    QuollDialog::Attach(link);
}

void SettingsDlg::SyncControls()
{
    mMusicCheckbox->SetChecked(mView.musicEnabled);
    mSoundCheckbox->SetChecked(mView.soundEnabled);
    mMusicSlider->SetDisabled(!mMusicCheckbox->IsChecked());
    mSoundSlider->SetDisabled(!mSoundCheckbox->IsChecked());
    mMusicSlider->SetValue(mView.musicVolume);
    mSoundSlider->SetValue(mView.soundVolume);
    mFullScreenCheckbox->SetChecked(!mView.windowed);
    mCustomCursorCheckbox->SetChecked(mView.customCursors);
}

void SettingsDlg::Detach()
{
    mLangButton = nullptr;
    mOkButton = nullptr;
    mMusicSlider = nullptr;
    mSoundSlider = nullptr;
    mMusicCheckbox = nullptr;
    mSoundCheckbox = nullptr;
    mFullScreenCheckbox = nullptr;
    mCustomCursorCheckbox = nullptr;
    QuollDialog::Detach();
}

void SettingsDlg::Resize(int x, int y, int width, int height)
{
    QuollDialog::Resize(x, y, width, height);
    if (mOkButton == nullptr)
        return;
    UiServices& ui = Ui();
    const Quoll::Image* track = ui.GetImageNamed("IMAGE_SETTING_SLIDER_TRACK");
    const Quoll::Image* box = ui.GetImageNamed("IMAGE_SETTING_CHECKBOX");
    const int trackWidth = track != nullptr ? track->mWidth : 0;
    const int trackHeight = track != nullptr ? track->mHeight : 0;
    const int boxWidth = box != nullptr ? box->mWidth : 0;
    const int boxHeight = box != nullptr ? box->mHeight : 0;
    mLangButton->PlaceAt(53, 453);
    mMusicSlider->Resize(65, 142, trackWidth, trackHeight);
    mSoundSlider->Resize(66, 235, trackWidth, trackHeight);
    mMusicCheckbox->Resize(308, 155, boxWidth, boxHeight);
    mSoundCheckbox->Resize(308, 245, boxWidth, boxHeight);
    mCustomCursorCheckbox->Resize(96, 330, boxWidth, boxHeight);
    mFullScreenCheckbox->Resize(96, 390, boxWidth, boxHeight);
    mOkButton->PlaceAt(374, 416);
}

void SettingsDlg::ButtonRelease(int id)
{
    Quoll::Dialog::ButtonRelease(id);
    SendToLink(id, 0);
}

void SettingsDlg::SliderVal(int id, double value)
{
    if (GetLink() != nullptr)
        SendToLink(id, static_cast<int>(value * 100));
}

void SettingsDlg::CheckboxChecked(int id, bool checked)
{
    if (GetLink() == nullptr)
        return;
    Ui().PlaySoundNamed("SOUND_BUTTON_SELECT");
    if (id == kFullScreenId)
    {
        if (!checked && mView.isWindowedImpossible && mView.isWindowedImpossible())
        {
            if (mView.showNoWindowedMessage)
                mView.showNoWindowedMessage();
            mFullScreenCheckbox->SetChecked(true);
        }
        return;
    }
    if (id == kMusicCheckboxId)
        mMusicSlider->SetDisabled(!mMusicCheckbox->IsChecked());
    else if (id == kSoundCheckboxId)
        mSoundSlider->SetDisabled(!mSoundCheckbox->IsChecked());
    SendToLink(id, checked ? 1 : 0);
}

void SettingsDlg::RefreshTexts()
{
    if (mOkButton == nullptr)
        return;
    mLangButton->UpdateLabel();
    mOkButton->UpdateLabel();
    mDialogHeader = Ui().GetText("UI_SETTINGS");
    mLangButton->ShowHint(mLangButton->IsHintShown());
    MarkDirty();
}

bool SettingsDlg::IsFullScreenChecked() const
{
    return mFullScreenCheckbox != nullptr && mFullScreenCheckbox->IsChecked();
}

Quoll::Checkbox* SettingsDlg::GetCheckbox(int id) const
{
    switch (id)
    {
    case kFullScreenId: return mFullScreenCheckbox;
    case kMusicCheckboxId: return mMusicCheckbox;
    case kSoundCheckboxId: return mSoundCheckbox;
    case kCustomCursorId: return mCustomCursorCheckbox;
    default: return nullptr;
    }
}

void SettingsDlg::DrawLabels(Quoll::Graphics* g, int dx, int dy)
{
    UiServices& ui = Ui();
    const auto onOff = [&](const Quoll::Checkbox* box) {
        return ui.GetText(box->IsChecked() ? "UI_SOUND_ENABLED" : "UI_SOUND_DISABLED");
    };
    g->DrawString(ui.GetText("UI_MUSIC_VOL"), 35 + dx, 163 + dy);
    g->DrawString(ui.GetText("UI_SOUND_VOL"), 35 + dx, 252 + dy);
    g->DrawString(onOff(mMusicCheckbox), 366 + dx, 186 + dy);
    g->DrawString(onOff(mSoundCheckbox), 366 + dx, 275 + dy);
    g->DrawString(ui.GetText("UI_FULL_SCREEN"), 155 + dx, 426 + dy);
    g->DrawString(ui.GetText("UI_CUSTOM_CURSOR"), 155 + dx, 365 + dy);
}

void SettingsDlg::Draw(Quoll::Graphics* g)
{
    QuollDialog::Draw(g);
    if (mOkButton == nullptr)
        return;
    Quoll::Font* font = Ui().GetFontNamed("FONT_FNT1");
    if (font == nullptr)
        return;
    g->SetFont(font);
    g->SetColor(kLabelOutline);
    for (const auto& [dx, dy] : kOutlineOffsets)
        DrawLabels(g, dx, dy);
    g->SetColor(ColorMapText);
    DrawLabels(g, 0, 0);
    if (!mCursorHintText.empty())
    {
        g->ClearClipRect();
        g->SetColor(Quoll::Color(0, 0, 0, 120));
        g->DrawStringWordWrapped(mCursorHintText, 21, 592, 500, 0);
        g->SetColor(ColorHint);
        g->DrawStringWordWrapped(mCursorHintText, 20, 590, 500, 0);
    }
}

void SettingsDlg::Update()
{
    QuollDialog::Update();
    if (mCustomCursorCheckbox == nullptr)
        return;
    if (mCustomCursorCheckbox->mIsOver && mCursorHintText.empty())
    {
        mCursorHintText = Ui().GetText("HINT_CURSOR_SWITCH");
        MarkDirty();
    }
    else if (!mCustomCursorCheckbox->mIsOver && !mCursorHintText.empty())
    {
        mCursorHintText.clear();
        MarkDirty();
    }
}

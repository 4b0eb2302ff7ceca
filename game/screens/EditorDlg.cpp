#include "game/screens/EditorDlg.h"

#include "framework/core/Common.h"
#include "framework/display/Graphics.h"
#include "framework/widgets/EditWidget.h"
#include "game/play/Bacteria.h"
#include "game/play/VCell.h"
#include "game/shell/PlayServices.h"
#include "game/ui/Button.h"
#include "game/ui/UiServices.h"

#include <algorithm>

namespace
{
const Quoll::Color kLabelColor{255, 255, 255, 255};
const Quoll::Color kLabelOverColor{255, 34, 34, 255};
const Quoll::Color kStripColor{34, 34, 34, 120};
const Quoll::Color kTileColor{68, 68, 68, 255};
const Quoll::Color kSelectedColor{255, 255, 0, 255};
constexpr int kTileSize = 60;
constexpr int kTileY = 698;
constexpr int kControlsY = 678;
constexpr int kFieldY = 676;
constexpr int kMaxDigits = 3;
// The least room between two controls of the strip.
constexpr int kControlGap = 6;

int ReadThreshold(const Quoll::EditWidget* edit, int fallback)
{
    int value = 0;
    if (edit == nullptr || !Quoll::WStringToInt(edit->mString, value)) return fallback;
    return value;
}
} // namespace

EditorDlg::EditorDlg(PlayServices& play) : QuollDialog(kDialogId, kNoCancelCommand), mPlay(play) {}

Quoll::Button* EditorDlg::MakeButton(int id, const std::string& label)
{
    auto* button =
        new Quoll::Button(id, label, this, nullptr, nullptr, Ui().GetFontNamed("FONT_LABEL"));
    button->SetColor(Quoll::ButtonWidget::kColorLabel, kLabelColor);
    button->SetColor(Quoll::ButtonWidget::kColorLabelOver, kLabelOverColor);
    AddWidget(button);
    return button;
}

Quoll::EditWidget* EditorDlg::MakeThresholdEdit()
{
    auto* edit = new Quoll::EditWidget(kSetThresholds, this);
    if (Quoll::Font* font = Ui().GetFontNamed("FONT_LABEL")) edit->SetFont(font);
    edit->mMaxChars = kMaxDigits;
    AddWidget(edit);
    return edit;
}

void EditorDlg::Attach(WidgetLink* link)
{
    SetColor(0, kLabelColor);
    SetColor(1, kLabelOverColor);
    mExitButton = MakeButton(kExit, "Exit");
    mResetButton = MakeButton(kReset, "Reset");
    mSaveButton = MakeButton(kSave, "Save");
    mReloadButton = MakeButton(kReload, "Reload");
    mAiButton2 = MakeButton(kCycleAi2, "0");
    mAiButton3 = MakeButton(kCycleAi3, "0");
    mMedalModeButton = MakeButton(kToggleMedalMode, "MEDAL_MODE");
    mThreshold1 = MakeThresholdEdit();
    mThreshold2 = MakeThresholdEdit();
    mSelectedEntry = 5;
    UiServices& ui = Ui();
    Resize(0, 0, ui.GetAppWidth(), ui.GetAppHeight());
    QuollDialog::Attach(link);
}

void EditorDlg::Detach()
{
    QuollDialog::Detach();
    mExitButton = mSaveButton = mReloadButton = mResetButton = nullptr;
    mAiButton2 = mAiButton3 = mMedalModeButton = nullptr;
    mThreshold1 = mThreshold2 = nullptr;
}

Quoll::Image* EditorDlg::GetPaletteImage(int index, int& cel)
{
    cel = 0;
    if (index >= 1 && index <= 3) return GetCellSkinImage(mPlay, index, cel);
    if (index >= 5 && index <= 7) return GetBodyImageForPlayer(mPlay, index - 4);
    if (index >= 8)
    {
        cel = index == 11 ? 5 : 0;
        return mPlay.GetImageById(
            mPlay.GetResourceIdByName("IMAGE_BONUS" + std::to_string(index - 7)));
    }
    return nullptr;
}

void EditorDlg::Resize(int x, int y, int width, int height)
{
    QuollDialog::Resize(x, y, width, height);
    if (mExitButton == nullptr) return;
    for (int k = 0; k < kPaletteSize; ++k)
    {
        PaletteEntry& entry = mPalette.at(static_cast<size_t>(k));
        entry.kind = k;
        entry.image = GetPaletteImage(k, entry.cel);
        // A strip with fewer cels than the tile asks for shows its first.
        if (entry.image != nullptr && entry.cel >= entry.image->mNumCols * entry.image->mNumRows)
            entry.cel = 0;
        // A gap of 20 pixels between the cell kinds and the contents.
        entry.x = (k <= 3 ? 130 : 150) + 70 * k;
        entry.y = kTileY;
        entry.width = kTileSize;
        entry.height = kTileSize;
    }
    PlaceLevelButtons();
    PlaceStatusControls();
}

// Exit and reset on one row, save and reload on the next, when both of a row fit left of the
// palette; with wider labels the four stand in one column down the strip.
void EditorDlg::PlaceLevelButtons()
{
    const int paletteLeft = mPalette[0].x - kControlGap;
    const auto row = [&](Quoll::Button* first, Quoll::Button* second, int y) {
        first->PlaceAt(10, y);
        second->PlaceAt(std::max(60, first->mX + first->mWidth + kControlGap), y);
        return second->mX + second->mWidth <= paletteLeft;
    };
    const bool fits = row(mExitButton, mResetButton, 698);
    if (row(mSaveButton, mReloadButton, 728) && fits)
        return;
    int y = kStripY + 2;
    for (Quoll::Button* button : {mExitButton, mResetButton, mSaveButton, mReloadButton})
    {
        button->PlaceAt(10, y);
        y += button->mHeight;
    }
}

// The AI buttons over the bodies of players 2 and 3, the medal mode beside them and the medal
// thresholds over the bonuses, each at its natural size and clear of its neighbours: the mode
// button stands right of the second AI button when its label fits before the first medal icon,
// else left of the first AI button.
void EditorDlg::PlaceStatusControls()
{
    mAiButton2->PlaceAt(mPalette[6].x + 15, kControlsY);
    mAiButton3->PlaceAt(std::max(mPalette[7].x + 15, mAiButton2->mX + mAiButton2->mWidth + kControlGap), kControlsY);
    const int iconLeft = mPalette[9].x - kControlGap;
    mMedalModeButton->PlaceAt(std::max(mPalette[8].x - 15, mAiButton3->mX + mAiButton3->mWidth + kControlGap),
                              kControlsY);
    if (mMedalModeButton->mX + mMedalModeButton->mWidth > iconLeft)
        mMedalModeButton->PlaceAt(mAiButton2->mX - kControlGap - mMedalModeButton->mWidth, kControlsY);
    mThreshold1->Resize(mPalette[9].x + 22, kFieldY, 35, 20);
    mThreshold2->Resize(mPalette[10].x + 22, kFieldY, 35, 20);
}

void EditorDlg::Update()
{
    MarkDirty();
}

void EditorDlg::Draw(Quoll::Graphics* g)
{
    g->SetColor(kStripColor);
    g->FillRect(0, kStripY, Ui().GetAppWidth(), 100);
    for (const PaletteEntry& entry : mPalette)
    {
        g->SetColor(kTileColor);
        g->FillRect(entry.x, entry.y, entry.width, entry.height);
        if (entry.image != nullptr)
        {
            const int left = entry.x + (kTileSize - entry.image->GetCelWidth()) / 2;
            const int top = entry.y + (kTileSize - entry.image->GetCelHeight()) / 2;
            g->DrawImageCel(entry.image, left, top, entry.cel);
        }
        if (entry.kind == mSelectedEntry)
        {
            g->SetColor(kSelectedColor);
            g->DrawRect(entry.x, entry.y, entry.width, entry.height);
        }
    }
    if (mMedalIcon1 != nullptr)
        g->DrawImage(mMedalIcon1, mPalette[9].x, mPalette[9].y - 22, 20, 20);
    if (mMedalIcon2 != nullptr)
        g->DrawImage(mMedalIcon2, mPalette[10].x, mPalette[10].y - 22, 20, 20);
}

void EditorDlg::MouseDown(int x, int y, int /*button*/, int /*clickCount*/)
{
    for (const PaletteEntry& entry : mPalette)
    {
        if (!entry.Contains(x, y)) continue;
        if (entry.kind != mSelectedEntry)
        {
            mSelectedEntry = entry.kind;
            MarkDirty();
            SendToLink(kSelectTile, entry.kind);
        }
        return;
    }
    SendToLink(kBoardClick, 0);
}

void EditorDlg::KeyDown(int keyCode)
{
    if (keyCode == kKeyEscape) SendToLink(kExit, 0);
}

void EditorDlg::ButtonRelease(int id)
{
    SendToLink(id, 0);
}

void EditorDlg::EditWidgetText(int id, const std::wstring& /*text*/)
{
    SendToLink(id, 0);
    Ui().SetFocus(this);
}

bool EditorDlg::AllowChar(int /*id*/, wchar_t character)
{
    return character >= L'0' && character <= L'9';
}

void EditorDlg::UpdateStatusText(int aiLevel2, int aiLevel3, const MedalRule& rule)
{
    if (mAiButton2 == nullptr) return;
    mAiButton2->mLabel = Quoll::FormatWideString(L"AI %i", aiLevel2);
    mAiButton3->mLabel = Quoll::FormatWideString(L"AI %i", aiLevel3);
    mMedalModeButton->mLabel =
        Quoll::FormatWideString(L"Mode: %ls", rule.mode != 0 ? L"rounds" : L"cells");
    mThreshold1->SetText(Quoll::FormatWideString(L"%i", rule.firstThreshold));
    mThreshold2->SetText(Quoll::FormatWideString(L"%i", rule.secondThreshold));
    // The labels' widths changed: the strip is laid out again.
    PlaceStatusControls();
    UiServices& ui = Ui();
    mMedalIcon1 = ui.GetImageNamed(rule.mode != 0 ? "IMAGE_ICON_MEDAL1" : "IMAGE_ICON_MEDAL2");
    mMedalIcon2 = ui.GetImageNamed(rule.mode != 0 ? "IMAGE_ICON_MEDAL2" : "IMAGE_ICON_MEDAL3");
    MarkAllDirty();
}

int EditorDlg::GetFirstThreshold() const
{
    return ReadThreshold(mThreshold1, 1);
}

int EditorDlg::GetSecondThreshold() const
{
    return ReadThreshold(mThreshold2, 2);
}

Quoll::Button* EditorDlg::GetButton(int id) const
{
    const std::array<Quoll::Button*, 7> buttons = {mExitButton,     mResetButton, mSaveButton,
                                                   mReloadButton,   mAiButton2,   mAiButton3,
                                                   mMedalModeButton};
    return id >= 0 && id < 7 ? buttons.at(static_cast<size_t>(id)) : nullptr;
}

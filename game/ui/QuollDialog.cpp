#include "game/ui/QuollDialog.h"

#include "framework/display/Image.h"
#include "framework/display/MemoryImage.h"
#include "game/shell/SharedFonts.h"
#include "game/ui/Button.h"
#include "game/ui/GameColors.h"
#include "game/ui/QuollWidget.h"
#include "game/ui/UiServices.h"

#include <cstdlib>

namespace
{
// Body text must differ this much in brightness (0..255) from the panel under it to be read.
constexpr int kMinTextContrast = 100;

// Perceived brightness 0..255 of a colour's channels.
int Brightness(uint32_t r, uint32_t g, uint32_t b)
{
    return static_cast<int>((299 * r + 587 * g + 114 * b) / 1000);
}

// The mean brightness of the panel's visible pixels; -1 without a readable panel.
int PanelBrightness(Quoll::Image* panel)
{
    auto* image = dynamic_cast<Quoll::MemoryImage*>(panel);
    const uint32_t* bits = image != nullptr ? image->GetBits() : nullptr;
    if (bits == nullptr)
        return -1;
    uint64_t sum = 0, count = 0;
    const size_t pixels = static_cast<size_t>(image->GetWidth()) * static_cast<size_t>(image->GetHeight());
    for (size_t i = 0; i < pixels; ++i)
    {
        const uint32_t p = bits[i];
        if ((p >> 24) < 128)
            continue;
        sum += static_cast<uint64_t>(Brightness((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
        ++count;
    }
    return count == 0 ? -1 : static_cast<int>(sum / count);
}
} // namespace

Quoll::Color ReadableTextColor(Quoll::Image* panel, const Quoll::Color& wanted)
{
    const int ground = PanelBrightness(panel);
    if (ground < 0 || std::abs(Brightness(static_cast<uint32_t>(wanted.r), static_cast<uint32_t>(wanted.g),
                                          static_cast<uint32_t>(wanted.b)) -
                               ground) >= kMinTextContrast)
        return wanted;
    const int level = ground < 128 ? 255 : 0;
    return Quoll::Color(level, level, level, wanted.a);
}

QuollDialog::QuollDialog(int dialogId, int cancelCommand)
    : Quoll::Dialog(dialogId, true, L"", L"", L"", kButtonsNone), mCancelCommand(cancelCommand)
{
}

void QuollDialog::Attach(WidgetLink* link)
{
    BaseWidget::Attach(link);
    UiServices& ui = Ui();
    Quoll::AppDialog* older = ui.GetDialog(GetDialogId());
    if (older != nullptr && older != this)
        ui.KillDialog(GetDialogId(), false);
    if (older != this)
        ui.AddDialogObject(this);
    ui.SetFocus(this);
    ui.PlaySoundNamed("SOUND_GAMEMENU_SHOW");
}

void QuollDialog::Detach()
{
    BaseWidget::Detach();
    UiServices& ui = Ui();
    if (ui.GetDialog(GetDialogId()) == this)
        ui.KillDialog(GetDialogId(), true);
    else
        ui.DeleteWidgetLater(this);
    DeleteChildrenLater(*this);
    if (!mGroup.empty())
        ui.UnloadResourceGroup(mGroup);
    mGroup.clear();
}

void QuollDialog::ButtonRelease(int id)
{
    SendToLink(id, 0);
}

void QuollDialog::KeyDown(int keyCode)
{
    if (keyCode == kKeyEscape && mCancelCommand != kNoCancelCommand)
        SendWithSound(mCancelCommand);
}

void QuollDialog::SendWithSound(int command)
{
    SendToLink(command, 0);
    Ui().PlaySoundNamed("SOUND_BUTTON_SELECT");
}

bool QuollDialog::BuildFrom(const DialogRecipe& recipe)
{
    UiServices& ui = Ui();
    if (!ui.LoadResourceGroup(recipe.group))
        return false;
    mGroup = recipe.group;
    mComponentImage = ui.GetImageNamed(recipe.panelImage);
    if (!recipe.headerKey.empty())
        mDialogHeader = ui.GetText(recipe.headerKey);
    if (!recipe.linesKey.empty())
        mDialogLines = ui.GetText(recipe.linesKey);
    SetHeaderFont(ui.GetFontNamed(recipe.headerFont));
    SetColor(0, recipe.headerColor);
    SetLinesFont(recipe.linesFont.empty() ? DialogTextFont : ui.GetFontNamed(recipe.linesFont));
    SetColor(1, ReadableTextColor(mComponentImage, recipe.linesColor));
    mContentInsets = recipe.insets;
    mSpaceAfterHeader = recipe.spaceAfterHeader;
    mMouseVisible = false;
    return true;
}

Quoll::Button* QuollDialog::AddButton(const ButtonRecipe& recipe)
{
    UiServices& ui = Ui();
    const Quoll::Font* font = recipe.font.empty() ? ButtonFont : ui.GetFontNamed(recipe.font);
    auto* button = new Quoll::Button(recipe.id, recipe.labelKey, this, ui.GetImageNamed(recipe.normalImage),
                                     ui.GetImageNamed(recipe.overImage), font);
    if (!recipe.disabledImage.empty())
        button->mDisabledImage = ui.GetImageNamed(recipe.disabledImage);
    button->SetColor(Quoll::ButtonWidget::kColorLabel, ColorLabel);
    button->SetColor(Quoll::ButtonWidget::kColorLabelOver, ColorLabelOver);
    if (recipe.disabledLabel.a != 0)
        button->SetColor(Quoll::Button::kColorDisabledLabel, recipe.disabledLabel);
    AddWidget(button);
    return button;
}

void QuollDialog::CentreOnPanel()
{
    const int width = mComponentImage != nullptr ? mComponentImage->mWidth : 0;
    const int height = mComponentImage != nullptr ? mComponentImage->mHeight : 0;
    UiServices& ui = Ui();
    Resize((ui.GetAppWidth() - width) / 2, (ui.GetAppHeight() - height) / 2, width, height);
}

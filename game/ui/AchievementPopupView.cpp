#include "game/ui/AchievementPopupView.h"

#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "game/ui/GameColors.h"
#include "game/ui/UiServices.h"

#include <algorithm>
#include <string>

namespace
{
const Quoll::Color kPanelRim(0x4FC7F8, 230);
const Quoll::Color kPanelFill(0x0E2346, 220);
const Quoll::Color kHeadingColour(0xFFFFFF, 255);
const Quoll::Color kTextShadow(0, 0, 0, 120);
constexpr int kRim = 3;

// 1 - (1 - t)^2: fast at first, settling at the end.
float EaseOut(float t)
{
    const float u = 1 - std::clamp(t, 0.0f, 1.0f);
    return 1 - u * u;
}

void DrawShadowed(Quoll::Graphics* g, const std::wstring& text, int x, int y, const Quoll::Color& colour)
{
    g->SetColor(kTextShadow);
    g->DrawString(text, x + 1, y + 1);
    g->SetColor(colour);
    g->DrawString(text, x, y);
}
} // namespace

AchievementPopupView::AchievementPopupView(UiServices& services, AchieveIcon::PointerSource pointer)
    : mServices(services), mPointer(std::move(pointer))
{
}

AchievementPopupView::~AchievementPopupView() = default;

Quoll::Rect AchievementPopupView::PanelRect(const AchievementPopup& popup) const
{
    // Fully shown: 1; above the screen: 0.
    float shown = 1;
    if (popup.phase == AchievementPopup::Phase::SlidingIn)
        shown = EaseOut(popup.progress);
    else if (popup.phase == AchievementPopup::Phase::SlidingOut)
        shown = 1 - EaseOut(popup.progress);
    const int hidden = -kHeight;
    const int y = hidden + static_cast<int>(static_cast<float>(kTop - hidden) * shown);
    return {(mServices.GetAppWidth() - kWidth) / 2, y, kWidth, kHeight};
}

AchieveIcon& AchievementPopupView::IconFor(int number)
{
    if (!mIcon || mIcon->GetNumber() != number)
    {
        mIcon = std::make_unique<AchieveIcon>(mServices, number, mPointer);
        mIcon->SetState(true, false);
        mIcon->mAchieved = true;
        mIcon->mNew = false;
    }
    return *mIcon;
}

void AchievementPopupView::Draw(Quoll::Graphics* g, const AchievementPopup& popup)
{
    const Quoll::Rect panel = PanelRect(popup);
    g->SetColor(kPanelRim);
    g->FillRect(panel);
    g->SetColor(kPanelFill);
    g->FillRect(panel.x + kRim, panel.y + kRim, panel.width - 2 * kRim, panel.height - 2 * kRim);

    AchieveIcon& icon = IconFor(popup.number);
    icon.SetPosition({static_cast<float>(panel.x + kIconX), static_cast<float>(panel.y + kIconY)});
    // No time passes here: the update only follows the panel with the hint's area and the pointer.
    icon.Update(0);
    g->SetColor(Quoll::Color::White);
    icon.Draw(g);

    if (popup.phase == AchievementPopup::Phase::Caption)
        DrawCaption(g, panel, popup.number);
    g->SetColor(Quoll::Color::White);
}

void AchievementPopupView::DrawCaption(Quoll::Graphics* g, const Quoll::Rect& panel, int number)
{
    Quoll::Font* font = mServices.GetFontNamed("FONT_FNT1");
    if (font == nullptr)
        return;
    g->SetFont(font);
    const int line = font->GetLineSpacing();
    const int top = panel.y + (panel.height - 2 * line) / 2 + font->GetAscent();
    DrawShadowed(g, mServices.GetText("UI_ACHIEVEMENT_EARNED"), panel.x + kTextX, top, kHeadingColour);
    DrawShadowed(g, mServices.GetText("ACH" + std::to_string(number)), panel.x + kTextX, top + line, ColorHint);
}

void InstallAchievementPopup(AchievementManager& manager, UiServices& services, AchieveIcon::PointerSource pointer)
{
    auto view = std::make_shared<AchievementPopupView>(services, std::move(pointer));
    manager.SetPopupPainter(
        [view](Quoll::Graphics* g, const AchievementPopup& popup) { view->Draw(g, popup); });
}

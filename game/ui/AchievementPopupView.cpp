#include "game/ui/AchievementPopupView.h"

#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "game/ui/GameColors.h"
#include "game/ui/UiServices.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace
{
const Quoll::Color kPanelRim(0x4FC7F8, 230);
// The panel's inside runs from the top colour down to the bottom one, like the game's glass.
const Quoll::Color kPanelTop(0x1D4C7C, 225);
const Quoll::Color kPanelBottom(0x081730, 225);
const Quoll::Color kHeadingColour(0xFFFFFF, 255);
const Quoll::Color kTextShadow(0, 0, 0, 120);
constexpr int kRim = 3;
constexpr int kCornerRadius = 20;

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

// How far the row y (0 at the top) of a rounded box of the height and corner radius lies in
// from the box's sides.
int CornerInset(int y, int height, int radius)
{
    const float centre = static_cast<float>(y) + 0.5f;
    const float r = static_cast<float>(radius);
    const float dy = std::max({0.0f, r - centre, centre - static_cast<float>(height) + r});
    if (dy <= 0.0f)
        return 0;
    return static_cast<int>(std::lround(r - std::sqrt(std::max(0.0f, r * r - dy * dy))));
}

int Mix(int a, int b, int y, int height)
{
    return a + (b - a) * y / std::max(1, height - 1);
}

// A rounded glass panel drawn row by row: the rim around an inside shaded from top to bottom.
// Each pixel is drawn once, so the translucent rim and inside do not darken each other.
void DrawGlassPanel(Quoll::Graphics* g, const Quoll::Rect& panel)
{
    const int innerHeight = panel.height - 2 * kRim;
    for (int y = 0; y < panel.height; ++y)
    {
        const int outer = CornerInset(y, panel.height, kCornerRadius);
        const int row = panel.y + y;
        const int inY = y - kRim;
        if (inY < 0 || inY >= innerHeight)
        {
            g->SetColor(kPanelRim);
            g->FillRect(panel.x + outer, row, panel.width - 2 * outer, 1);
            continue;
        }
        const int inner = kRim + CornerInset(inY, innerHeight, kCornerRadius - kRim);
        g->SetColor(kPanelRim);
        g->FillRect(panel.x + outer, row, inner - outer, 1);
        g->FillRect(panel.x + panel.width - inner, row, inner - outer, 1);
        g->SetColor(Quoll::Color(Mix(kPanelTop.r, kPanelBottom.r, inY, innerHeight),
                                 Mix(kPanelTop.g, kPanelBottom.g, inY, innerHeight),
                                 Mix(kPanelTop.b, kPanelBottom.b, inY, innerHeight), kPanelTop.a));
        g->FillRect(panel.x + inner, row, panel.width - 2 * inner, 1);
    }
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
    DrawGlassPanel(g, panel);

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

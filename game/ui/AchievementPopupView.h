#pragma once
// AchievementPopupView: draws the popup that announces a newly earned achievement, for the
// achievement manager's painter hook (the shell keeps the popup's timing, this draws it). A
// panel slides down from the top edge, holds while its caption (a heading and the achievement's
// name) shows, and slides back up; the achievement's icon sits at its left.
//
// InstallAchievementPopup gives the manager a painter that owns a view; the services it is given
// must outlive the manager's painter.
#include "framework/display/Rect.h"
#include "game/shell/AchievementManager.h"
#include "game/ui/AchieveIcon.h"

#include <memory>

class UiServices;

class AchievementPopupView
{
public:
    static constexpr int kWidth = 420;
    static constexpr int kHeight = 84;
    // The panel's top while it holds.
    static constexpr int kTop = 16;
    // The icon's centre from the panel's corner.
    static constexpr int kIconX = 44;
    static constexpr int kIconY = 42;
    static constexpr int kTextX = 84;

    AchievementPopupView(UiServices& services, AchieveIcon::PointerSource pointer);
    ~AchievementPopupView();
    AchievementPopupView(const AchievementPopupView&) = delete;
    AchievementPopupView& operator=(const AchievementPopupView&) = delete;

    // The panel's rectangle for the popup's phase and progress, centred on the screen's width.
    [[nodiscard]] Quoll::Rect PanelRect(const AchievementPopup& popup) const;
    // The panel, the icon and, while the caption shows, the texts.
    void Draw(Quoll::Graphics* g, const AchievementPopup& popup);

    // The icon of the popup drawn last; null before the first.
    [[nodiscard]] const AchieveIcon* GetIcon() const { return mIcon.get(); }

private:
    // The icon of the popup's achievement, made again when the achievement changes.
    AchieveIcon& IconFor(int number);
    void DrawCaption(Quoll::Graphics* g, const Quoll::Rect& panel, int number);

    UiServices& mServices;
    AchieveIcon::PointerSource mPointer;
    std::unique_ptr<AchieveIcon> mIcon;
};

// Sets the manager's popup painter to a new view over the services.
void InstallAchievementPopup(AchievementManager& manager, UiServices& services, AchieveIcon::PointerSource pointer);

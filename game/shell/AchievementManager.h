#pragma once
// AchievementManager: turns game events (1..52) into the 40 achievements of the current
// profile's record and announces each newly earned one in a popup. One instance serves the
// program; it registers itself on construction (AchievementManager::Get).
//
// Filters: while the level editor is active every event is ignored; while the tutorial's script
// says a step is shown (TutorialSteps::IsStepActive) only event 14 (a level started with its
// tutorial) counts, and event 14 counts only then. Without a record (no current profile) events
// are ignored.
//
// The popup: earned achievements queue up and show one after another. Each one slides in
// (kPopupInTime), shows its caption (kPopupCaptionTime; the play screen waits meanwhile), then
// slides out (kPopupOutTime). The drawing belongs to the UI layer, which installs a painter;
// DrawPopup hands it the popup's state.
#include "game/shell/AchievementRecord.h"

#include <deque>
#include <functional>
#include <vector>

namespace Quoll
{
class Graphics;
}
class TutorialSteps;

// What the popup shows at the moment.
struct AchievementPopup
{
    enum class Phase
    {
        SlidingIn,
        Caption,
        SlidingOut,
    };
    int number = 0;
    Phase phase = Phase::SlidingIn;
    // 0..1 through the current phase.
    float progress = 0.0f;
};

class AchievementManager
{
public:
    static constexpr float kPopupInTime = 0.5f;
    static constexpr float kPopupCaptionTime = 2.5f;
    static constexpr float kPopupOutTime = 0.5f;
    // The event that alone counts while a tutorial step is active, and only then.
    static constexpr int kTutorialEvent = 14;

    using PopupPainter = std::function<void(Quoll::Graphics* graphics, const AchievementPopup& popup)>;

    // tutorial: the script whose shown step the filter asks about; null: no step is ever shown.
    explicit AchievementManager(const TutorialSteps* tutorial = nullptr);
    ~AchievementManager();
    AchievementManager(const AchievementManager&) = delete;
    AchievementManager& operator=(const AchievementManager&) = delete;

    // The registered manager, or null.
    [[nodiscard]] static AchievementManager* Get();

    // The current profile's record (null: none). A new record drops the queued popups.
    void SetRecord(AchievementRecord* record);
    // On while the level editor is open: from the map's request to edit a level until the
    // editor's state is left or the level does not start.
    void SetEditorActive(bool active) { mEditorActive = active; }

    // Reports a game event; counts it, earns every achievement whose count it completes and
    // queues their popups. Events outside 1..52 and filtered ones change nothing.
    void OnEvent(int eventId);

    // Whether achievement 1..40 is earned; outIsNew (may be null) tells whether it is among the
    // newly earned ones.
    [[nodiscard]] bool IsAchieved(int number, bool* outIsNew) const;
    // The newly earned achievements, in the order they were earned.
    [[nodiscard]] const std::vector<int>& GetNewAchievements() const;
    // The player has seen them (the achievements viewer closed).
    void ClearNewAchievements();

    // Advances the popup by dt seconds.
    void UpdatePopup(float dt);
    // A popup shows or waits.
    [[nodiscard]] bool IsPopupPending() const;
    // The shown popup is in its caption phase.
    [[nodiscard]] bool IsPopupTextShown() const;
    // The shown popup, or none.
    [[nodiscard]] const AchievementPopup* GetPopup() const { return mShowing ? &mPopup : nullptr; }
    void SetPopupPainter(PopupPainter painter) { mPainter = std::move(painter); }
    // Draws the shown popup through the painter; nothing without a popup or a painter.
    void DrawPopup(Quoll::Graphics* graphics) const;

private:
    [[nodiscard]] bool Accepts(int eventId) const;
    void Earn(int number);
    void StartNextPopup();
    [[nodiscard]] static float PhaseLength(AchievementPopup::Phase phase);

    const TutorialSteps* mTutorial;
    AchievementRecord* mRecord = nullptr;
    bool mEditorActive = false;

    std::deque<int> mQueue;
    bool mShowing = false;
    AchievementPopup mPopup;
    float mPhaseTime = 0.0f;
    PopupPainter mPainter;
};

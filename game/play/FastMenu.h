#pragma once
// FastMenu: the quick menu of the play screen. A panel at the top centre hangs mostly above the
// screen as a tab and slides down while the pointer is over it; open, it offers three buttons
// (leave to the main menu, restart, sound on or off) and shows the level's medal goal (the medal
// held, the next one, the count and the threshold for it), animating every change of grade; on a
// random level it shows a title instead. A step-back tab slides in from the left edge once the
// player may undo a move, carries the count of step-backs left and pulses after a heavy loss.
//
// The HUD owns it and feeds it (the scene's hook makes it with Make); its buttons belong to the
// play screen widget, and a click turns into a numbered command sent through the screen's link:
// 0 main menu (the in-game menu, as Escape), 100 restart, 101 sound, 102 step back.
#include "framework/app/ButtonListener.h"
#include "framework/display/Color.h"
#include "game/board/LevelParams.h"
#include "game/play/HudMenu.h"
#include "game/scene/HintArea.h"

#include <memory>
#include <string>

class Level;
class PlayServices;
class QuollWidget;

namespace Quoll
{
class Button;
class Font;
class Image;

class FastMenu : public ButtonListener, public HudMenu
{
public:
    enum Command : int
    {
        kMainMenu = 0,
        kRestart = 100,
        kSound = 101,
        kStepBack = 102,
    };
    enum MenuState : int
    {
        kUninitialised = 0,
        kHidden = 1,
        kCollapsed = 2,
        kOpening = 3,
        kClosing = 4,
        kOpen = 5,
    };
    // Pixels the collapsed panel hangs above the screen; the slide's rate per second.
    static constexpr int kDrop = 80;
    static constexpr float kSlideRate = 8.0f;
    // Seconds of the medal animation; the big and small medal slots.
    static constexpr float kMedalTime = 0.6f;
    static constexpr int kBigSlotX = 256;
    static constexpr int kBigSlotY = 81;
    static constexpr int kSmallSlotX = 343;
    static constexpr int kSmallSlotY = 86;
    static constexpr int kMovingStartX = 261;
    static constexpr int kMedalIconSize = 29;
    // The step-back tab's top and its button's row.
    static constexpr int kTabY = 330;
    static constexpr int kStepBackY = 340;
    // Particle systems of a medal gained (+ grade) and lost.
    static constexpr int kMedalGainedParticle = 9;
    static constexpr int kMedalLostParticle = 97;

    // The menu of a scene's HUD (the scene hook's factory): made and initialised on the scene for
    // the level, which must outlive it.
    [[nodiscard]] static std::unique_ptr<HudMenu> Make(PlayServices& services, QuollWidget& scene, const Level* level);

    explicit FastMenu(PlayServices& services);
    ~FastMenu() override;
    FastMenu(const FastMenu&) = delete;
    FastMenu& operator=(const FastMenu&) = delete;

    // Makes the buttons on the scene, lays them out and hides the menu. level: the level whose
    // medal rule grades the goal (null: no goal).
    void Init(QuollWidget* scene, const Level* level);
    void Layout();
    void SetMenuState(int state);

    // --- HudMenu ---
    void SetLevelParams(const LevelParams& params) override;
    void FlashStepBack() override { mPulse = 0; }
    void SetStepBackCount(int count, bool enabled) override;
    // The step-back button shows; the tab starts above the screen and comes down.
    void Show() override;
    void Hide() override;
    void MouseMove(int x, int y) override;
    // Opening, open or closing with the pointer over it: the scene ignores board clicks.
    [[nodiscard]] bool IsActive() const override;
    void Update(float dt) override;
    void Draw(Graphics* g) override;
    // Forgets the buttons, which the scene deletes.
    void Detach() override;

    // --- ButtonListener ---
    void ButtonRelease(int id) override;

    [[nodiscard]] int GetMenuState() const { return mMenuState; }
    [[nodiscard]] int GetPanelX() const { return mPanelX; }
    [[nodiscard]] int GetPanelY() const { return mPanelY; }
    [[nodiscard]] int GetPanelWidth() const { return mPanelWidth; }
    [[nodiscard]] int GetPanelHeight() const { return mPanelHeight; }
    [[nodiscard]] float GetSlide() const { return mSlide; }
    [[nodiscard]] Button* GetButton(int command) const;
    [[nodiscard]] int GetStepBacks() const { return mStepBacks; }
    [[nodiscard]] int GetTabX() const { return mTabX; }
    [[nodiscard]] float GetPulse() const { return mPulse; }
    [[nodiscard]] Image* GetGoalIcon() const { return mGoalIcon; }
    [[nodiscard]] Image* GetBigMedalIcon() const { return mBigMedalIcon; }
    [[nodiscard]] Image* GetSmallMedalIcon() const { return mSmallMedalIcon; }
    [[nodiscard]] Image* GetMovingMedalIcon() const { return mMovingMedalIcon; }
    [[nodiscard]] int GetMovingX() const { return mMovingX; }
    [[nodiscard]] int GetMedalGrade() const { return mMedalGrade; }
    [[nodiscard]] int GetShownGrade() const { return mShownGrade; }
    [[nodiscard]] const std::wstring& GetCountText() const { return mCountText; }
    [[nodiscard]] const std::wstring& GetThresholdText() const { return mThresholdText; }
    [[nodiscard]] const std::wstring& GetTitleText() const { return mTitleText; }
    [[nodiscard]] const Color& GetGoalColour() const { return mGoalColour; }
    [[nodiscard]] const HintArea& GetGoalHint() const { return mGoalHint; }
    // The icon of a medal grade (0 bronze, 1 silver, 2 gold).
    [[nodiscard]] Image* MedalIcon(int grade) const;

private:
    [[nodiscard]] Button* MakeButton(int id, const std::string& labelKey, const char* normal, const char* over);
    void RefreshSoundIcon();
    void RefreshSoundHint();
    void UpdateMedalIcons(int oldGrade, int oldShown);
    void UpdateTab(float dt);
    void UpdateMedalAnimation(float dt);
    void UpdateSlide(float dt);
    void PlaceBySlide();
    void ShowMenuButtons(bool show);
    [[nodiscard]] bool IsPulsing() const;
    [[nodiscard]] int TabWidth() const;
    void DrawGoal(Graphics* g);
    void DrawTitle(Graphics* g);
    void DrawTab(Graphics* g);
    [[nodiscard]] Image* Named(const char* name) const;

    PlayServices& mServices;
    QuollWidget* mScene = nullptr;
    const Level* mLevel = nullptr;
    int mMenuState = kUninitialised;
    Button* mMainMenuButton = nullptr;
    Button* mRestartButton = nullptr;
    Button* mSoundButton = nullptr;
    Button* mStepBackButton = nullptr;
    int mPanelX = 0;
    int mPanelY = 0;
    int mPanelWidth = 0;
    int mPanelHeight = 0;

    Image* mGoalIcon = nullptr;
    std::wstring mCountText;
    std::wstring mThresholdText;
    int mThresholdOffset = 0;
    Color mGoalColour;
    std::wstring mTitleText;

    int mMedalGrade = -1;
    int mShownGrade = -1;
    int mPendingParticle = 0;
    Image* mBigMedalIcon = nullptr;
    Image* mSmallMedalIcon = nullptr;
    Image* mMovingMedalIcon = nullptr;
    float mMedalTime = 0;
    bool mLost = false;
    int mMovingX = 0;

    bool mHovered = false;
    float mSlide = 0;
    int mTabX = 0;
    int mTabY = 0;
    int mStepBacks = 0;
    bool mStepBackEnabled = false;
    float mTabSlide = 0;
    float mPulse = 0;
    HintArea mGoalHint;
};
} // namespace Quoll

#pragma once
// Tutorial: the play screen's tutorial overlay. For the level's current round it shows the
// script's step: a panel with the step's text, a pointer swinging towards the target (a board
// cell, the boss's portrait or a point of the screen), a pulsing glow on a target cell and, on
// cell steps, a close button (command 200 through the scene's link). While a step shows it
// filters the presses on the board: only the expected cell (or the portrait) goes through to the
// game and moves the tutorial on; a press on a point step only moves it on; any other press
// bursts, sounds and makes the pointer swing faster for a second.
//
// It tells the script which step is on screen (TutorialSteps::SetActiveStep) and finds the boss's
// portrait through the scene's HUD whenever it needs it, since a rebuilt HUD has new avatars.
//
// While it lives it holds its own resource group (the panel, the pointer and the miss sound);
// the glow's cell strip, the close button's pictures and the font belong to resident groups.
// When the group does not load (the application reports that) the tutorial goes on and draws
// without the pictures it lacks.
#include "framework/app/ButtonListener.h"
#include "framework/display/Rect.h"
#include "game/play/SceneHooks.h"

#include <functional>
#include <memory>
#include <string>

class PlayServices;
class TutorialSteps;
struct TutorialStep;

namespace Quoll
{
class Button;
class Image;
} // namespace Quoll

class Tutorial : public SceneTutorial, public Quoll::ButtonListener
{
public:
    static constexpr int kCloseButtonId = 200;
    static constexpr int kMissParticle = 96;
    static constexpr const char* kResourceGroup = "Tutorial";
    // Pixels the panel grows upwards (and twice that taller) for the longer German texts.
    static constexpr int kGermanPanelOffset = 25;
    // The text's box inside the panel.
    static constexpr int kTextLeft = 28;
    static constexpr int kTextTop = 51;
    static constexpr int kTextWidth = 355;
    static constexpr int kTextHeight = 140;
    // Swing speeds of the pointer (radians per second), and how long a miss makes it fast.
    static constexpr float kSwingSpeed = 7.0f;
    static constexpr float kFastSwingSpeed = 15.0f;
    static constexpr float kMissBlinkTime = 1.0f;
    static constexpr float kFadeRate = 3.0f;
    // The pointer stops this far short of the target (beyond half its width) and swings this far.
    static constexpr float kPointerGap = 34.0f;
    static constexpr float kSwingLength = 40.0f;
    // The close button's place on the panel and its size.
    static constexpr int kCloseX = 341;
    static constexpr int kCloseY = 20;
    static constexpr int kCloseSize = 40;

    Tutorial(PlayServices& services, TutorialSteps& steps);
    ~Tutorial() override;
    Tutorial(const Tutorial&) = delete;
    Tutorial& operator=(const Tutorial&) = delete;

    // --- SceneTutorial ---
    void Start(GameScene& scene, BoardView& boardView, int level) override;
    void Advance(int round, bool skipToLast) override;
    void Update(float dt) override;
    void Draw(Quoll::Graphics* g) override;
    [[nodiscard]] bool OnBoardClick(int x, int y) override;
    [[nodiscard]] bool IsShowingStep() const override { return mStep != nullptr; }
    void SetBossPortrait(HudAvatar* portrait) override { mHasBossPortrait = portrait != nullptr; }

    // --- Quoll::ButtonListener ---
    void ButtonRelease(int id) override;

    // --- Reading ---
    [[nodiscard]] int GetCurrentStep() const { return mStepIndex; }
    // Where the shown step points: its cell's centre, else its screen point.
    [[nodiscard]] FloatPoint GetTargetPoint() const { return {mEndX, mEndY}; }
    [[nodiscard]] int GetLanguageOffset() const { return mLanguageOffset; }
    [[nodiscard]] Quoll::Button* GetCloseButton() const { return mCloseButton; }
    [[nodiscard]] float GetPhase() const { return mPhase; }
    [[nodiscard]] float GetBlinkTimer() const { return mBlinkTimer; }
    [[nodiscard]] float GetFade() const { return mFade; }
    [[nodiscard]] int GetPointerX() const { return mPointerX; }
    [[nodiscard]] int GetPointerY() const { return mPointerY; }
    [[nodiscard]] int GetHighlightX() const { return mHighlightX; }
    [[nodiscard]] int GetHighlightY() const { return mHighlightY; }
    [[nodiscard]] const std::wstring& GetText() const { return mText; }

private:
    // The step of the round after the current one (any of the round with none current).
    void SelectStep(int round, bool skipToLast);
    void ShowStep();
    void AimPointer();
    void UpdateCloseButton();
    void RemoveCloseButton();
    // The boss's portrait on the scene's HUD; null when this is no boss level.
    [[nodiscard]] HudAvatar* FindBossPortrait() const;
    [[nodiscard]] Quoll::Image* Named(const char* name) const;
    [[nodiscard]] Quoll::Rect TextRect() const;

    PlayServices& mServices;
    TutorialSteps& mSteps;
    GameScene* mScene = nullptr;
    BoardView* mBoardView = nullptr;
    int mLevel = -1;
    int mStepIndex = -1;
    // The shown step; null for none.
    const TutorialStep* mStep = nullptr;
    bool mHasBossPortrait = false;
    int mLanguageOffset = 0;
    int mPanelX = 0;
    int mPanelY = 0;
    int mPointerX = 0;
    int mPointerY = 0;
    int mShadowOffset = 5;
    float mFade = 0;
    // Top-left corner of the glowing cell; x 0 or less: no glow.
    int mHighlightX = 0;
    int mHighlightY = 0;
    float mStartX = 0;
    float mStartY = 0;
    float mEndX = 0;
    float mEndY = 0;
    float mAngle = 0;
    float mPhase = 0;
    float mBlinkTimer = 0;
    std::wstring mText;
    int mTextTop = kTextTop;
    Quoll::Button* mCloseButton = nullptr;
    // Whether the constructor loaded the group, which the destructor then frees.
    bool mGroupLoaded = false;
};

// The scene hook that makes the tutorial of a level: null for a level without steps.
[[nodiscard]] std::function<std::unique_ptr<SceneTutorial>(int level)> MakeTutorialHook(PlayServices& services,
                                                                                         TutorialSteps& steps);

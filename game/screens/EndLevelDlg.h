#pragma once
// EndLevelDlg: the dialog over the play screen when a level ends. After a win it counts the
// capture, fast-game and square lines up one after another (ticking), then shows the total, the
// medal growing in with a burst, a high-score line for a new best and, when started, fireworks
// in front of it; after a loss it shows the failure text and the winning opponent's avatar.
// Continue sends 0 (also Enter, and Escape once the count-up is over), restart sends 1.
#include "framework/display/Rect.h"
#include "game/ui/QuollDialog.h"

#include "game/board/LevelParams.h"

#include <array>
#include <cstdint>
#include <string>

namespace Quoll
{
class Button;
class Graphics;
class Image;
} // namespace Quoll

// The level's score block in its memory order (the failure number is the round reached).
struct EndLevelScores
{
    uint32_t failureNumber = 0;
    uint32_t total = 0;
    uint32_t fastGame = 0;
    uint32_t square = 0;
    uint32_t capture = 0;
};

// The score block of a level's parameters.
[[nodiscard]] EndLevelScores ScoresOf(const LevelParams& params);

// The level's result as the play state stores it: the winner (1 the human, 2 or 3 an opponent,
// 0 nobody), won | new best << 8, and the medal grade 0..2.
using EndLevelResult = std::array<int, 3>;

[[nodiscard]] constexpr EndLevelResult MakeEndLevelResult(int winner, bool won, bool newBest,
                                                          int grade)
{
    return {winner, (won ? 1 : 0) | (newBest ? 1 << 8 : 0), grade};
}

// What the dialog asks of the game beyond the widgets' services.
class EndLevelServices
{
public:
    virtual ~EndLevelServices() = default;
    // Wide; empty without a profile.
    [[nodiscard]] virtual std::wstring GetProfileName() = 0;
    // 1..70 on a campaign level, below 0 on a random level.
    [[nodiscard]] virtual int GetCurrentLevel() = 0;
    // The bacteria kind 1..8 of a player on the level.
    [[nodiscard]] virtual int GetPlayerBacteria(int player) = 0;
    // Seconds of the application's last frame.
    [[nodiscard]] virtual float GetFrameTime() = 0;
    virtual void OnAchievementEvent(int event) = 0;
    virtual void SpawnParticleSystem(int id, float x, float y) = 0;
    virtual void KillAllParticles() = 0;
    virtual void DrawParticles(Quoll::Graphics* g) = 0;
};

class EndLevelDlg : public QuollDialog
{
public:
    static constexpr int kDialogId = 1002;
    static constexpr int kCommandContinue = 0;
    static constexpr int kCommandRestart = 1;
    static constexpr int kStageFinishing = 3;
    static constexpr int kStageDone = 4;
    static constexpr int kFireworksSystem = 93;
    static constexpr int kEventGoldMedal = 17;
    static constexpr int kEventOtherMedal = 18;
    // Medal centre in dialog coordinates, without and with the high-score line.
    static constexpr int kMedalX = 260;
    static constexpr int kMedalY = 318;
    static constexpr int kMedalYWithFooter = 355;
    static constexpr int kRestartX = 40;
    static constexpr int kRestartY = 390;

    // The dialog keeps a copy of the scores (the level may be gone before it closes).
    EndLevelDlg(EndLevelServices& services, const EndLevelResult& result,
                const EndLevelScores& scores);

    // Fireworks from now on: five bursts, or for the dialog's whole life when endless.
    void StartFireworks(bool endless);

    void Attach(WidgetLink* link) override;
    void Detach() override;
    void Update() override;
    void Draw(Quoll::Graphics* g) override;
    void Resize(int x, int y, int width, int height) override;
    void KeyDown(int keyCode) override;
    using QuollDialog::MouseDown;
    void MouseDown(int x, int y, int button, int clickCount) override;
    void ButtonRelease(int id) override;

    // Jumps the count-up to its end on the next update; false once it has finished.
    bool SkipCountUp();

    [[nodiscard]] int GetStage() const { return mStage; }
    [[nodiscard]] float GetStageTimer() const { return mStageTimer; }
    [[nodiscard]] float GetStageDuration(int line) const
    {
        return mDurations.at(static_cast<size_t>(line));
    }
    [[nodiscard]] float GetMedalScale() const { return mMedalScale; }
    [[nodiscard]] bool AreFireworksOn() const { return mFireworksOn; }
    [[nodiscard]] int GetBurstsLeft() const { return mBurstsLeft; }
    [[nodiscard]] Quoll::Image* GetAvatar() const { return mAvatar; }
    [[nodiscard]] Quoll::Image* GetMedal() const { return mMedal; }
    [[nodiscard]] const std::wstring& GetBody() const { return mDialogLines; }
    [[nodiscard]] const std::wstring& GetFooter() const { return mDialogFooter; }
    [[nodiscard]] const Quoll::Insets& GetInsets() const { return mContentInsets; }
    [[nodiscard]] Quoll::Button* GetContinueButton() const { return mContinueButton; }
    [[nodiscard]] Quoll::Button* GetRestartButton() const { return mRestartButton; }
    // The medal's centre line: lower when the high-score line shows.
    [[nodiscard]] int GetMedalY() const
    {
        return mDialogFooter.empty() ? kMedalY : kMedalYWithFooter;
    }
    // Where the medal is drawn at its present size; empty without a medal.
    [[nodiscard]] Quoll::Rect MedalRect() const;

private:
    [[nodiscard]] bool IsWon() const { return (mResult[1] & 0xFF) != 0; }
    [[nodiscard]] bool IsNewBest() const { return (mResult[1] >> 8 & 0xFF) != 0; }
    [[nodiscard]] int Grade() const { return mResult[2]; }
    void BuildWon();
    void BuildLost();
    // The body for the count-up at fraction f of the line being counted.
    void ComposeScoreLines(float fraction);
    void Finish();
    void PlayWinSound();
    void StepFireworks(float dt);
    void DrawTextsOverParticles(Quoll::Graphics* g);

    EndLevelServices& mServices;
    EndLevelResult mResult;
    EndLevelScores mScores;
    Quoll::Button* mContinueButton = nullptr;
    Quoll::Button* mRestartButton = nullptr;
    Quoll::Image* mAvatar = nullptr;
    int mStage = kStageDone;
    float mStageTimer = 0;
    std::array<float, 3> mDurations{};
    Quoll::Image* mMedal = nullptr;
    float mMedalScale = 0;
    bool mFireworksOn = false;
    float mNextBurst = 0;
    int mBurstsLeft = 0;
};

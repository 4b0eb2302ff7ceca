#pragma once
// HudAvatar: the portrait of one player in the HUD. It owns the player's Avatar and moves,
// scales and re-expresses it by display state: idle in the player's corner on a slow
// figure-of-eight, coming forward toward the screen centre when the player is to move, falling
// off the screen when eliminated, frozen while player 1 selects, pulsing red when targeted,
// shaking under the boss's hits, and celebrating as the winner. It also shows a mark when its
// player cannot move and, for the boss, the tube gauge of its hit points.
#include "game/scene/Sprite.h"
#include "game/scene/VisualNode.h"

class Avatar;
class PlayServices;
class ProbirkaNode;

class HudAvatar : public VisualNode
{
public:
    enum State : int
    {
        Idle = 0,
        ToMove = 1,
        Eliminated = 2,
        Selecting = 3,
        Targeted = 4,
        BossHits = 5,
        Winner = 6,
    };

    // Blend times into idle from "to move" and from any other state.
    static constexpr float kQuickBlend = 0.2f;
    static constexpr float kSlowBlend = 0.5f;
    static constexpr int kBossHitCount = 5;
    // Pixels the avatar of the player to move comes toward the screen centre.
    static constexpr float kForwardDistance = 70.0f;

    explicit HudAvatar(PlayServices& services);

    // Loads the bust of the player's bacteria kind and places it at the player's home corner.
    void Init(int player);
    // Home corners for an avatar of w x h on the application's screen: player 1 bottom left,
    // 2 top right, 3 bottom right, others top left, 20 px from the edges.
    [[nodiscard]] FloatPoint HomePosition(int player, int width, int height) const;
    void ResetToHome();
    // Glides from the current position and scale to the state's over the duration.
    void StartBlend(float duration);
    // Applies the state's entry: wobble period, blend, target scale, offset, expression and the
    // winner's sound. States above 6 are stored and do nothing else.
    void SetState(int state);
    // A blend runs, or the boss hits play.
    [[nodiscard]] bool IsBusy() const;
    void SetNoMovesMark(bool on);
    [[nodiscard]] bool IsBoss() const;
    [[nodiscard]] int GetPlayer() const { return mPlayer; }
    // (trunc(world x), trunc(world y), w, h); all zero without a bust.
    [[nodiscard]] Quoll::Rect GetScreenRect() const;
    // Inside the screen rectangle, right and bottom edges excluded.
    [[nodiscard]] bool HitTest(int x, int y) const;
    // The boss's hit-point tube, a child of this avatar's parent (the HUD); needs a parent.
    void CreateBossGauge();
    // Fills the gauge; an eliminated boss whose hit points rise comes back to idle.
    void SetBossHitPoints(int hitPoints);
    void SetTargeted(bool on);
    // Five hits spread over the duration, then idle.
    void StartBossHits(float duration);
    void PlayDieEffect();
    // The figure-of-eight at fraction u of its period with the amplitudes.
    [[nodiscard]] static FloatPoint Wobble(float u, float amplitudeX, float amplitudeY);
    // From the home's centre toward the screen centre, `distance` long (zero at the centre).
    [[nodiscard]] FloatPoint TowardCentre(float distance) const;

    void Update(float dt) override;
    void Draw(Quoll::Graphics* g) override;
    // Blends from the blend start toward the point while a blend runs.
    void SetPosition(const FloatPoint& position) override;

    [[nodiscard]] int GetState() const { return mState; }
    [[nodiscard]] Avatar* GetAvatar() const { return mAvatar; }
    [[nodiscard]] const FloatPoint& GetHome() const { return mHome; }
    [[nodiscard]] float GetScale() const { return mScale; }
    [[nodiscard]] float GetTargetScale() const { return mTargetScale; }
    [[nodiscard]] float GetBlendRemaining() const { return mBlendRemaining; }
    [[nodiscard]] float GetBlendDuration() const { return mBlendDuration; }
    [[nodiscard]] bool HasNoMovesMark() const { return mNoMovesMark; }
    [[nodiscard]] int GetMarkAlpha() const { return mMarkAlpha; }
    [[nodiscard]] int GetHitsLeft() const { return mHitsLeft; }
    [[nodiscard]] ProbirkaNode* GetBossGauge() const { return mBossGauge; }

private:
    void PlayBossHit();
    void Enter(float wobblePeriod, float blend, float scale);
    void UpdatePosition(float dt);
    // The avatar's size; zero without a bust.
    [[nodiscard]] int Width() const;
    [[nodiscard]] int Height() const;

    PlayServices& mServices;
    Avatar* mAvatar;
    FloatPoint mHome;
    float mWobbleTimer = 0;
    float mWobblePeriod = 0;
    int mPlayer = -1;
    int mState = Idle;
    FloatPoint mStateOffset;
    FloatPoint mBlendStart;
    float mBlendRemaining = -1.0f;
    float mBlendDuration = 1.0f;
    float mTargetScale = 1.0f;
    float mStartScale = 1.0f;
    float mScale = 1.0f;
    bool mNoMovesMark = false;
    float mMarkFlash = 0;
    int mMarkAlpha = 255;
    Sprite mCellIcon;
    ProbirkaNode* mBossGauge = nullptr;
    int mHitsLeft = 0;
    int mHitParticle = 0;
    float mHitTimer = 0;
    float mHitInterval = 0;
};

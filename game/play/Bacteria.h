#pragma once
// Bacteria: a player's bacterium on the board. It is born, rests and wanders on its cell, reacts
// to the pointer, slides to another cell when it moves, bounces when it clones, and pops and is
// born again in the capturer's colours when it is captured. Its cell view owns it; its node
// parent is the units' layer of the board view. Its kind is not stored: it is the kind of its
// player on the current level.
#include "game/play/BacFace.h"
#include "game/play/BaseUnit.h"

class AnimSprite;

// The body image of a player's bacteria (its kind's body, the first body when missing).
[[nodiscard]] Quoll::Image* GetBodyImageForPlayer(PlayServices& services, int player);

class Bacteria : public BaseUnit
{
public:
    enum State : int
    {
        Born = 0,
        Idle = 1,
        Move = 2,
        Bounce = 3,
        Frozen = 4,
        Capture = 5,
        Captured = 6,
        Dead = 7,
        Burst = 8,
    };
    // Idle behaviours: drifting, resting, fleeing the pointer, looking at it, selected.
    enum Behaviour : int
    {
        Drift = 0,
        Rest = 1,
        Flee = 2,
        Look = 3,
        Selected = 4,
    };

    // Seconds of a move and of a bounce.
    static constexpr float kMoveTime = 0.5f;
    static constexpr float kBounceTime = 0.2f;
    // The clone's appearance delay that a bounce asks for.
    static constexpr float kCloneDelay = 0.1f;
    static constexpr float kDriftRadius = 10.0f;

    explicit Bacteria(PlayServices& services);
    // Clears the selection when this is the selected bacterium.
    ~Bacteria() override;

    void Update(float dt) override;
    void Draw(Quoll::Graphics* g) override;
    void OnStateChanged() override;

    // Attach, then born on the next update after the delay.
    virtual void AttachWithDelay(int player, int layer, float delay);
    // A new bacterium of the same player in the units' layer, without delay.
    [[nodiscard]] static Bacteria* CloneOf(const Bacteria& bacterium);

    // Slides from the source position (the unit already stands at its target) in 0.5 s.
    void StartMove(const FloatPoint& source);
    // Returns the delay the clone waits before it appears.
    float StartBounce();
    // Pops after the time (plus up to 0.15 s; a negative time waits exactly its absolute value)
    // and is born again in the capturer's player, or dies without capturer (null).
    void StartCapture(const Bacteria* capturer, float time);

    [[nodiscard]] FloatPoint GetBodyCentre() const;
    [[nodiscard]] FloatPoint GetDrawPosition() const;
    [[nodiscard]] int GetKind() const;

    [[nodiscard]] float GetDelay() const { return mDelay; }
    [[nodiscard]] const FloatPoint& GetOffset() const { return mOffset; }
    [[nodiscard]] int GetBehaviour() const { return mBehaviour; }
    [[nodiscard]] int GetCapturerPlayer() const { return mCapturerPlayer; }
    [[nodiscard]] const BacFace& GetFace() const { return mFace; }
    [[nodiscard]] AnimSprite* GetAnimSprite() const;

private:
    [[nodiscard]] Quoll::Image* BodyImageForState(int state);
    void UpdateBorn();
    void UpdateMove(float dt);
    void UpdateBounce(float dt);
    void UpdateCapture();
    void UpdateCaptured();
    void UpdateIdle(float dt);
    void SetBehaviour(int mode);
    void NewDriftDirection();
    // Moves the offset by step and clamps it to the radius; true when the clamp acted.
    bool StepOffset(float stepX, float stepY, float radius);
    void PlayIfInLayer(const char* sound);

    float mDelay = 0;
    BacFace mFace;
    float mStateTime = 0;
    FloatPoint mFrom;
    FloatPoint mDrift;
    FloatPoint mOffset;
    float mDriftRadius = kDriftRadius;
    int mBehaviour = Drift;
    // The player a capture hands the unit to; 0 when it dies.
    int mCapturerPlayer = 0;
};

#pragma once
// BacFace: the face of a bacterium on the board: its face strip shows the expression steps of
// its emotion scheduler, and its pupils follow the pointer.
#include "framework/display/Color.h"
#include "game/play/BacteriaEmoTarget.h"
#include "game/play/EmotionScheduler.h"
#include "game/scene/AnimSprite.h"
#include "game/scene/FloatPoint.h"

namespace Quoll
{
class Graphics;
}
class PlayServices;

class BacFace
{
public:
    explicit BacFace(PlayServices& services);
    BacFace(const BacFace&) = delete;
    BacFace& operator=(const BacFace&) = delete;
    virtual ~BacFace() = default;

    // The bacteria kind whose face is shown; the neutral expression is requested.
    void SetKind(int kind);
    // Orders an expression for a time; urgent drops the queued steps first.
    void Say(int value, float time, bool urgent) { mScheduler.Say(value, time, urgent); }
    void Update(float dt);
    // At the body's drawing position in the colour, the pupils looking towards (lookX, lookY).
    // Nothing for a kind outside 1..8.
    void Draw(Quoll::Graphics* g, const Quoll::Color& colour, float x, float y, float lookX, float lookY);

    // Where the pupils are drawn relative to the eye background's top-left corner E, for a
    // kind's pupil radius (rx, ry): towards the pointer at full radius between 50 and 250 px from
    // the eyes' centre, easing to rest at the centre and beyond 300 px.
    [[nodiscard]] static FloatPoint PupilOffset(float radiusX, float radiusY, float vx, float vy);

    [[nodiscard]] int GetKind() const { return mKind; }
    // The expression last asked for.
    [[nodiscard]] int GetEmotion() const { return mScheduler.GetRequestedValue(); }
    [[nodiscard]] const EmotionScheduler& GetScheduler() const { return mScheduler; }
    [[nodiscard]] const AnimSprite& GetSprite() const { return mSprite; }

private:
    PlayServices& mServices;
    BacteriaEmoTarget mTarget;
    EmotionScheduler mScheduler;
    int mKind = 0;
    AnimSprite mSprite;
};

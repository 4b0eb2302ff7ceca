#pragma once
// SpotEffect: the intro's spotlight. The whole screen darkens except a round hole that moves and
// changes size; the hole is the spot image stretched black, the rest four black bands around it.
// Each move interpolates position, size and darkness linearly from the last target.
#include "framework/display/Rect.h"
#include "game/scene/FloatPoint.h"

namespace Quoll
{
class Graphics;
class Image;
} // namespace Quoll
class SceneServices;

class SpotEffect
{
public:
    enum class State
    {
        Idle,
        Moving,
        Arrived,
    };

    // The hole's size after SetFullSize: larger than the screen.
    static constexpr float kFullSize = 1200.0f;

    explicit SpotEffect(SceneServices& services);

    // Moves the hole's centre to (x, y) and its size to width x height over the duration, the
    // darkness to alpha (0..1).
    void Start(float x, float y, float duration, float width, float height, float alpha);
    // Back to the screen's centre at the remembered size, the darkness fading out.
    void MoveToCentre(float duration);
    void SetFullSize();
    void Update(float dt);
    void Draw(Quoll::Graphics* g) const;

    [[nodiscard]] State GetState() const { return mState; }
    // The current darkness, 0..255; 0 draws nothing.
    [[nodiscard]] int GetAlpha() const { return mAlpha; }
    // Where the spot image is drawn.
    [[nodiscard]] Quoll::Rect GetHoleRect() const { return mHole; }

private:
    // The spot image's size; 1 x 1 without the image, so that scales are the size itself.
    [[nodiscard]] float ImageWidth() const;
    [[nodiscard]] float ImageHeight() const;

    SceneServices& mServices;
    Quoll::Image* mImage = nullptr;
    State mState = State::Idle;
    FloatPoint mStartPos, mTargetPos;
    FloatPoint mStartScale, mTargetScale;
    float mStartAlpha = 0;
    float mTargetAlpha = 0;
    float mElapsed = 0;
    float mDuration = 0;
    int mAlpha = 1;
    Quoll::Rect mHole;
    FloatPoint mSize;
};

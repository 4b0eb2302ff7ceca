#pragma once
// AnimClock: plays a frame animation in milliseconds. Time advances only while playing, by
// trunc(speed * dt * 1000) per update (so a float step of 0.01 s adds 9 ms); a clock with a length
// stops by itself at the end and rests there. Without a bound animation it reports a fixed frame.
#include <cstdint>

class FrameAnimation;

class AnimClock
{
public:
    // Stops and rewinds, then binds the animation (null unbinds it). Not owned.
    void SetAnimation(const FrameAnimation* animation);
    // Plays `loops` passes, or endlessly for loops <= 0; nothing without a non-empty animation.
    // The elapsed time is kept.
    void Play(int loops);
    // Stops and rewinds.
    void Reset();
    // Rewinds; playing stays as it is.
    void Rewind();
    // Moves to a fraction of one pass.
    void SeekFraction(float fraction);
    void Update(float dt);

    // elapsed / length; 0 for an endless clock.
    [[nodiscard]] float GetProgress() const;
    // The animation's cel at the elapsed time; the static frame when none is bound.
    [[nodiscard]] int GetFrame() const;

    [[nodiscard]] bool IsPlaying() const { return mPlaying; }
    [[nodiscard]] uint32_t GetElapsed() const { return mElapsed; }
    // 0: endless.
    [[nodiscard]] uint32_t GetLength() const { return mLength; }
    [[nodiscard]] const FrameAnimation* GetAnimation() const { return mAnimation; }

    // The frame reported while no animation is bound (a still cel chosen by the owner).
    int mStaticFrame = 0;
    // Time factor.
    float mSpeed = 1.0f;

private:
    bool mPlaying = false;
    uint32_t mElapsed = 0;
    uint32_t mLength = 0;
    const FrameAnimation* mAnimation = nullptr;
};

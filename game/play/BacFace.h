#pragma once
// BacFace: the eyes and expressions of a bacterium. This stand-in keeps the operations the units
// call and what they last asked for, and draws nothing; the avatars' face replaces it.
#include "framework/display/Color.h"

namespace Quoll
{
class Graphics;
}

class BacFace
{
public:
    // The bacteria kind whose face is shown; the expression restarts from the neutral one.
    void SetKind(int kind)
    {
        mKind = kind;
        Say(0, 0, false);
    }
    // Orders an expression for a time; urgent drops the queued ones first.
    void Say(int emotion, float time, bool urgent)
    {
        mEmotion = emotion;
        mTime = time;
        mUrgent = urgent;
        ++mSaid;
    }
    void Update(float /*dt*/) {}
    // At the body's drawing position, looking towards (lookX, lookY).
    void Draw(Quoll::Graphics* /*g*/, const Quoll::Color& /*colour*/, float /*x*/, float /*y*/, float /*lookX*/,
              float /*lookY*/)
    {
    }

    [[nodiscard]] int GetKind() const { return mKind; }
    [[nodiscard]] int GetEmotion() const { return mEmotion; }
    [[nodiscard]] float GetTime() const { return mTime; }
    [[nodiscard]] bool WasUrgent() const { return mUrgent; }
    [[nodiscard]] int GetSaidCount() const { return mSaid; }

private:
    int mKind = 0;
    int mEmotion = 0;
    float mTime = 0;
    bool mUrgent = false;
    int mSaid = 0;
};

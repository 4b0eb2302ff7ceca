#include "game/scene/AnimClock.h"

#include "game/scene/FrameAnimation.h"
#include "game/scene/Truncate.h"

#include <algorithm>
#include <limits>

void AnimClock::SetAnimation(const FrameAnimation* animation)
{
    Reset();
    mAnimation = animation;
}

void AnimClock::Play(int loops)
{
    if (mAnimation == nullptr || mAnimation->GetFrameCount() == 0)
        return;
    const uint64_t length = loops > 0 ? static_cast<uint64_t>(mAnimation->GetDuration()) * static_cast<uint64_t>(loops) : 0;
    mLength = static_cast<uint32_t>(std::min<uint64_t>(length, std::numeric_limits<uint32_t>::max()));
    mPlaying = true;
}

void AnimClock::Reset()
{
    mPlaying = false;
    mElapsed = 0;
}

void AnimClock::Rewind()
{
    mElapsed = 0;
}

void AnimClock::SeekFraction(float fraction)
{
    if (mAnimation == nullptr)
    {
        mElapsed = 0;
        return;
    }
    mElapsed = TruncToUnsigned(static_cast<float>(mAnimation->GetDuration()) * fraction);
}

void AnimClock::Update(float dt)
{
    if (!mPlaying)
        return;
    // The step is rounded to float before it becomes milliseconds: 0.01f * 1000 truncates to 9.
    const float step = mSpeed * dt;
    mElapsed += static_cast<uint32_t>(TruncToInt(static_cast<double>(step) * 1000.0));
    if (mLength != 0 && mElapsed > mLength)
    {
        mPlaying = false;
        mElapsed = mLength;
    }
}

float AnimClock::GetProgress() const
{
    if (mLength == 0)
        return 0.0f;
    return static_cast<float>(mElapsed) / static_cast<float>(mLength);
}

int AnimClock::GetFrame() const
{
    if (mAnimation == nullptr)
        return mStaticFrame;
    return static_cast<int>(mAnimation->GetFrameAt(mElapsed));
}

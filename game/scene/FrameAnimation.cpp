#include "game/scene/FrameAnimation.h"

#include <algorithm>
#include <cassert>
#include <limits>

namespace
{
uint32_t Saturate(uint64_t value)
{
    return static_cast<uint32_t>(std::min<uint64_t>(value, std::numeric_limits<uint32_t>::max()));
}
} // namespace

void FrameAnimation::Init(uint32_t defaultDelay, uint32_t count, bool pingPong)
{
    mFrameCount = count;
    mDefaultDelay = defaultDelay;
    mDuration = 0;
    if (!pingPong)
        return;
    // Forth and back: the two ends are shown once per pass.
    mFrameCount = count >= 2 ? 2 * count - 2 : 0;
    mSteps.resize(mFrameCount, 0);
    if (mFrameCount <= 2)
        return;
    for (uint32_t i = 0; i < count; ++i)
        mSteps[i] = i;
    for (uint32_t i = count; i < mFrameCount; ++i)
        mSteps[i] = 2 * count - 2 - i;
}

void FrameAnimation::SetFrameIndex(uint32_t step, uint32_t cel)
{
    assert(step < kMaxFrames && "FrameAnimation::SetFrameIndex: step beyond the longest pass");
    if (mSteps.size() <= step)
        mSteps.resize(static_cast<size_t>(step) + 1, 0);
    mSteps[step] = cel;
}

void FrameAnimation::SetDelay(uint32_t step, uint32_t ms)
{
    assert(step < kMaxFrames && "FrameAnimation::SetDelay: step beyond the longest pass");
    if (mDelays.size() <= step)
        mDelays.resize(static_cast<size_t>(step) + 1, mDefaultDelay);
    mDelays[step] = ms;
    mDuration = 0;
}

uint32_t FrameAnimation::ComputeDuration() const
{
    if (mDelays.empty())
        return Saturate(static_cast<uint64_t>(mFrameCount) * mDefaultDelay);
    uint64_t sum = 0;
    for (uint32_t delay : mDelays)
        sum += delay;
    return Saturate(sum);
}

uint32_t FrameAnimation::GetDuration() const
{
    if (mDuration == 0)
        mDuration = ComputeDuration();
    return mDuration;
}

uint32_t FrameAnimation::GetFrameAt(uint32_t elapsed) const
{
    const uint32_t duration = GetDuration();
    if (duration == 0 || mFrameCount == 0)
        return 0;
    // The very end of a pass is not wrapped: it shows the last step.
    uint32_t t = elapsed > duration ? elapsed % duration : elapsed;
    if (mDelays.empty())
        return MapStep(t / mDefaultDelay);
    // The step is the first whose end lies beyond t.
    for (size_t i = 0; i < mDelays.size(); ++i)
    {
        t -= mDelays[i];
        if (static_cast<int32_t>(t) < 0)
            return MapStep(static_cast<uint32_t>(i));
    }
    return MapStep(mFrameCount - 1);
}

uint32_t FrameAnimation::MapStep(uint32_t step) const
{
    const uint32_t s = step < mFrameCount ? step : mFrameCount - 1;
    return s < mSteps.size() ? mSteps[s] : s;
}

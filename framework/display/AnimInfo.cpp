#include "framework/display/AnimInfo.h"

#include <cstddef>
#include <numeric>

namespace Quoll
{
void AnimInfo::SetPerFrameDelay(int index, int delay)
{
    if (index < 0)
        return;
    if (static_cast<int>(mPerFrameDelay.size()) < index + 1)
        mPerFrameDelay.resize(static_cast<size_t>(index) + 1, 0);
    mPerFrameDelay[static_cast<size_t>(index)] = delay;
}

void AnimInfo::Compute(int numCels, int beginDelay, int endDelay)
{
    // 1. Sane counts.
    mNumCels = numCels > 0 ? numCels : 1;
    if (mFrameDelay < 1)
        mFrameDelay = 1;

    // 2. Ping-pong runs forwards then back without repeating the end cels.
    if (mAnimType == AnimType::PingPong && mNumCels >= 2)
    {
        mFrameMap.resize(static_cast<size_t>(2 * mNumCels - 2));
        for (int i = 0; i < mNumCels; ++i)
            mFrameMap[static_cast<size_t>(i)] = i;
        for (int i = mNumCels - 2, at = mNumCels; i >= 1; --i, ++at)
            mFrameMap[static_cast<size_t>(at)] = i;
    }

    // 3. With a frame map the frames, not the cels, are counted.
    if (!mFrameMap.empty())
        mNumCels = static_cast<int>(mFrameMap.size());

    // 4. Begin and end delays replace the delay of the first and last frame.
    if (beginDelay > 0)
        SetPerFrameDelay(0, beginDelay);
    if (endDelay > 0)
        SetPerFrameDelay(mNumCels - 1, endDelay);

    // 5. Total time.
    if (mPerFrameDelay.empty())
    {
        mTotalTime = mNumCels * mFrameDelay;
    }
    else
    {
        mPerFrameDelay.resize(static_cast<size_t>(mNumCels), 0);
        for (int& delay : mPerFrameDelay)
            if (delay < 1)
                delay = mFrameDelay;
        mTotalTime = std::accumulate(mPerFrameDelay.begin(), mPerFrameDelay.end(), 0);
    }

    if (!mFrameMap.empty())
        mFrameMap.resize(static_cast<size_t>(mNumCels));
}
} // namespace Quoll

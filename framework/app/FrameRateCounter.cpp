#include "framework/app/FrameRateCounter.h"

namespace Quoll
{
bool FrameRateCounter::Frame(uint32_t now)
{
    ++mFrames;
    const uint32_t elapsed = now - mStart;
    if (elapsed < 1000 && !mReset)
        return false;
    mRate = mReset ? 0 : int(mFrames * 1000.0 / elapsed + 0.5);
    mReset = false;
    mStart = now;
    mFrames = 0;
    return true;
}
} // namespace Quoll

#include "framework/core/HiResTimer.h"

#include "framework/platform/system/Clock.h"

namespace Quoll
{
void HiResTimer::Start()
{
    mRunning = true;
    mStart = Platform::PerformanceCounter();
}

void HiResTimer::Stop()
{
    if (!mRunning)
        return;
    UpdateDuration();
    mRunning = false;
}

double HiResTimer::GetDuration()
{
    if (mRunning)
        UpdateDuration();
    return mDuration;
}

void HiResTimer::UpdateDuration()
{
    const int64_t elapsed = Platform::PerformanceCounter() - mStart;
    // Split to keep elapsed * 1000 inside 64 bits for any plausible run.
    const int64_t frequency = Platform::PerformanceFrequency();
    mDuration = static_cast<double>(elapsed / frequency) * 1000.0 +
                static_cast<double>((elapsed % frequency) * 1000) / static_cast<double>(frequency);
}

HiResTimer& GlobalHiResTimer()
{
    static HiResTimer timer;
    return timer;
}
} // namespace Quoll

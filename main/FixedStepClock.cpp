#include "main/FixedStepClock.h"

#include <chrono>

void FixedStepClock::Sleep(uint32_t ms)
{
    if (std::this_thread::get_id() == mMainThread)
        mNanoseconds += uint64_t(ms) * 1'000'000;
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

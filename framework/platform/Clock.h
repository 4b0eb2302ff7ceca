#pragma once
// Clocks of the platform: a millisecond tick that wraps at 2^32, a high-resolution
// performance counter and the processor's time-stamp counter.
#include <cstdint>

namespace Quoll::Platform
{
// Milliseconds since an arbitrary start; wraps at 2^32 like the system tick it replaces.
uint32_t TickCount();
// Monotonic high-resolution counter and its ticks per second (never 0).
int64_t PerformanceCounter();
int64_t PerformanceFrequency();
// The processor's cycle counter where there is one, else the performance counter.
uint64_t TimeStampCounter();
void SleepMilliseconds(uint32_t ms);
} // namespace Quoll::Platform

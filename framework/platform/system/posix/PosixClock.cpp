// The system clock over CLOCK_MONOTONIC (never jumps with the wall clock); the
// time-stamp counter is rdtsc on x86-64. Limits: sleeping has the kernel's timer slack
// (usually 50 us), no 1 ms period has to be requested.
#include "framework/platform/system/Clock.h"

#include <ctime>
#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace Quoll::Platform
{
namespace
{
int64_t MonotonicNanoseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}
} // namespace

uint32_t SystemClock::TickCount()
{
    return static_cast<uint32_t>(static_cast<uint64_t>(MonotonicNanoseconds() / 1'000'000));
}

int64_t SystemClock::PerformanceCounter() { return MonotonicNanoseconds(); }

int64_t SystemClock::PerformanceFrequency() { return 1'000'000'000; }

uint64_t SystemClock::TimeStampCounter()
{
#if defined(__x86_64__) || defined(__i386__)
    return __rdtsc();
#else
    return static_cast<uint64_t>(MonotonicNanoseconds());
#endif
}

void SystemClock::Sleep(uint32_t ms)
{
    timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1'000'000};
    while (nanosleep(&ts, &ts) != 0)
    {
    }
}
} // namespace Quoll::Platform

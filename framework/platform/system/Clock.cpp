// The fake clock and the switch between clocks behind the free functions.
#include "framework/platform/system/Clock.h"

namespace Quoll::Platform
{
namespace
{
SystemClock gSystemClock;
std::atomic<Clock*> gCurrentClock{&gSystemClock};
} // namespace

uint32_t FakeClock::TickCount() { return static_cast<uint32_t>(mNanoseconds.load() / 1'000'000); }

int64_t FakeClock::PerformanceCounter() { return static_cast<int64_t>(mNanoseconds.load()); }

void FakeClock::Sleep(uint32_t ms)
{
    mSleepCount += 1;
    mSleptMilliseconds += ms;
    AdvanceMilliseconds(ms);
}

void FakeClock::AdvanceMilliseconds(uint32_t ms) { mNanoseconds += uint64_t(ms) * 1'000'000; }

Clock& CurrentClock() { return *gCurrentClock.load(); }

ScopedClock::ScopedClock(Clock& clock) : mPrevious(gCurrentClock.exchange(&clock)) {}

ScopedClock::~ScopedClock() { gCurrentClock.store(mPrevious); }

uint32_t TickCount() { return CurrentClock().TickCount(); }
int64_t PerformanceCounter() { return CurrentClock().PerformanceCounter(); }
int64_t PerformanceFrequency() { return CurrentClock().PerformanceFrequency(); }
uint64_t TimeStampCounter() { return CurrentClock().TimeStampCounter(); }
void SleepMilliseconds(uint32_t ms) { CurrentClock().Sleep(ms); }
} // namespace Quoll::Platform

#pragma once
// Clocks of the platform: a millisecond tick that wraps at 2^32, a high-resolution
// performance counter, the processor's time-stamp counter and sleeping.
//
// The free functions read the current clock: the system clock unless a test has put a
// FakeClock in its place (ScopedClock), so code that times itself can be tested without
// waiting.
#include <atomic>
#include <cstdint>

namespace Quoll::Platform
{
// One source of time. Implementations are thread-safe.
class Clock
{
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps at 2^32 like the system tick it replaces.
    virtual uint32_t TickCount() = 0;
    // Monotonic high-resolution counter and its ticks per second (never 0).
    virtual int64_t PerformanceCounter() = 0;
    virtual int64_t PerformanceFrequency() = 0;
    // The processor's cycle counter where there is one, else the performance counter.
    virtual uint64_t TimeStampCounter() = 0;
    virtual void Sleep(uint32_t ms) = 0;
};

// The monotonic clock of the machine.
class SystemClock final : public Clock
{
public:
    uint32_t TickCount() override;
    int64_t PerformanceCounter() override;
    int64_t PerformanceFrequency() override;
    uint64_t TimeStampCounter() override;
    void Sleep(uint32_t ms) override;
};

// A clock for tests: time stands still until Sleep or Advance moves it, so a sleeping
// caller returns at once having "slept" exactly the time asked for.
class FakeClock final : public Clock
{
public:
    // Counter ticks are nanoseconds, as on the system clock.
    explicit FakeClock(uint64_t startNanoseconds = 0) : mNanoseconds(startNanoseconds) {}

    uint32_t TickCount() override;
    int64_t PerformanceCounter() override;
    int64_t PerformanceFrequency() override { return 1'000'000'000; }
    uint64_t TimeStampCounter() override { return mNanoseconds.load(); }
    void Sleep(uint32_t ms) override;

    void AdvanceMilliseconds(uint32_t ms);
    void AdvanceNanoseconds(uint64_t ns) { mNanoseconds += ns; }
    uint64_t SleepCount() const { return mSleepCount.load(); }
    uint64_t SleptMilliseconds() const { return mSleptMilliseconds.load(); }

private:
    std::atomic<uint64_t> mNanoseconds;
    std::atomic<uint64_t> mSleepCount{0};
    std::atomic<uint64_t> mSleptMilliseconds{0};
};

// The clock the free functions use (the system clock by default).
Clock& CurrentClock();

// Puts a clock in place for its lifetime and restores the previous one afterwards.
class ScopedClock
{
public:
    explicit ScopedClock(Clock& clock);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    Clock* mPrevious;
};

uint32_t TickCount();
int64_t PerformanceCounter();
int64_t PerformanceFrequency();
uint64_t TimeStampCounter();
void SleepMilliseconds(uint32_t ms);
} // namespace Quoll::Platform

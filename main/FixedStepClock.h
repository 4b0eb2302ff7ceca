#pragma once
// The clock of a scripted run: time stands at a fixed start and moves only when the main thread
// sleeps, so every update lasts exactly the game's step, input scripted at a time lands in the
// same update on every run, and the random seed (the start tick) is the same. Other threads
// (loader, cursor, sound) sleep for real without moving the time.
#include "framework/platform/system/Clock.h"

#include <thread>

class FixedStepClock final : public Quoll::Platform::Clock
{
public:
    static constexpr uint64_t kStartMilliseconds = 100000;

    FixedStepClock() : mMainThread(std::this_thread::get_id()) {}

    uint32_t TickCount() override { return uint32_t(mNanoseconds.load() / 1'000'000); }
    int64_t PerformanceCounter() override { return int64_t(mNanoseconds.load()); }
    int64_t PerformanceFrequency() override { return 1'000'000'000; }
    uint64_t TimeStampCounter() override { return mNanoseconds.load(); }
    void Sleep(uint32_t ms) override;

private:
    std::thread::id mMainThread;
    std::atomic<uint64_t> mNanoseconds{kStartMilliseconds * 1'000'000};
};

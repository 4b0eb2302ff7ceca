#pragma once
// A stopwatch on the platform's performance counter, reporting milliseconds.
#include <cstdint>

namespace Quoll
{
class HiResTimer
{
public:
    void Start();
    void Stop();
    // While running, the time so far (the timer keeps running); else the last duration.
    double GetDuration();

private:
    void UpdateDuration();

    int64_t mStart = 0;
    double mDuration = 0.0;
    bool mRunning = false;
};

// The program-wide timer of the frame-rate overlay.
HiResTimer& GlobalHiResTimer();
} // namespace Quoll

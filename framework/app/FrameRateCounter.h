#pragma once
// Frames per second of the frame-rate overlay, measured over periods of at least a second.
#include <cstdint>

namespace Quoll
{
class FrameRateCounter
{
public:
    // Counts a frame drawn at `now` (milliseconds); true when the rate was measured anew: a
    // second or more since the last measurement, or a reset was asked for (the rate is then 0).
    bool Frame(uint32_t now);
    void Reset() { mReset = true; }
    [[nodiscard]] int Rate() const { return mRate; }

private:
    int mFrames = 0;
    uint32_t mStart = 0;
    int mRate = 0;
    bool mReset = true;
};
} // namespace Quoll

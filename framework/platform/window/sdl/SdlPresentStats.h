#pragma once
// The count of frames shown, kept in the file named by QUOLL_PRESENT_STATS for programs that
// watch the game from outside (the idle benchmark): after each present the file holds the count
// in decimal, padded to a fixed width, so that a reader never sees a half-written number.
#include <cstdint>

namespace Quoll::Platform
{
class SdlPresentStats
{
public:
    // Opens the named file (created or emptied); without the variable nothing is written.
    SdlPresentStats();
    ~SdlPresentStats();
    SdlPresentStats(const SdlPresentStats&) = delete;
    SdlPresentStats& operator=(const SdlPresentStats&) = delete;

    void Counted();

private:
    int mFile = -1;
    uint64_t mCount = 0;
};
} // namespace Quoll::Platform

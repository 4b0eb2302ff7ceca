#include "game/shell/SoundRepeatLimiter.h"

bool SoundRepeatLimiter::TryStart(int soundId, int updateCount)
{
    const auto found = mLastStart.find(soundId);
    // A count that went backwards (a restarted clock) never blocks a sound for long.
    if (found != mLastStart.end() && updateCount >= found->second && updateCount - found->second < kMinUpdates)
        return false;
    mLastStart[soundId] = updateCount;
    return true;
}

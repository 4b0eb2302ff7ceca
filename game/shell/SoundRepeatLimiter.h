#pragma once
// SoundRepeatLimiter: keeps one sound from being restarted on top of itself. A sound id may
// start again only when at least kMinUpdates logic updates passed since its last start. Time
// is counted in updates, never on the wall clock, so that a replayed game plays the same sounds.
#include <unordered_map>

class SoundRepeatLimiter
{
public:
    static constexpr int kMinUpdates = 6;

    // Whether the sound may start at this update; a start that may happen is recorded.
    bool TryStart(int soundId, int updateCount);
    void Reset() { mLastStart.clear(); }

private:
    std::unordered_map<int, int> mLastStart;
};

#pragma once
// RecordingLevelServices: NullLevelServices that keep every sound and achievement event in
// order, for tests that check what a level reported.
#include "game/level/NullLevelServices.h"

#include <algorithm>
#include <vector>

class RecordingLevelServices : public NullLevelServices
{
public:
    struct SoundCall
    {
        LevelSound sound;
        float volume;
    };

    void PlaySound(LevelSound sound, float volume, float /*pan*/) override { mSounds.push_back({sound, volume}); }
    void OnAchievementEvent(int eventId) override { mEvents.push_back(eventId); }
    using LevelServices::OnAchievementEvent;

    [[nodiscard]] const std::vector<int>& GetEvents() const { return mEvents; }
    [[nodiscard]] const std::vector<SoundCall>& GetSounds() const { return mSounds; }
    [[nodiscard]] int CountEvent(int eventId) const
    {
        return static_cast<int>(std::count(mEvents.begin(), mEvents.end(), eventId));
    }
    [[nodiscard]] int CountEvent(AchievementEvent event) const { return CountEvent(static_cast<int>(event)); }
    [[nodiscard]] int CountSound(LevelSound sound) const
    {
        return static_cast<int>(std::count_if(mSounds.begin(), mSounds.end(),
                                              [sound](const SoundCall& call) { return call.sound == sound; }));
    }
    void ClearRecords()
    {
        mEvents.clear();
        mSounds.clear();
    }

private:
    std::vector<int> mEvents;
    std::vector<SoundCall> mSounds;
};

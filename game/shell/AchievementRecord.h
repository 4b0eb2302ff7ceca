#pragma once
// AchievementRecord: a profile's achievements: which of the 40 are earned, the newly earned ones
// in the order they were earned (until the player has looked at them), and a counter per game
// event. It is stored inside the profile's file; the AchievementManager works on the current
// profile's record.
//
// Layout inside the profile record (32-bit little-endian integers):
//   int32 40, then 40 bytes: 1 earned, 0 not
//   int32 n (0..40), then n achievement numbers, each earned and listed once: the new ones
//   int32 52, then 52 counters (events 1..52), each 0 or more
#include "framework/core/Buffer.h"
#include "game/shell/AchievementRules.h"

#include <array>
#include <cstdint>
#include <vector>

class RecordReader;

class AchievementRecord
{
public:
    // Counters stop here instead of wrapping.
    static constexpr int32_t kMaxCounter = 1000000000;

    [[nodiscard]] bool IsAchieved(int number) const;
    [[nodiscard]] bool IsNew(int number) const;
    // Earned achievements, newest last, that the player has not yet seen.
    [[nodiscard]] const std::vector<int>& GetNewAchievements() const { return mNew; }
    // Marks the achievement earned and new; false when it already was earned.
    bool Achieve(int number);
    void ClearNew() { mNew.clear(); }

    [[nodiscard]] int32_t GetCounter(int event) const;
    // Counts one event; returns the new count.
    int32_t CountEvent(int event);
    // The counters of the rule's events together.
    [[nodiscard]] int64_t CountFor(const AchievementRule& rule) const;

    void Write(Quoll::Buffer& buffer) const;
    // All or nothing: false, with the record unchanged, on any damage.
    [[nodiscard]] bool Read(RecordReader& reader);

    bool operator==(const AchievementRecord&) const = default;

private:
    std::array<bool, AchievementRules::kAchievementCount> mAchieved{};
    std::vector<int> mNew;
    std::array<int32_t, AchievementRules::kLastEvent> mCounters{};
};

#pragma once
// AchievementRules: the 40 achievements and what earns each. Every achievement counts one game
// event, or a run of consecutive events, over the whole life of a profile; it is earned when the
// events' counters together reach its count. The README's data section lists them.
#include <string>

struct AchievementRule
{
    // The counted events, firstEvent..lastEvent (one event when both are equal).
    int firstEvent;
    int lastEvent;
    // How many such events earn it.
    int count;
};

namespace AchievementRules
{
inline constexpr int kAchievementCount = 40;
// Game events are numbered 1..52.
inline constexpr int kFirstEvent = 1;
inline constexpr int kLastEvent = 52;
// Achievement n's image is the resource id n + 46 ("IMAGE_ACH1".."IMAGE_ACH40").
inline constexpr int kImageIdBase = 46;

[[nodiscard]] constexpr bool IsAchievementNumber(int number) { return number >= 1 && number <= kAchievementCount; }
[[nodiscard]] constexpr bool IsEventId(int event) { return event >= kFirstEvent && event <= kLastEvent; }

// The rule of achievement 1..40.
[[nodiscard]] const AchievementRule& Get(int number);
// The resource id of the achievement's image.
[[nodiscard]] constexpr int GetImageId(int number) { return kImageIdBase + number; }
// The localisation key of its name: "ACH" and the number.
[[nodiscard]] std::string GetNameKey(int number);
} // namespace AchievementRules

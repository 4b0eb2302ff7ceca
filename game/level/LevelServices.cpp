#include "game/level/LevelServices.h"

#include <algorithm>

float ComputeLevelRampValue(int difficulty, int currentLevel, int step, int levelCount)
{
    const bool slow = difficulty == LevelServices::kSlowRampDifficulty;
    const float first = slow ? 5.0f : 3.0f;
    const float last = slow ? 30.0f : 10.0f;
    const float share = levelCount > 0 ? static_cast<float>(currentLevel - step) / static_cast<float>(levelCount) : 0.0f;
    return first + (last - first) * std::max(0.0f, share);
}

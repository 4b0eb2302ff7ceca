#include "game/board/LevelParams.h"

#include <utility>

void LevelParams::Init(int cellCountValue, int playerCountValue)
{
    *this = LevelParams{};
    cellCount = cellCountValue;
    playerCount = playerCountValue;
    round = 1;
}

void LevelParams::Reset()
{
    Init(0, 0);
    round = 0;
}

void OrderMedalThresholds(MedalRule& rule)
{
    const bool swap = (rule.mode == static_cast<int32_t>(MedalMode::Cells) && rule.secondThreshold > rule.firstThreshold) ||
                      (rule.mode == static_cast<int32_t>(MedalMode::Rounds) && rule.secondThreshold < rule.firstThreshold);
    if (swap)
        std::swap(rule.firstThreshold, rule.secondThreshold);
}

#include "game/board/LevelParams.h"

#include "game/board/HexGeometry.h"
#include "game/board/PlayerTable.h"

#include <algorithm>
#include <array>
#include <utility>

namespace
{
struct CounterBounds
{
    const char* name;
    int32_t (*value)(const LevelParams&);
    int32_t low;
    int32_t high;
};
} // namespace

int32_t SaturatingAdd(int32_t value, int64_t add, int32_t ceiling)
{
    return static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(value) + add, 0, ceiling));
}

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

std::string LevelParams::FindOutOfRangeCounter() const
{
    static const std::array<CounterBounds, 18> kBounds = {{
        {"cellCount", [](const LevelParams& p) { return p.cellCount; }, 0, kCellCount},
        {"playerCount", [](const LevelParams& p) { return p.playerCount; }, 0, kMaxPlayers},
        {"playerCells[1]", [](const LevelParams& p) { return p.playerCells[0]; }, 0, kCellCount},
        {"playerCells[2]", [](const LevelParams& p) { return p.playerCells[1]; }, 0, kCellCount},
        {"playerCells[3]", [](const LevelParams& p) { return p.playerCells[2]; }, 0, kCellCount},
        {"playerAiLevels[1]", [](const LevelParams& p) { return p.playerAiLevels[0]; }, kHumanLevel, kBossLevel},
        {"playerAiLevels[2]", [](const LevelParams& p) { return p.playerAiLevels[1]; }, kHumanLevel, kBossLevel},
        {"playerAiLevels[3]", [](const LevelParams& p) { return p.playerAiLevels[2]; }, kHumanLevel, kBossLevel},
        {"capturedCells[1]", [](const LevelParams& p) { return p.capturedCells[0]; }, 0, kMaxCapturedCells},
        {"capturedCells[2]", [](const LevelParams& p) { return p.capturedCells[1]; }, 0, kMaxCapturedCells},
        {"capturedCells[3]", [](const LevelParams& p) { return p.capturedCells[2]; }, 0, kMaxCapturedCells},
        {"round", [](const LevelParams& p) { return p.round; }, 0, kMaxRound},
        {"score", [](const LevelParams& p) { return p.score; }, 0, kMaxScore},
        {"roundBonus", [](const LevelParams& p) { return p.roundBonus; }, 0, kMaxScore},
        {"cellBonus", [](const LevelParams& p) { return p.cellBonus; }, 0, kMaxScore},
        {"captureScore", [](const LevelParams& p) { return p.captureScore; }, 0, kMaxScore},
        {"bossHitPoints", [](const LevelParams& p) { return p.bossHitPoints; }, 0, kMaxBossHitPoints},
        // Once the boss is beaten its countdown runs down by one a round.
        {"bossCountdown", [](const LevelParams& p) { return p.bossCountdown; }, -kMaxRound, kBossCountdownStart},
    }};
    for (const CounterBounds& bounds : kBounds)
    {
        const int32_t value = bounds.value(*this);
        if (value < bounds.low || value > bounds.high)
            return std::string(bounds.name) + " " + std::to_string(value) + " is outside " + std::to_string(bounds.low) +
                   ".." + std::to_string(bounds.high);
    }
    return {};
}

void OrderMedalThresholds(MedalRule& rule)
{
    const bool swap = (rule.mode == static_cast<int32_t>(MedalMode::Cells) && rule.secondThreshold > rule.firstThreshold) ||
                      (rule.mode == static_cast<int32_t>(MedalMode::Rounds) && rule.secondThreshold < rule.firstThreshold);
    if (swap)
        std::swap(rule.firstThreshold, rule.secondThreshold);
}

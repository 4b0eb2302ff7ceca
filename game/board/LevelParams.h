#pragma once
// LevelParams: the numbers that describe a level as the player sees it (cells, players, captures,
// round, score and its parts, bonus inventory, boss counters, step-backs), 23 signed 32-bit words
// in their saved order. MedalRule: the two thresholds and the mode that grade a finished level.
#include <cstdint>
#include <string>

// What a game can reach: the bounds of the counters a loaded record is held to, and the ceilings
// the running counters saturate at. Real games end within a few hundred rounds and a few
// thousand points, far below them; sums of values within them stay inside 32 bits.
inline constexpr int32_t kMaxRound = 100000;
// At most six cells are captured per move, one move per player and round.
inline constexpr int32_t kMaxCapturedCells = 6 * kMaxRound;
inline constexpr int32_t kMaxScore = 100000000;
inline constexpr int32_t kMaxBossHitPoints = 10;
inline constexpr int32_t kBossCountdownStart = 2;

// value + add, held to 0..ceiling.
[[nodiscard]] int32_t SaturatingAdd(int32_t value, int64_t add, int32_t ceiling);

struct LevelParams
{
    static constexpr int kWordCount = 23;

    int32_t cellCount = 0;
    // 2 or 3 players; 0 means the record was never filled.
    int32_t playerCount = 0;
    int32_t playerCells[3] = {};
    int32_t playerAiLevels[3] = {};
    int32_t capturedCells[3] = {};
    int32_t round = 0;
    int32_t score = 0;
    int32_t roundBonus = 0;
    int32_t cellBonus = 0;
    int32_t captureScore = 0;
    // Bonus code in each inventory slot (4, 8, 12; 0 = empty).
    int32_t inventory[3] = {};
    // -1 = none armed.
    int32_t armedSlot = -1;
    int32_t bossHitPoints = kMaxBossHitPoints;
    int32_t bossCountdown = kBossCountdownStart;
    int32_t stepBacksLeft = 3;

    // Every field to its default; round 1.
    void Init(int cellCountValue, int playerCountValue);
    // An empty record: Init(0, 0) with round 0.
    void Reset();

    // The first counter outside what a game can reach, as "<field> <value> is outside <lo>..<hi>";
    // empty when every counter is within its bounds. The inventory, the armed slot and the
    // step-backs are not looked at: a loaded record repairs them.
    [[nodiscard]] std::string FindOutOfRangeCounter() const;

    bool operator==(const LevelParams&) const = default;
};

static_assert(sizeof(LevelParams) == LevelParams::kWordCount * 4, "LevelParams is 23 packed words");

enum class MedalMode : int32_t
{
    // Graded by the human's cell count at the end: more is better.
    Cells = 0,
    // Graded by the number of rounds: fewer is better.
    Rounds = 1,
};

struct MedalRule
{
    int32_t firstThreshold = 2;  // the better limit
    int32_t secondThreshold = 1; // the weaker limit
    int32_t mode = static_cast<int32_t>(MedalMode::Rounds);

    bool operator==(const MedalRule&) const = default;
};

// Puts the better threshold first for the rule's mode (larger first for cells, smaller first for
// rounds); an unknown mode leaves the rule as it is.
void OrderMedalThresholds(MedalRule& rule);

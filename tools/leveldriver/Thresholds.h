#pragma once
// Thresholds: a level's medal thresholds from a batch of the reference player. The reference
// player is the driver's seeded policy at AI level 2 without step-backs; game i (from 0) plays
// with the program-wide seed, the level seed and the policy seed all 1 + i. When fewer than
// kSpreadLeast of the first kSpreadGames games have move lists of their own, the batch is played
// again with the policy at AI level 1, and the row says so.
//   rounds: first = the 25th percentile of the won games' rounds + 1, second = the 75th + 1
//   cells:  first = the 75th percentile of the won games' cells, second = the 25th
// Percentiles are those of the batch report. A level without a won game keeps its thresholds.
//
// The README's levels table holds one row per level file, between two marker lines:
//   | level | file | mode | thresholds | games | win rate | medals 0 / 1 / 2 | reference |
#include "tools/leveldriver/HeadlessGame.h"

#include "game/board/LevelParams.h"

#include <optional>
#include <string>
#include <vector>

inline constexpr int kSpreadGames = 50;
inline constexpr int kSpreadLeast = 40;

struct ThresholdRun
{
    int levelNumber = 1;
    // "normal" or "easy".
    std::string fileKind = "normal";
    MedalRule rule;
    int games = 0;
    int wins = 0;
    // Won games by the medal they earn under the new rule.
    int medals[3] = {};
    // The reference player's AI level, and how many of the first games' move lists differ.
    int referenceLevel = 2;
    int distinctMoveLists = 0;
    // The first won game (its index and record played with the new rule), if any.
    std::optional<int> firstWinIndex;
    GameRecord firstWin;

    [[nodiscard]] double WinRate() const { return games > 0 ? 100.0 * wins / games : 0.0; }
    // The README row of the run.
    [[nodiscard]] std::string Row() const;
};

// Plays the batch of the level text and computes its thresholds. False with the reason when the
// text does not compile or the level does not load.
[[nodiscard]] bool RunThresholds(const std::string& levelText, int levelNumber, int games, ThresholdRun& run,
                                 std::string& error);

// The text with its medal line saying the rule; false when it has no medal line.
[[nodiscard]] bool ReplaceMedalLine(std::string& text, const MedalRule& rule);

// The README's levels table with the row put in place of the row of the same level and file,
// rows kept in level order (normal before easy). False when the markers are missing.
[[nodiscard]] bool PutTableRow(std::string& readme, const std::string& row);

// The table's row of a level and file ("" when there is none).
[[nodiscard]] std::string FindTableRow(const std::string& readme, int levelNumber, const std::string& fileKind);

// The table's marker lines.
inline constexpr const char* kTableBegin = "<!-- levels table: written by leveldriver thresholds -->";
inline constexpr const char* kTableEnd = "<!-- end of the levels table -->";

#pragma once
// BatchReport: many driven games of one level, each with seeds of its own, summed up for tuning
// a level's medal thresholds: the human's win rate, how many games differ, and the distribution
// of the rounds played and the cells held at the end, over all games and over won games with
// the medal grades they earned. Game i (from 0) plays as `leveldriver play` would with
// --seed S+i --level-seed L+i --policy-seed P+i: both the program-wide generator and the
// level's own generator (the computer players' draws) change from game to game, and the same
// seeds give the same batch.
#include "tools/leveldriver/DriverPolicy.h"
#include "tools/leveldriver/HeadlessGame.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

struct BatchOptions
{
    int games = 100;
    // L: the first game's level seed; by default the first game's program-wide seed.
    std::optional<uint32_t> firstLevelSeed;
    uint32_t firstPolicySeed = 1;
    PolicyKind policy;
    int stepBackPercent = 0;
};

struct BatchSummary
{
    int games = 0;
    int wins = 0;
    // Games whose records (moves, turns, end) differ from every other game's.
    int distinctGames = 0;
    // Games stopped by the round cap or without an end.
    int unfinished = 0;
    std::vector<int> rounds;
    std::vector<int> cells;
    std::vector<int> wonRounds;
    std::vector<int> wonCells;
    int medals[3] = {};
    std::set<std::vector<std::string>> records;

    void Add(const GameRecord& record);
    [[nodiscard]] std::string Report() const;
};

// Game i uses the seeds above, from setup.seed, options.firstLevelSeed and firstPolicySeed.
[[nodiscard]] BatchSummary RunBatch(const GameSetup& setup, const BatchOptions& options);

// The nearest-rank percentile of non-empty values: the value at (count - 1) * percent / 100 in
// ascending order.
[[nodiscard]] int Percentile(std::vector<int> values, size_t percent);

// "min a  p25 b  median c  p75 d  max e" of the values ("none" when empty).
[[nodiscard]] std::string Distribution(std::vector<int> values);

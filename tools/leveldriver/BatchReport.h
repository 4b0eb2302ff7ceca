#pragma once
// BatchReport: many driven games of one level, each with its own program-wide seed and policy
// seed, summed up for tuning a level's medal thresholds: the human's win rate, and the
// distribution of the rounds played and the cells held at the end, over all games and over won
// games with the medal grades they earned.
#include "tools/leveldriver/HeadlessGame.h"

#include <string>
#include <vector>

struct BatchOptions
{
    int games = 100;
    uint32_t firstPolicySeed = 1;
    int policyLevel = 1;
};

struct BatchSummary
{
    int games = 0;
    int wins = 0;
    // Games stopped by the round cap or without an end.
    int unfinished = 0;
    std::vector<int> rounds;
    std::vector<int> cells;
    std::vector<int> wonRounds;
    std::vector<int> wonCells;
    int medals[3] = {};

    void Add(const GameRecord& record);
    [[nodiscard]] std::string Report() const;
};

// Game i uses seed setup.seed + i and policy seed firstPolicySeed + i.
[[nodiscard]] BatchSummary RunBatch(const GameSetup& setup, const BatchOptions& options);

// "min a  p25 b  median c  p75 d  max e" of the values ("none" when empty).
[[nodiscard]] std::string Distribution(std::vector<int> values);

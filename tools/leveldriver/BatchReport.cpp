#include "tools/leveldriver/BatchReport.h"

#include "tools/leveldriver/DriverPolicy.h"

#include <algorithm>
#include <cstdio>

void BatchSummary::Add(const GameRecord& record)
{
    ++games;
    if (records.insert(record.lines).second)
        distinctGames = static_cast<int>(records.size());
    rounds.push_back(record.rounds);
    cells.push_back(record.humanCells);
    if (!record.outcome)
    {
        ++unfinished;
        return;
    }
    if (record.outcome->result != 1)
        return;
    ++wins;
    wonRounds.push_back(record.rounds);
    wonCells.push_back(record.humanCells);
    medals[std::clamp(record.outcome->medalGrade, 0, 2)] += 1;
}

std::string BatchSummary::Report() const
{
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.1f", games > 0 ? 100.0 * wins / games : 0.0);
    std::string text = "games " + std::to_string(games) + "  wins " + std::to_string(wins) + "  win rate " + rate +
                       " %  unfinished " + std::to_string(unfinished) + "  distinct games " +
                       std::to_string(distinctGames) + "\n";
    text += "rounds (all)   " + Distribution(rounds) + "\n";
    text += "cells (all)    " + Distribution(cells) + "\n";
    text += "rounds (won)   " + Distribution(wonRounds) + "\n";
    text += "cells (won)    " + Distribution(wonCells) + "\n";
    text += "medals (won)   0: " + std::to_string(medals[0]) + "  1: " + std::to_string(medals[1]) +
            "  2: " + std::to_string(medals[2]) + "\n";
    return text;
}

int Percentile(std::vector<int> values, size_t percent)
{
    std::sort(values.begin(), values.end());
    return values[(values.size() - 1) * percent / 100];
}

std::string Distribution(std::vector<int> values)
{
    if (values.empty())
        return "none";
    auto at = [&values](size_t percent) { return std::to_string(Percentile(values, percent)); };
    return "min " + at(0) + "  p25 " + at(25) + "  median " + at(50) + "  p75 " + at(75) + "  max " + at(100);
}

BatchSummary RunBatch(const GameSetup& setup, const BatchOptions& options)
{
    BatchSummary summary;
    for (int i = 0; i < options.games; ++i)
    {
        const auto offset = static_cast<uint32_t>(i);
        GameSetup game = setup;
        game.seed = setup.seed + offset;
        game.levelSeed = options.firstLevelSeed.value_or(setup.seed) + offset;
        DriverPolicy policy(options.firstPolicySeed + offset, options.policy, options.stepBackPercent);
        summary.Add(HeadlessGame(game).Play(policy));
    }
    return summary;
}

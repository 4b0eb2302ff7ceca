#include "tools/leveldriver/Thresholds.h"

#include "tools/leveldriver/BatchReport.h"
#include "tools/leveldriver/DriverPolicy.h"

#include "game/level/LevelText.h"
#include "game/level/ScoreRules.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

namespace
{
struct Batch
{
    std::vector<GameRecord> records;
    int distinctMoveLists = 0;
};

std::vector<std::string> MoveLines(const GameRecord& record)
{
    std::vector<std::string> moves;
    for (const std::string& line : record.lines)
        if (line.rfind("move ", 0) == 0)
            moves.push_back(line);
    return moves;
}

GameSetup ReferenceSetup(const Quoll::Buffer& body, int levelNumber, int game)
{
    GameSetup setup;
    setup.levelBody = body;
    setup.levelNumber = levelNumber;
    setup.seed = static_cast<uint32_t>(1 + game);
    setup.levelSeed = static_cast<uint32_t>(1 + game);
    return setup;
}

GameRecord PlayReference(const Quoll::Buffer& body, int levelNumber, int game, int aiLevel)
{
    DriverPolicy policy(static_cast<uint32_t>(1 + game), PolicyKind{aiLevel}, 0);
    return HeadlessGame(ReferenceSetup(body, levelNumber, game)).Play(policy);
}

Batch PlayBatch(const Quoll::Buffer& body, int levelNumber, int games, int aiLevel)
{
    Batch batch;
    std::set<std::vector<std::string>> moveLists;
    for (int game = 0; game < games; ++game)
    {
        batch.records.push_back(PlayReference(body, levelNumber, game, aiLevel));
        if (game < kSpreadGames)
            moveLists.insert(MoveLines(batch.records.back()));
    }
    batch.distinctMoveLists = static_cast<int>(moveLists.size());
    return batch;
}

bool Won(const GameRecord& record) { return record.outcome && record.outcome->result == 1; }

// The level's medal rule as compiled.
bool ReadRule(const Quoll::Buffer& body, MedalRule& rule, std::string& error)
{
    Quoll::Buffer copy = body;
    copy.SeekReadStart();
    std::string text;
    LevelTextError textError;
    if (!PrintLevelText(copy, text, textError))
    {
        error = textError.ToString();
        return false;
    }
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
    {
        std::istringstream words(line);
        std::string keyword;
        std::string mode;
        words >> keyword >> mode >> rule.firstThreshold >> rule.secondThreshold;
        if (keyword == "medal")
        {
            rule.mode = static_cast<int32_t>(mode == "cells" ? MedalMode::Cells : MedalMode::Rounds);
            return true;
        }
    }
    error = "the level has no medal rule";
    return false;
}

bool Compile(const std::string& text, Quoll::Buffer& body, std::string& error)
{
    LevelTextError textError;
    if (CompileLevelText(text, body, textError))
        return true;
    error = textError.ToString();
    return false;
}

// The table's row key: level number, then normal (0) before easy (1); nothing for a line that
// is no row.
std::optional<std::pair<int, int>> RowKey(const std::string& line)
{
    int level = 0;
    char file[16] = {};
    if (std::sscanf(line.c_str(), "| %d | %15s |", &level, file) != 2)
        return std::nullopt;
    const std::string kind = file;
    if (kind != "normal" && kind != "easy")
        return std::nullopt;
    return std::pair{level, kind == "easy" ? 1 : 0};
}
} // namespace

std::string ThresholdRun::Row() const
{
    char rate[16];
    std::snprintf(rate, sizeof rate, "%.1f", WinRate());
    const bool cells = rule.mode == static_cast<int32_t>(MedalMode::Cells);
    std::string reference = "AI " + std::to_string(referenceLevel);
    if (referenceLevel != 2)
        reference += " (AI 2 spread too little)";
    return "| " + std::to_string(levelNumber) + " | " + fileKind + " | " + (cells ? "cells" : "rounds") + " | " +
           std::to_string(rule.firstThreshold) + " " + std::to_string(rule.secondThreshold) + " | " +
           std::to_string(games) + " | " + rate + " % | " + std::to_string(medals[0]) + " / " +
           std::to_string(medals[1]) + " / " + std::to_string(medals[2]) + " | " + reference + " |";
}

bool RunThresholds(const std::string& levelText, int levelNumber, int games, ThresholdRun& run, std::string& error)
{
    // 1. The level as the game loads it, and the mode its author chose.
    Quoll::Buffer body;
    if (!Compile(levelText, body, error) || !ReadRule(body, run.rule, error))
        return false;
    if (const std::string fault = HeadlessGame::FindLevelFault(ReferenceSetup(body, levelNumber, 0)); !fault.empty())
    {
        error = fault;
        return false;
    }
    // 2. The batch, at AI level 2 unless its games do not spread.
    run.levelNumber = levelNumber;
    run.games = games;
    run.referenceLevel = 2;
    Batch batch = PlayBatch(body, levelNumber, games, 2);
    if (batch.distinctMoveLists < std::min(kSpreadLeast, games))
    {
        run.referenceLevel = 1;
        batch = PlayBatch(body, levelNumber, games, 1);
    }
    run.distinctMoveLists = batch.distinctMoveLists;
    // 3. The thresholds from the won games.
    std::vector<int> rounds;
    std::vector<int> cells;
    for (size_t i = 0; i < batch.records.size(); ++i)
    {
        const GameRecord& record = batch.records[i];
        if (!Won(record))
            continue;
        rounds.push_back(record.rounds);
        cells.push_back(record.humanCells);
        if (!run.firstWinIndex)
            run.firstWinIndex = static_cast<int>(i);
    }
    run.wins = static_cast<int>(rounds.size());
    if (!rounds.empty())
    {
        if (run.rule.mode == static_cast<int32_t>(MedalMode::Cells))
        {
            run.rule.firstThreshold = Percentile(cells, 75);
            run.rule.secondThreshold = Percentile(cells, 25);
        }
        else
        {
            run.rule.firstThreshold = Percentile(rounds, 25) + 1;
            run.rule.secondThreshold = Percentile(rounds, 75) + 1;
        }
    }
    for (size_t i = 0; i < rounds.size(); ++i)
        run.medals[std::clamp(MedalGrade(run.rule, cells[i], rounds[i]), 0, 2)] += 1;
    // 4. The first won game again, with the new rule, for its replay.
    if (run.firstWinIndex)
    {
        std::string text = levelText;
        Quoll::Buffer ruled;
        if (!ReplaceMedalLine(text, run.rule) || !Compile(text, ruled, error))
            return false;
        run.firstWin = PlayReference(ruled, levelNumber, *run.firstWinIndex, run.referenceLevel);
    }
    return true;
}

bool ReplaceMedalLine(std::string& text, const MedalRule& rule)
{
    const bool cells = rule.mode == static_cast<int32_t>(MedalMode::Cells);
    const std::string line = std::string("medal ") + (cells ? "cells " : "rounds ") + std::to_string(rule.firstThreshold) +
                             " " + std::to_string(rule.secondThreshold);
    size_t start = 0;
    while (start < text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::istringstream words(text.substr(start, end - start));
        std::string keyword;
        words >> keyword;
        if (keyword == "medal")
        {
            text.replace(start, end - start, line);
            return true;
        }
        start = end + 1;
    }
    return false;
}

bool PutTableRow(std::string& readme, const std::string& row)
{
    const size_t begin = readme.find(kTableBegin);
    const size_t end = readme.find(kTableEnd);
    const std::optional<std::pair<int, int>> key = RowKey(row);
    if (begin == std::string::npos || end == std::string::npos || end < begin || !key)
        return false;
    // The table between the markers: its heading lines, then the rows by key.
    const size_t bodyStart = readme.find('\n', begin) + 1;
    std::istringstream in(readme.substr(bodyStart, end - bodyStart));
    std::vector<std::string> heading;
    std::map<std::pair<int, int>, std::string> rows;
    for (std::string line; std::getline(in, line);)
    {
        if (const std::optional<std::pair<int, int>> lineKey = RowKey(line))
            rows[*lineKey] = line;
        else if (!line.empty())
            heading.push_back(line);
    }
    rows[*key] = row;
    std::string table;
    for (const std::string& line : heading)
        table += line + "\n";
    for (const auto& [rowKey, line] : rows)
        table += line + "\n";
    readme.replace(bodyStart, end - bodyStart, table);
    return true;
}

std::string FindTableRow(const std::string& readme, int levelNumber, const std::string& fileKind)
{
    std::istringstream in(readme);
    const std::pair<int, int> key{levelNumber, fileKind == "easy" ? 1 : 0};
    for (std::string line; std::getline(in, line);)
        if (RowKey(line) == key)
            return line;
    return {};
}

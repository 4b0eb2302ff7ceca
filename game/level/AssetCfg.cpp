#include "game/level/AssetCfg.h"

#include "framework/files/ConfigFile.h"

#include <algorithm>
#include <limits>
#include <sstream>

namespace
{
// Reads exactly count integers; false when one is missing or malformed.
template <size_t N>
bool ReadNumbers(std::istream& in, std::array<int32_t, N>& numbers)
{
    for (int32_t& number : numbers)
        if (!(in >> number))
            return false;
    return true;
}
} // namespace

bool AssetCfg::Load(const ErrorSink& logError, const std::string& fileName)
{
    mRows.clear();
    Quoll::ConfigFile file;
    if (!file.Open(fileName))
    {
        logError("Cannot open asset cfg file: " + fileName);
        return false;
    }
    std::stringstream line;
    while (file.NextLine(line))
    {
        std::string keyword;
        if (!(line >> keyword))
            continue;
        if (!ApplyLine(keyword, line))
            logError(fileName + ": bad numbers on line " + std::to_string(file.GetLineNumber()) + ", line skipped");
    }
    if (static_cast<int>(mRows.size()) < mLevelCount)
        logError(fileName + " has rows for " + std::to_string(mRows.size()) + " of " + std::to_string(mLevelCount) +
                 " levels; the others get the default assets");
    return true;
}

bool AssetCfg::ApplyLine(const std::string& keyword, std::istream& numbers)
{
    if (keyword == "EPISODELEVELS")
    {
        std::array<int32_t, 2> args{};
        if (!ReadNumbers(numbers, args) || args[1] > kMaxRows)
            return false;
        // n is the episode's last level; the table only grows.
        const auto [episode, last] = args;
        while (static_cast<int64_t>(mRows.size()) < last)
            mRows.push_back({episode, 1, 1, 1, 2, 3});
        return true;
    }
    if (keyword == "HEROBAC")
    {
        std::array<int32_t, 1> args{};
        if (!ReadNumbers(numbers, args))
            return false;
        for (Row& row : mRows)
            row[HeroBacteria] = args[0];
        return true;
    }
    if (keyword == "EPISODEASSET" || keyword == "LEVELASSET")
    {
        std::array<int32_t, 5> args{};
        if (!ReadNumbers(numbers, args))
            return false;
        const std::array<int32_t, 4> assets = {args[1], args[2], args[3], args[4]};
        if (keyword == "EPISODEASSET")
        {
            for (Row& row : mRows)
                if (row[Episode] == args[0])
                    SetAssets(row, assets);
        }
        else if (args[0] >= 1 && args[0] <= static_cast<int64_t>(mRows.size()))
        {
            SetAssets(mRows[static_cast<size_t>(args[0] - 1)], assets);
        }
        return true;
    }
    return true;
}

void AssetCfg::SetAssets(Row& row, const std::array<int32_t, 4>& assets)
{
    row[FoneIndex] = assets[0];
    row[CellSkin] = assets[1];
    row[EnemyBacteria] = assets[2];
    row[ThirdBacteria] = assets[3];
}

int AssetCfg::GetFirstLevelOfEpisode(int episode) const
{
    for (size_t i = 0; i < mRows.size(); ++i)
        if (mRows[i][Episode] == episode)
            return static_cast<int>(i) + 1;
    return 0;
}

int AssetCfg::NormaliseLevel(int level) const
{
    // -k for k = INT_MIN cannot be negated; no episode has that number anyway.
    if (level < 0)
        return level == std::numeric_limits<int>::min() ? 0 : GetFirstLevelOfEpisode(-level);
    return level;
}

const AssetCfg::Row& AssetCfg::GetRow(int level) const
{
    const int clamped = std::clamp(NormaliseLevel(level), 1, std::max(1, mLevelCount));
    if (clamped > static_cast<int>(mRows.size()))
        return kDefaultRow;
    return mRows[static_cast<size_t>(clamped - 1)];
}

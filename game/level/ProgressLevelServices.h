#pragma once
// ProgressLevelServices: NullLevelServices with a profile's progress: a stored result and medal
// per level, as the catalogue and the random levels read them. Tools and tests use it.
#include "game/level/NullLevelServices.h"

#include <map>
#include <utility>

class ProgressLevelServices : public NullLevelServices
{
public:
    // result 0 means not completed.
    void SetLevelResult(int level, int result, int medal) { mResults[level] = {result, medal}; }
    // Levels 1..last completed with the given medal.
    void CompleteLevels(int last, int medal = 2)
    {
        for (int level = 1; level <= last; ++level)
            SetLevelResult(level, 1, medal);
    }
    void ClearProgress() { mResults.clear(); }

    [[nodiscard]] int GetLevelScore(int level) const override
    {
        const auto found = mResults.find(level);
        return found == mResults.end() ? 0 : found->second.first;
    }
    [[nodiscard]] int GetLevelMedal(int level) const override
    {
        const auto found = mResults.find(level);
        return found == mResults.end() ? 0 : found->second.second;
    }

private:
    std::map<int, std::pair<int, int>> mResults;
};

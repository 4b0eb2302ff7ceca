#include "game/level/TutorialSteps.h"

#include "framework/files/ConfigFile.h"

#include <algorithm>
#include <sstream>

TutorialSteps::TutorialSteps(std::function<void(const std::string&)> log, std::string path)
    : mLog(std::move(log)), mPath(std::move(path))
{
}

bool TutorialSteps::Load()
{
    if (!mSteps.empty())
        return true;
    Quoll::ConfigFile file;
    if (!file.Open(mPath))
    {
        if (mLog)
            mLog("Cannot open tutorial cfg file: " + mPath);
        return false;
    }
    std::stringstream line;
    while (file.NextLine(line))
    {
        std::string keyword;
        if (line >> keyword && keyword == "STEP")
            mSteps.push_back(ParseStep(line));
    }
    return true;
}

TutorialStep TutorialSteps::ParseStep(std::istream& words)
{
    // Fields are read in order until one is missing or does not read; the rest stay 0 (empty).
    TutorialStep step;
    int* const leading[] = {&step.level, &step.round, &step.targetX, &step.targetY};
    for (int* field : leading)
    {
        int value = 0;
        if (!(words >> value))
            return step;
        *field = value;
    }
    if (!(words >> step.textKey))
        return step;
    int value = 0;
    if (!(words >> value))
        return step;
    step.panelX = value;
    if (words >> value)
        step.panelY = value;
    return step;
}

bool TutorialSteps::HasLevelSteps(int level) const
{
    return std::any_of(mSteps.begin(), mSteps.end(), [level](const TutorialStep& step) { return step.level == level; });
}

const TutorialStep* TutorialSteps::GetStep(int index) const
{
    return index >= 0 && static_cast<size_t>(index) < mSteps.size() ? &mSteps[static_cast<size_t>(index)] : nullptr;
}

int TutorialSteps::FindStep(int level, int round, int after, bool skipToLast) const
{
    const auto sameRun = [&](size_t i) { return mSteps[i].level == level && mSteps[i].round == round; };
    for (size_t i = 0; i < mSteps.size(); ++i)
    {
        if (!sameRun(i) || (after != kNoStep && static_cast<int>(i) <= after))
            continue;
        if (skipToLast && i + 1 < mSteps.size() && sameRun(i + 1))
            continue;
        return static_cast<int>(i);
    }
    return kNoStep;
}

#pragma once
// NullLevelServices: game services without a game: silent, no achievements, no log file (error
// lines are kept in memory), no tutorial steps (unless a script is set), no profile results. The
// update clock advances only through Tick, by one logic step (10 ms) each, as the main loop's
// clock does.
#include "game/level/LevelServices.h"

#include <set>
#include <string>
#include <vector>

class NullTutorialData : public TutorialData
{
public:
    void LoadSteps() override { ++mLoadCount; }
    [[nodiscard]] bool HasLevelSteps(int level) const override { return mLevelsWithSteps.count(level) != 0; }

    void AddLevelWithSteps(int level) { mLevelsWithSteps.insert(level); }
    [[nodiscard]] int GetLoadCount() const { return mLoadCount; }

private:
    std::set<int> mLevelsWithSteps;
    int mLoadCount = 0;
};

class NullLevelServices : public LevelServices
{
public:
    static constexpr uint32_t kStepMs = 10;
    static constexpr int kCampaignLevelCount = 70;
    static constexpr int kDefaultDifficulty = 513;

    void PlaySound(LevelSound, float, float) override {}
    void OnAchievementEvent(int) override {}
    using LevelServices::OnAchievementEvent;
    [[nodiscard]] float GetLevelRampValue(int step) const override
    {
        return ComputeLevelRampValue(mDifficulty, mLevelNumber, step, kCampaignLevelCount);
    }
    [[nodiscard]] float GetFrameTime() const override { return static_cast<float>(kStepMs) / 1000.0f; }
    [[nodiscard]] uint32_t GetUpdateClockMs() const override { return mClockMs; }
    [[nodiscard]] int GetCurrentLevelNumber() const override { return mLevelNumber; }
    [[nodiscard]] int GetProfileDifficulty() const override { return mDifficulty; }
    [[nodiscard]] int GetLevelScore(int) const override { return 0; }
    [[nodiscard]] int GetLevelMedal(int) const override { return 0; }
    void LogError(const std::string& line) override { mErrors.push_back(line); }
    TutorialData& GetTutorial() override { return mScript != nullptr ? *mScript : mTutorial; }

    // One logic update passed.
    void Tick() { mClockMs += kStepMs; }
    void AdvanceClock(uint32_t ms) { mClockMs += ms; }
    void SetLevelNumber(int level) { mLevelNumber = level; }
    void SetDifficulty(int difficulty) { mDifficulty = difficulty; }
    [[nodiscard]] const std::vector<std::string>& GetErrors() const { return mErrors; }
    [[nodiscard]] NullTutorialData& GetNullTutorial() { return mTutorial; }
    // Serves a real script (not owned) instead of the built-in one without steps.
    void SetTutorial(TutorialData& script) { mScript = &script; }

private:
    uint32_t mClockMs = 0;
    int mLevelNumber = 1;
    int mDifficulty = kDefaultDifficulty;
    std::vector<std::string> mErrors;
    NullTutorialData mTutorial;
    TutorialData* mScript = nullptr;
};

#pragma once
// LevelList: the campaign's catalogue: 70 levels in 24 groups (three levels a group, the last
// group only level 70), how many opponents each level shows on the level map for the profile's
// difficulty, which levels are completed, locked or open, the next level to play and a group's
// medal. Progress itself lives in the current profile; the catalogue reads it through the game's
// LevelServices (results, medals, difficulty, tutorial steps) and only interprets it. One
// instance serves the program: it registers itself on construction (LevelList::Get).
#include "game/level/LevelServices.h"

#include <vector>

class AssetCfg;

class LevelList
{
public:
    static constexpr int kLevelCount = 70;
    static constexpr int kGroupCount = 24;
    static constexpr int kGroupSize = 3;
    // The difficulty whose opponent table differs at levels 13 and 32.
    static constexpr int kHardDifficulty = 514;

    // assets: where GetGroupEpisode looks; may be null (episode 1 then).
    explicit LevelList(LevelServices& services, const AssetCfg* assets = nullptr);
    ~LevelList();
    LevelList(const LevelList&) = delete;
    LevelList& operator=(const LevelList&) = delete;

    // The registered catalogue, or null.
    [[nodiscard]] static LevelList* Get();

    // 70 levels in 24 groups, then the opponent table. Always true.
    bool Init();
    // Sizes the table to the level count and fills it for the profile's current difficulty.
    void BuildLevelTable();

    // The level count (0 before Init).
    [[nodiscard]] int GetFirstField() const { return mLevelCount; }
    [[nodiscard]] int GetGroupCount() const { return mGroupCount; }

    // Opponents shown for the level (1 or 2); the level is clamped to 1..level count first.
    [[nodiscard]] int GetLevelValue(int level) const;
    [[nodiscard]] bool IsLevelCompleted(int level) const;

    static constexpr int GetGroupFirstLevel(int group) { return 3 * group - 2; }
    static constexpr int GetLevelGroup(int level) { return (level - 1) / 3 + 1; }
    // 1 for the last group, else 3.
    [[nodiscard]] int GetGroupSize(int group) const { return group == mGroupCount ? 1 : kGroupSize; }

    [[nodiscard]] bool IsGroupComplete(int group) const;
    [[nodiscard]] int CountCompletedInGroup(int group) const;
    // Bit i set: the group's i-th level (from 0) is still locked; bits beyond the group stay set.
    [[nodiscard]] int GetLockedMask(int group) const;
    // The first group that is not complete; group count + 1 when all are.
    [[nodiscard]] int GetFirstOpenGroup() const;
    // Whether the level may be started; false for numbers outside 1..level count.
    [[nodiscard]] bool IsLevelOpen(int level) const;
    // The first level not completed in the first open group; 0 when there is none (also once
    // the whole campaign is complete).
    [[nodiscard]] int GetNextLevel() const;
    [[nodiscard]] bool IsAllComplete() const;
    // -1 while the group is not complete, else the lowest medal grade among its levels.
    [[nodiscard]] int GetGroupMedal(int group) const;
    [[nodiscard]] int GetGroupEpisode(int group) const;
    [[nodiscard]] static bool IsSpecialGroup(int group);

private:
    LevelServices& mServices;
    const AssetCfg* mAssets;
    int mLevelCount = 0;
    int mGroupCount = 0;
    std::vector<int> mOpponents;
};

// Whether the current profile has completed the level, asked of the registered catalogue
// (false when there is none).
[[nodiscard]] bool IsLevelCompleted(int level);

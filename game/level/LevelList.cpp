#include "game/level/LevelList.h"

#include "game/level/AssetCfg.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace
{
LevelList* gLevelList = nullptr;

// Opponents per level on the hard difficulty; the other difficulty differs at levels 13 and 32.
constexpr std::array<int, LevelList::kLevelCount> kHardOpponents = {
    1, 1, 1, 1, 1, 1, 1, 2, 2, 1, //
    1, 1, 2, 2, 2, 2, 2, 2, 2, 2, //
    2, 2, 2, 2, 2, 1, 2, 2, 1, 2, //
    1, 1, 2, 2, 2, 2, 2, 2, 2, 2, //
    2, 2, 2, 2, 2, 1, 2, 2, 2, 2, //
    2, 2, 2, 2, 2, 2, 2, 1, 2, 2, //
    2, 1, 2, 2, 1, 1, 2, 2, 2, 2,
};
constexpr int kEasyLevel13Opponents = 1;
constexpr int kEasyLevel32Opponents = 2;

constexpr std::array<int, 5> kSpecialGroups = {5, 9, 14, 19, 23};
} // namespace

LevelList::LevelList(LevelServices& services, const AssetCfg* assets) : mServices(services), mAssets(assets)
{
    assert(gLevelList == nullptr && "LevelList: one catalogue at a time");
    gLevelList = this;
}

LevelList::~LevelList()
{
    if (gLevelList == this)
        gLevelList = nullptr;
}

LevelList* LevelList::Get() { return gLevelList; }

bool LevelList::Init()
{
    mLevelCount = kLevelCount;
    mGroupCount = kGroupCount;
    BuildLevelTable();
    return true;
}

void LevelList::BuildLevelTable()
{
    mOpponents.resize(static_cast<size_t>(mLevelCount), 1);
    const bool hard = mServices.GetProfileDifficulty() == kHardDifficulty;
    for (int level = 1; level <= mLevelCount && level <= kLevelCount; ++level)
        mOpponents[static_cast<size_t>(level - 1)] = kHardOpponents[static_cast<size_t>(level - 1)];
    if (!hard && mLevelCount >= 32)
    {
        mOpponents[12] = kEasyLevel13Opponents;
        mOpponents[31] = kEasyLevel32Opponents;
    }
}

int LevelList::GetLevelValue(int level) const
{
    if (mOpponents.empty())
        return 1;
    const int clamped = std::clamp(level, 1, static_cast<int>(mOpponents.size()));
    return mOpponents[static_cast<size_t>(clamped - 1)];
}

bool LevelList::IsLevelCompleted(int level) const { return mServices.GetLevelScore(level) != 0; }

bool LevelList::IsGroupComplete(int group) const { return CountCompletedInGroup(group) == GetGroupSize(group); }

int LevelList::CountCompletedInGroup(int group) const
{
    int completed = 0;
    for (int i = 0; i < GetGroupSize(group); ++i)
        completed += IsLevelCompleted(GetGroupFirstLevel(group) + i);
    return completed;
}

int LevelList::GetLockedMask(int group) const
{
    // Levels unlock in order up to and including the first tutorial level not yet completed.
    int mask = 0x7;
    for (int i = 0; i < GetGroupSize(group); ++i)
    {
        const int level = GetGroupFirstLevel(group) + i;
        mask &= ~(1 << i);
        if (mServices.GetTutorial().HasLevelSteps(level) && !IsLevelCompleted(level))
            return mask;
    }
    return mask;
}

int LevelList::GetFirstOpenGroup() const
{
    for (int group = 1; group <= mGroupCount; ++group)
        if (!IsGroupComplete(group))
            return group;
    return mGroupCount + 1;
}

bool LevelList::IsLevelOpen(int level) const
{
    // Groups open strictly in order: a group opens when every group before it is complete.
    // Numbers outside the catalogue name no level that could be started.
    if (level < 1 || level > mLevelCount)
        return false;
    const int group = GetLevelGroup(level);
    const int open = GetFirstOpenGroup();
    if (group > open)
        return false;
    if (group < open)
        return true;
    return (GetLockedMask(group) & (1 << (level - GetGroupFirstLevel(group)))) == 0;
}

int LevelList::GetNextLevel() const
{
    const int group = GetFirstOpenGroup();
    if (group > mGroupCount)
        return 0;
    for (int i = 0; i < GetGroupSize(group); ++i)
        if (!IsLevelCompleted(GetGroupFirstLevel(group) + i))
            return GetGroupFirstLevel(group) + i;
    return 0;
}

bool LevelList::IsAllComplete() const { return mGroupCount > 0 && IsGroupComplete(mGroupCount); }

int LevelList::GetGroupMedal(int group) const
{
    if (!IsGroupComplete(group))
        return -1;
    int medal = 2;
    for (int i = 0; i < GetGroupSize(group); ++i)
        medal = std::min(medal, mServices.GetLevelMedal(GetGroupFirstLevel(group) + i));
    return medal;
}

int LevelList::GetGroupEpisode(int group) const
{
    return mAssets ? mAssets->GetEpisode(GetGroupFirstLevel(group)) : 1;
}

bool LevelList::IsSpecialGroup(int group)
{
    return std::find(kSpecialGroups.begin(), kSpecialGroups.end(), group) != kSpecialGroups.end();
}

bool IsLevelCompleted(int level)
{
    const LevelList* list = LevelList::Get();
    return list && list->IsLevelCompleted(level);
}

// The level catalogue over a profile's progress: groups and their sizes, opponents per level for
// each difficulty, locks by tutorial levels, groups opening in order, the next level (also once
// everything is complete), group medals and episodes.
// Rerun one case: test_level --gtest_filter='LevelList.*'
#include "game/level/AssetCfg.h"
#include "game/level/LevelList.h"
#include "game/level/ProgressLevelServices.h"

#include <gtest/gtest.h>

#include <type_traits>

static_assert(!std::is_copy_constructible_v<LevelList> && !std::is_move_constructible_v<LevelList>);

namespace
{
struct Catalogue
{
    ProgressLevelServices services;
    LevelList list{services};

    Catalogue() { list.Init(); }
    void CompleteGroup(int group, int medal = 2)
    {
        for (int i = 0; i < list.GetGroupSize(group); ++i)
            services.SetLevelResult(LevelList::GetGroupFirstLevel(group) + i, 100, medal);
    }
};
} // namespace

TEST(LevelList, GroupsAndRegistration)
{
    ProgressLevelServices services;
    {
        LevelList list(services);
        EXPECT_EQ(LevelList::Get(), &list);
        EXPECT_EQ(list.GetFirstField(), 0);
        EXPECT_TRUE(list.Init());
        EXPECT_EQ(list.GetFirstField(), 70);
        EXPECT_EQ(list.GetGroupCount(), 24);
        EXPECT_EQ(LevelList::GetLevelGroup(70), 24);
        EXPECT_EQ(LevelList::GetLevelGroup(69), 23);
        EXPECT_EQ(LevelList::GetLevelGroup(1), 1);
        EXPECT_EQ(LevelList::GetGroupFirstLevel(24), 70);
        EXPECT_EQ(list.GetGroupSize(24), 1);
        EXPECT_EQ(list.GetGroupSize(23), 3);
        services.SetLevelResult(7, 50, 1);
        EXPECT_TRUE(IsLevelCompleted(7));
        EXPECT_FALSE(IsLevelCompleted(8));
    }
    EXPECT_EQ(LevelList::Get(), nullptr);
    EXPECT_FALSE(IsLevelCompleted(7));
    for (int group : {5, 9, 14, 19, 23})
        EXPECT_TRUE(LevelList::IsSpecialGroup(group));
    for (int group : {0, 1, 4, 6, 24, 25})
        EXPECT_FALSE(LevelList::IsSpecialGroup(group));
}

TEST(LevelList, OpponentsFollowTheDifficultyAndClampTheLevel)
{
    Catalogue c;
    c.services.SetDifficulty(513);
    c.list.BuildLevelTable();
    EXPECT_EQ(c.list.GetLevelValue(13), 1);
    EXPECT_EQ(c.list.GetLevelValue(32), 2);
    c.services.SetDifficulty(514);
    c.list.BuildLevelTable();
    EXPECT_EQ(c.list.GetLevelValue(13), 2);
    EXPECT_EQ(c.list.GetLevelValue(32), 1);
    EXPECT_EQ(c.list.GetLevelValue(8), 2);
    EXPECT_EQ(c.list.GetLevelValue(0), c.list.GetLevelValue(1));
    EXPECT_EQ(c.list.GetLevelValue(-5), 1);
    EXPECT_EQ(c.list.GetLevelValue(99), c.list.GetLevelValue(70));
    EXPECT_EQ(c.list.GetLevelValue(69), 2);
    EXPECT_EQ(c.list.GetLevelValue(66), 1);
}

TEST(LevelList, FreshProfileOpensTheFirstGroupOnly)
{
    Catalogue c;
    EXPECT_EQ(c.list.GetFirstOpenGroup(), 1);
    EXPECT_EQ(c.list.GetLockedMask(1), 0);
    for (int level : {1, 2, 3})
        EXPECT_TRUE(c.list.IsLevelOpen(level)) << level;
    EXPECT_FALSE(c.list.IsLevelOpen(4));
    EXPECT_FALSE(c.list.IsLevelOpen(70));
    for (int outside : {0, -5, 71, 99})
        EXPECT_FALSE(c.list.IsLevelOpen(outside)) << outside;
    EXPECT_EQ(c.list.GetNextLevel(), 1);
    EXPECT_FALSE(c.list.IsAllComplete());
    EXPECT_EQ(c.list.GetGroupMedal(1), -1);
}

TEST(LevelList, TutorialLevelsLockTheRestOfTheirGroup)
{
    Catalogue c;
    c.services.GetNullTutorial().AddLevelWithSteps(1);
    EXPECT_EQ(c.list.GetLockedMask(1), 6);
    EXPECT_TRUE(c.list.IsLevelOpen(1));
    EXPECT_FALSE(c.list.IsLevelOpen(2));
    EXPECT_FALSE(c.list.IsLevelOpen(3));
    // Once it is completed the next tutorial level is the limit.
    c.services.GetNullTutorial().AddLevelWithSteps(2);
    c.services.SetLevelResult(1, 10, 0);
    EXPECT_EQ(c.list.GetLockedMask(1), 4);
    EXPECT_TRUE(c.list.IsLevelOpen(2));
    EXPECT_FALSE(c.list.IsLevelOpen(3));
    EXPECT_EQ(c.list.GetNextLevel(), 2);
    // The single-level group keeps its unused bits set.
    EXPECT_EQ(c.list.GetLockedMask(24), 6);
}

TEST(LevelList, GroupsOpenInOrder)
{
    Catalogue c;
    c.CompleteGroup(1);
    EXPECT_EQ(c.list.GetFirstOpenGroup(), 2);
    EXPECT_TRUE(c.list.IsLevelOpen(2));
    EXPECT_TRUE(c.list.IsLevelOpen(4));
    EXPECT_FALSE(c.list.IsLevelOpen(7));
    c.services.SetLevelResult(4, 1, 1);
    EXPECT_EQ(c.list.CountCompletedInGroup(2), 1);
    EXPECT_EQ(c.list.GetNextLevel(), 5);
    // A level completed beyond the open group does not open its group.
    c.services.SetLevelResult(10, 1, 1);
    EXPECT_EQ(c.list.GetFirstOpenGroup(), 2);
    EXPECT_FALSE(c.list.IsLevelOpen(11));
}

TEST(LevelList, GroupMedalIsTheLowestOfACompleteGroup)
{
    Catalogue c;
    c.services.SetLevelResult(1, 5, 2);
    c.services.SetLevelResult(2, 5, 1);
    EXPECT_EQ(c.list.GetGroupMedal(1), -1);
    c.services.SetLevelResult(3, 5, 2);
    EXPECT_EQ(c.list.GetGroupMedal(1), 1);
    c.services.SetLevelResult(70, 5, 0);
    EXPECT_EQ(c.list.GetGroupMedal(24), 0);
}

TEST(LevelList, CompleteCampaignHasNoNextLevel)
{
    Catalogue c;
    for (int group = 1; group <= 23; ++group)
        c.CompleteGroup(group);
    EXPECT_EQ(c.list.GetFirstOpenGroup(), 24);
    EXPECT_EQ(c.list.GetNextLevel(), 70);
    EXPECT_TRUE(c.list.IsLevelOpen(70));
    EXPECT_FALSE(c.list.IsAllComplete());
    c.CompleteGroup(24);
    EXPECT_TRUE(c.list.IsAllComplete());
    EXPECT_EQ(c.list.GetFirstOpenGroup(), 25);
    EXPECT_EQ(c.list.GetNextLevel(), 0);
    EXPECT_TRUE(c.list.IsLevelOpen(70));
}

TEST(LevelList, GroupEpisodeComesFromTheAssetTable)
{
    ProgressLevelServices services;
    AssetCfg assets;
    {
        LevelList withoutAssets(services);
        withoutAssets.Init();
        EXPECT_EQ(withoutAssets.GetGroupEpisode(10), 1);
    }
    // No file: every level answers the default row's episode.
    EXPECT_FALSE(assets.Load([](const std::string&) {}, "no-such-folder/game.cfg"));
    LevelList list(services, &assets);
    list.Init();
    EXPECT_EQ(list.GetGroupEpisode(10), AssetCfg::kDefaultRow[AssetCfg::Episode]);
}

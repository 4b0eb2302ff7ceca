// The shared small functions and the play services' helpers: the label colour blend truncates
// each component on its own, the sine ease ends exactly, the string-list builder appends only,
// and the players' bacteria kinds follow the level's table with the boss's kind for the boss.
// Rerun: test_play --gtest_filter='PlayFunctions*'
#include "game/play/PlayFunctions.h"
#include "game/play/PlayIds.h"
#include "game/shell/PlayServices.h"
#include "game/ui/GameColors.h"

#include <gtest/gtest.h>

TEST(PlayFunctions, BlendLabelColourTruncatesEachComponent)
{
    const Quoll::Color half = BlendLabelColour(0.5f);
    EXPECT_EQ(half.r, 141);
    EXPECT_EQ(half.g, 158);
    EXPECT_EQ(half.b, 203);
    EXPECT_EQ(half.a, 255);
    EXPECT_TRUE(BlendLabelColour(0.0f) == ColorLabel);
    EXPECT_TRUE(BlendLabelColour(1.0f) == ColorLabelOver);
}

TEST(PlayFunctions, EaseOutSineEnds)
{
    EXPECT_EQ(EaseOutSine(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(EaseOutSine(1.0f), 1.0f);
    EXPECT_NEAR(EaseOutSine(0.5f), 0.70710677f, 1e-6f);
}

TEST(PlayFunctions, AppendStringListAppendsOnly)
{
    std::vector<std::string> list{"kept"};
    const char* const empty[] = {nullptr};
    AppendStringList(empty, list);
    AppendStringList(nullptr, list);
    EXPECT_EQ(list, std::vector<std::string>{"kept"});
    const char* const names[] = {"a", "b", nullptr, "never"};
    AppendStringList(names, list);
    EXPECT_EQ(list, (std::vector<std::string>{"kept", "a", "b"}));
}

TEST(PlayFunctions, PlayerBacteriaFollowTheLevelAndTheBoss)
{
    EXPECT_EQ(ChoosePlayerBacteria(1, 0, 3, 5, 7), 3);
    EXPECT_EQ(ChoosePlayerBacteria(2, 1, 3, 5, 7), 5);
    EXPECT_EQ(ChoosePlayerBacteria(3, 2, 3, 5, 7), 7);
    EXPECT_EQ(ChoosePlayerBacteria(2, kBossAiLevel, 3, 5, 7), kBossBacteria);
    // Other player numbers and kinds outside the table give the first kind.
    EXPECT_EQ(ChoosePlayerBacteria(0, 0, 3, 5, 7), 1);
    EXPECT_EQ(ChoosePlayerBacteria(4, kBossAiLevel, 3, 5, 7), 1);
    EXPECT_EQ(ChoosePlayerBacteria(1, 0, 0, 5, 7), 1);
    EXPECT_EQ(ChoosePlayerBacteria(1, 0, 9, 5, 7), 1);
}

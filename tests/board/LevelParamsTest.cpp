// LevelParams defaults and the medal-threshold order.
// Rerun one case: test_board --gtest_filter='LevelParams.*'
#include "game/board/LevelParams.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace
{
std::array<int32_t, LevelParams::kWordCount> Words(const LevelParams& params)
{
    std::array<int32_t, LevelParams::kWordCount> words{};
    std::memcpy(words.data(), &params, sizeof params);
    return words;
}
} // namespace

TEST(LevelParams, InitAndResetDefaults)
{
    LevelParams params;
    params.score = 99;
    params.inventory[1] = 8;
    params.Init(40, 3);
    EXPECT_EQ(Words(params), (std::array<int32_t, 23>{40, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, -1, 10, 2, 3}));
    params.Reset();
    EXPECT_EQ(Words(params), (std::array<int32_t, 23>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 10, 2, 3}));
}

TEST(LevelParams, MedalThresholdOrder)
{
    MedalRule rule{1, 2, 0};
    OrderMedalThresholds(rule);
    EXPECT_EQ(rule, (MedalRule{2, 1, 0}));
    rule = {1, 2, 1};
    OrderMedalThresholds(rule);
    EXPECT_EQ(rule, (MedalRule{1, 2, 1}));
    rule = {2, 1, 1};
    OrderMedalThresholds(rule);
    EXPECT_EQ(rule, (MedalRule{1, 2, 1}));
    rule = {5, 5, 0};
    OrderMedalThresholds(rule);
    EXPECT_EQ(rule, (MedalRule{5, 5, 0}));
    rule = {1, 2, 7};
    OrderMedalThresholds(rule);
    EXPECT_EQ(rule, (MedalRule{1, 2, 7}));
    EXPECT_EQ(MedalRule{}, (MedalRule{2, 1, 1}));
}

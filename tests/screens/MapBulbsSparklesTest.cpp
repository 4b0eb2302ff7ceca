// The level map's bulbs and star sparkles: which node a bulb belongs to, the bulb image table,
// when bulbs wait, flash and pop (volume and pan by the distance to the mouse, sooner and faster
// over the hovered group), and how stars launch, stay near their medal and go back.
// Rerun one case: test_screens --gtest_filter='Bulb*:SparkleTest*'
#include "MapPartsDoubles.h"

#include "game/screens/Bulbulator.h"
#include "game/screens/MapSparkles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace
{
using MapParts::FakeNode;
using MapParts::FakeServices;

std::string WriteBulbs(const std::string& name, const std::string& text)
{
    const std::filesystem::path path = std::filesystem::path(::testing::TempDir()) / name;
    std::ofstream(path) << text;
    return path.string();
}

struct BulbTest : ::testing::Test
{
    BulbTest()
    {
        services.AddImage("IMAGE_BULB_H_1", 64, 32, 0xFF4080C0u);
        services.AddImage("IMAGE_BULB_V_1", 32, 64, 0xFF4080C0u);
        services.AddImage("IMAGE_BULB_V_6BIG", 48, 96, 0xFF8040C0u);
        services.SetAnimation("IMAGE_BULB_H_1", 4, 100);
        services.SetAnimation("IMAGE_BULB_V_1", 4, 100);
    }

    // A bulb over group 2's node at a point (an area of no size, so every flash lands on it).
    const Bulbulator::Bulb& OneBulbAt(int x, int y)
    {
        const std::string path = WriteBulbs("one.txt", "bulb " + std::to_string(x) + " " + std::to_string(y) + " 0 0\n");
        node.rect = {x - 10, y - 10, 20, 20};
        EXPECT_TRUE(bulbs.Load({&node}, path));
        EXPECT_EQ(bulbs.GetBulbs().size(), 1u);
        return bulbs.GetBulbs().front();
    }
    // Updates until the bulb flashes; false when it never does.
    bool UntilFlash(const Bulbulator::Bulb& bulb)
    {
        for (int i = 0; i < 2000 && !bulb.sprite.mClock.IsPlaying(); ++i)
            bulbs.Update(0.01f);
        return bulb.sprite.mClock.IsPlaying();
    }
    void UntilFlashEnds(const Bulbulator::Bulb& bulb)
    {
        for (int i = 0; i < 1000 && bulb.sprite.mClock.IsPlaying(); ++i)
            bulbs.Update(0.01f);
    }

    FakeServices services;
    MapParts::Campaign campaign;
    Bulbulator bulbs{services, campaign.levels};
    FakeNode node{2, {}};
};

TEST_F(BulbTest, EachLineGoesToTheFirstOverlappingNodeOfAnOpenGroup)
{
    campaign.progress.CompleteLevels(3); // group 1 complete
    FakeNode first(1, {0, 0, 48, 48});
    FakeNode second(2, {100, 0, 48, 48});
    FakeNode third(3, {120, 0, 48, 48});
    FakeNode last(24, {300, 0, 48, 48});
    const std::string path = WriteBulbs("bulbs.txt", "# areas\n"
                                                     "over_done 40 40 20 20\n"
                                                     "edge_only 48 0 52 10\n"
                                                     "\n"
                                                     "both 125 10 5 5\n"
                                                     "vert_big 310 10 5 5\n");
    ASSERT_TRUE(bulbs.Load({&first, &second, &third, &last}, path));
    const auto& list = bulbs.GetBulbs();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].node, &second);
    EXPECT_EQ(list[0].area, Quoll::Rect(125, 10, 5, 5));
    EXPECT_EQ(list[0].sprite.mImage, services.Named("IMAGE_BULB_H_1"));
    EXPECT_GE(list[0].timer, 0.0f);
    EXPECT_LE(list[0].timer, 15.0f);
    // The last group shows the boss's bulbs, with the vertical frames.
    EXPECT_EQ(list[1].node, &last);
    EXPECT_EQ(list[1].sprite.mImage, services.Named("IMAGE_BULB_V_6BIG"));
    EXPECT_EQ(list[1].sprite.mClock.GetAnimation(), services.GetFrameAnimation(services.Named("IMAGE_BULB_V_1")));

    EXPECT_FALSE(bulbs.Load({&first}, "no/such/bulbs.txt"));
}

TEST(BulbImages, TheImageTableHasNoneWhereAnEpisodeHasNoSuchBulb)
{
    EXPECT_STREQ(Bulbulator::GetBulbImage(1, false, false), "IMAGE_BULB_H_1");
    EXPECT_STREQ(Bulbulator::GetBulbImage(1, true, true), nullptr);
    EXPECT_STREQ(Bulbulator::GetBulbImage(2, false, true), nullptr);
    EXPECT_STREQ(Bulbulator::GetBulbImage(4, true, false), "IMAGE_BULB_V_4");
    EXPECT_STREQ(Bulbulator::GetBulbImage(5, true, true), "IMAGE_BULB_V_5BIG");
    EXPECT_STREQ(Bulbulator::GetBulbImage(6, false, false), nullptr);
    EXPECT_STREQ(Bulbulator::GetBulbImage(6, false, true), "IMAGE_BULB_H_6BIG");
    EXPECT_STREQ(Bulbulator::GetBulbImage(0, false, false), nullptr);
    EXPECT_STREQ(Bulbulator::GetBulbImage(7, false, false), nullptr);
}

TEST_F(BulbTest, PopsAreLouderFartherAwayAndSilentFrom700Pixels)
{
    const auto& bulb = OneBulbAt(300, 400);
    // Flashes land with the image's centre on the area: top-left at (268, 384).
    services.mouse = {268, 384};
    ASSERT_TRUE(UntilFlash(bulb));
    EXPECT_EQ(bulb.drawX, 268.0f);
    EXPECT_EQ(bulb.drawY, 384.0f);
    ASSERT_EQ(services.sounds.size(), 1u);
    EXPECT_EQ(services.sounds[0].name, "SOUND_BULB_POP1");
    EXPECT_FLOAT_EQ(services.sounds[0].volume, 0.05f);
    // Left of the middle: a pan to the left, in proportion to the distance from the middle.
    EXPECT_FLOAT_EQ(services.sounds[0].pan, (268.0f - 512.0f) / 512.0f * 10.0f);

    UntilFlashEnds(bulb);
    services.mouse = {268 + 350, 384};
    ASSERT_TRUE(UntilFlash(bulb));
    ASSERT_EQ(services.sounds.size(), 2u);
    EXPECT_FLOAT_EQ(services.sounds[1].volume, 0.075f);

    UntilFlashEnds(bulb);
    services.mouse = {268 + 699.5f, 384};
    ASSERT_TRUE(UntilFlash(bulb));
    ASSERT_EQ(services.sounds.size(), 3u);
    EXPECT_NEAR(services.sounds[2].volume, 0.1f, 0.0001f);

    UntilFlashEnds(bulb);
    services.mouse = {268, 384 + 700};
    ASSERT_TRUE(UntilFlash(bulb));
    EXPECT_EQ(services.sounds.size(), 3u);
}

TEST_F(BulbTest, PopsAtTheScreensEdgesPanByAThirdOfTheMixersRange)
{
    // The game plays a pan of 1 as 300 hundredths of a decibel, of the mixer's 10,000.
    constexpr float kAppPanScale = 300.0f;
    // Flashes at the left and right edges (the image is 64 wide), heard from the middle.
    node.rect = {0, 0, 1100, 800};
    ASSERT_TRUE(bulbs.Load({&node}, WriteBulbs("edges.txt", "left 32 400 0 0\nright 1056 400 0 0\n")));
    services.mouse = {512, 384};
    // Each bulb's first flash comes within 15 s.
    for (int i = 0; i < 1600; ++i)
        bulbs.Update(0.01f);
    ASSERT_GE(services.sounds.size(), 2u);
    std::vector<float> pans;
    for (const auto& sound : services.sounds)
        pans.push_back(sound.pan * kAppPanScale);
    std::sort(pans.begin(), pans.end());
    EXPECT_FLOAT_EQ(pans.front(), -3000.0f);
    EXPECT_FLOAT_EQ(pans.back(), 3000.0f);
}

TEST_F(BulbTest, BulbsOverTheHoveredGroupPopSoonerAndFaster)
{
    const auto& bulb = OneBulbAt(300, 400);
    float longestHovered = 0, longestOther = 0;
    for (int round = 0; round < 60; ++round)
    {
        const bool hovered = round % 2 == 0;
        bulbs.mHoveredGroup = hovered ? 2 : 5;
        ASSERT_TRUE(UntilFlash(bulb));
        EXPECT_GE(bulb.sprite.mClock.mSpeed, hovered ? 1.2f : 1.0f);
        EXPECT_LE(bulb.sprite.mClock.mSpeed, hovered ? 1.7f : 1.5f);
        UntilFlashEnds(bulb);
        (hovered ? longestHovered : longestOther) = std::max(hovered ? longestHovered : longestOther, bulb.timer);
    }
    EXPECT_LE(longestHovered, 2.0f);
    EXPECT_LE(longestOther, 3.0f);
    EXPECT_GT(longestOther, 2.0f);
}

TEST_F(BulbTest, BulbsWaitWhileTheirNodeIsNotSettledOrIsHoveredAndStopForGood)
{
    const auto& bulb = OneBulbAt(300, 400);
    const float timer = bulb.timer;
    node.shown = false;
    bulbs.Update(20.0f);
    EXPECT_EQ(bulb.timer, timer);
    node.shown = true;
    node.glow = 0.5f;
    bulbs.Update(20.0f);
    EXPECT_EQ(bulb.timer, timer);
    EXPECT_FALSE(bulb.sprite.mClock.IsPlaying());

    node.glow = 0;
    bulbs.Update(20.0f);
    ASSERT_TRUE(bulb.sprite.mClock.IsPlaying());
    // A flash under way finishes after Stop; no new one starts.
    bulbs.Stop();
    UntilFlashEnds(bulb);
    EXPECT_FALSE(bulb.sprite.mClock.IsPlaying());
    for (int i = 0; i < 10; ++i)
        bulbs.Update(20.0f);
    EXPECT_FALSE(bulb.sprite.mClock.IsPlaying());
    EXPECT_EQ(services.sounds.size(), 1u);
}

TEST_F(BulbTest, ABulbThatCannotShowNeverPops)
{
    // Episode 2 has no big horizontal bulb.
    node.group = 7;
    const std::string path = WriteBulbs("big.txt", "big 300 400 0 0\n");
    node.rect = {290, 390, 20, 20};
    ASSERT_TRUE(bulbs.Load({&node}, path));
    ASSERT_EQ(bulbs.GetBulbs().size(), 1u);
    EXPECT_EQ(bulbs.GetBulbs()[0].sprite.mImage, nullptr);
    for (int i = 0; i < 50; ++i)
        bulbs.Update(1.0f);
    EXPECT_TRUE(services.sounds.empty());
}

// --- Sparkles ------------------------------------------------------------------------------------

struct SparkleTest : ::testing::Test
{
    SparkleTest()
    {
        services.AddImage("IMAGE_STAR", 128, 32, 0xFFFFFF80u, 4);
        services.SetAnimation("IMAGE_STAR", 4, 100);
    }
    FakeServices services;
    MapSparkles sparkles{services};
};

TEST_F(SparkleTest, NothingParkedNothingFlies)
{
    sparkles.Start(0.0f, 1.0f);
    EXPECT_TRUE(std::isfinite(sparkles.GetMinInterval()));
    EXPECT_TRUE(std::isfinite(sparkles.GetMaxInterval()));
    for (int i = 0; i < 1000; ++i)
        sparkles.Update(0.01f);
    EXPECT_TRUE(sparkles.GetFlying().empty());
}

TEST_F(SparkleTest, AtMostThreeFlyNearTheirMedalsAndGoBackWhenTheirNodeGlows)
{
    std::vector<std::unique_ptr<FakeNode>> nodes;
    for (int g = 1; g <= 6; ++g)
    {
        nodes.push_back(std::make_unique<FakeNode>(g, Quoll::Rect{100 * g, 200, 48, 48}));
        sparkles.AddParked(nodes.back().get());
    }
    sparkles.Start(0.0f, 1.0f);
    EXPECT_FLOAT_EQ(sparkles.GetMinInterval(), 0.5f);
    EXPECT_FLOAT_EQ(sparkles.GetMaxInterval(), 1.5f);

    size_t most = 0;
    int launches = 0;
    size_t flyingBefore = 0;
    for (int i = 0; i < 3000; ++i)
    {
        sparkles.Update(0.01f);
        const auto& flying = sparkles.GetFlying();
        most = std::max(most, flying.size());
        if (flying.size() > flyingBefore)
        {
            ++launches;
            const auto& entry = *flying.back();
            const FloatPoint anchor = entry.node->GetMedalAnchor();
            EXPECT_LE(std::hypot(entry.x - anchor.x, entry.y - anchor.y), entry.radius + 0.01f);
        }
        flyingBefore = flying.size();
        EXPECT_EQ(flying.size() + sparkles.CountParked(), 6u);
    }
    EXPECT_GT(launches, 10);
    EXPECT_LE(most, 3u);

    // Every node glows: flying stars go back at the next update and none launches.
    for (auto& node : nodes)
        node->glow = 1.0f;
    for (int i = 0; i < 300; ++i)
    {
        sparkles.Update(0.01f);
        EXPECT_TRUE(sparkles.GetFlying().empty());
    }
}
} // namespace

// Frame animations: the step and delay rules of a pass, forth-and-back passes, the ".anim"
// reader (its keywords, its tolerance of damaged lines, reloads into an existing record) and the
// cache that hands out one record per image. Rerun one case:
// test_scene --gtest_filter='FrameAnimation*.Name'.
#include "SceneTestDoubles.h"
#include "game/scene/FrameAnimationCache.h"

#include <gtest/gtest.h>

namespace
{
struct FrameAnimationFile : ::testing::Test
{
    FakeSceneServices services;
    FrameAnimationCache cache{services};

    // Loads a fixture under id 1 and returns its record.
    const FrameAnimation& Load(const std::string& name)
    {
        EXPECT_TRUE(cache.LoadFrameAnimation(SceneDataPath(name), 1));
        return *cache.Find(1);
    }

    // The cels shown at the given times.
    static std::vector<uint32_t> CelsAt(const FrameAnimation& animation, const std::vector<uint32_t>& times)
    {
        std::vector<uint32_t> cels;
        for (uint32_t t : times)
            cels.push_back(animation.GetFrameAt(t));
        return cels;
    }
};
} // namespace

TEST_F(FrameAnimationFile, PlainPassWrapsAfterItsEndButShowsTheLastStepAtTheEnd)
{
    const FrameAnimation& a = Load("plain.anim");
    EXPECT_EQ(a.GetDuration(), 400u);
    EXPECT_EQ(CelsAt(a, {0, 99, 100, 350, 399, 400, 401, 1450}), (std::vector<uint32_t>{0, 0, 1, 3, 3, 3, 0, 2}));
}

TEST_F(FrameAnimationFile, PingPongPlaysForthAndBack)
{
    const FrameAnimation& a = Load("pingpong.anim");
    EXPECT_EQ(a.GetFrameCount(), 6u);
    EXPECT_EQ(a.GetSteps(), (std::vector<uint32_t>{0, 1, 2, 3, 2, 1}));
    EXPECT_EQ(a.GetDuration(), 600u);
    EXPECT_EQ(CelsAt(a, {450, 550}), (std::vector<uint32_t>{2, 1}));
}

TEST_F(FrameAnimationFile, PingPongOfTwoShowsCelZeroThroughout)
{
    const FrameAnimation& a = Load("pingpong2.anim");
    EXPECT_EQ(a.GetSteps(), (std::vector<uint32_t>{0, 0}));
    EXPECT_EQ(a.GetDuration(), 200u);
    EXPECT_EQ(CelsAt(a, {0, 150, 200}), (std::vector<uint32_t>{0, 0, 0}));
}

TEST_F(FrameAnimationFile, CustomDelaysSetEachStepsLength)
{
    const FrameAnimation& a = Load("delays.anim");
    EXPECT_EQ(a.GetDuration(), 60u);
    EXPECT_EQ(CelsAt(a, {0, 9, 10, 29, 30, 60, 61}), (std::vector<uint32_t>{0, 0, 1, 1, 2, 2, 0}));
}

TEST_F(FrameAnimationFile, CustomFramesMapStepsToCels)
{
    const FrameAnimation& a = Load("frames.anim");
    EXPECT_EQ(CelsAt(a, {0, 50, 100}), (std::vector<uint32_t>{5, 5, 7}));
}

TEST_F(FrameAnimationFile, CommentsOnlyGiveAnEmptyRecordAndSuccess)
{
    const FrameAnimation& a = Load("comments.anim");
    EXPECT_EQ(a.GetFrameCount(), 0u);
    EXPECT_EQ(a.GetDuration(), 0u);
    EXPECT_EQ(a.GetFrameAt(123), 0u);
    EXPECT_TRUE(services.log.empty());
}

TEST_F(FrameAnimationFile, DamagedLinesAreSkippedOrCutWithWarnings)
{
    const FrameAnimation& a = Load("bad.anim");
    // Every FRAMEANIMATION line is refused (count 0, too few values, too many frames, negative
    // delay) and the lowercase one is another keyword; the lists stop at their bad values.
    EXPECT_EQ(a.GetFrameCount(), 0u);
    EXPECT_EQ(a.GetSteps(), std::vector<uint32_t>{4});
    EXPECT_EQ(a.GetDelays(), std::vector<uint32_t>{30});
    EXPECT_EQ(services.log.size(), 6u);
    for (const std::string& line : services.log)
        EXPECT_EQ(line.rfind("WARNING: LoadFrameAnimation: ", 0), 0u) << line;
    // Delays without steps: still cel 0, never a step past the end.
    EXPECT_EQ(a.GetFrameAt(10), 0u);
}

TEST_F(FrameAnimationFile, AnUnopenableFileIsLoggedAndLeavesAnEmptyRecord)
{
    EXPECT_FALSE(cache.LoadFrameAnimation(SceneDataPath("missing.anim"), 7));
    ASSERT_NE(cache.Find(7), nullptr);
    EXPECT_EQ(cache.Find(7)->GetFrameCount(), 0u);
    EXPECT_EQ(services.log,
              std::vector<std::string>{"ERROR: LoadFrameAnimation: cannot open file: " + SceneDataPath("missing.anim")});
}

TEST_F(FrameAnimationFile, ReloadingParsesIntoTheExistingRecord)
{
    Load("frames.anim");
    // A second file sets a forth-and-back pass, which rewrites the step list it owns.
    const FrameAnimation& a = Load("pingpong.anim");
    EXPECT_EQ(a.GetSteps(), (std::vector<uint32_t>{0, 1, 2, 3, 2, 1}));
    // A plain pass keeps the steps set before it.
    const FrameAnimation& b = Load("plain.anim");
    EXPECT_EQ(b.GetFrameCount(), 4u);
    EXPECT_EQ(CelsAt(b, {0, 100, 200, 300}), (std::vector<uint32_t>{0, 1, 2, 3}));
    EXPECT_EQ(b.GetSteps().size(), 6u);
}

TEST(FrameAnimation, ListsGrowWithZeroStepsAndDefaultDelays)
{
    FrameAnimation a;
    a.Init(25, 4, false);
    a.SetFrameIndex(2, 9);
    a.SetDelay(2, 100);
    EXPECT_EQ(a.GetSteps(), (std::vector<uint32_t>{0, 0, 9}));
    EXPECT_EQ(a.GetDelays(), (std::vector<uint32_t>{25, 25, 100}));
    // The delay list now rules the duration; the fourth step has none and is reached at the end.
    EXPECT_EQ(a.GetDuration(), 150u);
    EXPECT_EQ(a.GetFrameAt(60), 9u);
    EXPECT_EQ(a.GetFrameAt(150), 3u);
}

TEST(FrameAnimation, EmptyAndZeroDelayAnimationsShowCelZero)
{
    FrameAnimation none;
    EXPECT_EQ(none.GetFrameAt(0), 0u);
    EXPECT_EQ(none.GetFrameAt(1000), 0u);
    FrameAnimation zeroDelay;
    zeroDelay.Init(0, 5, false);
    EXPECT_EQ(zeroDelay.GetDuration(), 0u);
    EXPECT_EQ(zeroDelay.GetFrameAt(77), 0u);
    FrameAnimation single;
    single.Init(100, 1, true);
    EXPECT_EQ(single.GetFrameCount(), 0u);
}

TEST(FrameAnimation, DurationSaturatesInsteadOfWrapping)
{
    FrameAnimation a;
    a.Init(0x80000000u, 4, false);
    EXPECT_EQ(a.GetDuration(), 0xFFFFFFFFu);
}

// --- The cache -------------------------------------------------------------------------------------

TEST(FrameAnimationCache, AddReplacesAndFindHandsOutStablePointers)
{
    FakeSceneServices services;
    FrameAnimationCache cache(services);
    EXPECT_EQ(cache.Find(3), nullptr);
    FrameAnimation first;
    first.Init(10, 2, false);
    cache.Add(3, first);
    FrameAnimation* stored = cache.Find(3);
    for (int id = 100; id < 200; ++id)
        cache.Add(id, FrameAnimation());
    FrameAnimation second;
    second.Init(20, 5, false);
    cache.Add(3, second);
    EXPECT_EQ(cache.Find(3), stored);
    EXPECT_EQ(stored->GetDuration(), 100u);
}

TEST(FrameAnimationCache, AnImagesAnimationIsLoadedOnceOrCachedEmptyWithOneWarning)
{
    FakeSceneServices services;
    auto walker = MakeSourceImage(SceneDataPath("walker.png"), 64, 16, 4, 1);
    auto blinker = MakeSourceImage(SceneDataPath("blinker.png"), 32, 16, 2, 1);
    services.Register(300, "IMAGE_WALKER", walker.get());
    services.Register(301, "IMAGE_BLINKER", blinker.get());

    FrameAnimation* a = services.GetFrameAnimation(walker.get());
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetDuration(), 1000u);
    EXPECT_EQ(services.animations.Find(300), a);
    EXPECT_EQ(services.GetFrameAnimation(walker.get()), a);

    FrameAnimation* empty = services.GetFrameAnimation(blinker.get());
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->GetFrameCount(), 0u);
    EXPECT_EQ(services.GetFrameAnimation(blinker.get()), empty);
    EXPECT_EQ(services.log, std::vector<std::string>{"WARNING: Not found file: " + SceneDataPath("blinker.png.anim")});

    EXPECT_EQ(services.GetFrameAnimation(nullptr), nullptr);
}

// A picture of one cel (the boss, a bonus) has nothing to animate: its animation is empty, and
// no file is looked for or missed on the log.
TEST(FrameAnimationCache, ASingleCelImageIsStillWithoutLookingForAFile)
{
    FakeSceneServices services;
    auto still = MakeSourceImage(SceneDataPath("still.png"), 16, 16);
    services.Register(302, "IMAGE_STILL", still.get());
    FrameAnimation* empty = services.GetFrameAnimation(still.get());
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->GetFrameCount(), 0u);
    EXPECT_EQ(services.GetFrameAnimation(still.get()), empty);
    EXPECT_TRUE(services.log.empty()) << services.log.front();
}

TEST(FrameAnimationCache, EmotionAnimationsLoadUnderTheirFixedIds)
{
    FakeSceneServices services;
    services.animations.LoadEmotionAnimations(SceneDataPath("emotions/"));
    EXPECT_EQ(services.animations.GetCount(), 11u);
    EXPECT_EQ(services.animations.Find(457)->GetDuration(), 200u);
    EXPECT_EQ(services.animations.Find(470)->GetFrameCount(), 8u);
    EXPECT_EQ(services.animations.Find(463)->GetFrameCount(), 0u);
    EXPECT_EQ(services.animations.Find(464), nullptr);
    EXPECT_EQ(services.log.size(), 9u);
}

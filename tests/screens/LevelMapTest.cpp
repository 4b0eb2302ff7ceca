// The level map: the menu's slide, the gloria transition to a level (with and without particle
// systems, and for a complete group), the medal celebration, input only while idle, the frame
// time's cap, the snapshot mode's plain picture, fans opening under the mouse, and golden images
// on the 2D path.
// Rerun one case: test_screens --gtest_filter='LevelMap*'.
#include "LevelMapTestDoubles.h"
#include "ScreenGallery.h"
#include "framework/display/Image.h"
#include "game/screens/LevelMap.h"
#include "game/screens/LevelRay.h"
#include "game/screens/LevelSelector.h"
#include "game/ui/Button.h"
#include "game/ui/GameColors.h"
#include "tests/GoldenImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace
{
using Commands = std::vector<std::pair<int, int>>;

std::string TestName()
{
    return ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

class LevelMapTest : public ::testing::Test
{
protected:
    explicit LevelMapTest(bool gallery = false)
    {
        if (gallery)
            mHarness = ScreenTest::MakeGalleryHarness();
        if (!mHarness)
            mHarness = std::make_unique<ScreenTest::ScreenHarness>();
        MapTest::AddMapResources(harness().ui);
        RevealGroup = -1;
        MapSnapshotMode = false;
        Quoll::LevelMap::ResetStartBlink();
    }
    ~LevelMapTest() override
    {
        harness().host.ExitAll();
        harness().ui.RunDeferredDeletes();
        RevealGroup = -1;
        MapSnapshotMode = false;
    }

    ScreenTest::ScreenHarness& harness() { return *mHarness; }

    // Shows a map built for the progress as it stands, focused as the state would.
    Quoll::LevelMap& Show(bool withIntro = false, int level = -1, int group = -1)
    {
        world.list.BuildLevelTable();
        map = harness().Show(new Quoll::LevelMap(world.services));
        map->SetIntroFactory([this](Quoll::LevelMap&) {
            auto made = std::make_unique<MapTest::ScriptedIntro>();
            intro = made.get();
            return made;
        });
        map->SetIntroEndedHandler([this] { ++introEnds; });
        EXPECT_TRUE(map->BuildMap(withIntro));
        map->FocusOnGroup(level, group);
        return *map;
    }
    // Updates of the map, the last of them with a drawn frame (drawing every frame is slow).
    void Run(int updates = 1)
    {
        for (int i = 1; i < updates; ++i)
            map->Update();
        harness().Run(1);
    }
    // Runs until the map's state is the one given (at most `limit` updates); the updates taken.
    int RunUntilState(int state, int limit = 500)
    {
        int updates = 0;
        while (map->GetState() != state && updates < limit)
        {
            map->Update();
            ++updates;
        }
        return updates;
    }
    void MouseTo(int x, int y)
    {
        world.services.mouse = {static_cast<float>(x), static_cast<float>(y)};
        harness().ui.manager.MouseMove(x, y);
    }
    void MouseToNode(int group)
    {
        const FloatPoint at = map->GetMapPoints().GetPoint(group - 1)->GetPosition();
        MouseTo(static_cast<int>(at.x), static_cast<int>(at.y));
    }
    // The centre of a ray's cell as it stands.
    std::pair<int, int> CellCentre(int group, int index)
    {
        const Quoll::Rect r = map->GetSelectors().GetSelector(group - 1)->GetRay(index)->GetCellRect();
        return {r.x + r.width / 2, r.y + r.height / 2};
    }
    // Ensures the systems a transition to a level of group 1 spawns: the flight and the landing.
    void ScriptTransition()
    {
        world.services.scripts[12] = {10, 30, 20};
        world.services.scripts[37] = {10, 0, 0};
    }
    [[nodiscard]] std::vector<uint32_t> Screen()
    {
        const uint32_t* bits = harness().ui.screen.GetBits();
        return {bits, bits + harness().ui.appWidth * harness().ui.appHeight};
    }

    MapTest::MapFolder folder{TestName()};
    MapTest::MapWorld world;
    Quoll::LevelMap* map = nullptr;
    MapTest::ScriptedIntro* intro = nullptr;
    int introEnds = 0;

private:
    std::unique_ptr<ScreenTest::ScreenHarness> mHarness;
};

TEST_F(LevelMapTest, TheMenuSlidesInWithinPoint84Seconds)
{
    Show();
    Run(84);
    EXPECT_LT(map->GetMenuSlide(), 1.0f);
    EXPECT_EQ(map->GetSlideDirection(), 1);
    Run();
    EXPECT_EQ(map->GetMenuSlide(), 1.0f);
    EXPECT_EQ(map->GetSlideDirection(), 0);
    EXPECT_EQ(map->GetButton(Quoll::LevelMap::kMainMenu)->mX, 13);
    EXPECT_EQ(map->GetButton(Quoll::LevelMap::kStart)->mX, 478);
    EXPECT_EQ(map->GetButton(Quoll::LevelMap::kAchievements)->mX, 930);
    EXPECT_EQ(map->GetPlainCaption(), L"ann 1234");
}

TEST_F(LevelMapTest, StartingALevelFliesTheGloriaAndSendsThreeOnce)
{
    ScriptTransition();
    Show();
    Run(100);
    harness().ui.sounds.clear();
    map->StartLevel(1);
    EXPECT_TRUE(map->GetButton(Quoll::LevelMap::kStart)->mDisabled);
    EXPECT_EQ(map->GetState(), Quoll::LevelMap::kGloriaRise);

    // The rise: 0.5 s with the gloria over the beaker, keys and clicks ignored.
    harness().Key(Quoll::LevelMap::kKeyEscape);
    Run(50);
    EXPECT_EQ(map->GetState(), Quoll::LevelMap::kGloriaRise);
    EXPECT_NE(map->GetGloriaImage(), nullptr);
    std::vector<int> states;
    for (int u = 0; u < 200 && map->GetState() != Quoll::LevelMap::kFinished; ++u)
    {
        map->Update();
        if (states.empty() || states.back() != map->GetState())
            states.push_back(map->GetState());
    }
    EXPECT_EQ(states, (std::vector<int>{4, 5, 6}));
    Run(20);
    EXPECT_EQ(harness().Commands(), (Commands{{3, 1}}));
    // The flight left its mask after 20 updates: the landing burst at the last point inside.
    ASSERT_EQ(world.services.SpawnedIds(), (std::vector<int>{12, 37}));
    EXPECT_EQ(world.services.spawns[1].x, 100.0f + 19.0f);
    EXPECT_EQ(world.services.spawns[0].x, 0.0f);
    EXPECT_EQ(harness().ui.SoundNames(),
              (std::vector<std::string>{"SOUND_GLORIA_SHOW", "SOUND_GLORIA_FLY", "SOUND_GLORIA_FLYEND"}));
    EXPECT_EQ(world.services.soundStops, 1);
    EXPECT_EQ(map->GetGloriaImage(), nullptr);
    EXPECT_EQ(map->GetChosenLevel(), 0);
    EXPECT_EQ(map->GetMenuSlide(), 0.0f);
}

TEST_F(LevelMapTest, WithoutParticleSystemsTheTransitionStillEnds)
{
    Show();
    map->StartLevel(2);
    // The flight finds no effect and passes on in the update it began.
    const int rise = RunUntilState(Quoll::LevelMap::kGloriaLanding);
    EXPECT_GE(rise, 50);
    EXPECT_LE(rise, 51);
    EXPECT_EQ(RunUntilState(Quoll::LevelMap::kFinished), 1);
    Run(10);
    EXPECT_EQ(harness().Commands(), (Commands{{3, 2}}));
    EXPECT_EQ(harness().ui.CountLog("ERROR"), 0);
}

TEST_F(LevelMapTest, ACompleteGroupShowsNoGloriaAndGoesStraightOn)
{
    ScriptTransition();
    world.progress.CompleteLevels(3);
    Show();
    map->StartLevel(2);
    Run();
    EXPECT_EQ(map->GetState(), Quoll::LevelMap::kGloriaLanding);
    EXPECT_EQ(map->GetGloriaImage(), nullptr);
    Run();
    EXPECT_EQ(map->GetState(), Quoll::LevelMap::kFinished);
    Run(5);
    EXPECT_EQ(harness().Commands(), (Commands{{3, 2}}));
    EXPECT_TRUE(world.services.spawns.empty());
}

TEST_F(LevelMapTest, AJustCompletedGroupIsCelebratedWithItsMedal)
{
    world.progress.CompleteLevels(15, 2);
    world.progress.SetLevelResult(14, 1, 1);
    world.services.scripts[10] = {20, 0, 0};
    Show(false, 15, 5);
    EXPECT_EQ(map->GetState(), Quoll::LevelMap::kCelebration);
    EXPECT_EQ(map->GetMapPoints().GetPoint(4)->state, MapPoint::kFadingIn);
    // Group 5 is the first episode's special group.
    EXPECT_EQ(world.services.events, std::vector<int>{25});
    Run(99);
    EXPECT_TRUE(world.services.spawns.empty());
    Run(2);
    ASSERT_EQ(world.services.SpawnedIds(), std::vector<int>{10});
    const FloatPoint anchor = map->GetMapPoints().GetPoint(4)->GetMedalAnchor();
    EXPECT_EQ(world.services.spawns[0].x, anchor.x);
    EXPECT_EQ(world.services.spawns[0].y, anchor.y);
    EXPECT_EQ(harness().ui.SoundNames().back(), "SOUND_MEDALEVEL_COMPLETE");
    EXPECT_TRUE(map->IsBusy());
    EXPECT_LE(RunUntilState(Quoll::LevelMap::kIdle), 21);
    // Not every level is gold: no all-gold event.
    EXPECT_EQ(world.services.events, std::vector<int>{25});
}

TEST_F(LevelMapTest, EveryLevelGoldRaisesTheAllGoldEventAfterTheCelebration)
{
    world.progress.CompleteLevels(70, 2);
    Show(false, 70, 24);
    RunUntilState(Quoll::LevelMap::kIdle);
    EXPECT_EQ(world.services.events, std::vector<int>{24});
    // All complete: the start button no longer blinks, the reveal starts at the first group.
    EXPECT_EQ(RevealGroup > 1, true);
    Run(30);
    EXPECT_EQ(map->GetButton(Quoll::LevelMap::kStart)->GetColor(0), ColorLabel);
}

TEST_F(LevelMapTest, KeysAndClicksWaitForTheIntroToEnd)
{
    Show(true);
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(map->GetState(), Quoll::LevelMap::kIntro);
    EXPECT_EQ(world.services.songs, std::vector<int>{2});
    EXPECT_TRUE(map->GetButton(Quoll::LevelMap::kSkipIntro)->mVisible);
    harness().Key(Quoll::LevelMap::kKeyEnter);
    harness().Key(Quoll::LevelMap::kKeyEscape);
    MouseToNode(1);
    Run(50);
    EXPECT_EQ(map->GetSelectors().GetHoveredGroup(), -1);
    EXPECT_TRUE(harness().Commands().empty());
    EXPECT_EQ(intro->updates, 50);
    EXPECT_GT(intro->backDraws, 0);
    EXPECT_GT(intro->frontDraws, 0);
    EXPECT_EQ(map->GetMapPoints().GetPoint(0)->state, MapPoint::kDone);

    intro->finished = true;
    Run();
    EXPECT_EQ(map->GetState(), Quoll::LevelMap::kIdle);
    EXPECT_FALSE(map->HasIntro());
    EXPECT_FALSE(map->GetButton(Quoll::LevelMap::kSkipIntro)->mVisible);
    EXPECT_EQ(map->GetMapPoints().GetPoint(0)->state, MapPoint::kShown);
    EXPECT_EQ(world.services.songs, (std::vector<int>{2, 1}));
    EXPECT_EQ(introEnds, 1);
    harness().Key(Quoll::LevelMap::kKeyEnter);
    harness().Key(Quoll::LevelMap::kKeyEscape);
    EXPECT_EQ(harness().Commands(), (Commands{{2, 1}, {0, 0}}));
}

TEST_F(LevelMapTest, HoldingTheSkipButtonEndsTheIntro)
{
    Show(true);
    const Quoll::Button& skip = *map->GetButton(Quoll::LevelMap::kSkipIntro);
    MouseTo(skip.mX + 20, skip.mY + 20);
    harness().ui.manager.MouseDown(skip.mX + 20, skip.mY + 20, 1);
    Run();
    EXPECT_EQ(map->GetState(), Quoll::LevelMap::kIdle);
    EXPECT_EQ(introEnds, 1);
    EXPECT_FALSE(map->HasIntro());
}

TEST_F(LevelMapTest, HoveringAGroupOpensItsFanFromTheNextUpdate)
{
    Show();
    Run(100);
    EXPECT_NE(map->GetArrowPosition().x, 0.0f);
    MouseToNode(1);
    EXPECT_EQ(map->GetSelectors().GetHoveredGroup(), 1);
    EXPECT_TRUE(map->GetMapPoints().GetPoint(0)->highlighted);
    LevelRay& ray = *map->GetSelectors().GetSelector(0)->GetRay(0);
    EXPECT_EQ(ray.GetExtension(), 0.0f);
    Run();
    EXPECT_FLOAT_EQ(ray.GetExtension(), 0.03f);
    // The arrow gives way to the open fan.
    EXPECT_EQ(map->GetArrowPosition().x, 0.0f);
}

TEST_F(LevelMapTest, OnlyALeftClickOnAnOpenCellChoosesItsLevel)
{
    Show();
    Run(100);
    MouseToNode(1);
    Run(40);
    const auto [x, y] = CellCentre(1, 1);
    MouseTo(x, y);
    harness().ui.manager.MouseDown(x, y, -1);
    harness().ui.manager.MouseUp(x, y, -1);
    EXPECT_TRUE(harness().Commands().empty());
    harness().ui.manager.MouseDown(x, y, 1);
    harness().ui.manager.MouseUp(x, y, 1);
    EXPECT_EQ(harness().Commands(), (Commands{{2, 2}}));
    // Off the cells nothing is chosen.
    MouseToNode(1);
    harness().ui.manager.MouseDown(x - 200, y, 1);
    EXPECT_EQ(harness().Commands().size(), 1u);
}

TEST_F(LevelMapTest, AFrameOfHalfASecondCountsAsATenth)
{
    world.services.frameTime = 0.5f;
    Show();
    Run(2);
    EXPECT_FLOAT_EQ(map->GetMenuSlide(), 0.12f);
    map->StartLevel(1);
    Run();
    EXPECT_FLOAT_EQ(map->GetTimer(), 0.1f);
}

TEST_F(LevelMapTest, SnapshotModeDrawsThePlainMap)
{
    world.progress.CompleteLevels(3, 2);
    world.progress.GetNullTutorial().AddLevelWithSteps(4);
    world.services.newAchievements = true;
    Show();
    Run(120);
    const MapPoint& done = *map->GetMapPoints().GetPoint(0);
    const int medalX = done.medalX + 33;
    const int medalY = done.medalY + 33;
    const FloatPoint arrow = map->GetArrowPosition();
    ASSERT_NE(arrow.x, 0.0f);
    const auto arrowShown = [&] {
        for (int y = static_cast<int>(arrow.y) - 80; y < static_cast<int>(arrow.y); ++y)
            if ((harness().ui.Pixel(static_cast<int>(arrow.x), y) & 0xFFFFFF) == 0xFFD000)
                return true;
        return false;
    };
    const uint32_t mapFill = harness().ui.Pixel(512, 20);
    EXPECT_NE(harness().ui.Pixel(medalX, medalY), mapFill);
    EXPECT_TRUE(arrowShown());
    EXPECT_NE(harness().ui.Pixel(926, 32), mapFill);

    MapSnapshotMode = true;
    const int draws = world.services.particleDraws;
    Run();
    EXPECT_EQ(world.services.particleDraws, draws);
    EXPECT_EQ(harness().ui.Pixel(medalX, medalY), mapFill);
    EXPECT_FALSE(arrowShown());
    EXPECT_EQ(harness().ui.Pixel(926, 32), mapFill);

    // An open fan is left out too; its locked cells would be grey.
    MapSnapshotMode = false;
    MouseToNode(2);
    Run(40);
    const auto [openX, openY] = CellCentre(2, 0);
    const auto [lockedX, lockedY] = CellCentre(2, 2);
    (void)openX;
    (void)openY;
    const uint32_t lockedPixel = harness().ui.Pixel(lockedX, lockedY);
    EXPECT_NE(lockedPixel, mapFill);
    MapSnapshotMode = true;
    Run();
    EXPECT_EQ(harness().ui.Pixel(lockedX, lockedY), mapFill);
}

TEST_F(LevelMapTest, ThePartsFollowTheMapBulbsSparklesAndTheRandomPanel)
{
    std::filesystem::copy_file(QUOLL_SOURCE_DIR "/data/art/textures/map/bulbs.txt", Bulbulator::kBulbsFile);
    world.services.play.AddImage("IMAGE_RND_PROBIRKA", 32, 72, 0x80C0E0F0u);
    for (int i = 1; i <= 5; ++i)
        world.services.play.AddImage("IMAGE_RND_PROBIRKA_FILL" + std::to_string(i), 24, 60, 0xFF40C040u);
    world.progress.CompleteLevels(15);
    Show();
    // Stars wait at the five complete groups; bulbs only over groups still to play.
    EXPECT_EQ(map->GetSparkles().CountParked(), 5u);
    ASSERT_FALSE(map->GetBulbs().GetBulbs().empty());
    for (const Bulbulator::Bulb& bulb : map->GetBulbs().GetBulbs())
        EXPECT_GT(bulb.node->GetGroup(), 5);

    // The first episode passed: its tube stands once the menu is in, and takes a click off the fans.
    Run(120);
    const FloatPoint tube = map->GetRandomStatsIconCentre(0);
    ASSERT_NE(tube.x, 0.0f);
    MouseTo(static_cast<int>(tube.x), static_cast<int>(tube.y));
    harness().ui.manager.MouseDown(static_cast<int>(tube.x), static_cast<int>(tube.y), 1);
    EXPECT_EQ(harness().Commands(), (Commands{{100, 1}}));

    map->StartLevel(16);
    EXPECT_FALSE(map->GetBulbs().IsActive());
}

// The tubes stand in the menu panel: its band does not cover their lower half.
TEST_F(LevelMapTest, TheRandomTubesAreDrawnOverTheMenuBand)
{
    world.services.play.AddImage("IMAGE_RND_PROBIRKA", 32, 64, 0xFFE02080u);
    for (int i = 1; i <= 5; ++i)
        world.services.play.AddImage("IMAGE_RND_PROBIRKA_FILL" + std::to_string(i), 24, 20, 0xFF40C040u);
    world.progress.CompleteLevels(15);
    Show();
    Run(200);
    const FloatPoint tube = map->GetRandomStatsIconCentre(0);
    ASSERT_NE(tube.x, 0.0f);
    // The tube's bottom rows lie on the band (it starts at y 672).
    EXPECT_EQ(harness().ui.Pixel(static_cast<int>(tube.x), 716) & 0xFFFFFFu, 0xE02080u);
}

// Golden images: the map as a player sees it on the 2D path.
class LevelMapGolden : public LevelMapTest
{
protected:
    LevelMapGolden() : LevelMapTest(true) {}

    void ExpectGolden(const std::string& name)
    {
        const std::vector<uint32_t> pixels = Screen();
        EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("screens", name, pixels.data(), harness().ui.appWidth,
                                                     harness().ui.appHeight));
    }
};

TEST_F(LevelMapGolden, AFreshProfileAfterTheReveal)
{
    Show();
    Run(150);
    ExpectGolden("level_map_fresh");
}

TEST_F(LevelMapGolden, GroupOneHoveredWithItsFanOpen)
{
    world.progress.GetNullTutorial().AddLevelWithSteps(1);
    Show();
    Run(150);
    MouseToNode(1);
    Run(40);
    ExpectGolden("level_map_fan_open");
}

TEST_F(LevelMapGolden, EverythingCompleteWithGoldMedals)
{
    world.progress.CompleteLevels(70, 2);
    Show();
    Run(150);
    RevealGroup = -1;
    Run(50);
    ExpectGolden("level_map_all_gold");
}

TEST_F(LevelMapGolden, TheSnapshotModePicture)
{
    world.progress.CompleteLevels(10, 1);
    world.services.newAchievements = true;
    Show();
    Run(150);
    MapSnapshotMode = true;
    Run();
    ExpectGolden("level_map_snapshot");
}
} // namespace

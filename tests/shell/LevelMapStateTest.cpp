// The level-map state over real player data in a file store and a catalogue with settable
// progress: the intro on a profile's first visit, recorded on disk only once it has ended; the
// celebration of a group the play state reports; start and Enter with the campaign complete;
// the commands that start levels, random levels and the main menu; pausing; screens queued
// while the map is busy; a missing coordinates file; the tutorial's hold on a new player's first
// map.
// Rerun one case: test_shell --gtest_filter='LevelMapState*'.
#include "game/app/LevelMapState.h"
#include "game/level/TutorialSteps.h"
#include "game/screens/LevelRay.h"
#include "game/screens/LevelSelector.h"
#include "game/shell/PlayerData.h"
#include "game/shell/PlayerFileStore.h"
#include "tests/screens/LevelMapTestDoubles.h"
#include "tests/shell/QuietShellActions.h"

#include <gtest/gtest.h>

namespace
{
class MapActions final : public QuietShellActions
{
public:
    void PlaySoundNamed(const std::string& name) override { sounds.push_back(name); }

    std::vector<std::string> sounds;
};

class Marker final : public GameState
{
public:
    using GameState::GameState;
    void OnEnter() override { ++entered; }
    void Leave() { PopState(); }
    int entered = 0;
};

struct Start
{
    int level;
    FloatPoint centre;
};

class LevelMapState_ : public ::testing::Test
{
protected:
    LevelMapState_()
    {
        MapTest::AddMapResources(harness.ui);
        actions.data->CreateProfile("ann");
        state.SetIntroFactory([this](Quoll::LevelMap&) {
            auto made = std::make_unique<MapTest::ScriptedIntro>();
            intro = made.get();
            return made;
        });
    }
    ~LevelMapState_() override
    {
        harness.host.ExitAll();
        harness.ui.RunDeferredDeletes();
        RevealGroup = -1;
    }

    // Enters the map as the main menu does.
    void Enter()
    {
        if (harness.host.GetTopState() == nullptr)
            harness.host.PushState(menu);
        world.list.BuildLevelTable();
        harness.host.ChangeState(state);
        harness.Run();
    }
    void SeeIntro()
    {
        actions.data->GetCurrentProfile().MarkSeen(ProfileSeen::MapIntro);
    }
    [[nodiscard]] Quoll::LevelMap& Map() const { return *state.GetMap(); }
    [[nodiscard]] bool SeenOnDisk()
    {
        PlayerData reread(actions.store);
        reread.Load("ann");
        return reread.GetCurrentProfile().HasSeen(ProfileSeen::MapIntro);
    }
    void MouseTo(int x, int y)
    {
        world.services.mouse = {static_cast<float>(x), static_cast<float>(y)};
        harness.ui.manager.MouseMove(x, y);
    }
    void Click(int x, int y)
    {
        MouseTo(x, y);
        harness.ui.manager.MouseDown(x, y, 1);
        harness.ui.manager.MouseUp(x, y, 1);
    }
    void RunMap(int updates)
    {
        for (int i = 0; i < updates; ++i)
            Map().Update();
        harness.Run();
    }

    MapTest::MapFolder folder{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    MapTest::MapWorld world;
    ScreenTest::ScreenHarness harness;
    MapActions actions;
    Marker menu{harness.host, "MainMenuState"}, viewer{harness.host, "AchievesViewer"};
    std::vector<Start> starts;
    LevelMapState state{harness.host, actions, world.services,
                        {&menu, &viewer, [this](int level, FloatPoint centre) { starts.push_back({level, centre}); }}};
    MapTest::ScriptedIntro* intro = nullptr;
};

TEST_F(LevelMapState_, TheIntroPlaysUntilItEndsAndIsThenRecordedOnDisk)
{
    Enter();
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(Map().GetState(), Quoll::LevelMap::kIntro);
    EXPECT_EQ(world.services.songs, (std::vector<int>{1, 2}));
    EXPECT_EQ(world.services.events, std::vector<int>{3});
    RunMap(100);
    // A game ended now would show it again.
    EXPECT_FALSE(SeenOnDisk());

    intro->finished = true;
    RunMap(1);
    EXPECT_EQ(Map().GetState(), Quoll::LevelMap::kIdle);
    EXPECT_TRUE(SeenOnDisk());

    // Back from the main menu: no intro.
    Map().SendToLink(Quoll::LevelMap::kMainMenu, 0);
    harness.Run();
    EXPECT_EQ(harness.host.GetTopState(), &menu);
    intro = nullptr;
    Enter();
    EXPECT_EQ(intro, nullptr);
    EXPECT_EQ(Map().GetState(), Quoll::LevelMap::kIdle);
}

TEST_F(LevelMapState_, TheGamesOwnIntroRunsToItsEndWithoutItsArt)
{
    LevelMapState bare{harness.host, actions, world.services, {&menu, nullptr, nullptr}};
    world.list.BuildLevelTable();
    harness.host.PushState(menu);
    harness.host.ChangeState(bare);
    harness.Run();
    Quoll::LevelMap& map = *bare.GetMap();
    ASSERT_EQ(map.GetState(), Quoll::LevelMap::kIntro);
    for (int i = 0; i < 6000 && map.GetState() == Quoll::LevelMap::kIntro; ++i)
        map.Update();
    EXPECT_EQ(map.GetState(), Quoll::LevelMap::kIdle);
    EXPECT_TRUE(SeenOnDisk());
    harness.host.ExitAll();
    harness.ui.RunDeferredDeletes();
}

TEST_F(LevelMapState_, StartAndEnterDoNothingOnceTheCampaignIsComplete)
{
    SeeIntro();
    world.progress.CompleteLevels(70, 1);
    Enter();
    RunMap(100);
    Map().SendToLink(Quoll::LevelMap::kStart, 0);
    harness.Key(13);
    RunMap(100);
    EXPECT_EQ(Map().GetState(), Quoll::LevelMap::kIdle);
    EXPECT_TRUE(starts.empty());
    // A level number outside the campaign is refused too.
    Map().SendToLink(Quoll::LevelMap::kStartLevel, 71);
    EXPECT_EQ(Map().GetState(), Quoll::LevelMap::kIdle);
}

TEST_F(LevelMapState_, ARandomTubeAsksForTheEpisodesRandomLevel)
{
    SeeIntro();
    Enter();
    Map().SendToLink(Quoll::LevelMap::kRandomLevel, 3);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].level, -3);
    EXPECT_EQ(actions.sounds, std::vector<std::string>{"SOUND_RNDLEVEL_CLICK"});
}

TEST_F(LevelMapState_, AChosenLevelStartsFromItsNodeOnceTheTransitionEnds)
{
    SeeIntro();
    world.progress.CompleteLevels(3);
    world.progress.GetNullTutorial().AddLevelWithSteps(4);
    Enter();
    // Level 6 waits for the tutorial level 4; level 4 is open.
    Map().SendToLink(Quoll::LevelMap::kStartLevel, 6);
    EXPECT_EQ(Map().GetState(), Quoll::LevelMap::kIdle);
    Map().SendToLink(Quoll::LevelMap::kStart, 0);
    EXPECT_EQ(Map().GetChosenLevel(), 4);
    RunMap(60);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].level, 4);
    EXPECT_EQ(starts[0].centre, Map().GetGroupPoint(2)->GetPosition());
    EXPECT_EQ(actions.sounds, std::vector<std::string>{"SOUND_LEVEL_CLICK"});
}

TEST_F(LevelMapState_, WithoutALevelStateTheChoiceIsLoggedAndTheMapShownAfresh)
{
    SeeIntro();
    LevelMapState bare{harness.host, actions, world.services, {&menu, nullptr, nullptr}};
    world.list.BuildLevelTable();
    harness.host.PushState(menu);
    harness.host.ChangeState(bare);
    harness.Run();
    Quoll::LevelMap* first = bare.GetMap();
    first->SendToLink(Quoll::LevelMap::kStart, 0);
    for (int i = 0; i < 60 && bare.GetMap() == first; ++i)
        first->Update();
    ASSERT_NE(bare.GetMap(), first);
    EXPECT_EQ(bare.GetMap()->GetState(), Quoll::LevelMap::kIdle);
    // Achievements have no screen here either: logged.
    bare.GetMap()->SendToLink(Quoll::LevelMap::kAchievements, 0);
    EXPECT_EQ(harness.ui.CountLog("WARNING: Level map: no achievements screen"), 1);
    harness.host.ExitAll();
    harness.ui.RunDeferredDeletes();
}

TEST_F(LevelMapState_, AMapEnteredAfterAGroupsLastLevelCelebratesIt)
{
    SeeIntro();
    world.progress.CompleteLevels(3, 2);
    state.SetFocus(3, 1);
    Enter();
    EXPECT_EQ(Map().GetState(), Quoll::LevelMap::kCelebration);
    EXPECT_TRUE(Map().IsBusy());

    // The achievements button's screen, queued meanwhile, waits for the celebration.
    Map().SendToLink(Quoll::LevelMap::kAchievements, 0);
    harness.Run();
    EXPECT_EQ(harness.host.GetTopState(), &viewer);
    viewer.Leave();
    harness.Run();
    viewer.entered = 0;
    state.QueueScreen(viewer);
    RunMap(50);
    EXPECT_EQ(viewer.entered, 0);
    RunMap(60);
    EXPECT_EQ(Map().GetState(), Quoll::LevelMap::kIdle);
    harness.Run();
    EXPECT_EQ(viewer.entered, 1);
    EXPECT_TRUE(Map().IsPaused());
    viewer.Leave();
    harness.Run();
    EXPECT_FALSE(Map().IsPaused());

    // The focus was used once.
    Map().SendToLink(Quoll::LevelMap::kMainMenu, 0);
    harness.Run();
    Enter();
    EXPECT_EQ(Map().GetState(), Quoll::LevelMap::kIdle);
}

TEST_F(LevelMapState_, ANewPlayersFirstMapHoldsTheTutorialLevelsBackBeforeAnyLevelHasLoaded)
{
    // The game's own script, not read yet: no level has been loaded in this run.
    TutorialSteps script([](const std::string&) {}, QUOLL_SOURCE_DIR "/data/tutorial.cfg");
    world.progress.SetTutorial(script);
    Enter();
    ASSERT_NE(intro, nullptr);
    intro->finished = true;
    RunMap(150);
    ASSERT_EQ(Map().GetState(), Quoll::LevelMap::kIdle);
    EXPECT_TRUE(script.HasLevelSteps(1));

    // Group 1's fan: level 1 open, levels 2 and 3 drawn locked.
    const FloatPoint node = Map().GetMapPoints().GetPoint(0)->GetPosition();
    MouseTo(static_cast<int>(node.x), static_cast<int>(node.y));
    RunMap(40);
    const LevelSelector& fan = *Map().GetSelectors().GetSelector(0);
    EXPECT_FALSE(fan.GetRay(0)->IsLocked());
    EXPECT_TRUE(fan.GetRay(1)->IsLocked());
    EXPECT_TRUE(fan.GetRay(2)->IsLocked());

    // A click on level 3's cell starts nothing, nor does its command.
    const Quoll::Rect cell = fan.GetRay(2)->GetCellRect();
    Click(cell.x + cell.width / 2, cell.y + cell.height / 2);
    Map().SendToLink(Quoll::LevelMap::kStartLevel, 3);
    RunMap(60);
    EXPECT_EQ(Map().GetState(), Quoll::LevelMap::kIdle);
    EXPECT_TRUE(starts.empty());

    // Level 1's cell starts level 1.
    const Quoll::Rect first = fan.GetRay(0)->GetCellRect();
    Click(first.x + first.width / 2, first.y + first.height / 2);
    RunMap(60);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].level, 1);
    // The map goes before the script does.
    harness.host.ExitAll();
    harness.ui.RunDeferredDeletes();
}

TEST_F(LevelMapState_, AMissingCoordinatesFileIsLoggedAndLeadsBackToTheMenu)
{
    SeeIntro();
    MapTest::MapFolder::RemoveCoords();
    Enter();
    harness.Run();
    EXPECT_EQ(harness.host.GetTopState(), &menu);
    EXPECT_EQ(harness.ui.CountLog("ERROR: Cannot build the level map"), 1);
}

} // namespace

// A click on a random tube that changes the state at once (as the level-loading state does)
// detaches the map, and with it the tube panel, while the click is still being handled.
TEST_F(LevelMapState_, ARandomTubeClickThatLeavesTheMapEndsCleanly)
{
    SeeIntro();
    world.progress.CompleteLevels(15);
    world.services.play.AddImage("IMAGE_RND_PROBIRKA", 32, 72, 0x80C0E0F0u);
    Marker loading{harness.host, "LoadLevelState"};
    LevelMapState leaving{harness.host, actions, world.services,
                          {&menu, &viewer, [&](int, FloatPoint) { harness.host.ChangeState(loading); }}};
    harness.host.PushState(menu);
    world.list.BuildLevelTable();
    harness.host.ChangeState(leaving);
    harness.Run();
    for (int i = 0; i < 300; ++i)
        leaving.GetMap()->Update();
    harness.Run();
    const FloatPoint tube = leaving.GetMap()->GetRandomStatsIconCentre(0);
    leaving.GetMap()->MouseDown(static_cast<int>(tube.x), static_cast<int>(tube.y), 0, 1);
    harness.Run();
    EXPECT_EQ(harness.host.GetTopState(), &loading);
    EXPECT_EQ(loading.entered, 1);
    harness.host.ExitAll();
    harness.ui.RunDeferredDeletes();
}

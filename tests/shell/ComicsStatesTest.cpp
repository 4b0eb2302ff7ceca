// The comics shown by the main menu's play path and by the level map: each once per profile,
// recorded on disk when it ends or is skipped; a comic whose pictures do not load is passed by
// and stays unseen.
// Rerun one case: test_shell --gtest_filter='ComicsStates*'.
#include "game/app/ComicsState.h"
#include "game/app/LevelMapState.h"
#include "game/app/MainMenuState.h"
#include "game/screens/ComicsViewer.h"
#include "game/shell/PlayerData.h"
#include "game/shell/PlayerFileStore.h"
#include "tests/screens/EndScreensDoubles.h"
#include "tests/screens/LevelMapTestDoubles.h"
#include "tests/screens/MenuTestDoubles.h"
#include "tests/shell/QuietShellActions.h"

#include <gtest/gtest.h>

namespace
{
class ComicActions final : public QuietShellActions
{
public:
    [[nodiscard]] bool SeenOnDisk(ProfileSeen what)
    {
        PlayerData reread(store);
        reread.Load("ann");
        return reread.GetCurrentProfile().HasSeen(what);
    }
};

class Marker final : public GameState
{
public:
    using GameState::GameState;
    void OnEnter() override { ++entered; }
    int entered = 0;
};

[[nodiscard]] const Quoll::ComicsViewer* Viewer(ComicsState& comics)
{
    return dynamic_cast<const Quoll::ComicsViewer*>(comics.GetWidget());
}

class ComicsStatesMenu : public ::testing::Test
{
protected:
    ComicsStatesMenu()
    {
        ScreenTest::AddMenuResources(harness);
        actions.data->CreateProfile("ann");
        actions.data->ChooseDifficulty(Profile::kNormalDifficulty);
        services.profileName = "ann";
    }
    ~ComicsStatesMenu() override
    {
        harness.host.ExitAll();
        harness.ui.RunDeferredDeletes();
    }

    void Play()
    {
        harness.Key(13);
        harness.Run();
    }

    ComicActions actions;
    ScreenTest::FakeMenuServices services;
    ScreenTest::ScreenHarness harness;
    ScreenTest::EndScreensArt art{harness};
    Marker levelMap{harness.host, "LevelMapState"};
    ComicsState comics{harness.host};
    MainMenuState state{
        harness.host, actions, services, {.levelMap = &levelMap, .comics = &comics}};
};

TEST_F(ComicsStatesMenu, TheOpeningComicShowsOnceAndIsRecordedOnDisk)
{
    harness.host.PushState(state);
    Play();
    ASSERT_EQ(harness.host.GetTopState(), &comics);
    ASSERT_NE(Viewer(comics), nullptr);
    EXPECT_EQ(Viewer(comics)->GetCurrentPage(), OpeningComicPages);
    EXPECT_FALSE(actions.SeenOnDisk(ProfileSeen::OpeningComic));
    harness.Key(27);
    harness.Run(2);
    EXPECT_EQ(harness.host.GetTopState(), &levelMap);
    EXPECT_TRUE(actions.SeenOnDisk(ProfileSeen::OpeningComic));

    harness.host.ChangeState(state);
    Play();
    EXPECT_EQ(harness.host.GetTopState(), &levelMap);
    EXPECT_EQ(levelMap.entered, 2);
}

TEST_F(ComicsStatesMenu, AComicThatCannotShowIsPassedByAndStaysUnseen)
{
    harness.ui.failingGroups.insert("Comics");
    harness.host.PushState(state);
    Play();
    harness.Run(2);
    EXPECT_EQ(harness.host.GetTopState(), &levelMap);
    EXPECT_EQ(harness.ui.CountLog("WARNING: ComicsState"), 1);
    EXPECT_FALSE(actions.data->GetCurrentProfile().HasSeen(ProfileSeen::OpeningComic));
}

class ComicsStatesMap : public ::testing::Test
{
protected:
    ComicsStatesMap()
    {
        MapTest::AddMapResources(harness.ui);
        actions.data->CreateProfile("ann");
        actions.data->GetCurrentProfile().MarkSeen(ProfileSeen::MapIntro);
    }
    ~ComicsStatesMap() override
    {
        harness.host.ExitAll();
        harness.ui.RunDeferredDeletes();
        RevealGroup = -1;
    }

    // Enters the map as the main menu does and lets it settle.
    void Enter()
    {
        if (harness.host.GetTopState() == nullptr) harness.host.PushState(menu);
        world.list.BuildLevelTable();
        harness.host.ChangeState(state);
        harness.Run();
        for (int i = 0; i < 300 && state.GetMap() != nullptr && state.GetMap()->IsBusy(); ++i)
        {
            state.GetMap()->Update();
            harness.Run();
        }
        harness.Run();
    }

    MapTest::MapFolder folder{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    MapTest::MapWorld world;
    ScreenTest::ScreenHarness harness;
    ScreenTest::EndScreensArt art{harness};
    ComicActions actions;
    Marker menu{harness.host, "MainMenuState"};
    ComicsState comics{harness.host};
    LevelMapState state{harness.host, actions, world.services, {&menu, nullptr, nullptr, &comics}};
};

TEST_F(ComicsStatesMap, TheFinalComicWaitsForTheWholeCampaignAndShowsOnce)
{
    world.progress.CompleteLevels(69, 1);
    Enter();
    EXPECT_EQ(harness.host.GetTopState(), &state);

    world.progress.CompleteLevels(70, 1);
    Enter();
    ASSERT_EQ(harness.host.GetTopState(), &comics);
    ASSERT_NE(Viewer(comics), nullptr);
    EXPECT_EQ(Viewer(comics)->GetCurrentPage(), FinalComicPages);
    harness.Key(27);
    harness.Run(2);
    EXPECT_EQ(harness.host.GetTopState(), &state);
    EXPECT_TRUE(actions.SeenOnDisk(ProfileSeen::FinalComic));

    Enter();
    harness.Run(3);
    EXPECT_EQ(harness.host.GetTopState(), &state);
}

TEST_F(ComicsStatesMap, AFinalComicThatCannotShowIsOfferedOncePerEntry)
{
    harness.ui.failingGroups.insert("Comics");
    world.progress.CompleteLevels(70, 1);
    Enter();
    harness.Run(5);
    EXPECT_EQ(harness.host.GetTopState(), &state);
    EXPECT_EQ(harness.ui.CountLog("WARNING: ComicsState"), 1);
    EXPECT_FALSE(actions.data->GetCurrentProfile().HasSeen(ProfileSeen::FinalComic));
}
} // namespace

// The achievements screen opened from the level map: the viewer shows over the map, closes on a
// click once shown, and on the way back the newly earned list is cleared (and the profile saved)
// once, with the map active again.
// Rerun one case: test_shell --gtest_filter='AchievesState*'.
#include "game/app/AchievesState.h"
#include "game/app/LevelMapState.h"
#include "game/shell/PlayerData.h"
#include "game/shell/PlayerFileStore.h"
#include "tests/screens/LevelMapTestDoubles.h"
#include "tests/shell/QuietShellActions.h"

#include <gtest/gtest.h>

namespace
{
// The shell's actions do nothing here; the profile lives in memory.
using ViewerActions = QuietShellActions;

class ViewerServices final : public AchievesViewerServices
{
public:
    bool IsAchieved(int number, bool& isNew) override
    {
        isNew = number == 3;
        return number <= 3;
    }
    float GetFrameTime() override { return 0.01f; }
    FloatPoint GetPointer() override { return {-1, -1}; }
};

class Marker final : public GameState
{
public:
    using GameState::GameState;
};

TEST(AchievesState, ViewerOverTheMapClearsTheNewListOnceOnItsWayBack)
{
    MapTest::MapFolder folder{"AchievesState"};
    MapTest::MapWorld world;
    ScreenTest::ScreenHarness harness;
    MapTest::AddMapResources(harness.ui);
    ViewerActions actions;
    actions.data->CreateProfile("ann");
    actions.data->GetCurrentProfile().MarkSeen(ProfileSeen::MapIntro);
    ViewerServices services;
    int leavings = 0;
    Marker menu{harness.host, "MainMenuState"};
    AchievesState achieves{harness.host, services, [&leavings] { ++leavings; }};
    LevelMapState state{harness.host, actions, world.services, {&menu, &achieves, nullptr}};

    harness.host.PushState(menu);
    world.list.BuildLevelTable();
    harness.host.ChangeState(state);
    harness.Run();
    state.GetMap()->SendToLink(Quoll::LevelMap::kAchievements, 0);
    harness.Run();
    ASSERT_EQ(harness.host.GetTopState(), &achieves);
    auto* viewer = dynamic_cast<Quoll::AchievesViewer*>(achieves.GetWidget());
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->GetIconRoot().GetChildren().size(), 40u);

    // The viewer's own updates, without drawing the map below each time.
    for (int i = 0; i < 110; ++i)
        viewer->Update();
    ASSERT_EQ(viewer->GetViewerState(), Quoll::AchievesViewer::kShown);
    harness.ui.manager.MouseDown(500, 400, 1);
    harness.ui.manager.MouseUp(500, 400, 1);
    for (int i = 0; i < 55; ++i)
        viewer->Update();
    harness.Run(2);
    EXPECT_EQ(harness.host.GetTopState(), &state);
    EXPECT_EQ(leavings, 1);
    EXPECT_NE(state.GetMap(), nullptr);
    EXPECT_FALSE(state.GetMap()->IsPaused());

    harness.host.ExitAll();
    harness.ui.RunDeferredDeletes();
    RevealGroup = -1;
}
} // namespace

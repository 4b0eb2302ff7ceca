// The achievements on the play screen: level 1 started with its tutorial earns "Good Student"
// (achievement 7), a level without one does not; a hidden object caught while a tutorial step
// shows counts nothing, one caught without a step counts; while the level editor is open nothing
// counts (a level reloaded under it, a level opened in it from the map), and once it is left the
// level's events count again.
// Rerun one case: test_playflow --gtest_filter='Achievements.<name>'.
#include "tests/shell/playflow/PlayFlowFixture.h"

#include "framework/app/QuollAppBase.h"
#include "game/app/EditorState.h"
#include "game/app/LevelMapState.h"
#include "game/level/TutorialSteps.h"
#include "game/screens/EditorDlg.h"
#include "game/screens/LevelMap.h"
#include "game/shell/AchievementManager.h"
#include "game/shell/PlayerData.h"

#include <optional>

namespace PlayFlow
{
namespace
{
constexpr int kGoodStudent = 7;
constexpr int kHiddenFind = 25;
constexpr int kFirstMove = 1;
constexpr int kMoveEvent = 8;
constexpr int kTutorialEvent = 14;
constexpr int kHiddenObjectEvent = 30;

class Achievements : public PlayFlowTest
{
protected:
    AchievementManager& Manager() { return mRunner->App().GetAchievements(); }
    AchievementRecord& Record() { return mRunner->App().GetPlayerData()->GetCurrentProfile().GetAchievements(); }
    bool StepShown() { return mRunner->App().GetTutorialSteps().IsStepActive(); }
    void EditorCommand(int command) { States().Editor().ReceiveCommand(command, 0); }

    // A hidden object that can be caught now, somewhere on the screen.
    std::optional<ScreenPoint> FindHiddenObject()
    {
        const HiddenObjectField* field = mRunner->Scene()->GetHiddenObjects();
        if (field == nullptr) return std::nullopt;
        for (int y = 0; y < 768; y += 16)
            for (int x = 0; x < 1024; x += 16)
                if (const int object = field->FindAt(x, y); object >= 0) return field->GetCentre(object);
        return std::nullopt;
    }

    // Follows the tutorial's steps (a press each) until the human's first move has landed.
    void PlayFirstMove()
    {
        for (int act = 0; act < 4 && CurrentLevel().GetParams().round == 1; ++act)
            ASSERT_TRUE(mRunner->PlayTurn());
        ASSERT_GT(CurrentLevel().GetParams().round, 1);
    }

    // Waits for a hidden object and presses it as the scene hands a press on to the level while
    // it is busy (past the tutorial's filter); false when no object came or none was caught.
    bool CatchHiddenObject()
    {
        std::optional<ScreenPoint> at;
        if (!StepUntil([&] { return (at = FindHiddenObject()).has_value(); })) return false;
        const int32_t score = CurrentLevel().GetParams().score;
        mRunner->App().mWidgetManager->MouseMove(at->x, at->y);
        mRunner->Play().ReceiveCommand(GameScene::kCommandClick, 1);
        return CurrentLevel().GetParams().score > score;
    }
};

TEST_F(Achievements, LevelOneStartedWithItsTutorialEarnsGoodStudent)
{
    Start(1);
    ASSERT_TRUE(StepShown());
    EXPECT_TRUE(Manager().IsAchieved(kGoodStudent, nullptr));
    EXPECT_EQ(Record().GetCounter(kTutorialEvent), 1);
    EXPECT_EQ(Manager().GetNewAchievements(), std::vector<int>{kGoodStudent});
}

TEST_F(Achievements, ALevelWithoutATutorialEarnsNoGoodStudent)
{
    Start(4);
    EXPECT_FALSE(StepShown());
    EXPECT_FALSE(Manager().IsAchieved(kGoodStudent, nullptr));
    EXPECT_EQ(Record().GetCounter(kTutorialEvent), 0);
}

TEST_F(Achievements, AHiddenObjectCaughtWhileATutorialStepShowsCountsNothing)
{
    Start(1);
    ASSERT_TRUE(CatchHiddenObject());
    ASSERT_TRUE(StepShown());
    EXPECT_EQ(Record().GetCounter(kHiddenObjectEvent), 0);
    EXPECT_FALSE(Manager().IsAchieved(kHiddenFind, nullptr));
}

TEST_F(Achievements, AHiddenObjectCaughtWithoutATutorialStepCounts)
{
    Start(4);
    ASSERT_TRUE(CatchHiddenObject());
    EXPECT_EQ(Record().GetCounter(kHiddenObjectEvent), 1);
    EXPECT_TRUE(Manager().IsAchieved(kHiddenFind, nullptr));
}

TEST_F(Achievements, ALevelReloadedUnderTheOpenEditorCountsNothing)
{
    Start(1);
    ASSERT_EQ(Record().GetCounter(kTutorialEvent), 1);
    Host().PushState(States().Editor());
    ASSERT_EQ(Host().GetTopState(), &States().Editor());

    // The campaign's level 1 again: its tutorial's first step shows and it raises event 14.
    EditorCommand(EditorDlg::kReset);
    ASSERT_EQ(Host().GetTopState(), &States().Editor());
    ASSERT_TRUE(StepShown());
    EXPECT_EQ(Record().GetCounter(kTutorialEvent), 1);

    // Left, the level counts again: the human's first move.
    EditorCommand(EditorDlg::kExit);
    ASSERT_EQ(Host().GetTopState(), &mRunner->Play());
    PlayFirstMove();
    EXPECT_EQ(Record().GetCounter(kMoveEvent), 1);
    EXPECT_TRUE(Manager().IsAchieved(kFirstMove, nullptr));
}

TEST_F(Achievements, ALevelOpenedInTheEditorFromTheMapCountsNothing)
{
    if (!Quoll::kDeveloperBuild) GTEST_SKIP() << "the level editor is a developer build's tool";
    Start(4);
    LevelMapState& map = States().LevelMap();
    Host().ChangeState(map);
    AllowLevelEditor();
    mRunner->App().GetWidgetManager()->KeyDown(LevelMapState::kKeyControl);
    map.ReceiveCommand(Quoll::LevelMap::kStartLevel, 1);
    mRunner->App().GetWidgetManager()->KeyUp(LevelMapState::kKeyControl);
    ASSERT_EQ(Host().GetTopState(), &States().Editor());
    ASSERT_EQ(mRunner->Play().GetLevelNumber(), 1);

    // Level 1 started under the editor with its tutorial's first step: no "Good Student".
    ASSERT_TRUE(StepShown());
    EXPECT_EQ(Record().GetCounter(kTutorialEvent), 0);
    EXPECT_FALSE(Manager().IsAchieved(kGoodStudent, nullptr));

    // Left, the level counts again.
    EditorCommand(EditorDlg::kExit);
    PlayFirstMove();
    EXPECT_TRUE(Manager().IsAchieved(kFirstMove, nullptr));
}
} // namespace
} // namespace PlayFlow

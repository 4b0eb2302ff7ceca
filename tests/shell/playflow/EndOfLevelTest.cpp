// The end of a level on the play screen: the result stored (the score table with the profile's
// new total, saved), the end-of-level dialog over the finished level, continue to the level map
// focused on the level and the group it completed, restart of a campaign level from its file and
// of a random level with the same board.
#include "tests/shell/playflow/PlayFlowFixture.h"

#include "game/app/EndLevelState.h"
#include "game/app/LevelMapState.h"
#include "game/screens/EndLevelDlg.h"
#include "game/screens/LevelMap.h"
#include "game/shell/PlayerData.h"
#include "game/shell/PlayerFileStore.h"
#include "game/shell/ScoreTable.h"

namespace PlayFlow
{
namespace
{
class EndOfLevel : public PlayFlowTest
{
protected:
    PlayerData& Data() { return *mRunner->App().GetPlayerData(); }

    // The map shows no intro, so that its focus decides its state.
    void SkipMapIntro() { Data().GetCurrentProfile().MarkSeen(ProfileSeen::MapIntro); }

    void Continue() { States().EndLevel().ReceiveCommand(EndLevelDlg::kCommandContinue, 0); }
};

TEST_F(EndOfLevel, AWinIsSavedInTheScoreTableAndContinueCelebratesTheGroupItCompleted)
{
    Start(4);
    SkipMapIntro();
    // Levels 5 and 6 done before: winning level 4 completes group 2.
    Data().RecordLevelResult(5, 100, 0);
    Data().RecordLevelResult(6, 100, 0);
    WinAtOnce();
    if (HasFatalFailure()) return;

    const EndLevelDlg& dialog = *States().EndLevel().GetDialog();
    TakeShot("end_level_counting");
    EXPECT_TRUE(dialog.AreFireworksOn());
    EXPECT_GT(dialog.GetBurstsLeft(), 0) << "a campaign level before the last one has five bursts";

    const int total = Data().GetCurrentProfile().GetTotalScore();
    EXPECT_GT(Data().GetCurrentProfile().GetLevelScore(4), 0);
    AppFileStore store(mRunner->App(), Quoll::GetAppDataFolder());
    ScoreTable saved;
    saved.Load(store);
    ASSERT_FALSE(saved.GetEntries().empty());
    EXPECT_EQ(saved.GetEntries().front(), (ScoreTable::Entry{Data().GetCurrentName(), total}));
    // Counted up, the medal grown in.
    ASSERT_TRUE(StepUntil(
        [&dialog]
        { return dialog.GetStage() == EndLevelDlg::kStageDone && dialog.GetMedalScale() >= 1.0f; },
        1000))
        << "stage " << dialog.GetStage() << ", medal scale " << dialog.GetMedalScale();
    TakeShot("end_level_finished");
    EXPECT_FALSE(dialog.GetFooter().empty()) << "a first result is a new best";
    EXPECT_NE(dialog.GetMedal(), nullptr);

    Continue();
    EXPECT_FALSE(mRunner->Play().IsOnStack());
    EXPECT_FALSE(States().EndLevel().IsOnStack());
    ASSERT_TRUE(States().LevelMap().IsOnStack());
    const Quoll::LevelMap* map = States().LevelMap().GetMap();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->GetState(), Quoll::LevelMap::kCelebration);
}

TEST_F(EndOfLevel, AWinThatCompletesNoGroupOnlyMarksTheLevel)
{
    Start(4);
    SkipMapIntro();
    WinAtOnce();
    if (HasFatalFailure()) return;
    Continue();
    ASSERT_TRUE(States().LevelMap().IsOnStack());
    ASSERT_NE(States().LevelMap().GetMap(), nullptr);
    EXPECT_EQ(States().LevelMap().GetMap()->GetState(), Quoll::LevelMap::kIdle);
}

TEST_F(EndOfLevel, ALostLevelRestartsFromItsFileAndContinueReturnsToTheMap)
{
    Start(4);
    SkipMapIntro();
    const Board fromFile = CurrentLevel().GetLogic().GetBoard();
    LoseAtOnce();
    if (HasFatalFailure()) return;
    EndLevelDlg& dialog = *States().EndLevel().GetDialog();
    EXPECT_FALSE(dialog.AreFireworksOn());
    EXPECT_NE(dialog.GetAvatar(), nullptr) << "the winning opponent shows";
    EXPECT_EQ(Data().GetCurrentProfile().GetLevelScore(4), 0);
    TakeShot("end_level_lost");

    // Restart: the level's file again, without the random level's repeat.
    dialog.ButtonRelease(EndLevelDlg::kCommandRestart);
    EXPECT_FALSE(Game::RandomLevelReplay);
    EXPECT_FALSE(States().EndLevel().IsOnStack());
    ASSERT_EQ(Host().GetTopState(), &mRunner->Play());
    ASSERT_TRUE(mRunner->Play().IsLevelRunning());
    EXPECT_EQ(CurrentLevel().GetLogic().GetBoard(), fromFile);

    LoseAtOnce();
    if (HasFatalFailure()) return;
    Continue();
    EXPECT_FALSE(mRunner->Play().IsOnStack());
    ASSERT_TRUE(States().LevelMap().IsOnStack());
    ASSERT_NE(States().LevelMap().GetMap(), nullptr);
    EXPECT_EQ(States().LevelMap().GetMap()->GetState(), Quoll::LevelMap::kIdle);
}

TEST_F(EndOfLevel, RestartingARandomLevelBringsBackTheSameBoard)
{
    Start(-2);
    const Board generated = CurrentLevel().GetLogic().GetBoard();
    WinAtOnce();
    if (HasFatalFailure()) return;
    States().EndLevel().GetDialog()->ButtonRelease(EndLevelDlg::kCommandRestart);
    ASSERT_EQ(Host().GetTopState(), &mRunner->Play());
    ASSERT_TRUE(mRunner->Play().IsLevelRunning());
    EXPECT_EQ(mRunner->App().GetCurrentLevelNumber(), -2);
    EXPECT_EQ(CurrentLevel().GetLogic().GetBoard(), generated);
}
} // namespace
} // namespace PlayFlow

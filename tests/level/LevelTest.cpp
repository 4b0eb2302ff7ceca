// Level's round controller through the recording view: selection and moves with their sounds,
// captures and their points and events, the two-landings clock, the free-cell hand-out, each end
// of the game with leader and winner, the boss level's pass, hints, hidden objects and the
// session's step-back.
// Rerun one case: test_level --gtest_filter='Level.Capture*'
#include "LevelTestSupport.h"

#include <gtest/gtest.h>

#include <type_traits>

using namespace LevelTest;

static_assert(!std::is_copy_constructible_v<Level> && !std::is_copy_assignable_v<Level>);
static_assert(!std::is_copy_constructible_v<LevelSession>);

TEST(Level, HumanCloneKeepsTheSourceAndJumpEmptiesIt)
{
    LevelFixture clone;
    clone.StartPicture(Picture({{30, '1'}, {0, '2'}}), {-1, 0});
    clone.Click(30);
    EXPECT_EQ(clone.level().GetSelectedCell(), 30);
    EXPECT_EQ(clone.services.CountSound(LevelSound::BacSelect), 1);
    EXPECT_EQ(clone.view.Count("HighlightCell 30"), 1);
    clone.Click(31);
    EXPECT_EQ(clone.view.Count("MoveBacterium 30 31 1 -1"), 1);
    EXPECT_EQ(clone.services.CountSound(LevelSound::BacClone), 1);
    EXPECT_EQ(clone.level().GetLogic().GetBoard().GetOwner(30), 1);
    EXPECT_EQ(clone.level().GetState(), LevelState::MoveLanded);

    LevelFixture jump;
    jump.StartPicture(Picture({{30, '1'}, {0, '2'}}), {-1, 0});
    jump.HumanMove(30, 13);
    EXPECT_EQ(jump.view.Count("MoveBacterium 30 13 0 -1"), 1);
    EXPECT_EQ(jump.services.CountSound(LevelSound::BacJump), 1);
    EXPECT_EQ(jump.level().GetLogic().GetBoard().GetOwner(30), 0);
    jump.Step();
    EXPECT_EQ(jump.services.CountEvent(AchievementEvent::HumanJumped), 1);
    EXPECT_EQ(jump.services.CountEvent(AchievementEvent::CapturedNothing), 1);
}

TEST(Level, SelectionReselectionAndRefusedClicks)
{
    LevelFixture f;
    f.StartPicture(Picture({{30, '1'}, {32, '1'}, {0, '2'}}), {-1, 0});
    f.Click(30);
    f.Click(30); // the selected cell again: flashed, still selected
    EXPECT_EQ(f.level().GetSelectedCell(), 30);
    EXPECT_EQ(f.services.CountSound(LevelSound::BacSelectWrong), 1);
    f.Click(32);
    EXPECT_EQ(f.level().GetSelectedCell(), 32);
    EXPECT_EQ(f.view.Count("SetChosenCells {30}"), 1);
    f.Click(0); // an enemy cell
    f.Click(4); // a free cell out of reach: no step-back point either
    EXPECT_EQ(f.level().GetSelectedCell(), 32);
    EXPECT_EQ(f.services.CountSound(LevelSound::BacSelectWrong), 3);
    EXPECT_EQ(f.view.Count("SendToLink", true), 0);
    EXPECT_FALSE(f.session.HasSnapshot());
    f.Click(33);
    EXPECT_EQ(f.view.Count("SendToLink 2 -100"), 1);
    EXPECT_TRUE(f.session.HasSnapshot());
    EXPECT_EQ(f.view.Count("MoveBacterium 32 33 1 -1"), 1);
    f.HumanMove(30, 21); // before the landing is processed: no second move
    EXPECT_EQ(f.view.GetMoves().size(), 1u);
    // Clicks wait while the screen is busy or a computer player is to move.
    f.view.SetBusy(true);
    f.Step();
    EXPECT_EQ(f.level().GetState(), LevelState::MoveLanded);
}

TEST(Level, CaptureOfSixCellsScoresAndReports)
{
    LevelFixture f;
    f.StartPicture(Picture({{13, '1'}, {21, '2'}, {22, '2'}, {29, '2'}, {31, '2'}, {38, '2'}, {39, '2'}, {0, '2'}}),
                   {-1, 0});
    f.HumanMove(13, 30);
    f.Step();
    const LevelParams& params = f.level().GetParams();
    EXPECT_EQ(params.score, 360);
    EXPECT_EQ(params.captureScore, 360);
    EXPECT_EQ(params.capturedCells[0], 6);
    EXPECT_EQ(f.services.CountEvent(AchievementEvent::Captured), 1);
    EXPECT_EQ(f.services.CountEvent(AchievementEvent::CapturedSix), 1);
    EXPECT_EQ(f.services.CountEvent(AchievementEvent::CapturedFive), 0);
    EXPECT_EQ(f.services.CountEvent(AchievementEvent::OvertookEnemies), 1);
    ASSERT_EQ(f.view.GetFloatingTexts().size(), 6u);
    EXPECT_EQ(f.view.GetFloatingTexts()[0].value, 60);
    EXPECT_EQ(f.view.GetFloatingTexts()[0].style, 5);
    EXPECT_EQ(f.view.Count("StartCapture 21 30 0.00"), 1);
}

namespace
{
// Events 11 after a second human landing delayMs after the first.
int QuickLandingEvents(uint32_t delayMs)
{
    LevelFixture f;
    f.StartPicture(Picture({{30, '1'}, {0, '2'}}), {-1, 0});
    f.services.AdvanceClock(10000);
    f.HumanMove(30, 31);
    f.Step(); // the landing is booked at this update's time
    const uint32_t firstLanding = f.services.GetUpdateClockMs();
    f.RunToHuman();
    const uint32_t secondLanding = firstLanding + delayMs;
    EXPECT_LT(f.services.GetUpdateClockMs() + NullLevelServices::kStepMs, secondLanding);
    f.services.AdvanceClock(secondLanding - NullLevelServices::kStepMs - f.services.GetUpdateClockMs());
    f.HumanMove(31, 32);
    f.Step();
    EXPECT_EQ(f.services.GetUpdateClockMs(), secondLanding);
    return f.services.CountEvent(AchievementEvent::QuickLandings);
}
} // namespace

TEST(Level, TwoLandingsWithinThreeAndAHalfSeconds)
{
    EXPECT_EQ(QuickLandingEvents(3500), 1);
    EXPECT_EQ(QuickLandingEvents(3501), 0);
}

TEST(Level, FreeCellHandOutAddsNoRound)
{
    // Player 2 on the corner is walled in by player 1; after the human's move nobody else can
    // move, so the free cells go to the human and the game ends in round 1.
    LevelFixture f;
    f.StartPicture(Picture({{0, '2'}, {1, '1'}, {2, '1'}, {5, '1'}, {6, '1'}, {7, '1'}, {11, '1'}, {12, '1'}, {13, '1'}, {30, '1'}}),
                   {-1, 0});
    f.HumanMove(30, 31);
    f.RunToHuman();
    ASSERT_TRUE(f.session.IsOver());
    EXPECT_EQ(f.session.GetOutcome()->result, 1);
    EXPECT_EQ(f.level().GetParams().round, 1);
    EXPECT_EQ(f.level().GetLogic().GetFreeCellCount(), 0);
    EXPECT_EQ(f.level().GetLogic().GetCellCount(1), 60);
    EXPECT_EQ(f.services.CountEvent(AchievementEvent::LevelWon), 1);
    EXPECT_EQ(f.view.Count("PlaceOnCells 1", true), 2); // the hand-out, then the (empty) winner's fill
    EXPECT_GT(f.session.GetOutcome()->score, 0);
}

TEST(Level, LastEnemyCellCapturedWinsForTheHuman)
{
    LevelFixture f;
    f.StartPicture(Picture({{30, '1'}, {32, '2'}}), {-1, 0});
    f.HumanMove(30, 31);
    f.RunToHuman();
    ASSERT_TRUE(f.session.IsOver());
    EXPECT_EQ(f.session.GetOutcome()->result, 1);
    EXPECT_EQ(f.services.CountEvent(AchievementEvent::WonWithoutEnemies), 1);
    EXPECT_EQ(f.level().GetLogic().GetCellCount(1), 61); // the free cells went to the winner
}

TEST(Level, HumanWipedOutLosesToTheLeaderNotTheWinner)
{
    // Player 2 clones next to the human's only cell; players 2 and 3 then hold three cells
    // each: the winner rule would wait, the leader (the higher number on equal counts) wins.
    LevelFixture f;
    f.StartPicture(Picture({{30, '1'}, {13, '2'}, {58, '3'}, {59, '3'}, {60, '3'}}), {-1, 2, 0}, 2);
    f.RunToHuman();
    ASSERT_TRUE(f.session.IsOver());
    ASSERT_FALSE(f.view.GetMoves().empty());
    EXPECT_EQ(f.view.GetMoves()[0], (RecordingLevelView::MoveRecord{13, 21, true, -1}));
    EXPECT_EQ(f.session.GetOutcome()->result, 3);
    EXPECT_EQ(f.services.CountEvent(AchievementEvent::LevelLost), 1);
    EXPECT_EQ(f.level().GetLogic().GetCellCount(2), 3);
    EXPECT_EQ(f.level().GetLogic().GetFreeCellCount(), 0);
}

TEST(Level, BossLevelPassesTheTurnWhenNobodyCanMove)
{
    // Free cell 30 lies out of everyone's reach. The boss is not beaten and keeps the game
    // going, so the turn passes every update and the boss's countdown runs.
    std::string picture = Picture({{0, '1'}, {1, '.'}, {30, '.'}, {60, '2'}}, '#');
    LevelFixture f;
    f.view.EnableBoss(true);
    f.StartPicture(picture, {-1, 3});
    ASSERT_TRUE(f.level().HasBoss());
    f.view.GetBoss()->adjustedResult = 0;
    f.HumanMove(0, 1);
    f.Step();
    f.Step();
    EXPECT_EQ(f.level().GetState(), LevelState::EndOfTurn);
    const int round = f.level().GetParams().round;
    f.Step();
    f.Step();
    EXPECT_EQ(f.level().GetParams().round, round + 2);
    EXPECT_GE(f.view.Count("Boss.OnTurnPassed"), 3);
    EXPECT_FALSE(f.session.IsOver());
    EXPECT_EQ(f.level().GetLogic().GetFreeCellCount(), 1); // the living boss keeps its free cells
}

TEST(Level, NobodyCanMoveEndsTheGameWhenTheBossAgrees)
{
    LevelFixture f;
    f.view.EnableBoss(true);
    f.StartPicture(Picture({{0, '1'}, {1, '.'}, {30, '.'}, {60, '2'}}, '#'), {-1, 3});
    f.HumanMove(0, 1);
    f.RunToHuman();
    ASSERT_TRUE(f.session.IsOver());
    EXPECT_EQ(f.view.Count("Boss.AdjustGameResult 1"), 1);
    EXPECT_EQ(f.session.GetOutcome()->result, 1);
    EXPECT_EQ(f.level().GetLogic().GetFreeCellCount(), 0); // the winner's fill
}

TEST(Level, RandomLevelWinReportsItsEpisode)
{
    LevelFixture f;
    f.services.SetLevelNumber(-3);
    ASSERT_TRUE(f.session.LoadRandom([](GameLogic& logic) {
        logic = BoardTest::MakeLogic(Picture({{30, '1'}, {32, '2'}}), {-1, 0}, 1);
        return true;
    }));
    ASSERT_TRUE(f.session.Start(true));
    EXPECT_EQ(f.level().GetParams().round, 1);
    EXPECT_EQ(f.level().GetParams().cellCount, 61);
    f.HumanMove(30, 31);
    f.RunToHuman();
    ASSERT_TRUE(f.session.IsOver());
    EXPECT_EQ(f.services.CountEvent(kRandomLevelWonEventBase + 3), 1);
    EXPECT_EQ(f.session.GetOutcome()->score, f.level().GetParams().score);

    LevelFixture failed;
    EXPECT_FALSE(failed.session.LoadRandom([](GameLogic&) { return false; }));
    EXPECT_FALSE(failed.session.HasLevel());
}

TEST(Level, ComputerWithoutAMovePassesTheTurn)
{
    // Player 2 is walled in by holes from the start; the human keeps moving, rounds count on.
    LevelFixture f;
    f.StartPicture(WalledIn(Picture({{0, '2'}, {30, '1'}}), 0), {-1, 0}, 2);
    EXPECT_EQ(f.level().GetState(), LevelState::ComputerToMove);
    f.Step();
    EXPECT_EQ(f.level().GetState(), LevelState::HumanToMove);
    EXPECT_TRUE(f.view.GetMoves().empty());
}

TEST(Level, HintsAfterTheRampAndNeverDuringATutorialStep)
{
    LevelFixture f;
    f.StartPicture(Picture({{30, '1'}, {0, '2'}}), {-1, 0});
    // Level 1, difficulty 513: 3 + 7 / 70 = 3.1 s of updates.
    for (int i = 0; i < 305; ++i)
        f.Step();
    EXPECT_EQ(f.services.CountSound(LevelSound::MoveHint), 0);
    for (int i = 0; i < 10; ++i)
        f.Step();
    EXPECT_EQ(f.services.CountSound(LevelSound::MoveHint), 1);
    // Following the hint is reported.
    GameLogic copy = f.level().GetLogic();
    int from = 0;
    int to = 0;
    ASSERT_TRUE(copy.FindBestMove(from, to));
    f.HumanMove(from, to);
    f.Step();
    EXPECT_EQ(f.services.CountEvent(AchievementEvent::FollowedHint), 1);

    LevelFixture tutorial;
    tutorial.StartPicture(Picture({{30, '1'}, {0, '2'}}), {-1, 0});
    tutorial.view.SetTutorialStep(true);
    for (int i = 0; i < 1000; ++i)
        tutorial.Step();
    EXPECT_EQ(tutorial.services.CountSound(LevelSound::MoveHint), 0);
}

TEST(Level, HiddenObjectScoresTwentyPoints)
{
    LevelFixture f;
    f.StartPicture(Picture({{30, '1'}, {0, '2'}}), {-1, 0});
    f.view.AddHiddenObject(7, {15, 15});
    f.level().OnMouseDown({15, 15});
    EXPECT_EQ(f.level().GetParams().score, 20);
    EXPECT_EQ(f.level().GetParams().captureScore, 20);
    EXPECT_EQ(f.services.CountEvent(AchievementEvent::HiddenObjectFound), 1);
    EXPECT_EQ(f.view.Count("ShowFloatingText 20 1 15 15"), 1);
    EXPECT_EQ(f.view.Count("OpenHiddenObject 7"), 1);
}

TEST(LevelSession, StepBackRestoresTheSnapshotAndRepeatsTheReply)
{
    LevelFixture f;
    f.StartPicture(Picture({{30, '1'}, {45, '2'}, {50, '2'}}), {-1, 0}, 1, 77);
    const Board before = f.level().GetLogic().GetBoard();
    f.HumanMove(30, 38);
    f.RunToHuman();
    ASSERT_EQ(f.view.GetMoves().size(), 2u);
    const RecordingLevelView::MoveRecord reply = f.view.GetMoves()[1];

    ASSERT_TRUE(f.session.StepBack());
    EXPECT_EQ(f.level().GetLogic().GetBoard(), before);
    EXPECT_EQ(f.level().GetState(), LevelState::HumanToMove);
    EXPECT_EQ(f.level().GetParams().stepBacksLeft, 2);
    EXPECT_EQ(f.services.CountEvent(AchievementEvent::SteppedBack), 1);
    EXPECT_EQ(f.services.CountSound(LevelSound::BackstepActivate), 1);

    f.view.ClearRecords();
    f.HumanMove(30, 38);
    f.RunToHuman();
    ASSERT_EQ(f.view.GetMoves().size(), 2u);
    EXPECT_EQ(f.view.GetMoves()[1], reply);
}

TEST(LevelSession, StepBackNeedsASnapshotAndStepBacksLeft)
{
    LevelFixture f;
    f.StartPicture(Picture({{30, '1'}, {45, '2'}}), {-1, 0});
    EXPECT_FALSE(f.session.StepBack());
    ASSERT_EQ(f.services.GetErrors().size(), 1u);
    EXPECT_EQ(f.services.GetErrors()[0], "Level buffer empty");
    for (int left = 2; left >= 0; --left)
    {
        f.HumanMove(30, 31);
        f.RunToHuman();
        ASSERT_TRUE(f.session.StepBack());
        EXPECT_EQ(f.level().GetParams().stepBacksLeft, left);
    }
    f.HumanMove(30, 31);
    f.RunToHuman();
    EXPECT_FALSE(f.session.StepBack()); // none left
    EXPECT_EQ(f.level().GetLogic().GetBoard().GetOwner(31), 1);
}

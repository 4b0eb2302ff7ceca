// The play screen end to end on the generated game data: the autoplay plays level 1 to its end
// with the screen checked against the board after every turn, the same run in two fresh
// processes logs the same, a step back, a pause-menu save and a closed window come back to the
// same board, the tutorial's resource group lives as long as a tutorial shows, and the editor's
// copy and a broken level file are handled.
// Rerun: test_e2e --gtest_filter='AutoplayRun.*'
#include "tests/e2e/AutoplayFixture.h"

#include "framework/core/Common.h"
#include "framework/resources/ResourceManager.h"
#include "game/app/GameStates.h"
#include "game/app/PlayLevelState.h"
#include "game/play/BoardView.h"
#include "game/shell/GameLog.h"
#include "game/shell/PlayerData.h"
#include "game/shell/ResourceBindings.h"

#include <algorithm>

namespace
{
using namespace AutoplayTesting;

TEST_F(AutoplayRun, LevelOnePlaysToItsEndWithTheScreenAlwaysShowingTheBoard)
{
    Autoplay::Runner& run = Start(1);
    ASSERT_NE(run.Scene(), nullptr);
    EXPECT_GT(PlayToTheEndCheckingTheScreen(run), 0);
    // The level's end left the game ready to move on; leaving takes every particle system away.
    ExpectLeftCleanly(run);
}

// The whole-game scripts play level 1 on normal with the level driver's reference policy: the
// play screen, its tutorial steps clicked, ends it as the driver's headless game does (a
// gold win with the same moves; 6000 points for policy 2, seed 2, the scripts' choice because it
// wins soonest).
TEST_F(AutoplayRun, LevelOneOnNormalEndsWithThePolicysWinAsInTheLevelDriver)
{
    Autoplay::Options options;
    options.level = 1;
    options.seed = 2;
    options.difficulty = Profile::kNormalDifficulty;
    options.policy = PolicyKind{2};
    // As the scripts play: a pause at each turn, in which the tutorial's panels come in.
    options.thinkUpdates = 300;
    Autoplay::Runner& run = Start(options);
    ASSERT_NE(run.Scene(), nullptr);
    EXPECT_GT(PlayToTheEndCheckingTheScreen(run), 0);
    ASSERT_FALSE(run.Log().empty());
    EXPECT_EQ(run.Log().back(), "outcome winner 1 medal 2 score 6000");
}

TEST_F(AutoplayRun, TwoRunsInFreshProcessesLogTheSame)
{
    const fs::path folder = fs::path(QUOLL_TEST_HOME) / ProductName();
    fs::create_directories(folder);
    std::string outputs[2];
    for (int run = 0; run < 2; ++run)
    {
        const fs::path out = folder / ("run" + std::to_string(run) + ".txt");
        ASSERT_EQ(RunAutoplayProgram("--level 1 --seed " + std::to_string(kSeed), folder / ("home" + std::to_string(run)), out), 0)
            << ReadAll(out) << ReadAll(out.string() + ".err");
        outputs[run] = ReadAll(out);
    }
    EXPECT_NE(outputs[0].find("outcome winner"), std::string::npos);
    EXPECT_NE(outputs[0].find("turn 1 "), std::string::npos);
    EXPECT_EQ(outputs[0], outputs[1]);
    fs::remove_all(folder);
}

TEST_F(AutoplayRun, AStepBackBuildsTheScreenAgainFromTheRestoredBoard)
{
    Autoplay::Runner& run = Start(1);
    ASSERT_TRUE(run.PlayTurn());
    ASSERT_TRUE(run.PlayTurn());
    ASSERT_TRUE(run.HumanToMove());
    const int left = run.CurrentLevel()->GetParams().stepBacksLeft;
    run.Play().ReceiveCommand(PlayLevelState::kCommandStepBack, 0);
    ASSERT_TRUE(run.RunToHumanTurn());
    Level& level = *run.CurrentLevel();
    EXPECT_EQ(level.GetParams().stepBacksLeft, left - 1);
    EXPECT_EQ(run.Scene()->GetBoardView()->GetCellViews().size(), 61u);
    EXPECT_EQ(Autoplay::FindViewFault(*run.Scene(), level), "");
    // Play goes on from the restored board.
    ASSERT_TRUE(run.PlayTurn());
}

// A step back replaces the tutorial with a new one: the old one frees the group on its way out,
// which must not take the new one's pictures. Leaving the level frees them.
TEST_F(AutoplayRun, TheTutorialsGroupStaysThroughAStepBackAndGoesWithTheLevel)
{
    Autoplay::Runner& run = Start(1);
    const auto tutorialArt = [&run] {
        return run.App().mResourceManager->IsGroupLoaded("Tutorial") && GetImageById(IMAGE_TUTORIAL_BG) != nullptr &&
               GetImageById(IMAGE_TUTORIAL_PT) != nullptr && GetSoundById(SOUND_TUTOR_MISSCLICK) >= 0;
    };
    ASSERT_NE(run.Scene()->GetTutorial(), nullptr);
    EXPECT_TRUE(tutorialArt());
    ASSERT_TRUE(run.PlayTurn());
    ASSERT_TRUE(run.PlayTurn());
    ASSERT_TRUE(run.HumanToMove());
    run.Play().ReceiveCommand(PlayLevelState::kCommandStepBack, 0);
    ASSERT_TRUE(run.RunToHumanTurn());
    ASSERT_NE(run.Scene()->GetTutorial(), nullptr);
    EXPECT_TRUE(tutorialArt()) << "after the step back";

    run.Leave();
    EXPECT_FALSE(run.App().mResourceManager->IsGroupLoaded("Tutorial"));
    EXPECT_EQ(GetImageById(IMAGE_TUTORIAL_BG), nullptr);
}

TEST_F(AutoplayRun, APauseMenuSaveComesBackAsTheSameBoard)
{
    Autoplay::Runner& run = Start(1);
    ASSERT_TRUE(run.PlayTurn());
    ASSERT_TRUE(run.PlayTurn());
    ASSERT_TRUE(run.HumanToMove());
    run.Step();
    const std::string before = BodyOf(*run.CurrentLevel());
    GameStates& states = *run.App().GetGameStates();
    run.Play().ReceiveCommand(PlayLevelState::kCommandMenu, 0);
    ASSERT_TRUE(states.InGameMenu().IsOnStack());
    states.InGameMenu().ReceiveCommand(1, 0);
    EXPECT_FALSE(run.Play().IsOnStack());
    EXPECT_TRUE(states.MainMenu().IsOnStack());

    run.Play().SetContinueSavedGame();
    run.App().GetStateHost().ChangeState(run.Play());
    ASSERT_NE(run.CurrentLevel(), nullptr);
    EXPECT_EQ(BodyOf(*run.CurrentLevel()), before);
}

TEST_F(AutoplayRun, ClosingTheWindowMidLevelLosesNothing)
{
    // Level 4 has no tutorial, so the first turn is a whole move (a tutorial step is one press).
    std::string before;
    {
        Autoplay::Runner& run = Start(4);
        ASSERT_TRUE(run.PlayTurn());
        ASSERT_TRUE(run.HumanToMove());
        run.Step();
        before = BodyOf(*run.CurrentLevel());
        CloseWindow();
    }
    Autoplay::Runner& again = Start(4, true);
    ASSERT_NE(again.CurrentLevel(), nullptr);
    EXPECT_EQ(BodyOf(*again.CurrentLevel()), before);
}

TEST_F(AutoplayRun, TheEditorsCopyReloadsByteForByteAndIsOptional)
{
    Autoplay::Runner& run = Start(3);
    ASSERT_TRUE(run.RunToHumanTurn());
    PlayLevelState& play = run.Play();
    const fs::path copy = PlayLevelState::GetEditorCopyPath(3);
    fs::remove(copy);

    // Without a copy, mode 2 is the campaign file.
    ASSERT_TRUE(play.LoadLevel(PlayLevelState::kCampaignFile));
    const std::string campaign = BodyOf(*run.CurrentLevel());
    ASSERT_TRUE(play.LoadLevel(PlayLevelState::kEditorCopy));
    EXPECT_EQ(BodyOf(*run.CurrentLevel()), campaign);

    ASSERT_TRUE(play.SaveLevel(PlayLevelState::kEditorCopy));
    const std::string saved = ReadAll(copy);
    ASSERT_FALSE(saved.empty());
    ASSERT_TRUE(play.LoadLevel(PlayLevelState::kEditorCopy));
    ASSERT_TRUE(play.SaveLevel(PlayLevelState::kEditorCopy));
    EXPECT_EQ(ReadAll(copy), saved);
    fs::remove(copy);
}

TEST_F(AutoplayRun, ABrokenLevelFileIsLoggedAndHandsBack)
{
    const fs::path logFile = fs::path(QUOLL_TEST_HOME) / (ProductName() + ".log");
    ASSERT_TRUE(GameLog::Get().Open(logFile.string()));
    Autoplay::Runner& run = Start(3);
    ASSERT_TRUE(run.RunToHumanTurn());
    const fs::path copy = PlayLevelState::GetEditorCopyPath(3);
    fs::create_directories(copy.parent_path());
    std::ofstream(copy, std::ios::binary) << "not a level";

    EXPECT_FALSE(run.Play().LoadLevel(PlayLevelState::kEditorCopy));
    EXPECT_FALSE(run.Play().IsOnStack());
    const std::string log = ReadAll(logFile);
    EXPECT_NE(log.find("Cannot open Level file: " + copy.string()), std::string::npos) << log;
    // Continuing when there is no saved game hands back the same way, and so does level 0.
    run.Play().SetContinueSavedGame(&run.Idle());
    run.App().GetStateHost().ChangeState(run.Play());
    EXPECT_FALSE(run.Play().IsOnStack());
    run.Play().SetLevel(0, &run.Idle());
    run.App().GetStateHost().ChangeState(run.Play());
    EXPECT_FALSE(run.Play().IsOnStack());
    fs::remove(copy);
    GameLog::Get().Close();
    fs::remove(logFile);
}
} // namespace

namespace
{
// The play screen's commands as the scene, the quick menu and the pause menu send them.
TEST_F(AutoplayRun, ThePlayScreensCommandsReachTheirScreens)
{
    Autoplay::Runner& run = Start(1);
    ASSERT_NE(run.CurrentLevel(), nullptr);
    const std::string fromFile = BodyOf(*run.CurrentLevel());
    ASSERT_TRUE(run.PlayTurn());
    ASSERT_TRUE(run.HumanToMove());
    PlayLevelState& play = run.Play();
    GameStates& states = *run.App().GetGameStates();
    // The game's hidden objects are on the scene.
    EXPECT_NE(run.Scene()->GetHiddenObjects(), nullptr);

    // Mute goes on and off at once.
    const bool muted = run.App().GetPlayServices().IsMuted();
    play.ReceiveCommand(PlayLevelState::kCommandMute, 0);
    EXPECT_NE(run.App().GetPlayServices().IsMuted(), muted);
    play.ReceiveCommand(PlayLevelState::kCommandMute, 0);
    EXPECT_EQ(run.App().GetPlayServices().IsMuted(), muted);

    // The pause menu: continue closes it and the level goes on.
    play.ReceiveCommand(PlayLevelState::kCommandMenu, 0);
    ASSERT_TRUE(states.InGameMenu().IsOnStack());
    states.InGameMenu().ReceiveCommand(0, 0);
    EXPECT_FALSE(states.InGameMenu().IsOnStack());
    EXPECT_TRUE(play.IsLevelRunning());

    // Restart from the pause menu: the level starts again from its file.
    // (The new level may sit at the old one's address, so its board is what tells them apart.)
    ASSERT_NE(BodyOf(*run.CurrentLevel()), fromFile);
    play.ReceiveCommand(PlayLevelState::kCommandMenu, 0);
    states.InGameMenu().ReceiveCommand(2, 0);
    EXPECT_FALSE(states.InGameMenu().IsOnStack());
    ASSERT_NE(run.CurrentLevel(), nullptr);
    EXPECT_EQ(BodyOf(*run.CurrentLevel()), fromFile);
    EXPECT_EQ(run.CurrentLevel()->GetParams().round, 1);
    ASSERT_TRUE(run.PlayTurn());

    // The tutorial's close button asks first; no closes nothing.
    play.ReceiveCommand(PlayLevelState::kCommandCloseTutorial, 0);
    ASSERT_TRUE(play.IsOnStack());
    EXPECT_NE(run.App().GetStateHost().GetTopState(), &play);
    static_cast<WidgetLink*>(run.App().GetStateHost().GetTopState())->ReceiveCommand(1, 0);
    EXPECT_EQ(run.App().GetStateHost().GetTopState(), &play);
}

// A finished level leaves no way into the pause menu and no click reaches it.
TEST_F(AutoplayRun, AFinishedLevelTakesNoMenuOrClick)
{
    Autoplay::Runner& run = Start(1);
    ASSERT_TRUE(run.RunToEnd());
    ASSERT_TRUE(run.Play().IsFinished());
    run.Play().ReceiveCommand(PlayLevelState::kCommandMenu, 0);
    EXPECT_FALSE(run.App().GetGameStates()->InGameMenu().IsOnStack());
    // The result is in the profile: level 1 lost leaves no score; the saved game is gone.
    ASSERT_NE(run.App().GetPlayerData(), nullptr);
    EXPECT_FALSE(run.App().GetPlayerData()->LoadSavedGame().has_value());
}
} // namespace

namespace
{
// A random level of episode 2 played to its end counts in the profile's random-level figures.
TEST_F(AutoplayRun, ARandomLevelCountsInTheProfilesRandomFigures)
{
    Autoplay::Runner& run = Start(-2);
    ASSERT_NE(run.CurrentLevel(), nullptr);
    EXPECT_EQ(run.App().GetCurrentLevelNumber(), -2);
    ASSERT_TRUE(run.RunToEnd());
    int played = 0, won = 0;
    run.App().GetPlayerData()->GetCurrentProfile().GetRandomStats(2, played, won);
    EXPECT_EQ(played, 1);
    const bool humanWon = std::any_of(run.Log().begin(), run.Log().end(),
                                      [](const std::string& line) { return line.rfind("outcome winner 1 ", 0) == 0; });
    EXPECT_EQ(won, humanWon ? 1 : 0);
}
} // namespace

namespace
{
// The level map starts a chosen level and a random level of an episode on the play screen.
TEST_F(AutoplayRun, TheLevelMapStartsLevelsOnThePlayScreen)
{
    Autoplay::Runner& run = Start(1);
    StateHost& host = run.App().GetStateHost();
    LevelMapState& map = run.App().GetGameStates()->LevelMap();
    // Through the level-loading state, which has nothing left to load here: one update.
    const auto runToPlay = [&run] {
        for (int i = 0; i < 10 && !run.Play().IsOnStack(); ++i)
            run.Step();
    };
    host.ChangeState(map);
    ASSERT_TRUE(map.IsOnStack());
    map.ReceiveCommand(Quoll::LevelMap::kTransitionDone, 1);
    EXPECT_TRUE(run.App().GetGameStates()->LoadLevel().IsOnStack());
    runToPlay();
    ASSERT_TRUE(run.Play().IsOnStack());
    EXPECT_EQ(run.Play().GetLevelNumber(), 1);
    EXPECT_TRUE(run.RunToHumanTurn());

    host.ChangeState(map);
    map.ReceiveCommand(Quoll::LevelMap::kRandomLevel, 3);
    runToPlay();
    ASSERT_TRUE(run.Play().IsOnStack());
    EXPECT_EQ(run.App().GetCurrentLevelNumber(), -3);
    ASSERT_NE(run.CurrentLevel(), nullptr);
    // The map's widget goes with the next update's deletions.
    run.Step();
}
} // namespace

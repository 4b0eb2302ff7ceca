// The main menu's play with a saved game: the question comes after the difficulty; yes continues
// the saved level and keeps the file, no (or Escape) deletes it on disk and goes on to the map;
// without a saved game (or with a damaged one) play goes straight on.
// Rerun one case: test_shell --gtest_filter='SavedGameQuestion.*'.
#include "game/app/MainMenuState.h"
#include "game/screens/ComplexityDlg.h"
#include "game/screens/ExitGameDlg.h"
#include "game/shell/PlayerData.h"
#include "game/shell/WaitState.h"
#include "tests/screens/MenuTestDoubles.h"
#include "tests/shell/QuietShellActions.h"

#include <gtest/gtest.h>

namespace
{
class Marker final : public GameState
{
public:
    using GameState::GameState;
};

class SavedGameQuestion : public ::testing::Test
{
protected:
    SavedGameQuestion()
    {
        ScreenTest::AddMenuResources(harness);
        actions.data->CreateProfile("ann");
        actions.data->ChooseDifficulty(Profile::kNormalDifficulty);
        state.SetLevelMap(&levelMap);
        state.SetSavedGame(&question, [this](int level) { continued.push_back(level); });
    }
    ~SavedGameQuestion() override
    {
        harness.host.ExitAll();
        harness.ui.RunDeferredDeletes();
    }

    void SaveGameOfLevel(int level)
    {
        Quoll::Buffer body;
        body.WriteInt32(level);
        ASSERT_TRUE(actions.data->SaveGame(level, body));
    }
    void PressPlay()
    {
        harness.Key(13);
        harness.Run();
    }
    void Answer(int command)
    {
        auto* dialog = dynamic_cast<StartSavedGameDlg*>(question.GetWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->SendToLink(command, 0);
        harness.Run();
    }
    [[nodiscard]] bool SavedOnDisk()
    {
        PlayerData reread(actions.store);
        reread.Load("ann");
        return reread.LoadSavedGame().has_value();
    }

    QuietShellActions actions;
    ScreenTest::FakeMenuServices services;
    ScreenTest::ScreenHarness harness;
    Marker levelMap{harness.host, "LevelMapState"};
    WaitState difficulty{harness.host, "ComplexityState"};
    WaitState question{harness.host, "StartSavedGameState"};
    MainMenuState state{harness.host, actions, services, {nullptr, nullptr, nullptr, nullptr, nullptr, &difficulty}};
    std::vector<int> continued;
};

TEST_F(SavedGameQuestion, YesContinuesTheSavedLevelAndKeepsIt)
{
    SaveGameOfLevel(12);
    harness.host.PushState(state);
    PressPlay();
    ASSERT_EQ(harness.host.GetTopState(), &question);
    Answer(ExitGameDlg::kCommandYes);
    EXPECT_EQ(continued, std::vector<int>{12});
    EXPECT_TRUE(SavedOnDisk()) << "the play state reads it";
}

TEST_F(SavedGameQuestion, NoAndEscapeDeleteItAndGoOnToTheMap)
{
    SaveGameOfLevel(-3);
    harness.host.PushState(state);
    PressPlay();
    ASSERT_EQ(harness.host.GetTopState(), &question);
    Answer(ExitGameDlg::kCommandNo);
    EXPECT_TRUE(continued.empty());
    EXPECT_FALSE(SavedOnDisk());
    EXPECT_EQ(harness.host.GetTopState(), &levelMap);

    harness.host.ChangeState(state);
    harness.Run();
    SaveGameOfLevel(7);
    PressPlay();
    ASSERT_EQ(harness.host.GetTopState(), &question);
    harness.Key(27);
    harness.Run();
    EXPECT_FALSE(SavedOnDisk());
    EXPECT_EQ(harness.host.GetTopState(), &levelMap);
}

TEST_F(SavedGameQuestion, ComesAfterTheDifficultyAndNotWithoutASavedGame)
{
    actions.data->CreateProfile("bob");
    SaveGameOfLevel(4);
    harness.host.PushState(state);
    PressPlay();
    ASSERT_EQ(harness.host.GetTopState(), &difficulty) << "a new profile chooses its difficulty first";
    auto* dialog = dynamic_cast<ComplexityDlg*>(difficulty.GetWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->SendToLink(ComplexityDlg::kCommandEasy, 0);
    harness.Run();
    ASSERT_EQ(harness.host.GetTopState(), &question);
    Answer(ExitGameDlg::kCommandYes);
    EXPECT_EQ(continued, std::vector<int>{4});

    // A damaged saved game is no game: play goes straight to the map.
    harness.host.ChangeState(state);
    harness.Run();
    actions.store.SetBytes(SavedGame::GetFileName("bob"), "damaged");
    PressPlay();
    EXPECT_EQ(harness.host.GetTopState(), &levelMap);
}
} // namespace

// The main-menu state over real player data in a file store: the first play asks for the
// profile's difficulty (Escape leaves none and asks again next time, easy is on disk at once),
// the menu's commands open their screens, unknown ones are logged, and the labels follow a
// language or profile change made on a screen above the menu.
// Rerun one case: test_shell --gtest_filter='MainMenuState.*'.
#include "framework/widgets/ButtonWidget.h"
#include "game/app/MainMenuState.h"
#include "game/screens/ComplexityDlg.h"
#include "game/screens/MainMenu.h"
#include "game/shell/PlayerData.h"
#include "game/shell/PlayerFileStore.h"
#include "game/shell/WaitState.h"
#include "game/ui/Button.h"
#include "tests/screens/MenuTestDoubles.h"
#include "tests/shell/QuietShellActions.h"

#include <gtest/gtest.h>

namespace
{
class MenuActions final : public QuietShellActions
{
public:
    void PlayMusic(int song, float) override { songs.push_back(song); }

    std::vector<int> songs;
};

class Marker final : public GameState
{
public:
    using GameState::GameState;
    void OnEnter() override { ++entered; }
    void Leave() { PopState(); }
    int entered = 0;
};

class MainMenuState_ : public ::testing::Test
{
protected:
    MainMenuState_()
    {
        ScreenTest::AddMenuResources(harness);
        actions.data->CreateProfile("ann");
        services.profileName = "ann";
    }
    ~MainMenuState_() override
    {
        harness.host.ExitAll();
        harness.ui.RunDeferredDeletes();
    }

    [[nodiscard]] Quoll::MainMenu& Menu() const { return *state.GetMenu(); }
    // The button of a command on the difficulty dialog now showing.
    void PressDifficulty(int command)
    {
        auto* dialog = dynamic_cast<ComplexityDlg*>(difficulty.GetWidget());
        ASSERT_NE(dialog, nullptr);
        for (Quoll::Widget* child : dialog->GetWidgets())
            if (auto* button = dynamic_cast<Quoll::ButtonWidget*>(child); button != nullptr && button->mId == command)
            {
                harness.Click(*button);
                harness.Run();
                return;
            }
        FAIL() << "no button " << command;
    }

    MenuActions actions;
    ScreenTest::FakeMenuServices services;
    ScreenTest::ScreenHarness harness;
    Marker settings{harness.host, "Settings"}, scores{harness.host, "Scores"}, credits{harness.host, "Credits"},
        exit{harness.host, "Exit"}, profiles{harness.host, "Profiles"}, levelMap{harness.host, "LevelMapState"};
    WaitState difficulty{harness.host, "ComplexityState"};
    MainMenuState state{harness.host, actions, services, {&settings, &scores, &credits, &exit, &profiles, &difficulty}};
};

TEST_F(MainMenuState_, DifficultyIsAskedUntilChosenAndStoredOnDisk)
{
    harness.host.PushState(state);
    EXPECT_EQ(actions.songs, std::vector<int>{1});

    // Escape on the dialog chooses nothing: the menu stays and asks again at the next play.
    harness.Key(13);
    harness.Run();
    ASSERT_EQ(harness.host.GetTopState(), &difficulty);
    harness.Key(27);
    harness.Run();
    EXPECT_EQ(harness.host.GetTopState(), &state);
    EXPECT_FALSE(actions.data->GetCurrentProfile().IsDifficultyChosen());
    EXPECT_EQ(harness.ui.CountLog("WARNING: Main menu: play"), 0);

    harness.Key(13);
    harness.Run();
    ASSERT_EQ(harness.host.GetTopState(), &difficulty);
    PressDifficulty(ComplexityDlg::kCommandEasy);
    // No level map yet: logged, and the menu stays.
    EXPECT_EQ(harness.host.GetTopState(), &state);
    EXPECT_EQ(harness.ui.CountLog("WARNING: Main menu: play"), 1);

    PlayerData reread(actions.store);
    reread.Load("ann");
    EXPECT_TRUE(reread.GetCurrentProfile().IsDifficultyChosen());
    EXPECT_EQ(reread.GetCurrentProfile().GetDifficulty(), 513);

    // Chosen: play goes straight on.
    state.SetLevelMap(&levelMap);
    harness.Key(13);
    harness.Run();
    EXPECT_EQ(harness.host.GetTopState(), &levelMap);
}

TEST_F(MainMenuState_, NormalGoesOnToTheLevelMap)
{
    state.SetLevelMap(&levelMap);
    harness.host.PushState(state);
    harness.Key(13);
    harness.Run();
    PressDifficulty(ComplexityDlg::kCommandNormal);
    EXPECT_EQ(harness.host.GetTopState(), &levelMap);
    EXPECT_EQ(actions.data->GetCurrentProfile().GetDifficulty(), 514);
}

TEST_F(MainMenuState_, CommandsOpenTheirScreensAndUnknownOnesAreLogged)
{
    services.currentSong = 1;
    harness.host.PushState(state);
    EXPECT_TRUE(actions.songs.empty());
    const std::pair<int, Marker*> screens[] = {
        {1, &settings}, {2, &scores}, {3, &credits}, {5, &exit}, {6, &profiles}};
    for (const auto& [command, screen] : screens)
    {
        Menu().SendToLink(command, 0);
        harness.Run();
        EXPECT_EQ(harness.host.GetTopState(), screen) << command;
        screen->Leave();
        harness.Run();
    }
    Menu().SendToLink(4, 0);
    EXPECT_EQ(harness.ui.CountLog("WARNING: Unhundled main menu button: 4"), 1);
    EXPECT_EQ(harness.host.GetTopState(), &state);
}

TEST_F(MainMenuState_, LabelsFollowAProfileOrLanguageChangeMadeAbove)
{
    harness.host.PushState(state);
    Menu().SendToLink(Quoll::MainMenu::kProfile, 0);
    harness.Run();
    services.profileName = "bob";
    profiles.Leave();
    harness.Run();
    EXPECT_EQ(Menu().GetButton(Quoll::MainMenu::kProfile)->mLabel, L"bob");

    Menu().SendToLink(Quoll::MainMenu::kSettings, 0);
    harness.Run();
    services.artLanguage = 1;
    harness.ui.texts["UI_PLAY_GAME"] = L"Spielen";
    settings.Leave();
    harness.Run();
    EXPECT_EQ(Menu().GetButton(Quoll::MainMenu::kPlay)->mLabel, L"Spielen");
    EXPECT_EQ(services.meshes.back(), "data/art/textures/interface/logo_alt.mesh 0.800000");
}
} // namespace

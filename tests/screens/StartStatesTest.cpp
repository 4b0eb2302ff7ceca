// The start-up states over the title screen and the loading bar: the title's command is ignored
// until loading has finished, the first run's compulsory profile creation comes before the menu,
// and the loading bar's black background is a one-shot request.
#include "ScreenTestDoubles.h"
#include "game/app/LoadState.h"
#include "game/app/StartLoadState.h"
#include "game/screens/ProgressWidget.h"
#include "game/screens/TitleScreen.h"
#include "game/shell/GameState.h"

#include <gtest/gtest.h>

namespace
{
using ScreenTest::ScreenHarness;

// A state that only records that it was entered.
class MarkerState final : public GameState
{
public:
    MarkerState(StateHost& host, std::string name) : GameState(host, std::move(name)) {}
    void OnEnter() override { ++entered; }
    // Leaves, as a closing dialog does.
    void Leave() { PopState(); }
    int entered = 0;
};

struct StartStates
{
    explicit StartStates(ScreenHarness& harness)
        : harness(harness), loading(harness.host, {[this] { return progress; }, [this] { return finished; }}),
          menu(harness.host, "MainMenuState"), createProfile(harness.host, "CreateProfileState"),
          start(harness.host, [] { return 0; }, {&loading, &menu, &createProfile, [this] { return hasProfile; }})
    {
        harness.ui.AddImage("IMAGE_SPLASH", 1024, 768, 0xFF203A5C);
        harness.ui.AddImage("IMAGE_LOGO_EN", 400, 150, 0xFFE09030);
        harness.ui.AddImage("IMAGE_PROGRESS_FOREGROUND", 204, 20, 0xFFE8E8E8);
        harness.ui.AddImage("IMAGE_PROGRESS_FILL", 200, 10, 0xFFD02020);
        harness.ui.AddImage("IMAGE_PROGRESS_FILL_END", 8, 10, 0xFF20D020);
    }

    // The states go before the harness: take them off its stack first.
    ~StartStates()
    {
        harness.host.ExitAll();
        harness.ui.RunDeferredDeletes();
    }
    StartStates(const StartStates&) = delete;
    StartStates& operator=(const StartStates&) = delete;

    ScreenHarness& harness;
    float progress = 0.0f;
    bool finished = false;
    bool hasProfile = true;
    LoadState loading;
    MarkerState menu;
    MarkerState createProfile;
    StartLoadState start;
};

Quoll::TitleScreen* Title(StartLoadState& start)
{
    return dynamic_cast<Quoll::TitleScreen*>(start.GetWidget());
}

TEST(StartLoadState, IgnoresContinueWhileLoadingAndAcceptsItAfterwards)
{
    ScreenHarness harness;
    StartStates states(harness);
    harness.host.PushState(states.start);
    EXPECT_EQ(harness.ui.groupCalls, (std::vector<std::string>{"load TitleScreen"}));
    EXPECT_EQ(harness.host.GetTopState(), &states.loading);

    states.progress = 0.5f;
    harness.Run();
    ASSERT_NE(states.loading.GetWidget(), nullptr);
    EXPECT_FLOAT_EQ(dynamic_cast<Quoll::ProgressWidget*>(states.loading.GetWidget())->GetProgress(), 0.5f);
    // The title is below the bar; its continue is ignored while loading goes on.
    Title(states.start)->SendToLink(Quoll::TitleScreen::kCommandContinue, 0);
    harness.Run();
    EXPECT_EQ(states.menu.entered, 0);
    EXPECT_FALSE(Title(states.start)->showPrompt);

    states.finished = true;
    harness.Run();
    EXPECT_EQ(harness.host.GetTopState(), &states.start);
    EXPECT_TRUE(states.start.IsLoadingFinished());
    EXPECT_TRUE(Title(states.start)->showPrompt);

    // The title has the keyboard back: any key continues.
    harness.Key('A');
    harness.Run();
    EXPECT_EQ(states.menu.entered, 1);
    EXPECT_EQ(harness.host.GetTopState(), &states.menu);
    EXPECT_EQ(states.createProfile.entered, 0);
}

TEST(StartLoadState, FirstRunCreatesAProfileBeforeTheMenu)
{
    ScreenHarness harness;
    StartStates states(harness);
    states.hasProfile = false;
    harness.host.PushState(states.start);
    // The loading thread's completion reaches the bar.
    harness.host.LoadingCompleted();
    harness.Run();
    ASSERT_TRUE(Title(states.start)->showPrompt);

    harness.Key(' ');
    harness.Run();
    EXPECT_EQ(harness.host.GetTopState(), &states.createProfile);
    EXPECT_EQ(states.menu.entered, 0);
    // A second click while the dialog is up does nothing.
    Title(states.start)->SendToLink(Quoll::TitleScreen::kCommandContinue, 0);
    harness.Run();
    EXPECT_EQ(states.createProfile.entered, 1);

    states.hasProfile = true;
    states.createProfile.Leave();
    harness.Run();
    EXPECT_EQ(harness.host.GetTopState(), &states.menu);
    EXPECT_EQ(states.menu.entered, 1);
}

TEST(LoadState, BlackBackgroundIsAOneShotRequestAndEarlyCompletionPopsAtOnce)
{
    ScreenHarness harness;
    MarkerState below(harness.host, "Below");
    StartStates states(harness);
    harness.host.PushState(below);

    states.loading.RequestBlackBackground();
    harness.host.PushState(states.loading);
    EXPECT_TRUE(dynamic_cast<Quoll::ProgressWidget*>(states.loading.GetWidget())->blackBackground);
    harness.host.LoadingCompleted();
    EXPECT_EQ(harness.host.GetTopState(), &below);

    // Loading had already finished when the bar came up: it leaves at its first update.
    states.finished = true;
    harness.host.PushState(states.loading);
    EXPECT_FALSE(dynamic_cast<Quoll::ProgressWidget*>(states.loading.GetWidget())->blackBackground);
    harness.Run();
    EXPECT_EQ(harness.host.GetTopState(), &below);
}
} // namespace

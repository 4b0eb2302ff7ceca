// The dialogs' states served by the real application: GameApp installs the widgets' services,
// and what the settings and profile states change is in the settings file that the next start
// reads.
// Rerun one case: test_shell --gtest_filter='GameShellActionsTest.*'.
#include "framework/platform/window/headless/HeadlessWindowSystem.h"
#include "game/app/GameApp.h"
#include "game/app/GameShellActions.h"
#include "game/app/SettingsState.h"
#include "game/shell/PlayerData.h"
#include "tests/shell/MinimalGameData.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace
{
namespace fs = std::filesystem;

struct ExitCalled
{
    int code;
};

void ThrowOnExit(int code)
{
    throw ExitCalled{code};
}

std::string ProductName()
{
    return "ShellActions" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

// GameApp headless on the minimal data set, with its settings in a file of the test's folder.
class FileSettingsApp : public GameApp
{
public:
    FileSettingsApp(const fs::path& folder, const fs::path& settings)
    {
        SetWindowSystem(std::make_unique<Quoll::Platform::HeadlessWindowSystem>());
        SetSettingsStore(std::make_unique<Quoll::Platform::SettingsStore>(settings.string()));
        mProdName = ProductName();
        mWorkingFolder = folder.string();
        mCommandLineParsed = true;
    }

protected:
    void InstallCrashCatcher() override {}
};

class GameShellActionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mFolder = fs::path(QUOLL_TEST_HOME) / ("actions_" + std::to_string(::getpid()));
        fs::remove_all(mFolder);
        ShellTest::WriteMinimalGameData(mFolder);
        mPreviousExit = Quoll::QuollAppBase::SetExitHandler(&ThrowOnExit);
    }
    void TearDown() override
    {
        Quoll::QuollAppBase::SetExitHandler(mPreviousExit);
        fs::current_path(QUOLL_TEST_HOME);
        fs::remove_all(mFolder);
        fs::remove_all(fs::path(QUOLL_TEST_HOME) / "data/Nordwick" / ProductName());
    }

    fs::path mFolder;
    Quoll::ExitHandler mPreviousExit = nullptr;
};

TEST_F(GameShellActionsTest, SettingsAndTheCurrentProfilePersistAfterARestart)
{
    const fs::path settings = mFolder / "settings.txt";
    {
        FileSettingsApp app(mFolder, settings);
        EXPECT_NE(GetUiServices(), nullptr);
        app.Init();
        GameShellActions actions(app);
        const SettingsView view = actions.ReadSettingsView();
        EXPECT_TRUE(view.musicEnabled);
        EXPECT_TRUE(view.twoLanguages);
        EXPECT_FALSE(view.isWindowedImpossible());

        actions.SetMusicEnabled(false);
        actions.ToggleLanguage();
        ASSERT_EQ(actions.GetPlayerData()->CreateProfile("Ann"), ProfileList::NameCheck::Ok);
        actions.OnProfileChanged();
        // The settings dialog's state writes them when it closes; nothing waits for the shutdown.
        SettingsState state(app.GetStateHost(), actions);
        state.OnExit();
    }
    EXPECT_EQ(GetUiServices(), nullptr);
    FileSettingsApp again(mFolder, settings);
    again.Init();
    EXPECT_FALSE(again.GetGameSettings().musicEnabled);
    EXPECT_TRUE(again.GetGameSettings().languageFlag);
    EXPECT_EQ(again.GetCurrentProfileName(), "Ann");
}
} // namespace

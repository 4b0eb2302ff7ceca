#pragma once
// The game application started in the test process on the generated game data (main.pak in the
// build's run folder), on the headless back ends, with a product name of its own, so that the
// play screen's services can be asked what the play code will ask.
#include "framework/platform/window/headless/HeadlessWindowSystem.h"
#include "game/app/GameApp.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

namespace PlayDataTest
{
// The play screen's resource groups, with the interface group (loaded at start for the whole run)
// that holds the buttons' pictures.
inline constexpr const char* kPlayGroups[] = {"Game", "Fones", "Particles", "Sounds", "Interface"};

class DataGameApp : public GameApp
{
public:
    DataGameApp()
    {
        SetWindowSystem(std::make_unique<Quoll::Platform::HeadlessWindowSystem>());
        SetSettingsStore(std::make_unique<Quoll::Platform::SettingsStore>(std::string()));
        mProdName = "PlayDataTest" + std::to_string(::getpid()) + "_" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name();
        mWorkingFolder = QUOLL_GAME_DIR;
        mCommandLineParsed = true;
    }
    ~DataGameApp() override
    {
        // The player's data folder of this product name.
        std::filesystem::remove_all(std::filesystem::path(QUOLL_TEST_HOME) / "data/Nordwick" / mProdName);
    }

protected:
    void InstallCrashCatcher() override {}
};

// A started application; the play groups loaded when asked.
class PlayData : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mApp = std::make_unique<DataGameApp>();
        mApp->Init();
        ASSERT_FALSE(mApp->mShutdown);
    }
    void TearDown() override { mApp.reset(); }

    void LoadPlayGroups()
    {
        for (const char* group : kPlayGroups)
            ASSERT_TRUE(Services().LoadResourceGroup(group)) << group;
    }
    [[nodiscard]] GamePlayServices& Services() { return mApp->GetPlayServices(); }

    std::unique_ptr<DataGameApp> mApp;
};
} // namespace PlayDataTest

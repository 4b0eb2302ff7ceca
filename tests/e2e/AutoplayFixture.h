#pragma once
// Shared by the end-to-end suites: a runner of the autoplay on the generated game data in this
// process, the autoplay program in a fresh process, and the checks every played level passes.
#include "tools/autoplay/Autoplay.h"

#include "framework/core/Buffer.h"
#include "game/app/PlayLevelState.h"
#include "game/level/Level.h"
#include "game/play/GameScene.h"
#include "game/scene/ParticleManager.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace AutoplayTesting
{
namespace fs = std::filesystem;

inline constexpr uint32_t kSeed = 20261207;
// Five seconds of logic updates.
inline constexpr int kMostBusyUpdates = 500;
inline constexpr int kMaxUpdates = 400000;

inline std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The running test's own product name: its player files never meet another test's.
inline std::string ProductName()
{
    return "AutoplayTest" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

// The body of the running level's board and parameters.
inline std::string BodyOf(Level& level)
{
    Quoll::Buffer body;
    level.Save(body, false);
    return {reinterpret_cast<const char*>(body.GetDataPtr()), body.GetDataSize()};
}

// Runs the autoplay program in a fresh process with the arguments (after --game-dir and
// --home, both the test's own); its standard output lands in out. The exit code.
inline int RunAutoplayProgram(const std::string& arguments, const fs::path& home, const fs::path& out)
{
    // The system's font library keeps a little memory to the end (see the suppressions).
    const std::string command = std::string("LSAN_OPTIONS=suppressions=") + QUOLL_SOURCE_DIR +
                                "/tests/shell/lsan.supp '" + QUOLL_AUTOPLAY_PROGRAM + "' --game-dir '" + QUOLL_GAME_DIR +
                                "' --home '" + home.string() + "' " + arguments + " > '" + out.string() + "' 2>'" +
                                out.string() + ".err'";
    return std::system(command.c_str());
}

// Plays the run to the level's end. After every turn, once the screen is idle, the screen must
// show the board (Autoplay::FindViewFault); the level is never busy longer than five seconds.
// The number of turns checked.
inline int PlayToTheEndCheckingTheScreen(Autoplay::Runner& run)
{
    int turns = 0;
    while (!run.IsFinished() && run.GetUpdates() < kMaxUpdates)
    {
        if (!run.PlayTurn())
            break;
        if (!run.HumanToMove())
            continue;
        ++turns;
        const std::string fault = Autoplay::FindViewFault(*run.Scene(), *run.CurrentLevel());
        EXPECT_EQ(fault, "") << "after turn " << turns;
        if (!fault.empty())
            break;
    }
    EXPECT_TRUE(run.RunToEnd());
    EXPECT_LE(run.GetLongestBusy(), kMostBusyUpdates);
    return turns;
}

// Leaving a finished level takes the play screen and every particle system away.
inline void ExpectLeftCleanly(Autoplay::Runner& run)
{
    EXPECT_TRUE(run.Play().IsFinished());
    run.Leave();
    EXPECT_FALSE(run.Play().IsOnStack());
    ASSERT_NE(run.App().GetParticleManager(), nullptr);
    EXPECT_EQ(run.App().GetParticleManager()->GetCount(), 0);
}

class AutoplayRun : public ::testing::Test
{
protected:
    void TearDown() override
    {
        mRunner.reset();
        fs::remove_all(fs::path(QUOLL_TEST_HOME) / "data/Nordwick" / ProductName());
    }

    Autoplay::Runner& Start(int level = 1, bool continueSavedGame = false)
    {
        Autoplay::Options options;
        options.level = level;
        options.continueSavedGame = continueSavedGame;
        options.seed = kSeed;
        return Start(options);
    }
    // The options' level, seed and replay; the test's game data and update limit.
    Autoplay::Runner& Start(Autoplay::Options options)
    {
        options.gameDir = QUOLL_GAME_DIR;
        options.maxUpdates = kMaxUpdates;
        mRunner = std::make_unique<Autoplay::Runner>(options, ProductName());
        EXPECT_TRUE(mRunner->Start());
        return *mRunner;
    }
    // The runner's game closed as a window closes, with the level still on the screen.
    void CloseWindow() { mRunner.reset(); }

    std::unique_ptr<Autoplay::Runner> mRunner;
};
} // namespace AutoplayTesting

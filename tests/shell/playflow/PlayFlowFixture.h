#pragma once
// A level played by the autoplay on the generated game data with the game's own end of level (the
// autoplay's outcome hook taken away once the human is to move), and the means to lay out a tiny
// board whose next human move decides the level.
#include "tools/autoplay/Autoplay.h"

#include "framework/core/Common.h"
#include "game/app/GameStates.h"
#include "game/app/PlayLevelState.h"
#include "game/level/Level.h"
#include "game/level/RandomLevelProvider.h"
#include "game/play/GameScene.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>

namespace PlayFlow
{
namespace fs = std::filesystem;

inline std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class PlayFlowTest : public ::testing::Test
{
protected:
    static constexpr uint32_t kSeed = 4242;

    void TearDown() override
    {
        mRunner.reset();
        ::unsetenv("QUOLL_LEVEL_EDITOR");
        Game::RandomLevelReplay = false;
        fs::remove_all(fs::path(QUOLL_TEST_HOME) / "data/Nordwick" / ProductName());
    }

    // The map's Ctrl+click opens the level editor from now on (until the test's end).
    static void AllowLevelEditor() { ::setenv("QUOLL_LEVEL_EDITOR", "1", 1); }

    static std::string ProductName()
    {
        return "PlayFlowTest" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }

    Autoplay::Runner& Start(int level)
    {
        Autoplay::Options options;
        options.level = level;
        options.seed = kSeed;
        options.gameDir = QUOLL_GAME_DIR;
        options.maxUpdates = 20000;
        mRunner = std::make_unique<Autoplay::Runner>(options, ProductName());
        // Shots are taken of the 2D path's screen.
        if (ShotsFolder() != nullptr) mRunner->App().WriteRegBool("Is3D", false);
        EXPECT_TRUE(mRunner->Start());
        // Loaded at the game's start for the whole run (the autoplay starts at the level).
        EXPECT_TRUE(mRunner->App().LoadResourceGroup("Interface"));
        return *mRunner;
    }

    [[nodiscard]] GameStates& States() { return *mRunner->App().GetGameStates(); }
    [[nodiscard]] StateHost& Host() { return mRunner->App().GetStateHost(); }
    [[nodiscard]] Level& CurrentLevel() { return *mRunner->CurrentLevel(); }

    // Updates until done; false when the limit comes first.
    bool StepUntil(const std::function<bool()>& done, int limit = 6000)
    {
        for (int i = 0; i < limit; ++i)
        {
            if (done()) return true;
            mRunner->Step();
        }
        return done();
    }

    // Runs to the human's turn and hands the end of the level back to the game.
    void ReachHumanTurn()
    {
        ASSERT_TRUE(mRunner->RunToHumanTurn());
        ASSERT_TRUE(mRunner->HumanToMove());
        mRunner->Play().SetEndOfLevel({});
    }

    // Leaves the listed cells (cell -> 0 free or the owning player) and makes holes of the rest.
    void LayOut(const std::map<int, int>& cells)
    {
        Level& level = CurrentLevel();
        GameScene& scene = *mRunner->Scene();
        for (const auto& [cell, content] : cells)
            level.EditSetCellKind(scene.GetCellCentre(cell), 1);
        for (int cell = 0; cell < kCellCount; ++cell)
            level.EditSetCellContent(scene.GetCellCentre(cell), 0);
        for (int cell = 0; cell < kCellCount; ++cell)
            if (!cells.contains(cell)) level.EditSetCellKind(scene.GetCellCentre(cell), 0);
        for (const auto& [cell, content] : cells)
            level.EditSetCellContent(scene.GetCellCentre(cell), content);
        const Board& board = level.GetLogic().GetBoard();
        ASSERT_EQ(board.CountExistingCells(), static_cast<int>(cells.size()));
        for (const auto& [cell, content] : cells)
            ASSERT_EQ(board.GetOwner(cell), content) << "cell " << cell;
        ASSERT_TRUE(StepUntil([this] { return mRunner->HumanToMove(); }));
    }

    // The human's move from one cell to another, then updates until the end-of-level dialog shows.
    void MoveToTheEnd(int from, int to)
    {
        for (int cell : {from, to})
        {
            const ScreenPoint at = mRunner->Scene()->GetCellCentre(cell);
            mRunner->Click(at.x, at.y);
            mRunner->Step();
        }
        ASSERT_TRUE(StepUntil([this] { return States().EndLevel().IsOnStack(); }));
        ASSERT_NE(States().EndLevel().GetDialog(), nullptr);
    }

    // Human 29, a free 30 and the opponent on 31: the human's one move captures the last opponent.
    void WinAtOnce()
    {
        ReachHumanTurn();
        LayOut({{29, 1}, {30, 0}, {31, 2}});
        MoveToTheEnd(29, 30);
    }

    // Human 29, free 30 and 31, the opponent on 32: the human clones to 30, the opponent's one
    // move takes it and fills the board.
    void LoseAtOnce()
    {
        ReachHumanTurn();
        LayOut({{29, 1}, {30, 0}, {31, 0}, {32, 2}});
        MoveToTheEnd(29, 30);
    }

    static const char* ShotsFolder()
    {
        const char* shots = std::getenv("PLAYFLOW_SHOTS");
        return shots != nullptr && *shots != '\0' ? shots : nullptr;
    }

    // With PLAYFLOW_SHOTS set to a folder: the whole screen drawn now, as <folder>/<name>.png,
    // to look at.
    void TakeShot(const std::string& name)
    {
        const char* shots = ShotsFolder();
        if (shots == nullptr) return;
        GameApp& app = mRunner->App();
        app.mWidgetManager->MarkAllDirty();
        app.DrawDirty();
        app.TakeScreenshot();
        std::error_code error;
        for (const auto& entry : fs::recursive_directory_iterator(Quoll::GetAppDataFolder(), error))
            if (entry.path().extension() == ".png")
            {
                fs::copy_file(entry.path(), fs::path(shots) / (name + ".png"),
                              fs::copy_options::overwrite_existing, error);
                fs::remove(entry.path(), error);
            }
    }

    std::unique_ptr<Autoplay::Runner> mRunner;
};
} // namespace PlayFlow

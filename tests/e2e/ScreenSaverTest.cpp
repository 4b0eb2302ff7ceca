// The desktop's screen saver while the game runs in a real X server (Xvfb), as a desktop user
// has it: nobody touches the keyboard or the mouse, and the X server's saver is set to start after
// one second without input (x_screen_saver_probe). A windowed game lets it start once its loading
// is done; the same game while it loads, and in full screen, does not. Each run has a server of its
// own (tests/run_in_xvfb.sh: servers started side by side never share a display number).
// Skipped, with the reason, where Xvfb or the probe is missing (scripts/deps.sh test installs what
// they need).
// Rerun: test_e2e --gtest_filter='ScreenSaver.*'
#include "tests/e2e/GameProcess.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace
{
using namespace E2e;

// Starts the game, waits until its log has the line, lets the probe watch the X server's saver
// for a few seconds, then closes the game: with SIGTERM as a window manager does at logout, or with
// SIGKILL for a game whose loading is held (it would wait for its loading thread at the close).
// kAwaitTheGamesEnd follows.
constexpr const char* kWatchTheSaver = R"(#!/bin/sh
# usage: saver.sh <game program> <game folder> <game log> <probe> <log line> <watch seconds> <TERM|KILL>
"$1" "-changedir=$2" > game-output.txt 2>&1 &
game=$!
tries=0
until grep -q "$5" "$3" 2> /dev/null; do
  tries=$((tries + 1))
  [ $tries -gt 1200 ] && { echo "no \"$5\" in the log" > probe.txt; break; }
  sleep 0.1
done
[ $tries -gt 1200 ] || "$4" 1 "$6" > probe.txt 2>&1
kill -$7 $game
)";

bool Installed(const char* program)
{
    return std::system((std::string("command -v ") + program + " > /dev/null 2>&1").c_str()) == 0;
}

struct SaverRun
{
    std::string probe; // "on", or "off (state n)", or why the probe did not run
    GameResult game;
    bool lingered = false; // the game did not end at its close
};

// The game from empty data folders with the screen mode given (0 windowed, 1 full screen) on a
// screen where its window fits, until the log line; then the probe watches for `watchSeconds`.
SaverRun WatchTheSaver(const std::string& name, const fs::path& gameDir, int screenMode, const std::string& logLine,
                       int watchSeconds, const char* endSignal = "TERM")
{
    const fs::path home = FreshFolder(name);
    WriteAll(home / "saver.sh", std::string(kWatchTheSaver) + kAwaitTheGamesEnd);
    WriteAll(home / "config/Nordwick/PetriGlowSaga/settings.txt",
             "QuollSettings 1\n[SOFTWARE\\Nordwick\\PetriGlowSaga]\nIs3D=dword:0\nScreenMode=dword:" +
                 std::to_string(screenMode) + "\n");
    const GameProcess game(gameDir, home);
    SaverRun run;
    // As in the first-run test: the user's environment, no leak checking under a real X server, and
    // a hang fails the test after five minutes.
    run.game = game.Run("env -u QUOLL_PLATFORM -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 "
                        "timeout -k 5 300 sh '" QUOLL_SOURCE_DIR "/tests/run_in_xvfb.sh' 1280x1024x24 sh '" +
                        (home / "saver.sh").string() + "' '" + QUOLL_GAME_PROGRAM + "' '" + gameDir.string() + "' '" +
                        (PlayerFolderOf(home) / "GameLog.txt").string() + "' '" QUOLL_SCREEN_SAVER_PROBE "' '" +
                        logLine + "' " + std::to_string(watchSeconds) + " " + endSignal);
    run.probe = ReadAll(home / "probe.txt");
    run.game.output += ReadAll(home / "game-output.txt") + ReadAll(home / "game-lingered.txt");
    run.lingered = fs::exists(home / "game-lingered.txt");
    return run;
}

void ExpectACleanRun(const SaverRun& run)
{
    EXPECT_EQ(run.game.exitCode, 0) << run.game.output;
    EXPECT_FALSE(run.lingered) << run.game.output;
    EXPECT_EQ(run.game.output.find("ERROR: AddressSanitizer"), std::string::npos) << run.game.output;
    EXPECT_EQ(run.game.output.find("runtime error:"), std::string::npos) << run.game.output;
}

class ScreenSaver : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!Installed("Xvfb"))
            GTEST_SKIP() << "Xvfb is not installed (scripts/deps.sh test installs xvfb)";
    }
};
} // namespace

#ifdef QUOLL_SCREEN_SAVER_PROBE
TEST_F(ScreenSaver, AWindowedGameLetsTheDesktopsSaverStartOnceLoaded)
{
    const SaverRun run = WatchTheSaver("saver_windowed", QUOLL_GAME_DIR, 0, "pop LoadState", 10);
    ExpectACleanRun(run);
    EXPECT_EQ(run.probe, "on\n") << run.game.log;
}

TEST_F(ScreenSaver, InFullScreenTheDesktopsSaverDoesNotStart)
{
    const SaverRun run = WatchTheSaver("saver_full_screen", QUOLL_GAME_DIR, 1, "pop LoadState", 4);
    ExpectACleanRun(run);
    EXPECT_EQ(run.probe.rfind("off", 0), 0u) << run.probe << run.game.log;
}

// The loading thread is held on an image that is a named pipe nobody writes: the game shows its
// splash and then waits for its loading, drawing all the while.
TEST_F(ScreenSaver, WhileAWindowedGameLoadsTheDesktopsSaverDoesNotStart)
{
    const fs::path gameDir = LinkedDataCopy(FreshFolder("saver_loading_game"));
    const fs::path held = gameDir / "data/art/textures/interface/medal1.png";
    fs::remove(held);
    ASSERT_EQ(::mkfifo(held.c_str(), 0600), 0);
    const SaverRun run = WatchTheSaver("saver_loading", gameDir, 0, "push LoadState", 4, "KILL");
    EXPECT_EQ(run.probe.rfind("off", 0), 0u) << run.probe << run.game.log;
    EXPECT_FALSE(HasFlowStep(run.game.log, "pop LoadState")) << "the loading was held" << run.game.log;
}
#else
TEST_F(ScreenSaver, NeedsTheProbe)
{
    GTEST_SKIP() << "x_screen_saver_probe was not built (libx11-dev and libxss-dev, scripts/deps.sh)";
}
#endif

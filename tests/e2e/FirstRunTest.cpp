// A first run as a new user makes it: empty settings and data folders, the game program in a
// real X server (xvfb-run), a screenshot taken with xwd once the title stands; it matches the
// golden within the X server's quantisation. Skipped, with the reason, where xvfb-run or xwd is
// not installed (scripts/deps.sh test installs them). Headless, the first-level script makes
// the first profile and plays level 1 to its end-of-level dialog; the win is in the profile.
// Rerun: test_e2e --gtest_filter='FirstRun.*'
#include "game/shell/PlayerData.h"
#include "game/shell/PlayerFileStore.h"
#include "tests/GoldenImage.h"
#include "tests/XwdScreenShot.h"
#include "tests/e2e/GameProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <sstream>

namespace
{
using namespace E2e;
using TestXwd::ReadXwd;
using TestXwd::ScreenShot;

// The X server's screen: the game's window fills it, so the root window is the game.
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
// A 24-bit screen keeps 8 bits a channel; a little room for a server that rounds.
constexpr int kQuantisation = 2;

bool Installed(const char* program)
{
    return std::system((std::string("command -v ") + program + " > /dev/null 2>&1").c_str()) == 0;
}

// Starts the game, waits until its loading is done and the title stands, shoots the screen and
// ends the game as a window manager would at logout.
constexpr const char* kShootTheTitle = R"(#!/bin/sh
# usage: shoot.sh <game program> <game folder> <game log> <screenshot>
"$1" "-changedir=$2" > game-output.txt 2>&1 &
game=$!
tries=0
until grep -q "pop LoadState" "$3" 2> /dev/null; do
  tries=$((tries + 1))
  [ $tries -gt 900 ] && break
  sleep 0.1
done
sleep 2
xwd -root -silent -out "$4"
kill $game
)";
} // namespace

TEST(FirstRun, UnderXvfbTheTitleMatchesItsGolden)
{
    if (!Installed("xvfb-run") || !Installed("xwd"))
        GTEST_SKIP() << "xvfb-run or xwd is not installed (scripts/deps.sh test installs xvfb and x11-apps)";

    const fs::path home = FreshFolder("firstrun_xvfb");
    WriteAll(home / "shoot.sh", std::string(kShootTheTitle) + kAwaitTheGamesEnd);
    const GameProcess game(QUOLL_GAME_DIR, home);
    const fs::path log = PlayerFolderOf(home) / "GameLog.txt";
    const fs::path shotPath = home / "title.xwd";
    // The test program's own environment runs games headless: the user's has none of that. Under
    // a real X server the window system's libraries load and unload driver modules whose
    // allocations LeakSanitizer can only name "<unknown module>", which no suppression matches:
    // this run leaves leak checking to the headless runs of the same code. A hang fails the test
    // after five minutes instead of holding the suite.
    const GameResult run = game.Run("env -u QUOLL_PLATFORM -u SDL_VIDEODRIVER -u SDL_AUDIODRIVER ASAN_OPTIONS=detect_leaks=0 "
                                    "timeout -k 5 300 xvfb-run -a -s '-screen 0 " + std::to_string(kScreenWidth) + "x" +
                                    std::to_string(kScreenHeight) + "x24' sh '" + (home / "shoot.sh").string() + "' '" +
                                    QUOLL_GAME_PROGRAM + "' '" + QUOLL_GAME_DIR + "' '" + log.string() + "' '" +
                                    shotPath.string() + "'");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::string gameOutput = ReadAll(home / "game-output.txt");
    EXPECT_FALSE(fs::exists(home / "game-lingered.txt")) << ReadAll(home / "game-lingered.txt") << "\n" << gameOutput;
    EXPECT_EQ(gameOutput.find("ERROR: AddressSanitizer"), std::string::npos) << gameOutput;
    EXPECT_EQ(gameOutput.find("runtime error:"), std::string::npos) << gameOutput;
    ASSERT_TRUE(HasFlowStep(run.log, "pop LoadState")) << run.log << gameOutput;

    const std::optional<ScreenShot> shot = ReadXwd(ReadAll(shotPath));
    ASSERT_TRUE(shot) << "no screenshot of a 24-bit true-colour screen in " << shotPath;
    ASSERT_EQ(shot->width, kScreenWidth);
    ASSERT_EQ(shot->height, kScreenHeight);
    // A window that never showed leaves the screen black, which no golden may pin.
    const auto lit = std::count_if(shot->pixels.begin(), shot->pixels.end(), [](uint32_t pixel) {
        return ((pixel >> 16) & 0xFF) > 40 || ((pixel >> 8) & 0xFF) > 40 || (pixel & 0xFF) > 40;
    });
    ASSERT_GT(lit, static_cast<long>(shot->pixels.size() / 20)) << "the screen shows almost nothing";
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("firstrun", "title", shot->pixels.data(), shot->width, shot->height,
                                                  kQuantisation));
    // Closing the game kept the first run's settings.
    EXPECT_TRUE(fs::exists(home / "config/Nordwick/PetriGlowSaga/settings.txt"));
}

TEST(FirstRun, TheHeadlessFirstLevelScriptWinsLevelOneAndExits)
{
    const fs::path home = FreshFolder("firstrun_level");
    const GameProcess game(QUOLL_GAME_DIR, home);
    const std::string script = ReadAll(fs::path(QUOLL_SOURCE_DIR) / "tests/e2e/flow/first_level.script");
    const GameResult run = game.RunHeadless(script, 300);
    ASSERT_EQ(run.exitCode, 0) << run.output << run.log;
    EXPECT_EQ(run.output.find("ERROR: AddressSanitizer"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("runtime error:"), std::string::npos) << run.output;
    EXPECT_TRUE(LogLines(run.log, "ERROR").empty()) << run.log;
    // The compulsory first profile, level 1 played, its end-of-level dialog, the script's end.
    const std::vector<std::string> steps = FlowSteps(run.log);
    const auto at = [&steps](const std::string& step) { return std::find(steps.begin(), steps.end(), step); };
    ASSERT_NE(at("push CreateProfileState"), steps.end()) << run.log;
    ASSERT_NE(at("change LoadLevelState PlayLevelState"), steps.end()) << run.log;
    ASSERT_NE(at("push EndLevelState"), steps.end()) << run.log;
    EXPECT_LT(at("change LoadLevelState PlayLevelState"), at("push EndLevelState"));
    EXPECT_EQ(steps.back(), "pop RootState");
    // Each input the script marks with "# command <state> <command>" is that command in the update
    // it arrives (the one before update T/10 of its "at T").
    std::istringstream lines(script);
    int time = 0;
    for (std::string line; std::getline(lines, line);)
    {
        if (line.rfind("at ", 0) == 0)
        {
            time = std::stoi(line.substr(3));
        }
        else if (line.rfind("# command ", 0) == 0)
        {
            const std::string step = std::to_string(time / 10 - 1) + " command " + line.substr(10) + " ";
            EXPECT_NE(run.log.find("[FLOW] " + step), std::string::npos) << line << " at " << time;
        }
    }

    // The player's files as the game reads them at its next start: "ann", level 1 won.
    MemoryFileStore store;
    for (const auto& entry : fs::directory_iterator(PlayerFolderOf(home)))
        if (entry.is_regular_file())
            store.SetBytes(entry.path().filename().string(), ReadAll(entry.path()));
    PlayerData data(store);
    data.Load("");
    EXPECT_EQ(data.GetCurrentName(), "ann");
    EXPECT_GT(data.GetCurrentProfile().GetLevelScore(1), 0);
}

// A crash while the game's main thread is inside a display call, in a real X server (Xvfb) held
// still: the server is stopped (SIGSTOP) while the windowed game presents, so the game's main
// thread soon waits for it inside an X call that holds the display connection; then the game
// gets SIGSEGV and the server goes on (SIGCONT). The crashed game must still end by its signal,
// unattended once its reporter wrote crash.txt, attended once the reporter is closed by SIGTERM
// to the game. A control crash outside any display call (-crash) still has the application's
// part in crash.txt.
// Rerun: test_e2e --gtest_filter='CrashInDisplayCall.*'
#include "tests/e2e/GameProcess.h"

#include <gtest/gtest.h>

#include <csignal>

namespace
{
using namespace E2e;

// Runs the game in the X server of run_in_xvfb.sh ($XVFB_PID) and crashes it: "held" while the
// server is stopped, "forced" by -crash at its start. Attended, the reporter's window is closed
// by SIGTERM to the game once it shows. Each wait lasts two minutes at most (a loaded two-core
// machine); the game's exit status, or the step that never came, goes to status.txt.
constexpr const char* kCrashTheGame = R"sh(#!/bin/sh
# usage: crash.sh <game program> <game folder> <game log> <held|forced> <attended|unattended>
folder=$2
log=$3
if [ "$4" = forced ]; then "$1" "-changedir=$2" -crash > game-output.txt 2>&1 &
else "$1" "-changedir=$2" > game-output.txt 2>&1 &
fi
game=$!
await() {
  tries=0
  until eval "$2"; do
    tries=$((tries + 1))
    if [ $tries -gt 1200 ]; then
      echo "$1" > status.txt
      kill -CONT $XVFB_PID
      pkill -KILL -P $game
      kill -KILL $game
      exit 0
    fi
    sleep 0.1
  done
}
# The game presents every frame, so with the server stopped its main thread soon waits inside
# an X call for good (in poll, or for another thread's poll), no more in its frame's sleep: five
# looks in a row find it so.
waits=0
waits_for_the_server() {
  case "$(cut -d ' ' -f 3 /proc/$game/task/$game/stat) $(cat /proc/$game/task/$game/wchan)" in
    S\ *nanosleep* | [!S]\ *) waits=0 ;;
    *) waits=$((waits + 1)) ;;
  esac
  [ $waits -ge 5 ]
}
if [ "$4" = held ]; then
  await "the title never stood" 'grep -q "pop LoadState" "$log" 2> /dev/null'
  kill -STOP $XVFB_PID
  await "the main thread never waited for the server" waits_for_the_server
  echo "the main thread waited in $(cat /proc/$game/task/$game/wchan)" > held.txt
  kill -SEGV $game
  await "no reporter started" 'grep -q . /proc/$game/task/$game/children'
  kill -CONT $XVFB_PID
fi
if [ "$5" = attended ]; then
  await "the reporter's window never showed" 'grep -q "shown at" game-output.txt'
  kill -TERM $game
fi
await "the crashed game did not end" '! kill -0 $game 2> /dev/null'
wait $game
echo $? > status.txt
)sh";

struct CrashRun
{
    std::string status; // the game's exit status as the shell gives it, or the step that never came
    std::string crashText;
    std::string output;
};

// The game windowed on the 2D path, from empty data folders, in a folder of its own that takes
// crash.txt.
CrashRun CrashTheGame(const std::string& name, const std::string& how, bool attended)
{
    const fs::path home = FreshFolder(name);
    const fs::path gameDir = home / "game";
    fs::create_directories(gameDir);
    for (const fs::directory_entry& entry : fs::directory_iterator(QUOLL_GAME_DIR))
        fs::create_symlink(entry.path(), gameDir / entry.path().filename());
    WriteAll(home / "crash.sh", kCrashTheGame);
    WriteAll(home / "config/Nordwick/PetriGlowSaga/settings.txt",
             "QuollSettings 1\n[SOFTWARE\\Nordwick\\PetriGlowSaga]\nIs3D=dword:0\nScreenMode=dword:0\n");
    const GameProcess game(gameDir, home);
    // The user's environment, without leak checking under a real X server (see FirstRunTest).
    const GameResult result =
        game.Run(std::string("env -u QUOLL_PLATFORM -u SDL_VIDEODRIVER -u QUOLL_CRASH_UNATTENDED SDL_AUDIODRIVER=dummy "
                             "ASAN_OPTIONS=detect_leaks=0 ") +
                 (attended ? "" : "QUOLL_CRASH_UNATTENDED=1 ") + "timeout -k 5 300 sh '" QUOLL_SOURCE_DIR "/tests/run_in_xvfb.sh' 1280x1024x24 sh '" +
                 (home / "crash.sh").string() + "' '" QUOLL_GAME_PROGRAM "' '" + gameDir.string() + "' '" +
                 (PlayerFolderOf(home) / "GameLog.txt").string() + "' " + how + " " +
                 (attended ? "attended" : "unattended"));
    CrashRun run;
    run.status = ReadAll(home / "status.txt");
    // -crash comes before the game changes to its folder: the report is where it was started.
    run.crashText = ReadAll(fs::exists(gameDir / "crash.txt") ? gameDir / "crash.txt" : home / "crash.txt");
    run.output = result.output + ReadAll(home / "held.txt") + ReadAll(home / "game-output.txt");
    return run;
}

const std::string kEndedBySegv = std::to_string(128 + SIGSEGV) + "\n";
} // namespace

TEST(CrashInDisplayCall, UnattendedTheGameEndsByItsSignal)
{
    const CrashRun run = CrashTheGame("crash_held_unattended", "held", false);
    EXPECT_EQ(run.status, kEndedBySegv) << run.output;
    EXPECT_TRUE(run.crashText.starts_with("Exception: Access Violation")) << run.crashText << run.output;
}

TEST(CrashInDisplayCall, AttendedTheGameEndsWhenItsReporterIsClosed)
{
    const CrashRun run = CrashTheGame("crash_held_attended", "held", true);
    EXPECT_EQ(run.status, kEndedBySegv) << run.output;
    EXPECT_TRUE(run.crashText.starts_with("Exception: Access Violation")) << run.crashText << run.output;
}

TEST(CrashInDisplayCall, OutsideADisplayCallTheReportHasTheApplicationsPart)
{
    const CrashRun run = CrashTheGame("crash_forced", "forced", false);
    EXPECT_EQ(run.status, kEndedBySegv) << run.output;
    EXPECT_NE(run.crashText.find("\r\nProduct: "), std::string::npos) << run.crashText << run.output;
}

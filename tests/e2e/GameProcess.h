#pragma once
// The game program run as a user runs it, in a process of its own, with a fresh home folder
// (XDG_DATA_HOME and XDG_CONFIG_HOME under it), headless with an input script or under another
// command such as xvfb-run. Each run has an instance name of its own (tests/GameRunEnvironment.h),
// so runs go side by side and beside a player's copy of the game.
#include "tests/GameRunEnvironment.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace E2e
{
namespace fs = std::filesystem;

inline std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteAll(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// A folder of the test's own under the suite's home, emptied first.
inline fs::path FreshFolder(const std::string& name)
{
    const fs::path folder = fs::path(QUOLL_TEST_HOME) / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

// The player's data folder under a home folder.
inline fs::path PlayerFolderOf(const fs::path& home) { return home / "data/Nordwick/PetriGlowSaga"; }

struct GameResult
{
    int exitCode = -1;
    bool timedOut = false;
    std::string log;    // GameLog.txt of the per-user data folder
    std::string output; // standard output and error
};

// The [FLOW] lines of a game log without their update numbers.
inline std::vector<std::string> FlowSteps(const std::string& log)
{
    std::vector<std::string> steps;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("[FLOW] ", 0) == 0)
            steps.push_back(line.substr(line.find(' ', 7) + 1));
    return steps;
}

// The update number of the last [FLOW] line: how far the game ran.
inline int LastFlowUpdate(const std::string& log)
{
    int last = 0;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("[FLOW] ", 0) == 0)
            last = std::atoi(line.c_str() + 7);
    return last;
}

inline bool HasFlowStep(const std::string& log, const std::string& step)
{
    for (const std::string& s : FlowSteps(log))
        if (s == step)
            return true;
    return false;
}

// The log's lines of a kind ("ERROR", "WARNING") that contain the text.
inline std::vector<std::string> LogLines(const std::string& log, const std::string& kind, const std::string& text = {})
{
    std::vector<std::string> lines;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("[" + kind + "] ", 0) == 0 && line.find(text) != std::string::npos)
            lines.push_back(line);
    return lines;
}

class GameProcess
{
public:
    // gameDir: the folder the game runs in (-changedir); home: the fresh home folder.
    GameProcess(fs::path gameDir, fs::path home) : mGameDir(std::move(gameDir)), mHome(std::move(home)) {}

    // Runs the game headless with the script and waits at most timeoutSeconds. The game runs on
    // the replay check's fixed-step clock (10 ms a logic update, as fast as it can), so that a
    // script's times name the same updates however busy the machine is.
    GameResult RunHeadless(const std::string& script, int timeoutSeconds) const
    {
        return Run(HeadlessCommand(script, timeoutSeconds));
    }

    // The command line RunHeadless runs, for a caller that wraps it in a command of its own. The
    // message boxes the game showed land in "evidence/message-boxes.txt" under the home.
    std::string HeadlessCommand(const std::string& script, int timeoutSeconds) const
    {
        const fs::path scriptPath = mHome / "input.script";
        WriteAll(scriptPath, script);
        fs::create_directories(mHome / "digests");
        return "env QUOLL_PLATFORM=headless QUOLL_REPLAY_DIGESTS='" + (mHome / "digests").string() +
               "' QUOLL_HEADLESS_DUMP='" + (mHome / "evidence").string() + "' QUOLL_HEADLESS_SCRIPT='" +
               scriptPath.string() + "' timeout -k 5 " + std::to_string(timeoutSeconds) + " '" + QUOLL_GAME_PROGRAM +
               "' '-changedir=" + mGameDir.string() + "'";
    }

    // Runs a shell command line with the home's environment set; the game program's path and
    // -changedir are the caller's to put in.
    GameResult Run(const std::string& commandLine) const
    {
        fs::create_directories(mHome / "data");
        fs::create_directories(mHome / "config");
        const std::string command = "cd '" + mHome.string() + "' && env XDG_DATA_HOME='" + (mHome / "data").string() +
                                    "' XDG_CONFIG_HOME='" + (mHome / "config").string() + "' " +
                                    TestGame::RunEnvironment() + " " + commandLine + " > '" +
                                    (mHome / "output.txt").string() + "' 2>&1";
        const int status = std::system(command.c_str());
        GameResult result;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.timedOut = result.exitCode == 124 || result.exitCode == 137;
        result.log = ReadAll(PlayerFolderOf(mHome) / "GameLog.txt");
        result.output = ReadAll(mHome / "output.txt");
        return result;
    }

    [[nodiscard]] const fs::path& GetHome() const { return mHome; }
    [[nodiscard]] const fs::path& GetGameDir() const { return mGameDir; }

private:
    fs::path mGameDir;
    fs::path mHome;
};

// The end of a shell script that closed the game it started in the background ($game): the game
// ends at its close; one still running after 30 s (a crash report waiting for an answer on its
// screen) is ended with what it started, and the script says so in "game-lingered.txt".
inline constexpr const char* kAwaitTheGamesEnd = R"(tries=0
while kill -0 $game 2> /dev/null; do
  tries=$((tries + 1))
  if [ $tries -gt 300 ]; then
    echo "the game did not end within 30 s of its close" > game-lingered.txt
    pkill -KILL -P $game
    kill -KILL $game
    break
  fi
  sleep 0.1
done
wait $game
exit 0
)";

// A copy of the generated data folder that can be damaged file by file: the folders are made
// anew and every file is a link to the generated one, so that replacing or removing a file
// leaves the build's data as it was. No pack file: the game reads the files from the disk.
inline fs::path LinkedDataCopy(const fs::path& target)
{
    const fs::path source = fs::path(QUOLL_GAME_DATA) / "data";
    fs::create_directories(target / "data");
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(source))
    {
        const fs::path copy = target / "data" / fs::relative(entry.path(), source);
        if (entry.is_directory())
            fs::create_directories(copy);
        else
            fs::create_symlink(fs::absolute(entry.path()), copy);
    }
    fs::copy_file(fs::path(QUOLL_GAME_DIR) / "vhwb.dat", target / "vhwb.dat");
    return target;
}

#ifdef QUOLL_FIXTUREGEN_PROGRAM
// A fresh home folder with a fixture's player files ("nearly-passed", "campaign-complete"), made
// by the fixture program from the generated levels; empty when the program failed.
inline fs::path FixtureHome(const std::string& name, const std::string& fixture)
{
    const fs::path home = FreshFolder(name);
    const std::string command = std::string("'") + QUOLL_FIXTUREGEN_PROGRAM + "' --levels '" + QUOLL_GAME_DATA +
                                "/data/levels' --home '" + home.string() + "' " + fixture;
    return std::system(command.c_str()) == 0 ? home : fs::path();
}
#endif

// The lines of a play-through script up to (not including) the first line that starts with
// the text; the whole script when none does.
inline std::string ScriptUpTo(const fs::path& script, const std::string& start)
{
    std::istringstream in(ReadAll(script));
    std::string kept;
    for (std::string line; std::getline(in, line) && line.rfind(start, 0) != 0;)
        kept += line + "\n";
    return kept;
}

// Replaces a linked file of such a copy by the text.
inline void ReplaceFile(const fs::path& path, const std::string& text)
{
    fs::remove(path);
    WriteAll(path, text);
}
} // namespace E2e

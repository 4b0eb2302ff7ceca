// autoplay: plays a level of the game headless to its end with a seeded player and prints the
// run's log. Usage:
//   autoplay --game-dir <folder with main.pak> [--level N] [--seed S] [--home <folder>]
//            [--replay <level driver replay>] [--normal] [--policy 0..3|random] [--think <ms>]
//            [--script <file> [--script-at <ms>]]
// --home puts the player's files and settings under that folder (for tests and scripts).
// --replay plays the replay's level with its seeds and human acts, and prints each turn's
// board as the level driver records it.
// --normal plays the normal difficulty's level file (a fresh profile plays the easy one).
// --policy chooses the moves as the level driver's policy of that kind does (seeded with --seed);
// without it the player makes any legal move.
// --think makes the player pause before each turn. --script writes the run's clicks as headless
// script lines (ClickScript.h), timed from --script-at, the time in the whole-game script that
// stands for the play state's start.
// Exit code 0 when the level was played to its end, 1 otherwise, 2 for bad arguments.
#include "tools/autoplay/Autoplay.h"
#include "tools/autoplay/ClickScript.h"

#include "framework/core/Common.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace
{
int Usage()
{
    std::cerr << "usage: autoplay --game-dir <folder> [--level N] [--seed S] [--home <folder>] [--replay <file>]"
                 " [--normal] [--policy 0..3|random] [--think <ms>] [--script <file> [--script-at <ms>]]\n";
    return 2;
}

bool ParseInt(const char* text, long long low, long long high, long long& value)
{
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && value >= low && value <= high;
}
} // namespace

int main(int argc, char** argv)
{
    Autoplay::Options options;
    std::string scriptFile;
    long long scriptAt = 0;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg == "--normal")
        {
            options.difficulty = 514;
            continue;
        }
        if (i + 1 >= argc)
            return Usage();
        const char* value = argv[++i];
        long long number = 0;
        if (arg == "--game-dir")
            options.gameDir = value;
        else if (arg == "--home")
        {
            const std::filesystem::path home = std::filesystem::absolute(value);
            ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
            ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
        }
        else if (arg == "--level" && ParseInt(value, -5, 70, number))
            options.level = static_cast<int>(number);
        else if (arg == "--seed" && ParseInt(value, 0, 0xFFFFFFFFll, number))
            options.seed = static_cast<uint32_t>(number);
        else if (arg == "--replay")
            options.replayPath = std::filesystem::absolute(value).string();
        else if (arg == "--policy" && PolicyKind::Parse(value))
            options.policy = PolicyKind::Parse(value);
        else if (arg == "--script")
            scriptFile = value;
        else if (arg == "--script-at" && ParseInt(value, 0, 1ll << 30, number))
            scriptAt = number;
        else if (arg == "--think" && ParseInt(value, 0, 60000, number))
            options.thinkUpdates = static_cast<int>(number) / 10;
        else
            return Usage();
    }
    if (options.gameDir.empty())
        return Usage();
    bool finished = false;
    std::string dataFolder;
    {
        // A product name of its own: runs side by side never meet as a second copy of the game.
        Autoplay::Runner runner(options, "PetriGlowAutoplay" + std::to_string(::getpid()));
        Autoplay::ClickScript script(static_cast<int>(scriptAt));
        if (!scriptFile.empty())
            runner.onClick = [&script](int updates, int x, int y) { script.Add(updates, x, y); };
        finished = runner.Start() && runner.RunToEnd();
        runner.Leave();
        for (const std::string& line : runner.Log())
            std::cout << line << '\n';
        const std::string outcome = runner.Log().empty() ? std::string() : runner.Log().back();
        std::cout << (finished ? "finished" : "not finished") << " after " << runner.GetUpdates() << " updates\n";
        if (!scriptFile.empty())
        {
            std::ofstream out(scriptFile, std::ios::trunc);
            out << "# autoplay --level " << options.level << " --seed " << options.seed
                << (options.difficulty == 514 ? " --normal" : "")
                << (options.policy ? " --policy " + options.policy->ToString() : std::string()) << " --think " << options.thinkUpdates * 10
                << " --script-at " << scriptAt << ": " << script.GetClickCount() << " clicks; " << outcome << '\n'
                << script.Text();
            if (!out)
            {
                std::cerr << "cannot write " << scriptFile << '\n';
                return 1;
            }
        }
        dataFolder = Quoll::GetAppDataFolder();
    }
    // The run's own player files are of no use afterwards (never a folder of another product).
    if (dataFolder.find("PetriGlowAutoplay") != std::string::npos)
    {
        std::error_code error;
        std::filesystem::remove_all(dataFolder, error);
    }
    return finished ? 0 : 1;
}

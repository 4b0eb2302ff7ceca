// leveldriver: plays level files without a screen, for authoring and checking the game's levels.
// The usage text below lists every command and option. A level is a level file, or a level text
// when its name ends in ".txt". Files are written whole or not at all.
#include "tools/leveldriver/BatchReport.h"
#include "tools/leveldriver/DriverPolicy.h"
#include "tools/leveldriver/RandomLevelFile.h"
#include "tools/leveldriver/Replay.h"
#include "tools/leveldriver/Thresholds.h"
#include "tools/leveldriver/TutorialRun.h"

#include "game/level/LevelText.h"

#include "framework/files/PakInterface.h"
#include "framework/platform/system/AtomicFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <charconv>
#include <iostream>
#include <limits>
#include <map>
#include <set>
#include <span>

namespace
{
constexpr const char* kUsage =
    "usage: leveldriver play <level> [options]     one game; prints its record and result\n"
    "       leveldriver batch <level> [options]    many games; prints the spread of their ends\n"
    "       leveldriver replay <replay>            replays a recorded game, checks it is the same\n"
    "       leveldriver random <episode> <seed> <out.bin> [--completed N]\n"
    "                                              a random level of the episode, printed as text\n"
    "       leveldriver thresholds <level.txt> --level-number N [--games N] [--readme FILE]\n"
    "                              [--replay FILE] [--dry-run]\n"
    "                                              medal thresholds from a batch of the reference\n"
    "                                              player, written into the level text\n"
    "       leveldriver tutorial <level> --level-number N [--script FILE] [options]\n"
    "                                              plays the level's tutorial steps as the human's\n"
    "                                              clicks, the policy between them; checks each\n"
    "                                              click is taken, each step's round comes and no\n"
    "                                              taught move loses cells to the reply\n"
    "A level is a level file, or a level text when its name ends in \".txt\".\n"
    "play, batch and tutorial first print the layout of the level file read (current, or older\n"
    "and what stands in for the parts it lacks).\n"
    "play, batch and tutorial:\n"
    "  --level-number N   the current level number (bonus points; minus the episode for random\n"
    "                     levels); default 1\n"
    "  --seed S           the program-wide generator's seed; default 1\n"
    "  --level-seed L     seeds the level's own generator (its computer players' draws) afresh;\n"
    "                     play: default the level file's own generator; batch: default S\n"
    "  --policy-seed P    the seed of the human side's own generator; default 1\n"
    "  --policy-level K   how the human side plays: 0, 1, 2 or 3 as a computer player of that AI\n"
    "                     level (its ranking and its choice, drawn from the policy's generator),\n"
    "                     or random (any legal move); default 1\n"
    "  --step-backs PCT   the chance in percent of a step-back at each human turn; default 0\n"
    "  --round-cap N      the game stops when round N + 1 begins; default 200\n"
    "play only:\n"
    "  --record FILE      writes the game as a replay\n"
    "  --quiet            prints only the last line\n"
    "batch only:\n"
    "  --games N          the number of games; default 100. Game i (from 0) is the game of\n"
    "                     play --seed S+i --level-seed L+i --policy-seed P+i\n"
    "random only:\n"
    "  --completed N      the profile has completed levels 1..N (which bonuses appear); default 0\n"
    "tutorial only:\n"
    "  --script FILE      the tutorial script; default data/tutorial.cfg\n"
    "  --quiet            prints only the steps and the last line\n"
    "thresholds only:\n"
    "  --games N          the batch's games; default 200 (game i plays with seeds 1 + i)\n"
    "  --readme FILE      puts the level's row into the levels table of FILE (the file is\n"
    "                     \"easy\" when the level text lies in a folder named easy)\n"
    "  --replay FILE      writes the batch's first won game as a replay\n"
    "  --dry-run          prints the row and writes nothing\n"
    "A game that makes no move and begins no turn for 5000 updates stops as a soft lock.\n"
    "Exit status: 0 a finished game or a replay that matches; 1 a game that did not finish, a\n"
    "level that does not load, a replay that differs; 2 a command line that does not read.\n";

struct Options
{
    std::vector<std::string> positional;
    std::map<std::string, std::string> named;
    std::set<std::string> flags;
};

int Usage(const std::string& why = {})
{
    if (!why.empty())
        std::cerr << "leveldriver: " << why << "\n";
    std::cerr << kUsage;
    return 2;
}

// The options each command takes: valued ones, then flags.
struct CommandOptions
{
    std::set<std::string> valued;
    std::set<std::string> flags;
};

const std::map<std::string, CommandOptions>& KnownOptions()
{
    static const std::set<std::string> game = {"level-number", "seed", "level-seed", "policy-seed", "policy-level",
                                               "step-backs", "round-cap"};
    auto with = [](std::set<std::string> set, std::initializer_list<const char*> more) {
        set.insert(more.begin(), more.end());
        return set;
    };
    static const std::map<std::string, CommandOptions> known = {
        {"play", {with(game, {"record"}), {"quiet"}}},
        {"batch", {with(game, {"games"}), {}}},
        {"replay", {{}, {}}},
        {"random", {{"completed"}, {}}},
        {"thresholds", {{"level-number", "games", "readme", "replay"}, {"dry-run"}}},
        {"tutorial", {with(game, {"script"}), {"quiet"}}},
    };
    return known;
}

// False with the reason when an option is unknown to the command, repeated or has no value.
bool ParseOptions(const CommandOptions& known, int argc, char** argv, Options& options, std::string& why)
{
    for (int i = 2; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0)
        {
            options.positional.push_back(arg);
            continue;
        }
        const std::string name = arg.substr(2);
        if (options.named.count(name) != 0 || options.flags.count(name) != 0)
            why = "option " + arg + " is given twice";
        else if (known.flags.count(name) != 0)
            options.flags.insert(name);
        else if (known.valued.count(name) == 0)
            why = "unknown option " + arg + " for " + argv[1];
        else if (i + 1 >= argc)
            why = "option " + arg + " needs a value";
        else
            options.named[name] = argv[++i];
        if (!why.empty())
            return false;
    }
    return true;
}

template <typename T>
bool ParseWhole(const std::string& text, T& value)
{
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && ptr == text.data() + text.size();
}

// The named option as a number within low..high, when given; false (with the reason) when it
// does not read.
template <typename T>
bool Number(const Options& options, const std::string& name, T& value, T low, T high, std::string& why)
{
    const auto found = options.named.find(name);
    if (found == options.named.end())
        return true;
    if (ParseWhole(found->second, value) && value >= low && value <= high)
        return true;
    why = "--" + name + " '" + found->second + "' is not a number from " + std::to_string(low) + " to " + std::to_string(high);
    return false;
}

template <typename T>
bool Number(const Options& options, const std::string& name, T& value, std::string& why)
{
    return Number(options, name, value, std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), why);
}

struct PlayOptions
{
    GameSetup setup;
    uint32_t policySeed = 1;
    PolicyKind policy;
    int stepBacks = 0;
    int games = 100;
};

// 0 when the options read; otherwise the exit status, the reason printed.
int ReadPlayOptions(const Options& options, PlayOptions& play)
{
    if (options.positional.size() != 1)
        return Usage("name one level");
    std::string why;
    uint32_t levelSeed = 0;
    const bool read = Number(options, "level-number", play.setup.levelNumber, why) &&
                      Number(options, "seed", play.setup.seed, why) && Number(options, "level-seed", levelSeed, why) &&
                      Number(options, "round-cap", play.setup.roundCap, 0, kMaxRound, why) &&
                      Number(options, "policy-seed", play.policySeed, why) &&
                      Number(options, "step-backs", play.stepBacks, 0, 100, why) &&
                      Number(options, "games", play.games, 1, 1000000, why);
    if (!read)
        return Usage(why);
    if (options.named.count("level-seed") != 0)
        play.setup.levelSeed = levelSeed;
    if (const auto level = options.named.find("policy-level"); level != options.named.end())
    {
        const std::optional<PolicyKind> kind = PolicyKind::Parse(level->second);
        if (!kind)
            return Usage("--policy-level '" + level->second + "' is none of 0, 1, 2, 3 and random");
        play.policy = *kind;
    }
    std::string error;
    if (!LoadLevelFile(options.positional[0], play.setup.levelBody, error))
    {
        std::cerr << "leveldriver: " << error << "\n";
        return 1;
    }
    return 0;
}

bool WriteWhole(const std::string& path, std::span<const uint8_t> bytes)
{
    if (Quoll::Platform::WriteFileAtomically(path, bytes))
        return true;
    std::cerr << "leveldriver: cannot write " << path << "; it was left as it was\n";
    return false;
}

// The layout of the level file read goes first, so that an older file (or one cut where an older
// one ends) is not taken for a current one.
void PrintLayout(const std::optional<LevelFileLayout>& layout)
{
    if (layout)
        std::cout << layout->Describe() << "\n";
}

int Play(const Options& options)
{
    PlayOptions play;
    if (const int status = ReadPlayOptions(options, play))
        return status;
    DriverPolicy policy(play.policySeed, play.policy, play.stepBacks);
    const GameRecord record = HeadlessGame(play.setup).Play(policy);
    const bool quiet = options.flags.count("quiet") != 0;
    if (!quiet)
        PrintLayout(record.layout);
    for (size_t i = 0; i < record.lines.size(); ++i)
        if (!quiet || i + 1 == record.lines.size())
            std::cout << record.lines[i] << "\n";
    if (!record.stopReason.empty())
        std::cout << "stopped: " << record.stopReason << "\n";
    const auto out = options.named.find("record");
    if (out == options.named.end())
        return record.Finished() ? 0 : 1;
    // The level is named relative to the replay, so that both can move together.
    namespace fs = std::filesystem;
    ReplayFile replay;
    const fs::path replayFolder = fs::absolute(fs::path(out->second)).parent_path();
    replay.levelPath = fs::relative(fs::absolute(options.positional[0]), replayFolder).generic_string();
    replay.levelNumber = play.setup.levelNumber;
    replay.seed = play.setup.seed;
    replay.levelSeed = play.setup.levelSeed;
    replay.roundCap = play.setup.roundCap;
    const std::string text = replay.Format(record.lines);
    if (!WriteWhole(out->second, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size())))
        return 1;
    return record.Finished() ? 0 : 1;
}

int Replay(const Options& options)
{
    if (options.positional.size() != 1)
        return Usage("name one replay");
    const std::string& path = options.positional[0];
    std::string text;
    if (!Quoll::PakReadFile(path, text))
    {
        std::cerr << "leveldriver: cannot open " << path << "\n";
        return 1;
    }
    ReplayFile replay;
    std::string error;
    const bool ok = replay.Parse(text, error) &&
                    CheckReplay(replay, std::filesystem::absolute(path).parent_path(), error);
    if (!ok)
    {
        std::cerr << path << ": " << error << "\n";
        return 1;
    }
    std::cout << path << ": the game replays identically (" << replay.body.size() << " lines)\n";
    return 0;
}

int Batch(const Options& options)
{
    PlayOptions play;
    if (const int status = ReadPlayOptions(options, play))
        return status;
    BatchOptions batch;
    batch.games = play.games;
    batch.firstLevelSeed = play.setup.levelSeed;
    batch.firstPolicySeed = play.policySeed;
    batch.policy = play.policy;
    batch.stepBackPercent = play.stepBacks;
    // The level must load before a batch of games reports on it.
    std::optional<LevelFileLayout> layout;
    if (const std::string fault = HeadlessGame::FindLevelFault(play.setup, &layout); !fault.empty())
    {
        std::cerr << "leveldriver: " << fault << "\n";
        return 1;
    }
    PrintLayout(layout);
    std::cout << RunBatch(play.setup, batch).Report();
    return 0;
}

int Random(const Options& options)
{
    int episode = 0;
    uint32_t seed = 0;
    int completed = 0;
    std::string why;
    if (options.positional.size() != 3)
        return Usage("random takes an episode, a seed and an output file");
    if (!Number(options, "completed", completed, 0, 70, why))
        return Usage(why);
    if (!ParseWhole(options.positional[0], episode) || episode < 1)
        return Usage("the episode '" + options.positional[0] + "' is not a number from 1");
    if (!ParseWhole(options.positional[1], seed))
        return Usage("the seed '" + options.positional[1] + "' is not a number from 0 to 4294967295");
    Quoll::Buffer body;
    if (!GenerateRandomLevelFile(episode, seed, completed, body))
    {
        std::cerr << "leveldriver: no playable random level found\n";
        return 1;
    }
    if (!WriteWhole(options.positional[2], std::span(body.GetDataPtr(), body.GetDataSize())))
        return 1;
    std::string text;
    LevelTextError error;
    body.SeekReadStart();
    if (PrintLevelText(body, text, error))
        std::cout << text;
    return 0;
}
// Holds an exclusive lock on a folder while it lives, so that runs in parallel update a file of
// that folder one after another.
class FolderLock
{
public:
    explicit FolderLock(const std::filesystem::path& folder) : mFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY))
    {
        if (mFd >= 0)
            ::flock(mFd, LOCK_EX);
    }
    ~FolderLock()
    {
        if (mFd >= 0)
            ::close(mFd);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int mFd;
};

bool WriteText(const std::string& path, const std::string& text)
{
    return WriteWhole(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

bool UpdateReadme(const std::string& path, const std::string& row)
{
    FolderLock lock(std::filesystem::absolute(path).parent_path());
    std::string readme;
    if (!Quoll::PakReadFile(path, readme))
    {
        std::cerr << "leveldriver: cannot open " << path << "\n";
        return false;
    }
    if (!PutTableRow(readme, row))
    {
        std::cerr << "leveldriver: " << path << " has no levels table (" << kTableBegin << " ... " << kTableEnd << ")\n";
        return false;
    }
    return WriteText(path, readme);
}

bool WriteFirstWin(const std::string& levelPath, const std::string& replayPath, const ThresholdRun& run)
{
    namespace fs = std::filesystem;
    ReplayFile replay;
    replay.levelPath = fs::relative(fs::absolute(levelPath), fs::absolute(replayPath).parent_path()).generic_string();
    replay.levelNumber = run.levelNumber;
    replay.seed = static_cast<uint32_t>(1 + *run.firstWinIndex);
    replay.levelSeed = replay.seed;
    return WriteText(replayPath, replay.Format(run.firstWin.lines));
}

int Thresholds(const Options& options)
{
    if (options.positional.size() != 1)
        return Usage("name one level text");
    const std::string& path = options.positional[0];
    std::string why;
    int levelNumber = 0;
    int games = 200;
    if (options.named.count("level-number") == 0)
        return Usage("thresholds needs --level-number");
    if (!Number(options, "level-number", levelNumber, why) || !Number(options, "games", games, 1, 100000, why))
        return Usage(why);
    std::string text;
    if (!Quoll::PakReadFile(path, text))
    {
        std::cerr << "leveldriver: cannot open " << path << "\n";
        return 1;
    }
    ThresholdRun run;
    run.fileKind = std::filesystem::absolute(path).parent_path().filename() == "easy" ? "easy" : "normal";
    std::string error;
    if (!RunThresholds(text, levelNumber, games, run, error))
    {
        std::cerr << path << ": " << error << "\n";
        return 1;
    }
    std::cout << run.Row() << "\n";
    if (options.flags.count("dry-run") != 0)
        return 0;
    if (!ReplaceMedalLine(text, run.rule) || !WriteText(path, text))
        return 1;
    const auto readme = options.named.find("readme");
    if (readme != options.named.end() && !UpdateReadme(readme->second, run.Row()))
        return 1;
    const auto replay = options.named.find("replay");
    if (replay == options.named.end())
        return 0;
    if (!run.firstWinIndex)
    {
        std::cerr << "leveldriver: " << path << ": no game of the batch was won; no replay written\n";
        return 1;
    }
    return WriteFirstWin(path, replay->second, run) ? 0 : 1;
}
int Tutorial(const Options& options)
{
    PlayOptions play;
    if (const int status = ReadPlayOptions(options, play))
        return status;
    const auto script = options.named.find("script");
    std::string logged;
    TutorialSteps steps([&logged](const std::string& line) { logged = line; },
                        script != options.named.end() ? script->second : TutorialSteps::kDefaultPath);
    if (!steps.Load())
    {
        std::cerr << "leveldriver: " << logged << "\n";
        return 1;
    }
    DriverPolicy policy(play.policySeed, play.policy, play.stepBacks);
    const TutorialCheck check = RunTutorial(play.setup, steps, policy);
    const bool quiet = options.flags.count("quiet") != 0;
    if (!quiet)
        PrintLayout(check.record.layout);
    for (size_t i = 0; i < check.record.lines.size(); ++i)
        if (!quiet || i + 1 == check.record.lines.size())
            std::cout << check.record.lines[i] << "\n";
    for (const std::string& line : check.log)
        std::cout << "tutorial " << line << "\n";
    for (const std::string& fault : check.faults)
        std::cout << "fault " << fault << "\n";
    std::cout << "tutorial: " << check.steps << " steps of level " << play.setup.levelNumber << ", "
              << check.faults.size() << " faults\n";
    return check.faults.empty() && check.record.Finished() ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    const auto known = KnownOptions().find(command);
    if (known == KnownOptions().end())
        return Usage("unknown command '" + command + "'");
    Options options;
    std::string why;
    if (!ParseOptions(known->second, argc, argv, options, why))
        return Usage(why);
    if (command == "play")
        return Play(options);
    if (command == "replay")
        return Replay(options);
    if (command == "batch")
        return Batch(options);
    if (command == "thresholds")
        return Thresholds(options);
    if (command == "tutorial")
        return Tutorial(options);
    return Random(options);
}

// leveldriver: plays level files without a screen, for authoring and checking the game's levels.
//   leveldriver play <level> [options]      one game; prints its record and result
//   leveldriver replay <replay>             replays a recorded game and checks it is the same
//   leveldriver batch <level> [options]     many games: win rate, rounds and cells
//   leveldriver random <episode> <seed> <out.bin> [--completed N]
//                                           a random level of the episode, printed as text
// Options: --level-number N, --seed S (program-wide generator), --policy-seed P, --policy-level
// L (the human side's AI level), --step-backs PCT (chance of a step-back per human turn),
// --round-cap N, --record FILE (play), --games N (batch), --quiet (play: the result only).
// A level is a level file, or a level text when its name ends in ".txt".
#include "tools/leveldriver/BatchReport.h"
#include "tools/leveldriver/DriverPolicy.h"
#include "tools/leveldriver/RandomLevelFile.h"
#include "tools/leveldriver/Replay.h"

#include "game/level/LevelText.h"

#include "framework/files/PakInterface.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>

namespace
{
struct Options
{
    std::vector<std::string> positional;
    std::map<std::string, std::string> named;
    bool quiet = false;
};

int Usage()
{
    std::cerr << "usage: leveldriver play <level> [--level-number N] [--seed S] [--policy-seed P] [--policy-level L]\n"
                 "                         [--step-backs PCT] [--round-cap N] [--record FILE] [--quiet]\n"
                 "       leveldriver replay <replay>\n"
                 "       leveldriver batch <level> [--games N] [--level-number N] [--seed S] [--policy-seed P]\n"
                 "                         [--policy-level L] [--round-cap N]\n"
                 "       leveldriver random <episode> <seed> <out.bin> [--completed N]\n";
    return 2;
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 2; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg == "--quiet")
            options.quiet = true;
        else if (arg.rfind("--", 0) == 0 && i + 1 < argc)
            options.named[arg.substr(2)] = argv[++i];
        else if (arg.rfind("--", 0) == 0)
            return false;
        else
            options.positional.push_back(arg);
    }
    return true;
}

// The named option as a number; false (with a message) when it does not read.
template <typename T>
bool Number(const Options& options, const std::string& name, T& value)
{
    const auto found = options.named.find(name);
    if (found == options.named.end())
        return true;
    const std::string& text = found->second;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc() && ptr == text.data() + text.size())
        return true;
    std::cerr << "leveldriver: --" << name << " '" << text << "' is not a number\n";
    return false;
}

struct PlayOptions
{
    GameSetup setup;
    uint32_t policySeed = 1;
    int policyLevel = 1;
    int stepBacks = 0;
    int games = 100;
};

bool ReadPlayOptions(const Options& options, PlayOptions& play)
{
    if (options.positional.size() != 1)
        return false;
    std::string error;
    if (!LoadLevelFile(options.positional[0], play.setup.levelBody, error))
    {
        std::cerr << "leveldriver: " << error << "\n";
        return false;
    }
    return Number(options, "level-number", play.setup.levelNumber) && Number(options, "seed", play.setup.seed) &&
           Number(options, "round-cap", play.setup.roundCap) && Number(options, "policy-seed", play.policySeed) &&
           Number(options, "policy-level", play.policyLevel) && Number(options, "step-backs", play.stepBacks) &&
           Number(options, "games", play.games);
}

int Play(const Options& options)
{
    PlayOptions play;
    if (!ReadPlayOptions(options, play))
        return Usage();
    DriverPolicy policy(play.policySeed, play.policyLevel, play.stepBacks);
    const GameRecord record = HeadlessGame(play.setup).Play(policy);
    for (size_t i = 0; i < record.lines.size(); ++i)
        if (!options.quiet || i + 1 == record.lines.size())
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
    replay.roundCap = play.setup.roundCap;
    std::ofstream file(out->second, std::ios::binary);
    file << replay.Format(record.lines);
    if (!file.flush())
    {
        std::cerr << "leveldriver: cannot write " << out->second << "\n";
        return 1;
    }
    return record.Finished() ? 0 : 1;
}

int Replay(const Options& options)
{
    if (options.positional.size() != 1)
        return Usage();
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
    if (!ReadPlayOptions(options, play) || play.games < 1)
        return Usage();
    BatchOptions batch;
    batch.games = play.games;
    batch.firstPolicySeed = play.policySeed;
    batch.policyLevel = play.policyLevel;
    std::cout << RunBatch(play.setup, batch).Report();
    return 0;
}

int Random(const Options& options)
{
    int episode = 0;
    uint32_t seed = 0;
    int completed = 0;
    if (options.positional.size() != 3 || !Number(options, "completed", completed))
        return Usage();
    const std::string& episodeText = options.positional[0];
    const std::string& seedText = options.positional[1];
    if (std::from_chars(episodeText.data(), episodeText.data() + episodeText.size(), episode).ec != std::errc() ||
        std::from_chars(seedText.data(), seedText.data() + seedText.size(), seed).ec != std::errc() || episode < 1)
        return Usage();
    Quoll::Buffer body;
    if (!GenerateRandomLevelFile(episode, seed, completed, body))
    {
        std::cerr << "leveldriver: no playable random level found\n";
        return 1;
    }
    std::ofstream file(options.positional[2], std::ios::binary);
    file.write(reinterpret_cast<const char*>(body.GetDataPtr()), static_cast<std::streamsize>(body.GetDataSize()));
    if (!file.flush())
    {
        std::cerr << "leveldriver: cannot write " << options.positional[2] << "\n";
        return 1;
    }
    std::string text;
    LevelTextError error;
    body.SeekReadStart();
    if (PrintLevelText(body, text, error))
        std::cout << text;
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (argc < 2 || !ParseOptions(argc, argv, options))
        return Usage();
    const std::string command = argv[1];
    if (command == "play")
        return Play(options);
    if (command == "replay")
        return Replay(options);
    if (command == "batch")
        return Batch(options);
    if (command == "random")
        return Random(options);
    return Usage();
}

// The headless game driver: the checked-in replays replay identically; a replay whose computer
// reply, board or end differs fails at that line, and one that does not read names its line; a
// game played by the seeded policy (bonuses, step-backs) gives the same record twice and replays
// from its own recording; the round cap; the batch summary; random level files.
// Rerun one case: test_board --gtest_filter='GameDriver.*'
#include "tools/leveldriver/BatchReport.h"
#include "tools/leveldriver/DriverPolicy.h"
#include "tools/leveldriver/RandomLevelFile.h"
#include "tools/leveldriver/Replay.h"

#include "game/level/LevelText.h"

#include "framework/files/PakInterface.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace
{
const std::filesystem::path kData = std::filesystem::path(QUOLL_SOURCE_DIR) / "tests/level/data";
const std::filesystem::path kReplays = kData / "replays";

std::string ReadText(const std::filesystem::path& path)
{
    std::string text;
    EXPECT_TRUE(Quoll::PakReadFile(path.string(), text)) << path;
    return text;
}

// Parses and checks a replay text; the error of the first failing step.
std::string ReplayError(const std::string& text)
{
    ReplayFile replay;
    std::string error;
    if (replay.Parse(text, error) && CheckReplay(replay, kReplays, error))
        return "";
    return error.empty() ? "failed without a reason" : error;
}

// The text with line number (1-based) replaced.
std::string WithLine(const std::string& text, int number, const std::string& line)
{
    std::istringstream in(text);
    std::string result;
    int at = 0;
    for (std::string current; std::getline(in, current);)
        result += (++at == number ? line : current) + "\n";
    return result;
}

// The number of the first line starting with prefix after line from.
int FindLine(const std::string& text, const std::string& prefix, int from = 0)
{
    std::istringstream in(text);
    int at = 0;
    for (std::string current; std::getline(in, current);)
        if (++at > from && current.rfind(prefix, 0) == 0)
            return at;
    return 0;
}

GameSetup LevelSetup(const std::string& level, uint32_t seed)
{
    GameSetup setup;
    std::string error;
    EXPECT_TRUE(LoadLevelFile(kData / "levels" / level, setup.levelBody, error)) << error;
    setup.seed = seed;
    setup.levelNumber = 14;
    return setup;
}

GameRecord PlayWithPolicy(const GameSetup& setup, uint32_t policySeed, int stepBacks)
{
    DriverPolicy policy(policySeed, 1, stepBacks);
    return HeadlessGame(setup).Play(policy);
}

int CountPrefix(const std::vector<std::string>& lines, const std::string& prefix)
{
    int count = 0;
    for (const std::string& line : lines)
        count += line.rfind(prefix, 0) == 0;
    return count;
}
} // namespace

TEST(GameDriver, CheckedInReplaysReplayIdentically)
{
    for (const char* name : {"bonuses-stepback", "two-players", "boss"})
    {
        const std::string text = ReadText(kReplays / (std::string(name) + ".replay"));
        EXPECT_EQ(ReplayError(text), "") << name;
    }
    // The first holds what it is kept for.
    const std::string bonuses = ReadText(kReplays / "bonuses-stepback.replay");
    EXPECT_NE(FindLine(bonuses, "bonus "), 0);
    EXPECT_NE(FindLine(bonuses, "stepback"), 0);
}

TEST(GameDriver, ChangedRepliesBoardsAndEndsFailAtTheirLine)
{
    const std::string text = ReadText(kReplays / "bonuses-stepback.replay");
    const int reply = FindLine(text, "move 2");
    const std::string changedReply = WithLine(text, reply, "move 2 0 0");
    EXPECT_EQ(ReplayError(changedReply).rfind("line " + std::to_string(reply) + ": the replay has 'move 2 0 0'", 0), 0u)
        << ReplayError(changedReply);

    const int turn = FindLine(text, "turn", FindLine(text, "turn"));
    std::string board = WithLine(text, turn, "turn 1 2 " + std::string(61, '.') + " 0000000000000000");
    EXPECT_EQ(ReplayError(board).rfind("line " + std::to_string(turn) + ":", 0), 0u) << ReplayError(board);

    const int result = FindLine(text, "result");
    EXPECT_EQ(ReplayError(WithLine(text, result, "result 2 score 0 medal 0 round 1 cells 0")).rfind("line " + std::to_string(result), 0), 0u);
    // Cut short: the game goes on past the last line.
    const std::string cut = text.substr(0, text.find("\n", text.find("\n", text.size() / 2) + 1) + 1);
    EXPECT_NE(ReplayError(cut).find("the replay ends here"), std::string::npos) << ReplayError(cut);
    // The checked-in corrupted replay.
    EXPECT_EQ(ReplayError(ReadText(kReplays / "corrupted.replay")).rfind("line 22: ", 0), 0u);
}

TEST(GameDriver, UnreadableReplaysNameTheirLine)
{
    const std::string text = ReadText(kReplays / "two-players.replay");
    EXPECT_EQ(ReplayError(WithLine(text, 8, "human 3 99")), "line 8: '99' is not a cell 0..60");
    EXPECT_EQ(ReplayError(WithLine(text, 9, "shuffle 1 2")), "line 9: unknown line 'shuffle'");
    EXPECT_EQ(ReplayError(WithLine(text, 10, "seed 4")), "line 10: 'seed' belongs before the game's lines");
    EXPECT_EQ(ReplayError(WithLine(text, 4, "seed four")), "line 4: 'four' is not a valid seed");
    EXPECT_EQ(ReplayError(WithLine(text, 2, "")), "no 'level' line");
    EXPECT_NE(ReplayError(WithLine(text, 2, "level missing.txt")).find("cannot open"), std::string::npos);
}

TEST(GameDriver, PolicyGamesAreReproducibleAndReplayFromTheirRecording)
{
    const GameSetup setup = LevelSetup("three-players-bonuses.txt", 21);
    for (uint32_t policySeed : {1u, 2u, 3u})
    {
        SCOPED_TRACE(policySeed);
        const GameRecord first = PlayWithPolicy(setup, policySeed, 40);
        ASSERT_TRUE(first.Finished()) << first.stopReason;
        const GameRecord second = PlayWithPolicy(setup, policySeed, 40);
        EXPECT_EQ(first.lines, second.lines);
        EXPECT_GT(CountPrefix(first.lines, "move 2"), 0);

        ReplayFile replay;
        replay.levelPath = "../levels/three-players-bonuses.txt";
        replay.levelNumber = setup.levelNumber;
        replay.seed = setup.seed;
        replay.roundCap = setup.roundCap;
        EXPECT_EQ(ReplayError(replay.Format(first.lines)), "");
    }
}

TEST(GameDriver, RoundCapStopsTheGame)
{
    GameSetup setup = LevelSetup("two-players.txt", 4);
    setup.roundCap = 3;
    const GameRecord record = PlayWithPolicy(setup, 9, 0);
    EXPECT_FALSE(record.Finished());
    EXPECT_EQ(record.rounds, 4);
    ASSERT_FALSE(record.lines.empty());
    EXPECT_EQ(record.lines.back().rfind("capped round 4 cells ", 0), 0u) << record.lines.back();
    EXPECT_EQ(CountPrefix(record.lines, "human"), 3);
}

TEST(GameDriver, BatchSumsUpTheGames)
{
    BatchOptions options;
    options.games = 6;
    const BatchSummary summary = RunBatch(LevelSetup("three-players-bonuses.txt", 1), options);
    EXPECT_EQ(summary.games, 6);
    EXPECT_EQ(summary.rounds.size(), 6u);
    EXPECT_EQ(summary.wonRounds.size(), static_cast<size_t>(summary.wins));
    EXPECT_EQ(summary.medals[0] + summary.medals[1] + summary.medals[2], summary.wins);
    EXPECT_NE(summary.Report().find("games 6"), std::string::npos);
    EXPECT_EQ(Distribution({9, 1, 5, 3, 7}), "min 1  p25 3  median 5  p75 7  max 9");
    EXPECT_EQ(Distribution({}), "none");
}

TEST(GameDriver, RandomLevelFilesFollowEpisodeSeedAndProgress)
{
    Quoll::Buffer first;
    Quoll::Buffer again;
    Quoll::Buffer other;
    ASSERT_TRUE(GenerateRandomLevelFile(2, 99, 0, first));
    ASSERT_TRUE(GenerateRandomLevelFile(2, 99, 0, again));
    ASSERT_TRUE(GenerateRandomLevelFile(2, 100, 70, other));
    EXPECT_EQ(std::string(first.GetDataPtr(), first.GetDataPtr() + first.GetDataSize()),
              std::string(again.GetDataPtr(), again.GetDataPtr() + again.GetDataSize()));
    std::string text;
    LevelTextError error;
    ASSERT_TRUE(PrintLevelText(first, text, error)) << error.ToString();
    EXPECT_EQ(text.find_first_of("mtbl", text.find("board\n") + 6), std::string::npos) << text;
    // The generated file plays to its end.
    GameSetup setup;
    setup.levelBody = other;
    setup.levelNumber = -2;
    EXPECT_TRUE(PlayWithPolicy(setup, 5, 0).Finished());
}

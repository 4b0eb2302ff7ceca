// The headless game driver: the checked-in replays replay identically; a replay whose computer
// reply, board or end differs fails at that line, and one that does not read names its line; a
// game played by the seeded policy (bonuses, step-backs) gives the same record twice and replays
// from its own recording; the round cap; soft locks; replays cut short; batches whose games
// differ and repeat by seed; random level files.
// Rerun one case: test_level --gtest_filter='GameDriver.*'
#include "tools/leveldriver/BatchReport.h"
#include "tools/leveldriver/DriverPolicy.h"
#include "tools/leveldriver/RandomLevelFile.h"
#include "tools/leveldriver/Replay.h"

#include "game/level/LevelText.h"

#include "framework/files/PakInterface.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <tuple>

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

// The first count lines of the text.
std::string FirstLines(const std::string& text, int count)
{
    std::istringstream in(text);
    std::string result;
    std::string current;
    for (int at = 0; at < count && std::getline(in, current); ++at)
        result += current + "\n";
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

GameRecord PlayWithPolicy(const GameSetup& setup, uint32_t policySeed, int stepBacks, PolicyKind kind = {})
{
    DriverPolicy policy(policySeed, kind, stepBacks);
    return HeadlessGame(setup).Play(policy);
}

// The lines of a record that are moves, in order.
std::vector<std::string> Moves(const GameRecord& record)
{
    std::vector<std::string> moves;
    for (const std::string& line : record.lines)
        if (line.rfind("move ", 0) == 0)
            moves.push_back(line);
    return moves;
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
    // The boss is beaten by ten bombs dropped on its portrait.
    const std::string boss = ReadText(kReplays / "boss.replay");
    int portraits = 0;
    for (int at = FindLine(boss, "portrait"); at != 0; at = FindLine(boss, "portrait", at))
        ++portraits;
    EXPECT_EQ(portraits, 10);
    EXPECT_NE(FindLine(boss, "result 1 "), 0);
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
    // The checked-in corrupted replay.
    EXPECT_EQ(ReplayError(ReadText(kReplays / "corrupted.replay")).rfind("line 19: ", 0), 0u);
}

TEST(GameDriver, UnreadableReplaysNameTheirLine)
{
    const std::string text = ReadText(kReplays / "two-players.replay");
    EXPECT_EQ(ReplayError(WithLine(text, 8, "human 3 99")), "line 8: '99' is not a cell 0..60");
    EXPECT_EQ(ReplayError(WithLine(text, 9, "shuffle 1 2")), "line 9: unknown line 'shuffle'");
    EXPECT_EQ(ReplayError(WithLine(text, 9, "portrait 3")), "line 9: 'portrait' takes nothing");
    EXPECT_EQ(ReplayError(WithLine(text, 9, "click 3 4")), "line 9: 'click' takes one cell");
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

TEST(GameDriver, ReplaysCutShortOrRunOnAreRefused)
{
    const std::string text = ReadText(kReplays / "bonuses-stepback.replay");
    // Cut after a turn of the human: its end line is missing.
    for (const std::string& prefix : {std::string("turn 1"), std::string("turn 2"), std::string("move"), std::string("human")})
    {
        const int line = FindLine(text, prefix, 20);
        ASSERT_NE(line, 0) << prefix;
        const std::string cut = FirstLines(text, line);
        EXPECT_NE(ReplayError(cut).find("cut short"), std::string::npos) << prefix << ": " << ReplayError(cut);
    }
    // Lines after the end.
    EXPECT_NE(ReplayError(text + "move 2 0 1\n").find("nothing may follow"), std::string::npos);
    // A different end.
    const int end = FindLine(text, "result");
    EXPECT_EQ(ReplayError(WithLine(text, end, "capped round 3 cells 5")).rfind("line " + std::to_string(end) + ":", 0), 0u);
}

TEST(GameDriver, RecordingsWithoutRoundsAndWithALevelSeedReplay)
{
    GameSetup setup = LevelSetup("two-players.txt", 3);
    setup.roundCap = 0;
    const GameRecord none = PlayWithPolicy(setup, 1, 0);
    ASSERT_FALSE(none.lines.empty());
    EXPECT_EQ(none.lines.back(), "capped round 1 cells 1");
    ReplayFile replay;
    replay.levelPath = "../levels/two-players.txt";
    replay.levelNumber = setup.levelNumber;
    replay.seed = setup.seed;
    replay.roundCap = 0;
    EXPECT_EQ(ReplayError(replay.Format(none.lines)), "");

    setup.roundCap = 200;
    setup.levelSeed = 77;
    const GameRecord seeded = PlayWithPolicy(setup, 1, 0);
    ASSERT_TRUE(seeded.Finished()) << seeded.stopReason;
    replay.roundCap = 200;
    replay.levelSeed = 77;
    const std::string text = replay.Format(seeded.lines);
    EXPECT_NE(text.find("\nlevel-seed 77\n"), std::string::npos);
    EXPECT_EQ(ReplayError(text), "");
    // The turn lines carry the level generator's state: another level seed differs at the first
    // turn already, before any move could.
    replay.levelSeed = 78;
    const std::string other = replay.Format(seeded.lines);
    EXPECT_EQ(ReplayError(other).rfind("line " + std::to_string(FindLine(other, "turn")) + ": ", 0), 0u) << ReplayError(other);
}

TEST(GameDriver, ASoftLockEndsTheGame)
{
    // A saved game waiting for an armed mine, and a human who only ever clicks its own cell:
    // the mine never becomes ready.
    class StubbornHuman : public InputSource
    {
    public:
        std::optional<DriverInput> Next(const LevelSession&) override { return DriverInput::Bonus(0, {}); }
    };
    GameSetup setup = LevelSetup("two-players.txt", 1);
    std::vector<uint8_t> bytes(setup.levelBody.GetDataPtr(), setup.levelBody.GetDataPtr() + setup.levelBody.GetDataSize());
    const size_t tail = bytes.size() - 112;
    auto put = [&bytes, tail](size_t word, int32_t value) {
        for (size_t i = 0; i < 4; ++i)
            bytes[tail + 4 * word + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
    };
    put(16, BONUS_MINE); // inventory slot 0
    put(19, 0);          // armed slot
    setup.levelBody = Quoll::Buffer();
    setup.levelBody.WriteBytes(bytes.data(), bytes.size());
    StubbornHuman human;
    const GameRecord record = HeadlessGame(setup).Play(human);
    EXPECT_FALSE(record.Finished());
    EXPECT_EQ(record.stopReason, "soft lock at round 1");
    ASSERT_FALSE(record.lines.empty());
    EXPECT_EQ(record.lines.back(), "softlock round 1 cells 1");
    EXPECT_EQ(CountPrefix(record.lines, "bonus"), HeadlessGame::kSoftLockUpdates);
}

TEST(GameDriver, BatchGamesDifferAndRepeatBySeed)
{
    // Fifty games of one level with the default policy, and a dozen with each other policy:
    // their move lists differ. The same seeds give the same games.
    for (const auto& [kind, games, least] : {std::tuple{"1", 50u, 40u}, std::tuple{"0", 12u, 10u},
                                             std::tuple{"2", 12u, 10u}, std::tuple{"3", 12u, 10u},
                                             std::tuple{"random", 12u, 10u}})
    {
        SCOPED_TRACE(kind);
        const PolicyKind policy = *PolicyKind::Parse(kind);
        std::set<std::vector<std::string>> distinct;
        for (uint32_t i = 0; i < games; ++i)
        {
            GameSetup setup = LevelSetup("two-players.txt", 40 + i);
            setup.levelSeed = 40 + i;
            distinct.insert(Moves(PlayWithPolicy(setup, 7 + i, 0, policy)));
        }
        EXPECT_GE(distinct.size(), least);
    }
    BatchOptions options;
    options.games = 12;
    options.policy = *PolicyKind::Parse("0");
    const BatchSummary first = RunBatch(LevelSetup("three-players-bonuses.txt", 9), options);
    const BatchSummary again = RunBatch(LevelSetup("three-players-bonuses.txt", 9), options);
    EXPECT_EQ(first.records, again.records);
    EXPECT_EQ(first.Report(), again.Report());
    EXPECT_GE(first.distinctGames, 10);
    // Every column of the report spreads over more than one value.
    for (const std::vector<int>* column : {&first.rounds, &first.cells, &first.wonRounds, &first.wonCells})
        EXPECT_GT(std::set<int>(column->begin(), column->end()).size(), 1u) << first.Report();
    // The batch's game i is the game of play with the seeds i further on.
    GameSetup third = LevelSetup("three-players-bonuses.txt", 9 + 2);
    third.levelSeed = 9 + 2;
    EXPECT_EQ(first.records.count(PlayWithPolicy(third, options.firstPolicySeed + 2, 0, options.policy).lines), 1u);
}

TEST(GameDriver, PolicyLevelsPlayLikeTheirComputerPlayers)
{
    // The ranking and the level's choice: level 2 takes a best move, level 0 takes weaker moves
    // often enough to win less against the same opponent.
    auto wins = [](const char* kind) {
        int won = 0;
        for (uint32_t i = 0; i < 30; ++i)
        {
            GameSetup setup = LevelSetup("two-players.txt", i + 1);
            setup.levelSeed = i + 1;
            const GameRecord record = PlayWithPolicy(setup, i + 100, 0, *PolicyKind::Parse(kind));
            won += record.outcome && record.outcome->result == 1;
        }
        return won;
    };
    EXPECT_GT(wins("2"), wins("random"));
    EXPECT_FALSE(PolicyKind::Parse("4").has_value());
    EXPECT_FALSE(PolicyKind::Parse("").has_value());
    EXPECT_EQ(PolicyKind::Parse("random")->ToString(), "random");
}

// A boss level end to end on the generated game data: the autoplay plays it to its end, bombs
// dropped on the boss's portrait included, with the screen checked against the board after
// every turn; the same run in two fresh processes logs the same; and the games the level driver
// recorded on the boss levels replay through the play screen with the driver's board at every
// turn; a replay that parts from the game fails at the turn where it parts.
// Rerun: test_e2e --gtest_filter='BossAutoplay*'
#include "tests/e2e/AutoplayFixture.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

namespace
{
using namespace AutoplayTesting;

// The first episode's boss level, and a seed whose player picks up bombs (four on the portrait)
// and a mine before the boss wins.
constexpr int kBossLevel = 15;
constexpr uint32_t kBossSeed = 6;

class BossAutoplayRun : public AutoplayRun
{
};

bool HasLineStarting(const std::vector<std::string>& log, const std::string& start)
{
    return std::any_of(log.begin(), log.end(), [&](const std::string& line) { return line.rfind(start, 0) == 0; });
}

// The lines of a text or log that start with the word.
std::vector<std::string> LinesStarting(const std::vector<std::string>& lines, const std::string& word)
{
    std::vector<std::string> found;
    for (const std::string& line : lines)
        if (line.rfind(word + " ", 0) == 0)
            found.push_back(line);
    return found;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The boss's hit points in a turn line of the log ("... boss <hit points> <countdown> ...").
int BossHitPoints(const std::string& turnLine)
{
    std::istringstream in(turnLine.substr(turnLine.find(" boss ") + 6));
    int hitPoints = -1;
    in >> hitPoints;
    return hitPoints;
}

TEST_F(BossAutoplayRun, PlaysToItsEndWithTheScreenAlwaysShowingTheBoard)
{
    Autoplay::Options options;
    options.level = kBossLevel;
    options.seed = kBossSeed;
    Autoplay::Runner& run = Start(options);
    ASSERT_NE(run.Scene(), nullptr);
    ASSERT_TRUE(run.CurrentLevel()->HasBoss());
    EXPECT_GT(PlayToTheEndCheckingTheScreen(run), 0);
    ASSERT_TRUE(run.IsFinished());
    // Armed bombs went on the portrait and cost the boss hit points.
    const std::vector<std::string>& log = run.Log();
    EXPECT_TRUE(HasLineStarting(log, "bonus 12 portrait"));
    const std::vector<std::string> turns = LinesStarting(log, "turn");
    ASSERT_FALSE(turns.empty());
    EXPECT_LT(BossHitPoints(turns.back()), BossHitPoints(turns.front()));
    ExpectLeftCleanly(run);
}

TEST_F(BossAutoplayRun, TwoRunsInFreshProcessesLogTheSame)
{
    const fs::path folder = fs::path(QUOLL_TEST_HOME) / ProductName();
    fs::create_directories(folder);
    std::string outputs[2];
    for (int run = 0; run < 2; ++run)
    {
        const fs::path out = folder / ("run" + std::to_string(run) + ".txt");
        const std::string arguments = "--level " + std::to_string(kBossLevel) + " --seed " + std::to_string(kBossSeed);
        ASSERT_EQ(RunAutoplayProgram(arguments, folder / ("home" + std::to_string(run)), out), 0)
            << ReadAll(out) << ReadAll(out.string() + ".err");
        outputs[run] = ReadAll(out);
    }
    EXPECT_NE(outputs[0].find("outcome winner"), std::string::npos);
    EXPECT_NE(outputs[0].find("bonus 12 portrait"), std::string::npos);
    EXPECT_EQ(outputs[0], outputs[1]);
    fs::remove_all(folder);
}

// The driver's winning games of the boss levels: the play screen, given the same level body,
// seeds and human acts, begins every turn on the driver's board and ends with its winner and
// medal. Its score may be higher by the hidden objects the clicks opened (20 points each): the
// driver's levels have none.
TEST_F(BossAutoplayRun, TheDriversBossReplaysPlayTheSameOnThePlayScreen)
{
    for (int level : {15, 27, 42, 57, 70})
    {
        SCOPED_TRACE("level " + std::to_string(level));
        const fs::path replay = fs::path(QUOLL_SOURCE_DIR) / "tests/content/replays" / (std::to_string(level) + ".replay");
        Autoplay::Options options;
        options.replayPath = replay.string();
        Autoplay::Runner& run = Start(options);
        ASSERT_TRUE(run.RunToEnd()) << run.Log().back();

        const std::vector<std::string> recorded = SplitLines(ReadAll(replay));
        std::vector<std::string> expected = LinesStarting(recorded, "turn");
        const std::vector<std::string> played = LinesStarting(run.Log(), "turn");
        // The driver also writes the turn whose beginning ends the game; the screen's update
        // shows the end already.
        ASSERT_GT(expected.size(), 20u);
        expected.pop_back();
        const auto parted = std::mismatch(expected.begin(), expected.end(), played.begin(), played.end());
        EXPECT_TRUE(parted.first == expected.end() && parted.second == played.end())
            << "turn " << (parted.first - expected.begin()) << ": the driver has '"
            << (parted.first != expected.end() ? *parted.first : "") << "', the play screen '"
            << (parted.second != played.end() ? *parted.second : "") << "'";

        // "result <winner> score <s> medal <m> ..." against "outcome winner <w> medal <m> score <s>".
        std::istringstream result(LinesStarting(recorded, "result").at(0));
        const std::vector<std::string> outcomes = LinesStarting(run.Log(), "outcome");
        ASSERT_EQ(outcomes.size(), 1u);
        std::istringstream outcome(outcomes[0]);
        std::string word;
        int winner = 0, score = 0, medal = 0, shownWinner = 0, shownScore = 0, shownMedal = 0;
        result >> word >> winner >> word >> score >> word >> medal;
        outcome >> word >> word >> shownWinner >> word >> shownMedal >> word >> shownScore;
        EXPECT_EQ(shownWinner, winner);
        EXPECT_EQ(shownMedal, medal);
        EXPECT_GE(shownScore, score);
        EXPECT_EQ((shownScore - score) % 20, 0) << shownScore << " against " << score;
        mRunner.reset();
    }
}

// A replay is checked as it is played: a turn whose board hash differs from the replay's, or a
// move the game does not take, stops the run at that turn and names it.
TEST_F(AutoplayRun, AReplayThatPartsFromTheGameFailsAtItsTurn)
{
    const fs::path original = fs::path(QUOLL_SOURCE_DIR) / "tests/content/replays/2.replay";
    std::vector<std::string> lines = SplitLines(ReadAll(original));
    const fs::path folder = fs::path(QUOLL_TEST_HOME) / "tampered_replays";
    fs::create_directories(folder);
    auto write = [&](const std::string& name, std::vector<std::string> text) {
        for (std::string& line : text)
            if (line.rfind("level ", 0) == 0)
                line = "level " + (original.parent_path() / line.substr(6)).string();
        std::string joined;
        for (const std::string& line : text)
            joined += line + "\n";
        std::ofstream(folder / name, std::ios::binary) << joined;
        Autoplay::Options options;
        options.replayPath = (folder / name).string();
        return options;
    };
    std::vector<size_t> turns, humans;
    for (size_t i = 0; i < lines.size(); ++i)
    {
        if (lines[i].rfind("turn ", 0) == 0)
            turns.push_back(i);
        if (lines[i].rfind("human ", 0) == 0)
            humans.push_back(i);
    }
    ASSERT_GT(turns.size(), 5u);
    ASSERT_GT(humans.size(), 2u);

    // The third turn's board hash tampered with: the third turn fails, naming its line.
    std::vector<std::string> tampered = lines;
    std::string& third = tampered[turns[2]];
    const size_t hash = third.rfind(' ', third.rfind(' ') - 1) + 1;
    third[hash] = third[hash] == '0' ? '1' : '0';
    {
        Autoplay::Runner& run = Start(write("hash.replay", tampered));
        EXPECT_FALSE(run.RunToEnd());
        EXPECT_EQ(run.GetReplayDifference().rfind("turn 3 (replay line " + std::to_string(turns[2] + 1) + "): expected", 0), 0u)
            << run.GetReplayDifference();
        mRunner.reset();
    }

    // The second human move from a cell the human does not hold: the game does not take it.
    std::vector<std::string> illegal = lines;
    illegal[humans[1]] = "human 30 31";
    {
        Autoplay::Runner& run = Start(write("illegal.replay", illegal));
        EXPECT_FALSE(run.RunToEnd());
        EXPECT_NE(run.GetReplayDifference().find("(replay line " + std::to_string(humans[1] + 1) + "): the move"), std::string::npos)
            << run.GetReplayDifference();
        mRunner.reset();
    }

    // The replay as recorded plays through without a difference.
    Autoplay::Runner& run = Start(write("same.replay", lines));
    EXPECT_TRUE(run.RunToEnd()) << run.GetReplayDifference();
}
} // namespace

// The campaign's level files: each compiled file loads as the game loads a level file and keeps
// the campaign's rules; each file's first won reference game replays; the thresholds run repeats
// the README's rows; the README's table keeps the win-rate bands.
#include "tools/leveldriver/Replay.h"
#include "tools/leveldriver/Thresholds.h"

#include "game/board/LogicChecker.h"
#include "game/level/AssetCfg.h"
#include "game/level/Level.h"
#include "game/level/LevelFileCheck.h"
#include "game/level/NullLevelServices.h"
#include "game/level/NullLevelView.h"

#include "framework/files/PakInterface.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>
#include <set>
#include <string>

namespace
{
constexpr int kLevels = 70;
const std::set<int> kBossLevels = {15, 27, 42, 57, 70};
constexpr std::array<int, 5> kEpisodeLast = {15, 27, 42, 57, 70};

// Opponents per level on the normal difficulty; the easy table has 1 at level 13 and 2 at 32.
constexpr std::array<int, kLevels> kNormalOpponents = {
    1, 1, 1, 1, 1, 1, 1, 2, 2, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 1, 2, 2, 1, 2, 1, 1, 2, 2, 2,
    2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 1, 2, 2, 1, 1, 2, 2, 2, 2};

int Opponents(int level, bool easy)
{
    if (easy && (level == 13 || level == 32))
        return level == 13 ? 1 : 2;
    return kNormalOpponents[static_cast<size_t>(level - 1)];
}

int EpisodeOf(int level)
{
    int episode = 1;
    while (level > kEpisodeLast[static_cast<size_t>(episode - 1)])
        ++episode;
    return episode;
}

std::string Variant(bool easy) { return easy ? "easy/" : ""; }

std::string ReadText(const std::string& path)
{
    std::string text;
    EXPECT_TRUE(Quoll::PakReadFile(path, text)) << path;
    return text;
}

std::string SourcePath(int level, bool easy)
{
    return std::string(QUOLL_SOURCE_DIR) + "/data/levels/src/" + Variant(easy) + std::to_string(level) + ".txt";
}

std::string Readme() { return ReadText(std::string(QUOLL_SOURCE_DIR) + "/README.md"); }

struct TableRow
{
    double winRate = 0;
    std::string reference;
};

// The README's row of a level file, read back.
std::optional<TableRow> ReadRow(const std::string& readme, int level, bool easy)
{
    const std::string row = FindTableRow(readme, level, easy ? "easy" : "normal");
    char reference[64] = {};
    TableRow parsed;
    const size_t rate = row.find(" % |");
    if (row.empty() || rate == std::string::npos)
        return std::nullopt;
    const size_t start = row.rfind("| ", rate) + 2;
    parsed.winRate = std::stod(row.substr(start, rate - start));
    // The last column: between the last two bars.
    const size_t last = row.rfind('|');
    const size_t before = row.rfind('|', last - 1);
    std::sscanf(row.c_str() + before + 1, " %63[^|]", reference);
    parsed.reference = reference;
    return parsed;
}
} // namespace

TEST(Campaign, EveryFileLoadsAsTheGameLoadsItAndKeepsTheCampaignsRules)
{
    AssetCfg assets;
    ASSERT_TRUE(assets.Load([](const std::string&) {}, std::string(QUOLL_SOURCE_DIR) + "/data/game.cfg"));
    std::set<std::string> generators;
    for (const bool easy : {false, true})
        for (int level = 1; level <= kLevels; ++level)
        {
            SCOPED_TRACE(Variant(easy) + std::to_string(level));
            std::string bytes;
            ASSERT_TRUE(Quoll::PakReadFile(std::string(QUOLL_LEVEL_DIR) + "/" + Variant(easy) + std::to_string(level) + ".bin", bytes));
            Quoll::Buffer body;
            body.SetData(bytes.data(), bytes.size());
            NullLevelView view;
            NullLevelServices services;
            Level file(view, services);
            ASSERT_TRUE(file.Load(body, LevelBodyKind::LevelFile)) << file.GetLoadError();
            const GameLogic& logic = file.GetLogic();
            EXPECT_EQ(FindLogicFault(logic), "");
            // Players: the table's opponents and the human; everybody can move at the start.
            ASSERT_EQ(logic.GetPlayerCount(), Opponents(level, easy) + 1);
            EXPECT_EQ(logic.GetPlayerAiLevel(1), -1);
            for (int player = 1; player <= logic.GetPlayerCount(); ++player)
                EXPECT_TRUE(logic.CanMove(player)) << player;
            // An ordered medal rule the mode can reach.
            const MedalRule& rule = file.GetMedalRule();
            EXPECT_EQ(LevelFileCheck::FindMedalRuleFault(rule), "");
            const bool rounds = rule.mode == static_cast<int32_t>(MedalMode::Rounds);
            EXPECT_TRUE(rounds ? rule.firstThreshold <= rule.secondThreshold : rule.firstThreshold >= rule.secondThreshold);
            // The boss is player 2 at AI level 3 with a minion beside it, and its fan shows kind 8.
            const bool boss = kBossLevels.count(level) != 0;
            for (int player = 2; player <= logic.GetPlayerCount(); ++player)
                EXPECT_EQ(logic.GetPlayerAiLevel(player) == 3, boss && player == 2) << player;
            EXPECT_EQ(assets.GetEnemyBacteria(level) == 8, boss);
            EXPECT_TRUE(!boss || logic.GetPlayerCount() == 3);
            // Bonuses only from the levels that unlock them: teleport 3, mines 6, bomb 7.
            const Board& board = logic.GetBoard();
            for (int cell = 0; cell < kCellCount; ++cell)
            {
                const int bonus = board.Exists(cell) ? board.GetBonus(cell) : BONUS_NONE;
                const int unlocked = bonus == BONUS_TELEPORT ? 3 : bonus == BONUS_BOMB ? 7 : bonus == BONUS_NONE ? 1 : 6;
                EXPECT_GE(level, unlocked) << "cell " << cell << " bonus " << bonus;
            }
            EXPECT_TRUE(generators.insert(logic.GetRandom().GetState()).second) << "the generator seed is not distinct";
        }
}

TEST(Campaign, BonusesAreMetEarlyAndBossesHaveBombsInReach)
{
    auto bonusCells = [](int level) {
        Quoll::Buffer body;
        std::string error;
        EXPECT_TRUE(LoadLevelFile(SourcePath(level, false), body, error)) << error;
        NullLevelView view;
        NullLevelServices services;
        Level file(view, services);
        EXPECT_TRUE(file.Load(body, LevelBodyKind::LevelFile));
        std::map<int, int> bombsNearHuman;
        const GameLogic& logic = file.GetLogic();
        const CellSet human = logic.GetBoard().GetOwnedCells(1);
        for (int cell = 0; cell < kCellCount; ++cell)
        {
            const int bonus = logic.GetBoard().Exists(cell) ? logic.GetBoard().GetBonus(cell) : BONUS_NONE;
            if (bonus == BONUS_NONE)
                continue;
            const bool near = (logic.GetNeighbourTables().Ring1(cell) & human).Any() ||
                              (logic.GetNeighbourTables().Ring2(cell) & human).Any();
            bombsNearHuman[bonus] += near ? 1 : 0;
        }
        return bombsNearHuman;
    };
    // Level 3 has a teleport on the board at round 1, next to the human; 6 a mine; 7 a bomb.
    EXPECT_GE(bonusCells(3)[BONUS_TELEPORT], 1);
    EXPECT_GE(bonusCells(6)[BONUS_MINE], 1);
    EXPECT_GE(bonusCells(7)[BONUS_BOMB], 1);
    for (int level : kBossLevels)
        EXPECT_GE(bonusCells(level)[BONUS_BOMB], 2) << level;
}

TEST(Campaign, EveryFilesFirstWonReferenceGameReplays)
{
    for (const bool easy : {false, true})
        for (int level = 1; level <= kLevels; ++level)
        {
            const std::string path = std::string(QUOLL_SOURCE_DIR) + "/tests/content/replays/" + Variant(easy) +
                                     std::to_string(level) + ".replay";
            SCOPED_TRACE(path);
            ReplayFile replay;
            std::string error;
            ASSERT_TRUE(replay.Parse(ReadText(path), error)) << error;
            EXPECT_EQ(replay.body.back().text.rfind("result 1 ", 0), 0u) << replay.body.back().text;
            EXPECT_TRUE(CheckReplay(replay, std::filesystem::path(path).parent_path(), error)) << error;
        }
}

class CampaignThresholds : public testing::TestWithParam<int>
{
};

TEST_P(CampaignThresholds, RepeatTheReadmeRow)
{
    // The level's batch once more: the same row as the README's, the thresholds its text holds.
    const int level = GetParam();
    const std::string text = ReadText(SourcePath(level, false));
    ThresholdRun run;
    std::string error;
    ASSERT_TRUE(RunThresholds(text, level, 200, run, error)) << error;
    EXPECT_EQ(run.Row(), FindTableRow(Readme(), level, "normal"));
    EXPECT_GE(run.distinctMoveLists, kSpreadLeast);
    std::string rewritten = text;
    ASSERT_TRUE(ReplaceMedalLine(rewritten, run.rule));
    EXPECT_EQ(rewritten, text);
}

INSTANTIATE_TEST_SUITE_P(FirstBossAndLast, CampaignThresholds, testing::Values(1, 15, 70));

TEST(Campaign, TheReadmeTableKeepsTheWinRateBands)
{
    // Reference win rates: episode means fall and lie in their bands, a boss level is its
    // episode's lowest; an easy file wins at least as often as its normal file and half its games.
    constexpr std::array<std::pair<double, double>, 5> kBands = {{{85, 100}, {70, 90}, {55, 80}, {40, 70}, {25, 60}}};
    const std::string readme = Readme();
    std::array<double, 5> sums{};
    std::array<int, 5> counts{};
    std::array<double, 5> lowestOrdinary = {100, 100, 100, 100, 100};
    std::array<double, 5> boss{};
    for (int level = 1; level <= kLevels; ++level)
    {
        SCOPED_TRACE(level);
        const std::optional<TableRow> normal = ReadRow(readme, level, false);
        const std::optional<TableRow> easy = ReadRow(readme, level, true);
        ASSERT_TRUE(normal && easy);
        const auto e = static_cast<size_t>(EpisodeOf(level) - 1);
        sums[e] += normal->winRate;
        counts[e] += 1;
        if (kBossLevels.count(level) != 0)
            boss[e] = normal->winRate;
        else
            lowestOrdinary[e] = std::min(lowestOrdinary[e], normal->winRate);
        EXPECT_GE(easy->winRate, normal->winRate);
        EXPECT_GE(easy->winRate, 50.0);
        EXPECT_EQ(normal->reference.rfind("AI ", 0), 0u);
    }
    double previous = 101;
    for (size_t e = 0; e < kBands.size(); ++e)
    {
        SCOPED_TRACE("episode " + std::to_string(e + 1));
        const double mean = sums[e] / counts[e];
        EXPECT_GE(mean, kBands[e].first);
        EXPECT_LE(mean, kBands[e].second);
        EXPECT_LT(mean, previous);
        EXPECT_LT(boss[e], lowestOrdinary[e]);
        previous = mean;
    }
}

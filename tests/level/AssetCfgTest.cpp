// The asset table read from game.cfg: rows appended per episode, hero bacteria for the rows read
// so far, episode and level assets, ignored and malformed lines, clamped and episode-relative
// look-ups, a missing or short file, and the game's own data/game.cfg.
// Rerun one case: test_level --gtest_filter='AssetCfg.*'
#include "game/level/AssetCfg.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{
struct AssetFixture
{
    AssetCfg assets;
    std::vector<std::string> errors;

    // Writes the text into a scratch file and loads it.
    // Each test has a file of its own: CTest runs the tests of this program in parallel.
    bool Load(const std::string& text)
    {
        const std::filesystem::path folder = std::filesystem::path(QUOLL_TEST_HOME) / "asset_cfg_test";
        std::filesystem::create_directories(folder);
        const std::filesystem::path path =
            folder / (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".cfg");
        std::ofstream(path, std::ios::binary) << text;
        return assets.Load([this](const std::string& line) { errors.push_back(line); }, path.string());
    }
};
} // namespace

TEST(AssetCfg, EpisodeLevelsAppendRowsOnly)
{
    AssetFixture f;
    ASSERT_TRUE(f.Load("EPISODELEVELS 1 10\nEPISODELEVELS 2 25\nEPISODELEVELS 3 20\n"));
    ASSERT_EQ(f.assets.GetRows().size(), 25u);
    EXPECT_EQ(f.assets.GetEpisode(10), 1);
    EXPECT_EQ(f.assets.GetEpisode(11), 2);
    EXPECT_EQ(f.assets.GetEpisode(25), 2);
    EXPECT_EQ(f.assets.GetRow(3), (AssetCfg::Row{1, 1, 1, 1, 2, 3}));
    EXPECT_EQ(f.assets.GetFirstLevelOfEpisode(2), 11);
    EXPECT_EQ(f.assets.GetFirstLevelOfEpisode(3), 0);
}

TEST(AssetCfg, LinesActOnTheRowsReadSoFar)
{
    AssetFixture f;
    ASSERT_TRUE(f.Load("# assets\n\nHEROBAC 4\nEPISODELEVELS 1 3\nEPISODEASSET 2 9 9 9 9\n"
                       "EPISODELEVELS 2 6\nHEROBAC 5\nEPISODEASSET 2 7 2 4 6\nLEVELASSET 0 8 8 8 8\n"
                       "LEVELASSET 7 8 8 8 8\nLEVELASSET 3 6 5 4 3\nUNKNOWN 1 2\nEPISODELEVELS 3 7\n"));
    ASSERT_EQ(f.assets.GetRows().size(), 7u);
    EXPECT_EQ(f.assets.GetRow(1), (AssetCfg::Row{1, 1, 1, 5, 2, 3}));
    EXPECT_EQ(f.assets.GetRow(3), (AssetCfg::Row{1, 6, 5, 5, 4, 3}));
    EXPECT_EQ(f.assets.GetRow(4), (AssetCfg::Row{2, 7, 2, 5, 4, 6}));
    EXPECT_EQ(f.assets.GetRow(7), (AssetCfg::Row{3, 1, 1, 1, 2, 3}));
    // Unknown keywords are skipped quietly; the short table is reported.
    ASSERT_EQ(f.errors.size(), 1u);
    EXPECT_NE(f.errors[0].find("7 of 70"), std::string::npos) << f.errors[0];
}

TEST(AssetCfg, LookUpsAreClampedAndEpisodeRelative)
{
    AssetFixture f;
    ASSERT_TRUE(f.Load("EPISODELEVELS 1 15\nEPISODELEVELS 2 40\nEPISODELEVELS 3 70\n"
                       "EPISODEASSET 2 12 3 4 5\nLEVELASSET 70 20 4 5 6\n"));
    EXPECT_TRUE(f.errors.empty());
    EXPECT_EQ(f.assets.GetFoneIndex(-2), 12);
    EXPECT_EQ(f.assets.NormaliseLevel(-3), 41);
    EXPECT_EQ(f.assets.GetCellSkin(999), 4);
    EXPECT_EQ(f.assets.GetThirdBacteria(71), 6);
    EXPECT_EQ(f.assets.GetEnemyBacteria(0), 2);
    EXPECT_EQ(f.assets.GetEpisode(-2147483647 - 1), 1);
    // An episode without rows normalises to 0, which is clamped to level 1.
    EXPECT_EQ(f.assets.NormaliseLevel(-9), 0);
    EXPECT_EQ(f.assets.GetRow(-9), f.assets.GetRow(1));
}

TEST(AssetCfg, MalformedLinesAreSkippedWithTheirLine)
{
    AssetFixture f;
    ASSERT_TRUE(f.Load("EPISODELEVELS 1 70\nLEVELASSET 5 1 2\nHEROBAC x\nLEVELASSET 6 9 8 7 6\n"
                       "EPISODELEVELS 2 2000000000\n"));
    EXPECT_EQ(f.assets.GetRow(5), (AssetCfg::Row{1, 1, 1, 1, 2, 3}));
    EXPECT_EQ(f.assets.GetFoneIndex(6), 9);
    EXPECT_EQ(f.assets.GetRows().size(), 70u);
    ASSERT_EQ(f.errors.size(), 3u);
    EXPECT_NE(f.errors[0].find("line 2"), std::string::npos) << f.errors[0];
    EXPECT_NE(f.errors[1].find("line 3"), std::string::npos) << f.errors[1];
    EXPECT_NE(f.errors[2].find("line 5"), std::string::npos) << f.errors[2];
}

TEST(AssetCfg, MissingFileGivesDefaultRows)
{
    AssetFixture f;
    ASSERT_TRUE(f.Load("EPISODELEVELS 4 70\n"));
    std::vector<std::string> errors;
    EXPECT_FALSE(f.assets.Load([&errors](const std::string& line) { errors.push_back(line); }, "data/no-such.cfg"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "Cannot open asset cfg file: data/no-such.cfg");
    EXPECT_TRUE(f.assets.GetRows().empty());
    for (int level : {1, 35, 70, -1, -4})
        EXPECT_EQ(f.assets.GetRow(level), AssetCfg::kDefaultRow) << level;
}

TEST(AssetCfg, TheGamesConfigurationCoversTheCampaign)
{
    AssetCfg assets;
    std::vector<std::string> errors;
    ASSERT_TRUE(assets.Load([&errors](const std::string& line) { errors.push_back(line); },
                            std::string(QUOLL_SOURCE_DIR) + "/data/game.cfg"));
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(assets.GetRows().size(), 70u);
    for (int level = 1; level <= 70; ++level)
    {
        const AssetCfg::Row& row = assets.GetRow(level);
        EXPECT_GE(row[AssetCfg::Episode], 1) << level;
        EXPECT_LE(row[AssetCfg::Episode], 5) << level;
        EXPECT_GE(row[AssetCfg::CellSkin], 1) << level;
        EXPECT_LE(row[AssetCfg::CellSkin], 5) << level;
    }
    for (int episode = 1; episode <= 5; ++episode)
        EXPECT_GT(assets.GetFirstLevelOfEpisode(episode), 0) << episode;
    EXPECT_EQ(GetMedalImageId(0), 18);
    EXPECT_EQ(GetMedalImageId(2), 20);
}

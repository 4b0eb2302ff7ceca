// The record layouts as the README writes them down: the fuzz corpus files were built by hand from
// those layouts (not by this code), so each must read, and read to the values put in it. Rerun
// with --gtest_filter=RecordLayout.*.
#include "game/shell/Profile.h"
#include "game/shell/ProfileList.h"
#include "game/shell/SavedGame.h"
#include "game/shell/ScoreTable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace
{
Quoll::Buffer CorpusFile(const std::string& target, const std::string& name)
{
    std::ifstream in(std::string(QUOLL_SOURCE_DIR) + "/fuzz/corpus/" + target + "/" + name, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_FALSE(bytes.empty()) << target << "/" << name;
    Quoll::Buffer buffer;
    buffer.WriteBytes(bytes.data(), bytes.size());
    return buffer;
}
} // namespace

TEST(RecordLayout, HandBuiltProfileReadsToItsValues)
{
    Quoll::Buffer buffer = CorpusFile("shell_profile", "played.dat");
    Profile profile;
    ASSERT_TRUE(profile.Read(buffer));
    EXPECT_EQ(profile.GetName(), "a/b");
    EXPECT_EQ(profile.GetDifficulty(), 514);
    EXPECT_TRUE(profile.IsDifficultyChosen());
    EXPECT_EQ(profile.GetLevelScore(1), 1200);
    EXPECT_EQ(profile.GetLevelMedal(2), 1);
    EXPECT_EQ(profile.GetLevelScore(70), 9);
    int played = 0, won = 0;
    profile.GetRandomStats(3, played, won);
    EXPECT_EQ(played, 4);
    EXPECT_EQ(won, 2);
    EXPECT_TRUE(profile.HasSeen(ProfileSeen::OpeningComic));
    EXPECT_FALSE(profile.HasSeen(ProfileSeen::MapIntro));
    EXPECT_TRUE(profile.HasSeen(ProfileSeen::FinalComic));
    const AchievementRecord& record = profile.GetAchievements();
    EXPECT_TRUE(record.IsAchieved(8));
    EXPECT_FALSE(record.IsAchieved(2));
    EXPECT_EQ(record.GetNewAchievements(), (std::vector<int>{12, 1}));
    EXPECT_EQ(record.GetCounter(8), 40);
    EXPECT_EQ(record.GetCounter(15), 3);

    Quoll::Buffer fresh = CorpusFile("shell_profile", "fresh.dat");
    ASSERT_TRUE(profile.Read(fresh));
    EXPECT_EQ(profile, Profile("Player"));
}

TEST(RecordLayout, HandBuiltListScoresAndSavedGameRead)
{
    Quoll::Buffer listBytes = CorpusFile("shell_profile_list", "five.lst");
    ProfileList list;
    ASSERT_TRUE(list.Read(listBytes));
    EXPECT_EQ(list.GetCount(), 5);
    EXPECT_EQ(list.GetName(3), "\xC3\xA9t\xC3\xA9");

    Quoll::Buffer scoreBytes = CorpusFile("shell_scores", "three.dat");
    ScoreTable scores;
    ASSERT_TRUE(scores.Read(scoreBytes));
    ASSERT_EQ(scores.GetEntries().size(), 3u);
    EXPECT_EQ(scores.GetEntries()[1], (ScoreTable::Entry{"Ann", 350}));

    Quoll::Buffer saveBytes = CorpusFile("shell_saved_game", "random.save");
    SavedGame game;
    ASSERT_TRUE(game.Read(saveBytes));
    EXPECT_EQ(game.GetLevel(), -2);
    EXPECT_EQ(game.GetBody().GetDataSize(), 1u);
}

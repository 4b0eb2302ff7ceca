// PlayerData: the first start, choosing, creating and deleting profiles as the profile dialogs'
// states do, level results into the profile and the score table, saved games, the achievement
// manager following the current profile, and nothing lost over a restart. Rerun one case with
// --gtest_filter=PlayerData.<name>.
#include "PlayerDataTestSupport.h"

#include "game/shell/AchievementManager.h"
#include "game/shell/PlayerData.h"
#include "game/shell/PlayerFileStore.h"

#include <gtest/gtest.h>

#include <regex>

TEST(PlayerData, ALostListKeepsTheDefaultProfilesProgress)
{
    MemoryFileStore store;
    {
        // Earlier starts made the default profile themselves.
        PlayerData data(store);
        data.Load("");
        ASSERT_EQ(data.CreateProfile(PlayerData::kDefaultProfileName), ProfileList::NameCheck::Ok);
        data.RecordLevelResult(4, 77, 1);
    }
    store.SetBytes(ProfileList::kFileName, "damaged");
    ScopedLogCapture log;
    PlayerData data(store);
    data.Load(PlayerData::kDefaultProfileName);
    EXPECT_EQ(data.GetCurrentName(), PlayerData::kDefaultProfileName);
    EXPECT_EQ(data.GetCurrentProfile().GetLevelScore(4), 77);
    EXPECT_EQ(log.Errors(), (std::vector<std::string>{"Profile list: profiles.lst corrupted; kept as profiles.lst.bad"}));
}

TEST(PlayerData, ProfilesAreCreatedSelectedAndDeletedAsTheDialogsAsk)
{
    MemoryFileStore store;
    AchievementManager achievements;
    PlayerData data(store, &achievements);
    data.Load(""); // a first start has a current profile, but lists and writes none
    EXPECT_EQ(data.GetCurrentName(), PlayerData::kDefaultProfileName);
    EXPECT_FALSE(data.HasProfile());
    achievements.OnEvent(8);
    data.SaveAll();
    EXPECT_FALSE(store.Has(Profile::GetFileName(PlayerData::kDefaultProfileName)));
    ASSERT_EQ(data.CreateProfile(PlayerData::kDefaultProfileName), ProfileList::NameCheck::Ok);
    EXPECT_FALSE(achievements.IsAchieved(1, nullptr)) << "the first profile starts afresh";
    EXPECT_TRUE(store.Has(Profile::GetFileName(PlayerData::kDefaultProfileName)));
    EXPECT_EQ(data.CreateProfile("Ann"), ProfileList::NameCheck::Ok);
    EXPECT_EQ(data.CreateProfile("Ann"), ProfileList::NameCheck::Taken);
    EXPECT_EQ(data.GetCurrentName(), "Ann");
    achievements.OnEvent(8);
    data.RecordLevelResult(1, 100, 2);
    EXPECT_EQ(data.CreateProfile("Bob"), ProfileList::NameCheck::Ok);
    EXPECT_FALSE(achievements.IsAchieved(1, nullptr)) << "the manager follows the current profile";

    // Back to Ann: her result and achievement were saved when Bob was made.
    ASSERT_TRUE(data.SelectProfile(data.GetProfileList().Find("Ann")));
    EXPECT_EQ(data.GetCurrentProfile().GetLevelScore(1), 100);
    EXPECT_TRUE(achievements.IsAchieved(1, nullptr));
    EXPECT_FALSE(data.SelectProfile(3));

    // Deleting Ann (slot 1) selects the slot above it and makes it current; her files are empty.
    EXPECT_EQ(data.DeleteProfile(1), 0);
    EXPECT_EQ(data.GetCurrentName(), PlayerData::kDefaultProfileName);
    EXPECT_EQ(store.GetBytes(Profile::GetFileName("Ann")), "");
    EXPECT_EQ(data.DeleteProfile(0), 0);
    EXPECT_EQ(data.GetCurrentName(), "Bob");
    EXPECT_EQ(data.DeleteProfile(0), -1) << "the last profile stays";

    // A new profile of a deleted one's name starts afresh.
    EXPECT_EQ(data.CreateProfile("Ann"), ProfileList::NameCheck::Ok);
    EXPECT_EQ(data.GetCurrentProfile().GetLevelScore(1), 0);
    EXPECT_FALSE(achievements.IsAchieved(1, nullptr));
}

TEST(PlayerData, ANameWithPathCharactersNeverReachesAPath)
{
    MemoryFileStore store;
    PlayerData data(store);
    data.Load("");
    ASSERT_EQ(data.CreateProfile("../a/b"), ProfileList::NameCheck::BadCharacter) << "'.' is refused";
    ASSERT_EQ(data.CreateProfile("a/b\\c"), ProfileList::NameCheck::Ok);
    Quoll::Buffer body;
    body.WriteInt32(1);
    ASSERT_TRUE(data.SaveGame(5, body));
    data.RecordLevelResult(2, 10, 0);
    ASSERT_TRUE(data.SaveAll());
    const std::regex allowed(R"(profiles\.lst|scores\.dat|[0-9a-f]+\.(dat|save))");
    for (const auto& [name, bytes] : store.GetFiles())
        EXPECT_TRUE(std::regex_match(name, allowed)) << name;
    EXPECT_TRUE(store.Has("612f625c63.dat"));
}

TEST(PlayerData, ResultsReachTheScoreTableAndSurviveARestart)
{
    MemoryFileStore store;
    {
        PlayerData data(store);
        data.Load("");
        data.CreateProfile("Ann");
        EXPECT_TRUE(data.RecordLevelResult(1, 300, 1));
        EXPECT_FALSE(data.RecordLevelResult(1, 200, 2));
        EXPECT_TRUE(data.RecordLevelResult(2, 50, 0));
        data.RecordRandomResult(4, true);
        EXPECT_TRUE(data.ChooseDifficulty(Profile::kNormalDifficulty));
        EXPECT_FALSE(data.ChooseDifficulty(0));
        data.GetCurrentProfile().MarkSeen(ProfileSeen::OpeningComic);
        data.CreateProfile("Bob");
        data.RecordLevelResult(1, 1000, 2);
        data.SelectProfile(data.GetProfileList().Find("Ann"));
        data.GetCurrentProfile().MarkSeen(ProfileSeen::FinalComic);
        EXPECT_TRUE(data.SaveAll());
    }
    PlayerData data(store);
    data.Load("Ann");
    const Profile& ann = data.GetCurrentProfile();
    EXPECT_EQ(ann.GetLevelScore(1), 300);
    EXPECT_EQ(ann.GetLevelMedal(1), 2);
    EXPECT_EQ(ann.GetTotalScore(), 350);
    EXPECT_EQ(ann.GetDifficulty(), 514);
    EXPECT_TRUE(ann.HasSeen(ProfileSeen::OpeningComic));
    EXPECT_TRUE(ann.HasSeen(ProfileSeen::FinalComic));
    int played = 0, won = 0;
    ann.GetRandomStats(4, played, won);
    EXPECT_EQ(played, 1);
    EXPECT_EQ(won, 1);
    const auto& entries = data.GetScoreTable().GetEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], (ScoreTable::Entry{"Bob", 1000}));
    EXPECT_EQ(entries[1], (ScoreTable::Entry{"Ann", 350}));

    // A name no longer listed falls back to the last profile.
    PlayerData other(store);
    other.Load("Zed");
    EXPECT_EQ(other.GetCurrentName(), "Bob");
}

TEST(PlayerData, SavedGamesBelongToTheCurrentProfile)
{
    MemoryFileStore store;
    PlayerData data(store);
    data.Load("");
    data.CreateProfile("Cat");
    Quoll::Buffer body;
    body.WriteString("level");
    ASSERT_TRUE(data.SaveGame(9, body));
    data.CreateProfile("Ann");
    EXPECT_FALSE(data.LoadSavedGame().has_value());
    data.SelectProfile(0);
    std::optional<SavedGame> game = data.LoadSavedGame();
    ASSERT_TRUE(game.has_value());
    EXPECT_EQ(game->GetLevel(), 9);
    EXPECT_TRUE(data.EraseSavedGame());
    EXPECT_FALSE(data.LoadSavedGame().has_value());
}

TEST(PlayerData, DamagedFilesGiveDefaultsAndAreReplacedOnTheNextSave)
{
    MemoryFileStore store;
    {
        PlayerData data(store);
        data.Load("");
        data.CreateProfile("Ann");
        data.RecordLevelResult(1, 10, 0);
    }
    store.SetBytes(ScoreTable::kFileName, "tymlo1scb?");
    store.SetBytes(Profile::GetFileName("Ann"), "\x06\x00tymlo1");
    ScopedLogCapture log;
    PlayerData data(store);
    data.Load("Ann");
    EXPECT_EQ(data.GetCurrentName(), "Ann");
    EXPECT_EQ(data.GetCurrentProfile().GetTotalScore(), 0);
    EXPECT_TRUE(data.GetScoreTable().GetEntries().empty());
    EXPECT_EQ(log.Errors(),
              (std::vector<std::string>{"Score file: scores.dat corrupted; kept as scores.dat.bad",
                                        "Cannot read profile: Ann (416e6e.dat corrupted; kept as 416e6e.dat.bad)"}));
    ASSERT_TRUE(data.SaveAll());
    // The damaged bytes survive the defaults written over them.
    EXPECT_EQ(store.GetBytes(ScoreTable::kFileName + std::string(".bad")), "tymlo1scb?");
    EXPECT_EQ(store.GetBytes(Profile::GetFileName("Ann") + ".bad"), "\x06");
    log.Clear();
    PlayerData again(store);
    again.Load("Ann");
    EXPECT_TRUE(log.Errors().empty());
}

TEST(PlayerData, AFailedWriteIsReportedAndTheOldFilesStay)
{
    MemoryFileStore store;
    PlayerData data(store);
    data.Load("");
    data.CreateProfile(PlayerData::kDefaultProfileName);
    data.RecordLevelResult(3, 40, 1);
    const std::string before = store.GetBytes(Profile::GetFileName(PlayerData::kDefaultProfileName));
    store.SetFailWrites(true);
    ScopedLogCapture log;
    data.RecordLevelResult(3, 90, 2);
    EXPECT_FALSE(data.SaveAll());
    EXPECT_FALSE(log.WriteFailures().empty());
    EXPECT_EQ(store.GetBytes(Profile::GetFileName(PlayerData::kDefaultProfileName)), before);
}

// Profile: the level results and totals the catalogue reads, random-level statistics, what was
// seen, and the ".dat" record: round trip, and defaults plus a log line for every truncation and
// for damaged fields. Rerun one case with --gtest_filter=Profile.<name>.
#include "PlayerDataTestSupport.h"

#include "game/level/LevelList.h"
#include "game/level/NullLevelServices.h"
#include "game/shell/PlayerFileStore.h"
#include "game/shell/Profile.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
Profile FilledProfile()
{
    Profile profile("Ann");
    profile.ChooseDifficulty(Profile::kNormalDifficulty);
    profile.SetLevelResult(1, 1200, 2);
    profile.SetLevelResult(2, 800, 1);
    profile.SetLevelResult(70, 5, 0);
    profile.AddRandomResult(3, true);
    profile.AddRandomResult(3, false);
    profile.MarkSeen(ProfileSeen::MapIntro);
    profile.GetAchievements().CountEvent(9);
    profile.GetAchievements().Achieve(12);
    profile.GetAchievements().Achieve(4);
    return profile;
}

std::string BytesOf(const Profile& profile)
{
    Quoll::Buffer buffer;
    profile.Write(buffer);
    return {reinterpret_cast<const char*>(buffer.GetDataPtr()), buffer.GetDataSize()};
}

// Offset of the first level's score in the record: magic (2 + 6), version, name (2 + 3),
// difficulty, chosen flag, level count.
constexpr size_t kFirstScoreOffset = 8 + 4 + 5 + 4 + 1 + 4;
} // namespace

TEST(Profile, LevelResultsKeepTheBestAndAnswerZeroOutsideTheList)
{
    Profile profile("Ann");
    EXPECT_TRUE(profile.SetLevelResult(5, 300, 1));
    EXPECT_FALSE(profile.SetLevelResult(5, 200, 2)); // not a better score, but a better medal
    EXPECT_EQ(profile.GetLevelScore(5), 300);
    EXPECT_EQ(profile.GetLevelMedal(5), 2);
    EXPECT_TRUE(profile.SetLevelResult(5, 301, 0));
    EXPECT_EQ(profile.GetLevelMedal(5), 2);

    for (const int level : {0, -1, 71, 1000})
    {
        EXPECT_FALSE(profile.SetLevelResult(level, 10, 1));
        EXPECT_EQ(profile.GetLevelScore(level), 0);
        EXPECT_EQ(profile.GetLevelMedal(level), 0);
    }
    EXPECT_FALSE(profile.SetLevelResult(6, -5, 1));
    EXPECT_EQ(profile.GetLevelMedal(6), 0);
    EXPECT_TRUE(profile.SetLevelResult(7, 10, 9)); // a medal past gold is gold
    EXPECT_EQ(profile.GetLevelMedal(7), 2);
}

TEST(Profile, TotalScoreSumsTheLevelsAndDoesNotOverflow)
{
    Profile profile("Ann");
    EXPECT_EQ(profile.GetTotalScore(), 0);
    profile.SetLevelResult(1, 100, 0);
    profile.SetLevelResult(2, 250, 0);
    EXPECT_EQ(profile.GetTotalScore(), 350);
    for (int level = 1; level <= Profile::kLevelCount; ++level)
        profile.SetLevelResult(level, std::numeric_limits<int32_t>::max(), 0);
    EXPECT_EQ(profile.GetTotalScore(), std::numeric_limits<int32_t>::max());
}

TEST(Profile, RandomStatsCountPerEpisodeAndClampTheEpisode)
{
    Profile profile("Ann");
    int first = -1, second = -1;
    profile.GetRandomStats(2, first, second);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 0);
    for (int i = 0; i < 7; ++i)
        profile.AddRandomResult(2, true);
    profile.AddRandomResult(2, false);
    profile.GetRandomStats(2, first, second);
    EXPECT_EQ(first, 8);
    EXPECT_EQ(second, 7);

    // Episodes outside 1..5 are clamped.
    profile.AddRandomResult(99, true);
    profile.AddRandomResult(-3, false);
    profile.GetRandomStats(5, first, second);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
    profile.GetRandomStats(1, first, second);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
}

TEST(Profile, TheCatalogueReadsProgressAndDifficultyThroughTheLevelServices)
{
    // The application's LevelServices forward these three questions to the current profile.
    struct ProfileServices : NullLevelServices
    {
        const Profile* profile = nullptr;
        int GetProfileDifficulty() const override { return profile->GetDifficulty(); }
        int GetLevelScore(int level) const override { return profile->GetLevelScore(level); }
        int GetLevelMedal(int level) const override { return profile->GetLevelMedal(level); }
    };
    Profile profile("Ann");
    ProfileServices services;
    services.profile = &profile;
    LevelList list(services);
    list.Init();
    EXPECT_EQ(list.GetLevelValue(13), 1);
    EXPECT_EQ(list.GetNextLevel(), 1);

    profile.ChooseDifficulty(Profile::kNormalDifficulty);
    for (int level = 1; level <= 3; ++level)
        profile.SetLevelResult(level, 100, level == 2 ? 1 : 2);
    list.BuildLevelTable();
    EXPECT_EQ(list.GetLevelValue(13), 2);
    EXPECT_TRUE(list.IsGroupComplete(1));
    EXPECT_EQ(list.GetGroupMedal(1), 1);
    EXPECT_EQ(list.GetNextLevel(), 4);
}

TEST(Profile, RecordRoundTrips)
{
    const Profile profile = FilledProfile();
    Quoll::Buffer buffer;
    profile.Write(buffer);
    Profile read;
    ASSERT_TRUE(read.Read(buffer));
    EXPECT_EQ(read, profile);
    EXPECT_TRUE(read.HasSeen(ProfileSeen::MapIntro));
    EXPECT_FALSE(read.HasSeen(ProfileSeen::OpeningComic));
    EXPECT_EQ(read.GetAchievements().GetNewAchievements(), (std::vector<int>{12, 4}));

    MemoryFileStore store;
    ASSERT_TRUE(profile.Save(store));
    EXPECT_TRUE(store.Has("416e6e.dat"));
    Profile loaded;
    EXPECT_TRUE(loaded.Load(store, "Ann"));
    EXPECT_EQ(loaded, profile);
}

TEST(Profile, EveryTruncationGivesDefaultsAndTheLogLine)
{
    const std::string bytes = BytesOf(FilledProfile());
    for (size_t length = 1; length < bytes.size(); ++length)
    {
        MemoryFileStore store;
        store.SetBytes(Profile::GetFileName("Ann"), Cut(bytes, length));
        ScopedLogCapture log;
        Profile profile = FilledProfile();
        EXPECT_FALSE(profile.Load(store, "Ann")) << length;
        EXPECT_EQ(profile, Profile("Ann")) << length;
        ASSERT_EQ(log.Errors().size(), 1u) << length;
        EXPECT_EQ(log.Errors()[0].rfind("Cannot read profile: Ann", 0), 0u) << log.Errors()[0];
    }
}

TEST(Profile, DamagedFieldsAreRefused)
{
    const std::string good = BytesOf(FilledProfile());
    const auto damaged = [&](size_t offset, char value) {
        std::string bytes = good;
        bytes[offset] = value;
        return bytes;
    };
    struct Case
    {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"magic", damaged(2, 'T')},
        {"version", damaged(8, 2)},
        {"difficulty", damaged(17, 3)},
        {"chosen flag", damaged(21, 2)},
        {"level count", damaged(22, 71)},
        {"negative score", damaged(kFirstScoreOffset + 3, '\x80')},
        {"medal", damaged(kFirstScoreOffset + 4, 3)},
        {"trailing byte", good + "x"},
        {"closing magic", damaged(good.size() - 1, '2')},
    };
    for (const Case& c : cases)
    {
        Quoll::Buffer buffer;
        buffer.WriteBytes(c.bytes.data(), c.bytes.size());
        Profile profile("kept");
        EXPECT_FALSE(profile.Read(buffer)) << c.what;
        EXPECT_EQ(profile, Profile("kept")) << c.what;
    }
}

TEST(Profile, AFileOfAnotherNameOrNoneGivesAFreshProfile)
{
    MemoryFileStore store;
    ScopedLogCapture log;
    store.SetBytes(Profile::GetFileName("Bob"), BytesOf(FilledProfile())); // holds "Ann"
    Profile profile;
    EXPECT_FALSE(profile.Load(store, "Bob"));
    EXPECT_EQ(profile, Profile("Bob"));
    EXPECT_EQ(log.Errors().size(), 1u);

    log.Clear();
    store.SetBytes(Profile::GetFileName("Cy"), ""); // an emptied file: no profile, no damage
    EXPECT_FALSE(profile.Load(store, "Cy"));
    EXPECT_EQ(profile, Profile("Cy"));
    EXPECT_TRUE(log.Errors().empty());
    EXPECT_EQ(log.Warnings().size(), 1u);
}

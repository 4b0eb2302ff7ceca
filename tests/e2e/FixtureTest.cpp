// The whole-game fixtures read back as the game reads them: the player's data loaded with no
// settings, the saved games continued through a level session as the play state continues them,
// and played on: the boss level won by the armed bomb on the portrait, the "cat" level lost by
// the human's only move. The program writes the same files as the library.
// Rerun: test_e2e --gtest_filter='Fixture*'
#include "tools/fixturegen/Fixtures.h"

#include "game/level/LevelSession.h"
#include "game/level/NullLevelServices.h"
#include "game/level/NullLevelView.h"
#include "game/shell/PlayerData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace
{
namespace fs = std::filesystem;

const fs::path kLevels = fs::path(QUOLL_GAME_DATA) / "data/levels";
// Far more updates than any of the fixtures' endings take.
constexpr int kMostUpdates = 20000;

// A saved game continued as the play state continues it, on a level without a screen.
class ContinuedLevel
{
public:
    ContinuedLevel(SavedGame& saved) : mSession(mView, mServices)
    {
        mServices.SetLevelNumber(saved.GetLevel());
        mServices.SetDifficulty(Profile::kNormalDifficulty);
        mLoaded = mSession.Load(saved.GetBody(), LevelBodyKind::Saved) && mSession.Start(true);
    }

    [[nodiscard]] bool IsLoaded() const { return mLoaded; }
    Level& GetLevel() { return mSession.GetLevel(); }

    // Runs the level until it is over; its outcome's result, -1 when it did not end.
    int PlayToEnd()
    {
        for (int update = 0; update < kMostUpdates && !mSession.IsOver(); ++update)
        {
            mServices.Tick();
            mSession.Update();
        }
        return mSession.IsOver() ? mSession.GetOutcome()->result : -1;
    }

private:
    NullLevelView mView;
    NullLevelServices mServices;
    LevelSession mSession;
    bool mLoaded = false;
};

MemoryFileStore MakeFixture(Fixtures::Kind kind)
{
    MemoryFileStore store;
    std::string error;
    EXPECT_TRUE(Fixtures::Make(kind, kLevels, store, error)) << error;
    return store;
}
} // namespace

TEST(FixtureNearlyPassed, LoadsWithTheBossAtOneHitPointAndABombArmed)
{
    MemoryFileStore store = MakeFixture(Fixtures::Kind::NearlyPassed);
    PlayerData data(store);
    data.Load("");

    // Only the two profiles; the last listed is current when no settings name one.
    ASSERT_EQ(data.GetProfileList().GetCount(), 2);
    EXPECT_EQ(data.GetProfileList().GetName(0), Fixtures::kDefeatProfile);
    ASSERT_EQ(data.GetCurrentName(), Fixtures::kNearlyPassedProfile);
    const Profile& profile = data.GetCurrentProfile();
    EXPECT_TRUE(profile.IsDifficultyChosen());
    EXPECT_EQ(profile.GetDifficulty(), Profile::kNormalDifficulty);
    for (int level = 1; level <= 14; ++level)
        EXPECT_GT(profile.GetLevelScore(level), 0) << level;
    EXPECT_EQ(profile.GetLevelScore(15), 0);
    EXPECT_TRUE(profile.HasSeen(ProfileSeen::OpeningComic));
    EXPECT_TRUE(profile.HasSeen(ProfileSeen::MapIntro));
    EXPECT_EQ(data.GetScoreTable().GetEntries().size(), 2u);

    std::optional<SavedGame> saved = data.LoadSavedGame();
    ASSERT_TRUE(saved);
    ASSERT_EQ(saved->GetLevel(), Fixtures::kBossLevel);
    ContinuedLevel continued(*saved);
    ASSERT_TRUE(continued.IsLoaded());
    Level& level = continued.GetLevel();
    ASSERT_TRUE(level.HasBoss());
    EXPECT_EQ(level.GetParams().bossHitPoints, 1);
    EXPECT_EQ(level.GetState(), LevelState::BonusArmed);
    ASSERT_NE(level.GetPendingBonus(), nullptr);
    EXPECT_EQ(level.GetParams().inventory[level.GetParams().armedSlot], BONUS_BOMB);

    // The bomb dropped on the portrait beats the boss: the level is won.
    level.OnCellClick(-1, kScreenlessPortrait.Centre());
    EXPECT_EQ(continued.PlayToEnd(), 1);
}

TEST(FixtureNearlyPassed, CatsSavedGameIsLostByTheOnlyMove)
{
    MemoryFileStore store = MakeFixture(Fixtures::Kind::NearlyPassed);
    PlayerData data(store);
    data.Load(Fixtures::kDefeatProfile);
    ASSERT_EQ(data.GetCurrentName(), Fixtures::kDefeatProfile);
    EXPECT_GT(data.GetCurrentProfile().GetLevelScore(4), 0);
    EXPECT_EQ(data.GetCurrentProfile().GetLevelScore(5), 0);

    std::optional<SavedGame> saved = data.LoadSavedGame();
    ASSERT_TRUE(saved);
    ASSERT_EQ(saved->GetLevel(), Fixtures::kDefeatLevel);
    ContinuedLevel continued(*saved);
    ASSERT_TRUE(continued.IsLoaded());
    Level& level = continued.GetLevel();
    ASSERT_EQ(level.GetState(), LevelState::HumanToMove);
    const GameLogic& logic = level.GetLogic();
    ASSERT_EQ(logic.GetCellCount(1), 1);
    const CellSet targets = logic.GetTargets(1);
    ASSERT_EQ(targets.Count(), 1);

    int from = -1;
    int to = -1;
    for (int cell = 0; cell < kCellCount; ++cell)
    {
        if (logic.GetBoard().GetOwner(cell) == 1)
            from = cell;
        if (targets.Contains(cell))
            to = cell;
    }
    level.OnCellClick(from, {});
    level.OnCellClick(to, {});
    EXPECT_EQ(continued.PlayToEnd(), 2);
}

TEST(FixtureCampaignComplete, EveryLevelGoldAndTheFinalComicStillToCome)
{
    MemoryFileStore store = MakeFixture(Fixtures::Kind::CampaignComplete);
    PlayerData data(store);
    data.Load("");
    ASSERT_EQ(data.GetProfileList().GetCount(), 1);
    ASSERT_EQ(data.GetCurrentName(), Fixtures::kCompleteProfile);
    const Profile& profile = data.GetCurrentProfile();
    for (int level = 1; level <= Profile::kLevelCount; ++level)
    {
        EXPECT_GT(profile.GetLevelScore(level), 0) << level;
        EXPECT_EQ(profile.GetLevelMedal(level), Profile::kMaxMedal) << level;
    }
    EXPECT_FALSE(profile.HasSeen(ProfileSeen::FinalComic));
    EXPECT_FALSE(data.LoadSavedGame());
    ASSERT_EQ(data.GetScoreTable().GetEntries().size(), 1u);
}

// The program puts the library's files, and nothing else, into the player's folder of a home.
TEST(FixtureProgram, WritesTheFixturesFilesUnderTheHome)
{
    const fs::path home = fs::path(QUOLL_TEST_HOME) / "fixture_program";
    fs::remove_all(home);
    const std::string command = std::string("'") + QUOLL_FIXTUREGEN_PROGRAM + "' --levels '" + kLevels.string() +
                                "' --home '" + home.string() + "' nearly-passed";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(fs::is_directory(home / "config"));

    const MemoryFileStore store = MakeFixture(Fixtures::Kind::NearlyPassed);
    size_t written = 0;
    for (const auto& [name, bytes] : store.GetFiles())
    {
        if (bytes.empty())
            continue;
        ++written;
        std::ifstream in(Fixtures::PlayerFolder(home / "data") / name, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bytes) << name;
    }
    EXPECT_EQ(written, static_cast<size_t>(std::distance(fs::directory_iterator(Fixtures::PlayerFolder(home / "data")),
                                                         fs::directory_iterator())));

    // A wrong fixture name is refused with the usage.
    EXPECT_NE(std::system((std::string("'") + QUOLL_FIXTUREGEN_PROGRAM + "' --levels x --home y bogus 2>/dev/null").c_str()), 0);
    fs::remove_all(home);
}

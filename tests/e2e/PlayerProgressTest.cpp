// The player's progress through the game program itself, from the nearly-passed fixture: a lost
// profile list is rebuilt at the next start, and a disk that fills up while level 15 is played
// and stays full loses nothing that was saved before, keeps the level's saved game through the
// next level and the quit, and tells the player once.
// Rerun: test_e2e --gtest_filter='PlayerProgress.*'
#include "tests/e2e/GameProcess.h"

#include "framework/core/Common.h"
#include "game/shell/MessageBoxText.h"
#include "game/shell/PlayerData.h"
#include "game/shell/PlayerFileStore.h"
#include "tools/fixturegen/Fixtures.h"

#include <gtest/gtest.h>

#include <sstream>

namespace
{
using namespace E2e;

const fs::path kNearlyPassedScript = fs::path(QUOLL_SOURCE_DIR) / "tests/e2e/flow/nearly_passed.script";

// The files of a player folder, in a store of their own.
MemoryFileStore ReadFolder(const fs::path& folder)
{
    MemoryFileStore store;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file())
            store.SetBytes(entry.path().filename().string(), ReadAll(entry.path()));
    return store;
}

// Both fixture profiles listed, with their progress and saved games.
void ExpectTheFixturesProgress(MemoryFileStore& store)
{
    PlayerData data(store);
    data.Load(Fixtures::kNearlyPassedProfile);
    ASSERT_EQ(data.GetProfileList().GetCount(), 2);
    EXPECT_EQ(data.GetProfileList().GetName(0), Fixtures::kDefeatProfile);
    EXPECT_EQ(data.GetProfileList().GetName(1), Fixtures::kNearlyPassedProfile);
    ASSERT_EQ(data.GetCurrentName(), Fixtures::kNearlyPassedProfile);
    for (int level = 1; level < Fixtures::kBossLevel; ++level)
        EXPECT_GT(data.GetCurrentProfile().GetLevelScore(level), 0) << "dan's level " << level;
    std::optional<SavedGame> saved = data.LoadSavedGame();
    ASSERT_TRUE(saved.has_value()) << "dan's saved game";
    EXPECT_EQ(saved->GetLevel(), Fixtures::kBossLevel);
    ASSERT_TRUE(data.SelectProfile(0));
    for (int level = 1; level < Fixtures::kDefeatLevel; ++level)
        EXPECT_GT(data.GetCurrentProfile().GetLevelScore(level), 0) << "cat's level " << level;
    saved = data.LoadSavedGame();
    ASSERT_TRUE(saved.has_value()) << "cat's saved game";
    EXPECT_EQ(saved->GetLevel(), Fixtures::kDefeatLevel);
    for (const ScoreTable::Entry& entry : data.GetScoreTable().GetEntries())
        EXPECT_GT(entry.score, 0) << entry.name;
    EXPECT_EQ(data.GetScoreTable().GetEntries().size(), 2u);
}

size_t CountOf(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// Runs the command with the player folder on a file system that fills up once the level is on
// the screen: a small tmpfs mounted over the folder in a private mount namespace (the folder's
// files copied in first, and out again to "<folder>.after" once space returned), else a file
// size limit put on the running game. Usage: filldisk.sh tmpfs|fsize <folder> <command...>
constexpr const char* kFillDisk = R"(#!/bin/sh
mode=$1; folder=$2; shift 2
if [ "$mode" = tmpfs ]; then
  mkdir -p "$folder.stash" && cp -a "$folder/." "$folder.stash/" || exit 90
  mount -t tmpfs -o size=2m tmpfs "$folder" || exit 90
  cp -a "$folder.stash/." "$folder/" || exit 90
fi
trap '' XFSZ
"$@" &
game=$!
until grep -q "change LoadLevelState PlayLevelState" "$folder/GameLog.txt" 2>/dev/null || ! kill -0 $game 2>/dev/null; do
  sleep 0.02
done
if kill -0 $game 2>/dev/null; then
  if [ "$mode" = tmpfs ]; then
    dd if=/dev/zero of="$folder/filler" bs=4096 2>/dev/null
  else
    for pid in $game $(pgrep -P $game); do prlimit --pid $pid --fsize=1:1; done
  fi
  touch "$folder.filled"
fi
wait $game
code=$?
if [ "$mode" = tmpfs ]; then
  rm -f "$folder/filler"
  mkdir -p "$folder.after" && cp -a "$folder/." "$folder.after/"
fi
exit $code
)";

// The script with every "at" time from fromMs on moved later by delayMs.
std::string DelayedFrom(const std::string& script, int fromMs, int delayMs)
{
    std::istringstream in(script);
    std::string out;
    for (std::string line; std::getline(in, line);)
    {
        if (line.rfind("at ", 0) == 0 && std::stoi(line.substr(3)) >= fromMs)
            line = "at " + std::to_string(std::stoi(line.substr(3)) + delayMs);
        out += line + "\n";
    }
    return out;
}

std::string FillMode()
{
    if (std::system("unshare -rm sh -c 'mount -t tmpfs -o size=64k tmpfs /mnt' > /dev/null 2>&1") == 0)
        return "tmpfs";
    if (std::system("command -v prlimit > /dev/null 2>&1") == 0)
        return "fsize";
    return {};
}
} // namespace

TEST(PlayerProgress, ALostProfileListIsRebuiltAtTheNextStart)
{
    const fs::path home = FixtureHome("progress_lost_list", "nearly-passed");
    ASSERT_FALSE(home.empty()) << "the fixture program failed";
    const fs::path folder = PlayerFolderOf(home);
    ASSERT_TRUE(fs::remove(folder / ProfileList::kFileName));

    // Should the game ask for a name, dan answers.
    const GameResult result = GameProcess(QUOLL_GAME_DIR, home)
                                  .RunHeadless("at 5000\ntext dan\nkey Return\nat 7000\nquit\n", 300);
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_FALSE(HasFlowStep(result.log, "change StartLoadState CreateProfileState")) << "the list was rebuilt";
    EXPECT_EQ(LogLines(result.log, "WARNING", "Profile list: rebuilt from the profile files: cat, dan").size(), 1u)
        << result.log;
    MemoryFileStore store = ReadFolder(folder);
    EXPECT_TRUE(store.Has(ProfileList::kFileName));
    ExpectTheFixturesProgress(store);
}

TEST(PlayerProgress, ADiskThatFillsUpDuringTheLevelLosesNothingAndTheSavedGameStays)
{
    const std::string mode = FillMode();
    if (mode.empty())
        GTEST_SKIP() << "neither a private mount namespace (unshare -rm) nor prlimit is available";
    const fs::path home = FixtureHome("progress_full_disk", "nearly-passed");
    ASSERT_FALSE(home.empty()) << "the fixture program failed";
    const fs::path folder = PlayerFolderOf(home);
    const std::string before = ReadAll(folder / Profile::GetFileName(Fixtures::kNearlyPassedProfile));

    // The play-through past level 15's win into the tube's random level, which is restarted, then
    // saved and left for the menu, then quit: the disk stays full throughout.
    // The level's win waits a minute of game time (thousands of updates) after the level starts,
    // so the disk is full before it however busy the machine is: the game runs on the fixed-step
    // clock, as fast as it can, while the filler watches its log.
    const std::string script =
        DelayedFrom(ScriptUpTo(kNearlyPassedScript, "# Over to profile") + "at 61000\nquit\n", 16000, 60000);
    const GameProcess game(QUOLL_GAME_DIR, home);
    WriteAll(home / "filldisk.sh", kFillDisk);
    const std::string wrapper = std::string(mode == "tmpfs" ? "unshare -rm " : "") + "sh '" +
                                (home / "filldisk.sh").string() + "' " + mode + " '" + folder.string() + "' ";
    const GameResult result = game.Run(wrapper + game.HeadlessCommand(script, 300));
    ASSERT_EQ(result.exitCode, 0) << result.output;
    ASSERT_TRUE(fs::exists(folder.string() + ".filled")) << "the disk never filled up: " << result.output;
    const fs::path after = mode == "tmpfs" ? fs::path(folder.string() + ".after") : folder;
    const std::string log = ReadAll(after / "GameLog.txt");

    // Told once, about the first write that failed: the won level's record; each file that could
    // not be written is logged once.
    const std::string boxes = ReadAll(home / "evidence/message-boxes.txt");
    EXPECT_EQ(CountOf(boxes, "Not saved"), 1u) << boxes;
    const std::string shownFolder = Quoll::WStringToString(BreakIntoLines(Quoll::StringToWString(folder.string())));
    EXPECT_EQ(CountOf(boxes, "Your progress could not be saved in the folder\n" + shownFolder + "\n"), 1u) << boxes;
    const std::string danFile = (folder / Profile::GetFileName(Fixtures::kNearlyPassedProfile)).string();
    EXPECT_EQ(CountOf(result.output, "Cannot save " + danFile) + CountOf(log, "Cannot save " + danFile), 1u)
        << result.output << log;
    // The random level's save and quit was refused: it would have replaced level 15's saved game.
    const std::string danGame = (folder / SavedGame::GetFileName(Fixtures::kNearlyPassedProfile)).string();
    EXPECT_EQ(CountOf(result.output, "Cannot save " + danGame) + CountOf(log, "Cannot save " + danGame), 1u)
        << result.output << log;

    // Space is back: everything saved before is there, dan's level 15 still to be won from the
    // saved game, which neither the random level's start nor its save took.
    MemoryFileStore store = ReadFolder(after);
    EXPECT_EQ(store.GetBytes(Profile::GetFileName(Fixtures::kNearlyPassedProfile)), before);
    ExpectTheFixturesProgress(store);
}

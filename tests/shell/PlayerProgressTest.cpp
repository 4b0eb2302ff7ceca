// Nothing the player has is lost: a lost or damaged profile list is rebuilt from the profile
// files, a new profile never replaces an earlier one's files unkept, a failed write keeps the
// saved game and is tried again at the next write point, no new level erases or replaces a saved
// game whose result is not written, an oversized file is never read, and the score table catches
// up with a profile a kill left ahead of it.
#include "PlayerDataTestSupport.h"

#include "game/shell/PlayerData.h"
#include "game/shell/PlayerFileStore.h"
#include "game/shell/SaveFailureReport.h"
#include "tests/app/TestApp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace
{
Quoll::Buffer SomeBody()
{
    Quoll::Buffer body;
    body.WriteString("a level's saved body");
    return body;
}

// Ann (level 1 won, a saved game of level 3), then Bob (level 2 won), Bob current.
MemoryFileStore TwoPlayers()
{
    MemoryFileStore store;
    PlayerData data(store);
    data.Load("");
    data.CreateProfile("Ann");
    data.RecordLevelResult(1, 300, 1);
    data.SaveGame(3, SomeBody());
    data.CreateProfile("Bob");
    data.RecordLevelResult(2, 500, 2);
    data.SaveAll();
    return store;
}

// A store on which the named files cannot be written (their disk is full) while every other
// file can: a saved game could then be written over where its level's result could not.
class StoreFullFor : public MemoryFileStore
{
public:
    std::set<std::string> full;

protected:
    bool WriteFile(const std::string& name, const Quoll::Buffer& buffer) override
    {
        return full.count(name) == 0 && MemoryFileStore::WriteFile(name, buffer);
    }
};

std::vector<std::string> ListedNames(const PlayerData& data)
{
    std::vector<std::string> names;
    for (int i = 0; i < data.GetProfileList().GetCount(); ++i)
        names.push_back(data.GetProfileList().GetName(i));
    return names;
}

void WriteProfile(MemoryFileStore& store, const std::string& name, int score, int64_t modified)
{
    Profile profile(name);
    profile.SetLevelResult(1, score, 0);
    ASSERT_TRUE(profile.Save(store));
    store.SetModified(Profile::GetFileName(name), modified);
}
} // namespace

TEST(PlayerProgress, ALostOrDamagedListIsRebuiltFromTheProfileFiles)
{
    for (const bool damaged : {false, true})
    {
        SCOPED_TRACE(damaged ? "damaged list" : "lost list");
        MemoryFileStore store = TwoPlayers();
        store.SetBytes(ProfileList::kFileName, damaged ? "garbage" : "");
        store.SetBytes(Profile::GetFileName("Cid"), "");     // a deleted profile
        store.SetBytes(Profile::GetFileName("Dee"), "junk"); // damaged: left alone
        store.SetBytes("notes.dat", "not a profile's name");
        store.SetBytes(Profile::GetFileName("Eve"), store.GetBytes(Profile::GetFileName("Ann"))); // Ann's record
        ScopedLogCapture log;
        PlayerData data(store);
        data.Load("Bob");
        EXPECT_EQ(ListedNames(data), (std::vector<std::string>{"Ann", "Bob"}));
        EXPECT_EQ(data.GetCurrentName(), "Bob");
        EXPECT_EQ(data.GetCurrentProfile().GetLevelScore(2), 500);
        ASSERT_TRUE(data.SelectProfile(0));
        EXPECT_EQ(data.GetCurrentProfile().GetLevelScore(1), 300);
        ASSERT_TRUE(data.LoadSavedGame().has_value());
        EXPECT_EQ(data.LoadSavedGame()->GetLevel(), 3);
        EXPECT_NE(std::find(log.Warnings().begin(), log.Warnings().end(),
                            "Profile list: rebuilt from the profile files: Ann, Bob"),
                  log.Warnings().end());
        EXPECT_EQ(store.GetBytes(Profile::GetFileName("Dee")), "junk");

        // The rebuilt list was written.
        PlayerData again(store);
        again.Load("Ann");
        EXPECT_EQ(ListedNames(again), (std::vector<std::string>{"Ann", "Bob"}));
    }
}

TEST(PlayerProgress, ARebuiltListHoldsTheFiveLatestByTimeThenName)
{
    MemoryFileStore store;
    WriteProfile(store, "Gus", 7, 10);
    WriteProfile(store, "Fay", 6, 20);
    WriteProfile(store, "Eve", 5, 30);
    WriteProfile(store, "Bea", 2, 40);
    WriteProfile(store, "Abe", 1, 40);
    WriteProfile(store, "Dan", 4, 50);
    WriteProfile(store, "Cal", 3, 60);
    const std::string gus = store.GetBytes(Profile::GetFileName("Gus"));
    ScopedLogCapture log;
    PlayerData data(store);
    data.Load("");
    EXPECT_EQ(ListedNames(data), (std::vector<std::string>{"Eve", "Abe", "Bea", "Dan", "Cal"}));
    EXPECT_EQ(data.GetCurrentName(), "Cal");
    EXPECT_NE(std::find(log.Warnings().begin(), log.Warnings().end(),
                        "Profile list: the list holds five; left out (files kept): Gus, Fay"),
              log.Warnings().end());
    EXPECT_EQ(store.GetBytes(Profile::GetFileName("Gus")), gus);
}

TEST(PlayerProgress, ANewProfileOverAnEarlierOnesFilesKeepsThemAsOld)
{
    MemoryFileStore store = TwoPlayers();
    // A list that no longer holds Ann (her files stay).
    {
        PlayerData data(store);
        data.Load("Bob");
        data.CreateProfile("Cid");
        data.DeleteProfile(data.GetProfileList().Find("Cid"));
    }
    ProfileList onlyBob;
    onlyBob.Add("Bob");
    onlyBob.Save(store);
    const std::string annFile = Profile::GetFileName("Ann");
    const std::string annSave = SavedGame::GetFileName("Ann");
    const std::string profileBytes = store.GetBytes(annFile);
    const std::string savedBytes = store.GetBytes(annSave);

    ScopedLogCapture log;
    PlayerData data(store);
    data.Load("Bob");
    ASSERT_EQ(data.CreateProfile("Ann"), ProfileList::NameCheck::Ok);
    EXPECT_EQ(data.GetCurrentProfile().GetTotalScore(), 0);
    EXPECT_FALSE(data.LoadSavedGame().has_value());
    EXPECT_EQ(store.GetBytes(annFile + ".old"), profileBytes);
    EXPECT_EQ(store.GetBytes(annSave + ".old"), savedBytes);
    EXPECT_EQ(log.Warnings().size(), 2u);
    // A deleted profile's empty files are simply replaced.
    ASSERT_EQ(data.CreateProfile("Cid"), ProfileList::NameCheck::Ok);
    EXPECT_FALSE(store.Has(Profile::GetFileName("Cid") + ".old"));
}

TEST(PlayerProgress, AFailedWriteKeepsTheSavedGameAndIsTriedAgainAtTheNextWritePoint)
{
    for (const bool atShutdown : {false, true})
    {
        SCOPED_TRACE(atShutdown ? "retried at shutdown" : "retried at the next level end");
        MemoryFileStore store = TwoPlayers();
        const std::string annFile = Profile::GetFileName("Ann");
        const std::string before = store.GetBytes(annFile);
        ScopedLogCapture log;
        PlayerData data(store);
        data.Load("Ann");

        // The disk is full when Ann wins the saved level 3.
        store.SetFailWrites(true);
        data.RecordLevelResult(3, 700, 2);
        data.EraseFinishedSavedGame();
        EXPECT_FALSE(data.IsCurrentProfileSaved());
        EXPECT_EQ(store.GetBytes(annFile), before);
        EXPECT_TRUE(data.LoadSavedGame().has_value()) << "the saved game stays until the win is written";
        // Bob becomes current meanwhile; Ann's win stays in memory. Every file is reported once.
        EXPECT_TRUE(data.SelectProfile(1));
        EXPECT_FALSE(data.SaveAll());
        EXPECT_EQ(log.WriteFailures(), (std::vector<std::string>{annFile, ScoreTable::kFileName, ProfileList::kFileName,
                                                                 Profile::GetFileName("Bob")}));

        // Space returns.
        store.SetFailWrites(false);
        if (atShutdown)
            EXPECT_TRUE(data.SaveAll());
        else
            data.RecordLevelResult(4, 10, 0);
        EXPECT_TRUE(data.IsAllSaved());
        PlayerData again(store);
        again.Load("Ann");
        EXPECT_EQ(again.GetCurrentProfile().GetLevelScore(3), 700);
        EXPECT_EQ(again.GetCurrentProfile().GetLevelScore(1), 300);
        EXPECT_FALSE(again.LoadSavedGame().has_value()) << "erased once the win was written";
        EXPECT_EQ(again.GetScoreTable().GetEntries().front(), (ScoreTable::Entry{"Ann", 1000}));
    }
}

TEST(PlayerProgress, ANewSavedGameIsNotErasedForTheFinishedOne)
{
    MemoryFileStore store = TwoPlayers();
    PlayerData data(store);
    data.Load("Ann");
    store.SetFailWrites(true);
    data.RecordLevelResult(3, 700, 2);
    data.EraseFinishedSavedGame();
    store.SetFailWrites(false);
    // The next level is saved and quit before any other write point.
    ASSERT_TRUE(data.SaveGame(4, SomeBody()));
    EXPECT_TRUE(data.SaveAll());
    ASSERT_TRUE(data.LoadSavedGame().has_value());
    EXPECT_EQ(data.LoadSavedGame()->GetLevel(), 4);
}

TEST(PlayerProgress, ASavedGameWhoseResultIsNotWrittenIsNeitherErasedNorReplaced)
{
    StoreFullFor store;
    static_cast<MemoryFileStore&>(store) = TwoPlayers();
    const std::string annFile = Profile::GetFileName("Ann");
    const std::string annGame = SavedGame::GetFileName("Ann");
    const std::string level3 = store.GetBytes(annGame);
    ScopedLogCapture log;
    PlayerData data(store);
    data.Load("Ann");

    // Ann wins the saved level 3; her record cannot be written.
    store.full = {annFile};
    data.RecordLevelResult(3, 700, 2);
    data.EraseFinishedSavedGame();
    // A new level starts (which erases a stale saved game) and is saved and left, twice: the
    // file stays, and the refused save is reported once.
    for (int level : {4, 5})
    {
        EXPECT_FALSE(data.EraseSavedGame());
        EXPECT_FALSE(data.SaveGame(level, SomeBody()));
        EXPECT_EQ(store.GetBytes(annGame), level3) << "level " << level;
    }
    EXPECT_EQ(log.WriteFailures(), (std::vector<std::string>{annFile, annGame}));
    ASSERT_EQ(log.Warnings().size(), 4u);
    for (const std::string& line : log.Warnings())
        EXPECT_NE(line.find(annGame + " not "), std::string::npos) << line;

    // Another profile's saved games are its own.
    ASSERT_TRUE(data.SelectProfile(1));
    EXPECT_TRUE(data.SaveGame(6, SomeBody()));
    EXPECT_EQ(data.LoadSavedGame()->GetLevel(), 6);
    EXPECT_TRUE(data.EraseSavedGame());
    ASSERT_TRUE(data.SelectProfile(0));
    EXPECT_EQ(store.GetBytes(annGame), level3);

    // Space returns: the new level's save writes the win first, then replaces the finished game.
    store.full.clear();
    ASSERT_TRUE(data.SaveGame(7, SomeBody()));
    EXPECT_TRUE(data.IsAllSaved());
    PlayerData again(store);
    again.Load("Ann");
    EXPECT_EQ(again.GetCurrentProfile().GetLevelScore(3), 700);
    ASSERT_TRUE(again.LoadSavedGame().has_value());
    EXPECT_EQ(again.LoadSavedGame()->GetLevel(), 7);
    EXPECT_TRUE(again.EraseSavedGame());
    EXPECT_FALSE(again.LoadSavedGame().has_value());
}

TEST(PlayerProgress, AScoreTableBehindAProfileCatchesUpAtLoad)
{
    MemoryFileStore store = TwoPlayers();
    // Killed between Ann's profile write and the table's: the table has Ann's earlier total.
    ScoreTable earlier;
    earlier.Submit("Bob", 500);
    earlier.Submit("Ann", 100);
    earlier.Save(store);
    {
        PlayerData data(store);
        data.Load("Bob");
        EXPECT_EQ(data.GetScoreTable().GetEntries(),
                  (std::vector<ScoreTable::Entry>{{"Bob", 500}, {"Ann", 300}}));
    }
    const std::string caughtUp = store.GetBytes(ScoreTable::kFileName);
    ScoreTable read;
    Quoll::Buffer bytes;
    bytes.WriteBytes(caughtUp.data(), caughtUp.size());
    bytes.SeekReadStart();
    ASSERT_TRUE(read.Read(bytes));
    EXPECT_EQ(read.GetEntries().back(), (ScoreTable::Entry{"Ann", 300}));

    // A table that is up to date is not written.
    store.SetModified(ScoreTable::kFileName, -1);
    PlayerData data(store);
    data.Load("Bob");
    for (const StoredFile& file : store.List())
    {
        if (file.name == ScoreTable::kFileName)
        {
            EXPECT_EQ(file.modified, -1);
        }
    }
}

TEST(PlayerProgress, AFileAboveTheSizeLimitIsNeverReadAndKeptAsBad)
{
    MemoryFileStore store = TwoPlayers();
    const std::string huge(PlayerFileStore::kMaxFileSize + 1, 'x');
    store.SetBytes(ScoreTable::kFileName, huge);
    store.SetBytes(ProfileList::kFileName, std::string(PlayerFileStore::kMaxFileSize, 'x')); // read: damaged
    ScopedLogCapture log;
    PlayerData data(store);
    data.Load("Bob");
    EXPECT_EQ(log.Errors(), (std::vector<std::string>{"Profile list: profiles.lst corrupted; kept as profiles.lst.bad",
                                                      "scores.dat too large (4194305 bytes); kept as scores.dat.bad"}));
    EXPECT_EQ(store.GetBytes(ScoreTable::kFileName + std::string(".bad")), huge);
    EXPECT_EQ(ListedNames(data), (std::vector<std::string>{"Ann", "Bob"}));
    EXPECT_EQ(data.GetScoreTable().GetEntries().size(), 2u) << "the totals are submitted again";

    // On the disk: a sparse 300 MiB profile is moved aside unread, not overwritten.
    QuollTest::ScratchFolder scratch("oversized");
    QuollTest::TestApp app;
    AppFileStore disk(app, scratch.Path().string());
    const std::filesystem::path annFile = scratch / Profile::GetFileName("Ann");
    std::ofstream(annFile).put('x');
    std::filesystem::resize_file(annFile, uint64_t(300) << 20);
    Profile ann;
    EXPECT_FALSE(ann.Load(disk, "Ann"));
    EXPECT_EQ(ann.GetTotalScore(), 0);
    EXPECT_FALSE(std::filesystem::exists(annFile));
    EXPECT_EQ(std::filesystem::file_size(scratch / (Profile::GetFileName("Ann") + ".bad")), uint64_t(300) << 20);
}

TEST(SaveFailureReport, EachFileIsLoggedOnceAndThePlayerToldOnce)
{
    std::vector<std::string> lines;
    SaveFailureReport report([&](const std::string& line) { lines.push_back(line); });
    EXPECT_FALSE(report.TakeUntold().has_value());
    EXPECT_TRUE(report.Add("/home/p/data/scores.dat", "No space left on device"));
    EXPECT_FALSE(report.Add("/home/p/data/scores.dat", ""));
    EXPECT_TRUE(report.Add("/home/p/config/settings.ini", ""));
    EXPECT_EQ(lines, (std::vector<std::string>{"Cannot save /home/p/data/scores.dat: No space left on device",
                                               "Cannot save /home/p/config/settings.ini"}));
    EXPECT_EQ(report.TakeUntold(), std::optional<std::string>("/home/p/data/scores.dat"));
    EXPECT_TRUE(report.Add("/home/p/data/616e6e.dat", ""));
    EXPECT_FALSE(report.TakeUntold().has_value());

    // The player's files and the settings file are covered; the editor's levels are not.
    report.SetCoverage("/home/p/data/", "/home/p/config/settings.txt");
    EXPECT_TRUE(report.Covers("/home/p/data/scores.dat"));
    EXPECT_TRUE(report.Covers("/home/p/config/settings.txt"));
    EXPECT_FALSE(report.Covers("/home/p/data/leveleditor/4.bin"));
    EXPECT_EQ(report.GetFolderKind("/home/p/data/"), SaveFailureReport::FolderKind::Player);
    EXPECT_EQ(report.GetFolderKind("/home/p/config/"), SaveFailureReport::FolderKind::Settings);
    report.SetCoverage("", "/home/p/config/settings.txt"); // the player's folder could not be made
    EXPECT_EQ(report.GetFolderKind("/home/p/data/"), SaveFailureReport::FolderKind::Player);
    report.SetCoverage("/home/p/data", ""); // the settings' folder could not be made
    EXPECT_EQ(report.GetFolderKind("/home/p/config/"), SaveFailureReport::FolderKind::Settings);
    report.SetCoverage("", "");
    EXPECT_EQ(report.GetFolderKind("/home/p/config/"), SaveFailureReport::FolderKind::Unknown);

    const auto failure = SaveFailureReport::ParseAtomicFileLine("write failed for /a b/c: d.dat: No space left on device");
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->path, "/a b/c: d.dat");
    EXPECT_EQ(failure->reason, "No space left on device");
    EXPECT_FALSE(SaveFailureReport::ParseAtomicFileLine("removed 2 stale files").has_value());
}

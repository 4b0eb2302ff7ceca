// The player's files through a recorded and a replayed demo: a start without a profile list (the
// list rebuilt from the folder), an oversized score table kept as .bad, and a new profile whose
// earlier file is kept as .old. The replay's folder holds other files: it must see only what the
// recording saw, agree with it, and leave its folder as it was.
// Rerun one case: test_shell --gtest_filter='PlayerFilesReplay.*'
#include "PlayerDataTestSupport.h"

#include "game/shell/PlayerData.h"
#include "game/shell/PlayerFileStore.h"
#include "game/shell/ScoreTable.h"
#include "tests/app/TestApp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace
{
// Every file of a folder with its size and bytes (a large file by its size alone).
std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder)
{
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
    {
        const uint64_t size = entry.file_size();
        contents[entry.path().filename().string()] =
            std::to_string(size) + ":" + (size > 4096 ? std::string() : QuollTest::ReadFileText(entry.path()));
    }
    return contents;
}

// Eve's profile, a damaged file of "cat" and a score table above the size limit; no profile list.
void PlantPlayerFiles(const std::filesystem::path& folder)
{
    QuollTest::TestApp writer;
    AppFileStore store(writer, folder.string());
    ASSERT_TRUE(Profile("eve").Save(store));
    std::ofstream(folder / Profile::GetFileName("cat")) << "not a profile";
    const std::filesystem::path scores = folder / ScoreTable::kFileName;
    std::ofstream(scores).put('x');
    std::filesystem::resize_file(scores, PlayerFileStore::kMaxFileSize + 1);
}

struct Session
{
    std::vector<std::string> listed;
    std::vector<std::string> warnings;
    std::vector<std::string> errors;
};

// Starts on the folder, then creates profile "cat".
Session RunSession(Quoll::QuollAppBase& app, const std::filesystem::path& folder)
{
    ScopedLogCapture log;
    AppFileStore store(app, folder.string());
    PlayerData data(store);
    data.Load("");
    EXPECT_EQ(data.CreateProfile("cat"), ProfileList::NameCheck::Ok);
    Session session;
    for (int i = 0; i < data.GetProfileList().GetCount(); ++i)
        session.listed.push_back(data.GetProfileList().GetName(i));
    session.warnings = log.Warnings();
    session.errors = log.Errors();
    return session;
}
} // namespace

TEST(PlayerFilesReplay, ARebuiltListAndFilesKeptAsOldAndBadReplayWithTheFolderUntouched)
{
    QuollTest::ScratchFolder recordFolder("record");
    PlantPlayerFiles(recordFolder.Path());
    QuollTest::TestApp recording;
    recording.mRecordingDemo = true;
    const Session recorded = RunSession(recording, recordFolder.Path());
    EXPECT_EQ(recorded.listed, (std::vector<std::string>{"eve", "cat"}));
    const std::string catFile = Profile::GetFileName("cat");
    EXPECT_EQ(recorded.warnings,
              (std::vector<std::string>{"Profile list: " + catFile + " does not read as a profile; not listed",
                                        "Profile list: rebuilt from the profile files: eve",
                                        "New profile cat: the earlier " + catFile + " kept as " + catFile + ".old"}));
    EXPECT_EQ(recorded.errors, (std::vector<std::string>{"scores.dat too large (4194305 bytes); kept as scores.dat.bad"}));
    EXPECT_TRUE(std::filesystem::exists(recordFolder / (catFile + ".old")));
    EXPECT_TRUE(std::filesystem::exists(recordFolder / "scores.dat.bad"));

    // The replay's folder: the same start, and a profile the recording never saw.
    QuollTest::ScratchFolder replayFolder("replay");
    PlantPlayerFiles(replayFolder.Path());
    {
        QuollTest::TestApp writer;
        AppFileStore store(writer, replayFolder.Path().string());
        ASSERT_TRUE(Profile("zed").Save(store));
    }
    const std::map<std::string, std::string> before = FolderContents(replayFolder.Path());
    QuollTest::TestApp replay;
    replay.mPlayingDemo = true;
    replay.mDemo.Data().WriteBytes(recording.mDemo.Data().GetDataPtr(), recording.mDemo.Data().GetDataSize());
    const Session replayed = RunSession(replay, replayFolder.Path());
    EXPECT_FALSE(replay.mDemo.Failed()) << replay.mDemo.Error();
    EXPECT_TRUE(replay.mDemo.Ended());
    EXPECT_EQ(replayed.listed, recorded.listed);
    EXPECT_EQ(replayed.warnings, recorded.warnings);
    EXPECT_EQ(replayed.errors, recorded.errors);
    EXPECT_EQ(FolderContents(replayFolder.Path()), before);
}

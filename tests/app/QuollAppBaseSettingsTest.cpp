// Registry values and whole files of the application object: the empty key, sub-key split,
// conversions of the framework's settings, the 1023-byte string limit, failed writes reported
// as failures, crash-safe file writes (a full disk simulated by the file-size limit), and the
// outcomes (of reads, writes, folder listings, renames and sizes) passed through a recorded and a
// replayed demo stream.
// Rerun one case: test_app --gtest_filter='QuollAppBaseSettings.*'
#include "TestApp.h"

#include "framework/core/Common.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>

using namespace Quoll;
using namespace QuollTest;

namespace
{
const std::string kKey = "SOFTWARE\\Nordwick\\QuollTest";

// Lowers the largest file this process may write, as a full disk would stop a write.
class ScopedFileSizeLimit
{
public:
    explicit ScopedFileSizeLimit(rlim_t bytes)
    {
        mPreviousSignal = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &mPrevious);
        rlimit limit = mPrevious;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~ScopedFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &mPrevious);
        std::signal(SIGXFSZ, mPreviousSignal);
    }

private:
    rlimit mPrevious{};
    void (*mPreviousSignal)(int) = nullptr;
};

// Every entry of a folder with its bytes ("<name>/" for a folder).
std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder)
{
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        contents[entry.path().filename().string() + (entry.is_directory() ? "/" : "")] =
            entry.is_directory() ? std::string() : ReadFileText(entry.path());
    return contents;
}

std::map<std::string, uint64_t> ListedSizes(const std::vector<QuollAppBase::FolderFile>& files)
{
    std::map<std::string, uint64_t> sizes;
    for (const QuollAppBase::FolderFile& file : files)
        sizes[file.name] = file.size;
    return sizes;
}

void StartReplay(TestApp& replay, const TestApp& recording)
{
    replay.mPlayingDemo = true;
    replay.mDemo.Data().WriteBytes(recording.mDemo.Data().GetDataPtr(), recording.mDemo.Data().GetDataSize());
}
} // namespace

TEST(QuollAppBaseSettings, EmptyKeyReadsAndWritesNothingAndRecordsNothing)
{
    TestApp app;
    app.mRegKey.clear();
    app.mRecordingDemo = true;
    int value = 7;
    std::string text = "kept";
    EXPECT_FALSE(app.WriteRegInt("MusicVolume", 1));
    EXPECT_FALSE(app.WriteRegString("Name", "x"));
    EXPECT_FALSE(app.ReadRegInt("MusicVolume", value));
    EXPECT_FALSE(app.ReadRegString("Name", text));
    app.EraseRegValue("Name");
    EXPECT_EQ(value, 7);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(app.mDemo.Data().GetDataSize(), 0u);
}

TEST(QuollAppBaseSettings, ValueNamesSplitAtTheLastBackslash)
{
    TestApp app;
    EXPECT_TRUE(app.WriteRegString("Test3D\\RuntimeError", "no device"));
    EXPECT_EQ(app.Store().GetString(kKey + "\\Test3D", "RuntimeError"), "no device");
    EXPECT_TRUE(app.WriteRegInt("A\\B\\C", 5));
    EXPECT_EQ(app.Store().GetInt32(kKey + "\\A\\B", "C"), 5);
    int value = 0;
    EXPECT_TRUE(app.ReadRegInt("A\\B\\C", value));
    EXPECT_EQ(value, 5);
    app.EraseRegValue("A\\B\\C");
    EXPECT_FALSE(app.ReadRegInt("A\\B\\C", value));
}

TEST(QuollAppBaseSettings, TypedValuesRoundTrip)
{
    TestApp app;
    int number = 0;
    bool flag = false;
    std::string text;
    EXPECT_TRUE(app.WriteRegInt("Int", -123456));
    EXPECT_TRUE(app.ReadRegInt("Int", number));
    EXPECT_EQ(number, -123456);
    EXPECT_TRUE(app.WriteRegBool("Flag", true));
    EXPECT_TRUE(app.ReadRegBool("Flag", flag));
    EXPECT_TRUE(flag);
    EXPECT_EQ(app.Store().GetInt32(kKey, "Flag"), 1);

    // Strings are stored without a terminating zero and read back unchanged.
    EXPECT_TRUE(app.WriteRegString("Text", "Grüße"));
    uint32_t type = 0, length = 64;
    uint8_t raw[64];
    ASSERT_TRUE(app.ReadRegValue("Text", &type, raw, &length));
    EXPECT_EQ(type, Platform::REG_SZ);
    EXPECT_EQ(length, std::string("Grüße").size());
    EXPECT_TRUE(app.ReadRegString("Text", text));
    EXPECT_EQ(text, "Grüße");

    // A type mismatch fails and leaves the output alone.
    number = 99;
    EXPECT_FALSE(app.ReadRegInt("Text", number));
    EXPECT_EQ(number, 99);
    EXPECT_FALSE(app.ReadRegString("Int", text));
    EXPECT_FALSE(app.ReadRegInt("Missing", number));
}

TEST(QuollAppBaseSettings, StringsUpTo1023BytesCanBeRead)
{
    TestApp app;
    std::string text;
    ASSERT_TRUE(app.WriteRegString("Long", std::string(1023, 'x')));
    EXPECT_TRUE(app.ReadRegString("Long", text));
    EXPECT_EQ(text, std::string(1023, 'x'));
    ASSERT_TRUE(app.WriteRegString("TooLong", std::string(1024, 'y')));
    text = "kept";
    EXPECT_FALSE(app.ReadRegString("TooLong", text));
    EXPECT_EQ(text, "kept");
    // Text after an embedded zero is not part of the string.
    ASSERT_TRUE(app.WriteRegString("Zero", std::string("ab\0cd", 5)));
    EXPECT_TRUE(app.ReadRegString("Zero", text));
    EXPECT_EQ(text, "ab");
}

TEST(QuollAppBaseSettings, WriteSettingsStoresTheFrameworkValues)
{
    TestApp app;
    app.mMusicVolume = 0.999;
    app.mSfxVolume = 0.29;
    app.mMuteCount = 2;
    app.mAutoMuteCount = 2; // every mute was the program's own
    app.mIsWindowed = false;
    app.mPreferredX = 12;
    app.mPreferredY = -1;
    app.mCustomCursorsEnabled = true;
    app.mWaitForVSync = true;
    app.WriteSettings();
    Platform::SettingsStore& store = app.Store();
    EXPECT_EQ(store.GetInt32(kKey, "MusicVolume"), 99);
    EXPECT_EQ(store.GetInt32(kKey, "SfxVolume"), 29);
    EXPECT_EQ(store.GetInt32(kKey, "Muted"), 0);
    EXPECT_EQ(store.GetInt32(kKey, "ScreenMode"), 1);
    EXPECT_EQ(store.GetInt32(kKey, "PreferredX"), 12);
    EXPECT_EQ(store.GetInt32(kKey, "PreferredY"), -1);
    EXPECT_EQ(store.GetInt32(kKey, "CustomCursors"), 1);
    EXPECT_EQ(store.GetInt32(kKey, "InProgress"), 0);
    EXPECT_EQ(store.GetInt32(kKey, "WaitForVSync"), 1);
    app.mAutoMuteCount = 1;
    app.WriteSettings();
    EXPECT_EQ(store.GetInt32(kKey, "Muted"), 1);
}

TEST(QuollAppBaseSettings, VolumesSurviveRepeatedSaveAndLoad)
{
    for (int hundredths = 0; hundredths <= 100; ++hundredths)
    {
        TestApp app;
        app.mMusicVolume = hundredths / 100.0;
        for (int round = 0; round < 3; ++round)
        {
            app.WriteSettings();
            app.ReadSettings();
        }
        EXPECT_EQ(app.Store().GetInt32(kKey, "MusicVolume"), hundredths);
    }
}

TEST(QuollAppBaseSettings, ReadSettingsConvertsAndMarksTheRunInProgress)
{
    TestApp app;
    Platform::SettingsStore& store = app.Store();
    ASSERT_EQ(store.SetInt32(kKey, "MusicVolume", 99), Platform::SettingsResult::Ok);
    ASSERT_EQ(store.SetInt32(kKey, "Muted", 3), Platform::SettingsResult::Ok);
    ASSERT_EQ(store.SetInt32(kKey, "ScreenMode", 2), Platform::SettingsResult::Ok);
    ASSERT_EQ(store.SetInt32(kKey, "PreferredX", 40), Platform::SettingsResult::Ok);
    ASSERT_EQ(store.SetInt32(kKey, "CustomCursors", 5), Platform::SettingsResult::Ok);
    ASSERT_EQ(store.SetString(kKey, "SfxVolume", "loud"), Platform::SettingsResult::Ok); // wrong type
    app.ReadSettings();
    EXPECT_TRUE(app.mReadFromRegistry);
    EXPECT_DOUBLE_EQ(app.mMusicVolume, 0.99);
    EXPECT_DOUBLE_EQ(app.mSfxVolume, 0.85); // unreadable: kept
    EXPECT_EQ(app.mMuteCount, 1); // the store holds a flag
    EXPECT_FALSE(app.mIsWindowed);
    EXPECT_EQ(app.mPreferredX, 40);
    EXPECT_EQ(app.mPreferredY, -1); // missing: kept
    EXPECT_TRUE(app.mCustomCursorsEnabled);
    EXPECT_EQ(store.GetInt32(kKey, "InProgress"), 1);

    ASSERT_EQ(store.SetInt32(kKey, "ScreenMode", 0), Platform::SettingsResult::Ok);
    app.ReadSettings();
    EXPECT_TRUE(app.mIsWindowed);
}

TEST(QuollAppBaseSettings, NumbersReadFromTheStoreAreClampedToTheirRanges)
{
    TestApp app;
    Platform::SettingsStore& store = app.Store();
    ASSERT_EQ(store.SetInt32(kKey, "MusicVolume", 250), Platform::SettingsResult::Ok);
    ASSERT_EQ(store.SetInt32(kKey, "SfxVolume", -40), Platform::SettingsResult::Ok);
    ASSERT_EQ(store.SetInt32(kKey, "Muted", -7), Platform::SettingsResult::Ok);
    app.ReadSettings();
    EXPECT_DOUBLE_EQ(app.mMusicVolume, 1.0);
    EXPECT_DOUBLE_EQ(app.mSfxVolume, 0.0);
    EXPECT_EQ(app.mMuteCount, 0);
}

// Saving the settings rewrites the file once for all its values, and not at all when nothing
// changed (the program saves them twice at exit).
TEST(QuollAppBaseSettings, WriteSettingsRewritesTheStoreOnceAndOnlyWhenSomethingChanged)
{
    ScratchFolder scratch("files");
    TestApp app;
    app.SetSettingsStore(std::make_unique<Platform::SettingsStore>((scratch / "settings.txt").string()));
    app.WriteSettings();
    EXPECT_EQ(app.Store().RewriteCount(), 1u);
    app.WriteSettings();
    EXPECT_EQ(app.Store().RewriteCount(), 1u);
    app.mMusicVolume = 0.5;
    app.mSfxVolume = 0.25;
    app.WriteSettings();
    EXPECT_EQ(app.Store().RewriteCount(), 2u);
    EXPECT_EQ(Platform::SettingsStore((scratch / "settings.txt").string()).GetInt32(kKey, "SfxVolume"), 25);
}

// While the main loop runs, registry writes reach the file once per logic update.
TEST(QuollAppBaseSettings, WritesDuringTheLoopAreRewrittenOncePerUpdate)
{
    struct LoopApp : TestApp
    {
        using QuollAppBase::DeferSettingsWrites;
    };
    ScratchFolder scratch("files");
    ScopedThrowingExit exits;
    LoopApp app;
    app.SetSettingsStore(std::make_unique<Platform::SettingsStore>((scratch / "settings.txt").string()));
    app.Init();
    const uint64_t before = app.Store().RewriteCount();
    app.DeferSettingsWrites(true);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(app.WriteRegInt("Value" + std::to_string(i), i));
    EXPECT_EQ(app.Store().RewriteCount(), before);
    EXPECT_TRUE(app.TryUpdateFrame());
    EXPECT_EQ(app.Store().RewriteCount(), before + 1);
    EXPECT_TRUE(app.TryUpdateFrame());
    EXPECT_EQ(app.Store().RewriteCount(), before + 1) << "nothing changed";
    EXPECT_EQ(Platform::SettingsStore((scratch / "settings.txt").string()).GetInt32(kKey, "Value4"), 4);
}

TEST(QuollAppBaseSettings, ScreenSaverLeavesNoInProgressMarkAndTheKeyMayBeLocalised)
{
    TestApp app;
    app.mIsScreenSaver = true;
    app.SetString("RegistryKey", L"Nordwick\\Other");
    app.ReadSettings();
    EXPECT_EQ(app.mRegKey, "Nordwick\\Other");
    EXPECT_FALSE(app.Store().GetInt32("SOFTWARE\\Nordwick\\Other", "InProgress").has_value());
}

TEST(QuollAppBaseSettings, FailedRegistryWriteIsReportedAndRecordedAsFailure)
{
    ScratchFolder scratch("files");
    std::ofstream(scratch / "blocker") << "a file where a folder is needed";
    TestApp app;
    app.SetSettingsStore(std::make_unique<Platform::SettingsStore>((scratch / "blocker" / "settings.txt").string()));
    app.mRecordingDemo = true;
    EXPECT_FALSE(app.WriteRegInt("MusicVolume", 5));
    int value = 0;
    EXPECT_FALSE(app.ReadRegInt("MusicVolume", value));

    // Replayed, the same calls give the same answers.
    TestApp replay;
    replay.mPlayingDemo = true;
    replay.mDemo.Data().WriteBytes(app.mDemo.Data().GetDataPtr(), app.mDemo.Data().GetDataSize());
    EXPECT_FALSE(replay.WriteRegInt("MusicVolume", 5));
    EXPECT_FALSE(replay.ReadRegInt("MusicVolume", value));
}

TEST(QuollAppBaseSettings, ReplayedReadsGiveTheRecordedValuesWithinTheCallersCapacity)
{
    TestApp app;
    ASSERT_TRUE(app.WriteRegString("Name", "0123456789"));
    app.mRecordingDemo = true;
    std::string text;
    int missing = 0;
    EXPECT_TRUE(app.ReadRegString("Name", text));
    EXPECT_FALSE(app.ReadRegInt("Missing", missing));
    uint32_t type = 0, length = 64;
    uint8_t bytes[64];
    EXPECT_TRUE(app.ReadRegValue("Name", &type, bytes, &length));
    EXPECT_TRUE(app.WriteRegInt("Written", 1));

    TestApp replay;
    replay.mRegKey = "Nordwick\\Elsewhere"; // nothing of the store is read during playback
    replay.mPlayingDemo = true;
    replay.mDemo.Data().WriteBytes(app.mDemo.Data().GetDataPtr(), app.mDemo.Data().GetDataSize());
    EXPECT_TRUE(replay.ReadRegString("Name", text));
    EXPECT_EQ(text, "0123456789");
    EXPECT_FALSE(replay.ReadRegInt("Missing", missing));
    // The third record holds 10 bytes; a caller with room for 4 gets a failure, not an overrun.
    uint8_t small[4] = {};
    length = sizeof small;
    EXPECT_FALSE(replay.ReadRegValue("Name", &type, small, &length));
    EXPECT_TRUE(replay.WriteRegInt("Written", 1));
    EXPECT_FALSE(replay.Store().GetInt32("SOFTWARE\\Nordwick\\Elsewhere", "Written").has_value());
}

TEST(QuollAppBaseSettings, PlaybackAfterTheRecordedCloseTouchesNothing)
{
    ScratchFolder scratch("files");
    TestApp app;
    app.mPlayingDemo = true;
    app.mDemoClosedByWindow = true;
    const std::string path = (scratch / "out.dat").string();
    const uint8_t byte = 1;
    int value = 0;
    Buffer buffer;
    EXPECT_TRUE(app.WriteRegInt("X", 1));
    EXPECT_FALSE(app.ReadRegInt("X", value));
    EXPECT_TRUE(app.WriteBytesToFile(path, &byte, 1));
    EXPECT_TRUE(app.FileExists(path));
    EXPECT_FALSE(app.ReadBufferFromFile(path, buffer));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(app.Store().GetInt32(kKey, "X").has_value());
    const std::string kept = (scratch / "kept.dat").string();
    std::ofstream(kept) << "kept";
    EXPECT_TRUE(app.ListFolderFiles(scratch.Path().string()).empty());
    EXPECT_FALSE(app.GetFileSize(kept).has_value());
    EXPECT_TRUE(app.RenameFile(kept, kept + ".old"));
    EXPECT_EQ(FolderContents(scratch.Path()), (std::map<std::string, std::string>{{"kept.dat", "kept"}}));
}

TEST(QuollAppBaseSettings, WholeFilesRoundTripAndCreateTheirFolders)
{
    ScratchFolder scratch("files");
    TestApp app;
    Buffer out;
    out.WriteInt32(0x01020304);
    out.WriteString("profile");
    const std::string path = (scratch / "deep" / "er" / "p.dat").string();
    ASSERT_TRUE(app.WriteBufferToFile(path, out));
    EXPECT_TRUE(app.FileExists(path));
    Buffer in;
    ASSERT_TRUE(app.ReadBufferFromFile(path, in));
    EXPECT_EQ(in.ReadInt32(), 0x01020304);
    EXPECT_EQ(in.ReadString(), "profile");
    EXPECT_FALSE(app.FileExists((scratch / "none.dat").string()));
    Buffer kept;
    kept.WriteByte(7);
    EXPECT_FALSE(app.ReadBufferFromFile((scratch / "none.dat").string(), kept));
    EXPECT_EQ(kept.GetDataSize(), 1u); // a failed read leaves the buffer alone
}

TEST(QuollAppBaseSettings, FailedFileWriteKeepsTheOldFile)
{
    ScratchFolder scratch("files");
    TestApp app;
    const std::filesystem::path path = scratch / "scores.dat";
    const std::string old = "the old scores";
    ASSERT_TRUE(app.WriteBytesToFile(path.string(), reinterpret_cast<const uint8_t*>(old.data()), old.size()));

    // A full disk: the write stops after 64 bytes.
    const std::vector<uint8_t> big(4096, 0xAB);
    {
        ScopedFileSizeLimit limit(64);
        EXPECT_FALSE(app.WriteBytesToFile(path.string(), big.data(), big.size()));
    }
    EXPECT_EQ(ReadFileText(path), old);
    for (const auto& entry : std::filesystem::directory_iterator(scratch.Path()))
        EXPECT_EQ(entry.path().filename(), "scores.dat") << "a temporary file was left behind";

    // A target whose folder cannot exist (a file stands in its place).
    std::ofstream(scratch / "plain") << "x";
    EXPECT_FALSE(app.WriteBytesToFile((scratch / "plain" / "f.dat").string(), big.data(), 4));
}

TEST(QuollAppBaseSettings, RecordedFileOutcomesReplayWithoutTheDisk)
{
    ScratchFolder scratch("files");
    const std::string path = (scratch / "save.dat").string();
    TestApp app;
    app.mRecordingDemo = true;
    const uint8_t bytes[3] = {9, 8, 7};
    ASSERT_TRUE(app.WriteBytesToFile(path, bytes, 3));
    EXPECT_TRUE(app.FileExists(path));
    Buffer read;
    EXPECT_TRUE(app.ReadBufferFromFile(path, read));
    std::filesystem::remove(path);

    TestApp replay;
    replay.mPlayingDemo = true;
    replay.mDemo.Data().WriteBytes(app.mDemo.Data().GetDataPtr(), app.mDemo.Data().GetDataSize());
    EXPECT_TRUE(replay.WriteBytesToFile(path, bytes, 3));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(replay.FileExists(path));
    Buffer replayed;
    ASSERT_TRUE(replay.ReadBufferFromFile(path, replayed));
    ASSERT_EQ(replayed.GetDataSize(), 3u);
    EXPECT_EQ(replayed.ReadByte(), 9);

    // With noDemo the real file is read and the stream is left alone.
    std::ofstream(path, std::ios::binary) << "real";
    const size_t position = replay.mDemo.Data().GetReadBitPos();
    Buffer real;
    ASSERT_TRUE(replay.ReadBufferFromFile(path, real, true));
    EXPECT_EQ(real.GetDataSize(), 4u);
    EXPECT_EQ(replay.mDemo.Data().GetReadBitPos(), position);
}

// The player-file store's folder walk, its size check and its renames (a file kept as .old or
// .bad): recorded, then replayed from the stream alone, with the folder left as it was.
TEST(QuollAppBaseSettings, RecordedListingsSizesAndRenamesReplayWithoutTheDisk)
{
    ScratchFolder scratch("files");
    const std::string folder = scratch.Path().string();
    const std::string profile = (scratch / "657665.dat").string();
    std::ofstream(profile) << "eve's profile";
    std::ofstream(scratch / "scores.dat") << "scores";
    std::filesystem::create_directory(scratch / "leveleditor"); // a folder is not listed
    // The same calls give the same answers, recorded and replayed.
    const auto session = [&](TestApp& run) {
        std::vector<QuollAppBase::FolderFile> listed = run.ListFolderFiles(folder);
        EXPECT_EQ(run.GetFileSize(profile), std::optional<uint64_t>(13));
        EXPECT_FALSE(run.GetFileSize(folder + "/none.dat").has_value());
        EXPECT_TRUE(run.RenameFile(profile, profile + ".old"));
        EXPECT_FALSE(run.RenameFile(folder + "/none.dat", folder + "/none.dat.bad"));
        run.mUpdateCount = 20;
        EXPECT_TRUE(run.ListFolderFiles(folder + "/missing").empty());
        return listed;
    };
    TestApp app;
    app.mRecordingDemo = true;
    const std::vector<QuollAppBase::FolderFile> listed = session(app);
    EXPECT_EQ(ListedSizes(listed), (std::map<std::string, uint64_t>{{"657665.dat", 13}, {"scores.dat", 6}}));

    // The replay's folder holds other files, which it neither sees nor changes.
    std::filesystem::rename(profile + ".old", profile);
    std::ofstream(scratch / "626f62.dat") << "bob";
    const std::map<std::string, std::string> before = FolderContents(scratch.Path());
    TestApp replay;
    StartReplay(replay, app);
    const std::vector<QuollAppBase::FolderFile> replayed = session(replay);
    ASSERT_EQ(replayed.size(), listed.size());
    for (size_t i = 0; i < listed.size(); ++i)
    {
        EXPECT_EQ(replayed[i].name, listed[i].name);
        EXPECT_EQ(replayed[i].size, listed[i].size);
        EXPECT_EQ(replayed[i].modified, listed[i].modified);
    }
    EXPECT_FALSE(replay.mDemo.Failed()) << replay.mDemo.Error();
    EXPECT_TRUE(replay.mDemo.Ended());
    EXPECT_EQ(FolderContents(scratch.Path()), before);
}

// A demo recorded before sizes were recorded has a file's read record where the size would be:
// the size is unknown and the read replays. A rename the demo does not hold stops it.
TEST(QuollAppBaseSettings, ADemoWithoutSizeRecordsStillReplaysItsReads)
{
    ScratchFolder scratch("files");
    const std::string path = (scratch / "profiles.lst").string();
    std::ofstream(path) << "eve";
    TestApp app;
    app.mRecordingDemo = true;
    Buffer read;
    ASSERT_TRUE(app.ReadBufferFromFile(path, read));

    TestApp replay;
    StartReplay(replay, app);
    EXPECT_FALSE(replay.GetFileSize(path).has_value());
    Buffer replayed;
    ASSERT_TRUE(replay.ReadBufferFromFile(path, replayed));
    EXPECT_EQ(replayed.GetDataSize(), 3u);
    EXPECT_FALSE(replay.mDemo.Failed()) << replay.mDemo.Error();

    TestApp renaming;
    StartReplay(renaming, app);
    EXPECT_TRUE(renaming.RenameFile(path, path + ".old"));
    EXPECT_EQ(renaming.mDemo.Error(), "Demo playback stopped at update 0, record 0: expected full kind 25, found full "
                                      "kind 15 due at update 0");
    EXPECT_TRUE(std::filesystem::exists(path));
}

// A listing's count or a name that runs past the end of the demo stops playback; nothing past
// the end is listed.
TEST(QuollAppBaseSettings, AListingRunningPastTheEndOfTheDemoStopsPlayback)
{
    for (const int32_t count : {1000, 2, -1})
    {
        SCOPED_TRACE(count);
        DemoStream recorded;
        recorded.WriteRecord(DemoKind::FolderList, 3);
        Buffer& stream = recorded.Data();
        stream.WriteInt32(count);
        stream.WriteString("657665.dat");
        for (int half = 0; half < 4; ++half)
            stream.WriteInt32(half);
        if (count == 2)
        {
            stream.WriteInt16(300); // a second name longer than what is left
            for (int half = 0; half < 4; ++half)
                stream.WriteInt32(half);
        }
        TestApp replay;
        replay.mPlayingDemo = true;
        replay.mUpdateCount = 3;
        replay.mDemo.Data().WriteBytes(stream.GetDataPtr(), stream.GetDataSize());
        EXPECT_TRUE(replay.ListFolderFiles("anywhere").empty());
        EXPECT_TRUE(replay.mDemo.Failed());
        EXPECT_EQ(replay.mDemo.Error().rfind("Demo playback stopped at update 3, record 0: a folder listing of " +
                                                 std::to_string(count) + " files runs past the end of the demo",
                                             0),
                  0u)
            << replay.mDemo.Error();
    }
}

TEST(QuollAppBaseSettings, LongGapsBetweenRecordsAreBridgedByFillers)
{
    TestApp app;
    app.mRecordingDemo = true;
    app.mUpdateCount = 40;
    ASSERT_TRUE(app.WriteRegInt("X", 1));
    Buffer& stream = app.mDemo.Data();
    for (int filler = 0; filler < 2; ++filler)
    {
        EXPECT_EQ(stream.ReadBits(4, false), 15);
        EXPECT_EQ(stream.ReadBits(1, false), 0);
        EXPECT_EQ(stream.ReadBits(5, false), 31);
    }
    EXPECT_EQ(stream.ReadBits(4, false), 10);
    EXPECT_EQ(stream.ReadBits(1, false), 0);
    EXPECT_EQ(stream.ReadBits(5, false), 12); // registry write
    EXPECT_EQ(stream.ReadBits(1, false), 1);
}

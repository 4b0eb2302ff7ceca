// End-to-end replay: a scripted headless session (keys, mouse, wheel, focus, minimise, the
// clipboard, a registry write and read, a file read, the loader finishing at a random time,
// close) is recorded, then replayed at full speed with the registry, the file and the
// clipboard gone; both runs must see the same input at the same updates and end with the
// same random state. A demo with one byte of a registry record changed must fail and name the
// update.
// Rerun one case: test_app --gtest_filter='DemoReplay.*'
#include "ReplayHarness.h"

#include "framework/demo/DemoFile.h"
#include "framework/net/HttpTransfer.h"
#include "framework/platform/system/Clock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace Quoll;
using namespace QuollTest;

namespace
{
constexpr const char* kSession = R"(at 100
mouse move 100 100
at 150
mouse move 110 95
at 200
mouse down left 110 95
mouse up left 110 95
at 300
mouse down right 500 300 clicks 2
mouse up right 500 300
mouse move 4000 10
at 400
wheel 2
wheel -1
at 500
key A
text b
at 600
focus lost
at 700
focus gained
at 800
minimise
at 900
restore
at 1000
key R
at 1100
key F
at 1200
key C
at 1600
close
)";

struct Recording
{
    ReplayEvidence evidence;
    int32_t registryReadBit = -1;
};

class DemoReplay : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mDemoPath = (mFolder / "session.dmo").string();
        mDataFile = (mFolder / "profile.dat").string();
        Buffer profile;
        profile.WriteString("saved profile");
        std::ofstream(mDataFile, std::ios::binary)
            .write(reinterpret_cast<const char*>(profile.GetDataPtr()), std::streamsize(profile.GetDataSize()));
    }

    Recording Record()
    {
        Platform::FakeClock clock(1'000'000'000);
        Platform::ScopedClock scoped(clock);
        Recording recording;
        {
            ReplayTestApp app(mDemoPath, false, mDataFile);
            app.Headless().SetClipboardText("copied before the session");
            recording.evidence = app.Run(kSession);
            recording.registryReadBit = app.mRegistryReadBit;
            app.WriteDemoFile();
        }
        // What the recording saw is gone for the replay.
        std::filesystem::remove(mDataFile);
        return recording;
    }

    ReplayEvidence Replay()
    {
        Platform::FakeClock clock(5'000'000'000);
        Platform::ScopedClock scoped(clock);
        ReplayTestApp app(mDemoPath, true, mDataFile);
        return app.Run({});
    }

    // Replays until the playback is stuck, then closes the window as a user would; true when
    // the close ended the program (and not the harness's watchdog).
    bool ReplayClosesWhenStuck(bool fullSpeed, ReplayEvidence& evidence)
    {
        Platform::FakeClock clock(5'000'000'000);
        Platform::ScopedClock scoped(clock);
        ReplayTestApp app(mDemoPath, true, mDataFile);
        app.mFullSpeedReplay = fullSpeed;
        app.mCloseWhenStuck = true;
        evidence = app.Run({});
        return app.mCloseSent && app.mDemoClosedByWindow;
    }

    // Replays at normal speed while the viewer's own input (a script) arrives.
    ReplayEvidence ReplayWithViewerInput(const std::string& script)
    {
        Platform::FakeClock clock(5'000'000'000);
        Platform::ScopedClock scoped(clock);
        ReplayTestApp app(mDemoPath, true, mDataFile);
        app.mFullSpeedReplay = false;
        return app.Run(script);
    }

    // The byte at a bit offset of the record stream, counted from the file's start.
    size_t FileOffsetOfStreamBit(int32_t bit)
    {
        DemoStream stream;
        uint32_t seed = 0;
        std::string error;
        EXPECT_TRUE(ReadDemoFile(mDemoPath, GetProductVersionForTest(), stream, seed, error)) << error;
        return std::filesystem::file_size(mDemoPath) - stream.Data().GetDataSize() + size_t(bit / 8);
    }

    void FlipByte(size_t offset)
    {
        std::fstream file(mDemoPath, std::ios::in | std::ios::out | std::ios::binary);
        file.seekg(std::streamoff(offset));
        const char byte = char(file.get() ^ 0xFF);
        file.seekp(std::streamoff(offset));
        file.put(byte);
    }

    static std::string GetProductVersionForTest()
    {
        ReplayTestApp probe("", false, "");
        return probe.mProductVersion;
    }

    ScratchFolder mFolder{"replay"};
    std::string mDemoPath;
    std::string mDataFile;
};

bool HasEvent(const ReplayEvidence& evidence, const std::string& what)
{
    for (const std::string& event : evidence.events)
        if (event.find(what) != std::string::npos)
            return true;
    return false;
}
} // namespace

TEST_F(DemoReplay, ReplayedSessionSeesTheSameInputAtTheSameUpdates)
{
    const Recording recording = Record();
    const ReplayEvidence& recorded = recording.evidence;
    ASSERT_TRUE(std::filesystem::exists(mDemoPath));
    // The session reached the program as scripted.
    for (const char* what : {"MouseMove 110,95", "MouseDown 1 110,95", "MouseDown -2 500,300", "MouseMove 4000,10",
                             "MouseWheel 2", "MouseWheel -1", "KeyDown 65", "KeyChar 98", "LostFocus", "GotFocus",
                             "registry", "file 1 saved profile", "clipboard copied before the session",
                             "loading completed"})
        EXPECT_TRUE(HasEvent(recorded, what)) << what;

    const ReplayEvidence replayed = Replay();
    EXPECT_EQ(FirstDifference(recorded, replayed), "");
    EXPECT_EQ(replayed.events, recorded.events);
    EXPECT_TRUE(replayed.randomState == recorded.randomState) << "the random generators' states differ";
    EXPECT_EQ(replayed.updates, recorded.updates);
    EXPECT_TRUE(replayed.popups.empty()) << replayed.popups.front();
}

TEST_F(DemoReplay, AChangedRegistryValueIsFoundAtItsUpdate)
{
    const Recording recording = Record();
    ASSERT_GE(recording.registryReadBit, 0);
    // A byte of the recorded value (after the header, success bit, type and length).
    FlipByte(FileOffsetOfStreamBit(recording.registryReadBit + 10 + 1 + 64 + 8));

    const ReplayEvidence replayed = Replay();
    const std::string difference = FirstDifference(recording.evidence, replayed);
    std::string registryUpdate;
    for (const std::string& event : recording.evidence.events)
        if (event.find(" registry ") != std::string::npos)
            registryUpdate = event.substr(0, event.find(' '));
    EXPECT_EQ(difference.rfind("update " + registryUpdate + ": ", 0), 0u) << difference;
}

TEST_F(DemoReplay, AChangedRecordKindStopsPlaybackNamingTheUpdate)
{
    const Recording recording = Record();
    ASSERT_GE(recording.registryReadBit, 0);
    FlipByte(FileOffsetOfStreamBit(recording.registryReadBit + 5)); // the byte holding the kind

    const ReplayEvidence replayed = Replay();
    std::string registryUpdate;
    for (const std::string& event : recording.evidence.events)
        if (event.find(" registry ") != std::string::npos)
            registryUpdate = event.substr(0, event.find(' '));
    ASSERT_FALSE(replayed.popups.empty());
    EXPECT_NE(replayed.popups.front().find("Demo playback stopped at update " + registryUpdate + ", record "),
              std::string::npos)
        << replayed.popups.front();
    EXPECT_LT(replayed.updates, recording.evidence.updates + 1);
}

// A replay that stopped on a fault or ran out of records (a demo cut short, its loader's
// completion never comes) holds its update; the window's close (and a termination signal,
// which arrives as the same close) still ends the program, at full speed and at normal speed.
TEST_F(DemoReplay, AStuckReplayStillEndsWhenItsWindowCloses)
{
    const Recording recording = Record();
    const std::string whole = ReadFileText(mDemoPath);
    const size_t streamStart = FileOffsetOfStreamBit(0);
    for (const bool cut : {true, false})
        for (const bool fullSpeed : {true, false})
        {
            SCOPED_TRACE(std::string(cut ? "cut short" : "changed kind") + (fullSpeed ? ", full speed" : ""));
            std::ofstream(mDemoPath, std::ios::binary | std::ios::trunc)
                .write(whole.data(), std::streamsize(cut ? streamStart + 2 : whole.size()));
            if (!cut)
            {
                FlipByte(FileOffsetOfStreamBit(recording.registryReadBit + 5));
            }
            ReplayEvidence replayed;
            EXPECT_TRUE(ReplayClosesWhenStuck(fullSpeed, replayed));
            EXPECT_LT(replayed.updates, recording.evidence.updates);
            if (!cut)
            {
                EXPECT_EQ(replayed.popups.size(), 1u);
            }
        }
}

// A move of the window draws the frame at once, paused for the draw; a pause the viewer set
// with 'p' outlasts it.
TEST_F(DemoReplay, APausedReplayStaysPausedWhenTheWindowIsMoved)
{
    const Recording recording = Record();
    const std::string pause = "at 500\ntext p\n";
    const std::string close = "at 2500\nclose\n";
    const ReplayEvidence paused = ReplayWithViewerInput(pause + close);
    const ReplayEvidence moved = ReplayWithViewerInput(pause + "at 1000\nmove 64 64\nat 1500\nmove 90 70\n" + close);
    EXPECT_GT(paused.updates, 0);
    EXPECT_LT(paused.updates, recording.evidence.updates / 2) << "the pause did not hold the replay";
    EXPECT_EQ(moved.updates, paused.updates) << "the window's move resumed the replay";
}

TEST(DemoReplayHttp, TransferResultsReplayByTransferIdWithoutTheNetwork)
{
    HttpDemoHook* hook = SetHttpDemoHook(nullptr);
    SetHttpDemoHook(hook);
    ASSERT_NE(hook, nullptr);

    Buffer stream;
    {
        TestApp app;
        app.mRecordingDemo = true;
        ASSERT_TRUE(hook->IsRecording());
        hook->RecordResult(7, HttpResult::InProgress, "partial");
        app.mUpdateCount = 3;
        hook->RecordResult(7, HttpResult::Done, "reply body");
        stream = app.mDemo.Data();
    }

    TestApp replay;
    replay.mPlayingDemo = true;
    replay.mDemo.Data().WriteBytes(stream.GetDataPtr(), stream.GetDataSize());
    ASSERT_TRUE(hook->IsPlayingBack());
    HttpResult result = HttpResult::NotStarted;
    std::string content;
    EXPECT_FALSE(hook->TakeRecordedResult(8, result, content)); // another transfer's record stays
    ASSERT_TRUE(hook->TakeRecordedResult(7, result, content));
    EXPECT_EQ(result, HttpResult::InProgress);
    EXPECT_EQ(content, "");
    EXPECT_FALSE(hook->TakeRecordedResult(7, result, content)); // the next one is due at update 3
    replay.mUpdateCount = 3;
    ASSERT_TRUE(hook->TakeRecordedResult(7, result, content));
    EXPECT_EQ(result, HttpResult::Done);
    EXPECT_EQ(content, "reply body");
    EXPECT_FALSE(replay.mDemo.Failed());
}

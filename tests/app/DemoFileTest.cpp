// The demo file: version 2 with markers written and read back, version 1 without a marker
// block, refusal of a wrong magic, a foreign program version (read whole before comparing),
// a marker block that claims too much and a truncated file; numbered demos.
// Rerun one case: test_app --gtest_filter='DemoFile.*'
#include "TestApp.h"

#include "framework/app/AppCrashReportSource.h"
#include "framework/demo/DemoFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace Quoll;
using QuollTest::ScratchFolder;

namespace
{
void WriteBytes(const std::filesystem::path& path, const Buffer& buffer)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(buffer.GetDataPtr()), std::streamsize(buffer.GetDataSize()));
}

// The fixed part of a file up to and including the version text.
Buffer FileStart(uint32_t magic, int32_t version, const std::string& programVersion)
{
    Buffer file;
    file.WriteInt32(int32_t(magic));
    file.WriteInt32(version);
    file.WriteInt32(1234);
    file.WriteInt16(int16_t(programVersion.size()));
    file.WriteBytes(programVersion.data(), programVersion.size());
    return file;
}

std::string ReadError(const std::filesystem::path& path, const std::string& version = "1.0")
{
    DemoStream stream;
    uint32_t seed = 0;
    std::string error;
    EXPECT_FALSE(ReadDemoFile(path.string(), version, stream, seed, error));
    return error;
}
} // namespace

TEST(DemoFile, Version2KeepsSeedVersionMarkersLengthAndRecords)
{
    ScratchFolder folder("demofile");
    DemoStream recorded;
    recorded.WriteKey(DemoKind::KeyDown, 65, 3);
    recorded.WriteRecord(DemoKind::Close, 40);
    recorded.mMarkers = {{"boss", 30}, {"end", 40}};
    const std::string path = (folder / "a.dmo").string();
    ASSERT_TRUE(WriteDemoFile(path, 0xCAFE, "1.2.3", 41, recorded));

    DemoStream played;
    uint32_t seed = 0;
    std::string error;
    ASSERT_TRUE(ReadDemoFile(path, "1.2.3", played, seed, error)) << error;
    EXPECT_EQ(seed, 0xCAFEu);
    EXPECT_EQ(played.mLength, 41);
    EXPECT_EQ(played.mMarkers, recorded.mMarkers);
    ASSERT_EQ(played.Data().GetDataSize(), recorded.Data().GetDataSize());
    EXPECT_TRUE(std::equal(played.Data().GetDataPtr(), played.Data().GetDataPtr() + played.Data().GetDataSize(),
                           recorded.Data().GetDataPtr()));
    ASSERT_TRUE(played.ReadInput(3).has_value());
    EXPECT_TRUE(played.ReadHeader(40));

    // The header as stored: magic, version 2, seed, version text.
    const std::string bytes = QuollTest::ReadFileText(path);
    ASSERT_GE(bytes.size(), 19u);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x78\xEF\xBE\x42\x02\x00\x00\x00", 8));
    EXPECT_EQ(bytes.substr(12, 7), std::string("\x05\x00" "1.2.3", 7));
}

TEST(DemoFile, Version1HasNoMarkerBlockAndStillPlays)
{
    ScratchFolder folder("demofile");
    DemoStream records;
    records.WriteRecord(DemoKind::LoadingFinished, 5);
    Buffer file = FileStart(kDemoFileMagic, 1, "1.0");
    file.WriteInt32(6); // length
    file.WriteBytes(records.Data().GetDataPtr(), records.Data().GetDataSize());
    WriteBytes(folder / "v1.dmo", file);

    DemoStream played;
    uint32_t seed = 0;
    std::string error;
    ASSERT_TRUE(ReadDemoFile((folder / "v1.dmo").string(), "1.0", played, seed, error)) << error;
    EXPECT_EQ(seed, 1234u);
    EXPECT_EQ(played.mLength, 6);
    EXPECT_TRUE(played.mMarkers.empty());
    std::optional<DemoInput> input = played.ReadInput(5);
    ASSERT_TRUE(input.has_value());
    EXPECT_EQ(input->type, DemoInput::Type::LoadingFinished);
}

TEST(DemoFile, RefusesMissingFilesWrongMagicAndOtherProgramVersions)
{
    ScratchFolder folder("demofile");
    EXPECT_EQ(ReadError(folder / "none.dmo"), "Demo file not found: " + (folder / "none.dmo").string());

    Buffer wrongMagic = FileStart(0x42BEEF79, 2, "1.0");
    wrongMagic.WriteInt32(0);
    WriteBytes(folder / "magic.dmo", wrongMagic);
    EXPECT_EQ(ReadError(folder / "magic.dmo"), "Invalid demo file.");

    // A version text longer than 255 bytes is read whole, so the rest of the file still lines up.
    const std::string longVersion(300, 'v');
    DemoStream records;
    records.WriteRecord(DemoKind::Close, 0);
    ASSERT_TRUE(WriteDemoFile((folder / "long.dmo").string(), 1, longVersion, 1, records));
    EXPECT_EQ(ReadError(folder / "long.dmo"), "This demo file appears to be for '" + longVersion + "'");
    DemoStream played;
    uint32_t seed = 0;
    std::string error;
    EXPECT_TRUE(ReadDemoFile((folder / "long.dmo").string(), longVersion, played, seed, error)) << error;
}

TEST(DemoFile, RefusesMalformedMarkerBlocksAndTruncatedFiles)
{
    ScratchFolder folder("demofile");
    // A marker block not smaller than the bytes after it.
    Buffer tooLarge = FileStart(kDemoFileMagic, 2, "1.0");
    tooLarge.WriteInt32(8);
    tooLarge.WriteInt32(0);
    tooLarge.WriteInt32(0);
    WriteBytes(folder / "large.dmo", tooLarge);
    EXPECT_EQ(ReadError(folder / "large.dmo"), "Invalid demo file.");

    // A block that counts more markers than it holds.
    Buffer block;
    block.WriteInt32(3);
    block.WriteString("one");
    block.WriteInt32(10);
    Buffer fewer = FileStart(kDemoFileMagic, 2, "1.0");
    fewer.WriteInt32(int32_t(block.GetDataSize()));
    fewer.WriteBytes(block.GetDataPtr(), block.GetDataSize());
    fewer.WriteInt32(10);
    fewer.WriteByte(0x23);
    WriteBytes(folder / "fewer.dmo", fewer);
    EXPECT_EQ(ReadError(folder / "fewer.dmo"), "Invalid demo file.");

    // No records after the length, and a file cut inside its version text.
    Buffer noRecords = FileStart(kDemoFileMagic, 1, "1.0");
    noRecords.WriteInt32(10);
    WriteBytes(folder / "empty.dmo", noRecords);
    EXPECT_EQ(ReadError(folder / "empty.dmo"), "Invalid demo file.");
    Buffer shortText;
    shortText.WriteInt32(int32_t(kDemoFileMagic));
    shortText.WriteInt32(1);
    shortText.WriteInt32(0);
    shortText.WriteInt16(200);
    shortText.WriteBytes("1.0", 3);
    WriteBytes(folder / "cut.dmo", shortText);
    EXPECT_EQ(ReadError(folder / "cut.dmo"), "Invalid demo file.");
}

TEST(DemoFile, NumberedDemosTakeTheNextNumberAndDropTheOldest)
{
    ScratchFolder folder("demofile");
    const std::string prefix = (folder / "quollapp").string();
    EXPECT_EQ(FindHighestDemoNumber(prefix, 3, true), 0);
    for (int n : {1, 2, 3})
        std::ofstream(folder / ("quollapp" + std::to_string(n) + ".dmo")) << "demo";
    std::ofstream(folder / "quollappx.dmo") << "not numbered";

    EXPECT_EQ(FindHighestDemoNumber(prefix, 3, false), 3);
    EXPECT_TRUE(std::filesystem::exists(folder / "quollapp1.dmo"));
    EXPECT_EQ(FindHighestDemoNumber(prefix, 3, true), 3);
    EXPECT_FALSE(std::filesystem::exists(folder / "quollapp1.dmo"));
    EXPECT_TRUE(std::filesystem::exists(folder / "quollapp2.dmo"));
    EXPECT_EQ(NumberedDemoName(prefix, 4), prefix + "4.dmo");
}

TEST(DemoFile, ACrashClosesTheRecordingAndAttachesIt)
{
    ScratchFolder folder("demofile");
    QuollTest::TestApp app;
    app.mRecordingDemo = true;
    app.mDemoFileName = (folder / "crash.dmo").string();
    app.mUpdateCount = 12;
    app.mDemo.WriteKey(DemoKind::KeyDown, 65, 3);

    const CrashAppInfo info = AppCrashReportSource(app).Gather();
    EXPECT_TRUE(info.attach);
    EXPECT_EQ(info.attachmentPath, app.mDemoFileName);
    EXPECT_FALSE(app.mRecordingDemo); // nothing more is recorded after the crash

    DemoStream played;
    uint32_t seed = 0;
    std::string error;
    ASSERT_TRUE(ReadDemoFile(app.mDemoFileName, app.mProductVersion, played, seed, error)) << error;
    EXPECT_EQ(played.mLength, 12);
    ASSERT_TRUE(played.ReadInput(3).has_value());
    // The closing filler only moves the demo on to the crash's update, where it ends.
    EXPECT_FALSE(played.HoldsUpdate(11));
    EXPECT_TRUE(played.HoldsUpdate(12));
    EXPECT_TRUE(played.Ended());
}

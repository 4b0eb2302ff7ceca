// DemoStream: the record header and its fillers, pointer deltas against full positions,
// records decoded at the update counts they were written at, and the kind and update check
// that stops playback when the program and the demo disagree.
// Rerun one case: test_app --gtest_filter='DemoStream.*'
#include "framework/demo/DemoStream.h"

#include <gtest/gtest.h>

#include <vector>

using Quoll::Buffer;
using Quoll::DemoCompactKind;
using Quoll::DemoInput;
using Quoll::DemoKind;
using Quoll::DemoStream;

namespace
{
struct RawHeader
{
    int gap;
    bool compact;
    int kind;
};

RawHeader ReadRawHeader(Buffer& data)
{
    RawHeader header{};
    header.gap = data.ReadBits(4, false);
    header.compact = data.ReadBits(1, false) != 0;
    header.kind = data.ReadBits(header.compact ? 1 : 5, false);
    return header;
}

// A stream that plays what `recorded` wrote.
DemoStream PlaybackOf(const DemoStream& recorded)
{
    DemoStream playback;
    playback.Data().WriteBytes(recorded.Data().GetDataPtr(), recorded.Data().GetDataSize());
    return playback;
}

// Every input due at updates 0..last, in order, with the update it came at.
std::vector<std::pair<int, DemoInput>> PlayInputs(DemoStream& playback, int last)
{
    std::vector<std::pair<int, DemoInput>> inputs;
    for (int update = 0; update <= last; ++update)
        while (std::optional<DemoInput> input = playback.ReadInput(update))
            inputs.emplace_back(update, *input);
    return inputs;
}
} // namespace

TEST(DemoStream, HeaderPacksGapFormAndKindLeastSignificantBitFirst)
{
    DemoStream stream;
    stream.WriteRecord(DemoKind::LoadingFinished, 3);
    ASSERT_EQ(stream.Data().GetDataSize(), 2u);
    EXPECT_EQ(stream.Data().GetDataPtr()[0], 0x23); // gap 3, form 0, low kind bits 001
    EXPECT_EQ(stream.Data().GetDataPtr()[1], 0x01); // high kind bits 01
    EXPECT_EQ(stream.RecordIndex(), 0);
}

TEST(DemoStream, GapOfFortyIsWrittenAsTwoFillersAndTen)
{
    DemoStream stream;
    stream.WriteRecord(DemoKind::Close, 40);
    EXPECT_EQ(stream.RecordIndex(), 2);

    Buffer& data = stream.Data();
    const RawHeader first = ReadRawHeader(data);
    const RawHeader second = ReadRawHeader(data);
    const RawHeader third = ReadRawHeader(data);
    EXPECT_EQ(first.gap, 15);
    EXPECT_EQ(first.kind, int(DemoKind::Filler));
    EXPECT_EQ(second.gap, 15);
    EXPECT_EQ(second.kind, int(DemoKind::Filler));
    EXPECT_EQ(third.gap, 10);
    EXPECT_FALSE(third.compact);
    EXPECT_EQ(third.kind, int(DemoKind::Close));

    // Playback skips the fillers: the close is due at 40 and nothing before.
    DemoStream playback = PlaybackOf(stream);
    EXPECT_FALSE(playback.ReadHeader(39));
    EXPECT_TRUE(playback.ReadHeader(40));
}

TEST(DemoStream, PointerMovesBelow32AreCompactDeltasAndOthersFullPositions)
{
    DemoStream stream;
    stream.WriteMouseMove(100, 100, 0);                // full: from (0, 0)
    stream.WriteMouseMove(131, 69, 0);                 // compact: +31, -31
    stream.WriteMouseMove(163, 69, 0);                 // full: +32
    stream.WriteMouseMove(9000, -5, 1);                // clamped to (4095, 0)
    stream.WriteMouseMove(4095, 0, 1);                 // a message without movement: 0, 0
    EXPECT_EQ(stream.RecordIndex(), 4);

    Buffer& data = stream.Data();
    RawHeader header = ReadRawHeader(data);
    EXPECT_FALSE(header.compact);
    EXPECT_EQ(data.ReadBits(12, false), 100);
    EXPECT_EQ(data.ReadBits(12, false), 100);
    header = ReadRawHeader(data);
    EXPECT_TRUE(header.compact);
    EXPECT_EQ(header.kind, int(DemoCompactKind::MouseDelta));
    EXPECT_EQ(data.ReadBits(6, true), 31);
    EXPECT_EQ(data.ReadBits(6, true), -31);
    header = ReadRawHeader(data);
    EXPECT_FALSE(header.compact);
    EXPECT_EQ(header.kind, int(DemoKind::MouseMoveTo));

    DemoStream playback = PlaybackOf(stream);
    const auto inputs = PlayInputs(playback, 1);
    ASSERT_EQ(inputs.size(), 5u);
    EXPECT_EQ(inputs[1].second.x, 131);
    EXPECT_EQ(inputs[1].second.y, 69);
    EXPECT_EQ(inputs[2].second.x, 163);
    EXPECT_EQ(inputs[3].first, 1);
    EXPECT_EQ(inputs[3].second.x, 4095);
    EXPECT_EQ(inputs[3].second.y, 0);
    EXPECT_EQ(inputs[4].second.type, DemoInput::Type::MouseMove);
    EXPECT_EQ(inputs[4].second.x, 4095);
}

TEST(DemoStream, InputsReplayAtTheUpdatesTheyWereRecordedAt)
{
    using Type = DemoInput::Type;
    DemoStream stream;
    stream.WriteDisplayMode(true, 60, 0);
    stream.WriteMouseButton(10, 20, true, -2, 3);
    stream.WriteMouseButton(10, 20, false, -1, 3);
    stream.WriteKey(DemoKind::KeyDown, 0x41, 20);
    stream.WriteChar(U'\u00e9', 20);
    stream.WriteChar(U'\U0001F600', 20); // beyond 16 bits: two records
    stream.WriteKey(DemoKind::KeyUp, 0x41, 21);
    stream.WriteWheel(-3, 50);
    stream.WriteRecord(DemoKind::Activate, 51);
    stream.Data().WriteBits(0, 1);
    stream.WriteRecord(DemoKind::Minimise, 52);
    stream.Data().WriteBool(true);
    stream.WriteRecord(DemoKind::LoadingFinished, 60);
    stream.WriteRecord(DemoKind::Close, 61);

    DemoStream playback = PlaybackOf(stream);
    const auto inputs = PlayInputs(playback, 100);
    const std::vector<std::pair<int, Type>> expected = {
        {0, Type::DisplayMode}, {3, Type::MouseMove}, {3, Type::MouseDown}, {3, Type::MouseMove}, {3, Type::MouseUp},
        {20, Type::KeyDown},    {20, Type::Char},     {20, Type::Char},     {21, Type::KeyUp},
        {50, Type::Wheel},      {51, Type::Activate}, {52, Type::Minimise}, {60, Type::LoadingFinished},
        {61, Type::Close}};
    ASSERT_EQ(inputs.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ(inputs[i].first, expected[i].first) << "input " << i;
        EXPECT_EQ(inputs[i].second.type, expected[i].second) << "input " << i;
    }
    EXPECT_TRUE(inputs[0].second.flag);
    EXPECT_EQ(inputs[0].second.value, 60);
    EXPECT_EQ(inputs[2].second.value, -2);
    EXPECT_EQ(inputs[2].second.x, 10);
    EXPECT_EQ(inputs[4].second.value, -1);
    EXPECT_EQ(inputs[5].second.value, 0x41);
    EXPECT_EQ(inputs[6].second.value, 0xE9);
    EXPECT_EQ(inputs[7].second.value, 0x1F600);
    EXPECT_EQ(inputs[9].second.value, -3);
    EXPECT_FALSE(inputs[10].second.flag);
    EXPECT_TRUE(inputs[11].second.flag);
    EXPECT_FALSE(playback.Failed()) << playback.Error();

    // After the last record the replay holds at its update.
    EXPECT_TRUE(playback.Ended());
    EXPECT_FALSE(playback.HoldsUpdate(60));
    EXPECT_TRUE(playback.HoldsUpdate(61));
}

TEST(DemoStream, AnUpdateWaitsWhileARecordIsDueAtItsCount)
{
    DemoStream stream;
    stream.WriteKey(DemoKind::KeyDown, 13, 5);
    DemoStream playback = PlaybackOf(stream);
    EXPECT_FALSE(playback.HoldsUpdate(4));
    EXPECT_TRUE(playback.HoldsUpdate(5));
    ASSERT_TRUE(playback.ReadInput(5).has_value());
    EXPECT_TRUE(playback.Ended()); // only padding bits are left
    EXPECT_TRUE(playback.HoldsUpdate(5)); // the demo ends here
}

TEST(DemoStream, OperationRecordsAndSyncBuffersRoundTrip)
{
    DemoStream stream;
    stream.WriteRecord(DemoKind::RegistryWrite, 7);
    stream.Data().WriteBits(1, 1);
    Buffer clipboard;
    clipboard.WriteString("pasted text");
    stream.WriteSyncBuffer(clipboard, 9);

    DemoStream playback = PlaybackOf(stream);
    ASSERT_TRUE(playback.ExpectRecord(DemoKind::RegistryWrite, 7));
    EXPECT_EQ(playback.Data().ReadBits(1, false), 1);
    playback.EndRecord();
    Buffer replayed;
    ASSERT_TRUE(playback.ReadSyncBuffer(replayed, 9));
    EXPECT_EQ(replayed.ReadString(), "pasted text");
    EXPECT_FALSE(playback.Failed());
}

TEST(DemoStream, AKindMismatchStopsPlaybackNamingTheUpdateAndRecord)
{
    DemoStream stream;
    stream.WriteKey(DemoKind::KeyDown, 65, 2);
    stream.WriteRecord(DemoKind::RegistryRead, 4);
    stream.Data().WriteBits(0, 1);

    DemoStream playback = PlaybackOf(stream);
    ASSERT_TRUE(playback.ReadInput(2).has_value());
    EXPECT_FALSE(playback.ExpectRecord(DemoKind::FileRead, 4));
    EXPECT_TRUE(playback.Failed());
    EXPECT_NE(playback.Error().find("update 4, record 1"), std::string::npos) << playback.Error();
    EXPECT_NE(playback.Error().find("kind 15"), std::string::npos) << playback.Error();
    EXPECT_NE(playback.Error().find("kind 11"), std::string::npos) << playback.Error();

    // Nothing more is read, and the replay makes no further update.
    EXPECT_FALSE(playback.ExpectRecord(DemoKind::RegistryRead, 4));
    EXPECT_FALSE(playback.ReadInput(4).has_value());
    EXPECT_TRUE(playback.HoldsUpdate(4));
}

TEST(DemoStream, ARecordReadAtAnotherUpdateOrPastTheEndFails)
{
    DemoStream stream;
    stream.WriteRecord(DemoKind::FileExists, 10);
    stream.Data().WriteBits(1, 1);

    DemoStream early = PlaybackOf(stream);
    EXPECT_FALSE(early.ExpectRecord(DemoKind::FileExists, 8));
    EXPECT_NE(early.Error().find("update 8"), std::string::npos) << early.Error();

    DemoStream late = PlaybackOf(stream);
    ASSERT_TRUE(late.ExpectRecord(DemoKind::FileExists, 10));
    EXPECT_EQ(late.Data().ReadBits(1, false), 1);
    late.EndRecord();
    EXPECT_FALSE(late.ExpectRecord(DemoKind::FileExists, 10));
    EXPECT_NE(late.Error().find("no more records"), std::string::npos) << late.Error();
}

TEST(DemoStream, TheInputLoopRefusesAnOperationsRecord)
{
    DemoStream stream;
    stream.WriteRecord(DemoKind::FileRead, 0);
    stream.Data().WriteBits(0, 1);
    DemoStream playback = PlaybackOf(stream);
    EXPECT_FALSE(playback.ReadInput(0).has_value());
    EXPECT_TRUE(playback.Failed());
}

TEST(DemoStream, ASyncBufferLongerThanTheDemoFails)
{
    DemoStream stream;
    stream.WriteRecord(DemoKind::SyncBuffer, 0);
    stream.Data().WriteInt32(1000);
    stream.Data().WriteByte(1);
    DemoStream playback = PlaybackOf(stream);
    Buffer value;
    value.WriteByte(42);
    EXPECT_FALSE(playback.ReadSyncBuffer(value, 0));
    EXPECT_TRUE(playback.Failed());
    EXPECT_EQ(value.GetDataSize(), 1u);
}

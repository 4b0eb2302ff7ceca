// Buffer: bit-level packing, little-endian integers, strings, reads past the end, and positions
// beyond 2^31 bits (one test of about 512 MiB).
// Rerun one case: test_app --gtest_filter='Buffer.*'
#include "framework/core/Buffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <type_traits>
#include <vector>

using Quoll::Buffer;

namespace
{
std::vector<uint8_t> Bytes(const Buffer& buffer)
{
    const uint8_t* p = buffer.GetDataPtr();
    return p ? std::vector<uint8_t>(p, p + buffer.GetDataSize()) : std::vector<uint8_t>{};
}
} // namespace

static_assert(std::is_copy_constructible_v<Buffer> && std::is_move_constructible_v<Buffer>);

TEST(Buffer, ByteWriteAtOddBitOffsetSplitsAcrossBytes)
{
    Buffer b;
    b.WriteBits(0x05, 3);
    b.WriteByte(0xAB);
    EXPECT_EQ(Bytes(b), (std::vector<uint8_t>{0x5D, 0x05}));
    EXPECT_EQ(b.GetWriteBitPos(), 11u);
}

TEST(Buffer, BitsThenByteRoundTrip)
{
    Buffer b;
    b.WriteBits(5, 3);
    b.WriteByte(0xFF);
    EXPECT_EQ(Bytes(b), (std::vector<uint8_t>{0xFD, 0x07}));
    EXPECT_EQ(b.GetDataSize(), 2u);
    EXPECT_EQ(b.ReadBits(3, false), 5);
    EXPECT_EQ(b.ReadByte(), 0xFF);
}

TEST(Buffer, SignExtension)
{
    Buffer b;
    b.WriteBits(0b1011, 4);
    EXPECT_EQ(b.ReadBits(4, true), -5);
    b.SeekReadStart();
    EXPECT_EQ(b.ReadBits(4, false), 11);
    b.SeekReadStart();
    EXPECT_EQ(b.ReadBits(32, true), 11) << "a short read stops at the data and keeps its sign bit";
}

TEST(Buffer, Int32IsLittleEndian)
{
    Buffer b;
    b.WriteInt32(258);
    b.WriteInt32(-2);
    EXPECT_EQ(Bytes(b), (std::vector<uint8_t>{0x02, 0x01, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(b.ReadInt32(), 258);
    EXPECT_EQ(b.ReadInt32(), -2);
    EXPECT_EQ(b.ReadInt32(), 0) << "past the end";
}

TEST(Buffer, StringsAndTheirLengthLimit)
{
    Buffer b;
    b.WriteString("abc");
    EXPECT_EQ(Bytes(b), (std::vector<uint8_t>{3, 0, 'a', 'b', 'c'}));
    EXPECT_EQ(b.ReadString(), "abc");

    Buffer big;
    big.WriteString(std::string(40000, 'x'));
    big.WriteInt32(77);
    EXPECT_EQ(big.ReadString().size(), Buffer::kMaxStringLength);
    EXPECT_EQ(big.ReadInt32(), 77) << "what follows an overlong string stays in step";

    Buffer bad;
    const uint8_t raw[] = {0x00, 0x80, 'z'};
    bad.SetData(raw, sizeof raw);
    EXPECT_EQ(bad.ReadString(), "");
    EXPECT_EQ(bad.GetReadBitPos(), 16u) << "only the length bytes are consumed";
}

TEST(Buffer, EmptyBufferReadsZeroAndIsAtEnd)
{
    Buffer b;
    EXPECT_EQ(b.GetDataPtr(), nullptr);
    EXPECT_EQ(b.ReadByte(), 0);
    EXPECT_FALSE(b.ReadBool());
    EXPECT_EQ(b.ReadString(), "");
    EXPECT_TRUE(b.AtEnd());
}

TEST(Buffer, ReadLineDropsCarriageReturns)
{
    Buffer b;
    const char raw[] = {'a', 'b', '\r', '\n', 'c', 'd'};
    b.SetData(raw, sizeof raw);
    EXPECT_EQ(b.ReadLine(), "ab");
    EXPECT_EQ(b.ReadLine(), "cd");
    EXPECT_TRUE(b.AtEnd());
}

TEST(Buffer, MixedFieldsAtEveryBitOffsetRoundTrip)
{
    std::mt19937 rng(12345);
    for (int start = 0; start < 8; ++start)
    {
        Buffer b;
        b.WriteBits(0x55, start);
        const uint8_t byte = static_cast<uint8_t>(rng());
        const auto i16 = static_cast<int16_t>(rng());
        const auto i32 = static_cast<int32_t>(rng());
        const uint32_t bits = rng() & 0x1FFF;
        b.WriteByte(byte);
        b.WriteInt16(i16);
        b.WriteBool(true);
        b.WriteBits(bits, 13);
        b.WriteInt32(i32);
        b.WriteString("hex");
        const uint8_t raw[3] = {1, 2, 3};
        b.WriteBytes(raw, 3);

        EXPECT_EQ(b.ReadBits(start, false), static_cast<int32_t>(0x55u & ((1u << start) - 1)));
        EXPECT_EQ(b.ReadByte(), byte) << "start " << start;
        EXPECT_EQ(b.ReadInt16(), i16);
        EXPECT_TRUE(b.ReadBool());
        EXPECT_EQ(b.ReadBits(13, false), static_cast<int32_t>(bits));
        EXPECT_EQ(b.ReadInt32(), i32);
        EXPECT_EQ(b.ReadString(), "hex");
        uint8_t back[3] = {};
        b.ReadBytes(back, 3);
        EXPECT_EQ(back[2], 3);
        EXPECT_TRUE(b.AtEnd());
        EXPECT_EQ(b.ReadByte(), 0);
    }
}

TEST(Buffer, ClearResetsEverything)
{
    Buffer b;
    b.WriteInt32(5);
    b.ReadByte();
    b.Clear();
    EXPECT_EQ(b.GetDataSize(), 0u);
    EXPECT_EQ(b.GetReadBitPos(), 0u);
    EXPECT_EQ(b.GetWriteBitPos(), 0u);
}

TEST(Buffer, PositionsPastTwoToTheThirtyOneBitsWriteAndReadBack)
{
    // One write of 256 MiB and 4 bytes, every 4 KiB block tagged with its number, then fields at
    // an odd bit offset behind it: every position involved lies past 2^31 bits.
    constexpr size_t kBlock = 4096;
    constexpr size_t kBytes = (size_t{1} << 28) + 4;
    Buffer b;
    {
        std::vector<uint8_t> source(kBytes, 0xA5);
        for (size_t at = 0; at + 4 <= kBytes; at += kBlock)
            std::memcpy(&source[at], &at, 4);
        b.WriteBytes(source.data(), source.size());
    }
    b.WriteBits(0x5, 3);
    b.WriteInt32(-123456789);
    b.WriteString("tail");
    const size_t tailBits = 3 + 32 + 16 + 32;
    EXPECT_EQ(b.GetWriteBitPos(), kBytes * 8 + tailBits);
    EXPECT_EQ(b.GetDataBitCount(), kBytes * 8 + tailBits);
    EXPECT_EQ(b.GetDataSize(), kBytes + (tailBits + 7) / 8);

    std::vector<uint8_t> chunk(1 << 20);
    bool tagsMatch = true;
    for (size_t at = 0; at < kBytes; at += chunk.size())
    {
        const size_t count = std::min(chunk.size(), kBytes - at);
        b.ReadBytes(chunk.data(), count);
        for (size_t offset = 0; offset < count; offset += kBlock)
        {
            uint32_t tag = 0;
            std::memcpy(&tag, &chunk[offset], std::min<size_t>(4, count - offset));
            tagsMatch = tagsMatch && tag == static_cast<uint32_t>(at + offset);
        }
    }
    EXPECT_TRUE(tagsMatch);
    EXPECT_EQ(b.GetReadBitPos(), kBytes * 8);
    EXPECT_EQ(b.ReadBits(3, false), 5);
    EXPECT_EQ(b.ReadInt32(), -123456789);
    EXPECT_EQ(b.ReadString(), "tail");
    EXPECT_EQ(b.GetBitsLeft(), 0u);
    // Whole bytes past the end read as zeros and leave the position where it is.
    uint8_t past[4] = {1, 1, 1, 1};
    Buffer small;
    small.WriteByte(7);
    small.ReadBytes(past, 4);
    EXPECT_EQ(std::vector<uint8_t>(past, past + 4), (std::vector<uint8_t>{7, 0, 0, 0}));
    EXPECT_EQ(small.GetReadBitPos(), 8u);
}

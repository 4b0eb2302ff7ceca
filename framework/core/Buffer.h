#pragma once
// A growable byte array seen as a least-significant-bit-first bit stream, with separate
// read and write positions counted in bits. Every binary file and record of the program is
// built in or parsed from one. Multi-byte integers are little-endian. Reads past the end
// yield zeros without advancing; callers detect truncation by their own markers and AtEnd().
// Positions are 64-bit: a buffer may hold more than 2^31 bits (256 MiB).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Quoll
{
class Buffer
{
public:
    // Longest string WriteString stores: the length field is read back as signed 16 bits.
    static constexpr size_t kMaxStringLength = 32767;

    Buffer() = default;
    virtual ~Buffer() = default;

    void WriteByte(uint8_t value);
    void WriteBits(uint32_t value, int bitCount);
    void WriteBool(bool value);
    void WriteInt16(int16_t value);
    void WriteInt32(int32_t value);
    // Strings longer than kMaxStringLength are cut to it (with a debug warning).
    void WriteString(const std::string& text);
    void WriteBytes(const void* data, size_t count);

    uint8_t ReadByte();
    int32_t ReadBits(int bitCount, bool signExtend);
    bool ReadBool();
    int16_t ReadInt16();
    int32_t ReadInt32();
    std::string ReadString();
    std::string ReadLine();
    void ReadBytes(void* data, size_t count);

    void Clear();
    void SeekReadStart() { mReadBitPos = 0; }
    // Replaces the contents by a copy of the bytes; positions are left as they are.
    void SetData(const void* data, size_t count);
    [[nodiscard]] const uint8_t* GetDataPtr() const { return mData.empty() ? nullptr : mData.data(); }
    [[nodiscard]] size_t GetDataSize() const { return (mDataBitCount + 7) / 8; }
    [[nodiscard]] bool AtEnd() const { return mReadBitPos >= mDataBitCount; }

    [[nodiscard]] size_t GetReadBitPos() const { return mReadBitPos; }
    [[nodiscard]] size_t GetWriteBitPos() const { return mWriteBitPos; }
    [[nodiscard]] size_t GetDataBitCount() const { return mDataBitCount; }
    // Meaningful bits from the read position on; 0 when it lies at or past the end.
    [[nodiscard]] size_t GetBitsLeft() const { return mDataBitCount > mReadBitPos ? mDataBitCount - mReadBitPos : 0; }

private:
    void RaiseDataBitCount();

    std::vector<uint8_t> mData;
    size_t mDataBitCount = 0;
    size_t mReadBitPos = 0;
    size_t mWriteBitPos = 0;
};
} // namespace Quoll

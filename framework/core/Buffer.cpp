#include "framework/core/Buffer.h"

#include "framework/core/DebugOutput.h"

#include <algorithm>

namespace Quoll
{
void Buffer::RaiseDataBitCount() { mDataBitCount = std::max(mDataBitCount, mWriteBitPos); }

void Buffer::WriteByte(uint8_t value)
{
    const auto offset = static_cast<unsigned>(mWriteBitPos % 8);
    if (offset == 0)
    {
        mData.push_back(value);
    }
    else
    {
        // Low 8-offset bits complete the current byte, the high bits start a new one.
        mData[mWriteBitPos / 8] |= static_cast<uint8_t>(value << offset);
        mData.push_back(static_cast<uint8_t>(value >> (8 - offset)));
    }
    mWriteBitPos += 8;
    RaiseDataBitCount();
}

void Buffer::WriteBits(uint32_t value, int bitCount)
{
    for (int i = 0; i < bitCount; ++i)
    {
        if (mWriteBitPos % 8 == 0)
            mData.push_back(0);
        if ((value >> i) & 1u)
            mData[mWriteBitPos / 8] |= static_cast<uint8_t>(1u << (mWriteBitPos % 8));
        ++mWriteBitPos;
    }
    RaiseDataBitCount();
}

void Buffer::WriteBool(bool value) { WriteByte(value ? 1 : 0); }

void Buffer::WriteInt16(int16_t value)
{
    const auto bits = static_cast<uint16_t>(value);
    WriteByte(static_cast<uint8_t>(bits));
    WriteByte(static_cast<uint8_t>(bits >> 8));
}

void Buffer::WriteInt32(int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        WriteByte(static_cast<uint8_t>(bits >> shift));
}

void Buffer::WriteString(const std::string& text)
{
    size_t length = text.size();
    if (length > kMaxStringLength)
    {
        OutputDebugText("Buffer::WriteString: string of " + std::to_string(length) +
                        " bytes cut to 32767\n");
        length = kMaxStringLength;
    }
    WriteInt16(static_cast<int16_t>(length));
    WriteBytes(text.data(), length);
}

void Buffer::WriteBytes(const void* data, size_t count)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (mWriteBitPos % 8 == 0)
    {
        mData.insert(mData.end(), bytes, bytes + count);
        mWriteBitPos += count * 8;
        RaiseDataBitCount();
        return;
    }
    for (size_t i = 0; i < count; ++i)
        WriteByte(bytes[i]);
}

uint8_t Buffer::ReadByte()
{
    const size_t byteIndex = mReadBitPos / 8;
    const auto offset = static_cast<unsigned>(mReadBitPos % 8);
    // The byte holding the last bit we need must exist.
    if ((mReadBitPos + 7) / 8 >= mData.size())
        return 0;
    uint8_t result = mData[byteIndex];
    if (offset != 0)
        result = static_cast<uint8_t>((mData[byteIndex] >> offset) | (mData[byteIndex + 1] << (8 - offset)));
    mReadBitPos += 8;
    return result;
}

int32_t Buffer::ReadBits(int bitCount, bool signExtend)
{
    uint32_t result = 0;
    uint32_t mask = 1;
    bool lastBit = false;
    for (int i = 0; i < bitCount; ++i)
    {
        const size_t byteIndex = mReadBitPos / 8;
        if (byteIndex >= mData.size())
            break;
        lastBit = (mData[byteIndex] >> (mReadBitPos % 8)) & 1u;
        if (lastBit)
            result |= mask;
        ++mReadBitPos;
        mask <<= 1;
    }
    if (signExtend && lastBit && bitCount < 32)
        result |= ~0u << bitCount;
    return static_cast<int32_t>(result);
}

bool Buffer::ReadBool() { return ReadByte() != 0; }

int16_t Buffer::ReadInt16()
{
    const uint16_t low = ReadByte();
    const uint16_t high = ReadByte();
    return static_cast<int16_t>(low | (high << 8));
}

int32_t Buffer::ReadInt32()
{
    uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8)
        value |= static_cast<uint32_t>(ReadByte()) << shift;
    return static_cast<int32_t>(value);
}

std::string Buffer::ReadString()
{
    const int length = ReadInt16();
    if (length < 1)
        return {};
    std::string text(static_cast<size_t>(length), '\0');
    ReadBytes(text.data(), text.size());
    return text;
}

std::string Buffer::ReadLine()
{
    std::string line;
    for (;;)
    {
        const uint8_t c = ReadByte();
        if (c == 0 || c == '\n')
            break;
        if (c != '\r')
            line.push_back(static_cast<char>(c));
    }
    return line;
}

void Buffer::ReadBytes(void* data, size_t count)
{
    auto* bytes = static_cast<uint8_t*>(data);
    if (mReadBitPos % 8 == 0)
    {
        // Whole bytes copy at once; those past the end read as zeros, as ReadByte gives them.
        const size_t first = mReadBitPos / 8;
        const size_t present = first < mData.size() ? std::min(count, mData.size() - first) : 0;
        if (present > 0)
            std::copy_n(mData.data() + first, present, bytes);
        std::fill_n(bytes + present, count - present, uint8_t{0});
        mReadBitPos += present * 8;
        return;
    }
    for (size_t i = 0; i < count; ++i)
        bytes[i] = ReadByte();
}

void Buffer::Clear()
{
    mData.clear();
    mData.shrink_to_fit();
    mDataBitCount = 0;
    mReadBitPos = 0;
    mWriteBitPos = 0;
}

void Buffer::SetData(const void* data, size_t count)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    mData.assign(bytes, bytes + count);
    mDataBitCount = count * 8;
}
} // namespace Quoll

#include "game/board/CheckedReader.h"

namespace
{
constexpr size_t kLengthBytes = 2;
}

size_t CheckedReader::BytesLeft() const
{
    return mBuffer.GetBitsLeft() / 8;
}

uint8_t CheckedReader::PeekByte(size_t offset) const
{
    // The byte that starts offset bytes after the read position, which may lie inside a byte.
    const size_t bitPos = mBuffer.GetReadBitPos() + offset * 8;
    const uint8_t* data = mBuffer.GetDataPtr();
    const size_t index = bitPos / 8;
    const unsigned shift = bitPos % 8;
    if (shift == 0)
        return data[index];
    return static_cast<uint8_t>((data[index] >> shift) | (data[index + 1] << (8 - shift)));
}

bool CheckedReader::ReadBytes(void* data, size_t count)
{
    if (BytesLeft() < count)
        return false;
    if (count > 0)
        mBuffer.ReadBytes(data, count);
    return true;
}

bool CheckedReader::ReadInt32(int32_t& value)
{
    if (BytesLeft() < 4)
        return false;
    value = mBuffer.ReadInt32();
    return true;
}

bool CheckedReader::ReadString(std::string& text)
{
    if (BytesLeft() < kLengthBytes)
        return false;
    const int length = static_cast<int16_t>(PeekByte(0) | (PeekByte(1) << 8));
    if (length < 0 || BytesLeft() < kLengthBytes + static_cast<size_t>(length))
        return false;
    mBuffer.ReadInt16();
    text.assign(static_cast<size_t>(length), '\0');
    if (length > 0)
        mBuffer.ReadBytes(text.data(), text.size());
    return true;
}

bool CheckedReader::PeekMagic(std::string_view magic) const
{
    if (BytesLeft() < kLengthBytes + magic.size())
        return false;
    if (PeekByte(0) != (magic.size() & 0xFF) || PeekByte(1) != (magic.size() >> 8))
        return false;
    for (size_t i = 0; i < magic.size(); ++i)
        if (PeekByte(kLengthBytes + i) != static_cast<uint8_t>(magic[i]))
            return false;
    return true;
}

bool CheckedReader::SkipMagic(std::string_view magic)
{
    if (!PeekMagic(magic))
        return false;
    std::string text;
    return ReadString(text);
}

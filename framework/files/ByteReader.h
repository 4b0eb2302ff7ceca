#pragma once
// A bounds-checked little-endian reader over a block of memory. A read that would pass the
// end reads nothing, returns false and leaves the position where it was.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace Quoll
{
class ByteReader
{
public:
    ByteReader(const uint8_t* data, size_t size) : mData(data), mSize(size) {}

    [[nodiscard]] size_t GetPosition() const { return mPos; }
    [[nodiscard]] size_t GetRemaining() const { return mSize - mPos; }

    bool Skip(size_t count)
    {
        if (count > GetRemaining())
            return false;
        mPos += count;
        return true;
    }
    bool ReadBytes(void* out, size_t count)
    {
        if (count > GetRemaining())
            return false;
        if (count > 0)
            std::memcpy(out, mData + mPos, count);
        mPos += count;
        return true;
    }
    // A pointer to the next count bytes without copying them.
    const uint8_t* Take(size_t count)
    {
        if (count > GetRemaining())
            return nullptr;
        const uint8_t* at = mData + mPos;
        mPos += count;
        return at;
    }
    bool ReadU8(uint8_t& out) { return ReadLittle(out); }
    bool ReadU16(uint16_t& out) { return ReadLittle(out); }
    bool ReadU32(uint32_t& out) { return ReadLittle(out); }
    bool ReadU64(uint64_t& out) { return ReadLittle(out); }

private:
    template <typename T> bool ReadLittle(T& out)
    {
        if (sizeof(T) > GetRemaining())
            return false;
        T value = 0;
        for (size_t i = 0; i < sizeof(T); ++i)
            value |= static_cast<T>(static_cast<T>(mData[mPos + i]) << (8 * i));
        mPos += sizeof(T);
        out = value;
        return true;
    }

    const uint8_t* mData;
    size_t mSize;
    size_t mPos = 0;
};
} // namespace Quoll

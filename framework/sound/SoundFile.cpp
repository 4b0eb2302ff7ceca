// Sound files over the framework's file calls.
#include "framework/sound/SoundFile.h"

#include "framework/files/PakInterface.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace Quoll
{
namespace
{
// Sounds are read through the pack-file calls: from a mounted pack, else from the disk.
namespace SoundIo = Quoll;

SoundIo::PakFileHandle* Handle(void* handle)
{
    return static_cast<SoundIo::PakFileHandle*>(handle);
}
} // namespace

SoundFile::~SoundFile()
{
    Close();
}

SoundFile::SoundFile(SoundFile&& other) noexcept
    : mHandle(std::exchange(other.mHandle, nullptr)), mSize(std::exchange(other.mSize, 0))
{
}

SoundFile& SoundFile::operator=(SoundFile&& other) noexcept
{
    if (this != &other)
    {
        Close();
        mHandle = std::exchange(other.mHandle, nullptr);
        mSize = std::exchange(other.mSize, 0);
    }
    return *this;
}

bool SoundFile::Open(const std::string& name)
{
    Close();
    return Attach(SoundIo::PakFOpen(name, "rb"));
}

bool SoundFile::OpenMemory(std::span<const uint8_t> bytes)
{
    Close();
    return Attach(SoundIo::PakFOpenMemory(bytes.data(), bytes.size()));
}

bool SoundFile::Attach(void* handle)
{
    mHandle = handle;
    if (!mHandle)
        return false;
    if (SoundIo::PakFSeek(Handle(mHandle), 0, SEEK_END) != 0)
    {
        Close();
        return false;
    }
    mSize = SoundIo::PakFTell(Handle(mHandle));
    if (mSize < 0 || SoundIo::PakFSeek(Handle(mHandle), 0, SEEK_SET) != 0)
    {
        Close();
        return false;
    }
    return true;
}

void SoundFile::Close()
{
    if (mHandle)
        SoundIo::PakFClose(Handle(mHandle));
    mHandle = nullptr;
    mSize = 0;
}

size_t SoundFile::Read(void* destination, size_t size, size_t count)
{
    if (!mHandle || size == 0 || count == 0)
        return 0;
    return SoundIo::PakFRead(destination, size, count, Handle(mHandle));
}

bool SoundFile::ReadBytes(void* destination, size_t bytes)
{
    return bytes == 0 || Read(destination, 1, bytes) == bytes;
}

bool SoundFile::ReadTag(char (&tag)[4])
{
    return ReadBytes(tag, 4);
}

bool SoundFile::ReadU8(uint8_t& value)
{
    return ReadBytes(&value, 1);
}

bool SoundFile::ReadU16(uint16_t& value)
{
    uint8_t b[2];
    if (!ReadBytes(b, 2))
        return false;
    value = uint16_t(b[0] | (b[1] << 8));
    return true;
}

bool SoundFile::ReadU32(uint32_t& value)
{
    uint8_t b[4];
    if (!ReadBytes(b, 4))
        return false;
    value = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    return true;
}

bool SoundFile::ReadU64(uint64_t& value)
{
    uint32_t low = 0;
    uint32_t high = 0;
    if (!ReadU32(low) || !ReadU32(high))
        return false;
    value = uint64_t(high) << 32 | low;
    return true;
}

bool SoundFile::ReadU32BigEndian(uint32_t& value)
{
    uint8_t b[4];
    if (!ReadBytes(b, 4))
        return false;
    value = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | uint32_t(b[3]);
    return true;
}

bool SoundFile::Seek(int64_t offset, int origin)
{
    if (!mHandle || offset < -0x7FFFFFFFll || offset > 0x7FFFFFFFll)
        return false;
    return SoundIo::PakFSeek(Handle(mHandle), long(offset), origin) == 0;
}

int64_t SoundFile::Tell() const
{
    return mHandle ? SoundIo::PakFTell(Handle(mHandle)) : 0;
}

int64_t SoundFile::Remaining() const
{
    const int64_t at = Tell();
    return at >= mSize ? 0 : mSize - at;
}
} // namespace Quoll

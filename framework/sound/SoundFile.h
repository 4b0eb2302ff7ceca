#pragma once
// A sound file opened for reading through the framework's file calls, with bounds-checked
// little- and big-endian readers. Every read reports whether it got all its bytes; Remaining
// tells how many bytes a header may still claim. Move-only; closes itself.
#include <cstdint>
#include <span>
#include <string>

namespace Quoll
{
class SoundFile
{
public:
    SoundFile() = default;
    ~SoundFile();
    SoundFile(SoundFile&& other) noexcept;
    SoundFile& operator=(SoundFile&& other) noexcept;
    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;

    bool Open(const std::string& name);
    // Reads the caller's bytes, which must outlive the open file.
    bool OpenMemory(std::span<const uint8_t> bytes);
    void Close();
    bool IsOpen() const { return mHandle != nullptr; }

    // Up to `count` elements of `size` bytes; the number of whole elements read.
    size_t Read(void* destination, size_t size, size_t count);
    bool ReadBytes(void* destination, size_t bytes);
    bool ReadTag(char (&tag)[4]);
    bool ReadU8(uint8_t& value);
    bool ReadU16(uint16_t& value);
    bool ReadU32(uint32_t& value);
    bool ReadU64(uint64_t& value);
    bool ReadU32BigEndian(uint32_t& value);

    bool Seek(int64_t offset, int origin);
    int64_t Tell() const;
    int64_t Size() const { return mSize; }
    int64_t Remaining() const;
    bool AtEnd() const { return Tell() >= mSize; }

private:
    bool Attach(void* handle);

    void* mHandle = nullptr;
    int64_t mSize = 0;
};
} // namespace Quoll

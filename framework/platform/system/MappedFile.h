#pragma once
// A file mapped read-only into memory (pack files are read this way). Move-only.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace Quoll::Platform
{
class MappedFile
{
public:
    MappedFile() = default;
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile() { Close(); }

    // Maps the whole file (its path resolved as ResolvePathCase does); false when it
    // cannot be opened or mapped, leaving the object closed. An empty file maps to an
    // open object with no bytes.
    [[nodiscard]] bool Open(std::string_view path);
    void Close();

    bool IsOpen() const { return mOpen; }
    std::span<const uint8_t> Bytes() const { return {mData, mSize}; }
    size_t Size() const { return mSize; }

private:
    const uint8_t* mData = nullptr;
    size_t mSize = 0;
    bool mOpen = false;
};
} // namespace Quoll::Platform

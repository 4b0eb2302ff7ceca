#include "framework/files/PakFormat.h"

#include "framework/files/ByteReader.h"
#include "framework/files/PakScrambler.h"

namespace Quoll
{
namespace
{
struct PakHeader
{
    uint32_t magic = 0;
    uint32_t version = 0;
    uint32_t keyCheck = 0;
    uint32_t entryCount = 0;
    uint32_t directorySize = 0;
};

bool ReadHeader(const uint8_t* file, uint64_t fileSize, PakHeader& header)
{
    if (fileSize < PakFormat::kHeaderSize)
        return false;
    ByteReader reader(file, PakFormat::kHeaderSize);
    return reader.ReadU32(header.magic) && reader.ReadU32(header.version) &&
           reader.ReadU32(header.keyCheck) && reader.ReadU32(header.entryCount) &&
           reader.ReadU32(header.directorySize);
}

bool ReadEntry(ByteReader& reader, uint64_t dataStart, uint64_t dataSize, PakEntry& entry, std::string& error)
{
    uint16_t nameLength = 0;
    if (!reader.ReadU16(nameLength))
        return error = "directory truncated", false;
    if (nameLength == 0 || nameLength > PakFormat::kMaxNameLength)
        return error = "bad name length", false;
    const uint8_t* name = reader.Take(nameLength);
    uint64_t offset = 0;
    uint64_t size = 0;
    if (name == nullptr || !reader.ReadU64(offset) || !reader.ReadU64(size))
        return error = "directory truncated", false;
    entry.name.assign(reinterpret_cast<const char*>(name), nameLength);
    if (entry.name.find('\0') != std::string::npos)
        return error = "bad name", false;
    // Overflow-safe form of offset + size <= dataSize.
    if (offset > dataSize || size > dataSize - offset)
        return error = "entry outside the data area: " + entry.name, false;
    entry.dataOffset = dataStart + offset;
    entry.size = size;
    return true;
}
} // namespace

bool ParsePakFile(const uint8_t* file, uint64_t fileSize, uint64_t key, std::vector<PakEntry>& entries,
                  std::string& error)
{
    // 1. Header: magic, version and the password's check value.
    PakHeader header;
    if (!ReadHeader(file, fileSize, header))
        return error = "file too short", false;
    if (header.magic != PakFormat::kMagic)
        return error = "not a pack file", false;
    if (header.version != PakFormat::kVersion)
        return error = "unsupported version " + std::to_string(header.version), false;
    if (header.keyCheck != PakScrambler::KeyCheck(key))
        return error = "wrong password", false;

    // 2. The directory must lie inside the file and hold at least the smallest entries.
    const uint64_t directoryEnd = uint64_t{PakFormat::kHeaderSize} + header.directorySize;
    if (directoryEnd > fileSize)
        return error = "directory outside the file", false;
    if (header.entryCount > header.directorySize / (PakFormat::kEntryFixedSize + 1))
        return error = "entry count too large", false;

    // 3. Unscramble the directory and read each entry, checking it against the data area.
    std::vector<uint8_t> directory(header.directorySize);
    PakScrambler::Apply(key, PakFormat::kHeaderSize, file + PakFormat::kHeaderSize, directory.data(),
                        directory.size());
    ByteReader reader(directory.data(), directory.size());
    std::vector<PakEntry> parsed(header.entryCount);
    for (PakEntry& entry : parsed)
        if (!ReadEntry(reader, directoryEnd, fileSize - directoryEnd, entry, error))
            return false;
    if (reader.GetRemaining() != 0)
        return error = "directory size does not match its entries", false;
    entries = std::move(parsed);
    return true;
}
} // namespace Quoll

#pragma once
// The layout of our pack files ("main.pak"), shared by the reader and the pack builder.
//
// Little-endian throughout:
//   offset 0  u32 magic 0x4B415051 (the bytes "QPAK")
//          4  u32 version (1)
//          8  u32 key check: tells a wrong password from a corrupt file
//         12  u32 entry count
//         16  u32 directory size in bytes
//         20  directory: per entry u16 name length (1..kMaxNameLength), the name in UTF-8
//             with '/' separators, u64 data offset (from the start of the data area),
//             u64 size
//         20 + directory size: data area, the files back to back
// Everything after the header is scrambled with PakScrambler, keyed by the password and by
// the byte's offset in the file. This hides the data from casual browsing; it is not
// security.
#include <cstdint>
#include <string>
#include <vector>

namespace Quoll
{
struct PakFormat
{
    static constexpr uint32_t kMagic = 0x4B415051;
    static constexpr uint32_t kVersion = 1;
    static constexpr uint32_t kHeaderSize = 20;
    static constexpr uint32_t kMaxNameLength = 1024;
    static constexpr uint32_t kEntryFixedSize = 2 + 8 + 8;
};

// One file of a pack as the directory describes it.
struct PakEntry
{
    std::string name;        // as stored
    uint64_t dataOffset = 0; // absolute offset in the pack file
    uint64_t size = 0;
};

// Checks the header and reads the directory of a whole pack file held in memory. Every
// count, length and offset is checked against the file's size; false with a reason in
// error when anything is out of bounds, the magic or version is wrong or the password
// does not fit.
bool ParsePakFile(const uint8_t* file, uint64_t fileSize, uint64_t key,
                  std::vector<PakEntry>& entries, std::string& error);
} // namespace Quoll

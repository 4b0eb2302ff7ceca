// Fuzz target of the pack reader: the input is a whole pack file. Its key check is set to the
// empty password's so that mutations reach the directory; every entry the parser accepts is
// then read through to its last byte.
#include "framework/files/PakFormat.h"
#include "framework/files/PakScrambler.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> file(data, data + size);
    const uint64_t key = Quoll::PakScrambler::KeyFromPassword("");
    if (file.size() >= 12)
    {
        const uint32_t check = Quoll::PakScrambler::KeyCheck(key);
        for (int i = 0; i < 4; ++i)
            file[8 + i] = static_cast<uint8_t>(check >> (8 * i));
    }
    std::vector<Quoll::PakEntry> entries;
    std::string error;
    if (Quoll::ParsePakFile(file.data(), file.size(), key, entries, error))
        for (const Quoll::PakEntry& entry : entries)
        {
            std::vector<uint8_t> bytes(entry.size);
            Quoll::PakScrambler::Apply(key, entry.dataOffset, file.data() + entry.dataOffset, bytes.data(),
                                       bytes.size());
        }
    return 0;
}

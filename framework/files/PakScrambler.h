#pragma once
// The reversible scrambling of pack data: each byte is XORed with a key stream that depends
// on the password's key and on the byte's offset in the pack file, so any part of a file
// can be read without reading what comes before it.
#include <cstddef>
#include <cstdint>
#include <string>

namespace Quoll
{
class PakScrambler
{
public:
    // The 64-bit key of a password (the empty password has a key too).
    static uint64_t KeyFromPassword(const std::string& password);
    // The value stored in the header for a key, so that a reader can tell a wrong password.
    static uint32_t KeyCheck(uint64_t key);
    // dst[i] = src[i] ^ stream(fileOffset + i); dst may equal src.
    static void Apply(uint64_t key, uint64_t fileOffset, const uint8_t* src, uint8_t* dst, size_t size);
};
} // namespace Quoll

#include "framework/files/PakScrambler.h"

namespace Quoll
{
namespace
{
// A strong 64-bit mixing function: every input bit affects every output bit.
uint64_t Mix64(uint64_t x)
{
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBull;
    x ^= x >> 31;
    return x;
}

uint64_t StreamBlock(uint64_t key, uint64_t blockIndex)
{
    return Mix64(key + blockIndex * 0x9E3779B97F4A7C15ull);
}
} // namespace

uint64_t PakScrambler::KeyFromPassword(const std::string& password)
{
    uint64_t hash = 0xCBF29CE484222325ull; // FNV-1a
    for (unsigned char c : password)
    {
        hash ^= c;
        hash *= 0x100000001B3ull;
    }
    return Mix64(hash ^ 0x51756F6C6C50616Bull);
}

uint32_t PakScrambler::KeyCheck(uint64_t key)
{
    return static_cast<uint32_t>(Mix64(key ^ 0x436865636B4B6579ull) >> 16);
}

void PakScrambler::Apply(uint64_t key, uint64_t fileOffset, const uint8_t* src, uint8_t* dst, size_t size)
{
    uint64_t block = fileOffset >> 3;
    uint64_t stream = StreamBlock(key, block);
    for (size_t i = 0; i < size; ++i)
    {
        const uint64_t offset = fileOffset + i;
        if ((offset >> 3) != block)
        {
            block = offset >> 3;
            stream = StreamBlock(key, block);
        }
        dst[i] = static_cast<uint8_t>(src[i] ^ (stream >> ((offset & 7) * 8)));
    }
}
} // namespace Quoll

// RIFF WAVE reading, and the writer of cached sounds in the same layout.
#include "framework/core/Common.h"
#include "framework/platform/system/Path.h"
#include "framework/sound/SoundReaders.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace Quoll
{
namespace
{
bool TagIs(const char (&tag)[4], const char* expected)
{
    return std::memcmp(tag, expected, 4) == 0;
}

bool ReadFormatChunk(SoundFile& file, WavDataInfo& state)
{
    uint16_t tag = 0, channels = 0, blockAlign = 0, bits = 0;
    uint32_t rate = 0, bytesPerSecond = 0;
    if (!file.ReadU16(tag) || !file.ReadU16(channels) || !file.ReadU32(rate) ||
        !file.ReadU32(bytesPerSecond) || !file.ReadU16(blockAlign) || !file.ReadU16(bits))
        return false;
    if (tag != 1)
        return false;
    state.format = {channels, rate, bits};
    return true;
}

// The source a cached copy was made from; the copy is stale once the source's time moved.
bool ReadDependencyChunk(SoundFile& file)
{
    uint16_t length = 0;
    if (!file.ReadU16(length) || length > file.Remaining())
        return false;
    std::string name(length, '\0');
    uint64_t storedTime = 0;
    if (!file.ReadBytes(name.data(), length) || !file.ReadU64(storedTime))
        return false;
    return GetLastWriteTime(name) == storedTime;
}

void PutU16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    PutU16(out, uint16_t(v));
    PutU16(out, uint16_t(v >> 16));
}

void PutTag(std::vector<uint8_t>& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}
} // namespace

bool FindWavData(SoundFile& file, WavDataInfo& state)
{
    char tag[4];
    uint32_t size = 0;
    if (!file.ReadTag(tag) || !TagIs(tag, "RIFF") || !file.ReadU32(size) || !file.ReadTag(tag) ||
        !TagIs(tag, "WAVE"))
        return false;
    while (!file.AtEnd())
    {
        if (!file.ReadTag(tag) || !file.ReadU32(size))
            return false;
        const int64_t next = file.Tell() + size; // chunks are not padded to even sizes
        if (TagIs(tag, "data"))
        {
            state.bytes = size;
            return size <= file.Remaining();
        }
        bool ok = true;
        if (TagIs(tag, "fmt "))
            ok = ReadFormatChunk(file, state);
        else if (TagIs(tag, "dep "))
            ok = ReadDependencyChunk(file);
        else if (TagIs(tag, "xor "))
            ok = file.ReadU8(state.key);
        if (!ok || !file.Seek(next, SEEK_SET))
            return false;
    }
    return false;
}

bool ReadWavSound(SoundFile& file, SampleSink& sink)
{
    WavDataInfo state;
    if (!FindWavData(file, state))
        return false;
    std::span<uint8_t> samples = sink.Allocate(state.format, state.bytes);
    if (samples.empty() || !file.ReadBytes(samples.data(), samples.size()))
        return false;
    UnscrambleWavSamples(samples, state.key);
    return true;
}

void UnscrambleWavSamples(std::span<uint8_t> samples, uint8_t key)
{
    if (key != 0)
        for (uint8_t& b : samples)
            b ^= key;
}

uint64_t GetLastWriteTime(const std::string& name)
{
    constexpr uint64_t kTicksPerSecond = 10'000'000;
    constexpr uint64_t kUnixEpochInTicks = 116'444'736'000'000'000;
    const uint64_t seconds = GetFileModTime(Platform::ResolvePathCase(name));
    return seconds == 0 ? 0 : seconds * kTicksPerSecond + kUnixEpochInTicks;
}

namespace
{
// RIFF header and format chunk, then the cache's "dep " and "xor " chunks when a source is
// named, then the data chunk header. The RIFF size never counts the cache's chunks.
std::vector<uint8_t> WavHead(const Platform::AudioFormat& format, uint32_t size,
                             const std::string* sourceName)
{
    std::vector<uint8_t> head;
    PutTag(head, "RIFF");
    PutU32(head, size + 36);
    PutTag(head, "WAVE");
    PutTag(head, "fmt ");
    PutU32(head, 16);
    PutU16(head, 1);
    PutU16(head, format.channels);
    PutU32(head, format.samplesPerSecond);
    PutU32(head, format.BytesPerSecond());
    PutU16(head, format.BlockAlign());
    PutU16(head, format.bitsPerSample);
    if (sourceName)
    {
        PutTag(head, "dep ");
        PutU32(head, uint32_t(sourceName->size() + 10));
        PutU16(head, uint16_t(sourceName->size()));
        head.insert(head.end(), sourceName->begin(), sourceName->end());
        const uint64_t time = GetLastWriteTime(*sourceName);
        PutU32(head, uint32_t(time));
        PutU32(head, uint32_t(time >> 32));
        PutTag(head, "xor ");
        PutU32(head, 1);
        head.push_back(kCachedSoundKey);
    }
    PutTag(head, "data");
    PutU32(head, size);
    return head;
}

bool WriteWav(const std::string& path, const Platform::AudioFormat& format,
              std::span<const uint8_t> samples, const std::string* sourceName)
{
    if (path.empty() || samples.size() > 0xFFFFFFFFu - 36 ||
        (sourceName && sourceName->size() > 0xFFFF))
        return false;
    const uint8_t key = sourceName ? kCachedSoundKey : 0;
    const std::vector<uint8_t> head = WavHead(format, uint32_t(samples.size()), sourceName);
    std::FILE* out = Platform::OpenFile(path, "wb");
    if (!out)
        return false;
    bool ok = std::fwrite(head.data(), 1, head.size(), out) == head.size();
    // Scrambled through a small block: the sound's own bytes may be playing and stay as they are.
    uint8_t block[4096];
    for (size_t at = 0; ok && at < samples.size(); at += sizeof(block))
    {
        const size_t n = std::min(sizeof(block), samples.size() - at);
        for (size_t i = 0; i < n; ++i)
            block[i] = samples[at + i] ^ key;
        ok = std::fwrite(block, 1, n, out) == n;
    }
    return std::fclose(out) == 0 && ok;
}
} // namespace

bool WriteCachedWav(const std::string& cachePath, const Platform::AudioFormat& format,
                    std::span<const uint8_t> samples, const std::string& sourceName)
{
    return WriteWav(cachePath, format, samples, &sourceName);
}

bool WritePlainWav(const std::string& path, const Platform::AudioFormat& format,
                   std::span<const uint8_t> samples)
{
    return WriteWav(path, format, samples, nullptr);
}
} // namespace Quoll

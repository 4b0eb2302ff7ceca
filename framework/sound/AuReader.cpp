// Sun/NeXT ".snd" reading: 8-bit mu-law and 8-bit linear encodings.
#include "framework/sound/SoundReaders.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace Quoll
{
namespace
{
constexpr uint32_t kHeaderBytes = 24;
constexpr uint32_t kUnknownSize = 0xFFFFFFFFu;
constexpr uint32_t kMuLaw8 = 1;
constexpr uint32_t kLinear8 = 2;

// The magnitude of a mu-law code whose top bit is set, by segment.
int32_t MuLawMagnitude(int32_t c)
{
    if (c >= 240)
        return (255 - c) * 2;
    if (c >= 224)
        return (247 - c) * 4;
    if (c >= 208)
        return (235 - c) * 8;
    if (c >= 192)
        return (221 - c) * 16;
    if (c >= 176)
        return (206 - c) * 32;
    if (c >= 160)
        return 12192 - c * 64;
    if (c >= 144)
        return 22368 - c * 128;
    return 40672 - c * 256; // 128 to 143
}
} // namespace

int16_t DecodeMuLaw(uint8_t code)
{
    const int32_t sign = code >= 128 ? 1 : -1;
    return int16_t(MuLawMagnitude(code | 128) * sign * 4);
}

bool ReadAuSound(SoundFile& file, SampleSink& sink)
{
    char magic[4];
    uint32_t offset = 0, size = 0, encoding = 0, rate = 0, channels = 0;
    if (!file.ReadTag(magic) || std::memcmp(magic, ".snd", 4) != 0 ||
        !file.ReadU32BigEndian(offset) || !file.ReadU32BigEndian(size) ||
        !file.ReadU32BigEndian(encoding) || !file.ReadU32BigEndian(rate) ||
        !file.ReadU32BigEndian(channels))
        return false;
    if (offset < kHeaderBytes || offset > file.Size() || !file.Seek(offset, SEEK_SET))
        return false;
    if (size == kUnknownSize)
        size = uint32_t(file.Remaining());
    if (size > file.Remaining() || channels > 2 || (encoding != kMuLaw8 && encoding != kLinear8))
        return false;

    const uint16_t bits = encoding == kMuLaw8 ? 16 : 8;
    const Platform::AudioFormat format{uint16_t(channels), rate, bits};
    std::span<uint8_t> samples = sink.Allocate(format, size * (bits / 8));
    if (samples.empty())
        return false;
    std::vector<uint8_t> raw(samples.size() / (bits / 8));
    if (!file.ReadBytes(raw.data(), raw.size()))
        return false;
    for (size_t i = 0; i < raw.size(); ++i)
    {
        if (encoding == kLinear8)
            samples[i] = raw[i] ^ 0x80; // signed to the unsigned 8-bit PCM the mixer plays
        else
        {
            const uint16_t s = uint16_t(DecodeMuLaw(raw[i]));
            samples[2 * i] = uint8_t(s);
            samples[2 * i + 1] = uint8_t(s >> 8);
        }
    }
    return true;
}
} // namespace Quoll

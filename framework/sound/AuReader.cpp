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

Platform::AudioFormat AuHeader::Format() const
{
    return {uint16_t(channels), rate, uint16_t(encoding == kMuLaw8 ? 16 : 8)};
}

bool ReadAuHeader(SoundFile& file, AuHeader& header)
{
    char magic[4];
    uint32_t offset = 0;
    if (!file.ReadTag(magic) || std::memcmp(magic, ".snd", 4) != 0 ||
        !file.ReadU32BigEndian(offset) || !file.ReadU32BigEndian(header.bytes) ||
        !file.ReadU32BigEndian(header.encoding) || !file.ReadU32BigEndian(header.rate) ||
        !file.ReadU32BigEndian(header.channels))
        return false;
    if (offset < kHeaderBytes || offset > file.Size() || !file.Seek(offset, SEEK_SET))
        return false;
    if (header.bytes == kUnknownSize)
        header.bytes = uint32_t(file.Remaining());
    return header.bytes <= file.Remaining() && header.channels <= 2 &&
           (header.encoding == kMuLaw8 || header.encoding == kLinear8);
}

void DecodeAuSamples(const AuHeader& header, std::span<const uint8_t> raw, uint8_t* out)
{
    for (size_t i = 0; i < raw.size(); ++i)
    {
        if (header.encoding == kLinear8)
            out[i] = raw[i] ^ 0x80; // signed to the unsigned 8-bit PCM the mixer plays
        else
        {
            const uint16_t s = uint16_t(DecodeMuLaw(raw[i]));
            out[2 * i] = uint8_t(s);
            out[2 * i + 1] = uint8_t(s >> 8);
        }
    }
}

bool ReadAuSound(SoundFile& file, SampleSink& sink)
{
    AuHeader header;
    if (!ReadAuHeader(file, header))
        return false;
    const Platform::AudioFormat format = header.Format();
    std::span<uint8_t> samples = sink.Allocate(format, header.bytes * (format.bitsPerSample / 8));
    if (samples.empty())
        return false;
    std::vector<uint8_t> raw(samples.size() / (format.bitsPerSample / 8));
    if (!file.ReadBytes(raw.data(), raw.size()))
        return false;
    DecodeAuSamples(header, raw, samples.data());
    return true;
}
} // namespace Quoll

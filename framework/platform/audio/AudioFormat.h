#pragma once
// The PCM layout of a sound buffer: 8-bit unsigned or 16-bit signed little-endian samples,
// mono or stereo frames, any rate the mixer can resample.
#include <cstdint>

namespace Quoll::Platform
{
struct AudioFormat
{
    uint16_t channels = 1;
    uint32_t samplesPerSecond = 22050;
    uint16_t bitsPerSample = 16;

    uint16_t BlockAlign() const { return uint16_t(channels * bitsPerSample / 8); }
    uint32_t BytesPerSecond() const { return uint32_t(BlockAlign()) * samplesPerSecond; }
    bool IsValid() const
    {
        return (channels == 1 || channels == 2) && (bitsPerSample == 8 || bitsPerSample == 16) &&
               samplesPerSecond >= 100 && samplesPerSecond <= 100000;
    }
    bool operator==(const AudioFormat&) const = default;
};
} // namespace Quoll::Platform

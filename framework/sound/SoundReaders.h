#pragma once
// Readers of the sound file formats and the writer of cached sounds. A reader checks every
// size against the bytes the file still holds, asks its sink for room in the sound's format
// and fills it; false means the file was refused and the sink's room is to be thrown away.
#include "framework/platform/audio/AudioFormat.h"
#include "framework/sound/SoundFile.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace Quoll
{
// Where a reader puts the samples it decodes.
class SampleSink
{
public:
    virtual ~SampleSink() = default;
    // Room for `bytes` bytes of samples (whole frames) in the format; empty when none can be
    // made (a format the mixer cannot play, or too many bytes).
    virtual std::span<uint8_t> Allocate(const Platform::AudioFormat& format, uint32_t bytes) = 0;
};

// Keeps the samples in memory, refusing formats the mixer cannot play and more than a limit.
class VectorSampleSink : public SampleSink
{
public:
    explicit VectorSampleSink(uint32_t maxBytes) : mMaxBytes(maxBytes) {}
    std::span<uint8_t> Allocate(const Platform::AudioFormat& format, uint32_t bytes) override
    {
        if (!format.IsValid() || bytes > mMaxBytes || bytes < format.BlockAlign())
            return {};
        this->format = format;
        samples.assign(bytes - bytes % format.BlockAlign(), 0);
        return samples;
    }
    Platform::AudioFormat format;
    std::vector<uint8_t> samples;

private:
    uint32_t mMaxBytes;
};

// RIFF WAVE, PCM only, with the cache's "dep " (stale when the named source's last-write time
// differs) and "xor " (scrambling key) chunks. Chunks are taken in file order.
bool ReadWavSound(SoundFile& file, SampleSink& sink);
// Sun/NeXT ".snd": 8-bit mu-law (decoded to 16-bit) and 8-bit linear (made unsigned).
bool ReadAuSound(SoundFile& file, SampleSink& sink);

// What a WAVE file's chunks before its sample data say: the format, the scrambling key and the
// data's size in bytes.
struct WavDataInfo
{
    Platform::AudioFormat format{1, 22050, 16};
    uint8_t key = 0;
    uint32_t bytes = 0;
};
// Reads the chunks up to the sample data and leaves the file at its first byte; false for a
// file that is no PCM WAVE, a stale cached copy, or a data chunk longer than the file.
bool FindWavData(SoundFile& file, WavDataInfo& info);
void UnscrambleWavSamples(std::span<uint8_t> samples, uint8_t key);

// A ".snd" header: the encoding and the rate and channels of the samples that follow it.
struct AuHeader
{
    uint32_t encoding = 0;
    uint32_t rate = 0;
    uint32_t channels = 0;
    uint32_t bytes = 0; // encoded bytes, one per sample
    Platform::AudioFormat Format() const;
};
// Reads and checks the header and leaves the file at the first sample byte.
bool ReadAuHeader(SoundFile& file, AuHeader& header);
// Encoded bytes to the samples the mixer plays (`out` holds raw.size() samples of the format).
void DecodeAuSamples(const AuHeader& header, std::span<const uint8_t> raw, uint8_t* out);
// Ogg Vorbis, decoded whole to 16-bit samples.
bool ReadOggSound(SoundFile& file, SampleSink& sink);

// One mu-law byte as a 16-bit sample.
int16_t DecodeMuLaw(uint8_t code);

// The plain file's last-write time in 100-nanosecond units since 1601 (whole seconds), or 0
// when there is no such plain file (the pack file is not consulted).
uint64_t GetLastWriteTime(const std::string& name);

// The key byte the cache writer scrambles sample bytes with.
constexpr uint8_t kCachedSoundKey = 0x5A;

// Writes samples as a cached sound that names its source and the source's current time.
bool WriteCachedWav(const std::string& cachePath, const Platform::AudioFormat& format,
                    std::span<const uint8_t> samples, const std::string& sourceName);
// Writes samples as a plain PCM WAV file (format and data chunks only).
bool WritePlainWav(const std::string& path, const Platform::AudioFormat& format,
                   std::span<const uint8_t> samples);
} // namespace Quoll

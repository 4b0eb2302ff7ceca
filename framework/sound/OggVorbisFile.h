#pragma once
// An Ogg Vorbis file opened through the integer decoder over a SoundFile, with the checks every
// reader of it makes: one or two channels, a known length, and no more decoded bytes than the
// file's size can honestly hold (a forged length cannot ask for gigabytes from a tiny file).
#include "framework/platform/audio/AudioFormat.h"
#include "framework/sound/SoundFile.h"

#include <cstdint>
#include <memory>

namespace Quoll
{
class OggVorbisFile
{
public:
    OggVorbisFile();
    ~OggVorbisFile();
    OggVorbisFile(const OggVorbisFile&) = delete;
    OggVorbisFile& operator=(const OggVorbisFile&) = delete;

    // The file must stay open while this reads it. False when it is no Vorbis stream the
    // mixer can play.
    bool Open(SoundFile& file);
    const Platform::AudioFormat& GetFormat() const { return mFormat; }
    int64_t GetFrames() const { return mFrames; }
    // Up to `bytes` bytes of 16-bit samples; 0 at the end, negative for damaged data or for a
    // chained stream whose layout changes.
    long Read(uint8_t* out, int bytes);
    bool Seek(int64_t frame);

private:
    struct State;
    std::unique_ptr<State> mState;
    Platform::AudioFormat mFormat;
    int64_t mFrames = 0;
};
} // namespace Quoll

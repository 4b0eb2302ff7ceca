#pragma once
// Where a streamed voice takes its samples from: a decoder that produces the frames of a song
// in order, block by block, and can move to any frame. The mixer's feeder calls it from its own
// thread (never from the audio thread), one call at a time.
#include "framework/platform/audio/AudioFormat.h"

#include <cstdint>

namespace Quoll::Platform
{
class StreamSource
{
public:
    virtual ~StreamSource() = default;
    virtual const AudioFormat& GetFormat() const = 0;
    // The song's length in frames, above 0.
    virtual uint32_t GetFrames() const = 0;
    // Decodes up to `frames` frames from the current position into `out` (whole frames in the
    // format); the number decoded. Fewer than asked before the song's end means the data ends
    // early or is damaged: the source has said so in the log and the stream fills in silence.
    virtual uint32_t Read(uint8_t* out, uint32_t frames) = 0;
    // Moves to a frame below GetFrames(); false when the source cannot.
    virtual bool Seek(uint32_t frame) = 0;
};
} // namespace Quoll::Platform

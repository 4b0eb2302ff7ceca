#pragma once
// A voice that plays a song from a StreamSource through a ring of decoded frames, so a playing
// song holds the ring's frames instead of all of its samples.
//
// The mixer's feeder decodes ahead into the ring from its own thread (under the feeder's lock,
// never the mixer's); the audio thread takes frames from it under the mixer's lock. The two
// meet only in the ring's atomic counters, so rendering never waits for a file or a decoder.
// The ring holds the song's frames in playing order and goes on from frame 0 after the last,
// loop or not: a looping voice plays through, a one-shot voice stops at the end with the ring
// already at the song's start, as a whole buffer rewinds. When the feeder falls behind, the
// voice is silent and stands still until frames arrive (counted as an underrun).
//
// The controls mirror MixerBuffer's, with positions in frames; they may be used from any one
// thread while the mixer renders on its own.
#include "framework/platform/audio/AudioFormat.h"
#include "framework/platform/audio/MixerKernels.h"
#include "framework/platform/audio/StreamSource.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace Quoll::Platform
{
class Mixer;
class StreamFeeder;

class MixerStream
{
public:
    static constexpr uint32_t kDefaultRingFrames = 32768;

    ~MixerStream();
    MixerStream(const MixerStream&) = delete;
    MixerStream& operator=(const MixerStream&) = delete;

    // False when every voice of the mixer is playing (the stream stays stopped).
    bool Play(bool looping);
    void Stop(); // keeps the position
    bool IsPlaying() const;
    bool IsLooping() const;
    // Moves to a frame (clamped to the last one); decodes from there.
    void SetCurrentFrame(uint32_t frame);
    uint32_t GetCurrentFrame() const;

    void SetVolume(int32_t hundredthsOfDb); // as MixerBuffer::SetVolume
    int32_t GetVolume() const;

    const AudioFormat& GetFormat() const { return mFormat; }
    uint32_t GetFrames() const { return mFrames; }
    uint32_t GetRingFrames() const { return mRingFrames; }
    // Bytes of samples the stream holds: the ring and the audio thread's scratch.
    size_t GetHeldBytes() const { return mRing.size() + mScratch.size(); }
    // Frames decoded and not yet played.
    uint32_t GetBufferedFrames() const;
    uint64_t GetUnderrunCount() const { return mUnderruns.load(std::memory_order_relaxed); }

private:
    friend class Mixer;
    friend class StreamFeeder;
    MixerStream(std::shared_ptr<Mixer> mixer, StreamFeeder& feeder,
                std::unique_ptr<StreamSource> source, uint32_t ringFrames);

    // Feeder side, under the feeder's lock: decodes up to `frames` frames into the free part
    // of the ring; the number added.
    uint32_t Fill(uint32_t frames);
    uint32_t FreeFrames() const;
    bool IsActive() const { return mActive.load(std::memory_order_relaxed); }

    // Audio side, under the mixer's lock: adds `frames` output frames of the voice.
    void MixInto(void (*kernel)(MixerVoice&, int32_t*, size_t), int32_t* acc, size_t frames,
                 bool fillOnDemand);
    uint32_t SongFrameAt(uint64_t ringFrame) const;
    void CopyToScratch(uint64_t ringFrame, uint32_t frames);
    void MarkStopped();

    std::shared_ptr<Mixer> mMixer;
    StreamFeeder& mFeeder;
    std::unique_ptr<StreamSource> mSource;
    const AudioFormat mFormat;
    const uint32_t mFrames;
    const uint64_t mStep; // song frames per output frame, 32.32 fixed point
    const uint32_t mRingFrames;
    std::vector<uint8_t> mRing;
    std::vector<uint8_t> mScratch;
    const uint8_t mSilence;

    // Ring counters: frames ever written and ever released, counted from the stream's start.
    std::atomic<uint64_t> mWritten{0};
    std::atomic<uint64_t> mReleased{0};
    std::atomic<bool> mActive{false};
    std::atomic<uint64_t> mUnderruns{0};

    // Feeder side (feeder's lock): the song frame the next decoded frame belongs to.
    uint32_t mSourceFrame = 0;
    bool mSourceFailed = false;

    // Audio side (mixer's lock): the play position as a ring frame and a 32-bit fraction, and
    // the ring frame where a song frame starts (set by a move).
    uint64_t mReadFrame = 0;
    uint32_t mFraction = 0;
    uint64_t mSegmentRingFrame = 0;
    uint32_t mSegmentSongFrame = 0;
    int32_t mGain = kUnityGain;
    int32_t mVolume = 0;
    bool mPlaying = false;
    bool mLooping = false;
    bool mMoving = false; // a move is under way: the voice is silent until it is done

    std::mutex mMoveLock; // one move at a time
};
} // namespace Quoll::Platform

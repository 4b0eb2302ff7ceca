// Streamed voices: the ring between the feeder and the audio thread, and the mixing of a voice
// from it.
#include "framework/platform/audio/MixerStream.h"

#include "framework/platform/audio/Mixer.h"
#include "framework/platform/audio/StreamFeeder.h"

#include <algorithm>
#include <cstring>

namespace Quoll::Platform
{
namespace
{
// Frames the audio thread copies out of the ring per kernel call: a mixer chunk at the highest
// resampling step a song rate allows at 44.1 kHz, with its interpolation frame.
constexpr uint32_t kScratchFrames = 1280;

// What one output frame may step over, with the frames interpolated on both sides: the least a
// ring or a scratch copy must hold.
uint32_t StepFrames(uint64_t step)
{
    return uint32_t((step >> 32) + 3);
}
} // namespace

MixerStream::MixerStream(std::shared_ptr<Mixer> mixer, StreamFeeder& feeder,
                         std::unique_ptr<StreamSource> source, uint32_t ringFrames)
    : mMixer(std::move(mixer)), mFeeder(feeder), mSource(std::move(source)),
      mFormat(mSource->GetFormat()), mFrames(mSource->GetFrames()),
      mStep((uint64_t(mFormat.samplesPerSecond) << 32) / mMixer->GetOutputRate()),
      mRingFrames(std::max(ringFrames, StepFrames(mStep))),
      mSilence(mFormat.bitsPerSample == 8 ? 0x80 : 0)
{
    const uint32_t stepFrames = StepFrames(mStep);
    const uint32_t scratchFrames = std::min(std::max(kScratchFrames, stepFrames), mRingFrames);
    mRing.assign(size_t(mRingFrames) * mFormat.BlockAlign(), mSilence);
    mScratch.assign(size_t(scratchFrames) * mFormat.BlockAlign(), mSilence);
}

MixerStream::~MixerStream()
{
    mMixer->RemoveStream(this);
    mFeeder.Remove(this);
}

bool MixerStream::Play(bool looping)
{
    {
        std::lock_guard lock(mMixer->mLock);
        if (!mPlaying && !mMixer->CanStartVoice())
            return false;
        mLooping = looping;
        mPlaying = true;
        mActive.store(true, std::memory_order_relaxed);
    }
    mFeeder.Wake();
    return true;
}

void MixerStream::Stop()
{
    std::lock_guard lock(mMixer->mLock);
    mPlaying = false;
    mActive.store(false, std::memory_order_relaxed);
}

bool MixerStream::IsPlaying() const
{
    std::lock_guard lock(mMixer->mLock);
    return mPlaying;
}

bool MixerStream::IsLooping() const
{
    std::lock_guard lock(mMixer->mLock);
    return mLooping;
}

// The voice is kept silent while the source moves, then starts from the ring frame where the
// feeder goes on with the new frame; the frames decoded before it are let go unplayed.
void MixerStream::SetCurrentFrame(uint32_t frame)
{
    std::lock_guard move(mMoveLock);
    frame = std::min(frame, mFrames - 1);
    {
        std::lock_guard lock(mMixer->mLock);
        if (SongFrameAt(mReadFrame) == frame)
        {
            mFraction = 0;
            return;
        }
        mMoving = true;
    }
    uint64_t segmentStart = 0;
    {
        std::lock_guard lock(mFeeder.SourceLock());
        segmentStart = mWritten.load(std::memory_order_relaxed);
        mSourceFrame = frame;
        mSourceFailed = !mSource->Seek(frame);
    }
    {
        std::lock_guard lock(mMixer->mLock);
        mReadFrame = segmentStart;
        mFraction = 0;
        mSegmentRingFrame = segmentStart;
        mSegmentSongFrame = frame;
        mReleased.store(segmentStart, std::memory_order_release);
        mMoving = false;
    }
    mFeeder.FillNow(*this, StreamFeeder::kBlockFrames);
    mFeeder.Wake();
}

uint32_t MixerStream::GetCurrentFrame() const
{
    std::lock_guard lock(mMixer->mLock);
    return SongFrameAt(mReadFrame);
}

void MixerStream::SetVolume(int32_t hundredthsOfDb)
{
    std::lock_guard lock(mMixer->mLock);
    mVolume = std::clamp(hundredthsOfDb, MixerBuffer::kMinVolume, MixerBuffer::kMaxVolume);
    mGain = AttenuationToGain(mVolume);
}

int32_t MixerStream::GetVolume() const
{
    std::lock_guard lock(mMixer->mLock);
    return mVolume;
}

uint32_t MixerStream::GetBufferedFrames() const
{
    const uint64_t released = mReleased.load(std::memory_order_acquire);
    return uint32_t(mWritten.load(std::memory_order_acquire) - released);
}

uint32_t MixerStream::FreeFrames() const
{
    const uint64_t used =
        mWritten.load(std::memory_order_relaxed) - mReleased.load(std::memory_order_acquire);
    return mRingFrames - uint32_t(std::min<uint64_t>(used, mRingFrames));
}

// Decodes in runs that end at the ring's end and at the song's end; after the song's last
// frame the source goes back to its first. What the source cannot give is silence.
uint32_t MixerStream::Fill(uint32_t frames)
{
    const uint16_t align = mFormat.BlockAlign();
    const uint64_t written = mWritten.load(std::memory_order_relaxed);
    const uint32_t room = std::min(frames, FreeFrames());
    uint32_t done = 0;
    while (done < room)
    {
        const uint32_t at = uint32_t((written + done) % mRingFrames);
        const uint32_t run = std::min({room - done, mRingFrames - at, mFrames - mSourceFrame});
        uint8_t* out = mRing.data() + size_t(at) * align;
        const uint32_t got = mSourceFailed ? 0 : mSource->Read(out, run);
        if (got < run)
        {
            mSourceFailed = true;
            std::memset(out + size_t(got) * align, mSilence, size_t(run - got) * align);
        }
        done += run;
        mSourceFrame += run;
        if (mSourceFrame == mFrames)
        {
            mSourceFrame = 0;
            mSourceFailed = !mSource->Seek(0);
        }
    }
    mWritten.store(written + done, std::memory_order_release);
    return done;
}

uint32_t MixerStream::SongFrameAt(uint64_t ringFrame) const
{
    return uint32_t((mSegmentSongFrame + (ringFrame - mSegmentRingFrame)) % mFrames);
}

void MixerStream::CopyToScratch(uint64_t ringFrame, uint32_t frames)
{
    const size_t align = mFormat.BlockAlign();
    const uint32_t at = uint32_t(ringFrame % mRingFrames);
    const uint32_t first = std::min(frames, mRingFrames - at);
    std::memcpy(mScratch.data(), mRing.data() + at * align, first * align);
    std::memcpy(mScratch.data() + first * align, mRing.data(), (frames - first) * align);
}

void MixerStream::MarkStopped()
{
    mPlaying = false;
    mActive.store(false, std::memory_order_relaxed);
}

// Each kernel call runs over a copy of the frames it reads, as a one-shot voice whose last
// frame is either the song's last (when a one-shot song ends within the copy: the kernel ends
// it exactly as it ends a whole buffer) or at least two frames past where the call stops, so
// that every frame is interpolated with the song's true next frame.
void MixerStream::MixInto(void (*kernel)(MixerVoice&, int32_t*, size_t), int32_t* acc,
                          size_t frames, bool fillOnDemand)
{
    const uint32_t scratchFrames = uint32_t(mScratch.size() / mFormat.BlockAlign());
    while (frames > 0 && mPlaying && !mMoving)
    {
        uint64_t available = mWritten.load(std::memory_order_acquire) - mReadFrame;
        const uint64_t wanted =
            std::min<uint64_t>(mRingFrames, ((mFraction + frames * mStep) >> 32) + 2);
        if (fillOnDemand && available < wanted)
        {
            mFeeder.FillNow(*this, uint32_t(wanted - available));
            available = mWritten.load(std::memory_order_acquire) - mReadFrame;
        }
        const uint32_t toEnd = mFrames - SongFrameAt(mReadFrame);
        const uint32_t usable = uint32_t(std::min<uint64_t>(available, scratchFrames));
        const bool endsHere = !mLooping && toEnd <= usable;
        size_t run = frames;
        uint32_t copy = toEnd;
        if (!endsHere)
        {
            run = 0;
            if (usable >= 2)
                run = std::min<size_t>(frames, ((uint64_t(usable - 1) << 32) - 1 - mFraction) / mStep);
            if (run == 0)
            {
                mUnderruns.fetch_add(1, std::memory_order_relaxed);
                return;
            }
            copy = uint32_t(((mFraction + run * mStep) >> 32) + 2);
        }
        CopyToScratch(mReadFrame, copy);
        MixerVoice voice;
        voice.data = mScratch.data();
        voice.frames = copy;
        voice.channels = mFormat.channels;
        voice.bits = mFormat.bitsPerSample;
        voice.position = mFraction;
        voice.step = mStep;
        voice.gainLeft = voice.gainRight = mGain;
        voice.playing = true;
        kernel(voice, acc, run);
        if (!voice.playing)
        {
            mReadFrame += toEnd;
            mFraction = 0;
            mReleased.store(mReadFrame, std::memory_order_release);
            MarkStopped();
            return;
        }
        mReadFrame += voice.position >> 32;
        mFraction = uint32_t(voice.position);
        mReleased.store(mReadFrame, std::memory_order_release);
        acc += 2 * run;
        frames -= run;
    }
}
} // namespace Quoll::Platform

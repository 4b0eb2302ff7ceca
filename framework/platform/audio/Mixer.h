#pragma once
// The software mixer shared by sound effects and music: every MixerBuffer that plays is a voice,
// mixed into 16-bit stereo at the output rate under one lock (the audio device renders from its
// own thread). A buffer that is only loaded is data, not a voice: the voice limit counts the
// buffers playing, and a start past it is refused (and logged, once per mixer). A master volume (0..65535, the old system mixer's scale) scales the result.
// Render runs the fast kernels; RenderReference the plain ones (QUOLL_MIXER_REFERENCE=1 makes
// Render use them too). Neither allocates, but on an offline mixer they decode the streams'
// frames they need, which may.
// Streams (MixerStream) are voices too: songs decoded ahead by the mixer's feeder thread.
#include "framework/platform/audio/AudioFormat.h"
#include "framework/platform/audio/MixerBuffer.h"
#include "framework/platform/audio/MixerStream.h"
#include "framework/platform/audio/StreamFeeder.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace Quoll::Platform
{
class Mixer : public std::enable_shared_from_this<Mixer>
{
public:
    static constexpr uint32_t kDefaultRate = 44100;
    static constexpr size_t kDefaultVoiceLimit = 256;
    static constexpr uint32_t kMaxBufferBytes = 1u << 30;

    [[nodiscard]] static std::shared_ptr<Mixer> Create(uint32_t outputRate = kDefaultRate,
                                                       size_t voiceLimit = kDefaultVoiceLimit);
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // A silent, stopped buffer of the given size (whole frames); null for an invalid format or
    // an empty or oversized buffer.
    [[nodiscard]] std::unique_ptr<MixerBuffer> CreateBuffer(const AudioFormat& format,
                                                            uint32_t bytes);

    // A stopped stream at the source's first frame, its ring already filled; null for a
    // source in a format the mixer cannot play or without frames.
    [[nodiscard]] std::unique_ptr<MixerStream> CreateStream(
        std::unique_ptr<StreamSource> source,
        uint32_t ringFrames = MixerStream::kDefaultRingFrames);
    // For a mixer rendered on request: streams are decoded by the renderer as it needs them,
    // with no feeder thread. Set before the first stream.
    void FillStreamsOnRender();

    void Render(int16_t* stereoOut, size_t frames);
    void RenderReference(int16_t* stereoOut, size_t frames);

    void SetMasterVolume(uint16_t volume);
    uint16_t GetMasterVolume() const;
    uint32_t GetOutputRate() const { return mOutputRate; }
    size_t GetBufferCount() const;
    size_t GetPlayingVoiceCount() const;

private:
    friend class MixerBuffer;
    friend class MixerStream;
    Mixer(uint32_t outputRate, size_t voiceLimit);
    void AddBuffer(MixerBuffer* buffer);   // caller holds the lock
    void RemoveBuffer(MixerBuffer* buffer);
    void RemoveStream(MixerStream* stream);
    size_t CountPlaying() const;           // caller holds the lock
    bool CanStartVoice();                  // caller holds the lock
    void RenderWith(int16_t* out, size_t frames, void (*kernel)(MixerVoice&, int32_t*, size_t));

    mutable std::recursive_mutex mLock;
    const uint32_t mOutputRate;
    const size_t mVoiceLimit;
    std::vector<MixerBuffer*> mBuffers; // every buffer alive; those playing are the voices
    std::vector<MixerStream*> mStreams; // likewise every stream
    StreamFeeder mFeeder;
    uint16_t mMasterVolume = 65535;
    bool mRefusalLogged = false;
    bool mUseReference = false;
};
} // namespace Quoll::Platform

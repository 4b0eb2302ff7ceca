#pragma once
// One playing copy of a sound: a DirectSound-style buffer over sample data that duplicates
// share. Volume is an attenuation in hundredths of a decibel (-10000 silent .. 0 full), pan runs
// from -10000 (left only) to 10000 (right only), frequency from 100 to 100000 Hz; all three are
// clamped. Every operation takes the mixer's lock, so buffers may be driven from any thread
// while the mixer renders on its own. Write the data (Lock/Unlock) before the buffer plays.
#include "framework/platform/audio/AudioFormat.h"
#include "framework/platform/audio/MixerKernels.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace Quoll::Platform
{
class Mixer;

class MixerBuffer
{
public:
    static constexpr int32_t kMinVolume = -10000;
    static constexpr int32_t kMaxVolume = 0;
    static constexpr int32_t kPanLeft = -10000;
    static constexpr int32_t kPanRight = 10000;
    static constexpr uint32_t kMinFrequency = 100;
    static constexpr uint32_t kMaxFrequency = 100000;

    ~MixerBuffer();
    MixerBuffer(const MixerBuffer&) = delete;
    MixerBuffer& operator=(const MixerBuffer&) = delete;

    // A new buffer over the same data, stopped at position 0.
    [[nodiscard]] std::unique_ptr<MixerBuffer> Duplicate() const;

    // The whole sample data, for filling; Unlock ends the write.
    std::span<uint8_t> Lock();
    bool Unlock();
    std::span<const uint8_t> Data() const;

    // False when every voice of the mixer is playing (the buffer stays stopped).
    bool Play(bool looping);
    void Stop();
    bool IsPlaying() const;
    bool IsLooping() const;
    void SetCurrentPosition(uint32_t byteOffset);
    uint32_t GetCurrentPosition() const; // bytes, rounded down to a whole frame

    void SetVolume(int32_t hundredthsOfDb);
    int32_t GetVolume() const;
    void SetPan(int32_t pan);
    int32_t GetPan() const;
    void SetFrequency(uint32_t hertz);
    uint32_t GetFrequency() const;

    const AudioFormat& GetFormat() const { return mFormat; }
    uint32_t GetSize() const { return uint32_t(mData->size()); }

private:
    friend class Mixer;
    MixerBuffer(std::shared_ptr<Mixer> mixer, AudioFormat format,
                std::shared_ptr<std::vector<uint8_t>> data);
    void UpdateGains();   // caller holds the mixer lock
    void UpdateStep();    // caller holds the mixer lock

    std::shared_ptr<Mixer> mMixer;
    AudioFormat mFormat;
    std::shared_ptr<std::vector<uint8_t>> mData;
    MixerVoice mVoice;
    int32_t mVolume = 0;
    int32_t mPan = 0;
    uint32_t mFrequency;
};
} // namespace Quoll::Platform

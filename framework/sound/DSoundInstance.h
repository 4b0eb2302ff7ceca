#pragma once
// A sound instance over its own mixer buffer, a duplicate of the loaded sound's. Without a
// source (silent manager) or when the duplicate cannot be made, the instance is silent: it
// accepts every call and never plays.
#include "framework/platform/audio/MixerBuffer.h"
#include "framework/sound/SoundInstance.h"

#include <cstdint>
#include <memory>

namespace Quoll
{
class DSoundManager;

class DSoundInstance : public SoundInstance
{
public:
    DSoundInstance(DSoundManager* manager, const Platform::MixerBuffer* source);
    ~DSoundInstance() override;
    DSoundInstance(const DSoundInstance&) = delete;
    DSoundInstance& operator=(const DSoundInstance&) = delete;

    void Release() override;
    void SetBaseVolume(double volume) override;
    void SetBasePan(int pan) override;
    void AdjustPitch(double semitones) override;
    void SetVolume(double volume) override;
    void SetPan(int pan) override;
    bool Play(bool looping, bool autoRelease) override;
    void Stop() override;
    bool IsPlaying() override;
    bool IsReleased() override;
    double GetVolume() override;

    // Re-applies volume and pan to the buffer (the manager's effects volume changed).
    void RehupVolume();
    void RehupPan();
    bool GetAutoRelease() const { return mAutoRelease; }
    void SetAutoRelease(bool autoRelease) { mAutoRelease = autoRelease; }
    const Platform::MixerBuffer* GetBuffer() const { return mBuffer.get(); }

    // The buffer attenuation, in hundredths of a decibel, of a volume factor: a log curve that
    // reaches full level at 1 and cuts to silence below -20 dB.
    static int32_t VolumeToAttenuation(double volume);

private:
    DSoundManager* mManager;
    std::unique_ptr<Platform::MixerBuffer> mBuffer;
    bool mAutoRelease = false;
    bool mHasPlayed = false;
    bool mReleased = false;
    int mBasePan = 0;
    double mBaseVolume = 1.0;
    int mPan = 0;
    double mVolume = 1.0;
    uint32_t mBaseFrequency = 44100;
};
} // namespace Quoll

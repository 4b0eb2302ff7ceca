// DirectSound-style buffer operations; all state lives in the voice the mixer reads.
#include "framework/platform/audio/MixerBuffer.h"

#include "framework/platform/audio/Mixer.h"

#include <algorithm>

namespace Quoll::Platform
{
MixerBuffer::MixerBuffer(std::shared_ptr<Mixer> mixer, AudioFormat format,
                         std::shared_ptr<std::vector<uint8_t>> data)
    : mMixer(std::move(mixer)), mFormat(format), mData(std::move(data)),
      mFrequency(format.samplesPerSecond)
{
    mVoice.data = mData->data();
    mVoice.frames = uint32_t(mData->size() / mFormat.BlockAlign());
    mVoice.channels = mFormat.channels;
    mVoice.bits = mFormat.bitsPerSample;
    UpdateGains();
    UpdateStep();
}

MixerBuffer::~MixerBuffer()
{
    mMixer->RemoveBuffer(this);
}

std::unique_ptr<MixerBuffer> MixerBuffer::Duplicate() const
{
    std::lock_guard lock(mMixer->mLock);
    std::unique_ptr<MixerBuffer> copy(new MixerBuffer(mMixer, mFormat, mData));
    copy->mFrequency = mFrequency;
    copy->UpdateStep();
    mMixer->AddBuffer(copy.get());
    return copy;
}

std::span<uint8_t> MixerBuffer::Lock()
{
    return {mData->data(), mData->size()};
}

bool MixerBuffer::Unlock()
{
    return true;
}

std::span<const uint8_t> MixerBuffer::Data() const
{
    return {mData->data(), mData->size()};
}

bool MixerBuffer::Play(bool looping)
{
    std::lock_guard lock(mMixer->mLock);
    if (!mVoice.playing && mVoice.frames > 0 && !mMixer->CanStartVoice())
        return false;
    mVoice.looping = looping;
    mVoice.playing = mVoice.frames > 0;
    return true;
}

void MixerBuffer::Stop()
{
    std::lock_guard lock(mMixer->mLock);
    mVoice.playing = false;
}

bool MixerBuffer::IsPlaying() const
{
    std::lock_guard lock(mMixer->mLock);
    return mVoice.playing;
}

bool MixerBuffer::IsLooping() const
{
    std::lock_guard lock(mMixer->mLock);
    return mVoice.looping;
}

void MixerBuffer::SetCurrentPosition(uint32_t byteOffset)
{
    std::lock_guard lock(mMixer->mLock);
    uint32_t frame = byteOffset / mFormat.BlockAlign();
    if (frame >= mVoice.frames)
        frame = mVoice.frames > 0 ? mVoice.frames - 1 : 0;
    mVoice.position = uint64_t(frame) << 32;
}

uint32_t MixerBuffer::GetCurrentPosition() const
{
    std::lock_guard lock(mMixer->mLock);
    return uint32_t(mVoice.position >> 32) * mFormat.BlockAlign();
}

void MixerBuffer::SetVolume(int32_t hundredthsOfDb)
{
    std::lock_guard lock(mMixer->mLock);
    mVolume = std::clamp(hundredthsOfDb, kMinVolume, kMaxVolume);
    UpdateGains();
}

int32_t MixerBuffer::GetVolume() const
{
    std::lock_guard lock(mMixer->mLock);
    return mVolume;
}

void MixerBuffer::SetPan(int32_t pan)
{
    std::lock_guard lock(mMixer->mLock);
    mPan = std::clamp(pan, kPanLeft, kPanRight);
    UpdateGains();
}

int32_t MixerBuffer::GetPan() const
{
    std::lock_guard lock(mMixer->mLock);
    return mPan;
}

void MixerBuffer::SetFrequency(uint32_t hertz)
{
    std::lock_guard lock(mMixer->mLock);
    mFrequency = std::clamp(hertz, kMinFrequency, kMaxFrequency);
    UpdateStep();
}

uint32_t MixerBuffer::GetFrequency() const
{
    std::lock_guard lock(mMixer->mLock);
    return mFrequency;
}

// Pan attenuates the far side only: a pan of +p takes p hundredths of a decibel off the left.
void MixerBuffer::UpdateGains()
{
    mVoice.gainLeft = AttenuationToGain(mVolume + std::min(0, -mPan));
    mVoice.gainRight = AttenuationToGain(mVolume + std::min(0, mPan));
}

void MixerBuffer::UpdateStep()
{
    mVoice.step = (uint64_t(mFrequency) << 32) / mMixer->GetOutputRate();
}
} // namespace Quoll::Platform

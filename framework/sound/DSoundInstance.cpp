// Sound instances: volume, pan and pitch applied to their own mixer buffer.
#include "framework/sound/DSoundInstance.h"

#include "framework/core/DebugOutput.h"
#include "framework/sound/DSoundManager.h"

#include <algorithm>
#include <cmath>

namespace Quoll
{
DSoundInstance::DSoundInstance(DSoundManager* manager, const Platform::MixerBuffer* source)
    : mManager(manager)
{
    if (source)
    {
        mBuffer = source->Duplicate();
        if (mBuffer)
            mBaseFrequency = mBuffer->GetFrequency();
        else
            OutputDebugText("ERROR: DSoundInstance: cannot duplicate the sound buffer (no free "
                            "voice); the instance stays silent.\n");
    }
    RehupVolume();
}

DSoundInstance::~DSoundInstance() = default;

int32_t DSoundInstance::VolumeToAttenuation(double volume)
{
    const double v = std::clamp(volume, 0.0, 1.0);
    const int32_t a = int32_t(std::trunc((std::log10(9.0 * v + 1.0) - 1.0) * 2333.0));
    return a < -2000 ? Platform::MixerBuffer::kMinVolume : a;
}

void DSoundInstance::RehupVolume()
{
    if (mBuffer)
        mBuffer->SetVolume(VolumeToAttenuation(mVolume * mBaseVolume * mManager->GetVolume()));
}

void DSoundInstance::RehupPan()
{
    if (mBuffer)
        mBuffer->SetPan(std::clamp(mPan + mBasePan, Platform::MixerBuffer::kPanLeft,
                                   Platform::MixerBuffer::kPanRight));
}

void DSoundInstance::Release()
{
    Stop();
    mReleased = true;
}

void DSoundInstance::SetBaseVolume(double volume)
{
    mBaseVolume = volume;
    RehupVolume();
}

void DSoundInstance::SetBasePan(int pan)
{
    mBasePan = std::clamp(pan, Platform::MixerBuffer::kPanLeft, Platform::MixerBuffer::kPanRight);
    RehupPan();
}

void DSoundInstance::SetVolume(double volume)
{
    mVolume = volume;
    RehupVolume();
}

void DSoundInstance::SetPan(int pan)
{
    mPan = std::clamp(pan, Platform::MixerBuffer::kPanLeft, Platform::MixerBuffer::kPanRight);
    RehupPan();
}

// Each call starts from the sound's own rate: twelve semitones double it.
void DSoundInstance::AdjustPitch(double semitones)
{
    if (!mBuffer)
        return;
    const double f = std::pow(1.0594630943592953, semitones) * mBaseFrequency;
    const double clamped = std::clamp(f, double(Platform::MixerBuffer::kMinFrequency),
                                      double(Platform::MixerBuffer::kMaxFrequency));
    mBuffer->SetFrequency(uint32_t(clamped));
}

bool DSoundInstance::Play(bool looping, bool autoRelease)
{
    Stop();
    mHasPlayed = true;
    mAutoRelease = autoRelease;
    if (!mBuffer)
        return false;
    return mBuffer->Play(looping);
}

void DSoundInstance::Stop()
{
    if (!mBuffer)
        return;
    mBuffer->Stop();
    mBuffer->SetCurrentPosition(0);
    mAutoRelease = false;
}

bool DSoundInstance::IsPlaying()
{
    return mHasPlayed && mBuffer && mBuffer->IsPlaying();
}

bool DSoundInstance::IsReleased()
{
    if (!mReleased && mAutoRelease && mHasPlayed && !IsPlaying())
        Release();
    return mReleased;
}

double DSoundInstance::GetVolume()
{
    return mVolume;
}
} // namespace Quoll

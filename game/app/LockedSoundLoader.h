#pragma once
// A sound loader that holds the application's lock around every call: the sound manager does
// not guard its tables, and the loading thread loads sounds while the main thread plays them.
#include "framework/core/CriticalSection.h"
#include "framework/resources/SoundLoader.h"

#include <mutex>

class LockedSoundLoader final : public Quoll::SoundLoader
{
public:
    LockedSoundLoader(Quoll::SoundLoader& inner, Quoll::CriticalSection& lock) : mInner(inner), mLock(lock) {}

    int GetFreeSoundId() override
    {
        std::lock_guard guard(mLock);
        return mInner.GetFreeSoundId();
    }
    bool LoadSound(unsigned id, const std::string& fileName) override
    {
        std::lock_guard guard(mLock);
        return mInner.LoadSound(id, fileName);
    }
    bool SetBaseVolume(unsigned id, double volume) override
    {
        std::lock_guard guard(mLock);
        return mInner.SetBaseVolume(id, volume);
    }
    bool SetBasePan(unsigned id, int pan) override
    {
        std::lock_guard guard(mLock);
        return mInner.SetBasePan(id, pan);
    }
    void ReleaseSound(unsigned id) override
    {
        std::lock_guard guard(mLock);
        mInner.ReleaseSound(id);
    }

private:
    Quoll::SoundLoader& mInner;
    Quoll::CriticalSection& mLock;
};

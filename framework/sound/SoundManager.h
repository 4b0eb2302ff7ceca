#pragma once
// The sound-effect manager: up to 256 loaded sounds by id (0..255), each with a base volume and
// pan, and at most 32 playing instances. Volumes are 0.0..1.0; pans run from -10000 (left) to
// 10000 (right).
#include "framework/sound/SoundInstance.h"

#include <string>

namespace Quoll
{
class SoundManager
{
public:
    static constexpr unsigned kMaxSounds = 256;
    static constexpr unsigned kMaxChannels = 32;

    virtual ~SoundManager() = default;
    virtual bool Initialized() = 0;
    // The id the name was loaded under before, else a newly loaded id; -1 on failure.
    virtual int LoadSoundFile(const std::string& fileName) = 0;
    virtual bool LoadSound(unsigned id, const std::string& fileName) = 0;
    virtual void ReleaseSound(unsigned id) = 0;
    virtual void SetVolume(double volume) = 0;
    virtual bool SetBaseVolume(unsigned id, double volume) = 0;
    virtual bool SetBasePan(unsigned id, int pan) = 0;
    virtual SoundInstance* GetSoundInstance(unsigned id) = 0;
    virtual void ReleaseSounds() = 0;
    virtual void ReleaseChannels() = 0;
    virtual double GetMasterVolume() = 0;
    virtual void SetMasterVolume(double volume) = 0;
    virtual void Flush() = 0;
    virtual void SetCooperativeWindow(void* window, bool isWindowed) = 0;
    virtual void StopAllSounds() = 0;
    virtual int GetFreeSoundId() = 0;
    virtual int GetNumSounds() = 0;
};
} // namespace Quoll

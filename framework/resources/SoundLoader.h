#pragma once
// What the resource manager needs of the sound manager to load "Sound" resources. The sound
// manager implements it (or an adapter does) and is installed with
// ResourceManager::SetSoundLoader. Calls come from the loading thread as well as the main
// thread, always under the resource manager's lock.
#include <string>

namespace Quoll
{
class SoundLoader
{
public:
    virtual ~SoundLoader() = default;
    // The lowest sound id that holds no sound, -1 when none is free.
    virtual int GetFreeSoundId() = 0;
    virtual bool LoadSound(unsigned id, const std::string& fileName) = 0;
    virtual bool SetBaseVolume(unsigned id, double volume) = 0;
    virtual bool SetBasePan(unsigned id, int pan) = 0;
    virtual void ReleaseSound(unsigned id) = 0;
};
} // namespace Quoll

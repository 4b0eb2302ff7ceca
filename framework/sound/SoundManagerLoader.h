#pragma once
// Lets the resource manager load "Sound" resources into a sound manager: install it with
// ResourceManager::SetSoundLoader. The manager guards its own tables.
#include "framework/resources/SoundLoader.h"
#include "framework/sound/SoundManager.h"

namespace Quoll
{
class SoundManagerLoader : public SoundLoader
{
public:
    explicit SoundManagerLoader(SoundManager& manager) : mManager(manager) {}
    int GetFreeSoundId() override { return mManager.GetFreeSoundId(); }
    bool LoadSound(unsigned id, const std::string& fileName) override
    {
        return mManager.LoadSound(id, fileName);
    }
    bool SetBaseVolume(unsigned id, double volume) override
    {
        return mManager.SetBaseVolume(id, volume);
    }
    bool SetBasePan(unsigned id, int pan) override { return mManager.SetBasePan(id, pan); }
    void ReleaseSound(unsigned id) override { mManager.ReleaseSound(id); }

private:
    SoundManager& mManager;
};
} // namespace Quoll

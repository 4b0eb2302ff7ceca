#pragma once
// A sound manager that plays nothing: it accepts every sound file and records what the game
// does with the instances it hands out (pan, volume, plays).
#include "framework/sound/SoundManager.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace ShellTest
{
struct PlayedSound
{
    unsigned id;
    int pan;
    double volume;
};

class FakeSoundManager final : public Quoll::SoundManager
{
public:
    class Instance final : public Quoll::SoundInstance
    {
    public:
        Instance(FakeSoundManager& owner, unsigned id) : mOwner(owner), mId(id) {}
        void Release() override {}
        void SetBaseVolume(double) override {}
        void SetBasePan(int) override {}
        void AdjustPitch(double) override {}
        void SetVolume(double volume) override { mVolume = volume; }
        void SetPan(int pan) override { mPan = pan; }
        bool Play(bool, bool) override
        {
            mOwner.mPlayed.push_back({mId, mPan, mVolume});
            return true;
        }
        void Stop() override {}
        bool IsPlaying() override { return false; }
        bool IsReleased() override { return false; }
        double GetVolume() override { return mVolume; }

    private:
        FakeSoundManager& mOwner;
        unsigned mId;
        int mPan = 0;
        double mVolume = 1.0;
    };

    bool Initialized() override { return true; }
    int LoadSoundFile(const std::string&) override { return -1; }
    bool LoadSound(unsigned id, const std::string&) override { return mLoaded.insert(id).second; }
    void ReleaseSound(unsigned id) override { mLoaded.erase(id); }
    void SetVolume(double) override {}
    bool SetBaseVolume(unsigned, double) override { return true; }
    bool SetBasePan(unsigned, int) override { return true; }
    Quoll::SoundInstance* GetSoundInstance(unsigned id) override
    {
        if (mLoaded.count(id) == 0)
            return nullptr;
        mInstances.push_back(std::make_unique<Instance>(*this, id));
        return mInstances.back().get();
    }
    void ReleaseSounds() override { mLoaded.clear(); }
    void ReleaseChannels() override {}
    double GetMasterVolume() override { return 1.0; }
    void SetMasterVolume(double) override {}
    void Flush() override {}
    void SetCooperativeWindow(void*, bool) override {}
    void StopAllSounds() override {}
    int GetFreeSoundId() override
    {
        for (unsigned id = 0; id < 256; ++id)
            if (mLoaded.count(id) == 0)
                return static_cast<int>(id);
        return -1;
    }
    int GetNumSounds() override { return static_cast<int>(mLoaded.size()); }

    std::vector<PlayedSound> mPlayed;

private:
    std::set<unsigned> mLoaded;
    std::vector<std::unique_ptr<Instance>> mInstances;
};
} // namespace ShellTest

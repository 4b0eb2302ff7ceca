#pragma once
// The sound manager over the shared software mixer. Silent (every call accepted, nothing
// loaded or heard) when created without a window or when no audio output opens. With FMOD
// (when the library can be had) ".mp3" sounds decode through it. Sounds that had to be
// decoded are kept as scrambled WAV copies under the data folder's "cached/" tree.
// Thread safety: the tables are guarded, so the loading thread may load while the main thread
// plays; an instance pointer is the caller's to keep apart from its release.
#include "framework/core/CriticalSection.h"
#include "framework/platform/audio/MixerOutput.h"
#include "framework/sound/DSoundInstance.h"
#include "framework/sound/SoundManager.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace Quoll
{
struct FMOD_INSTANCE;

class DSoundManager : public SoundManager
{
public:
    using TickSource = uint32_t (*)();

    DSoundManager(void* window, bool useFMod);
    ~DSoundManager() override;
    DSoundManager(const DSoundManager&) = delete;
    DSoundManager& operator=(const DSoundManager&) = delete;

    bool Initialized() override;
    int LoadSoundFile(const std::string& fileName) override;
    bool LoadSound(unsigned id, const std::string& fileName) override;
    void ReleaseSound(unsigned id) override;
    void SetVolume(double volume) override;
    bool SetBaseVolume(unsigned id, double volume) override;
    bool SetBasePan(unsigned id, int pan) override;
    SoundInstance* GetSoundInstance(unsigned id) override;
    void ReleaseSounds() override;
    void ReleaseChannels() override;
    double GetMasterVolume() override;
    void SetMasterVolume(double volume) override;
    void Flush() override;
    void SetCooperativeWindow(void* window, bool isWindowed) override;
    void StopAllSounds() override;
    int GetFreeSoundId() override;
    int GetNumSounds() override;

    // The loaders: each fills the id's buffer and sample size from one file.
    bool LoadWavFile(unsigned id, const std::string& fileName);
    bool LoadOGGFile(unsigned id, const std::string& fileName);
    bool LoadAUFile(unsigned id, const std::string& fileName);
    bool LoadFModSound(unsigned id, const std::string& fileName);
    // Writes the id's sound as a cached copy of the source file.
    bool WriteCachedWav(unsigned id, const std::string& cacheName, const std::string& sourceName);

    double GetVolume() const;
    bool UsesFMod() const { return mFMod != nullptr; }
    Platform::MixerOutput* GetOutput() { return mOutput.get(); }
    const Platform::MixerBuffer* GetSoundBuffer(unsigned id) const;
    uint32_t GetSampleSize(unsigned id) const;
    // Instances held in the channel slots, released or not.
    int CountChannels() const;
    // The cache file a name is looked up in; empty for an absolute name.
    static std::string CacheNameOf(const std::string& fileName);
    // Replaces the millisecond clock that paces the sweep of finished instances (tests).
    void SetTickSource(TickSource ticks) { mTicks = ticks; }

private:
    class BufferSink;
    bool LoadWith(unsigned id, const std::string& fileName,
                  bool (*reader)(class SoundFile&, class SampleSink&));
    void CacheDecoded(unsigned id, const std::string& cacheName, const std::string& source);
    int FindFreeChannel();
    void StartFMod(void* window);

    mutable CriticalSection mLock;
    std::shared_ptr<Platform::MixerOutput> mOutput; // null: silent
    std::array<std::unique_ptr<Platform::MixerBuffer>, kMaxSounds> mBuffers;
    std::array<std::string, kMaxSounds> mFileNames;
    std::array<uint32_t, kMaxSounds> mSampleSizes{};
    std::array<double, kMaxSounds> mBaseVolumes;
    std::array<int, kMaxSounds> mBasePans{};
    std::array<std::unique_ptr<DSoundInstance>, kMaxChannels> mChannels;
    double mVolume = 1.0;
    double mSilentMasterVolume = 1.0; // kept while there is no output
    uint32_t mLastSweepTime = 0;
    FMOD_INSTANCE* mFMod = nullptr;
    TickSource mTicks;
};
} // namespace Quoll

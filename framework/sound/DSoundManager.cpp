// The sound manager: ids, channels, the order of loaders and the cache of decoded sounds.
#include "framework/sound/DSoundManager.h"

#include "framework/core/Common.h"
#include "framework/core/DebugOutput.h"
#include "framework/platform/system/Clock.h"
#include "framework/sound/FModLibrary.h"
#include "framework/sound/SoundFile.h"
#include "framework/sound/SoundReaders.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Quoll
{
// Readers put their samples straight into a new mixer buffer, kept only when they succeed.
class DSoundManager::BufferSink : public SampleSink
{
public:
    explicit BufferSink(Platform::Mixer& mixer) : mMixer(mixer) {}
    std::span<uint8_t> Allocate(const Platform::AudioFormat& format, uint32_t bytes) override
    {
        buffer = mMixer.CreateBuffer(format, bytes);
        return buffer ? buffer->Lock() : std::span<uint8_t>();
    }
    std::unique_ptr<Platform::MixerBuffer> buffer;

private:
    Platform::Mixer& mMixer;
};

DSoundManager::DSoundManager(void* window, bool useFMod) : mTicks(&Platform::TickCount)
{
    mBaseVolumes.fill(1.0);
    if (!window)
        return;
    mOutput = Platform::MixerOutput::Acquire();
    if (!mOutput)
        return;
    if (useFMod)
        StartFMod(window);
}

void DSoundManager::StartFMod(void* window)
{
    mFMod = LoadFModDLL();
    if (!mFMod)
        return;
    mFMod->_FSOUND_SetHWND(window);
    mFMod->_FSOUND_SetBufferSize(200);
    mFMod->_FSOUND_Init(44100, 64, 2);
}

DSoundManager::~DSoundManager()
{
    ReleaseChannels();
    ReleaseSounds();
    if (mFMod)
    {
        mFMod->_FSOUND_Close();
        FreeFModDLL();
    }
}

bool DSoundManager::Initialized()
{
    return mOutput != nullptr;
}

int DSoundManager::LoadSoundFile(const std::string& fileName)
{
    int id = -1;
    {
        AutoCrit lock(mLock);
        for (unsigned i = 0; i < kMaxSounds; ++i)
            if (mFileNames[i] == fileName)
                return int(i);
        for (int i = int(kMaxSounds) - 1; i >= 0 && id < 0; --i)
            if (!mBuffers[i])
                id = i;
    }
    if (id < 0)
        return -1;
    return LoadSound(unsigned(id), fileName) ? id : -1;
}

std::string DSoundManager::CacheNameOf(const std::string& fileName)
{
    const bool relative = fileName.size() > 2 && fileName[0] != '\\' && fileName[0] != '/' &&
                          fileName[1] != ':';
    const std::string folder = GetAppDataFolder();
    if (!relative || folder.empty())
        return {};
    return folder + "cached/" + ToSystemPath(fileName) + ".wav";
}

// Tries the cached copy, then the plain WAV, then the formats that need decoding; a decoded
// sound is written to the cache for the next start.
bool DSoundManager::LoadSound(unsigned id, const std::string& fileName)
{
    if (id >= kMaxSounds)
        return false;
    ReleaseSound(id);
    if (!mOutput)
        return true;
    {
        AutoCrit lock(mLock);
        mFileNames[id] = fileName;
    }
    const std::string cacheName = CacheNameOf(fileName);
    if (!cacheName.empty())
    {
        if (LoadWavFile(id, cacheName))
            return true;
        MakeDirectories(GetDirectoryPart(cacheName));
    }
    if (LoadWavFile(id, fileName + ".wav"))
        return true;
    const std::pair<const char*, bool (DSoundManager::*)(unsigned, const std::string&)>
        decoders[] = {{".mp3", &DSoundManager::LoadFModSound},
                      {".ogg", &DSoundManager::LoadOGGFile},
                      {".au", &DSoundManager::LoadAUFile}};
    for (const auto& [extension, loader] : decoders)
    {
        if (loader == &DSoundManager::LoadFModSound && !mFMod)
            continue;
        if ((this->*loader)(id, fileName + extension))
        {
            CacheDecoded(id, cacheName, fileName + extension);
            return true;
        }
    }
    return false;
}

void DSoundManager::CacheDecoded(unsigned id, const std::string& cacheName,
                                 const std::string& source)
{
    if (!cacheName.empty())
        WriteCachedWav(id, cacheName, source);
}

void DSoundManager::ReleaseSound(unsigned id)
{
    if (id >= kMaxSounds)
        return;
    AutoCrit lock(mLock);
    mBuffers[id].reset();
    mFileNames[id].clear();
}

void DSoundManager::SetVolume(double volume)
{
    AutoCrit lock(mLock);
    mVolume = volume;
    for (auto& channel : mChannels)
        if (channel)
            channel->RehupVolume();
}

double DSoundManager::GetVolume() const
{
    AutoCrit lock(mLock);
    return mVolume;
}

bool DSoundManager::SetBaseVolume(unsigned id, double volume)
{
    if (id >= kMaxSounds)
        return false;
    AutoCrit lock(mLock);
    mBaseVolumes[id] = volume;
    return true;
}

bool DSoundManager::SetBasePan(unsigned id, int pan)
{
    if (id >= kMaxSounds)
        return false;
    AutoCrit lock(mLock);
    mBasePans[id] = pan;
    return true;
}

SoundInstance* DSoundManager::GetSoundInstance(unsigned id)
{
    if (id >= kMaxSounds)
        return nullptr;
    AutoCrit lock(mLock);
    const int channel = FindFreeChannel();
    if (channel < 0)
        return nullptr;
    if (mOutput && !mBuffers[id])
        return nullptr;
    auto instance = std::make_unique<DSoundInstance>(this, mBuffers[id].get());
    instance->SetBasePan(mBasePans[id]);
    instance->SetBaseVolume(mBaseVolumes[id]);
    mChannels[channel] = std::move(instance);
    return mChannels[channel].get();
}

// Finished instances are swept at most once a second; otherwise the first empty slot, or the
// first whose instance has been released, is taken.
int DSoundManager::FindFreeChannel()
{
    const uint32_t now = mTicks();
    if (now - mLastSweepTime > 1000)
    {
        for (auto& channel : mChannels)
            if (channel && channel->IsReleased())
                channel.reset();
        mLastSweepTime = now;
    }
    for (unsigned i = 0; i < kMaxChannels; ++i)
    {
        if (!mChannels[i])
            return int(i);
        if (mChannels[i]->IsReleased())
        {
            mChannels[i].reset();
            return int(i);
        }
    }
    return -1;
}

void DSoundManager::ReleaseSounds()
{
    AutoCrit lock(mLock);
    for (auto& buffer : mBuffers)
        buffer.reset();
}

void DSoundManager::ReleaseChannels()
{
    AutoCrit lock(mLock);
    for (auto& channel : mChannels)
        channel.reset();
}

double DSoundManager::GetMasterVolume()
{
    if (!mOutput)
        return mSilentMasterVolume;
    return mOutput->GetMixer().GetMasterVolume() / 65535.0;
}

void DSoundManager::SetMasterVolume(double volume)
{
    const uint16_t level = uint16_t(std::clamp(volume, 0.0, 1.0) * 65535.0);
    if (mOutput)
        mOutput->GetMixer().SetMasterVolume(level);
    else
        mSilentMasterVolume = level / 65535.0;
}

void DSoundManager::Flush() {}

void DSoundManager::SetCooperativeWindow(void*, bool) {}

// Stopping clears an instance's auto-release; it is put back so those still release themselves.
void DSoundManager::StopAllSounds()
{
    AutoCrit lock(mLock);
    for (auto& channel : mChannels)
    {
        if (!channel)
            continue;
        const bool autoRelease = channel->GetAutoRelease();
        channel->Stop();
        channel->SetAutoRelease(autoRelease);
    }
}

int DSoundManager::GetFreeSoundId()
{
    AutoCrit lock(mLock);
    for (unsigned i = 0; i < kMaxSounds; ++i)
        if (!mBuffers[i])
            return int(i);
    return -1;
}

int DSoundManager::GetNumSounds()
{
    AutoCrit lock(mLock);
    return int(std::count_if(mBuffers.begin(), mBuffers.end(),
                             [](const auto& buffer) { return buffer != nullptr; }));
}

const Platform::MixerBuffer* DSoundManager::GetSoundBuffer(unsigned id) const
{
    AutoCrit lock(mLock);
    return id < kMaxSounds ? mBuffers[id].get() : nullptr;
}

int DSoundManager::CountChannels() const
{
    AutoCrit lock(mLock);
    return int(std::count_if(mChannels.begin(), mChannels.end(),
                             [](const auto& channel) { return channel != nullptr; }));
}

uint32_t DSoundManager::GetSampleSize(unsigned id) const
{
    AutoCrit lock(mLock);
    return id < kMaxSounds ? mSampleSizes[id] : 0;
}

// Decoding runs without the lock; only the finished buffer is put in place under it.
bool DSoundManager::LoadWith(unsigned id, const std::string& fileName,
                             bool (*reader)(SoundFile&, SampleSink&))
{
    if (id >= kMaxSounds || !mOutput)
        return false;
    SoundFile file;
    if (!file.Open(fileName))
        return false;
    BufferSink sink(mOutput->GetMixer());
    if (!reader(file, sink) || !sink.buffer)
        return false;
    AutoCrit lock(mLock);
    mSampleSizes[id] = sink.buffer->GetSize();
    mBuffers[id] = std::move(sink.buffer);
    return true;
}

bool DSoundManager::LoadWavFile(unsigned id, const std::string& fileName)
{
    return LoadWith(id, fileName, &ReadWavSound);
}

bool DSoundManager::LoadOGGFile(unsigned id, const std::string& fileName)
{
    return LoadWith(id, fileName, &ReadOggSound);
}

bool DSoundManager::LoadAUFile(unsigned id, const std::string& fileName)
{
    return LoadWith(id, fileName, &ReadAuSound);
}

// FMOD decodes the file itself; its first locked region becomes the sound's samples.
bool DSoundManager::LoadFModSound(unsigned id, const std::string& fileName)
{
    if (!mFMod || !mOutput || id >= kMaxSounds)
        return false;
    FModSample* sample = mFMod->_FSOUND_Sample_Load(-1, fileName.c_str(), 0, 0);
    if (!sample)
        return false;
    const unsigned mode = mFMod->_FSOUND_Sample_GetMode(sample);
    int frequency = 0;
    mFMod->_FSOUND_Sample_GetDefaults(sample, &frequency, nullptr, nullptr, nullptr);
    const Platform::AudioFormat format{uint16_t((mode & kFModModeMono) ? 1 : 2),
                                       uint32_t(std::max(frequency, 0)),
                                       uint16_t((mode & kFModMode8Bits) ? 8 : 16)};
    const uint64_t bytes =
        uint64_t(mFMod->_FSOUND_Sample_GetLength(sample)) * format.BlockAlign();
    auto buffer = bytes <= Platform::Mixer::kMaxBufferBytes
                      ? mOutput->GetMixer().CreateBuffer(format, uint32_t(bytes))
                      : nullptr;
    if (!buffer)
    {
        mFMod->_FSOUND_Sample_Free(sample);
        return false;
    }
    std::span<uint8_t> target = buffer->Lock();
    void* first = nullptr;
    void* second = nullptr;
    unsigned firstLength = 0, secondLength = 0;
    if (mFMod->_FSOUND_Sample_Lock(sample, 0, int(bytes), &first, &second, &firstLength,
                                   &secondLength) &&
        first)
    {
        std::memcpy(target.data(), first, std::min<size_t>(firstLength, target.size()));
        mFMod->_FSOUND_Sample_Unlock(sample, first, second, firstLength, secondLength);
    }
    buffer->Unlock();
    mFMod->_FSOUND_Sample_Free(sample);
    AutoCrit lock(mLock);
    mSampleSizes[id] = buffer->GetSize();
    mBuffers[id] = std::move(buffer);
    return true;
}

bool DSoundManager::WriteCachedWav(unsigned id, const std::string& cacheName,
                                   const std::string& sourceName)
{
    if (cacheName.empty() || id >= kMaxSounds)
        return false;
    AutoCrit lock(mLock);
    const Platform::MixerBuffer* buffer = mBuffers[id].get();
    if (!buffer)
        return false;
    const auto data = buffer->Data().first(std::min<size_t>(mSampleSizes[id], buffer->GetSize()));
    return Quoll::WriteCachedWav(cacheName, buffer->GetFormat(), data, sourceName);
}
} // namespace Quoll

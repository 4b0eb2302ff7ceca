// Music through the optional FMOD library, with the cache of decoded songs.
#include "framework/sound/FModMusicInterface.h"

#include "framework/core/Common.h"
#include "framework/sound/FModLibrary.h"
#include "framework/sound/MusicFade.h"
#include "framework/sound/SoundReaders.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Quoll
{
namespace
{
constexpr int kLoopModeNormal = 2;
constexpr int kLoopModeOff = 1;

struct SampleShape
{
    Platform::AudioFormat format;
    unsigned mode = 0;
    unsigned length = 0; // frames
};

SampleShape ShapeOf(FMOD_INSTANCE& fmod, FModSample* sample)
{
    SampleShape shape;
    shape.mode = fmod._FSOUND_Sample_GetMode(sample);
    int frequency = 0;
    fmod._FSOUND_Sample_GetDefaults(sample, &frequency, nullptr, nullptr, nullptr);
    shape.format = {uint16_t((shape.mode & kFModModeMono) ? 1 : 2), uint32_t(std::max(frequency, 0)),
                    uint16_t((shape.mode & kFModMode8Bits) ? 8 : 16)};
    shape.length = fmod._FSOUND_Sample_GetLength(sample);
    return shape;
}

// Copies the first locked region of a sample into the destination; the bytes copied.
size_t CopySampleBytes(FMOD_INSTANCE& fmod, FModSample* sample, size_t bytes, uint8_t* out,
                       size_t room)
{
    void* first = nullptr;
    void* second = nullptr;
    unsigned firstLength = 0, secondLength = 0;
    if (!fmod._FSOUND_Sample_Lock(sample, 0, int(bytes), &first, &second, &firstLength,
                                  &secondLength))
        return 0;
    const size_t n = first ? std::min<size_t>(firstLength, room) : 0;
    if (n > 0)
        std::memcpy(out, first, n);
    fmod._FSOUND_Sample_Unlock(sample, first, second, firstLength, secondLength);
    return n;
}
} // namespace

FModMusicInterface::FModMusicInterface() : mFMod(LoadFModDLL()) {}

FModMusicInterface::~FModMusicInterface()
{
    if (mFMod)
        FreeFModDLL();
}

FModMusicInfo* FModMusicInterface::Find(int songId)
{
    if (!mFMod)
        return nullptr;
    auto it = mSongs.find(songId);
    return it == mSongs.end() ? nullptr : &it->second;
}

const FModMusicInfo* FModMusicInterface::FindSong(int songId) const
{
    auto it = mSongs.find(songId);
    return it == mSongs.end() ? nullptr : &it->second;
}

bool FModMusicInterface::LoadMusic(int songId, const std::string& fileName)
{
    if (!mFMod)
        return false;
    FModModule* module = mFMod->_FMUSIC_LoadSong(fileName.c_str());
    if (!module)
        return false;
    FModMusicInfo song;
    song.module = module;
    mSongs.try_emplace(songId, song); // an id already loaded keeps its song
    return true;
}

bool FModMusicInterface::LoadSampleMusic(int songId, const std::string& fileName, bool loop)
{
    if (!mFMod)
        return false;
    FModSample* sample = LoadCachedOgg(fileName);
    if (!sample)
        return false;
    FModMusicInfo song;
    song.sample = sample;
    song.loop = loop;
    mSongs.try_emplace(songId, song);
    return true;
}

// The cached copy is named after the source's base name alone and is never checked against
// the source.
FModSample* FModMusicInterface::LoadCachedOgg(const std::string& fileName)
{
    const std::string cacheName =
        GetAppDataFolder() + "cached/" + GetFileBaseName(fileName) + ".wav";
    MakeDirectories(GetDirectoryPart(cacheName));
    if (FModSample* cached = mFMod->_FSOUND_Sample_Load(-1, cacheName.c_str(), 0, 0))
        return cached;
    FModSample* sample = mFMod->_FSOUND_Sample_Load(-1, (fileName + ".ogg").c_str(), 0, 0);
    if (!sample)
        return nullptr;
    const SampleShape shape = ShapeOf(*mFMod, sample);
    const size_t bytes = size_t(shape.length) * shape.format.BlockAlign();
    void* first = nullptr;
    void* second = nullptr;
    unsigned firstLength = 0, secondLength = 0;
    if (mFMod->_FSOUND_Sample_Lock(sample, 0, int(bytes), &first, &second, &firstLength,
                                   &secondLength))
    {
        if (first)
            WritePlainWav(cacheName, shape.format,
                          {static_cast<const uint8_t*>(first), firstLength});
        mFMod->_FSOUND_Sample_Unlock(sample, first, second, firstLength, secondLength);
    }
    return sample;
}

// 1. Both parts load and agree on rate and layout. 2. One sample holds the intro, then the
// loop. 3. The loop points cover the second part.
bool FModMusicInterface::LoadIntroLoopSample(int songId, const std::string& introName,
                                             const std::string& loopName, bool loop)
{
    if (!mFMod)
        return false;
    FModSample* intro = LoadCachedOgg(introName);
    FModSample* loopPart = LoadCachedOgg(loopName);
    if (!intro || !loopPart)
        return false;
    const SampleShape a = ShapeOf(*mFMod, intro);
    const SampleShape b = ShapeOf(*mFMod, loopPart);
    if (a.format.samplesPerSecond != b.format.samplesPerSecond || a.mode != b.mode)
        return false;

    const unsigned frames = a.length + b.length;
    FModSample* joined = mFMod->_FSOUND_Sample_Alloc(-1, int(frames), a.mode | kFModModeLoopNormal,
                                                     int(a.format.samplesPerSecond), 255, 128, 0);
    if (!joined)
        return false;
    const size_t frameBytes = a.format.BlockAlign();
    const size_t total = size_t(frames) * frameBytes;
    void* first = nullptr;
    void* second = nullptr;
    unsigned firstLength = 0, secondLength = 0;
    if (mFMod->_FSOUND_Sample_Lock(joined, 0, int(total), &first, &second, &firstLength,
                                   &secondLength) &&
        first)
    {
        auto* out = static_cast<uint8_t*>(first);
        const size_t room = std::min<size_t>(firstLength, total);
        const size_t introBytes =
            CopySampleBytes(*mFMod, intro, size_t(a.length) * frameBytes, out, room);
        CopySampleBytes(*mFMod, loopPart, size_t(b.length) * frameBytes, out + introBytes,
                        room - introBytes);
        mFMod->_FSOUND_Sample_Unlock(joined, first, second, firstLength, secondLength);
    }
    mFMod->_FSOUND_Sample_Free(intro);
    mFMod->_FSOUND_Sample_Free(loopPart);
    mFMod->_FSOUND_Sample_SetLoopPoints(joined, int(a.length), int(b.length));
    FModMusicInfo song;
    song.sample = joined;
    song.loop = loop;
    mSongs.try_emplace(songId, song);
    return true;
}

void FModMusicInterface::ApplyVolume(int songId, const FModMusicInfo& song)
{
    if (song.module)
        mFMod->_FMUSIC_SetMasterVolume(
            song.module, int(std::trunc(song.volume * mMusicVolume * mModuleVolumeScale)));
    else
        mFMod->_FSOUND_SetVolume(songId,
                                 int(std::trunc(mMusicVolume * song.volume * mSampleVolumeScale)));
}

void FModMusicInterface::StartSample(int songId, const FModMusicInfo& song)
{
    mFMod->_FSOUND_PlaySound(songId, song.sample);
    mFMod->_FSOUND_SetLoopMode(songId, song.loop ? kLoopModeNormal : kLoopModeOff);
}

void FModMusicInterface::PlayMusic(int songId, int offset, bool noLoop)
{
    FModMusicInfo* song = Find(songId);
    if (!song)
        return;
    song->volume = song->volumeCap;
    song->volumeAdd = 0.0;
    if (song->module)
    {
        ApplyVolume(songId, *song);
        mFMod->_FMUSIC_SetLooping(song->module, noLoop ? 1 : 2);
        mFMod->_FMUSIC_PlaySong(song->module);
        mFMod->_FMUSIC_SetOrder(song->module, offset);
    }
    else
    {
        StartSample(songId, *song);
        ApplyVolume(songId, *song);
    }
}

void FModMusicInterface::Stop(int songId, FModMusicInfo& song)
{
    if (song.module)
        mFMod->_FMUSIC_StopSong(song.module);
    else
        mFMod->_FSOUND_StopSound(songId);
}

void FModMusicInterface::StopMusic(int songId)
{
    if (FModMusicInfo* song = Find(songId))
    {
        song->volume = 0.0;
        Stop(songId, *song);
    }
}

void FModMusicInterface::StopAllMusic()
{
    for (auto& [id, song] : mSongs)
        StopMusic(id);
}

void FModMusicInterface::PauseMusic(int songId)
{
    if (FModMusicInfo* song = Find(songId))
    {
        if (song->module)
            mFMod->_FMUSIC_SetPaused(song->module, 1);
        else
            mFMod->_FSOUND_SetPaused(songId, 1);
    }
}

void FModMusicInterface::ResumeMusic(int songId)
{
    if (FModMusicInfo* song = Find(songId))
    {
        if (song->module)
            mFMod->_FMUSIC_SetPaused(song->module, 0);
        else
            mFMod->_FSOUND_SetPaused(songId, 0);
    }
}

void FModMusicInterface::FadeIn(int songId, int offset, double speed, bool noLoop)
{
    FModMusicInfo* song = Find(songId);
    if (!song)
        return;
    song->volumeAdd = speed;
    if (song->module)
    {
        ApplyVolume(songId, *song);
        mFMod->_FMUSIC_SetLooping(song->module, noLoop ? 1 : 2);
        if (!mFMod->_FMUSIC_IsPlaying(song->module))
            mFMod->_FMUSIC_PlaySong(song->module);
        if (offset != -1)
            mFMod->_FMUSIC_SetOrder(song->module, offset);
    }
    else
    {
        if (!mFMod->_FSOUND_IsPlaying(songId))
            StartSample(songId, *song);
        ApplyVolume(songId, *song);
    }
}

void FModMusicInterface::FadeOut(int songId, bool stopSong, double speed)
{
    if (FModMusicInfo* song = Find(songId))
    {
        song->volumeAdd = -speed;
        song->stopOnFade = stopSong;
    }
}

void FModMusicInterface::FadeOutAll(bool stopSong, double speed)
{
    for (auto& [id, song] : mSongs)
        FadeOut(id, stopSong, speed);
}

void FModMusicInterface::SetSongVolume(int songId, double volume)
{
    if (FModMusicInfo* song = Find(songId))
    {
        song->volume = volume;
        ApplyVolume(songId, *song);
    }
}

bool FModMusicInterface::IsPlaying(int songId)
{
    FModMusicInfo* song = Find(songId);
    if (!song)
        return false;
    if (song->module)
        return mFMod->_FMUSIC_IsPlaying(song->module) != 0;
    return mFMod->_FSOUND_IsPlaying(songId) != 0;
}

void FModMusicInterface::SetVolume(double volume)
{
    mMusicVolume = volume;
    if (!mFMod)
        return;
    for (auto& [id, song] : mSongs)
        ApplyVolume(id, song);
}

void FModMusicInterface::Update()
{
    for (auto& [id, song] : mSongs)
    {
        const FadeStep step = StepFade(song.volume, song.volumeAdd, song.volumeCap);
        if (step == FadeStep::Idle)
            continue;
        if (step == FadeStep::FadedOut && song.stopOnFade)
            Stop(id, song);
        ApplyVolume(id, song);
    }
}
} // namespace Quoll

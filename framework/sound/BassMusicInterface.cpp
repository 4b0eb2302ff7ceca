// Music through the optional BASS library.
#include "framework/sound/BassMusicInterface.h"

#include "framework/core/Common.h"
#include "framework/sound/BassLibrary.h"
#include "framework/sound/MusicFade.h"
#include "framework/sound/SoundFile.h"

#include <cmath>

namespace Quoll
{
namespace
{
constexpr uint32_t kLoopFlag = 4;
constexpr uint32_t kVersion2ModuleFlags = 0x200;
constexpr uint32_t kVersion2PlayFlags = 0x8200;
constexpr uint32_t kActivePlaying = 1;
constexpr uint32_t kActivePaused = 3;

int Percent(double value)
{
    return int(std::trunc(value * 100.0));
}

// A module position by order: the offset's low 16 bits, flagged, sign-extended to 64 bits.
uint64_t ModuleOrderPosition(int offset)
{
    const uint32_t low = (uint32_t(offset) & 0xFFFF) | 0x80000000u;
    return 0xFFFFFFFF00000000ull | low;
}

bool IsStreamExtension(const std::string& fileName)
{
    const size_t dot = fileName.rfind('.');
    if (dot == std::string::npos)
        return false;
    const std::string extension = StringToLower(fileName.substr(dot + 1));
    return extension == "wav" || extension == "ogg" || extension == "mp3";
}

bool ReadWholeFile(const std::string& fileName, std::vector<uint8_t>& out)
{
    SoundFile file;
    if (!file.Open(fileName) || file.Size() > (int64_t(1) << 30))
        return false;
    out.resize(size_t(file.Size()));
    return file.ReadBytes(out.data(), out.size());
}
} // namespace

BassMusicInterface::BassMusicInterface(void* window) : mBass(LoadBassDLL())
{
    if (!mBass)
        return;
    if (mBass->version2)
    {
        mBass->BASS_Init2(1, 44100, 0, window, nullptr);
        mBass->BASS_SetConfig(0, 2000);
        mModuleFlags = kLoopFlag | kVersion2ModuleFlags;
    }
    else
        mBass->BASS_Init(-1, 44100, 0, window);
    mBass->BASS_Start();
}

BassMusicInterface::~BassMusicInterface()
{
    if (!mBass)
        return;
    mBass->BASS_Stop();
    mBass->BASS_Free();
    FreeBassDLL();
}

BassMusicInfo* BassMusicInterface::Find(int songId)
{
    if (!mBass)
        return nullptr;
    auto it = mSongs.find(songId);
    return it == mSongs.end() ? nullptr : &it->second;
}

const BassMusicInfo* BassMusicInterface::FindSong(int songId) const
{
    auto it = mSongs.find(songId);
    return it == mSongs.end() ? nullptr : &it->second;
}

bool BassMusicInterface::LoadMusic(int songId, const std::string& fileName)
{
    if (!mBass)
        return false;
    BassMusicInfo song;
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(fileName, bytes))
        return false;
    if (IsStreamExtension(fileName))
    {
        song.memory = std::move(bytes);
        song.stream =
            mBass->BASS_StreamCreateFile(1, song.memory.data(), 0, song.memory.size(), 0);
    }
    else if (mBass->version2)
        song.module = mBass->BASS_MusicLoad2(1, bytes.data(), 0, uint32_t(bytes.size()),
                                             mModuleFlags, 0);
    else
        song.module =
            mBass->BASS_MusicLoad(1, bytes.data(), 0, uint32_t(bytes.size()), mModuleFlags);
    if (song.Channel() == 0)
        return false;
    if (mSongs.contains(songId))
        FreeSong(song); // the id keeps its first song
    else
        mSongs.emplace(songId, std::move(song));
    return true;
}

void BassMusicInterface::ApplyVolume(const BassMusicInfo& song)
{
    mBass->BASS_ChannelSetAttributes(song.Channel(), -1, Percent(song.volume), -101);
}

void BassMusicInterface::StartModule(const BassMusicInfo& song, int offset, uint32_t flags)
{
    mBass->BASS_ChannelStop(song.Channel());
    mBass->BASS_ChannelSetPosition(song.Channel(), ModuleOrderPosition(offset));
    mBass->BASS_ChannelSetFlags(song.Channel(), flags);
    mBass->BASS_ChannelPlay(song.Channel(), 0);
}

void BassMusicInterface::StartStream(const BassMusicInfo& song, int offset, bool noLoop)
{
    mBass->BASS_ChannelSetFlags(song.Channel(), noLoop ? 0 : kLoopFlag);
    mBass->BASS_ChannelPlay(song.Channel(), offset != -1 ? 1 : 0);
    if (offset > 0)
        mBass->BASS_ChannelSetPosition(song.Channel(), uint64_t(offset));
}

void BassMusicInterface::PlayMusic(int songId, int offset, bool noLoop)
{
    BassMusicInfo* song = Find(songId);
    if (!song)
        return;
    song->volume = song->volumeCap;
    song->volumeAdd = 0.0;
    song->stopOnFade = noLoop;
    ApplyVolume(*song);
    mBass->BASS_ChannelStop(song->Channel());
    if (song->module)
        StartModule(*song, offset,
                    (noLoop ? 0 : kLoopFlag) | (mBass->version2 ? kVersion2PlayFlags : 0));
    else
        StartStream(*song, offset, noLoop);
}

void BassMusicInterface::StopMusic(int songId)
{
    BassMusicInfo* song = Find(songId);
    if (!song)
        return;
    song->volume = 0.0;
    mBass->BASS_ChannelStop(song->Channel());
}

void BassMusicInterface::StopAllMusic()
{
    for (auto& [id, song] : mSongs)
        StopMusic(id);
}

void BassMusicInterface::PauseMusic(int songId)
{
    if (BassMusicInfo* song = Find(songId))
        mBass->BASS_ChannelPause(song->Channel());
}

void BassMusicInterface::ResumeMusic(int songId)
{
    if (BassMusicInfo* song = Find(songId))
        mBass->BASS_ChannelPlay(song->Channel(), 0);
}

void BassMusicInterface::PauseAllMusic()
{
    for (auto& [id, song] : mSongs)
        if (mBass->BASS_ChannelIsActive(song.Channel()) == kActivePlaying)
            mBass->BASS_ChannelPause(song.Channel());
}

void BassMusicInterface::ResumeAllMusic()
{
    for (auto& [id, song] : mSongs)
        if (mBass->BASS_ChannelIsActive(song.Channel()) == kActivePaused)
            mBass->BASS_ChannelPlay(song.Channel(), 0);
}

void BassMusicInterface::FreeSong(BassMusicInfo& song)
{
    if (song.module)
        mBass->BASS_MusicFree(song.module);
    else if (song.stream)
        mBass->BASS_StreamFree(song.stream);
    song.memory.clear();
    song.memory.shrink_to_fit();
}

void BassMusicInterface::UnloadMusic(int songId)
{
    if (!Find(songId))
        return;
    StopMusic(songId);
    auto it = mSongs.find(songId);
    FreeSong(it->second);
    mSongs.erase(it);
}

void BassMusicInterface::UnloadAllMusic()
{
    if (!mBass)
        return;
    StopAllMusic();
    for (auto& [id, song] : mSongs)
        FreeSong(song);
    mSongs.clear();
}

void BassMusicInterface::FadeIn(int songId, int offset, double speed, bool noLoop)
{
    BassMusicInfo* song = Find(songId);
    if (!song)
        return;
    song->volumeAdd = speed;
    song->stopOnFade = noLoop;
    mBass->BASS_ChannelStop(song->Channel());
    ApplyVolume(*song);
    if (!song->module)
        StartStream(*song, offset, noLoop);
    else if (offset == -1)
        mBass->BASS_ChannelPlay(song->Channel(), 1);
    else
        StartModule(*song, offset,
                    (noLoop ? 0 : kLoopFlag) | (mBass->version2 ? kVersion2ModuleFlags : 0));
}

void BassMusicInterface::FadeOut(int songId, bool stopSong, double speed)
{
    BassMusicInfo* song = Find(songId);
    if (!song)
        return;
    if (song->volume != 0.0)
        song->volumeAdd = -speed;
    song->stopOnFade = stopSong;
}

void BassMusicInterface::FadeOutAll(bool stopSong, double speed)
{
    for (auto& [id, song] : mSongs)
    {
        song.volumeAdd = -speed;
        song.stopOnFade = stopSong;
    }
}

void BassMusicInterface::SetSongVolume(int songId, double volume)
{
    BassMusicInfo* song = Find(songId);
    if (!song)
        return;
    song->volume = volume;
    ApplyVolume(*song);
}

void BassMusicInterface::SetSongMaxVolume(int songId, double maxVolume)
{
    BassMusicInfo* song = Find(songId);
    if (!song)
        return;
    song->volumeCap = maxVolume;
    song->volume = std::min(song->volume, maxVolume);
    ApplyVolume(*song);
}

bool BassMusicInterface::IsPlaying(int songId)
{
    BassMusicInfo* song = Find(songId);
    return song && mBass->BASS_ChannelIsActive(song->Channel()) == kActivePlaying;
}

void BassMusicInterface::SetVolume(double volume)
{
    if (!mBass)
        return;
    if (mBass->version2)
    {
        mBass->BASS_SetConfig(6, uint32_t(Percent(volume)));
        mBass->BASS_SetConfig(5, uint32_t(Percent(volume)));
    }
    else if (mBass->BASS_SetGlobalVolumes)
    {
        const int v = int(std::trunc(volume * mGlobalVolumeScale));
        mBass->BASS_SetGlobalVolumes(v, v, v);
    }
    else
        mBass->BASS_SetVolume(uint32_t(Percent(volume)));
}

void BassMusicInterface::SetMusicAmplify(int songId, double amplification)
{
    if (BassMusicInfo* song = Find(songId))
        mBass->BASS_MusicSetAttribute(song->module, 0, uint32_t(Percent(amplification)));
}

void BassMusicInterface::Update()
{
    for (auto& [id, song] : mSongs)
    {
        const FadeStep step = StepFade(song.volume, song.volumeAdd, song.volumeCap);
        if (step == FadeStep::Idle)
            continue;
        if (step == FadeStep::FadedOut && song.stopOnFade)
            mBass->BASS_ChannelStop(song.Channel());
        ApplyVolume(song);
    }
}
} // namespace Quoll

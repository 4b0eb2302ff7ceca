// The game's music player: songs, fades and volumes over the music library.
#include "framework/sound/AudiereMusicInterface.h"

#include "framework/core/DebugOutput.h"
#include "framework/sound/MusicFade.h"

#include <mutex>

namespace Quoll
{
namespace
{
// The devices are shared by every player and kept until the process ends; an open that failed
// is tried again by the next player.
std::mutex gDevicesLock;
AdrAudioDevicePtr gAudioDevice;
AdrMIDIDevicePtr gMidiDevice;

AdrAudioDevicePtr SharedAudioDevice()
{
    std::lock_guard lock(gDevicesLock);
    if (!gAudioDevice)
        gAudioDevice = AdrOpenDevice();
    return gAudioDevice;
}

AdrMIDIDevicePtr SharedMidiDevice()
{
    std::lock_guard lock(gDevicesLock);
    if (!gMidiDevice)
        gMidiDevice = AdrOpenMIDIDevice();
    return gMidiDevice;
}
} // namespace

AudiereMusicInterface::AudiereMusicInterface()
    : mDevice(SharedAudioDevice()), mMidiDevice(SharedMidiDevice())
{
}

AudiereMusicInterface::~AudiereMusicInterface()
{
    UnloadAllMusic();
}

AudiereMusicInfo* AudiereMusicInterface::Find(int songId)
{
    auto it = mSongs.find(songId);
    return it == mSongs.end() ? nullptr : &it->second;
}

const AudiereMusicInfo* AudiereMusicInterface::FindSong(int songId) const
{
    auto it = mSongs.find(songId);
    return it == mSongs.end() ? nullptr : &it->second;
}

bool AudiereMusicInterface::LoadMusic(int songId, const std::string& fileName)
{
    AudiereMusicInfo song;
    if (fileName.find(".mid") != std::string::npos)
    {
        if (!mMidiDevice)
        {
            OutputDebugText("WARNING: Music: no MIDI device for " + fileName + "\n");
            return false;
        }
        song.midiStream = mMidiDevice->openStream(fileName);
    }
    else
        song.stream = AdrOpenSound(mDevice, AdrOpenSampleSource(fileName, 0), true);
    if (!song.stream && !song.midiStream)
        return false;
    mSongs.emplace(songId, std::move(song)); // an id already loaded keeps its song
    return true;
}

void AudiereMusicInterface::Start(AudiereMusicInfo& song, int offset, bool noLoop)
{
    song.pausedByPauseAll = false;
    if (song.stream)
    {
        song.stream->setRepeat(!noLoop);
        if (offset != 0)
            song.stream->setPosition(offset);
        song.stream->play();
    }
    else if (song.midiStream)
    {
        song.midiStream->setRepeat(!noLoop);
        if (offset != 0)
            song.midiStream->setPosition(offset);
        song.midiStream->play();
    }
}

void AudiereMusicInterface::ApplyVolume(AudiereMusicInfo& song)
{
    if (song.stream)
        song.stream->setVolume(mMusicVolume * song.volume);
}

void AudiereMusicInterface::PlayMusic(int songId, int offset, bool noLoop)
{
    AudiereMusicInfo* song = Find(songId);
    if (!song)
        return;
    song->volume = song->volumeCap;
    song->volumeAdd = 0.0f;
    ApplyVolume(*song);
    Start(*song, offset, noLoop);
}

void AudiereMusicInterface::Stop(AudiereMusicInfo& song)
{
    if (song.stream)
    {
        song.stream->stop();
        song.stream->reset();
    }
    else if (song.midiStream)
        song.midiStream->stop();
    song.savedPosition = 0;
    song.pausedByPauseAll = false;
}

void AudiereMusicInterface::StopMusic(int songId)
{
    if (AudiereMusicInfo* song = Find(songId))
        Stop(*song);
}

void AudiereMusicInterface::StopAllMusic()
{
    for (auto& [id, song] : mSongs)
    {
        song.volume = 0.0f;
        Stop(song);
    }
}

void AudiereMusicInterface::Pause(AudiereMusicInfo& song)
{
    if (song.stream)
    {
        song.savedPosition = song.stream->getPosition();
        song.stream->stop();
    }
    else if (song.midiStream)
    {
        song.savedPosition = song.midiStream->getPosition();
        song.midiStream->pause();
    }
}

void AudiereMusicInterface::Resume(AudiereMusicInfo& song)
{
    song.pausedByPauseAll = false;
    if (song.stream)
        song.stream->play();
    else if (song.midiStream)
    {
        song.midiStream->setPosition(song.savedPosition);
        song.midiStream->play();
    }
}

void AudiereMusicInterface::PauseMusic(int songId)
{
    if (AudiereMusicInfo* song = Find(songId))
        Pause(*song);
}

void AudiereMusicInterface::ResumeMusic(int songId)
{
    if (AudiereMusicInfo* song = Find(songId))
        Resume(*song);
}

// Only the songs this call stopped are marked, so ResumeAllMusic starts nothing that was
// silent before.
void AudiereMusicInterface::PauseAllMusic()
{
    for (auto& [id, song] : mSongs)
    {
        if (!IsPlaying(id))
            continue;
        Pause(song);
        song.pausedByPauseAll = true;
    }
}

void AudiereMusicInterface::ResumeAllMusic()
{
    for (auto& [id, song] : mSongs)
        if (song.pausedByPauseAll)
            Resume(song);
}

void AudiereMusicInterface::UnloadMusic(int songId)
{
    auto it = mSongs.find(songId);
    if (it == mSongs.end())
        return;
    Stop(it->second);
    mSongs.erase(it);
}

void AudiereMusicInterface::UnloadAllMusic()
{
    for (auto& [id, song] : mSongs)
        Stop(song);
    mSongs.clear();
}

void AudiereMusicInterface::FadeIn(int songId, int offset, double speed, bool noLoop)
{
    AudiereMusicInfo* song = Find(songId);
    if (!song)
        return;
    song->volumeAdd = float(speed) * 10.0f;
    ApplyVolume(*song);
    Start(*song, offset, noLoop);
}

void AudiereMusicInterface::FadeOut(int songId, bool stopSong, double speed)
{
    AudiereMusicInfo* song = Find(songId);
    if (!song)
        return;
    song->stopOnFade = stopSong;
    song->volumeAdd = float(-speed * 10.0);
}

void AudiereMusicInterface::FadeOutAll(bool stopSong, double speed)
{
    for (auto& [id, song] : mSongs)
        FadeOut(id, stopSong, speed);
}

void AudiereMusicInterface::SetSongVolume(int songId, double volume)
{
    AudiereMusicInfo* song = Find(songId);
    if (!song)
        return;
    song->volume = float(volume);
    ApplyVolume(*song);
}

bool AudiereMusicInterface::IsPlaying(int songId)
{
    AudiereMusicInfo* song = Find(songId);
    if (!song)
        return false;
    if (song->stream)
        return song->stream->isPlaying();
    return song->midiStream && song->midiStream->isPlaying();
}

void AudiereMusicInterface::SetVolume(double volume)
{
    mMusicVolume = float(volume);
    for (auto& [id, song] : mSongs)
        ApplyVolume(song);
}

void AudiereMusicInterface::Update()
{
    for (auto& [id, song] : mSongs)
    {
        const FadeStep step = StepFade(song.volume, song.volumeAdd, song.volumeCap);
        if (step == FadeStep::Idle)
            continue;
        if (step == FadeStep::FadedOut && song.stopOnFade && IsPlaying(id))
            Stop(song);
        ApplyVolume(song);
    }
    if (mDevice)
        mDevice->update();
}
} // namespace Quoll

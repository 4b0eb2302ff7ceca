#pragma once
// The game's music player over the music library: sampled songs play as streams of the shared
// mixer; MIDI songs (a ".mid" anywhere in the name) need the MIDI device, which is absent here,
// so they fail to load. Fades advance once per Update (the application's 100 steps a second):
// a fade of speed s changes the song volume by 10 s per step.
#include "framework/sound/MusicInterface.h"
#include "framework/sound/MusicLibrary.h"

#include <map>

namespace Quoll
{
struct AudiereMusicInfo
{
    AdrOutputStreamPtr stream;
    AdrMIDIStreamPtr midiStream;
    float volume = 0.0f;
    float volumeAdd = 0.0f;
    float volumeCap = 1.0f;
    bool stopOnFade = false;
    int savedPosition = 0;
    bool pausedByPauseAll = false;
};

class AudiereMusicInterface : public MusicInterface
{
public:
    AudiereMusicInterface();
    ~AudiereMusicInterface() override;
    AudiereMusicInterface(const AudiereMusicInterface&) = delete;
    AudiereMusicInterface& operator=(const AudiereMusicInterface&) = delete;

    bool LoadMusic(int songId, const std::string& fileName) override;
    void PlayMusic(int songId, int offset = 0, bool noLoop = false) override;
    void StopMusic(int songId) override;
    void PauseMusic(int songId) override;
    void ResumeMusic(int songId) override;
    void StopAllMusic() override;
    void UnloadMusic(int songId) override;
    void UnloadAllMusic() override;
    void PauseAllMusic() override;
    void ResumeAllMusic() override;
    void FadeIn(int songId, int offset = -1, double speed = 0.002, bool noLoop = false) override;
    void FadeOut(int songId, bool stopSong = true, double speed = 0.004) override;
    void FadeOutAll(bool stopSong = true, double speed = 0.004) override;
    void SetSongVolume(int songId, double volume) override;
    bool IsPlaying(int songId) override;
    void SetVolume(double volume) override;
    void Update() override;

    // True when an audio output is open, so sampled songs can load.
    bool HasAudioDevice() const { return mDevice != nullptr; }
    const AudiereMusicInfo* FindSong(int songId) const;

private:
    AudiereMusicInfo* Find(int songId);
    void Stop(AudiereMusicInfo& song);
    void Start(AudiereMusicInfo& song, int offset, bool noLoop);
    void Pause(AudiereMusicInfo& song);
    void Resume(AudiereMusicInfo& song);
    void ApplyVolume(AudiereMusicInfo& song);

    AdrAudioDevicePtr mDevice;
    AdrMIDIDevicePtr mMidiDevice;
    std::map<int, AudiereMusicInfo> mSongs;
    float mMusicVolume = 1.0f;
};
} // namespace Quoll

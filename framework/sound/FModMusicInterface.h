#pragma once
// The music player over the optional FMOD library: tracker modules, and sampled songs decoded
// from Ogg Vorbis once and kept as plain WAV files in the data folder's "cached/" tree. A
// sampled song plays on the FMOD channel whose number is its song id. FMOD is initialised by
// the sound manager (created first); without the library the player is unavailable and does
// nothing. Fades change a song's volume by their speed once per Update.
#include "framework/sound/MusicInterface.h"

#include <map>

namespace Quoll
{
struct FMOD_INSTANCE;
struct FModSample;
struct FModModule;

struct FModMusicInfo
{
    FModSample* sample = nullptr;
    FModModule* module = nullptr;
    double volume = 0.0;
    double volumeAdd = 0.0;
    double volumeCap = 1.0;
    bool stopOnFade = false;
    bool loop = false;
};

class FModMusicInterface : public MusicInterface
{
public:
    FModMusicInterface();
    ~FModMusicInterface() override;
    FModMusicInterface(const FModMusicInterface&) = delete;
    FModMusicInterface& operator=(const FModMusicInterface&) = delete;

    bool IsAvailable() const { return mFMod != nullptr; }

    bool LoadMusic(int songId, const std::string& fileName) override;
    void PlayMusic(int songId, int offset = 0, bool noLoop = false) override;
    void StopMusic(int songId) override;
    void PauseMusic(int songId) override;
    void ResumeMusic(int songId) override;
    void StopAllMusic() override;
    void FadeIn(int songId, int offset = -1, double speed = 0.002, bool noLoop = false) override;
    void FadeOut(int songId, bool stopSong = true, double speed = 0.004) override;
    void FadeOutAll(bool stopSong = true, double speed = 0.004) override;
    void SetSongVolume(int songId, double volume) override;
    bool IsPlaying(int songId) override;
    void SetVolume(double volume) override;
    void Update() override;

    // An intro followed by a loop, joined into one sample that loops over the second part.
    virtual bool LoadIntroLoopSample(int songId, const std::string& introName,
                                     const std::string& loopName, bool loop);
    // name + ".ogg", decoded once and cached.
    virtual bool LoadSampleMusic(int songId, const std::string& fileName, bool loop);

    const FModMusicInfo* FindSong(int songId) const;

private:
    FModMusicInfo* Find(int songId);
    FModSample* LoadCachedOgg(const std::string& fileName);
    void ApplyVolume(int songId, const FModMusicInfo& song);
    void StartSample(int songId, const FModMusicInfo& song);
    void Stop(int songId, FModMusicInfo& song);

    FMOD_INSTANCE* mFMod = nullptr;
    std::map<int, FModMusicInfo> mSongs;
    double mMusicVolume = 1.0;
    int mModuleVolumeScale = 100;
    int mSampleVolumeScale = 100;
};
} // namespace Quoll

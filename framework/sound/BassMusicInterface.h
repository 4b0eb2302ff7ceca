#pragma once
// The framework's default music player over the optional BASS library: tracker modules, and
// ".wav", ".ogg" and ".mp3" files streamed from memory. Without the library it is unavailable
// and every operation does nothing, like the silent player. Fades change a song's volume by
// their speed once per Update.
#include "framework/sound/MusicInterface.h"

#include <cstdint>
#include <map>
#include <vector>

namespace Quoll
{
struct BASS_INSTANCE;

struct BassMusicInfo
{
    uint32_t module = 0;
    uint32_t stream = 0;
    double volume = 0.0;
    double volumeAdd = 0.0;
    double volumeCap = 1.0;
    bool stopOnFade = false;
    std::vector<uint8_t> memory; // a stream's file bytes, read by the library while it plays

    uint32_t Channel() const { return module != 0 ? module : stream; }
};

class BassMusicInterface : public MusicInterface
{
public:
    explicit BassMusicInterface(void* window);
    ~BassMusicInterface() override;
    BassMusicInterface(const BassMusicInterface&) = delete;
    BassMusicInterface& operator=(const BassMusicInterface&) = delete;

    bool IsAvailable() const { return mBass != nullptr; }

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
    void SetSongMaxVolume(int songId, double maxVolume) override;
    bool IsPlaying(int songId) override;
    void SetVolume(double volume) override;
    void SetMusicAmplify(int songId, double amplification) override;
    void Update() override;

    const BassMusicInfo* FindSong(int songId) const;

private:
    BassMusicInfo* Find(int songId);
    void ApplyVolume(const BassMusicInfo& song);
    void StartModule(const BassMusicInfo& song, int offset, uint32_t flags);
    void StartStream(const BassMusicInfo& song, int offset, bool noLoop);
    void FreeSong(BassMusicInfo& song);

    BASS_INSTANCE* mBass = nullptr;
    std::map<int, BassMusicInfo> mSongs;
    int mGlobalVolumeScale = 40;
    uint32_t mModuleFlags = 4;
};
} // namespace Quoll

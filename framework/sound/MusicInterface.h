#pragma once
// The music back end: songs loaded under integer ids, then played, paused, faded and stopped by
// id, with a volume per song and one music volume over all of them. Volumes and fade speeds are
// fractions of full volume. This base class is the silent player: every operation does nothing.
#include <string>

namespace Quoll
{
class MusicInterface
{
public:
    virtual ~MusicInterface() = default;
    virtual bool LoadMusic(int songId, const std::string& fileName);
    virtual void PlayMusic(int songId, int offset = 0, bool noLoop = false);
    virtual void StopMusic(int songId);
    virtual void PauseMusic(int songId);
    virtual void ResumeMusic(int songId);
    virtual void StopAllMusic();
    virtual void UnloadMusic(int songId);
    virtual void UnloadAllMusic();
    virtual void PauseAllMusic();
    virtual void ResumeAllMusic();
    virtual void FadeIn(int songId, int offset = -1, double speed = 0.002, bool noLoop = false);
    virtual void FadeOut(int songId, bool stopSong = true, double speed = 0.004);
    virtual void FadeOutAll(bool stopSong = true, double speed = 0.004);
    virtual void SetSongVolume(int songId, double volume);
    virtual void SetSongMaxVolume(int songId, double maxVolume);
    virtual bool IsPlaying(int songId);
    virtual void SetVolume(double volume);
    virtual void SetMusicAmplify(int songId, double amplification);
    virtual void Update();
};
} // namespace Quoll

// Music player choice with its fallbacks.
#include "framework/sound/CreateMusicInterface.h"

#include "framework/core/DebugOutput.h"
#include "framework/sound/AudiereMusicInterface.h"
#include "framework/sound/BassMusicInterface.h"
#include "framework/sound/FModMusicInterface.h"

namespace Quoll
{
MusicPlayerKind DefaultMusicPlayer(bool noSound, bool useFMod)
{
    if (noSound)
        return MusicPlayerKind::Silent;
    return useFMod ? MusicPlayerKind::FMod : MusicPlayerKind::Bass;
}

MusicPlayerKind GameMusicPlayer(bool noSound)
{
    return noSound ? MusicPlayerKind::Silent : MusicPlayerKind::Game;
}

std::unique_ptr<MusicInterface> CreateMusicInterface(MusicPlayerKind kind, void* window)
{
    if (kind == MusicPlayerKind::FMod)
    {
        auto player = std::make_unique<FModMusicInterface>();
        if (player->IsAvailable())
            return player;
        OutputDebugText("WARNING: Music: the FMOD player is unavailable; using the game's.\n");
        kind = MusicPlayerKind::Game;
    }
    if (kind == MusicPlayerKind::Bass)
    {
        auto player = std::make_unique<BassMusicInterface>(window);
        if (player->IsAvailable())
            return player;
        OutputDebugText("WARNING: Music: the BASS player is unavailable; using the game's.\n");
        kind = MusicPlayerKind::Game;
    }
    if (kind == MusicPlayerKind::Game)
    {
        auto player = std::make_unique<AudiereMusicInterface>();
        if (player->HasAudioDevice())
            return player;
        OutputDebugText("WARNING: Music: no audio output; music is silent.\n");
    }
    return std::make_unique<MusicInterface>();
}
} // namespace Quoll

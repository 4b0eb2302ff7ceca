#pragma once
// The choice of music player, for the application object to call once, after it has created
// the sound manager (the FMOD player relies on the manager having started FMOD).
#include "framework/sound/MusicInterface.h"

#include <memory>

namespace Quoll
{
enum class MusicPlayerKind
{
    Silent,
    Game,  // the game's player over the shared mixer
    FMod,
    Bass,
};

// The framework's own choice: silent with no sound, else FMOD when its setting is on, else BASS.
MusicPlayerKind DefaultMusicPlayer(bool noSound, bool useFMod);
// The game's choice: silent with no sound, else the game's player.
MusicPlayerKind GameMusicPlayer(bool noSound);

// The player of that kind. A closed-library player whose library is missing falls back, with a
// logged warning, to the game's player, and that one to the silent player when no audio output
// opens. Never null.
std::unique_ptr<MusicInterface> CreateMusicInterface(MusicPlayerKind kind, void* window);
} // namespace Quoll

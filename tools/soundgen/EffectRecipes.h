#pragma once
// The sound effects by name: each family of names (pops, jumps, explosions, fanfares, ...) has a
// recipe, and the name varies its pitch so that related sounds stay distinct.
#include "tools/soundgen/SoundSynth.h"

#include <string>

namespace SoundGen
{
// The effect for a sound name without its "SOUND_" prefix, normalised below full scale.
SynthBuffer MakeEffect(const std::string& name);

// The song names of the music loops and their synthesis.
const char* const kSongNames[] = {"menu", "map", "intro", "level"};
SynthBuffer MakeMusic(const std::string& song);
} // namespace SoundGen

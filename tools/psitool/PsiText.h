#pragma once
// The readable text form of particle descriptions (".psi"), one field a line, '#' comments:
//
//   emission 120              a field of the fixed record by its name (ParticleFields), with one
//   colour_start 1 0.5 0 1    value, or four for the colours
//   additive 1                tagged records: additive flag, emitter location, image file name,
//   location 512 384          mask and path points (x y pairs), path time and mode
//   image sparks.png
//   mask 0 0 100 0 100 100
//   path 0 0 200 0
//   path_time 2 0
//
// Fields left out are zero. Printing writes every field of the record in file order, then the
// tagged records the description has, floats with enough digits to read back the same bits.
#include "game/scene/ParticleFile.h"

#include <string>

// Parses the text form; false with a message naming the line when it cannot.
bool ParseParticleText(const std::string& text, ParticleFile& out, std::string& error);
[[nodiscard]] std::string PrintParticleText(const ParticleFile& file);

#pragma once
// A random level of an episode as a level file: the program-wide generator seeded with seed,
// a profile that has completed levels 1..completedLevels (which bonus kinds appear), and the
// level the game would build for a random level of that episode, saved afresh.
#include "framework/core/Buffer.h"

#include <cstdint>

// False when no playable level was found.
[[nodiscard]] bool GenerateRandomLevelFile(int episode, uint32_t seed, int completedLevels, Quoll::Buffer& body);

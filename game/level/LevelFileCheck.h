#pragma once
// LevelFileCheck: what a level file (a campaign, easy or editor level, read whole) must hold
// beyond what any saved body needs, so that a damaged file is refused instead of playing with
// other values. After the level-logic section a level file holds nothing (the oldest files:
// the level fills its parameters afresh), exactly the 96 bytes of the parameters and the
// selection (a body written before the medal rule existed), or those and the marker with the
// medal rule (112 bytes). The lengths tell the three apart. Its generator part, when present, is a state the
// generator takes as it stands, and a generator seeded afresh must read as exactly that.
#include "game/board/LevelParams.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace LevelFileCheck
{
// Bytes after the level-logic section: without and with the marked medal rule.
inline constexpr size_t kTailWithoutMedalRule = 96;
inline constexpr size_t kTailWithMedalRule = 112;

// Empty when the bytes of a level-logic section end in a generator part that reads as it
// stands, or in none; otherwise why not.
[[nodiscard]] std::string FindGeneratorFault(std::span<const uint8_t> section);

// Empty when the bytes after the section have a level file's length, marker and medal rule;
// otherwise why not.
[[nodiscard]] std::string FindTailFault(std::span<const uint8_t> tail);

// Empty when the rule has a known mode and thresholds the mode can reach; otherwise why not.
[[nodiscard]] std::string FindMedalRuleFault(const MedalRule& rule);
} // namespace LevelFileCheck

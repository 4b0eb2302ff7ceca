#pragma once
// The consistency check of a game logic: counts equal the board, target sets equal recomputed
// ones, no bits outside the 61 cells, no owner above the player count, holes empty, tables built
// for the board's holes. Run after loads and moves in debug builds and by the tests.
#include <cassert>
#include <string>

class GameLogic;

// An empty string when the logic is consistent, else the first fault found, named.
[[nodiscard]] std::string FindLogicFault(const GameLogic& logic);

// Debug builds stop on an inconsistent logic; release builds skip the check.
inline void AssertLogicConsistent([[maybe_unused]] const GameLogic& logic)
{
#ifndef NDEBUG
    const std::string fault = FindLogicFault(logic);
    assert(fault.empty() && "GameLogic: inconsistent state (FindLogicFault names it)");
#endif
}

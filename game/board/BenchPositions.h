#pragma once
// Fixed positions of the computer opponent's bench and the search signature: a count of scored
// moves and a checksum of the moves chosen from these positions at every level and a few seeds,
// one thread. Any change of the search's behaviour changes the signature; a test pins it.
#include "game/board/GameLogic.h"

#include <cstdint>
#include <string_view>
#include <vector>

struct BenchPosition
{
    std::string_view name;
    std::string_view board;
    // AI levels of players 1..N.
    std::vector<int> aiLevels;
    int currentPlayer;
};

// Opening, crowded middle game, sparse end game.
const std::vector<BenchPosition>& GetBenchPositions();

// The position set up in a fresh logic, with the current player at moverLevel (when not
// negative) and the generator seeded with seed.
GameLogic MakeBenchLogic(const BenchPosition& position, int moverLevel, uint32_t seed);

// Draws taken from a generator between two of its states (counted up to 64).
int CountDraws(const Quoll::MersenneTwister& before, const Quoll::MersenneTwister& after);

struct SearchSignature
{
    uint64_t scoredMoves = 0;
    uint32_t checksum = 0;

    bool operator==(const SearchSignature&) const = default;
};

// Every position at every mover level with seeds 1..3: one search, then a game of up to 40
// turns played out by the computer.
SearchSignature ComputeSearchSignature();

#pragma once
// The particle-system ids that the game's code spawns, read from its sources: every call of
// SpawnParticleSystem, and of a function of the same file that passes its id on to it, with its
// id expression worked out from the named constants of the sources (constexpr int) and, for an id
// computed from a base, the values the added part takes (kVariableRanges in the .cpp).
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace PlayDataTest
{
struct SpawnCall
{
    std::string file;       // relative to the source folder
    std::string expression; // the id argument as written
    std::set<int> ids;      // what it can be; empty when it could not be worked out
    bool atOrigin = false;  // spawned at (0, 0) (or with no point), so it must bring its own path
};

// Every spawn call under <root>/game.
[[nodiscard]] std::vector<SpawnCall> FindSpawnCalls(const std::filesystem::path& root);
} // namespace PlayDataTest

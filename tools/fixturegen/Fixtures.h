#pragma once
// Fixtures: the player's files that the whole-game tests start from, made through the game's own
// persistence (PlayerData, Profile, SavedGame, ScoreTable) and level code (Level), so that they
// are exactly what the game would have written and follow any change of the file formats.
//
//   NearlyPassed      profiles "cat" and "dan" (current: "dan", listed last). "dan": levels
//                     1..14 won, a saved game of level 15 with the boss at 1 hit point and a
//                     bomb armed. "cat": levels 1..4 won, a saved game of level 5 that the
//                     human's only move loses (the board fills up with the enemy ahead).
//   CampaignComplete  profile "eve": all 70 levels won with gold, the final comic not yet seen.
//
// Every profile plays the normal difficulty and has seen the opening comic and the map intro.
#include "game/shell/PlayerFileStore.h"

#include "framework/core/Buffer.h"

#include <filesystem>
#include <optional>
#include <string>

namespace Fixtures
{
enum class Kind
{
    NearlyPassed,
    CampaignComplete,
};

inline constexpr const char* kNearlyPassedProfile = "dan";
inline constexpr const char* kDefeatProfile = "cat";
inline constexpr const char* kCompleteProfile = "eve";
inline constexpr int kBossLevel = 15;
inline constexpr int kDefeatLevel = 5;

// "nearly-passed" or "campaign-complete"; nullopt for another name.
[[nodiscard]] std::optional<Kind> ParseKind(const std::string& name);

// The saved body of the boss level: the level file of level 15 from the levels folder (the
// build's data/levels) with the boss at 1 hit point and a bomb armed in the first slot.
[[nodiscard]] bool MakeBossBody(const std::filesystem::path& levels, Quoll::Buffer& body, std::string& error);
// The saved body of a level that the human's only move loses.
[[nodiscard]] bool MakeDefeatBody(Quoll::Buffer& body, std::string& error);

// The player's files of the fixture into the store.
[[nodiscard]] bool Make(Kind kind, const std::filesystem::path& levels, PlayerFileStore& store, std::string& error);

// The store's non-empty files into the folder (created); an empty file is a missing one.
[[nodiscard]] bool WriteFiles(const MemoryFileStore& store, const std::filesystem::path& folder, std::string& error);

// The player's data folder under a home folder used as XDG_DATA_HOME.
[[nodiscard]] std::filesystem::path PlayerFolder(const std::filesystem::path& dataHome);
} // namespace Fixtures

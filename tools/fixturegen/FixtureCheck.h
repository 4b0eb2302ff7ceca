#pragma once
// FixtureCheck: what is left of the nearly-passed fixture's player files after the game was
// killed at some moment of its play-through: files torn (present but unreadable), progress lost
// (a profile no longer listed, its file gone, or the boss level's saved game gone while its win
// was not recorded), progress reset (won levels no longer recorded, score entries gone) and a
// score table behind a profile's total. Counted as the files stand and again as the game sees
// them at its next start (which rebuilds and catches up what it can).
#include <filesystem>
#include <string>
#include <vector>

namespace Fixtures
{
struct KillCheck
{
    int torn = 0;
    int lost = 0;
    int reset = 0;
    int behind = 0;
    std::vector<std::string> faults;
};

// The files as they stand in the player folder.
[[nodiscard]] KillCheck CheckFilesAfterKill(const std::filesystem::path& folder);
// The files as the game's next start reads them.
[[nodiscard]] KillCheck CheckNextStartAfterKill(const std::filesystem::path& folder);
} // namespace Fixtures

// fixturegen: the player's files of a whole-game test fixture, made through the game's own code.
// Usage:
//   fixturegen --levels <data/levels folder> --home <folder> nearly-passed|campaign-complete
// Writes the profiles, saved games and scores into <folder>/data/Nordwick/PetriGlowSaga (use
// <folder>/data as XDG_DATA_HOME) and makes an empty <folder>/config for the settings (use it as
// XDG_CONFIG_HOME). Exit code 0 on success, 1 when the fixture cannot be made, 2 for bad
// arguments.
//   fixturegen --check <player folder>
// Counts what a killed play-through of the nearly-passed fixture left of its player files (see
// FixtureCheck.h): one line "files: torn T lost L reset R behind B; next start: ..." and the
// faults, one a line. Exit code 0 when nothing is torn, lost or reset at the next start.
#include "tools/fixturegen/FixtureCheck.h"
#include "tools/fixturegen/Fixtures.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

namespace
{
int Usage()
{
    std::cerr << "usage: fixturegen --levels <folder> --home <folder> nearly-passed|campaign-complete\n"
                 "       fixturegen --check <player folder>\n";
    return 2;
}

std::string Counts(const Fixtures::KillCheck& check)
{
    return "torn " + std::to_string(check.torn) + " lost " + std::to_string(check.lost) + " reset " +
           std::to_string(check.reset) + " behind " + std::to_string(check.behind);
}

int Check(const std::filesystem::path& folder)
{
    const Fixtures::KillCheck files = Fixtures::CheckFilesAfterKill(folder);
    const Fixtures::KillCheck next = Fixtures::CheckNextStartAfterKill(folder);
    std::cout << "files: " << Counts(files) << "; next start: " << Counts(next) << "\n";
    for (const std::string& fault : files.faults)
        std::cout << "  files: " << fault << "\n";
    for (const std::string& fault : next.faults)
        std::cout << "  next start: " << fault << "\n";
    return next.torn + next.lost + next.reset == 0 ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--check")
        return Check(argv[2]);
    std::filesystem::path levels;
    std::filesystem::path home;
    std::optional<Fixtures::Kind> kind;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg == "--levels" || arg == "--home")
        {
            if (i + 1 >= argc)
                return Usage();
            (arg == "--levels" ? levels : home) = argv[++i];
        }
        else if (kind || !(kind = Fixtures::ParseKind(arg)))
        {
            // A second fixture name or an unknown one.
            return Usage();
        }
    }
    if (levels.empty() || home.empty() || !kind)
        return Usage();

    MemoryFileStore store;
    std::string error;
    if (!Fixtures::Make(*kind, levels, store, error) ||
        !Fixtures::WriteFiles(store, Fixtures::PlayerFolder(home / "data"), error))
    {
        std::cerr << "fixturegen: " << error << "\n";
        return 1;
    }
    std::error_code code;
    std::filesystem::create_directories(home / "config", code);
    return 0;
}

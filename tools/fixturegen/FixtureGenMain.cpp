// fixturegen: the player's files of a whole-game test fixture, made through the game's own code.
// Usage:
//   fixturegen --levels <data/levels folder> --home <folder> nearly-passed|campaign-complete
// Writes the profiles, saved games and scores into <folder>/data/Nordwick/PetriGlowSaga (use
// <folder>/data as XDG_DATA_HOME) and makes an empty <folder>/config for the settings (use it as
// XDG_CONFIG_HOME). Exit code 0 on success, 1 when the fixture cannot be made, 2 for bad
// arguments.
#include "tools/fixturegen/Fixtures.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

namespace
{
int Usage()
{
    std::cerr << "usage: fixturegen --levels <folder> --home <folder> nearly-passed|campaign-complete\n";
    return 2;
}
} // namespace

int main(int argc, char** argv)
{
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

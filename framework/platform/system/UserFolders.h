#pragma once
// The per-user folders of the program: application data (profiles, saved games, logs)
// under $XDG_DATA_HOME and settings under $XDG_CONFIG_HOME, each followed by the company
// and product names. Without the variables the XDG defaults under $HOME apply; tests
// point the variables into the build folder so that no real home folder is touched.
#include <optional>
#include <string>
#include <string_view>

namespace Quoll::Platform
{
enum class UserFolderKind
{
    Data,
    Settings,
};

// "<base>/<company>/<product>/" (with the trailing '/'), created when missing. Empty
// when neither the variable nor $HOME is set, or the folder cannot be created.
std::optional<std::string> UserFolder(UserFolderKind kind, std::string_view company, std::string_view product);
} // namespace Quoll::Platform

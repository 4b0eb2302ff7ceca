// XDG base folders ($XDG_DATA_HOME, $XDG_CONFIG_HOME, else under $HOME), created on demand.
// Limits: one user's folders; no folder shared by all users.
#include "framework/platform/system/PlatformLog.h"
#include "framework/platform/system/Path.h"
#include "framework/platform/system/UserFolders.h"

#include <cstdlib>

namespace Quoll::Platform
{
namespace
{
std::optional<std::string> BaseFolder(UserFolderKind kind)
{
    const char* variable = kind == UserFolderKind::Data ? "XDG_DATA_HOME" : "XDG_CONFIG_HOME";
    // The XDG rules ignore a value that is not an absolute path.
    if (const char* value = std::getenv(variable); value != nullptr && value[0] == '/')
        return std::string(value);
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/')
        return std::nullopt;
    return std::string(home) + (kind == UserFolderKind::Data ? "/.local/share" : "/.config");
}
} // namespace

std::optional<std::string> UserFolder(UserFolderKind kind, std::string_view company, std::string_view product)
{
    std::optional<std::string> base = BaseFolder(kind);
    if (!base)
        return std::nullopt;
    std::string folder = NormalisePath(*base + "/" + std::string(company) + "/" + std::string(product) + "/");
    if (!MakeDirectories(folder))
    {
        LogLine("UserFolders", "cannot create " + folder);
        return std::nullopt;
    }
    return folder;
}
} // namespace Quoll::Platform

// Program path from /proc/self/exe; the version is compiled in from the build's project
// version (there is no version resource). Limits: Linux's /proc only.
#include "framework/platform/system/AtomicFile.h"
#include "framework/platform/system/Path.h"
#include "framework/platform/system/ProgramInfo.h"

#include <climits>
#include <unistd.h>

#ifndef QUOLL_PRODUCT_VERSION
#define QUOLL_PRODUCT_VERSION "0.0.0"
#endif

namespace Quoll::Platform
{
std::string ProgramPath()
{
    char buffer[PATH_MAX];
    ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (length <= 0)
        return {};
    return std::string(buffer, static_cast<size_t>(length));
}

std::string ProgramFolder()
{
    std::string path = ProgramPath();
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string_view ProductVersion() { return QUOLL_PRODUCT_VERSION; }

std::vector<std::string> ProgramArguments()
{
    std::vector<std::string> arguments;
    std::optional<std::vector<uint8_t>> bytes = ReadWholeFile("/proc/self/cmdline");
    if (!bytes)
        return arguments;
    std::string current;
    for (uint8_t byte : *bytes)
    {
        if (byte != 0)
        {
            current.push_back(char(byte));
            continue;
        }
        arguments.push_back(std::move(current));
        current.clear();
    }
    if (!current.empty())
        arguments.push_back(std::move(current));
    return arguments;
}

std::string CurrentFolder()
{
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof(buffer)) != nullptr ? std::string(buffer) : std::string();
}

bool SetCurrentFolder(std::string_view path) { return ::chdir(ResolvePathCase(path).c_str()) == 0; }
} // namespace Quoll::Platform

// Path normalisation, case-insensitive resolution and file finding over POSIX dirent.
// Fakes the case-insensitive file system the framework's data names expect by listing a
// folder when an exact name is missing. Limits: letter case is folded for ASCII only;
// a missing component costs one folder listing.
#include "framework/platform/system/Path.h"
#include "framework/platform/system/TextHelpers.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

namespace Quoll::Platform
{
namespace
{
bool Exists(const std::string& path)
{
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0;
}

std::vector<std::string> ListNames(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
        return names;
    while (dirent* entry = ::readdir(dir))
    {
        std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

// Appends a component to a folder prefix that is empty, "/" or ends without '/'.
std::string Join(const std::string& folder, std::string_view name)
{
    if (folder.empty())
        return std::string(name);
    if (folder.back() == '/')
        return folder + std::string(name);
    return folder + "/" + std::string(name);
}

bool MatchFrom(std::string_view pattern, std::string_view name)
{
    // Iterative glob with one backtrack point for the last '*'.
    size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size())
    {
        if (p < pattern.size() && (pattern[p] == '?' || LowerAscii(pattern[p]) == LowerAscii(name[n])))
        {
            ++p;
            ++n;
        }
        else if (p < pattern.size() && pattern[p] == '*')
        {
            starP = p++;
            starN = n;
        }
        else if (starP != std::string_view::npos)
        {
            p = starP + 1;
            n = ++starN;
        }
        else
            return false;
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}
} // namespace

std::string NormalisePath(std::string_view path)
{
    std::string out;
    out.reserve(path.size());
    for (char c : path)
    {
        if (c == '\\')
            c = '/';
        if (c == '/' && !out.empty() && out.back() == '/')
            continue;
        out.push_back(c);
    }
    return out;
}

std::string ResolvePathCase(std::string_view path)
{
    std::string normal = NormalisePath(path);
    if (normal.empty() || Exists(normal))
        return normal;

    // Walk the components, keeping the exact name where it exists.
    std::string resolved = normal.front() == '/' ? "/" : "";
    size_t pos = resolved.size();
    bool matching = true;
    while (pos <= normal.size())
    {
        size_t end = normal.find('/', pos);
        if (end == std::string::npos)
            end = normal.size();
        std::string_view component(normal.data() + pos, end - pos);
        std::string next = Join(resolved, component);
        if (matching && !component.empty() && component != "." && component != ".." && !Exists(next))
        {
            matching = false;
            for (const std::string& name : ListNames(resolved))
                if (EqualNoCaseAscii(name, component))
                {
                    next = Join(resolved, name);
                    matching = true;
                    break;
                }
        }
        resolved = next;
        if (end == normal.size())
            break;
        pos = end + 1;
        if (pos == normal.size())
        {
            resolved += '/';
            break;
        }
    }
    return resolved;
}

std::FILE* OpenFile(std::string_view path, const char* mode)
{
    return std::fopen(ResolvePathCase(path).c_str(), mode);
}

bool PathExists(std::string_view path) { return Exists(ResolvePathCase(path)); }

bool IsDirectory(std::string_view path)
{
    struct stat st{};
    return ::stat(ResolvePathCase(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeDirectories(std::string_view path)
{
    std::string target = ResolvePathCase(path);
    for (size_t i = 1; i <= target.size(); ++i)
    {
        if (i == target.size() || target[i] == '/')
        {
            std::string prefix = target.substr(0, i);
            if (::mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST)
                return false;
        }
    }
    return IsDirectory(target);
}

bool WildcardMatch(std::string_view pattern, std::string_view name)
{
    if (pattern == "*.*" || MatchFrom(pattern, name))
        return true;
    // "name.*" also matches a name without an extension.
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*")
        return name.find('.') == std::string_view::npos && MatchFrom(pattern.substr(0, pattern.size() - 2), name);
    return false;
}

std::vector<FoundFile> FindFiles(std::string_view pattern)
{
    std::string normal = NormalisePath(pattern);
    size_t slash = normal.rfind('/');
    std::string folder = slash == std::string::npos ? "" : normal.substr(0, slash == 0 ? 1 : slash);
    std::string namePattern = slash == std::string::npos ? normal : normal.substr(slash + 1);
    if (!folder.empty())
        folder = ResolvePathCase(folder);

    std::vector<FoundFile> found;
    for (const std::string& name : ListNames(folder))
    {
        if (!WildcardMatch(namePattern, name))
            continue;
        struct stat st{};
        FoundFile file;
        file.name = name;
        if (::stat(Join(folder, name).c_str(), &st) == 0)
        {
            file.isDirectory = S_ISDIR(st.st_mode);
            file.size = static_cast<uint64_t>(st.st_size);
            file.modifiedSeconds = static_cast<int64_t>(st.st_mtime);
        }
        found.push_back(std::move(file));
    }
    return found;
}
} // namespace Quoll::Platform

#include "framework/resources/PakDiskPaths.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace Quoll::PakDisk
{
namespace
{
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
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

std::string Join(const std::string& folder, std::string_view name)
{
    if (folder.empty())
        return std::string(name);
    return folder.back() == '/' ? folder + std::string(name) : folder + "/" + std::string(name);
}
} // namespace

std::string ResolvePathCase(std::string_view path)
{
    std::string result = path.size() > 0 && (path[0] == '/' || path[0] == '\\') ? "/" : "";
    bool lost = false;
    size_t start = 0;
    while (start <= path.size())
    {
        size_t end = path.find_first_of("/\\", start);
        if (end == std::string_view::npos)
            end = path.size();
        const std::string_view part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty())
            continue;
        std::string candidate = Join(result, part);
        struct stat st{};
        if (!lost && ::stat(candidate.c_str(), &st) != 0)
        {
            lost = true;
            for (const std::string& name : ListNames(result))
                if (EqualNoCase(name, part))
                {
                    candidate = Join(result, name);
                    lost = false;
                    break;
                }
        }
        result = candidate;
    }
    return result;
}

bool WildcardMatch(std::string_view pattern, std::string_view name)
{
    size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size())
    {
        if (p < pattern.size() && (pattern[p] == '?' || LowerAscii(pattern[p]) == LowerAscii(name[n])))
            ++p, ++n;
        else if (p < pattern.size() && pattern[p] == '*')
            starP = p++, starN = n;
        else if (starP != std::string_view::npos)
            p = starP + 1, n = ++starN;
        else
            return false;
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<FoundFile> FindFiles(std::string_view pattern)
{
    const size_t slash = pattern.find_last_of("/\\");
    const std::string folder = slash == std::string_view::npos ? "" : ResolvePathCase(pattern.substr(0, slash + 1));
    const std::string_view mask = slash == std::string_view::npos ? pattern : pattern.substr(slash + 1);
    std::vector<FoundFile> found;
    for (const std::string& name : ListNames(folder))
    {
        if (!WildcardMatch(mask, name))
            continue;
        struct stat st{};
        const std::string full = Join(folder, name);
        if (::stat(full.c_str(), &st) != 0)
            continue;
        found.push_back({name, S_ISDIR(st.st_mode), static_cast<uint64_t>(st.st_size)});
    }
    return found;
}
} // namespace Quoll::PakDisk

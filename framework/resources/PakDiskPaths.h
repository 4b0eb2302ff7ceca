#pragma once
// Disk-side path handling of the pack layer: '\' to '/', a case-insensitive match of each
// component, wildcard matching and folder listing.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Quoll::PakDisk
{
std::string ResolvePathCase(std::string_view path);
bool WildcardMatch(std::string_view pattern, std::string_view name);

struct FoundFile
{
    std::string name;
    bool isDirectory = false;
    uint64_t size = 0;
};
std::vector<FoundFile> FindFiles(std::string_view pattern);
} // namespace Quoll::PakDisk

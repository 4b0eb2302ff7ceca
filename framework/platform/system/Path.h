#pragma once
// Paths as the framework writes them ('\' or '/', names in any letter case) made usable
// on a case-sensitive file system, and file finding with wildcard patterns.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace Quoll::Platform
{
// '\' becomes '/', and runs of separators collapse to one. Nothing else changes
// ("." and ".." stay; a trailing separator stays).
std::string NormalisePath(std::string_view path);

// The normalised path, with each component that does not exist under its exact name
// replaced by an existing entry whose name differs only in ASCII letter case (the first
// in byte order when several do). Components from the first one that matches nothing are
// kept as given, so the result also serves for creating a file.
std::string ResolvePathCase(std::string_view path);

// fopen of ResolvePathCase(path).
std::FILE* OpenFile(std::string_view path, const char* mode);

bool PathExists(std::string_view path);
bool IsDirectory(std::string_view path);

// Creates every missing folder of the path (the last component too); true when the
// folder exists afterwards.
bool MakeDirectories(std::string_view path);

// Wildcard match ignoring ASCII case: '*' any run, '?' one character. As on the system
// the framework was written for, "*.*" matches every name and "name.*" also matches "name".
bool WildcardMatch(std::string_view pattern, std::string_view name);

struct FoundFile
{
    std::string name; // the entry's own name, no folder
    bool isDirectory = false;
    uint64_t size = 0;
    int64_t modifiedSeconds = 0; // seconds since 1970-01-01 UTC
};

// Entries of the pattern's folder (resolved like ResolvePathCase) whose names match its
// last component, sorted by name; "." and ".." are never listed. "data/*.dmo",
// "Data\\image*.png".
std::vector<FoundFile> FindFiles(std::string_view pattern);
} // namespace Quoll::Platform

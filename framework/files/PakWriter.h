#pragma once
// Builds a pack file (see PakFormat.h) from named blocks of bytes.
#include <string>
#include <vector>

namespace Quoll
{
class PakWriter
{
public:
    // name: the path the game will open, with '/' separators ("data/levels/1.bin").
    void AddFile(const std::string& name, std::string bytes);
    // Writes the pack through a temporary file renamed over the target, so a failed write
    // never leaves a half-written pack. False with the reason in error; names that are empty,
    // too long or equal ignoring case are refused.
    bool Write(const std::string& path, const std::string& password, std::string& error) const;

private:
    struct File
    {
        std::string name;
        std::string bytes;
    };
    std::vector<File> mFiles;
};
} // namespace Quoll

#pragma once
// The modules (program and shared libraries) mapped into a process, read from its /proc
// maps, and what they say about an address: module file, section and offset, and the
// demangled symbol. Used by the crash reporter on the process that crashed.
#include "framework/platform/system/ElfImage.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Quoll::Platform
{
struct ModuleAddress
{
    std::string path; // the module file
    uint32_t section = 0; // 0: in no section of the file
    uint64_t sectionOffset = 0;
    std::string symbol; // demangled; empty when unknown
    uint64_t displacement = 0; // from the symbol's start
};

class ModuleMap
{
public:
    // False when the process's map cannot be read.
    bool Load(int processId);
    // The lines of a maps file ("start-end perms offset dev inode path").
    void Parse(std::string_view mapsText);
    std::optional<ModuleAddress> Resolve(uint64_t address);

private:
    struct Mapping
    {
        uint64_t start = 0, end = 0, offset = 0;
        std::string path;
    };
    const ElfImage* Image(const std::string& path);

    std::vector<Mapping> mMappings;
    std::map<std::string, std::unique_ptr<ElfImage>> mImages; // null: not readable
};

// The readable form of a mangled C++ name (the name itself when it is not mangled).
std::string DemangleSymbol(const std::string& name);
} // namespace Quoll::Platform

// Modules of a process from Linux's /proc/<pid>/maps; symbols from the module files' ELF
// symbol tables, demangled by the C++ runtime.
#include "framework/platform/system/ModuleMap.h"

#include "framework/platform/system/AtomicFile.h"

#include <cxxabi.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace Quoll::Platform
{
bool ModuleMap::Load(int processId)
{
    std::optional<std::vector<uint8_t>> bytes = ReadWholeFile("/proc/" + std::to_string(processId) + "/maps");
    if (!bytes)
        return false;
    Parse(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    return true;
}

void ModuleMap::Parse(std::string_view mapsText)
{
    size_t at = 0;
    while (at < mapsText.size())
    {
        size_t end = mapsText.find('\n', at);
        std::string line(mapsText.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
        at = end == std::string_view::npos ? mapsText.size() : end + 1;
        Mapping mapping;
        char permissions[8] = {};
        int pathStart = 0;
        if (std::sscanf(line.c_str(), "%" SCNx64 "-%" SCNx64 " %7s %" SCNx64 " %*s %*s %n", &mapping.start, &mapping.end,
                        permissions, &mapping.offset, &pathStart) < 4 ||
            pathStart <= 0 || static_cast<size_t>(pathStart) >= line.size() || line[static_cast<size_t>(pathStart)] != '/')
            continue;
        mapping.path = line.substr(static_cast<size_t>(pathStart));
        mMappings.push_back(std::move(mapping));
    }
}

const ElfImage* ModuleMap::Image(const std::string& path)
{
    auto found = mImages.find(path);
    if (found == mImages.end())
    {
        auto image = std::make_unique<ElfImage>();
        if (!image->Open(path))
            image.reset();
        found = mImages.emplace(path, std::move(image)).first;
    }
    return found->second.get();
}

std::optional<ModuleAddress> ModuleMap::Resolve(uint64_t address)
{
    for (const Mapping& mapping : mMappings)
    {
        if (address < mapping.start || address >= mapping.end)
            continue;
        ModuleAddress result;
        result.path = mapping.path;
        const ElfImage* image = Image(mapping.path);
        uint64_t virtualAddress = 0;
        if (image == nullptr || !image->FileOffsetToAddress(address - mapping.start + mapping.offset, virtualAddress))
            return result;
        image->FindSection(virtualAddress, result.section, result.sectionOffset);
        std::string name;
        if (image->FindSymbol(virtualAddress, name, result.displacement))
            result.symbol = DemangleSymbol(name);
        return result;
    }
    return std::nullopt;
}

std::string DemangleSymbol(const std::string& name)
{
    int status = 0;
    char* readable = abi::__cxa_demangle(name.c_str(), nullptr, nullptr, &status);
    if (status != 0 || readable == nullptr)
        return name;
    std::string result(readable);
    std::free(readable);
    return result;
}
} // namespace Quoll::Platform

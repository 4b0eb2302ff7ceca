// Map files list public symbols as " SSSS:OOOOOOOO       name ..." and, under a
// "Line numbers for ... (file)" heading, rows of four "LLLLLL SSSS:OOOOOOOO" entries.
#include "framework/crash/MapFile.h"

#include "framework/core/Common.h"
#include "framework/crash/CrashCatcher.h"
#include "framework/platform/system/ModuleMap.h"

#include <dirent.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace Quoll
{
namespace
{
bool HexAt(const std::string& text, size_t start, size_t count, uint32_t& value)
{
    return start + count <= text.size() && CrashCatcher::ParseHex(text.substr(start, count), value);
}

// Finds the entry at the address or the nearest one before it, in the same section.
template <typename Value>
const std::pair<const std::pair<uint32_t, uint32_t>, Value>* AtOrBefore(
    const std::map<std::pair<uint32_t, uint32_t>, Value>& table, std::pair<uint32_t, uint32_t> address)
{
    auto after = table.upper_bound(address);
    if (after == table.begin())
        return nullptr;
    const auto& entry = *std::prev(after);
    return entry.first.first == address.first ? &entry : nullptr;
}
} // namespace

void MapFile::Parse(const std::string& text)
{
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        ParseLine(line);
    }
}

void MapFile::ParseLine(const std::string& line)
{
    // 1. A public symbol.
    if (line.size() >= 23 && line[5] == ':')
    {
        uint32_t section = 0, offset = 0;
        if (HexAt(line, 1, 4, section) && HexAt(line, 6, 8, offset))
        {
            size_t blank = line.find(' ', 21);
            if (line[20] == ' ' && blank != std::string::npos)
                mSymbols[{section, offset}] = line.substr(21, blank - 21);
            return;
        }
    }
    // 2. The heading of a source file's line numbers.
    if (line.compare(0, 12, "Line numbers") == 0)
    {
        size_t open = line.find('(');
        size_t close = open == std::string::npos ? open : line.find(')', open);
        mCurrentFile = close == std::string::npos ? std::string() : line.substr(open + 1, close - open - 1);
        return;
    }
    // 3. A row of four line entries.
    if (!mCurrentFile.empty() && line.size() == 80)
        ParseLineNumbers(line);
}

void MapFile::ParseLineNumbers(const std::string& line)
{
    for (size_t k = 0; k < 80; k += 20)
    {
        uint32_t section = 0, offset = 0;
        if (HexAt(line, k + 7, 4, section) && HexAt(line, k + 12, 8, offset))
            mLines[{section, offset}] = {mCurrentFile, std::atoi(line.substr(k, 6).c_str())};
    }
}

std::string MapFile::Describe(Address address) const
{
    std::string text;
    if (const auto* symbol = AtOrBefore(mSymbols, address))
    {
        text = Platform::DemangleSymbol(symbol->second);
        if (uint32_t displacement = address.second - symbol->first.second; displacement != 0)
            text += FormatString("+0x%X", displacement);
    }
    if (const auto* entry = AtOrBefore(mLines, address))
    {
        if (text.empty())
            text = FormatString("%04X:%08X", address.first, address.second);
        text += FormatString("\r\n    %s line %d +0x%X", entry->second.file.c_str(), entry->second.line,
                             address.second - entry->first.second);
    }
    return text;
}

std::string MapFile::Annotate(const std::string& report) const
{
    std::string out = report;
    for (size_t colon = out.find(':', 4); colon != std::string::npos; colon = out.find(':', colon + 1))
    {
        Address address;
        if (!HexAt(out, colon - 4, 4, address.first) || !HexAt(out, colon + 1, 8, address.second))
            continue;
        std::string text = Describe(address);
        if (text.empty())
            continue;
        out.replace(colon - 4, 13, text);
        colon = colon - 4 + text.size() - 1;
    }
    return out;
}

std::string MapFile::AnnotateWithFolderMap(const std::string& report, const std::string& folder)
{
    DIR* directory = ::opendir(folder.c_str());
    if (directory == nullptr)
        return report;
    std::string mapPath;
    while (dirent* entry = ::readdir(directory))
    {
        std::string name = entry->d_name;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".map") == 0)
        {
            mapPath = folder + "/" + name;
            break;
        }
    }
    ::closedir(directory);
    std::ifstream in(mapPath, std::ios::binary);
    if (mapPath.empty() || !in)
        return report;
    std::ostringstream text;
    text << in.rdbuf();
    MapFile map;
    map.Parse(text.str());
    return map.Annotate(report);
}
} // namespace Quoll

// The table of live-tweakable constants and its reparse.
#include "framework/core/ModVal.h"

#include "framework/core/Common.h"
#include "framework/platform/system/ProgramInfo.h"

#include <fstream>

namespace Quoll
{
void ModValTable::Register(void* address, ModValKind kind, const std::string& file, int line, int index)
{
    mFiles[file].push_back({address, kind, line, index});
}

void ModValTable::Reparse(uint64_t programTime, const ModValMessageBox& show)
{
    if (mNewestTime == 0)
        mNewestTime = programTime;
    bool changed = false;
    std::string parsed;
    for (const auto& [file, sites] : mFiles)
    {
        // 1. A file newer than anything seen before counts as a change.
        uint64_t time = GetFileModTime(file);
        if (time > mNewestTime)
        {
            mNewestTime = time;
            changed = true;
        }
        parsed += (parsed.empty() ? "" : "\r\n  ") + file;
        // 2. Read it and store the values of its markers.
        if (!ReparseFile(file, sites, show))
            return;
    }
    // 3. Nothing changed: say which files were looked at.
    if (!changed)
        show("WARNING: No file changes detected.  Files parsed: \r\n  " + (parsed.empty() ? std::string("none") : parsed),
             "MODVAL WARNING!");
}

bool ModValTable::ReparseFile(const std::string& file, const std::vector<Site>& sites, const ModValMessageBox& show)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
    {
        show("ERROR: Unable to open " + file + " for reparsing.", "MODVAL ERROR!");
        return false;
    }
    std::vector<ModValMarker> markers;
    std::string error;
    ModValParser parser(mConstants);
    if (!parser.Parse(in, file, markers, error))
    {
        show(error, "MODVAL ERROR");
        return false;
    }
    for (const ModValMarker& marker : markers)
        for (const Site& site : sites)
        {
            if (site.line != marker.line || site.index != marker.index)
                continue;
            // Only markers of registered values are read; an unreadable one is an error.
            if (!marker.value || !Store(site, *marker.value))
            {
                show(FormatString("ERROR in %s on line %d.  Parsing Error.", file.c_str(), marker.line), "MODVAL ERROR");
                return false;
            }
        }
    return true;
}

// Writes the value into the site; false when its type does not fit the site's.
bool ModValTable::Store(const Site& site, const ModValValue& value)
{
    const int* integer = std::get_if<int>(&value);
    const double* floating = std::get_if<double>(&value);
    double number = integer != nullptr ? *integer : floating != nullptr ? *floating : 0.0;
    switch (site.kind)
    {
    case ModValKind::Int:
        if (integer == nullptr)
            return false;
        *static_cast<int*>(site.address) = *integer;
        return true;
    case ModValKind::Float:
        if (integer == nullptr && floating == nullptr)
            return false;
        *static_cast<float*>(site.address) = static_cast<float>(number);
        return true;
    case ModValKind::Double:
        if (integer == nullptr && floating == nullptr)
            return false;
        *static_cast<double*>(site.address) = number;
        return true;
    case ModValKind::String:
        if (!std::holds_alternative<std::string>(value))
            return false;
        *static_cast<std::string*>(site.address) = std::get<std::string>(value);
        return true;
    }
    return false;
}

ModValTable& ModVal::Table()
{
    static ModValTable table; // built on first use: registrations run with the static objects
    return table;
}

void ModVal::Register(void* address, ModValKind kind, const char* file, int line, int index)
{
    Table().Register(address, kind, file, line, index);
}

void ModVal::Reparse(const ModValMessageBox& show)
{
    Table().Reparse(GetFileModTime(Platform::ProgramPath()), show);
}
} // namespace Quoll

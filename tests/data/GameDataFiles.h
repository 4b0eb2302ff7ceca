#pragma once
// Helpers of the data tests: whole files, the master table, folders compared byte for byte.
#include "tools/resgen/ResourceTable.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace DataTest
{
inline std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline std::vector<ResGen::Entry> MasterTable()
{
    std::vector<ResGen::Entry> entries;
    std::string error;
    if (!ResGen::ParseTable(ReadAll(QUOLL_SOURCE_DIR "/data/resource_ids.txt"), entries, error))
        entries.clear();
    return entries;
}

// Every regular file under the folder by its relative path, with its bytes.
inline std::map<std::string, std::string> FolderFiles(const std::filesystem::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[std::filesystem::relative(entry.path(), folder).generic_string()] = ReadAll(entry.path());
    return files;
}
} // namespace DataTest

// pakbuild: packs every file below a folder into one pack file that the game mounts.
// Usage: pakbuild [--password TEXT] <folder> <output.pak>
// Names in the pack are the files' paths relative to the folder, with '/' separators.
#include "framework/files/PakWriter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{
int Usage()
{
    std::fprintf(stderr, "usage: pakbuild [--password TEXT] <folder> <output.pak>\n");
    return 2;
}

bool ReadWhole(const fs::path& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}
} // namespace

int main(int argc, char** argv)
{
    std::string password;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--password") == 0 && i + 1 < argc)
            password = argv[++i];
        else
            positional.emplace_back(argv[i]);
    }
    if (positional.size() != 2)
        return Usage();
    const fs::path folder = positional[0];
    const fs::path output = positional[1];

    std::error_code ec;
    if (!fs::is_directory(folder, ec))
    {
        std::fprintf(stderr, "pakbuild: not a folder: %s\n", folder.c_str());
        return 1;
    }
    std::vector<fs::path> files;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    {
        std::error_code same;
        if (it->is_regular_file() && !fs::equivalent(it->path(), output, same))
            files.push_back(it->path());
    }
    if (ec)
    {
        std::fprintf(stderr, "pakbuild: cannot list %s: %s\n", folder.c_str(), ec.message().c_str());
        return 1;
    }
    std::sort(files.begin(), files.end());

    Quoll::PakWriter writer;
    for (const fs::path& file : files)
    {
        std::string bytes;
        if (!ReadWhole(file, bytes))
        {
            std::fprintf(stderr, "pakbuild: cannot read %s\n", file.c_str());
            return 1;
        }
        writer.AddFile(fs::relative(file, folder).generic_string(), std::move(bytes));
    }
    std::string error;
    if (!writer.Write(output.string(), password, error))
    {
        std::fprintf(stderr, "pakbuild: %s\n", error.c_str());
        return 1;
    }
    std::printf("pakbuild: %zu files into %s\n", files.size(), output.c_str());
    return 0;
}

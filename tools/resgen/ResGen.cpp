// resgen: makes the resource-id header and table and the resource manifest from the master
// table of ids.
//   resgen <table> [--header FILE] [--source FILE] [--manifest FILE]
// A file is rewritten only when its text changes, so that a build does not recompile for nothing.
#include "tools/resgen/ResourceTable.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace
{
bool ReadText(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    text.assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

bool WriteIfChanged(const std::string& path, const std::string& text)
{
    std::string old;
    if (ReadText(path, old) && old == text)
        return true;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out)
    {
        std::fprintf(stderr, "resgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: resgen <table> [--header FILE] [--source FILE] [--manifest FILE]\n");
        return 2;
    }
    const std::string tablePath = argv[1];
    std::string header, source, manifest;
    for (int i = 2; i < argc; ++i)
    {
        const std::string option = argv[i];
        std::string* target = option == "--header" ? &header : option == "--source" ? &source
                            : option == "--manifest" ? &manifest : nullptr;
        if (target == nullptr || i + 1 >= argc)
        {
            std::fprintf(stderr, "resgen: unknown option or missing file: %s\n", option.c_str());
            return 2;
        }
        *target = argv[++i];
    }

    std::string text;
    if (!ReadText(tablePath, text))
    {
        std::fprintf(stderr, "resgen: cannot read %s\n", tablePath.c_str());
        return 1;
    }
    std::vector<ResGen::Entry> entries;
    std::string error;
    if (!ResGen::ParseTable(text, entries, error))
    {
        std::fprintf(stderr, "resgen: %s: %s\n", tablePath.c_str(), error.c_str());
        return 1;
    }
    bool ok = true;
    if (!header.empty())
        ok = WriteIfChanged(header, ResGen::MakeHeader(entries)) && ok;
    if (!source.empty())
        ok = WriteIfChanged(source, ResGen::MakeSource(entries)) && ok;
    if (!manifest.empty())
        ok = WriteIfChanged(manifest, ResGen::MakeManifest(entries)) && ok;
    return ok ? 0 : 1;
}

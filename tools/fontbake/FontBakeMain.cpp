// fontbake: bakes a bitmap font (atlas PNG and descriptor) from a font file.
// Usage: fontbake --font <file.ttf> --pixels <size> --out <folder> --name <name> [--chars <list>]
// Writes <folder>/<name>.png and <folder>/<name>.txt. The character list is hexadecimal code
// points and ranges ("20-7E,A0-FF", the default: printable ASCII and Latin-1); characters the
// face lacks are left out (the font then draws them as '?').
#include "FontBaker.h"

#include "framework/widgets/ImageFont.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

using namespace Quoll;

namespace
{
int Usage()
{
    std::fprintf(stderr, "usage: fontbake --font <file.ttf> --pixels <size> --out <folder> --name <name> "
                         "[--chars <hex list such as 20-7E,A0-FF>]\n");
    return 2;
}
} // namespace

int main(int argc, char** argv)
{
    std::map<std::string, std::string> options{{"--chars", "20-7E,A0-FF"}};
    for (int i = 1; i + 1 < argc; i += 2)
        options[argv[i]] = argv[i + 1];
    if (argc % 2 == 0 || !options.count("--font") || !options.count("--pixels") || !options.count("--out") ||
        !options.count("--name") || options.size() != 5)
        return Usage();
    std::vector<char32_t> characters;
    if (!FontBaker::ParseCharacters(options["--chars"], characters))
    {
        std::fprintf(stderr, "fontbake: bad character list '%s'\n", options["--chars"].c_str());
        return 2;
    }
    const int pixels = std::atoi(options["--pixels"].c_str());
    std::string error;
    auto face = TrueTypeFace::Open(options["--font"], pixels, error);
    if (!face)
    {
        std::fprintf(stderr, "fontbake: %s\n", error.c_str());
        return 1;
    }
    BakedFont baked;
    const std::string name = options["--name"];
    if (!FontBaker(*face).Bake(characters, name + ".png", baked, error))
    {
        std::fprintf(stderr, "fontbake: %s\n", error.c_str());
        return 1;
    }
    const std::filesystem::path folder = options["--out"];
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::string descriptor = (folder / (name + ".txt")).string();
    if (!ImageLib::WritePng((folder / (name + ".png")).string(), baked.atlas))
    {
        std::fprintf(stderr, "fontbake: cannot write %s.png\n", name.c_str());
        return 1;
    }
    std::ofstream(descriptor, std::ios::binary) << baked.descriptor;
    // The bitmap font must read what was written.
    if (!ImageFont::Load(descriptor, error))
    {
        std::fprintf(stderr, "fontbake: the written font does not load: %s\n", error.c_str());
        return 1;
    }
    std::printf("fontbake: %s: %d glyphs, %d kerning pairs, atlas %d x %d\n", descriptor.c_str(), baked.glyphCount,
                baked.kerningPairs, baked.atlas.GetWidth(), baked.atlas.GetHeight());
    return 0;
}

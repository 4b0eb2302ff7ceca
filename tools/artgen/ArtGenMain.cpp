// artgen: draws every image of the master resource table into a data folder.
//   artgen <table> <out folder> --mapcoords <file> --mapdishes <file> [--fonts <folder>] [--stamp <file>]
// Each image is drawn at the table's size and cel grid; the map image follows the node
// rectangles of the map coordinates file and the episode dishes of the dishes file; the branding
// splash goes to data/branding. The same inputs give the same bytes.
#include "tools/artgen/ArtCatalogue.h"
#include "tools/resgen/ResourceTable.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
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

// Calls read with the fields of every line of a layout text, '#' lines and empty lines skipped.
template <typename Read>
void ForEachLayoutLine(const std::string& text, Read read)
{
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
    {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        read(fields);
    }
}

// The node rectangles: a word and four numbers a line.
std::vector<ArtGen::MapNode> ParseMapCoords(const std::string& text)
{
    std::vector<ArtGen::MapNode> nodes;
    ForEachLayoutLine(text, [&](std::istringstream& fields) {
        std::string label;
        ArtGen::MapNode node;
        if (fields >> label >> node.x >> node.y >> node.w >> node.h)
            nodes.push_back(node);
    });
    return nodes;
}

// The episode dishes: a word and three numbers (centre x, centre y, radius) a line.
std::vector<ArtGen::MapDish> ParseMapDishes(const std::string& text)
{
    std::vector<ArtGen::MapDish> dishes;
    ForEachLayoutLine(text, [&](std::istringstream& fields) {
        std::string label;
        ArtGen::MapDish dish;
        if (fields >> label >> dish.x >> dish.y >> dish.radius)
            dishes.push_back(dish);
    });
    return dishes;
}

// The frame animation of a strip, written beside it as "<image path>.anim": every cel in order,
// with a delay that suits the motion. Strips whose cels are states, not frames, get none (the
// cells' looks and overlays, the face strips' expressions, whose animations are hand-written).
std::string AnimationFor(const std::string& name, int cels)
{
    if (cels <= 1 || ArtGen::StartsWith(name, "LEV_") || ArtGen::StartsWith(name, "CELL") ||
        ArtGen::StartsWith(name, "EMO") || name == "SETTING_SLIDER_THUMB")
        return {};
    int delay = 90;
    if (ArtGen::StartsWith(name, "BORN_"))
        delay = 50;
    else if (ArtGen::StartsWith(name, "EYE"))
        delay = 80;
    else if (ArtGen::StartsWith(name, "MOUTH"))
        delay = 100;
    return "# Made by tools/artgen with the image.\nFRAMEANIMATION " + std::to_string(cels) + " " +
           std::to_string(delay) + " 0\n";
}

int Usage()
{
    std::fprintf(stderr, "usage: artgen <table> <out folder> --mapcoords <file> --mapdishes <file> [--fonts <folder>] "
                         "[--stamp <file>]\n");
    return 2;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc % 2 == 0)
        return Usage();
    std::map<std::string, std::string> options;
    for (int i = 3; i + 1 < argc; i += 2)
        options[argv[i]] = argv[i + 1];
    for (const auto& [key, value] : options)
        if (key != "--mapcoords" && key != "--mapdishes" && key != "--fonts" && key != "--stamp")
            return Usage();
    if (!options.count("--mapcoords") || !options.count("--mapdishes"))
        return Usage();

    std::string text, error;
    if (!ReadText(argv[1], text))
    {
        std::fprintf(stderr, "artgen: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<ResGen::Entry> entries;
    if (!ResGen::ParseTable(text, entries, error))
    {
        std::fprintf(stderr, "artgen: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    std::string coords;
    if (!ReadText(options["--mapcoords"], coords))
    {
        std::fprintf(stderr, "artgen: cannot read %s\n", options["--mapcoords"].c_str());
        return 1;
    }
    ArtGen::SetMapNodes(ParseMapCoords(coords));
    std::string dishes;
    if (!ReadText(options["--mapdishes"], dishes))
    {
        std::fprintf(stderr, "artgen: cannot read %s\n", options["--mapdishes"].c_str());
        return 1;
    }
    ArtGen::SetMapDishes(ParseMapDishes(dishes));
    if (options.count("--fonts"))
        ArtGen::ArtCanvas::SetFontFolder(options["--fonts"]);

    const std::filesystem::path out = argv[2];
    int written = 0;
    try
    {
        for (const ResGen::Entry& entry : entries)
        {
            if (entry.kind != ResGen::Kind::Image)
                continue;
            ArtGen::ImageJob job{entry.name.substr(6), entry.width, entry.height, entry.cols, entry.rows};
            ArtGen::ArtCanvas canvas(job.width, job.height);
            if (!ArtGen::PaintImage(canvas, job))
            {
                std::fprintf(stderr, "artgen: no painter draws %s\n", entry.name.c_str());
                return 1;
            }
            const std::filesystem::path file = out / entry.path;
            std::filesystem::create_directories(file.parent_path());
            if (!canvas.WritePng(file.string(), error))
            {
                std::fprintf(stderr, "artgen: %s\n", error.c_str());
                return 1;
            }
            if (const std::string animation = AnimationFor(job.name, job.cols * job.rows); !animation.empty())
            {
                std::ofstream anim(file.string() + ".anim", std::ios::binary | std::ios::trunc);
                anim << animation;
                if (!anim.flush())
                {
                    std::fprintf(stderr, "artgen: cannot write %s.anim\n", file.c_str());
                    return 1;
                }
            }
            ++written;
        }
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "artgen: %s\n", e.what());
        return 1;
    }
    // Pictures the game finds by folder rather than by id: the branding splash.
    const ArtGen::ImageJob branding{"BRANDING", 1024, 768, 1, 1};
    ArtGen::ArtCanvas splash(branding.width, branding.height);
    ArtGen::PaintImage(splash, branding);
    std::filesystem::create_directories(out / "data/branding");
    if (!splash.WritePng((out / "data/branding/nordwick.png").string(), error))
    {
        std::fprintf(stderr, "artgen: %s\n", error.c_str());
        return 1;
    }
    ++written;
    if (options.count("--stamp"))
        std::ofstream(options["--stamp"]) << written << " images\n";
    return 0;
}

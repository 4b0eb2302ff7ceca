#pragma once
// The master table of resource ids as the generator reads it: one line per id,
//   <id> <NAME> <group> <path> [<width> <height> <cols> <rows>]
// '#' lines and empty lines are skipped. Ids run from 1 without gaps; names start with
// "IMAGE_", "SOUND_" or "FONT_" and are unique; only images carry the geometry (all four
// numbers, each at least 1, cols and rows not above width and height).
// An id of "-" names a resource without a generated number: it goes into the manifest only,
// and the game finds it by its name (the count of ids keeps its meaning of "no such id").
#include <string>
#include <vector>

namespace ResGen
{
inline constexpr int kUnnumbered = 0;

enum class Kind
{
    Image,
    Sound,
    Font,
};

struct Entry
{
    int id = kUnnumbered; // kUnnumbered for a "-" line
    std::string name;
    Kind kind = Kind::Image;
    std::string group;
    std::string path;
    int width = 0, height = 0, cols = 1, rows = 1;

    [[nodiscard]] bool IsNumbered() const { return id != kUnnumbered; }
};

// The entries in id order; false with "line N: why" in error at the first bad line.
bool ParseTable(const std::string& text, std::vector<Entry>& entries, std::string& error);

// The generated files, as text.
std::string MakeHeader(const std::vector<Entry>& entries);
std::string MakeSource(const std::vector<Entry>& entries);
std::string MakeManifest(const std::vector<Entry>& entries);
} // namespace ResGen

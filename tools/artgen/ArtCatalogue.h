#pragma once
// Which painter draws which image of the master table. An image is painted cel by cel: the
// painter gets the cel's index and size, with the canvas moved and clipped to that cel.
#include "tools/artgen/ArtCanvas.h"

#include <functional>
#include <string>
#include <vector>

namespace ArtGen
{
struct ImageJob
{
    std::string name; // the id without "IMAGE_", e.g. "BODY_3"
    int width = 0, height = 0, cols = 1, rows = 1;
};

struct Cel
{
    int index = 0; // 0 .. count - 1, row by row
    int count = 1;
    double w = 0, h = 0;

    double Phase() const { return count > 1 ? static_cast<double>(index) / count : 0.0; }
};

using CelPainter = std::function<void(ArtCanvas&, const Cel&)>;

// The painter of an image; an empty function for a name no painter knows.
CelPainter FindPainter(const std::string& name);

// Paints every cel of the job onto a canvas of the job's size; false when no painter knows it.
bool PaintImage(ArtCanvas& canvas, const ImageJob& job);

// Painters by family, each returning empty for names outside its family.
CelPainter FindCreaturePainter(const std::string& name);
CelPainter FindInterfacePainter(const std::string& name);
// The dialogs' panels and the pictures only one dialog shows.
CelPainter FindDialogPainter(const std::string& name);
CelPainter FindScenePainter(const std::string& name);
CelPainter FindEffectPainter(const std::string& name);
CelPainter FindComicPainter(const std::string& name);
// The level map's achievements button icon.
CelPainter FindAchievementIconPainter(const std::string& name);

// The level map's node rectangles (from mapcoords.txt), which the map image draws around.
struct MapNode
{
    int x = 0, y = 0, w = 0, h = 0;
};
void SetMapNodes(std::vector<MapNode> nodes);
// The level map's dishes, one per episode in order (from the map's dishes file).
struct MapDish
{
    int x = 0, y = 0, radius = 0;
};
void SetMapDishes(std::vector<MapDish> dishes);

// "BODY_3" with prefix "BODY_" gives 3; -1 when the rest is not a number.
int NumberAfter(const std::string& name, const std::string& prefix);
bool StartsWith(const std::string& text, const std::string& prefix);
} // namespace ArtGen

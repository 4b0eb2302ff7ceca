#pragma once
// Lays images out on pages: each image a block of its cels side by side (wrapping onto more
// rows when wide) with its id under it; blocks flow left to right and top to bottom, and a new
// page starts when one is full. Large cels are shrunk to fit a tile, keeping their shape.
#include "framework/display/Rect.h"

#include <string>
#include <vector>

namespace Quoll
{
class Font;
class Image;
class MemoryImage;
} // namespace Quoll

class ContactSheet
{
public:
    static constexpr int kPageWidth = 1024;
    static constexpr int kPageHeight = 768;
    static constexpr int kMaxTileWidth = 256;
    static constexpr int kMaxTileHeight = 192;
    static constexpr int kGap = 8;

    struct Placement
    {
        int page = 0;
        Quoll::Rect tile;  // where one cel is drawn, in page pixels
        int cel = 0;
        size_t image = 0;  // index into the images given to Layout
    };
    struct Entry
    {
        std::string name;
        Quoll::Image* image = nullptr;
        int labelWidth = 0; // the block is at least this wide
    };

    // The scale (at most 1) that fits one cel of the given size into a tile.
    static double TileScale(int celWidth, int celHeight);
    // Places every cel of every image; labelHeight is the room kept under each block.
    static std::vector<Placement> Layout(const std::vector<Entry>& images, int labelHeight, int& pageCount);
    // Orders the images by the height of their tiles, tallest first (keeping the given order
    // among equals), so that rows of a page are evenly filled.
    static void SortForPacking(std::vector<Entry>& images);
    // A page of the art put together as a play screen would show it (background, the 61-cell
    // board, colonies with faces, a bonus, buttons and a panel), written as <folder>/preview.png
    // so that the style can be judged in context. `find` answers an image by id ("IMAGE_..."),
    // or null.
    using ImageFinder = Quoll::Image* (*)(const std::string& id, void* context);
    static bool RenderPreview(ImageFinder find, void* context, Quoll::Font* labelFont, Quoll::Font* titleFont,
                              const std::string& folder);
    // Draws the pages and writes them as <folder>/contact_NN.png; false when a page cannot be written.
    static bool Render(const std::vector<Entry>& images, Quoll::Font* labelFont, const std::string& folder,
                       int& pageCount);
};

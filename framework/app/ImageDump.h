#pragma once
// The image dump: an HTML report of every image the application holds, largest first, with
// a full-size PNG ("img0000.png") and a 64 x 64 JPEG thumbnail ("thumb0000.jpg") of each,
// written into the "_dump" folder of the data folder after everything of an earlier dump
// was removed. The byte counts are estimates of what each form of an image takes.
#include <cstdint>
#include <string>
#include <vector>

namespace Quoll
{
class MemoryImage;
class Renderer3D;

// What one row of the report says about an image.
struct ImageDumpEntry
{
    MemoryImage* image = nullptr; // the pixels of the PNG and the thumbnail
    int width = 0, height = 0;
    bool memoryBits = false;  // 32-bit pixels in memory
    bool palettized = false;  // palette-index pixels
    bool surface = false;     // a display surface
    bool texture = false;     // texture data of the 3D renderer
    int textureFormat = 0;    // 1 A8R8G8B8, 2 A4R4G4B4, 4 R5G6B5, 8 Palette8
    int textureBytes = 0;
    bool isVolatile = false;
    bool forcedMode = false;
    bool hasAlpha = false;
    bool hasTrans = false;
    bool nativeAlpha = false;
    bool rlAlpha = false;
    bool rlAdditive = false;
    std::string filePath;
};

// The row of an image: its pixel forms, flags and path, its surface when it has one, and the
// texture data the 3D renderer keeps of it (none without a renderer).
ImageDumpEntry DescribeImage(MemoryImage& image, const Renderer3D* renderer = nullptr);

// The byte counts of columns 3 to 6 and 11 to 13 of a row (0 where the column is empty).
struct ImageDumpBytes
{
    int memoryBits = 0, palettized = 0, surface = 0, texture = 0;
    int nativeAlpha = 0, rlAlpha = 0, rlAdditive = 0;
    [[nodiscard]] int Total() const;
};
ImageDumpBytes CountImageBytes(const ImageDumpEntry& entry);

// The report page for the entries (in any order; the page orders them), headed by the time text.
std::string ImageDumpPage(const std::vector<ImageDumpEntry>& entries, const std::string& timeText);

// The thumbnail pixel (column, row) of 0..63 comes from the source pixel returned here.
void ThumbnailSource(int column, int row, int width, int height, int& x, int& y);

// Replaces the data folder's "_dump" folder by the report, the PNGs and the thumbnails. False
// when the folder could not be made within about five seconds or the page not written.
bool DumpImages(const std::vector<ImageDumpEntry>& entries, const std::string& dataFolder,
                const std::string& timeText);

// The local time as the report heads it ("Sun Dec  6 18:03:31 2026\n").
std::string DumpTimeText();
} // namespace Quoll

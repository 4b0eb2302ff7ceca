#pragma once
// The zoom effect's configurations: files "zoomfx1.cfg" .. "zoomfx6.cfg" of the backgrounds'
// folder, read line by line:
//
//   SFX duration second        the run's length in seconds (the second value is kept, unused)
//   LAB [eight floats]         a piece without picture
//   NAME [eight floats]        a piece showing the image resource NAME
//
// A piece's floats are, in order: start, middle, end (progress), alpha at start, middle and end,
// scale at start and end; missing trailing floats keep the defaults of ZoomPiece.
#include <string>
#include <vector>

class SceneServices;

namespace Quoll
{
class Image;

struct ZoomPiece
{
    float start = 0.0f;
    float middle = 0.5f;
    float end = 1.0f;
    float alphaStart = 0.0f;
    float alphaMiddle = 0.5f;
    float alphaEnd = 0.0f;
    float scaleStart = 1.0f;
    float scaleEnd = 2.0f;
    // Bound when an effect starts; not owned.
    Image* image = nullptr;
    // The resource id of the picture (the id count for an unknown name, which binds no image);
    // unused for a label piece.
    int imageId = 0;
    // A "LAB" piece: never drawn.
    bool label = false;
};

struct ZoomConfig
{
    int key = 0;
    std::vector<ZoomPiece> pieces;
    float duration = 0.0f;
    float second = 0.0f;
};

// The configurations, filled once on first use and read-only after; the application owns one.
class ZoomConfigs
{
public:
    static constexpr int kCount = 6;

    // folder ends with '/'.
    explicit ZoomConfigs(std::string folder = "data/art/textures/fones/") : mFolder(std::move(folder)) {}

    // Reads files 1 to 6 unless configurations are already held. A file that cannot be opened
    // stops the reading with "Cannot open file: " + path on the "ERROR" log and false (those read
    // before stay).
    bool Load(SceneServices& services);
    // The first configuration of that key, or null.
    [[nodiscard]] const ZoomConfig* Find(int key) const;
    [[nodiscard]] static std::string FileName(int key) { return "zoomfx" + std::to_string(key) + ".cfg"; }

private:
    bool LoadFile(int key, SceneServices& services);

    std::string mFolder;
    std::vector<ZoomConfig> mConfigs;
};
} // namespace Quoll

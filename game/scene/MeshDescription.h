#pragma once
// The mesh description language of backgrounds (".fone") and single animated pictures (".mesh").
// A file is read line by line; a line is a keyword and values separated by white space:
//
//   OBJ name count x y width height columns rows [opacity]   one or more layers over the image
//                                                             "IMAGE_" + name; starts a group
//   WAVE mode speed amplitude frequency [firstColumn firstRow lastColumn lastRow]
//   MOVER speed amplitude wobble [x y width height]
//   DIRMOVER speed pulse
//   ROTATE [base spread]                                      degrees per second
//
// The four affector lines add an affector to every layer of the current group (the layers of the
// last "OBJ" line); they do nothing before the first "OBJ" or after one that created nothing.
// Other keywords are ignored. A line that lacks a required value, or whose values cannot be used
// (fewer than 2 or more than MeshGrid::kMaxSide columns or rows, a count above kMaxLayers), is
// skipped with a line on the "ERROR" log naming the file and line.
#include "game/scene/MeshNode.h"

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class SceneServices;

namespace Quoll
{
class Image;
}

// Reads description lines and builds their layers. The loaders below open the file; the fuzz
// target feeds lines directly.
class MeshDescriptionReader
{
public:
    // Most layers one "OBJ" line may create.
    static constexpr unsigned kMaxLayers = 16;
    // Largest extent in pixels of a layer's base size (before the per-layer growth).
    static constexpr int kMaxExtent = 8192;

    // source names the file in warnings.
    MeshDescriptionReader(SceneServices& services, std::string source);

    // One line (keyword first); lineNumber is used in warnings.
    void ReadLine(std::istream& line, int lineNumber);
    // The layers created so far, in creation order; the caller takes them.
    [[nodiscard]] std::vector<std::unique_ptr<MeshNode>> TakeNodes();

private:
    void ReadObj(std::istream& line, int lineNumber);
    void ReadWave(std::istream& line, int lineNumber);
    void ReadMover(std::istream& line, int lineNumber);
    void ReadDirMover(std::istream& line, int lineNumber);
    void ReadRotate(std::istream& line);
    void Refuse(const std::string& keyword, int lineNumber, const std::string& why);
    // The extent of a layer from the line's value: 0 the application's, below 0 its magnitude,
    // above 0 that fraction of the image's; capped to 0..kMaxExtent.
    [[nodiscard]] static int LayerExtent(float value, int application, int image);

    SceneServices& mServices;
    std::string mSource;
    std::vector<std::unique_ptr<MeshNode>> mNodes;
    // The current group: the layers of the last "OBJ" line (owned by mNodes).
    std::vector<MeshNode*> mGroup;
};

// The image of "IMAGE_" + name; null, with "Not found Fone image: " + name on the "ERROR" log,
// when no image is bound to that name.
[[nodiscard]] Quoll::Image* FindFoneImage(const std::string& name, SceneServices& services);

// Parses a description file and appends every created layer to out, in creation order. false,
// with "Cannot load Fone: " + path on the "ERROR" log, when the file cannot be opened; true also
// when nothing was created.
bool LoadFoneFile(const std::string& path, std::vector<std::unique_ptr<MeshNode>>& out, SceneServices& services);

// The first layer a description file creates (the others are freed); null when the file cannot
// be opened or creates nothing.
[[nodiscard]] std::unique_ptr<MeshNode> LoadMeshNode(const std::string& path, SceneServices& services);

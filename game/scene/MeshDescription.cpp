#include "game/scene/MeshDescription.h"

#include "framework/files/ConfigFile.h"
#include "game/scene/DirMover_NodeAffector.h"
#include "game/scene/Mover_NodeAffector.h"
#include "game/scene/Rotate_NodeAffector.h"
#include "game/scene/Truncate.h"
#include "game/scene/Wave_MeshAffector.h"
#include "game/shell/SceneServices.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <sstream>

namespace
{
// Reads one value; false (the value untouched) when the line has none or it does not parse.
template <class T> bool ReadValue(std::istream& line, T& value)
{
    T read{};
    if (!(line >> read))
        return false;
    value = read;
    return true;
}

// Reads an optional trailing value: keeps the default when the line has ended.
template <class T> void ReadOptional(std::istream& line, T& value)
{
    if (line.fail())
        return;
    ReadValue(line, value);
}

// An unsigned count written in decimal; negative or oversized values are refused.
bool ReadCount(std::istream& line, unsigned& value)
{
    long long read = 0;
    if (!ReadValue(line, read) || read < 0 || read > 0xFFFFFFFFLL)
        return false;
    value = static_cast<unsigned>(read);
    return true;
}

constexpr float kDegreesToRadians = 0.017453292f;
} // namespace

MeshDescriptionReader::MeshDescriptionReader(SceneServices& services, std::string source)
    : mServices(services), mSource(std::move(source))
{
}

void MeshDescriptionReader::ReadLine(std::istream& line, int lineNumber)
{
    std::string keyword;
    line >> keyword;
    if (keyword == "OBJ")
        ReadObj(line, lineNumber);
    else if (keyword == "WAVE")
        ReadWave(line, lineNumber);
    else if (keyword == "MOVER")
        ReadMover(line, lineNumber);
    else if (keyword == "DIRMOVER")
        ReadDirMover(line, lineNumber);
    else if (keyword == "ROTATE")
        ReadRotate(line);
}

std::vector<std::unique_ptr<MeshNode>> MeshDescriptionReader::TakeNodes()
{
    mGroup.clear();
    return std::move(mNodes);
}

void MeshDescriptionReader::Refuse(const std::string& keyword, int lineNumber, const std::string& why)
{
    mServices.LogError(keyword + " line skipped (" + why + ") in " + mSource + " on Line " + std::to_string(lineNumber));
}

int MeshDescriptionReader::LayerExtent(float value, int application, int image)
{
    int extent = 0;
    if (value == 0.0f)
        extent = application;
    else if (value < 0.0f)
        extent = TruncToInt(-static_cast<double>(value));
    else
        extent = TruncToInt(static_cast<float>(static_cast<float>(image) * value));
    return std::clamp(extent, 0, kMaxExtent);
}

void MeshDescriptionReader::ReadObj(std::istream& line, int lineNumber)
{
    mGroup.clear();
    std::string name;
    unsigned count = 0, columns = 0, rows = 0;
    int x = 0, y = 0;
    float width = 0.0f, height = 0.0f, opacity = 1.0f;
    if (!ReadValue(line, name) || !ReadCount(line, count) || !ReadValue(line, x) || !ReadValue(line, y) ||
        !ReadValue(line, width) || !ReadValue(line, height) || !ReadCount(line, columns) || !ReadCount(line, rows))
    {
        Refuse("OBJ", lineNumber, "values missing");
        return;
    }
    ReadOptional(line, opacity);
    if (columns < 2 || rows < 2 || columns > MeshGrid::kMaxSide || rows > MeshGrid::kMaxSide)
    {
        Refuse("OBJ", lineNumber, "a grid needs 2 to " + std::to_string(MeshGrid::kMaxSide) + " columns and rows");
        return;
    }
    if (count > kMaxLayers)
    {
        Refuse("OBJ", lineNumber, "more than " + std::to_string(kMaxLayers) + " layers");
        return;
    }
    Quoll::Image* image = FindFoneImage(name, mServices);
    if (image == nullptr)
        return;

    const int appWidth = mServices.GetAppWidth(), appHeight = mServices.GetAppHeight();
    const int w = LayerExtent(width, appWidth, image->GetWidth());
    const int h = LayerExtent(height, appHeight, image->GetHeight());
    // -1 places the layer against the right (bottom) edge of the application.
    const float px = static_cast<float>(x == -1 ? appWidth - w : x);
    const float py = static_cast<float>(y == -1 ? appHeight - h : y);
    const int alpha = std::clamp(TruncToInt(static_cast<double>(opacity) * 255.0), 0, 255);
    for (unsigned i = 0; i < count; ++i)
    {
        // Layer i is (1 + i / count) times the base size; all share the top-left corner.
        const float s = static_cast<float>(i) / static_cast<float>(count) + 1.0f;
        auto grid = std::make_unique<MeshGrid>(static_cast<int>(rows), static_cast<int>(columns));
        grid->SetImage(image);
        grid->SetSize(TruncToInt(static_cast<float>(w) * s), TruncToInt(static_cast<float>(h) * s));
        grid->ResetVertices(Quoll::Color(128, 128, 128, alpha));
        auto node = std::make_unique<MeshNode>();
        node->SetGrid(std::move(grid));
        node->SetPosition({px, py});
        mGroup.push_back(node.get());
        mNodes.push_back(std::move(node));
    }
}

void MeshDescriptionReader::ReadWave(std::istream& line, int lineNumber)
{
    int mode = 0;
    float speed = 0.0f, amplitude = 0.0f, frequency = 0.0f;
    if (!ReadValue(line, mode) || !ReadValue(line, speed) || !ReadValue(line, amplitude) ||
        !ReadValue(line, frequency))
    {
        Refuse("WAVE", lineNumber, "values missing");
        return;
    }
    int firstColumn = 0, firstRow = 0, lastColumn = 0, lastRow = 0;
    ReadOptional(line, firstColumn);
    ReadOptional(line, firstRow);
    ReadOptional(line, lastColumn);
    ReadOptional(line, lastRow);
    for (MeshNode* node : mGroup)
    {
        const MeshGrid& grid = *node->GetGrid();
        auto wave = std::make_unique<Wave_MeshAffector>(mServices);
        wave->mMode = mode;
        wave->mSpeed = speed;
        wave->mAmplitude = amplitude;
        wave->mFrequency = frequency;
        wave->SetRange(std::max(firstColumn, 0), std::min(lastColumn, grid.GetColumns() - 1), std::max(firstRow, 0),
                       std::min(lastRow, grid.GetRows() - 1));
        node->AddMeshAffector(std::move(wave));
    }
}

void MeshDescriptionReader::ReadMover(std::istream& line, int lineNumber)
{
    float speed = 0.0f, amplitude = 0.0f, wobble = 0.0f;
    if (!ReadValue(line, speed) || !ReadValue(line, amplitude) || !ReadValue(line, wobble))
    {
        Refuse("MOVER", lineNumber, "values missing");
        return;
    }
    int x = 0, y = 0, width = -1, height = -1;
    ReadOptional(line, x);
    ReadOptional(line, y);
    ReadOptional(line, width);
    ReadOptional(line, height);
    // The area is resolved once for the line: a width (height) of 0 or less is that many
    // application widths (heights), and -1 places the area against the right (bottom) edge.
    const int appWidth = mServices.GetAppWidth(), appHeight = mServices.GetAppHeight();
    const auto scaled = [](int value, int application) {
        return value <= 0 ? TruncToInt(-static_cast<double>(value) * application) : value;
    };
    width = scaled(width, appWidth);
    height = scaled(height, appHeight);
    if (x == -1)
        x = appWidth - width;
    if (y == -1)
        y = appHeight - height;
    const Quoll::Rect area(x, y, width, height);
    const auto n = static_cast<float>(mGroup.size());
    for (size_t i = 0; i < mGroup.size(); ++i)
    {
        const float t = static_cast<float>(i) / n;
        auto mover = std::make_unique<Mover_NodeAffector>(mServices);
        mover->mSpeed = speed + t * mServices.RandFloat(speed);
        mover->mWobbleAmplitude = amplitude + t * mServices.RandFloat(amplitude);
        mover->mWobbleSpeed = mServices.RandFloat(2.0f * wobble) - wobble;
        mover->SetArea(area);
        mover->Start(mGroup[i]);
        mGroup[i]->AddNodeAffector(std::move(mover));
    }
}

void MeshDescriptionReader::ReadDirMover(std::istream& line, int lineNumber)
{
    float speed = 0.0f, pulse = 0.0f;
    if (!ReadValue(line, speed) || !ReadValue(line, pulse))
    {
        Refuse("DIRMOVER", lineNumber, "values missing");
        return;
    }
    const auto n = static_cast<float>(mGroup.size());
    for (size_t i = 0; i < mGroup.size(); ++i)
    {
        const float t = static_cast<float>(i) / n;
        const MeshGrid& grid = *mGroup[i]->GetGrid();
        auto mover = std::make_unique<DirMover_NodeAffector>(mServices, grid.GetWidth(), grid.GetHeight());
        mover->mSpeed = speed + t * mServices.RandFloat(speed);
        mover->mPulseSpeed = pulse;
        mover->Start(mGroup[i]);
        mGroup[i]->AddNodeAffector(std::move(mover));
    }
}

void MeshDescriptionReader::ReadRotate(std::istream& line)
{
    float base = 0.0f, spread = 0.0f;
    ReadOptional(line, base);
    ReadOptional(line, spread);
    base *= kDegreesToRadians;
    spread *= kDegreesToRadians;
    for (MeshNode* node : mGroup)
    {
        auto rotate = std::make_unique<Rotate_NodeAffector>(mServices);
        rotate->Init(base, spread);
        rotate->Start(node);
        node->AddNodeAffector(std::move(rotate));
    }
}

Quoll::Image* FindFoneImage(const std::string& name, SceneServices& services)
{
    // Only an image counts: a name bound to a sound or a font, or to an image not loaded, is
    // not found either.
    Quoll::Image* image = services.GetImageById(services.GetResourceIdByName("IMAGE_" + name));
    if (image == nullptr)
        services.LogError("Not found Fone image: " + name);
    return image;
}

bool LoadFoneFile(const std::string& path, std::vector<std::unique_ptr<MeshNode>>& out, SceneServices& services)
{
    Quoll::ConfigFile file;
    if (!file.Open(path))
    {
        services.LogError("Cannot load Fone: " + path);
        return false;
    }
    MeshDescriptionReader reader(services, path);
    std::stringstream line;
    while (file.NextLine(line))
        reader.ReadLine(line, file.GetLineNumber());
    for (auto& node : reader.TakeNodes())
        out.push_back(std::move(node));
    return true;
}

std::unique_ptr<MeshNode> LoadMeshNode(const std::string& path, SceneServices& services)
{
    std::vector<std::unique_ptr<MeshNode>> nodes;
    if (!LoadFoneFile(path, nodes, services) || nodes.empty())
        return nullptr;
    return std::move(nodes.front());
}

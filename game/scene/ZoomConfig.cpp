#include "game/scene/ZoomConfig.h"

#include "framework/files/ConfigFile.h"
#include "game/shell/SceneServices.h"

#include <sstream>

namespace Quoll
{
namespace
{
// The piece's floats in file order; a missing or unreadable one ends the line.
void ReadPieceValues(std::istream& line, ZoomPiece& piece)
{
    float* values[] = {&piece.start,      &piece.middle,   &piece.end,        &piece.alphaStart,
                       &piece.alphaMiddle, &piece.alphaEnd, &piece.scaleStart, &piece.scaleEnd};
    for (float* value : values)
    {
        float read = 0.0f;
        if (!(line >> read))
            return;
        *value = read;
    }
}
} // namespace

bool ZoomConfigs::Load(SceneServices& services)
{
    if (!mConfigs.empty())
        return true;
    for (int key = 1; key <= kCount; ++key)
        if (!LoadFile(key, services))
            return false;
    return true;
}

bool ZoomConfigs::LoadFile(int key, SceneServices& services)
{
    const std::string path = mFolder + FileName(key);
    ConfigFile file;
    if (!file.Open(path))
    {
        services.LogError("Cannot open file: " + path);
        return false;
    }
    ZoomConfig config;
    config.key = key;
    std::stringstream line;
    while (file.NextLine(line))
    {
        std::string word;
        line >> word;
        if (word == "SFX")
        {
            float duration = 0.0f, second = 0.0f;
            if (line >> duration)
                config.duration = duration;
            if (line >> second)
                config.second = second;
            continue;
        }
        ZoomPiece piece;
        if (word == "LAB")
            piece.label = true;
        else
            piece.imageId = services.GetResourceIdByName(word);
        ReadPieceValues(line, piece);
        config.pieces.push_back(piece);
    }
    mConfigs.push_back(std::move(config));
    return true;
}

const ZoomConfig* ZoomConfigs::Find(int key) const
{
    for (const ZoomConfig& config : mConfigs)
        if (config.key == key)
            return &config;
    return nullptr;
}
} // namespace Quoll

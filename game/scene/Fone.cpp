#include "game/scene/Fone.h"

#include "game/scene/MeshDescription.h"
#include "game/scene/Truncate.h"
#include "game/shell/SceneServices.h"

std::string Fone::PathOfIndex(int n)
{
    return "data/art/textures/fones/" + std::to_string(n) + ".fone";
}

bool Fone::LoadByIndex(int n)
{
    return Load(PathOfIndex(n));
}

bool Fone::Load(const std::string& path)
{
    std::vector<std::unique_ptr<MeshNode>> nodes;
    if (!LoadFoneFile(path, nodes, mServices))
    {
        mServices.LogError("Cannot load fone: " + path);
        return false;
    }
    mLayers.clear();
    mLayerAlphas.clear();
    for (auto& node : nodes)
    {
        MeshNode* layer = node.release();
        AddChild(layer);
        mLayers.push_back(layer);
        const MeshGrid* grid = layer->GetGrid();
        mLayerAlphas.push_back(grid != nullptr ? static_cast<int>(grid->Vertex(0, 0).color >> 24) : 255);
    }
    return !mLayers.empty();
}

void Fone::StartFlash(float seconds)
{
    mFlashTime = seconds;
    mFlashLength = seconds;
    if (seconds <= 0.0f)
        SetLayersGrey(128);
}

void Fone::Update(float dt)
{
    VisualNode::Update(dt);
    if (mFlashTime <= 0.0f)
        return;
    mFlashTime -= dt;
    if (mFlashTime > 0.0f)
        SetLayersGrey(128 + TruncToInt(127.0f * (mFlashTime / mFlashLength)));
    else
        SetLayersGrey(128);
}

void Fone::SetLayersGrey(int grey)
{
    for (size_t i = 0; i < mLayers.size(); ++i)
        if (MeshGrid* grid = mLayers[i]->GetGrid())
            grid->SetColour(Quoll::Color(grey, grey, grey, mLayerAlphas[i]));
}

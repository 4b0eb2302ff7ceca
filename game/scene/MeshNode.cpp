#include "game/scene/MeshNode.h"

MeshNode::~MeshNode()
{
    mMeshAffectors.clear();
    mNodeAffectors.clear();
    mGrid.reset();
}

void MeshNode::Update(float dt)
{
    if (!mGrid)
        return;
    for (const auto& affector : mMeshAffectors)
    {
        affector->Update(dt);
        affector->Apply(mGrid.get());
    }
    for (const auto& affector : mNodeAffectors)
        affector->Apply(dt, this);
    mGrid->mRotation = mRotation;
}

void MeshNode::Draw(Quoll::Graphics* g)
{
    if (!mGrid)
        return;
    const FloatPoint at = GetWorldPosition();
    mGrid->Draw(g, at.x, at.y);
}

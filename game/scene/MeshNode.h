#pragma once
// MeshNode: the scene node of a mesh grid (background layers, logos, avatar bodies). Each update
// its mesh affectors bend the grid and its node affectors move and turn the node; it draws the
// grid at its world position. A mesh node's children are neither updated nor drawn.
#include "game/scene/MeshAffector.h"
#include "game/scene/MeshGrid.h"
#include "game/scene/NodeAffector.h"
#include "game/scene/RotatableNode.h"
#include "game/scene/VisualNode.h"

#include <memory>
#include <vector>

class MeshNode : public VisualNode, public RotatableNode
{
public:
    MeshNode() = default;
    // Frees the mesh affectors, then the node affectors, then the grid.
    ~MeshNode() override;

    // Without a grid nothing happens. Otherwise the mesh affectors update and apply in list order,
    // then the node affectors apply, then the grid takes the node's rotation.
    void Update(float dt) override;
    // The grid at the world position.
    void Draw(Quoll::Graphics* g) override;
    void SetRotation(float radians) override { mRotation = radians; }
    [[nodiscard]] float GetRotation() const { return mRotation; }

    void SetGrid(std::unique_ptr<MeshGrid> grid) { mGrid = std::move(grid); }
    [[nodiscard]] MeshGrid* GetGrid() const { return mGrid.get(); }
    void AddMeshAffector(std::unique_ptr<MeshAffector> affector) { mMeshAffectors.push_back(std::move(affector)); }
    // Takes an affector that the caller has already started.
    void AddNodeAffector(std::unique_ptr<NodeAffector> affector) { mNodeAffectors.push_back(std::move(affector)); }
    [[nodiscard]] const std::vector<std::unique_ptr<MeshAffector>>& GetMeshAffectors() const { return mMeshAffectors; }
    [[nodiscard]] const std::vector<std::unique_ptr<NodeAffector>>& GetNodeAffectors() const { return mNodeAffectors; }

private:
    std::unique_ptr<MeshGrid> mGrid;
    std::vector<std::unique_ptr<MeshAffector>> mMeshAffectors;
    std::vector<std::unique_ptr<NodeAffector>> mNodeAffectors;
    float mRotation = 0.0f;
};

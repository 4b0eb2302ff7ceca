#pragma once
// MeshAffector: bends the vertices of a mesh grid every logic step, over an inclusive range of
// columns and rows. A range left unset (first column -1) becomes the whole grid at the first
// apply and stays so.
class MeshGrid;

class MeshAffector
{
public:
    MeshAffector() = default;
    MeshAffector(const MeshAffector&) = delete;
    MeshAffector& operator=(const MeshAffector&) = delete;
    virtual ~MeshAffector() = default;

    virtual void Update(float dt) = 0;
    virtual void Apply(MeshGrid* grid) = 0;

    void SetRange(int firstColumn, int lastColumn, int firstRow, int lastRow);

    int mFirstColumn = -1;
    int mFirstRow = -1;
    int mLastColumn = -1;
    int mLastRow = -1;

protected:
    // Fills an unset range with the grid's extent.
    void ResolveRange(const MeshGrid& grid);
};

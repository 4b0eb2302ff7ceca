#include "game/scene/MeshAffector.h"

#include "game/scene/MeshGrid.h"

void MeshAffector::SetRange(int firstColumn, int lastColumn, int firstRow, int lastRow)
{
    mFirstColumn = firstColumn;
    mLastColumn = lastColumn;
    mFirstRow = firstRow;
    mLastRow = lastRow;
}

void MeshAffector::ResolveRange(const MeshGrid& grid)
{
    if (mFirstColumn != -1)
        return;
    SetRange(0, grid.GetColumns() - 1, 0, grid.GetRows() - 1);
}

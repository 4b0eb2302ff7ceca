#include "game/play/CellPicker.h"

#include "game/play/BoardView.h"

void CellPicker::Begin(BoardView& view, int hoverState, int pickCount, int radius, CellSet selectable)
{
    view.SaveCellStates();
    mHoverState = hoverState;
    mPickCount = pickCount;
    mRadius = radius;
    mHovered = CellSet();
    mSelectable = selectable;
}

void CellPicker::End(BoardView& view)
{
    mPickCount = 0;
    view.RestoreCellStates();
    mTargets = CellSet();
}

void CellPicker::Hover(BoardView& view, float x, float y)
{
    view.RestoreCellStatesOf(mHovered);
    mHovered = view.FindCellsNearPoint(x, y, mRadius, mSelectable, mPickCount);
    view.SaveCellStatesOf(mHovered);
    view.SetCellsState(mHovered, mHoverState);
    view.SetCellsState(mHovered & mTargets, kHoveredTargetState);
}

void CellPicker::GetHoveredIds(std::vector<int>& ids) const
{
    ids.clear();
    mHovered.GetIndices(ids);
}

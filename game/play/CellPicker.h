#pragma once
// CellPicker: the play screen's choice of cells by hovering. While a choice runs, every pointer
// move picks the selectable cells nearest the pointer within a radius (at most the pick count)
// and shows them in the hover state, or as hovered targets when they are among the target cells;
// the cells it leaves get their saved states back. Ending the choice restores every cell view's
// state and forgets the targets; the last hovered cells stay readable.
#include "game/board/CellSet.h"

#include <vector>

class BoardView;

class CellPicker
{
public:
    // The cell-view state of a hovered target cell.
    static constexpr int kHoveredTargetState = 4;

    // Saves every cell view's state; nothing is hovered yet.
    void Begin(BoardView& view, int hoverState, int pickCount, int radius, CellSet selectable);
    void End(BoardView& view);
    void SetTargets(CellSet cells) { mTargets = cells; }
    // The pointer is at the screen point.
    void Hover(BoardView& view, float x, float y);

    [[nodiscard]] bool IsRunning() const { return mPickCount > 0; }
    [[nodiscard]] CellSet GetHovered() const { return mHovered; }
    [[nodiscard]] CellSet GetTargets() const { return mTargets; }
    // Empties the vector, then appends the hovered cells' ids in ascending order.
    void GetHoveredIds(std::vector<int>& ids) const;

private:
    CellSet mHovered;
    CellSet mSelectable;
    CellSet mTargets;
    int mPickCount = 0;
    int mRadius = 1;
    int mHoverState = 0;
};

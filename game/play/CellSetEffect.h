#pragma once
// CellSetEffect: a flash of a set of cells: after a delay the level rises to its peak at the
// rise rate, then falls back to 0 at the fall rate. The board view draws the cells' sprites once
// more, additively, at that level.
#include "game/board/CellSet.h"

struct CellSetEffect
{
    // The colour the flashed cells are drawn in (0x00RRGGBB).
    static constexpr int kColour = 0xFFFFFF;

    // Times in seconds; an infinite time gives a rate of 0, a time of 0 or less an instant step.
    static CellSetEffect Make(CellSet cells, float peak, float riseTime, float fallTime, float delay);
    // Returns whether the effect is still alive.
    bool Update(float dt);

    CellSet cells;
    float level = 0;
    float peak = 0;
    float riseRate = 0;
    float fallRate = 0;
    float delay = 0;
    int colour = kColour;
};

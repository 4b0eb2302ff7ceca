#pragma once
// The play screen's program-wide values, kept in one place: the board view on screen, the
// selected bacterium, the gather point of the board's transitions, the cell views' shared wobble
// phases and overlay pulse, the play screen's last mouse position and the nearby-cells search's
// scratch list. One board view exists while a level is on screen; units reach it through here.
#include "game/scene/FloatPoint.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

class BoardView;
class Bacteria;

struct PlayGlobals
{
    // Set by BoardView::InitLayers, cleared when that board view goes.
    BoardView* boardView = nullptr;
    // The bacterium of the highlighted cell view; cleared when it is deleted or moves.
    Bacteria* selectedBacterium = nullptr;
    // Board coordinates the transition paths fly around.
    FloatPoint gatherPoint;
    // Wobble phases of the cell views (radians), advanced by every cell view's update.
    float phaseA = 0;
    float phaseB = 0;
    // The overlay pulse clock (0..1) and the overlay alpha of each display state.
    float pulseClock = 0;
    std::array<int, 8> overlayAlpha{255, 255, 120, 120, 120, 120, 120, 0};
    // The play screen's last mouse position; (0, 0) while the pointer has not moved.
    FloatPoint lastMousePos;
    // (cell id, squared distance) pairs of FindCellsNearPoint, reused between calls.
    std::vector<std::pair<int, int64_t>> nearbyScratch;
};

// The one instance.
[[nodiscard]] PlayGlobals& Play();
// Back to the initial values. Tests only: the game never resets them while it runs.
void ResetPlayGlobalsForTests();

#pragma once
// ScoreRules: the points of a level and the medal grade of a finished one, as pure functions of
// the numbers they depend on. Level books them into its parameters.
#include "game/board/LevelParams.h"

enum class ScoreKind : int
{
    Captures = 0,     // count = cells captured by one move
    FewRounds = 1,    // end of a won level: rounds played
    CellsHeld = 2,    // end of a won level: cells held
    HiddenObject = 3, // count = objects found
};

// Points per captured cell for n cells captured by one move: 10 n, at most 60.
[[nodiscard]] int CapturePointsPerCell(int capturedCount);
// The bonus for finishing in few rounds on a board of boardCells existing cells.
[[nodiscard]] int RoundBonusPoints(int boardCells, int round);
// The bonus for the human's cells held at the end.
[[nodiscard]] int CellBonusPoints(int boardCells, int humanCells);
// The bonus for the level number (negative for random levels), a multiple of 20.
[[nodiscard]] int LevelBonusPoints(int levelNumber);

// 2 best, 0 worst; by the human's cells (mode 0) or the rounds played (mode 1); 0 for other modes.
[[nodiscard]] int MedalGrade(const MedalRule& rule, int humanCells, int round);
// The grade the quick menu shows: raised by one below 2 in mode 0, lowered by one above 0 in mode 1.
[[nodiscard]] int ShownMedalGrade(const MedalRule& rule, int grade);

#include "game/level/ScoreRules.h"

#include "game/board/HexGeometry.h"

#include <algorithm>
#include <cstdint>

namespace
{
// Smaller boards give larger factors: 61 cells -> 0.967, 40 cells -> 1.311. Single precision,
// as the stored scores were computed.
float BoardFactor(int boardCells)
{
    return static_cast<float>(120 - boardCells) / static_cast<float>(kCellCount);
}

// Whole tens, toward zero.
int Tens(int value) { return value / 10 * 10; }

// Board sizes and cell counts outside a board's 0..61 cells are held to it, so that every
// product below stays small.
int CellsOnBoard(int cells) { return std::clamp(cells, 0, kCellCount); }
} // namespace

int CapturePointsPerCell(int capturedCount)
{
    return 10 * std::clamp(capturedCount, 0, 6);
}

int RoundBonusPoints(int boardCells, int round)
{
    boardCells = CellsOnBoard(boardCells);
    // In 64 bits: a round below zero must not wrap the difference.
    const int spare = static_cast<int>(std::clamp<int64_t>(int64_t{boardCells} - round, 0, boardCells));
    const float points = static_cast<float>(spare) * BoardFactor(boardCells) * 50.0f;
    return Tens(static_cast<int>(points));
}

int CellBonusPoints(int boardCells, int humanCells)
{
    boardCells = CellsOnBoard(boardCells);
    humanCells = CellsOnBoard(humanCells);
    const float held = static_cast<float>((100 - boardCells) * humanCells);
    const float points = held * BoardFactor(boardCells) / static_cast<float>(kCellCount) * 70.0f;
    return Tens(static_cast<int>(points));
}

int LevelBonusPoints(int levelNumber)
{
    // The single-precision 0.9 (0.89999998) evaluated in double precision: level 10 gives 720
    // and level 70 gives 5940, the values the level table was balanced with.
    const double level = static_cast<float>(levelNumber);
    const double value = static_cast<double>(0.9f) * level * level + 15.0 * level + 500.0;
    // Level numbers far outside the campaign are held to the score's ceiling.
    return static_cast<int>(std::clamp(value, 0.0, static_cast<double>(kMaxScore))) / 20 * 20;
}

int MedalGrade(const MedalRule& rule, int humanCells, int round)
{
    switch (static_cast<MedalMode>(rule.mode))
    {
    case MedalMode::Cells:
        if (humanCells < rule.secondThreshold)
            return 0;
        return humanCells >= rule.firstThreshold ? 2 : 1;
    case MedalMode::Rounds:
        if (round < rule.firstThreshold)
            return 2;
        return round < rule.secondThreshold ? 1 : 0;
    }
    return 0;
}

int ShownMedalGrade(const MedalRule& rule, int grade)
{
    if (rule.mode == static_cast<int32_t>(MedalMode::Cells) && grade < 2)
        return grade + 1;
    if (rule.mode == static_cast<int32_t>(MedalMode::Rounds) && grade > 0)
        return grade - 1;
    return grade;
}

#pragma once
// DriverPolicy: plays the human's side of a driven game as a computer player with a generator
// of its own (never the level's, whose draws belong to the computer players): the search's move
// at the depth of its AI level, random cells for an armed mine or teleport, up to three enemy
// cells for a bomb, and now and then a step-back when one is left.
#include "tools/leveldriver/DriverInput.h"

#include "framework/core/MersenneTwister.h"

class DriverPolicy : public InputSource
{
public:
    // stepBackPercent: the chance, at each of the human's turns, of stepping back first.
    DriverPolicy(uint32_t seed, int aiLevel, int stepBackPercent);

    std::optional<DriverInput> Next(const LevelSession& session) override;

private:
    std::optional<DriverInput> ChooseMove(const Level& level);
    DriverInput ChooseBonusCells(const Level& level);
    int PickCell(CellSet cells);
    bool ShouldStepBack(const LevelSession& session);

    Quoll::MersenneTwister mRandom;
    int mAiLevel;
    int mStepBackPercent;
    // The human's turn that last decided on a step-back: one decision a turn.
    int mLastDecisionRound = -1;
    int mLastDecisionCells = -1;
};

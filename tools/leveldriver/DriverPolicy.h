#pragma once
// DriverPolicy: plays the human's side of a driven game with a generator of its own (never the
// level's, whose draws belong to the computer players). As a computer player of a chosen AI
// level it ranks every move as that level's search does, orders moves of equal rank by its own
// draws, and picks from the ranking as that level would, drawing from its own generator; the
// random policy plays any legal move. Both use random cells for an armed mine or teleport, up
// to three enemy cells for a bomb (dropped on the portrait instead while a boss lives), and now
// and then a step-back when one is left.
#include "tools/leveldriver/DriverInput.h"

#include "game/board/MoveList.h"

#include "framework/core/MersenneTwister.h"

#include <optional>
#include <string>

struct PolicyKind
{
    // The AI level 0..3 played, or none for the random policy.
    std::optional<int> aiLevel = 1;

    // "0".."3" or "random"; nothing for anything else.
    [[nodiscard]] static std::optional<PolicyKind> Parse(const std::string& text);
    [[nodiscard]] std::string ToString() const;
};

class DriverPolicy : public InputSource
{
public:
    // stepBackPercent: the chance, at each of the human's turns, of stepping back first.
    DriverPolicy(uint32_t seed, PolicyKind kind, int stepBackPercent);

    std::optional<DriverInput> Next(const LevelSession& session) override;

private:
    std::optional<DriverInput> ChooseMove(const Level& level);
    int ChooseRankedIndex(const GameLogic& logic, MoveList& list, int aiLevel);
    DriverInput ChooseBonusCells(const Level& level);
    int PickCell(CellSet cells);
    bool ShouldStepBack(const LevelSession& session);

    Quoll::MersenneTwister mRandom;
    PolicyKind mKind;
    int mStepBackPercent;
    // The human's turn that last decided on a step-back: one decision a turn.
    int mLastDecisionRound = -1;
    int mLastDecisionCells = -1;
};

#pragma once
// DriverInput: one act of the human side in a driven game, and its line in a replay:
//   human <from> <to>            a move: the bacterium on from is selected, then to is clicked
//   bonus <cell> [<picked>...]   a click while a bonus is armed (a bomb's picked cells follow)
//   stepback                     a step-back
//   portrait                     the armed bomb dropped on the boss's portrait
//   click <cell>                 one click on a cell (a tutorial step's target)
// InputSource hands the driver the next act whenever the human has to act.
#include "game/level/LevelSession.h"

#include <optional>
#include <string>
#include <vector>

struct DriverInput
{
    enum class Kind
    {
        Move,
        Bonus,
        StepBack,
        Portrait,
        Click,
    };

    Kind kind = Kind::Move;
    int from = -1;
    int to = -1;
    int cell = -1;
    std::vector<int> picked;

    static DriverInput Move(int from, int to)
    {
        DriverInput input;
        input.from = from;
        input.to = to;
        return input;
    }
    static DriverInput Bonus(int cell, std::vector<int> picked)
    {
        DriverInput input;
        input.kind = Kind::Bonus;
        input.cell = cell;
        input.picked = std::move(picked);
        return input;
    }
    static DriverInput StepBack()
    {
        DriverInput input;
        input.kind = Kind::StepBack;
        return input;
    }

    static DriverInput Portrait()
    {
        DriverInput input;
        input.kind = Kind::Portrait;
        return input;
    }

    static DriverInput Click(int cell)
    {
        DriverInput input;
        input.kind = Kind::Click;
        input.cell = cell;
        return input;
    }

    [[nodiscard]] std::string ToLine() const;
    // The act of a replay line, or nothing when the line is no act. error is set when the line
    // starts like an act but does not read as one.
    [[nodiscard]] static std::optional<DriverInput> FromLine(const std::string& line, std::string& error);

    bool operator==(const DriverInput&) const = default;
};

class InputSource
{
public:
    virtual ~InputSource() = default;
    // The human's next act in the session's level; nothing when there is none (the game stops).
    virtual std::optional<DriverInput> Next(const LevelSession& session) = 0;
};

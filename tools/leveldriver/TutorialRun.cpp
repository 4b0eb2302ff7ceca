#include "tools/leveldriver/TutorialRun.h"

#include <algorithm>
#include <sstream>

namespace
{
// The human's cells on the board of a record's turn line; -1 for another line.
int HumanCells(const std::string& line)
{
    std::istringstream words(line);
    std::string turn, player, round, board;
    if (!(words >> turn >> player >> round >> board) || turn != "turn")
        return -1;
    return static_cast<int>(std::count(board.begin(), board.end(), '1'));
}

bool StartsWith(const std::string& line, const std::string& prefix) { return line.rfind(prefix, 0) == 0; }
} // namespace

TutorialInput::TutorialInput(std::vector<TutorialStep> steps, InputSource& fallback)
    : mSteps(std::move(steps)), mFallback(fallback)
{
    // The tutorial looks steps up by round; within a round they follow in file order.
    std::stable_sort(mSteps.begin(), mSteps.end(),
                     [](const TutorialStep& a, const TutorialStep& b) { return a.round < b.round; });
}

std::string TutorialInput::Name(size_t index) const
{
    const TutorialStep& step = mSteps[index];
    return "step " + std::to_string(index + 1) + " (round " + std::to_string(step.round) + ", " +
           (step.textKey.empty() ? std::string("no text") : step.textKey) + ")";
}

std::optional<DriverInput> TutorialInput::Next(const LevelSession& session)
{
    const Level& level = session.GetLevel();
    const int round = level.GetParams().round;
    for (; mNext < mSteps.size() && mSteps[mNext].round <= round; ++mNext)
    {
        const TutorialStep& step = mSteps[mNext];
        if (step.round < round)
        {
            mFaults.push_back(Name(mNext) + ": round " + std::to_string(round) + " came before its click");
            continue;
        }
        if (step.IsCellStep())
        {
            std::optional<DriverInput> click = ClickFor(step, level);
            if (!click)
                continue;
            mLog.push_back(Name(mNext) + ": " + click->ToLine());
            mActs.emplace_back(click->ToLine(), mNext);
            ++mNext;
            return click;
        }
        const bool bombArmed = level.GetState() == LevelState::BonusArmed && level.GetParams().armedSlot >= 0 &&
                               level.GetParams().inventory[level.GetParams().armedSlot] == BONUS_BOMB;
        if (step.IsPortraitStep() && bombArmed && level.HasBoss())
        {
            mLog.push_back(Name(mNext) + ": portrait");
            ++mNext;
            return DriverInput::Portrait();
        }
        mLog.push_back(Name(mNext) + (step.IsPortraitStep() ? ": the portrait shown" : ": a screen point shown"));
    }
    return mFallback.Next(session);
}

std::optional<DriverInput> TutorialInput::ClickFor(const TutorialStep& step, const Level& level)
{
    const int cell = step.GetTargetCell();
    const GameLogic& logic = level.GetLogic();
    const Board& board = logic.GetBoard();
    const bool exists = Level::IsCell(cell) && board.Exists(cell);
    auto refuse = [&](const std::string& why) -> std::optional<DriverInput> {
        mFaults.push_back(Name(mNext) + ": cell " + std::to_string(cell) + " " + why);
        return std::nullopt;
    };
    if (!exists)
        return refuse("is no cell of the board");
    if (level.GetState() == LevelState::BonusArmed)
    {
        // A bomb takes any cell; a mine or teleport a free one.
        const LevelParams& params = level.GetParams();
        const int code = params.armedSlot >= 0 && params.armedSlot < 3 ? params.inventory[params.armedSlot] : 0;
        if (code == BONUS_BOMB)
            return DriverInput::Bonus(cell, {cell});
        if (board.GetOwner(cell) != 0)
            return refuse("is not free for the armed bonus");
        return DriverInput::Bonus(cell, {});
    }
    if (board.GetOwner(cell) == 1)
        return DriverInput::Click(cell);
    const int selected = level.GetSelectedCell();
    if (selected == -1)
        return refuse("is no bacterium of the human and nothing is selected");
    if (board.GetOwner(cell) != 0 || !logic.GetNeighbourTables().Reach(selected).Contains(cell))
        return refuse("cannot be reached from the selected cell " + std::to_string(selected));
    return DriverInput::Click(cell);
}

std::vector<std::string> TutorialInput::FindPunishedMoves(const std::vector<std::string>& record) const
{
    std::vector<std::string> faults;
    size_t act = 0;
    for (size_t i = 0; i < record.size() && act < mActs.size(); ++i)
    {
        if (record[i] != mActs[act].first)
            continue;
        const size_t step = mActs[act++].second;
        // A step's act that made the human's move: the board after it is the next turn's, the
        // board after the computers' replies the human's next turn's.
        if (i + 1 >= record.size() || !StartsWith(record[i + 1], "move 1 "))
            continue;
        int afterMove = -1;
        for (size_t j = i + 2; j < record.size() && !StartsWith(record[j], "result"); ++j)
        {
            if (afterMove < 0)
                afterMove = HumanCells(record[j]);
            else if (StartsWith(record[j], "turn 1 "))
            {
                const int afterReply = HumanCells(record[j]);
                if (afterReply < afterMove)
                    faults.push_back(Name(step) + ": the computer's reply takes " + std::to_string(afterMove - afterReply) +
                                     " of the human's " + std::to_string(afterMove) + " cells");
                break;
            }
        }
    }
    return faults;
}

void TutorialInput::Finish(int lastRound)
{
    for (; mNext < mSteps.size(); ++mNext)
        mFaults.push_back(Name(mNext) + ": the game ended in round " + std::to_string(lastRound) + " before the step");
}

TutorialCheck RunTutorial(const GameSetup& setup, const TutorialSteps& script, InputSource& fallback)
{
    std::vector<TutorialStep> steps;
    for (const TutorialStep& step : script.GetSteps())
        if (step.level == setup.levelNumber)
            steps.push_back(step);
    TutorialCheck check;
    check.steps = static_cast<int>(steps.size());
    TutorialInput input(std::move(steps), fallback);
    check.record = HeadlessGame(setup).Play(input);
    input.Finish(check.record.rounds);
    check.log = input.GetLog();
    check.faults = input.GetFaults();
    for (std::string& fault : input.FindPunishedMoves(check.record.lines))
        check.faults.push_back(std::move(fault));
    if (!check.record.stopReason.empty() && !check.record.Finished())
        check.faults.push_back("the game stopped: " + check.record.stopReason);
    return check;
}

#include "tools/leveldriver/DriverPolicy.h"

#include "game/board/AiSearch.h"

#include <algorithm>

DriverPolicy::DriverPolicy(uint32_t seed, int aiLevel, int stepBackPercent)
    : mAiLevel(aiLevel), mStepBackPercent(stepBackPercent)
{
    mRandom.Seed(seed);
}

std::optional<DriverInput> DriverPolicy::Next(const LevelSession& session)
{
    const Level& level = session.GetLevel();
    if (level.GetState() == LevelState::BonusArmed)
        return ChooseBonusCells(level);
    if (ShouldStepBack(session))
        return DriverInput::StepBack();
    return ChooseMove(level);
}

bool DriverPolicy::ShouldStepBack(const LevelSession& session)
{
    // The decision is drawn once per turn of the human, so that a refusal is not redrawn, and
    // after a step-back the restored turn decides afresh (its round or cells differ, or the draw
    // falls the other way next time the same position comes).
    const Level& level = session.GetLevel();
    const int round = level.GetParams().round;
    const int cells = level.GetLogic().GetCellCount(1);
    if (mStepBackPercent <= 0 || (round == mLastDecisionRound && cells == mLastDecisionCells))
        return false;
    mLastDecisionRound = round;
    mLastDecisionCells = cells;
    const bool wanted = static_cast<int>(mRandom.Next(100)) < mStepBackPercent;
    return wanted && session.HasSnapshot() && level.GetParams().stepBacksLeft > 0;
}

std::optional<DriverInput> DriverPolicy::ChooseMove(const Level& level)
{
    AiSearch search(level.GetLogic());
    const AiMove move = search.Search(SearchDepthForLevel(mAiLevel), mRandom);
    if (move.from == move.to)
        return std::nullopt;
    return DriverInput::Move(move.from, move.to);
}

DriverInput DriverPolicy::ChooseBonusCells(const Level& level)
{
    const Board& board = level.GetLogic().GetBoard();
    const LevelParams& params = level.GetParams();
    const int code = params.armedSlot >= 0 && params.armedSlot < 3 ? params.inventory[params.armedSlot] : 0;
    if (code != BONUS_BOMB)
        return DriverInput::Bonus(PickCell(board.GetFreeCells()), {});
    // The bomb: up to three enemy cells, or any cells when no enemy is left.
    CellSet candidates = board.GetOwnedCells(2) | board.GetOwnedCells(3);
    if (candidates.IsEmpty())
        candidates = board.GetExistingCells();
    std::vector<int> picked;
    while (picked.size() < 3 && candidates.Any())
    {
        const int cell = PickCell(candidates);
        picked.push_back(cell);
        candidates.Remove(cell);
    }
    const int clicked = picked.empty() ? 0 : picked.front();
    return DriverInput::Bonus(clicked, std::move(picked));
}

int DriverPolicy::PickCell(CellSet cells)
{
    std::vector<int> list;
    cells.GetIndices(list);
    if (list.empty())
        return 0;
    return list[mRandom.Next(static_cast<uint32_t>(list.size()))];
}

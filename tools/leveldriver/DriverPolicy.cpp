#include "tools/leveldriver/DriverPolicy.h"

#include "game/board/AiSearch.h"
#include "game/board/MoveChoice.h"
#include "game/board/MoveGenerator.h"

#include <algorithm>

std::optional<PolicyKind> PolicyKind::Parse(const std::string& text)
{
    if (text == "random")
        return PolicyKind{std::nullopt};
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '3')
        return PolicyKind{text[0] - '0'};
    return std::nullopt;
}

std::string PolicyKind::ToString() const { return aiLevel ? std::to_string(*aiLevel) : "random"; }

DriverPolicy::DriverPolicy(uint32_t seed, PolicyKind kind, int stepBackPercent)
    : mKind(kind), mStepBackPercent(stepBackPercent)
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
    const GameLogic& logic = level.GetLogic();
    const int player = logic.GetCurrentPlayer();
    MoveList list;
    GenerateMoves(logic.GetBoard(), logic.GetNeighbourTables(), player, list);
    if (list.IsEmpty())
        return std::nullopt;
    const int index = mKind.aiLevel ? ChooseRankedIndex(logic, list, *mKind.aiLevel)
                                    : static_cast<int>(mRandom.Next(static_cast<uint32_t>(list.Size())));
    return DriverInput::Move(list[index].from, list[index].to);
}

int DriverPolicy::ChooseRankedIndex(const GameLogic& logic, MoveList& list, int aiLevel)
{
    // 1. The ranking of the level's search: every move scored at its depth, best first. Moves
    //    of equal score and kind are shuffled first, so that their order is the policy's draw.
    AiSearch search(logic);
    for (AiMove& move : list)
        move.score = static_cast<uint8_t>(search.EvaluateMove(move, SearchDepthForLevel(aiLevel)));
    for (int i = list.Size() - 1; i > 0; --i)
        std::swap(list[i], list[static_cast<int>(mRandom.Next(static_cast<uint32_t>(i + 1)))]);
    SortMoves(list);
    // 2. The level's pick from the ranking, with the policy's draws.
    auto draw = [this](int bound) { return bound > 0 ? mRandom.Next(static_cast<uint32_t>(bound)) : 0u; };
    const int cells = logic.GetCellCount(logic.GetCurrentPlayer());
    int index = 0;
    if (aiLevel == 0)
        index = ChooseMoveLevel0(list, cells, draw);
    else if (aiLevel == 1)
        index = ChooseMoveLevel1(list, cells, draw);
    return std::min(index, list.Size() - 1);
}

DriverInput DriverPolicy::ChooseBonusCells(const Level& level)
{
    const Board& board = level.GetLogic().GetBoard();
    const LevelParams& params = level.GetParams();
    const int code = params.armedSlot >= 0 && params.armedSlot < 3 ? params.inventory[params.armedSlot] : 0;
    // Only bombs on its portrait hurt a living boss.
    if (code == BONUS_BOMB && level.HasBoss() && params.bossHitPoints > 0)
        return DriverInput::Portrait();
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

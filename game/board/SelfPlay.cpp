#include "game/board/SelfPlay.h"

#include "game/board/AiSearch.h"

#include <vector>

TurnResult PlayComputerTurn(GameLogic& logic, SearchStats* stats)
{
    const int player = logic.GetCurrentPlayer();
    if (player < 1 || player > logic.GetPlayerCount())
        return TurnResult::NoMove;
    const int depth = SearchDepthForLevel(logic.GetPlayerAiLevel(player));
    const AiMove move = AiSearch(logic, stats).Search(depth, logic.GetRandom());
    if (move.from == move.to)
        return TurnResult::NoMove;
    logic.MakeMove(move.from, move.to, logic.IsClone(player, move.jump != 0));
    std::vector<int> bossCells;
    logic.CaptureAt(move.to, nullptr, bossCells);
    if (logic.GetWinner() != 0)
        return TurnResult::RoundOver;
    if (!logic.NextPlayer())
    {
        logic.AssignCells(logic.GetBoard().GetFreeCells(), player, true);
        return TurnResult::RoundOver;
    }
    return TurnResult::Played;
}

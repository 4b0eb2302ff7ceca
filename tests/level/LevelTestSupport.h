#pragma once
// Helpers of the level tests: a level built from a board picture (see BoardText.h) inside a
// LevelSession with a recording view and recording services, clicks on cells, running updates
// until the human is to move, and a seeded human policy that plays any legal move (and answers
// armed bonuses) so that whole games can be replayed.
#include "BoardTestSupport.h"

#include "game/level/LevelSession.h"
#include "game/level/RecordingLevelServices.h"
#include "game/level/RecordingLevelView.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace LevelTest
{
// 61 cells, all free ('.') but the listed ones (BoardText symbols).
inline std::string Picture(std::initializer_list<std::pair<int, char>> cells, char fill = '.')
{
    std::string text(kCellCount, fill);
    for (const auto& [cell, symbol] : cells)
        text[static_cast<size_t>(cell)] = symbol;
    return text;
}

// The level-logic section of a pictured board: a level body without parameters.
inline Quoll::Buffer LogicBody(const std::string& picture, const std::vector<int>& aiLevels, int currentPlayer,
                               uint32_t seed = 1)
{
    const GameLogic logic = BoardTest::MakeLogic(picture, aiLevels, currentPlayer, seed);
    Quoll::Buffer body;
    logic.Write(body);
    return body;
}

// The same with bonus codes put on cells after the picture (owned cells included).
inline Quoll::Buffer LogicBodyWithBonuses(const std::string& picture, const std::vector<int>& aiLevels,
                                          int currentPlayer, std::initializer_list<std::pair<int, int>> bonuses)
{
    GameLogic logic = BoardTest::MakeLogic(picture, aiLevels, currentPlayer);
    for (const auto& [cell, code] : bonuses)
        logic.GetBoard().SetBonus(cell, code);
    logic.Recount();
    Quoll::Buffer body;
    logic.Write(body);
    return body;
}

// Holes on every cell within reach of cell but opening: a bacterium there has at most one move.
inline std::string WalledIn(std::string picture, int cell, int opening = -1)
{
    for (int place : kFullHexagonTables.Reach(cell))
        if (place != opening)
            picture[static_cast<size_t>(place)] = '#';
    return picture;
}

// A picture of holes and the given cells.
inline std::string HolesAnd(std::initializer_list<std::pair<int, char>> cells) { return Picture(cells, '#'); }

struct LevelFixture
{
    RecordingLevelView view;
    RecordingLevelServices services;
    LevelSession session{view, services};

    LevelFixture() { view.SetLinkListener(&session); }

    Level& level() { return session.GetLevel(); }

    // Loads and starts a body; the records start empty.
    void StartBody(Quoll::Buffer body)
    {
        body.SeekReadStart();
        ASSERT_TRUE(session.Load(body));
        ASSERT_TRUE(session.Start(true));
        view.ClearRecords();
        services.ClearRecords();
    }
    void StartPicture(const std::string& picture, const std::vector<int>& aiLevels, int currentPlayer = 1,
                      uint32_t seed = 1)
    {
        StartBody(LogicBody(picture, aiLevels, currentPlayer, seed));
    }

    void Click(int cell) { level().OnMouseDown(RecordingLevelView::PointOf(cell)); }
    // A human move: select, then click the target.
    void HumanMove(int from, int to)
    {
        Click(from);
        Click(to);
    }
    // One logic update.
    void Step()
    {
        services.Tick();
        session.Update();
    }
    // The human is to move, or an armed bonus waits for its click.
    bool WaitsForHuman()
    {
        const LevelState state = level().GetState();
        const BonusImpl* bonus = level().GetPendingBonus();
        return state == LevelState::HumanToMove || (state == LevelState::BonusArmed && bonus && !bonus->IsReady());
    }
    // Updates until the human has to act or the game is over.
    void RunToHuman(int maxSteps = 1000)
    {
        for (int i = 0; i < maxSteps && !session.IsOver() && !WaitsForHuman(); ++i)
            Step();
    }
};

// Plays the human's side with its own generator: a random legal move, and a random free cell
// (or existing cell for the bomb) for an armed bonus.
class HumanPolicy
{
public:
    explicit HumanPolicy(uint32_t seed) : mRng(seed) {}

    void Play(LevelFixture& fixture)
    {
        Level& level = fixture.level();
        if (level.GetState() == LevelState::BonusArmed)
        {
            const int cell = PickCell(level.GetLogic().GetBoard().GetFreeCells());
            fixture.view.SetSelectedTargets({cell});
            fixture.Click(cell);
            return;
        }
        MoveList moves;
        level.GetLogic().GenerateMoves(1, moves);
        if (moves.IsEmpty())
            return;
        const AiMove move = moves[static_cast<int>(mRng() % static_cast<uint32_t>(moves.Size()))];
        fixture.HumanMove(move.from, move.to);
    }

private:
    int PickCell(CellSet cells)
    {
        std::vector<int> list;
        cells.GetIndices(list);
        return list.empty() ? -1 : list[mRng() % list.size()];
    }

    std::mt19937 mRng;
};
} // namespace LevelTest

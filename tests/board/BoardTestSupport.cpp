// Helpers of the board tests; see BoardTestSupport.h. Not a test file itself.
#include "BoardTestSupport.h"

#include "game/board/BoardText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace BoardTest
{
GameLogic MakeLogic(std::string_view picture, const std::vector<int>& aiLevels, int currentPlayer, uint32_t seed)
{
    GameLogic logic;
    logic.Init(seed);
    EXPECT_TRUE(ParseBoardText(picture, logic.GetBoard())) << "bad picture";
    logic.SetPlayerCount(static_cast<int>(aiLevels.size()));
    for (size_t i = 0; i < aiLevels.size(); ++i)
        logic.SetPlayerAiLevel(static_cast<int>(i) + 1, aiLevels[i]);
    logic.SetCurrentPlayer(currentPlayer);
    logic.Recount();
    return logic;
}

GameLogic RandomLogic(std::mt19937& rng, int holeShare, int freeShare)
{
    GameLogic logic;
    logic.Init(rng());
    const int players = 2 + static_cast<int>(rng() % 2);
    Board& board = logic.GetBoard();
    for (int cell = 0; cell < kCellCount; ++cell)
    {
        if (static_cast<int>(rng() % 100) < holeShare)
            continue;
        board.SetCellValue(cell, 1 + static_cast<int>(rng() % 3));
        if (static_cast<int>(rng() % 100) >= freeShare)
            board.SetOwner(cell, 1 + static_cast<int>(rng() % static_cast<uint32_t>(players)));
        else if (rng() % 8 == 0)
            board.SetBonus(cell, 4 * (1 + static_cast<int>(rng() % 4)));
    }
    logic.SetPlayerCount(players);
    logic.SetPlayerAiLevel(1, rng() % 4 == 0 ? 2 : -1);
    for (int player = 2; player <= players; ++player)
        logic.SetPlayerAiLevel(player, rng() % 6 == 0 ? 3 : static_cast<int>(rng() % 3));
    logic.Recount();
    std::vector<int> movers;
    for (int player = 1; player <= players; ++player)
        if (logic.CanMove(player))
            movers.push_back(player);
    logic.SetCurrentPlayer(movers.empty() ? 1 : movers[rng() % movers.size()]);
    return logic;
}

int HexDistance(int a, int b)
{
    const HexPlace pa = HexPlaceOf(a);
    const HexPlace pb = HexPlaceOf(b);
    const int dr = pb.row - pa.row;
    const int dc = pb.column - pa.column;
    return std::max({std::abs(dr), std::abs(dc), std::abs(dr - dc)});
}

// --- Naive rules ---

namespace
{
int Level(const NaivePosition& position, int player) { return position.aiLevels[static_cast<size_t>(player - 1)]; }

bool NaiveHostile(const NaivePosition& position, int a, int b)
{
    if (a == 0 || b == 0 || a == b)
        return false;
    if (Level(position, a) == 3 || Level(position, b) == 3)
        return a == 1 || b == 1;
    return true;
}

void NaivePlay(NaivePosition& position, const AiMove& move)
{
    Board& board = position.board;
    const int player = position.currentPlayer;
    const bool clone = move.jump == 0 && Level(position, player) != 3;
    board.SetOwner(move.to, player);
    if (!clone)
        board.SetOwner(move.from, 0);
    for (int cell = 0; cell < kCellCount; ++cell)
    {
        const int owner = board.GetOwner(cell);
        if (!board.Exists(cell) || HexDistance(cell, move.to) != 1 || !NaiveHostile(position, player, owner))
            continue;
        const bool convert = Level(position, player) != 3 && Level(position, owner) != 3;
        board.SetOwner(cell, convert ? player : 0);
    }
}

// The next player after the current one that has cells and a move, or 0.
int NaiveNextPlayer(const NaivePosition& position)
{
    const int count = static_cast<int>(position.aiLevels.size());
    int player = position.currentPlayer;
    for (int tried = 0; tried < count; ++tried)
    {
        player = player % count + 1;
        if (player != position.currentPlayer && !NaiveMoves(position, player).empty())
            return player;
    }
    return 0;
}
} // namespace

NaivePosition ToNaive(const GameLogic& logic)
{
    NaivePosition position;
    position.board = logic.GetBoard();
    for (int player = 1; player <= logic.GetPlayerCount(); ++player)
        position.aiLevels.push_back(logic.GetPlayerAiLevel(player));
    position.currentPlayer = logic.GetCurrentPlayer();
    return position;
}

std::vector<AiMove> NaiveMoves(const NaivePosition& position, int player)
{
    const Board& board = position.board;
    std::vector<AiMove> moves;
    for (int from = 0; from < kCellCount; ++from)
        for (int to = 0; to < kCellCount; ++to)
        {
            if (!board.Exists(from) || !board.Exists(to) || board.GetOwner(from) != player || board.GetCellFlags(to) & kOwnerMask)
                continue;
            const int distance = HexDistance(from, to);
            if (distance == 1 || distance == 2)
                moves.push_back({static_cast<uint8_t>(from), static_cast<uint8_t>(to), 0, static_cast<uint8_t>(distance == 2)});
        }
    return moves;
}

uint64_t NaivePerft(const NaivePosition& position, int depth)
{
    if (depth == 0)
        return 1;
    uint64_t total = 0;
    for (const AiMove& move : NaiveMoves(position, position.currentPlayer))
    {
        NaivePosition child = position;
        NaivePlay(child, move);
        const int next = NaiveNextPlayer(child);
        if (next == 0)
            total += depth == 1;
        else
        {
            child.currentPlayer = next;
            total += NaivePerft(child, depth - 1);
        }
    }
    return total;
}

uint64_t FastPerft(const GameLogic& logic, int depth)
{
    if (depth == 0)
        return 1;
    MoveList list;
    const int player = logic.GetCurrentPlayer();
    logic.GenerateMoves(player, list);
    uint64_t total = 0;
    std::vector<int> bossCells;
    for (const AiMove& move : list)
    {
        GameLogic child = logic;
        child.MakeMove(move.from, move.to, child.IsClone(player, move.jump != 0));
        child.CaptureAt(move.to, nullptr, bossCells);
        if (!child.NextPlayer())
            total += depth == 1;
        else
            total += FastPerft(child, depth - 1);
    }
    return total;
}

// --- Reference search ---

namespace
{
int ReferenceEvaluate(GameLogic& copy, const AiMove& move, int depth);

int ReferenceChoose(GameLogic& logic, int player, const MoveList& list)
{
    auto random = [&logic](int bound) { return static_cast<int>(logic.Random(bound)); };
    if (player == 1)
        return 0;
    int level = logic.GetPlayerAiLevel(player);
    if (level > 2 || level < 0)
        level = 2;
    const int count = logic.GetCellCount(player);
    const int length = list.Size();
    int k = length;
    for (int i = 0; i < length; ++i)
        if (list[i].score == count)
        {
            k = i;
            break;
        }
    int index = 0;
    if (level == 1 && length > 1)
    {
        if (random(100) >= 75)
            index = random(k + 1);
    }
    else if (level == 0 && length > 1)
    {
        const int gain = list[0].score - count;
        bool decided = gain >= 5;
        if (!decided && gain == 4)
            decided = random(100) < 50;
        if (!decided)
        {
            if (random(100) <= 5)
                index = random(k / 2);
            else if (random(100) <= 5)
                index = k + random(length - k);
            else
                index = k / 2 + random(k - k / 2);
        }
    }
    return std::min(index, length - 1);
}

int ReferenceEvaluate(GameLogic& copy, const AiMove& move, int depth)
{
    const int player = copy.GetCurrentPlayer();
    Board& board = copy.GetBoard();
    const int before = board.CountCells(kOwnerMask, player);
    int captured = 0;
    if (move.from != move.to)
    {
        GameLogic::ApplyMove(board, move.from, move.to, move.jump == 0 && copy.GetPlayerAiLevel(player) != 3);
        captured = copy.Capture(move.to, board, nullptr);
    }
    if (depth - 1 >= 0 && move.from != move.to)
    {
        if (copy.NextPlayer())
        {
            while (copy.GetCurrentPlayer() != player)
            {
                const AiMove reply = ReferenceSearch(copy, depth - 1);
                ReferenceEvaluate(copy, reply, depth - 1);
                copy.NextPlayer();
            }
        }
        else
            copy.AssignCells(copy.GetBoard().GetFreeCells(), player, true);
    }
    const int after = copy.GetBoard().CountCells(kOwnerMask, player);
    const int score = after >= before && copy.GetPlayerAiLevel(player) == 3 ? after + captured : after;
    return static_cast<uint8_t>(score);
}
} // namespace

void ReferenceSort(MoveList& list)
{
    std::stable_sort(list.begin(), list.end(), [](const AiMove& a, const AiMove& b) {
        return a.score != b.score ? a.score > b.score : a.jump < b.jump;
    });
}

void ReferenceScoreMoves(const GameLogic& logic, int player, MoveList& list)
{
    for (AiMove& move : list)
    {
        Board board = logic.GetBoard();
        GameLogic::ApplyMove(board, move.from, move.to, move.jump == 0 && logic.GetPlayerAiLevel(player) != 3);
        const int before = board.CountCells(kOwnerMask, player);
        const int captured = logic.Capture(move.to, board, nullptr);
        const int after = board.CountCells(kOwnerMask, player);
        const bool boss = logic.GetPlayerAiLevel(player) == 3;
        move.score = static_cast<uint8_t>(after >= before && boss ? after + captured : after);
    }
    ReferenceSort(list);
}

AiMove ReferenceSearch(GameLogic& logic, int depth)
{
    depth = std::min(depth, 1);
    const int player = logic.GetCurrentPlayer();
    MoveList list;
    for (const AiMove& move : NaiveMoves(ToNaive(logic), player))
        list.Add(move);
    if (list.IsEmpty())
        return {};
    if (depth == 1)
    {
        for (AiMove& move : list)
        {
            GameLogic copy = logic;
            move.score = static_cast<uint8_t>(ReferenceEvaluate(copy, move, 1));
        }
        ReferenceSort(list);
    }
    else
        ReferenceScoreMoves(logic, player, list);
    return list[ReferenceChoose(logic, player, list)];
}
} // namespace BoardTest

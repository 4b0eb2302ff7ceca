#include "game/board/AiSearch.h"

#include "game/board/MoveChoice.h"
#include "game/board/MoveGenerator.h"

#include <algorithm>
#include <cassert>

void AiSearch::ForkedWords::Restart()
{
    mCopy.reset();
    mCount = 0;
}

uint32_t AiSearch::ForkedWords::Word(int position)
{
    // A look-ahead answers at most one reply per opponent with at most four draws each.
    assert(position < kCapacity && "AiSearch: more look-ahead draws than the replies allow");
    if (!mCopy)
        mCopy.emplace(mOrigin);
    if (position >= kCapacity)
        return mCopy->NextWord();
    while (mCount <= position)
        mWords[static_cast<size_t>(mCount++)] = mCopy->NextWord();
    return mWords[static_cast<size_t>(position)];
}

AiSearch::AiSearch(const GameLogic& logic, SearchStats* stats)
    : mLogic(logic), mStats(stats), mForked(logic.GetRandom())
{
}

AiMove AiSearch::Search(int depth, Quoll::MersenneTwister& random)
{
    // 1. The current player's moves; none gives the all-zero move and draws nothing.
    mForked.Restart();
    const int player = mLogic.GetCurrentPlayer();
    if (player < 1 || player > mLogic.GetPlayerCount())
        return {};
    MoveList list;
    GenerateMoves(mLogic.GetBoard(), mLogic.GetNeighbourTables(), player, list);
    if (list.IsEmpty())
        return {};
    // 2. Score them: at depth 1 each on its own look-ahead, at depth 0 directly.
    if (std::min(depth, 1) >= 1)
    {
        for (AiMove& move : list)
            move.score = static_cast<uint8_t>(EvaluateMove(move, 1));
        SortMoves(list);
    }
    else
        Score(mLogic.GetBoard(), player, list);
    // 3. The player's level picks from the sorted list: the only draws from the round's generator.
    auto draw = [&random](int bound) { return bound > 0 ? random.Next(static_cast<uint32_t>(bound)) : 0u; };
    return list[ChooseMoveIndex(mLogic.GetPlayers(), player, list, mLogic.GetCellCount(player), draw)];
}

int AiSearch::EvaluateMove(const AiMove& move, int depth)
{
    LookAhead look{mLogic.GetBoard(), mLogic.GetCurrentPlayer(), 0};
    return Evaluate(look, move, std::min(depth, 1));
}

int AiSearch::Evaluate(LookAhead& look, const AiMove& move, int depth)
{
    if (mStats)
        ++mStats->scoredMoves;
    const PlayerTable& players = mLogic.GetPlayers();
    const int player = look.currentPlayer;
    const int before = look.board.CountCells(kOwnerMask, player);
    int captured = 0;
    const bool moved = move.from != move.to;
    // 1. The move and its captures (the boss never clones).
    if (moved)
    {
        GameLogic::ApplyMove(look.board, move.from, move.to, mLogic.IsClone(player, move.jump != 0));
        captured = mLogic.Capture(move.to, look.board, nullptr);
    }
    // 2. One answer from every other player, in turn order, until the mover is due again. The
    //    turn order comes from the counts of the position searched, as in the round itself
    //    until it recounts. When nobody else can move the mover takes every free cell.
    if (depth - 1 >= 0 && moved)
    {
        const int next = mLogic.FindNextPlayer(player);
        if (next != 0)
        {
            look.currentPlayer = next;
            for (int replies = 0; look.currentPlayer != player && replies < kMaxPlayers; ++replies)
            {
                const AiMove reply = ReplySearch(look);
                Evaluate(look, reply, depth - 1);
                const int after = mLogic.FindNextPlayer(look.currentPlayer);
                look.currentPlayer = after != 0 ? after : look.currentPlayer;
            }
        }
        else
        {
            for (int cell : look.board.GetFreeCells())
                look.board.SetOwner(cell, player);
        }
    }
    // 3. The mover's cells now.
    const int after = look.board.CountCells(kOwnerMask, player);
    return ScoreAfterMove(players.GetAiLevel(player), before, captured, after);
}

AiMove AiSearch::ReplySearch(LookAhead& look)
{
    // A depth-0 search on the look-ahead's board, choosing with the look-ahead's draws and the
    // counts of the position searched.
    const int player = look.currentPlayer;
    MoveList list;
    GenerateMoves(look.board, mLogic.GetNeighbourTables(), player, list);
    if (list.IsEmpty())
        return {};
    Score(look.board, player, list);
    auto draw = [this, &look](int bound) {
        return bound > 0 ? mForked.Word(look.drawn++) % static_cast<uint32_t>(bound) : 0u;
    };
    return list[ChooseMoveIndex(mLogic.GetPlayers(), player, list, mLogic.GetCellCount(player), draw)];
}

void AiSearch::Score(const Board& board, int player, MoveList& list)
{
    if (mStats)
        mStats->scoredMoves += static_cast<uint64_t>(list.Size());
    ScoreMovesUnsorted(board, mLogic.GetNeighbourTables(), mLogic.GetPlayers(), player, list);
    SortMoves(list);
}

// --- GameLogic's entry points into the search ---

bool GameLogic::FindBestMove(int& from, int& to)
{
    from = 0;
    to = 0;
    if (mCurrentPlayer < 1 || mCurrentPlayer > GetPlayerCount())
        return false;
    const AiMove move = Search(SearchDepthForLevel(GetPlayerAiLevel(mCurrentPlayer)));
    from = move.from;
    to = move.to;
    return from != to;
}

AiMove GameLogic::Search(int depth) { return AiSearch(*this).Search(depth, mRandom); }

void GameLogic::GenerateMoves(int player, MoveList& list) const { ::GenerateMoves(mBoard, *mTables, player, list); }

void GameLogic::ScoreMoves(int player, MoveList& list) const
{
    ScoreMovesUnsorted(mBoard, *mTables, mPlayers, player, list);
    SortMoves(list);
}

int GameLogic::EvaluateMove(const AiMove& move, int depth) const { return AiSearch(*this).EvaluateMove(move, depth); }

int GameLogic::ChooseMove(int player, const MoveList& list)
{
    if (list.IsEmpty() || player < 1 || player > GetPlayerCount())
        return 0;
    auto draw = [this](int bound) { return Random(bound); };
    return ChooseMoveIndex(mPlayers, player, list, GetCellCount(player), draw);
}

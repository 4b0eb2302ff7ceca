#pragma once
// How a computer player picks from its sorted move list: player 1 and levels 2 and 3 take the
// best move; levels 0 and 1 sometimes take a weaker one, drawing in a fixed order. draw(bound)
// returns a number below bound from the round's generator, or 0 without drawing when
// bound <= 0.
#include "game/board/MoveList.h"
#include "game/board/PlayerTable.h"

// The number of leading moves that score above cellCount: the index of the first move scoring
// exactly cellCount, or the list length when none does.
inline int CountGainingMoves(const MoveList& list, int cellCount)
{
    for (int i = 0; i < list.Size(); ++i)
        if (list[i].score == cellCount)
            return i;
    return list.Size();
}

// Level 1: the best move three times in four, else one of the gaining moves or the first
// move that gains nothing.
template <typename Draw>
int ChooseMoveLevel1(const MoveList& list, int cellCount, Draw& draw)
{
    if (list.Size() <= 1)
        return 0;
    if (draw(100) < 75)
        return 0;
    return static_cast<int>(draw(CountGainingMoves(list, cellCount) + 1));
}

// Level 0: takes a gain of five or more, a gain of four half of the time; otherwise mostly a
// move from the weaker half of the gaining moves, rarely the better half or a move gaining
// nothing.
template <typename Draw>
int ChooseMoveLevel0(const MoveList& list, int cellCount, Draw& draw)
{
    if (list.Size() <= 1)
        return 0;
    const int gain = list[0].score - cellCount;
    if (gain >= 5)
        return 0;
    if (gain == 4 && draw(100) < 50)
        return 0;
    const int gaining = CountGainingMoves(list, cellCount);
    if (draw(100) <= 5)
        return static_cast<int>(draw(gaining / 2));
    if (draw(100) <= 5)
        return gaining + static_cast<int>(draw(list.Size() - gaining));
    return gaining / 2 + static_cast<int>(draw(gaining - gaining / 2));
}

// The index player picks from its sorted, non-empty list; cellCount is its count as the
// round's logic holds it.
template <typename Draw>
int ChooseMoveIndex(const PlayerTable& players, int player, const MoveList& list, int cellCount, Draw& draw)
{
    int index = 0;
    if (player != 1)
    {
        int level = players.GetAiLevel(player);
        if (level > 2 || level < 0)
            level = 2;
        if (level == 1)
            index = ChooseMoveLevel1(list, cellCount, draw);
        else if (level == 0)
            index = ChooseMoveLevel0(list, cellCount, draw);
    }
    return index < list.Size() ? index : list.Size() - 1;
}

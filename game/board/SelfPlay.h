#pragma once
// Computer turns played straight on a game logic, without a round controller or a screen: the
// move the search chooses, its captures, then the turn passing on, or the free cells going to the
// mover when nobody else can move. The bench, the search signature and the tests drive games
// with it.
#include "game/board/GameLogic.h"

struct SearchStats;

enum class TurnResult
{
    Played,     // the turn passed to the next player
    RoundOver,  // a winner is decided (or the mover took the remaining free cells)
    NoMove,     // the current player had no move
};

// Plays the current player's turn as a computer player of its level.
TurnResult PlayComputerTurn(GameLogic& logic, SearchStats* stats = nullptr);

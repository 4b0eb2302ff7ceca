#pragma once
// A board as text, for fixed positions and test failures: 61 cell characters in cell order
// (whitespace and '/' ignored): '.' free cell, '#' hole, '1'..'3' a player's cell, and the
// bonuses on free cells 'm' mine, 't' teleport, 'b' bomb, 'l' laid mine. Cells get kind 1.
#include "game/board/Board.h"

#include <string>
#include <string_view>

// False, with the board unchanged, unless the text holds exactly 61 known cell characters.
[[nodiscard]] bool ParseBoardText(std::string_view text, Board& board);
// The board in rows of 5..9..5 cells, one row a line (kinds other than 0 all shown alike).
[[nodiscard]] std::string BoardToText(const Board& board);

#pragma once
// LevelText: a level as text, for authoring the campaign's levels and reading level files back.
//
//   # comments run to the end of a line
//   players -1 0 1          AI level of each player, player 1 first: 2 or 3 players
//   first 1                 the player who moves first
//   seed 4711               the seed of the level's own generator (its computer players' draws)
//   medal rounds 12 18      medal mode ("cells" or "rounds"), then the two thresholds
//   board                   then nine rows of 5, 6, 7, 8, 9, 8, 7, 6 and 5 cells
//
// A cell is "-" (no cell) or its kind 1..3 followed by its content: "." free, "1".."3" a
// player's bacterium, "m" a mine to pick up, "t" a teleport, "b" a bomb, "l" a laid mine.
// Each keyword appears once. Compiling gives exactly the level file the game writes for a level
// saved afresh (the level-logic section, fresh parameters, no selection, the medal rule); printing
// reads any level file back into the text. Errors name the line.
#include "framework/core/Buffer.h"

#include <string>
#include <string_view>

struct LevelTextError
{
    // 1-based line of the text; 0 when the error concerns no line (a level file).
    int line = 0;
    std::string message;

    [[nodiscard]] std::string ToString() const;
};

// Appends the level file of the text to body. False, with body unchanged, on the first error:
// bad syntax, a keyword missing or repeated, owners beyond the player count, three players
// without a cell of player 3, a player without a cell or a move, a kind outside 1..3.
[[nodiscard]] bool CompileLevelText(std::string_view text, Quoll::Buffer& body, LevelTextError& error);

// The level file (read from body's read position to its end) as text, after a comment line naming
// the layout read (LevelFileLayout::Describe). False when it does not
// read as an undamaged level file or holds what the text cannot say (a bacterium on a bonus, a generator that is not
// freshly seeded).
[[nodiscard]] bool PrintLevelText(Quoll::Buffer& body, std::string& text, LevelTextError& error);

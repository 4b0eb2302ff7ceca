#pragma once
// MessageBoxText: the system's message boxes draw a text's lines as given and never wrap them,
// so a text for one is broken into short lines first: a box as wide as its longest line then
// stays on the screen in either language, whatever path the text names.
#include <cstddef>
#include <string>
#include <string_view>

// The longest line of a message box's text, in characters: even in the widest letters of the
// box's font such a line stays well inside a 1024-pixel screen.
inline constexpr size_t kMessageBoxLineLength = 60;

// The text in lines of at most maxLength characters (0 counts as 1). The text's own line breaks
// stay; a longer line is broken at its last space that fits (the space dropped), and a word longer
// than a line, such as a folder's path, after its last '/' or '\' that fits, else at maxLength.
// Only line breaks are added and spaces taken: no other character is lost.
[[nodiscard]] std::wstring BreakIntoLines(std::wstring_view text, size_t maxLength = kMessageBoxLineLength);

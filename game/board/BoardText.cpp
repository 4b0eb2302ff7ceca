#include "game/board/BoardText.h"

namespace
{
struct CellChar
{
    char symbol;
    int kind;
    int flags;
};

constexpr CellChar kCellChars[] = {
    {'.', 1, 0}, {'#', 0, 0}, {'1', 1, 1}, {'2', 1, 2}, {'3', 1, 3},
    {'m', 1, BONUS_MINE}, {'t', 1, BONUS_TELEPORT}, {'b', 1, BONUS_BOMB}, {'l', 1, BONUS_LAID_MINE},
};

const CellChar* Find(char symbol)
{
    for (const CellChar& entry : kCellChars)
        if (entry.symbol == symbol)
            return &entry;
    return nullptr;
}

char SymbolOf(const Board& board, int cell)
{
    if (!board.Exists(cell))
        return '#';
    if (board.GetOwner(cell) != 0)
        return static_cast<char>('0' + board.GetOwner(cell));
    for (const CellChar& entry : kCellChars)
        if (entry.kind != 0 && entry.flags != 0 && entry.flags == board.GetBonus(cell))
            return entry.symbol;
    return '.';
}
} // namespace

bool ParseBoardText(std::string_view text, Board& board)
{
    Board parsed;
    int cell = 0;
    for (char symbol : text)
    {
        if (symbol == ' ' || symbol == '\n' || symbol == '\t' || symbol == '/')
            continue;
        const CellChar* entry = Find(symbol);
        if (!entry || cell >= kCellCount)
            return false;
        parsed.SetCellValue(cell, entry->kind);
        parsed.SetCellFlags(cell, entry->flags);
        ++cell;
    }
    if (cell != kCellCount)
        return false;
    board = parsed;
    return true;
}

std::string BoardToText(const Board& board)
{
    std::string text;
    for (int row = 1; row <= kRowCount; ++row)
    {
        text.append(static_cast<size_t>(row <= 5 ? 5 - row : row - 5), ' ');
        for (int column = HexRowFirstColumn(row); column <= HexRowLastColumn(row); ++column)
        {
            text.push_back(SymbolOf(board, HexCellIndex(row, column)));
            text.push_back(' ');
        }
        text.back() = '\n';
    }
    return text;
}

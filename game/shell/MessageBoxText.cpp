#include "game/shell/MessageBoxText.h"

#include <algorithm>

namespace
{
// How much of a word longer than a line goes on one line: up to and with its last path
// separator within the line, else the whole line.
size_t WordPiece(std::wstring_view word, size_t maxLength)
{
    const size_t separator = word.substr(0, maxLength).find_last_of(L"/\\");
    return separator != std::wstring_view::npos && separator > 0 ? separator + 1 : maxLength;
}

// One line of the text (no line break in it), broken into lines appended to out; the last of
// them is not ended.
void BreakLine(std::wstring_view line, size_t maxLength, std::wstring& out)
{
    std::wstring current;
    bool first = true;
    for (size_t start = 0;;)
    {
        const size_t end = line.find(L' ', start);
        std::wstring_view word = line.substr(start, end == std::wstring_view::npos ? end : end - start);
        if (!first && current.size() + 1 + word.size() <= maxLength)
            (current += L' ') += word;
        else
        {
            if (!first)
                (out += current) += L'\n';
            while (word.size() > maxLength)
            {
                const size_t piece = WordPiece(word, maxLength);
                (out += word.substr(0, piece)) += L'\n';
                word.remove_prefix(piece);
            }
            current = word;
            first = false;
        }
        if (end == std::wstring_view::npos)
            break;
        start = end + 1;
    }
    out += current;
}
} // namespace

std::wstring BreakIntoLines(std::wstring_view text, size_t maxLength)
{
    maxLength = std::max<size_t>(maxLength, 1);
    std::wstring out;
    for (size_t start = 0;;)
    {
        const size_t end = text.find(L'\n', start);
        BreakLine(text.substr(start, end == std::wstring_view::npos ? end : end - start), maxLength, out);
        if (end == std::wstring_view::npos)
            return out;
        out += L'\n';
        start = end + 1;
    }
}

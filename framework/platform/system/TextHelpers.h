#pragma once
// Small text helpers shared by the platform's readers: ASCII letter case (names of
// settings, classes, registered messages and files compare without it) and line walking.
#include <cstddef>
#include <string>
#include <string_view>

namespace Quoll::Platform
{
constexpr char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

inline std::string LowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = LowerAscii(c);
    return out;
}

inline bool EqualNoCaseAscii(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

// Calls onLine(lineNumber from 1, line without its "\n" or "\r\n") for each line until
// it returns false; returns whether every line was accepted.
template <typename OnLine>
bool ForEachLine(std::string_view text, OnLine&& onLine)
{
    size_t lineNumber = 0;
    size_t pos = 0;
    while (pos < text.size())
    {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!onLine(++lineNumber, line))
            return false;
    }
    return true;
}
} // namespace Quoll::Platform

// Marker expressions are found by a small scanner that knows C++ comments, string and
// character literals; everything else is plain text to it.
#include "framework/core/ModValParser.h"

#include "framework/core/Common.h"

#include <cctype>

namespace Quoll
{
namespace
{
bool IsIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void SkipBlanks(std::string_view text, size_t& pos)
{
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
}

// The closing parenthesis after optional blanks.
bool TakeClose(std::string_view text, size_t& pos)
{
    SkipBlanks(text, pos);
    if (pos >= text.size() || text[pos] != ')')
        return false;
    ++pos;
    return true;
}

// The end of a quoted literal that starts at `pos` (its closing quote), or npos.
size_t LiteralEnd(std::string_view line, size_t pos)
{
    char quote = line[pos];
    for (size_t i = pos + 1; i < line.size(); ++i)
    {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == quote)
            return i;
    }
    return std::string_view::npos;
}
} // namespace

bool ModValParser::Parse(std::istream& in, const std::string& fileName, std::vector<ModValMarker>& markers,
                         std::string& error)
{
    mInComment = false;
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line))
    {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        LineFault fault = ParseLine(line, lineNumber, markers);
        if (fault == LineFault::Quotes)
            error = FormatString("ERROR in %s on line %d: Error parsing quotes", fileName.c_str(), lineNumber);
        else if (fault == LineFault::CppComment)
            error = FormatString("ERROR in %s on line %d: Error parsing c++ comment", fileName.c_str(), lineNumber);
        if (fault != LineFault::None)
            return false;
    }
    if (mInComment)
    {
        error = FormatString("ERROR in %s on line %d: Error parsing c comment", fileName.c_str(), mCommentLine);
        return false;
    }
    return true;
}

ModValParser::LineFault ModValParser::ParseLine(std::string_view line, int lineNumber,
                                                std::vector<ModValMarker>& markers)
{
    size_t i = 0;
    while (i < line.size())
    {
        // 1. Inside a C comment only its end matters.
        if (mInComment)
        {
            size_t end = line.find("*/", i);
            if (end == std::string_view::npos)
                return LineFault::None;
            mInComment = false;
            i = end + 2;
            continue;
        }
        char c = line[i];
        char next = i + 1 < line.size() ? line[i + 1] : '\0';
        // 2. A C++ comment runs to the line's end; one continued by a backslash cannot be
        //    followed line by line.
        if (c == '/' && next == '/')
            return line.back() == '\\' ? LineFault::CppComment : LineFault::None;
        if (c == '/' && next == '*')
        {
            mInComment = true;
            mCommentLine = lineNumber;
            i += 2;
            continue;
        }
        // 3. Strings must close on their line; character literals are skipped alike (a quote
        //    after a digit is a digit separator).
        if (c == '"' || (c == '\'' && (i == 0 || !IsIdentifierChar(line[i - 1]))))
        {
            size_t end = LiteralEnd(line, i);
            if (end == std::string_view::npos)
            {
                if (c == '"')
                    return LineFault::Quotes;
                ++i;
                continue;
            }
            i = end + 1;
            continue;
        }
        // 4. A marker: its value runs to the closing parenthesis.
        if (c == '(')
        {
            int index = MarkerIndexBefore(line, i);
            if (index >= 0)
            {
                size_t pos = i + 1;
                std::optional<ModValValue> value = ParseValue(line, pos);
                markers.push_back({lineNumber, index, value});
                i = value ? pos : i + 1;
                continue;
            }
        }
        ++i;
    }
    return LineFault::None;
}

int ModValParser::MarkerIndexBefore(std::string_view line, size_t paren)
{
    auto standsAlone = [&](size_t m) { return line[m] == 'M' && (m == 0 || !IsIdentifierChar(line[m - 1])); };
    if (paren >= 1 && standsAlone(paren - 1))
        return 0;
    if (paren >= 2 && line[paren - 1] >= '1' && line[paren - 1] <= '9' && standsAlone(paren - 2))
        return line[paren - 1] - '0';
    return -1;
}

std::optional<ModValValue> ModValParser::ParseValue(std::string_view text, size_t& pos) const
{
    SkipBlanks(text, pos);
    if (pos >= text.size())
        return std::nullopt;
    char c = text[pos];
    if (c == '"')
        return ParseString(text, pos);
    if (std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_')
    {
        size_t start = pos;
        while (pos < text.size() && IsIdentifierChar(text[pos]))
            ++pos;
        auto found = mConstants.find(std::string(text.substr(start, pos - start)));
        if (found == mConstants.end() || !TakeClose(text, pos))
            return std::nullopt;
        return found->second;
    }
    return ParseNumber(text, pos);
}

std::optional<ModValValue> ModValParser::ParseString(std::string_view text, size_t& pos) const
{
    std::string value;
    for (++pos; pos < text.size() && text[pos] != '"'; ++pos)
    {
        if (text[pos] != '\\')
        {
            value += text[pos];
            continue;
        }
        char escaped = ++pos < text.size() ? text[pos] : '\0';
        switch (escaped)
        {
        case '"': value += '"'; break;
        case '\\': value += '\\'; break;
        case 'n': value += '\n'; break;
        case 't': value += '\t'; break;
        default: return std::nullopt;
        }
    }
    if (pos >= text.size())
        return std::nullopt;
    ++pos; // the closing quote
    if (!TakeClose(text, pos))
        return std::nullopt;
    return value;
}

std::optional<ModValValue> ModValParser::ParseNumber(std::string_view text, size_t& pos) const
{
    size_t start = pos;
    bool negative = pos < text.size() && text[pos] == '-';
    if (negative)
        ++pos;
    // Hexadecimal integers.
    if (pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X'))
    {
        size_t digits = pos + 2;
        pos = digits;
        while (pos < text.size() && std::isxdigit(static_cast<unsigned char>(text[pos])) != 0)
            ++pos;
        int value = 0;
        if (pos == digits || !StringToInt("0x" + std::string(text.substr(digits, pos - digits)), value) ||
            !TakeClose(text, pos))
            return std::nullopt;
        return negative ? static_cast<int>(0u - static_cast<unsigned>(value)) : value;
    }
    // Decimal: an integer, or a floating-point number with a '.' or an 'f' suffix.
    size_t digits = 0;
    bool point = false;
    while (pos < text.size() && (IsDigit(text[pos]) || (text[pos] == '.' && !point)))
    {
        point = point || text[pos] == '.';
        digits += IsDigit(text[pos]) ? 1 : 0;
        ++pos;
    }
    std::string number(text.substr(start, pos - start));
    bool suffix = pos < text.size() && text[pos] == 'f';
    if (suffix)
        ++pos;
    if (digits == 0 || !TakeClose(text, pos))
        return std::nullopt;
    if (!point && !suffix)
    {
        int value = 0;
        if (!StringToInt(number, value))
            return std::nullopt;
        return value;
    }
    double value = 0.0;
    if (!StringToDouble(number, value))
        return std::nullopt;
    return value;
}
} // namespace Quoll

#pragma once
// The parser of the live-tweakable constants: finds the marker expressions of a C++ source
// text (M(...), M1(...) ... M9(...), outside comments and strings) and reads the value in each.
#include <istream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace Quoll
{
// An integer, a floating-point number or a string.
using ModValValue = std::variant<int, double, std::string>;

struct ModValMarker
{
    int line = 0; // counted from 1
    int index = 0; // 0 for M(, 1 to 9 for M1( to M9(
    std::optional<ModValValue> value; // empty when the text in the marker does not parse
};

class ModValParser
{
public:
    explicit ModValParser(const std::map<std::string, int>& constants) : mConstants(constants) {}

    // Every marker of the text, in order. False, with the message in `error`, when a string
    // or a comment is malformed.
    bool Parse(std::istream& in, const std::string& fileName, std::vector<ModValMarker>& markers,
               std::string& error);
    // The value at `pos` (just after the opening parenthesis) up to its closing one; `pos`
    // ends after that parenthesis.
    std::optional<ModValValue> ParseValue(std::string_view text, size_t& pos) const;

private:
    enum class LineFault
    {
        None,
        Quotes,
        CppComment,
    };
    LineFault ParseLine(std::string_view line, int lineNumber, std::vector<ModValMarker>& markers);
    static int MarkerIndexBefore(std::string_view line, size_t paren);
    std::optional<ModValValue> ParseString(std::string_view text, size_t& pos) const;
    std::optional<ModValValue> ParseNumber(std::string_view text, size_t& pos) const;

    const std::map<std::string, int>& mConstants;
    bool mInComment = false;
    int mCommentLine = 0;
};
} // namespace Quoll

#pragma once
// The reader of the toolkit's line-based descriptor files (the bitmap fonts' descriptors). One
// command a line: a keyword, then arguments separated by spaces or tabs. '#' outside quotes
// starts a comment; blank lines are skipped; an argument in double quotes may hold spaces, with
// \" and \\ inside. A subclass handles each command; the first error stops the parse and is kept
// as "<message> on Line N". A byte-order mark and CR-LF line ends are accepted.
#include <cstddef>
#include <string>
#include <vector>

namespace Quoll
{
class DescParser
{
public:
    struct Command
    {
        int line = 0;
        std::string keyword;
        std::vector<std::string> args;
    };

    DescParser() = default;
    DescParser(const DescParser&) = delete;
    DescParser& operator=(const DescParser&) = delete;
    virtual ~DescParser() = default;

    // Parses the text; false with the error in GetError.
    bool ParseText(const std::string& text);
    [[nodiscard]] const std::string& GetError() const { return mError; }

protected:
    // One command; returns false (after Fail) to stop the parse.
    virtual bool HandleCommand(const Command& command) = 0;
    // After the last line: checks what the whole file must hold.
    virtual bool Finish() { return true; }

    // Keeps "<message> on Line <line>" (the current line when line is 0); always false.
    bool Fail(const std::string& message, int line = 0);
    // Fails unless the command has exactly `count` arguments.
    bool ExpectArgs(const Command& command, size_t count);
    // An integer argument in [min, max].
    bool ReadInt(const Command& command, size_t index, int min, int max, int& value);
    // A character argument: U+ and hexadecimal digits (U+0041), or the one character itself.
    bool ReadChar(const Command& command, size_t index, char32_t& value);

private:
    // Splits one line into its command; false (after Fail) on an unterminated quote.
    bool Tokenise(const std::string& line, Command& command);

    std::string mError;
    int mLine = 0;
};
} // namespace Quoll

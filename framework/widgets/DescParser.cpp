#include "framework/widgets/DescParser.h"

#include "framework/platform/system/Utf8.h"

#include <charconv>

namespace Quoll
{
bool DescParser::ParseText(const std::string& text)
{
    mError.clear();
    mLine = 0;
    size_t start = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        start = 3;
    while (start < text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        start = end + 1;
        ++mLine;
        Command command;
        if (!Tokenise(line, command))
            return false;
        if (command.keyword.empty())
            continue;
        command.line = mLine;
        if (!HandleCommand(command))
            return false;
    }
    ++mLine; // an error of the whole file points past its last line
    return Finish();
}

bool DescParser::Tokenise(const std::string& line, Command& command)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size())
    {
        const char c = line[i];
        if (c == ' ' || c == '\t')
        {
            ++i;
            continue;
        }
        if (c == '#')
            break;
        std::string word;
        if (c == '"')
        {
            ++i;
            bool closed = false;
            while (i < line.size())
            {
                const char q = line[i++];
                if (q == '"')
                {
                    closed = true;
                    break;
                }
                if (q == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\'))
                    word += line[i++];
                else
                    word += q;
            }
            if (!closed)
                return Fail("Unterminated quote");
        }
        else
        {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '#')
                word += line[i++];
        }
        words.push_back(std::move(word));
    }
    if (words.empty())
        return true;
    command.keyword = std::move(words.front());
    command.args.assign(words.begin() + 1, words.end());
    return true;
}

bool DescParser::Fail(const std::string& message, int line)
{
    if (mError.empty())
        mError = message + " on Line " + std::to_string(line != 0 ? line : mLine);
    return false;
}

bool DescParser::ExpectArgs(const Command& command, size_t count)
{
    if (command.args.size() == count)
        return true;
    return Fail("'" + command.keyword + "' takes " + std::to_string(count) + " argument" + (count == 1 ? "" : "s") +
                ", not " + std::to_string(command.args.size()));
}

bool DescParser::ReadInt(const Command& command, size_t index, int min, int max, int& value)
{
    if (index >= command.args.size())
        return Fail("'" + command.keyword + "' lacks argument " + std::to_string(index + 1));
    const std::string& word = command.args[index];
    int parsed = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), parsed);
    if (error != std::errc() || end != word.data() + word.size())
        return Fail("'" + word + "' is not a whole number");
    if (parsed < min || parsed > max)
        return Fail(word + " is outside " + std::to_string(min) + ".." + std::to_string(max));
    value = parsed;
    return true;
}

bool DescParser::ReadChar(const Command& command, size_t index, char32_t& value)
{
    if (index >= command.args.size())
        return Fail("'" + command.keyword + "' lacks argument " + std::to_string(index + 1));
    const std::string& word = command.args[index];
    if (word.size() > 2 && (word[0] == 'U' || word[0] == 'u') && word[1] == '+')
    {
        unsigned parsed = 0;
        const char* first = word.data() + 2;
        const auto [end, error] = std::from_chars(first, word.data() + word.size(), parsed, 16);
        if (error == std::errc() && end == word.data() + word.size() && parsed <= 0x10FFFF &&
            !(parsed >= 0xD800 && parsed <= 0xDFFF))
        {
            value = parsed;
            return true;
        }
        return Fail("'" + word + "' is not a character code");
    }
    const std::vector<char32_t> points = Platform::Utf8CodePoints(word);
    if (points.size() != 1 || points[0] == 0xFFFD)
        return Fail("'" + word + "' is not one character (write U+XXXX)");
    value = points[0];
    return true;
}
} // namespace Quoll

#include "framework/app/CommandLine.h"

namespace Quoll
{
std::vector<CommandLineOption> SplitCommandLine(const std::string& text)
{
    std::vector<CommandLineOption> pairs;
    std::string option, value;
    bool inQuotes = false;
    bool valueMode = false;
    auto endPair = [&] {
        if (!option.empty())
            pairs.emplace_back(option, value);
        option.clear();
        value.clear();
        valueMode = false;
    };
    for (size_t i = 0; i < text.size(); ++i)
    {
        const char c = text[i];
        const bool last = i + 1 == text.size();
        // 1. Quotes only toggle; 2. outside them '=' starts the value and a space ends the pair.
        if (c == '"')
            inQuotes = !inQuotes;
        else if (!inQuotes && c == '=')
            valueMode = true;
        else if (!inQuotes && c == ' ')
        {
            endPair();
            continue;
        }
        else
            (valueMode ? value : option) += c; // 3. everything else is text
        // 4. The last character also ends the pair.
        if (last)
            endPair();
    }
    return pairs;
}

std::string JoinCommandLineArguments(const std::vector<std::string>& arguments)
{
    std::string text;
    for (const std::string& argument : arguments)
    {
        if (!text.empty())
            text += ' ';
        if (argument.find(' ') == std::string::npos)
        {
            text += argument;
            continue;
        }
        const size_t equals = argument.find('=');
        if (equals == std::string::npos)
            text += '"' + argument + '"';
        else
            text += argument.substr(0, equals + 1) + '"' + argument.substr(equals + 1) + '"';
    }
    return text;
}
} // namespace Quoll

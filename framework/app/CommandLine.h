#pragma once
// The command line as the framework reads it: one text of options "-name" or "-name=value",
// separated by spaces; double quotes group text (spaces and '=' inside them are kept) and are
// dropped.
#include <string>
#include <utility>
#include <vector>

namespace Quoll
{
using CommandLineOption = std::pair<std::string, std::string>; // option, value

// The (option, value) pairs of the text, in order; pairs with an empty option are skipped.
std::vector<CommandLineOption> SplitCommandLine(const std::string& text);

// One command-line text from separate arguments (the program name excluded), quoted so that
// SplitCommandLine gives each argument back: an argument with a space has its value (after
// the first '=') or, without '=', the whole argument in double quotes.
std::string JoinCommandLineArguments(const std::vector<std::string>& arguments);
} // namespace Quoll

#pragma once
// Facts about the running program: where its file lies and which version it is.
#include <string>
#include <string_view>
#include <vector>

namespace Quoll::Platform
{
// The program file's absolute path, or empty when it cannot be read.
std::string ProgramPath();
// The folder holding the program file, without a trailing separator.
std::string ProgramFolder();
// The product version, compiled in from the build's project version ("1.0.0").
std::string_view ProductVersion();
// The program's command-line arguments as the kernel holds them (the program name first),
// for code that has no argv at hand.
std::vector<std::string> ProgramArguments();
// The process's current folder; changing it resolves the path as ResolvePathCase does.
std::string CurrentFolder();
bool SetCurrentFolder(std::string_view path);
} // namespace Quoll::Platform

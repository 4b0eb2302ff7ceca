#pragma once
// Where the platform layer reports what it could not do (a settings file that was
// corrupt, a thread priority that was refused). Lines go to standard error until the
// application installs a sink of its own (its log file).
#include <string_view>

namespace Quoll::Platform
{
using LogSink = void (*)(std::string_view subsystem, std::string_view text);

// Installs a sink (null restores standard error); returns the previous one.
LogSink SetLogSink(LogSink sink);
// One line: "<subsystem>: <text>".
void LogLine(std::string_view subsystem, std::string_view text);
} // namespace Quoll::Platform

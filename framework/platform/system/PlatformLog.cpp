#include "framework/platform/system/PlatformLog.h"

#include <atomic>
#include <cstdio>
#include <string>

namespace Quoll::Platform
{
namespace
{
void StandardErrorSink(std::string_view subsystem, std::string_view text)
{
    std::string line;
    line.append(subsystem).append(": ").append(text).append("\n");
    std::fwrite(line.data(), 1, line.size(), stderr);
}

std::atomic<LogSink> gSink{&StandardErrorSink};
} // namespace

LogSink SetLogSink(LogSink sink) { return gSink.exchange(sink != nullptr ? sink : &StandardErrorSink); }

void LogLine(std::string_view subsystem, std::string_view text) { gSink.load()(subsystem, text); }
} // namespace Quoll::Platform

#include "framework/app/ErrorLog.h"

#include "framework/core/Common.h"
#include "framework/platform/system/Clock.h"

#include <cstdio>
#include <ctime>

namespace Quoll
{
std::string ErrorLog::FormatLine(const std::string& text, int hours, int minutes, int seconds, uint32_t tick)
{
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", hours, minutes, seconds);
    return FormatString("%s %s %u\n", text.c_str(), time, unsigned(tick));
}

void ErrorLog::Append(const std::string& text, ErrorLogLevel level, const std::string& detail)
{
    if (const ErrorLogSink sink = mSink.load())
        sink(level, detail.empty() ? text : text + " (" + detail + ")");

    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::string line = FormatLine(text, local.tm_hour, local.tm_min, local.tm_sec, Platform::TickCount());

    std::lock_guard lock(mMutex);
    const char* mode = mFirstWrite ? "w" : "a+";
    mFirstWrite = false;
    std::FILE* file = std::fopen(mFileName.c_str(), mode);
    const std::string dataFolder = GetAppDataFolder();
    if (file == nullptr && !dataFolder.empty())
        file = std::fopen(ToSystemPath(dataFolder + mFileName).c_str(), mode);
    if (file == nullptr)
        return;
    std::fputs(line.c_str(), file);
    std::fclose(file);
}

ErrorLog& ErrorLog::Program()
{
    static ErrorLog log;
    return log;
}
} // namespace Quoll

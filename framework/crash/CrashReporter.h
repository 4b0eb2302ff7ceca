#pragma once
// The reporter process: reads the crashed process's record (and, when it comes, the
// application's part) from a pipe, builds the report, copies it to the clipboard, writes
// "crash.txt" in the current folder (annotated from a "*.map" file when there is one),
// shows the report windows and uploads the report when the user asks.
#include "framework/crash/CrashReportSource.h"
#include "framework/crash/CrashReportUpload.h"
#include "framework/platform/system/CrashRecord.h"

#include <optional>
#include <string>

namespace Quoll
{
class CrashReporter
{
public:
    // How long the application's part may take after the record arrived.
    static constexpr int kApplicationPartMilliseconds = 10000;

    CrashReporter(int pipeFd, std::string submitHost) : mFd(pipeFd), mSubmitHost(std::move(submitHost)) {}
    // 0 when a report was made; 1 when no record arrived.
    int Run();

private:
    bool ReadRecord(Platform::CrashRecord& record);
    std::optional<CrashAppInfo> ReadApplicationPart();
    CrashReportForm BuildForm(const std::string& userText, const std::string& title, const std::string& report,
                              const CrashAppInfo& application) const;

    int mFd;
    std::string mSubmitHost;
};
} // namespace Quoll

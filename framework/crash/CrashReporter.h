#pragma once
// The reporter process: reads the crashed process's record (and, when it comes, the
// application's part) from a pipe, builds the report, copies it to the clipboard, writes
// "crash.txt" in the current folder (annotated from a "*.map" file when there is one),
// shows the report windows and uploads the report when the user asks.
//
// It never keeps a machine waiting: SIGTERM and SIGINT end it at once, and where no one can
// answer its windows (no display, a display that shows nothing, a headless run whose script
// is over, or QUOLL_CRASH_UNATTENDED set) it ends as soon as "crash.txt" is written. Started by
// the crash catcher, it also ends when the crashed program is killed.
#include "framework/crash/CrashReportSource.h"
#include "framework/crash/CrashReportUpload.h"
#include "framework/crash/CrashWindowRequest.h"
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
    // Set to anything but "" or "0", the reporter shows no windows.
    static constexpr const char* kUnattendedVariable = "QUOLL_CRASH_UNATTENDED";
    // The headless input script of the reporter's windows. The crashed program's own script and
    // evidence folder (QUOLL_HEADLESS_SCRIPT, QUOLL_HEADLESS_DUMP) are not the reporter's.
    static constexpr const char* kScriptVariable = "QUOLL_CRASH_REPORTER_SCRIPT";

    CrashReporter(int pipeFd, std::string submitHost) : mFd(pipeFd), mSubmitHost(std::move(submitHost)) {}
    // 0 when a report was made; 1 when no record arrived.
    int Run();

    // The windows to show; without them the reporter only writes the report.
    static void SetWindows(CrashWindowsRunner runner);
    // Whether a person can answer windows on the system now.
    static bool SomeoneCanAnswer(Platform::WindowSystem& system);
    // SIGTERM and SIGINT end the process at once, by that signal.
    static void EndOnCloseSignals();
    // Gives SIGTERM and SIGINT to the handler and unblocks them.
    static void HandleCloseSignals(void (*handler)(int));

private:
    bool ReadRecord(Platform::CrashRecord& record);
    std::optional<CrashAppInfo> ReadApplicationPart();
    CrashReportForm BuildForm(const std::string& userText, const std::string& title, const std::string& report,
                              const CrashAppInfo& application) const;

    int mFd;
    std::string mSubmitHost;
};
} // namespace Quoll

#pragma once
// A debugging aid: a table of live allocations that, when the report is switched on, is
// written at exit to "mem_leaks.txt" and the debugger output. Allocations are recorded by
// Record/Forget, or by every global new/delete when the build sets QUOLL_LEAK_TRACKING.
#include "framework/core/CriticalSection.h"

#include <cstdint>
#include <map>
#include <string>

namespace Quoll
{
class LeakTracker
{
public:
    static LeakTracker& Instance();

    void Record(const void* address, int32_t size, const char* file, int32_t line);
    void Forget(const void* address);
    void SetReportEnabled(bool enabled) { mReportEnabled = enabled; }
    [[nodiscard]] bool IsReportEnabled() const { return mReportEnabled; }
    [[nodiscard]] size_t LiveCount();

    // Writes the report (only while active); false when the file cannot be written.
    bool WriteReport(const std::string& path = "mem_leaks.txt");
    // Run once at exit: the report when enabled, then the tracker goes inactive and empty.
    void OnExit();

private:
    struct Record_
    {
        int32_t size;
        std::string file;
        int32_t line;
    };

    LeakTracker() = default;
    bool WriteReportLocked(const std::string& path);

    CriticalSection mLock;
    bool mActive = true;
    bool mReportEnabled = false;
    bool mReporting = false; // the report's own allocations are not recorded
    std::map<const void*, Record_> mTable;
};

// Formats with the wide formatter and writes the text to the debugger output.
void DebugTrace(const wchar_t* format, ...);
} // namespace Quoll

#include "framework/core/LeakTracker.h"

#include "framework/core/Common.h"
#include "framework/core/DebugOutput.h"

#include <cstdio>
#include <ctime>
#include <new>

namespace Quoll
{
#ifdef QUOLL_LEAK_TRACKING
void InstallLeakHooks(); // LeakHooks.cpp: pulls the global new/delete replacements in
#endif

namespace
{
// Runs the exit hook when static objects are destroyed. The tracker itself is never
// destroyed, so deletes that happen later still find it (inactive).
struct ExitHook
{
    ~ExitHook() { LeakTracker::Instance().OnExit(); }
};
} // namespace

LeakTracker& LeakTracker::Instance()
{
    alignas(LeakTracker) static unsigned char storage[sizeof(LeakTracker)];
    static LeakTracker* instance = new (storage) LeakTracker();
    static ExitHook exitHook;
#ifdef QUOLL_LEAK_TRACKING
    static const bool hooked = (InstallLeakHooks(), true);
    (void)hooked;
#endif
    return *instance;
}

void LeakTracker::Record(const void* address, int32_t size, const char* file, int32_t line)
{
    AutoCrit lock(mLock);
    if (mActive && !mReporting)
        mTable[address] = Record_{size, file ? file : "", line};
}

void LeakTracker::Forget(const void* address)
{
    AutoCrit lock(mLock);
    if (mActive && !mReporting)
        mTable.erase(address);
}

size_t LeakTracker::LiveCount()
{
    AutoCrit lock(mLock);
    return mTable.size();
}

bool LeakTracker::WriteReport(const std::string& path)
{
    AutoCrit lock(mLock);
    if (!mActive)
        return false;
    mReporting = true;
    const bool written = WriteReportLocked(path);
    mReporting = false;
    return written;
}

bool LeakTracker::WriteReportLocked(const std::string& path)
{
    FILE* file = std::fopen(ToSystemPath(path).c_str(), "wt");
    if (file == nullptr)
        return false;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char when[64];
    std::strftime(when, sizeof when, "%a %b %e %H:%M:%S %Y\n", &local); // asctime's layout
    const std::string header = FormatString("Memory Leak Report for %s\n", when);
    std::fputs(header.c_str(), file);
    OutputDebugText("\n" + header);

    int64_t total = 0;
    for (const auto& [address, record] : mTable)
    {
        const std::string line = FormatString("%s(%d) : Leak %d byte%s\n", record.file.c_str(), record.line,
                                              record.size, record.size >= 2 ? "s" : "");
        OutputDebugText(line);
        std::fputs(line.c_str(), file);
        total += record.size;
    }
    const std::string rule = "-----------------------------------------------------------\n";
    const std::string footer = FormatString("Total Unfreed: %lld bytes (%lldKB)\n\n", static_cast<long long>(total),
                                            static_cast<long long>(total / 1024));
    std::fputs((rule + footer).c_str(), file);
    OutputDebugText(rule + footer);
    return std::fclose(file) == 0;
}

void LeakTracker::OnExit()
{
    AutoCrit lock(mLock);
    if (mReportEnabled)
        WriteReport();
    mActive = false;
    std::map<const void*, Record_>().swap(mTable);
}

void DebugTrace(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::wstring text = VFormatWideString(format, args);
    va_end(args);
    OutputDebugText(WStringToString(text));
}
} // namespace Quoll

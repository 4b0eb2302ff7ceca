#pragma once
// The text of a crash report, built in the reporter process from the crashed process's
// record, the modules its addresses lie in, the system and the application's part. Lines
// end with "\r\n".
#include "framework/crash/CrashReportSource.h"
#include "framework/platform/system/CrashRecord.h"
#include "framework/platform/system/ModuleMap.h"

#include <functional>
#include <optional>
#include <string>

namespace Quoll
{
class CrashReport
{
public:
    using ModuleResolver = std::function<std::optional<Platform::ModuleAddress>(uint64_t address)>;

    struct Text
    {
        std::string title; // "Exception at SSSS:OOOOOOOO"
        std::string report;
    };

    // `application` is null when no application part arrived.
    static Text Build(const Platform::CrashRecord& record, const ModuleResolver& modules,
                      const std::string& systemInfo, const CrashAppInfo* application);
    static std::string HeaderLine(const Platform::CrashRecord& record);
    static std::string StackTrace(const Platform::CrashRecord& record, const ModuleResolver& modules);
    static std::string Registers(const Platform::CrashRecord& record);
    // The operating system's name, release and machine.
    static std::string SystemInfoText();
};
} // namespace Quoll

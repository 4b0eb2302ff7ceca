// Report text: header, module and logical address, stack, registers, system, application.
#include "framework/crash/CrashReport.h"

#include "framework/core/Common.h"
#include "framework/crash/CrashCatcher.h"

#include <sys/utsname.h>

namespace Quoll
{
namespace
{
using ULL = unsigned long long;

std::string LogicalAddress(const std::optional<Platform::ModuleAddress>& module)
{
    uint32_t section = module ? module->section : 0;
    uint64_t offset = module ? module->sectionOffset : 0;
    return FormatString("%04X:%08llX", section, static_cast<ULL>(offset));
}
} // namespace

std::string CrashReport::HeaderLine(const Platform::CrashRecord& record)
{
    if (const char* name = CrashCatcher::ExceptionName(record.exceptionCode))
        return FormatString("Exception: %s (code 0x%x) at address %08llX in thread %X\r\n", name, record.exceptionCode,
                            static_cast<ULL>(record.address), record.threadId);
    return FormatString("Unknown exception: (code 0x%x) at address %08llX in thread %X\r\n", record.exceptionCode,
                        static_cast<ULL>(record.address), record.threadId);
}

// One line a frame: the symbol and displacement when known, else section:offset and module.
std::string CrashReport::StackTrace(const Platform::CrashRecord& record, const ModuleResolver& modules)
{
    if (record.frameCount == 0)
        return "Stack walk failed\r\n";
    std::string trace;
    uint32_t count = std::min<uint32_t>(record.frameCount, Platform::CrashRecord::kMaxFrames);
    for (uint32_t i = 0; i < count; ++i)
    {
        uint64_t pc = record.frames[i];
        std::optional<Platform::ModuleAddress> module = modules(pc);
        if (module && !module->symbol.empty())
            trace += FormatString("%016llX %s+%llX\r\n", static_cast<ULL>(pc), module->symbol.c_str(),
                                  static_cast<ULL>(module->displacement));
        else if (module)
            trace += FormatString("%016llX %s %s\r\n", static_cast<ULL>(pc), LogicalAddress(module).c_str(),
                                  CrashCatcher::GetFileNamePart(module->path).c_str());
        else
            trace += FormatString("%016llX %s\r\n", static_cast<ULL>(pc), LogicalAddress(module).c_str());
    }
    return trace;
}

// Six registers a line in the machine's order; RIP, RSP and RBP share a line, the segment
// registers another, the flags the last.
std::string CrashReport::Registers(const Platform::CrashRecord& record)
{
    Platform::RegisterNames names = Platform::CrashRegisterNames();
    size_t count = std::min<size_t>(names.count, record.registerCount);
    std::string text, line;
    std::string flags, segments;
    int onLine = 0;
    auto endLine = [&] {
        if (!line.empty())
            text += line + "\r\n";
        line.clear();
        onLine = 0;
    };
    for (size_t i = 0; i < count; ++i)
    {
        std::string name = names.names[i];
        ULL value = record.registers[i];
        if (name == "Flags")
            flags = FormatString("Flags:%08llX\r\n", value);
        else if (name == "CS" || name == "FS" || name == "GS")
            segments += (segments.empty() ? "" : " ") + FormatString("%s:%04llX", name.c_str(), value);
        else
        {
            if (name == "RIP" || onLine == 6)
                endLine();
            line += (line.empty() ? "" : name == "RBP" ? "  " : " ") + FormatString("%s:%016llX", name.c_str(), value);
            ++onLine;
        }
    }
    endLine();
    if (!segments.empty())
        text += segments + "\r\n";
    return text + flags;
}

std::string CrashReport::SystemInfoText()
{
    utsname system{};
    if (::uname(&system) != 0)
        return "System Ver: unknown\r\n";
    return FormatString("%s Ver: %s %s %s\r\n", system.sysname, system.release, system.version, system.machine);
}

CrashReport::Text CrashReport::Build(const Platform::CrashRecord& record, const ModuleResolver& modules,
                                     const std::string& systemInfo, const CrashAppInfo* application)
{
    Text out;
    // 1. What happened, where.
    out.report = HeaderLine(record);
    std::optional<Platform::ModuleAddress> module = modules(record.address);
    std::string logical = LogicalAddress(module);
    out.report += "Module: " + (module ? CrashCatcher::GetFileNamePart(module->path) : std::string()) + "\r\n";
    out.report += "Logical Address: " + logical + "\r\n\r\n";
    out.title = "Exception at " + logical;
    // 2. The stack and the registers.
    out.report += StackTrace(record, modules) + "\r\n";
    out.report += Registers(record) + "\r\n";
    // 3. The system, then the application's own information.
    out.report += systemInfo;
    if (application != nullptr && !application->crashInfo.empty())
        out.report += "\r\n" + application->crashInfo;
    return out;
}
} // namespace Quoll

// Registers of a signal context. Supports x86-64 Linux; on other machines only the stack is
// reported (registerCount stays 0).
#include "framework/platform/system/CrashRecord.h"

#include <ucontext.h>

namespace Quoll::Platform
{
#if defined(__x86_64__)
namespace
{
// The general registers in report order; RIP, RSP and RBP, then flags and segments last.
constexpr const char* kNames[] = {"RAX", "RBX", "RCX", "RDX", "RSI", "RDI", "R8",  "R9",  "R10",   "R11", "R12",
                                  "R13", "R14", "R15", "RIP", "RSP", "RBP", "Flags", "CS", "FS", "GS"};
constexpr int kGregs[] = {REG_RAX, REG_RBX, REG_RCX, REG_RDX, REG_RSI, REG_RDI, REG_R8,  REG_R9,  REG_R10, REG_R11,
                          REG_R12, REG_R13, REG_R14, REG_R15, REG_RIP, REG_RSP, REG_RBP, REG_EFL};
static_assert(sizeof(kNames) / sizeof(kNames[0]) <= CrashRecord::kMaxRegisters);
} // namespace

RegisterNames CrashRegisterNames() { return {kNames, sizeof(kNames) / sizeof(kNames[0])}; }

void ReadSignalContext(const void* signalContext, CrashRecord& record)
{
    const auto* context = static_cast<const ucontext_t*>(signalContext);
    const greg_t* gregs = context->uc_mcontext.gregs;
    size_t count = 0;
    for (int reg : kGregs)
        record.registers[count++] = static_cast<uint64_t>(gregs[reg]);
    // CSGSFS packs CS, GS and FS in 16-bit parts, lowest first.
    uint64_t segments = static_cast<uint64_t>(gregs[REG_CSGSFS]);
    record.registers[count++] = segments & 0xFFFF;
    record.registers[count++] = (segments >> 32) & 0xFFFF;
    record.registers[count++] = (segments >> 16) & 0xFFFF;
    record.registerCount = static_cast<uint32_t>(count);
    record.address = static_cast<uint64_t>(gregs[REG_RIP]);
}
#else
RegisterNames CrashRegisterNames() { return {nullptr, 0}; }

void ReadSignalContext(const void*, CrashRecord& record) { record.registerCount = 0; }
#endif
} // namespace Quoll::Platform

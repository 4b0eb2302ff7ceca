#pragma once
// What a crashing process knows about its crash, gathered inside the signal handler with
// async-signal-safe calls only and handed byte for byte to the reporter process: the signal,
// the exception code it stands for, the faulting instruction, the registers and the stack.
#include <cstddef>
#include <cstdint>

namespace Quoll::Platform
{
struct CrashRecord
{
    static constexpr uint32_t kMagic = 0x51435231; // "QCR1"
    static constexpr int kMaxFrames = 64;
    static constexpr int kMaxRegisters = 24;

    uint32_t magic = kMagic;
    int32_t signal = 0;
    int32_t signalCode = 0; // si_code
    uint32_t exceptionCode = 0;
    uint64_t address = 0; // the faulting instruction
    uint64_t dataAddress = 0; // si_addr
    uint32_t threadId = 0;
    int32_t processId = 0;
    uint32_t registerCount = 0; // 0: the machine's registers are not known
    uint64_t registers[kMaxRegisters] = {};
    uint32_t frameCount = 0;
    uint64_t frames[kMaxFrames] = {}; // return addresses, the faulting frame first
};

// The register names of the record's registers, in order (x86-64; empty elsewhere).
struct RegisterNames
{
    const char* const* names;
    size_t count;
};
RegisterNames CrashRegisterNames();

// Fills the faulting instruction and the registers from a signal handler's context
// (async-signal-safe).
void ReadSignalContext(const void* signalContext, CrashRecord& record);
} // namespace Quoll::Platform

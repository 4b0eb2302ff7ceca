// The crashing side of the crash catcher: signal handlers on an alternate stack, the
// terminate handler for uncaught exceptions, and the hand-off to the reporter process.
// Everything the handler touches before and after the application's part is async-signal-safe:
// fixed buffers prepared at installation, socketpair, a bare fork, execve, send, alarm, waitpid.
// The application's part is not, and may never end; an alarm bounds it.
#include "framework/crash/CrashCatcher.h"

#include "framework/crash/CrashReportSource.h"
#include "framework/crash/CrashReporter.h"
#include "framework/platform/system/CrashRecord.h"
#include "framework/platform/system/ProgramInfo.h"
#include "framework/platform/system/Thread.h"

#include <execinfo.h>
#include <fcntl.h>
#include <setjmp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <exception>

extern char** environ;

// Present in sanitizer builds only: called when a sanitizer ends the process after its report.
extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace Quoll::CrashCatcher
{
namespace
{
constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGTRAP, SIGABRT};
constexpr int kSignalCount = sizeof(kSignals) / sizeof(kSignals[0]);
constexpr size_t kAltStackSize = 256 * 1024; // room for sanitizer-sized frames
constexpr uint32_t kUncaughtExceptionCode = 0xE06D7363;
constexpr uint32_t kAbortCode = 0x40000015;
// The application's part may never end: a crash inside a display call leaves the display
// connection locked, one inside the allocator its lock. It gets this long; then the crash path
// goes on without it, well before the reporter stops waiting for it.
constexpr unsigned kApplicationPartSeconds = 3;
static_assert(kApplicationPartSeconds * 1000 * 2 < CrashReporter::kApplicationPartMilliseconds);

struct ExceptionNameEntry
{
    uint32_t code;
    const char* name;
};
constexpr ExceptionNameEntry kExceptionNames[] = {
    {0x40000005, "Segment Notification"}, {0x80000003, "Breakpoint"},
    {0x80000004, "Single step"},          {0x00000000, "Wait 0"},
    {0x00000080, "Abandoned Wait 0"},     {0x000000C0, "User APC"},
    {0x00000102, "Timeout"},              {0x00000103, "Pending"},
    {0x80000001, "Guard Page Violation"}, {0x80000002, "Data Type Misalignment"},
    {0xC0000005, "Access Violation"},     {0xC0000006, "In Page Error"},
    {0xC0000017, "No Memory"},            {0xC000001D, "Illegal Instruction"},
    {0xC0000025, "Noncontinuable Exception"}, {0xC0000026, "Invalid Disposition"},
    {0xC000008C, "Array Bounds Exceeded"}, {0xC000008D, "Float Denormal Operand"},
    {0xC000008E, "Divide by Zero"},       {0xC000008F, "Float Inexact Result"},
    {0xC0000090, "Float Invalid Operation"}, {0xC0000091, "Float Overflow"},
    {0xC0000092, "Float Stack Check"},    {0xC0000093, "Float Underflow"},
    {0xC0000094, "Integer Divide by Zero"}, {0xC0000095, "Integer Overflow"},
    {0xC0000096, "Privileged Instruction"}, {0xC00000FD, "Stack Overflow"},
    {0xC000013A, "Ctrl+C Exit"},          {kAbortCode, "Abort"},
};

// Everything the handler needs, prepared before any crash.
struct State
{
    std::atomic<bool> installed{false};
    std::atomic<uint32_t> handlingThread{0}; // the thread writing a report, 0 when none
    std::atomic<bool> uncaughtException{false};
    std::atomic<bool> sanitizerEnding{false}; // a sanitizer reported and is aborting
    std::atomic<pid_t> reporter{0}; // the running reporter, 0 when none
    std::atomic<bool> applicationPartRunning{false}; // the escape below may be taken
    sigjmp_buf applicationPartEscape;
    std::atomic<CrashReportSource*> source{nullptr};
    std::atomic<ReportSourceMaker> fallbackSource{nullptr};
    struct sigaction previous[kSignalCount] = {};
    std::terminate_handler previousTerminate = nullptr;
    stack_t previousStack = {};
    void* altStack = nullptr;
    char program[PATH_MAX] = {};
    char submitHost[256] = {};
    char fdText[16] = {};
    char* argv[5] = {};
};
State gState;

void CopyText(char* to, size_t capacity, const std::string& text)
{
    size_t length = std::min(capacity - 1, text.size());
    std::memcpy(to, text.data(), length);
    to[length] = '\0';
}

// Decimal digits without the C library's formatter.
void FormatFd(int fd, char* out)
{
    char digits[16];
    int count = 0;
    do
    {
        digits[count++] = static_cast<char>('0' + fd % 10);
        fd /= 10;
    } while (fd > 0 && count < 15);
    for (int i = 0; i < count; ++i)
        out[i] = digits[count - 1 - i];
    out[count] = '\0';
}

// Sends never raise SIGPIPE: a reporter that could not start must not change the signal
// the process ends by.
void WriteAll(int fd, const void* data, size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    while (size > 0)
    {
        ssize_t n = ::send(fd, bytes, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        bytes += n;
        size -= static_cast<size_t>(n);
    }
}

// The stack from the faulting frame on: the unwinder also lists the handler's own frames.
void CaptureStack(Platform::CrashRecord& record)
{
    void* frames[Platform::CrashRecord::kMaxFrames + 8];
    int count = ::backtrace(frames, Platform::CrashRecord::kMaxFrames + 8);
    int first = 0;
    for (int i = 0; i < count; ++i)
        if (reinterpret_cast<uint64_t>(frames[i]) == record.address)
        {
            first = i;
            break;
        }
    for (int i = first; i < count && record.frameCount < Platform::CrashRecord::kMaxFrames; ++i)
        record.frames[record.frameCount++] = reinterpret_cast<uint64_t>(frames[i]);
}

// The application's part; not async-signal-safe, so it comes after the core was sent.
void SendApplicationPart(int fd)
{
    CrashReportSource* source = gState.source.load();
    std::unique_ptr<CrashReportSource> appSource;
    if (ReportSourceMaker maker = gState.fallbackSource.load(); source == nullptr && maker != nullptr)
    {
        appSource = maker();
        source = appSource.get();
    }
    if (source == nullptr)
        return;
    std::string bytes = source->Gather().Serialize();
    WriteAll(fd, bytes.data(), bytes.size());
}

// SIGALRM: the application's part ran out of time. The timer's signal goes to any thread that
// does not block it; another thread passes it on to the reporting one, which leaves the part.
void EndApplicationPart(int)
{
    if (!gState.applicationPartRunning.load())
        return;
    const uint32_t reporting = gState.handlingThread.load();
    if (Platform::CurrentThreadId() != reporting)
    {
        const int savedErrno = errno;
        ::syscall(SYS_tgkill, ::getpid(), reporting, SIGALRM);
        errno = savedErrno;
        return;
    }
    gState.applicationPartRunning = false;
    ::siglongjmp(gState.applicationPartEscape, 1);
}

// The application's part under a time limit: an alarm, whose handler jumps back here when the
// part has not ended by then. The frames it leaves are never resumed, and what follows the part
// is async-signal-safe. The handler stays installed: a late SIGALRM is ignored, not fatal.
void SendApplicationPartInTime(int fd)
{
    struct sigaction action = {};
    action.sa_handler = EndApplicationPart;
    action.sa_flags = SA_ONSTACK | SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGALRM, &action, nullptr);
    sigset_t alarmSignal;
    sigemptyset(&alarmSignal);
    sigaddset(&alarmSignal, SIGALRM);
    ::pthread_sigmask(SIG_UNBLOCK, &alarmSignal, nullptr); // the crashed thread may have blocked it
    if (sigsetjmp(gState.applicationPartEscape, 1) == 0)
    {
        gState.applicationPartRunning = true;
        ::alarm(kApplicationPartSeconds);
        SendApplicationPart(fd);
    }
    gState.applicationPartRunning = false;
    ::alarm(0);
}

// Everything above the standard streams but `keep` is closed: the reporter needs none of the
// crashed process's files, sockets or devices (many are not close-on-exec).
void CloseInheritedDescriptors(int keep)
{
    auto closeRange = [](unsigned first, unsigned last) {
        if (first > last || ::syscall(SYS_close_range, first, last, 0) == 0)
            return;
        struct rlimit limit = {};
        unsigned end = ::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
                           ? static_cast<unsigned>(std::min<rlim_t>(limit.rlim_cur, 1u << 20))
                           : 1u << 16;
        for (unsigned fd = first; fd <= last && fd < end; ++fd)
            ::close(static_cast<int>(fd));
    };
    const unsigned kept = static_cast<unsigned>(keep);
    if (kept > 3)
        closeRange(3, kept - 1);
    closeRange(std::max(kept + 1, 3u), ~0u);
}

// The reporter starts with no signal blocked and the close signals at their default, whatever
// the crashing thread had: SIGTERM and SIGINT must be able to end it. A crashed program that is
// killed while its reporter runs takes the reporter with it.
void ResetSignalsForReporter(pid_t crashed)
{
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != crashed)
        ::_exit(0);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    for (int signal : {SIGTERM, SIGINT, SIGPIPE})
        ::sigaction(signal, &action, nullptr);
}

// SIGTERM or SIGINT while the reporter runs: the reporter ends, and then the crashed process
// by its original signal.
void EndReporter(int)
{
    if (pid_t reporter = gState.reporter.load(); reporter > 0)
        ::kill(reporter, SIGTERM);
}

void PassCloseSignalsToReporter(pid_t reporter)
{
    gState.reporter = reporter;
    CrashReporter::HandleCloseSignals(&EndReporter);
}

// Starts the reporter with one end of a socket pair, sends it the record and the
// application's part, and waits until it has finished.
void HandOffToReporter(const Platform::CrashRecord& record)
{
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
        return;
    FormatFd(fds[0], gState.fdText);
    const pid_t crashed = ::getpid();
    // A bare fork: no fork handlers run, so no lock the crash may hold is taken.
    pid_t child = static_cast<pid_t>(::syscall(SYS_clone, SIGCHLD, 0, 0, 0, 0));
    if (child == 0)
    {
        ::fcntl(fds[0], F_SETFD, 0); // the reporter inherits the read end only
        CloseInheritedDescriptors(fds[0]);
        ResetSignalsForReporter(crashed);
        ::execve(gState.program, gState.argv, environ);
        ::_exit(127);
    }
    ::close(fds[0]);
    if (child > 0)
    {
        PassCloseSignalsToReporter(child);
        WriteAll(fds[1], &record, sizeof(record));
        SendApplicationPartInTime(fds[1]);
    }
    ::close(fds[1]);
    int status = 0;
    while (child > 0 && ::waitpid(child, &status, 0) < 0 && errno == EINTR)
    {
    }
}

void EndBySignal(int signal)
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    ::sigaction(signal, &action, nullptr);
    ::raise(signal); // delivered when the handler returns: the signal is blocked until then
}

void HandleSignal(int signal, siginfo_t* info, void* context)
{
    // A sanitizer's abort after its own report is the sanitizer's to tell.
    if (signal == SIGABRT && gState.sanitizerEnding.load())
    {
        EndBySignal(signal);
        return;
    }
    // 1. One report at a time: a second fault on the reporting thread ends the process, other
    //    threads wait for the report to finish.
    uint32_t self = Platform::CurrentThreadId();
    uint32_t expected = 0;
    if (!gState.handlingThread.compare_exchange_strong(expected, self))
    {
        if (expected == self)
            EndBySignal(signal);
        else
            for (;;)
                ::pause();
        return;
    }
    // 2. Gather with async-signal-safe calls only.
    Platform::CrashRecord record;
    record.signal = signal;
    record.signalCode = info->si_code;
    record.dataAddress = reinterpret_cast<uint64_t>(info->si_addr);
    record.exceptionCode = ExceptionCodeOfSignal(signal, info->si_code, gState.uncaughtException.load());
    record.threadId = self;
    record.processId = ::getpid();
    Platform::ReadSignalContext(context, record);
    CaptureStack(record);
    // 3. The reporter does the rest; then the process ends by the original signal.
    HandOffToReporter(record);
    EndBySignal(signal);
}

void NoteSanitizerEnding() { gState.sanitizerEnding = true; }

[[noreturn]] void HandleTerminate()
{
    gState.uncaughtException = true;
    std::abort();
}
} // namespace

void Install()
{
    if (gState.installed.exchange(true))
        return;
    // The exit-time destructor gives the previous handlers back. Made at the first installation,
    // it runs before the destructors of what was made before it, after those of what came later.
    static const struct UninstallAtExit
    {
        ~UninstallAtExit() { Uninstall(); }
    } uninstallAtExit;
    // 1. What the handler will need: the reporter's command line and an alternate stack.
    if (gState.program[0] == '\0')
        CopyText(gState.program, sizeof(gState.program), Platform::ProgramPath());
    if (const char* host = std::getenv("QUOLL_CRASH_SUBMIT_HOST"); host != nullptr && gState.submitHost[0] == '\0')
        CopyText(gState.submitHost, sizeof(gState.submitHost), host);
    gState.argv[0] = gState.program;
    gState.argv[1] = const_cast<char*>(kReporterOption);
    gState.argv[2] = gState.fdText;
    gState.argv[3] = gState.submitHost;
    void* warmUp[1];
    ::backtrace(warmUp, 1); // loads the unwinder now, not inside the handler
    gState.altStack = std::malloc(kAltStackSize);
    stack_t stack = {};
    stack.ss_sp = gState.altStack;
    stack.ss_size = kAltStackSize;
    ::sigaltstack(&stack, &gState.previousStack);
    // 2. The handlers.
    struct sigaction action = {};
    action.sa_sigaction = HandleSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < kSignalCount; ++i)
        ::sigaction(kSignals[i], &action, &gState.previous[i]);
    gState.previousTerminate = std::set_terminate(HandleTerminate);
    if (__sanitizer_set_death_callback != nullptr)
        __sanitizer_set_death_callback(&NoteSanitizerEnding);
}

void Uninstall()
{
    if (!gState.installed.exchange(false))
        return;
    for (int i = 0; i < kSignalCount; ++i)
        ::sigaction(kSignals[i], &gState.previous[i], nullptr);
    std::set_terminate(gState.previousTerminate);
    if (__sanitizer_set_death_callback != nullptr)
        __sanitizer_set_death_callback(nullptr);
    ::sigaltstack(&gState.previousStack, nullptr);
    std::free(gState.altStack);
    gState.altStack = nullptr;
}

bool IsInstalled() { return gState.installed.load(); }

void SetSubmitHost(const std::string& host) { CopyText(gState.submitHost, sizeof(gState.submitHost), host); }

std::string GetSubmitHost() { return gState.submitHost; }

void SetReporterProgram(const std::string& path)
{
    CopyText(gState.program, sizeof(gState.program), path.empty() ? Platform::ProgramPath() : path);
}

void SetReportSource(CrashReportSource* source) { gState.source = source; }
void SetFallbackReportSource(ReportSourceMaker maker) { gState.fallbackSource = maker; }

__attribute__((no_sanitize("undefined"))) void ForceCrashReport()
{
    volatile int* nowhere = nullptr;
    *nowhere = 0;
    std::abort(); // not reached
}

void SetReportWindows(CrashWindowsRunner runner) { CrashReporter::SetWindows(runner); }

bool RunReporterIfRequested(int argc, char** argv, int& exitCode)
{
    if (argc < 3 || std::strcmp(argv[1], kReporterOption) != 0)
        return false;
    CrashReporter reporter(std::atoi(argv[2]), argc > 3 ? argv[3] : "");
    exitCode = reporter.Run();
    return true;
}

bool ParseHex(const std::string& text, uint32_t& value)
{
    value = 0;
    for (char c : text)
    {
        uint32_t digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<uint32_t>(c - '0');
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<uint32_t>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<uint32_t>(c - 'a' + 10);
        else
            return false;
        value = value * 16 + digit;
    }
    return true;
}

std::string GetFileNamePart(const std::string& path)
{
    size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

uint32_t ExceptionCodeOfSignal(int signal, int signalCode, bool uncaughtException)
{
    switch (signal)
    {
    case SIGSEGV: return 0xC0000005;
    case SIGBUS: return signalCode == BUS_ADRALN ? 0x80000002 : 0xC0000006;
    case SIGILL: return signalCode == ILL_PRVOPC || signalCode == ILL_PRVREG ? 0xC0000096 : 0xC000001D;
    case SIGTRAP: return signalCode == TRAP_TRACE ? 0x80000004 : 0x80000003;
    case SIGABRT: return uncaughtException ? kUncaughtExceptionCode : kAbortCode;
    case SIGFPE:
        switch (signalCode)
        {
        case FPE_INTDIV: return 0xC0000094;
        case FPE_INTOVF: return 0xC0000095;
        case FPE_FLTDIV: return 0xC000008E;
        case FPE_FLTOVF: return 0xC0000091;
        case FPE_FLTUND: return 0xC0000093;
        case FPE_FLTRES: return 0xC000008F;
        case FPE_FLTSUB: return 0xC000008C;
        default: return 0xC0000090;
        }
    default: return 0xFFFFFFFF;
    }
}

const char* ExceptionName(uint32_t code)
{
    for (const ExceptionNameEntry& entry : kExceptionNames)
        if (entry.code == code)
            return entry.name;
    return nullptr;
}
} // namespace Quoll::CrashCatcher

#pragma once
// The crash catcher: turns a fault anywhere in the process (segmentation fault, bus error,
// illegal instruction, arithmetic error, trap, abort, and C++ exceptions nobody caught) into
// a crash report.
//
// Inside the signal handler, on an alternate stack, only async-signal-safe calls gather the
// signal, the faulting instruction, the registers and the stack; that record goes through a
// pipe to a reporter process (the program given to SetReporterProgram, by default this
// program itself, started with the reporter option). The reporter stands in for the crashing
// thread, which cannot safely draw: it inherits only that pipe and the standard streams, with
// no signal blocked. Then the application is asked for its part (CrashReportSource), for a few
// seconds at most: a crash inside a display call or the allocator may leave that part waiting
// for ever, and the process goes on without it. The reporter writes "crash.txt", shows the
// report and uploads it on request; once it has finished, the crashing process ends by its
// original signal. SIGTERM or SIGINT to the crashed process meanwhile ends the reporter, and so
// both; killing the crashed process ends the reporter.
//
// In sanitizer builds an abort that a sanitizer raises after its own report (an address error,
// a leak) is left to the sanitizer: it ends the process without a crash report.
//
// A program that installs the catcher starts with RunReporterIfRequested in its main, after
// SetReportWindows when it can show the report's windows.
#include "framework/crash/CrashWindowRequest.h"

#include <cstdint>
#include <memory>
#include <string>

namespace Quoll
{
class CrashReportSource;

namespace CrashCatcher
{
// The command-line option that starts a program as the reporter.
inline constexpr const char* kReporterOption = "--quoll-crash-reporter";

// Installs the handlers (once; later calls do nothing); Uninstall gives back the previous ones,
// and an exit-time destructor calls it when the program ends (returning from main or `exit`).
// The submit host defaults to the environment's QUOLL_CRASH_SUBMIT_HOST.
void Install();
void Uninstall();
bool IsInstalled();

// The report server: "host" or "host:port"; empty (the default) offers no upload.
void SetSubmitHost(const std::string& host);
std::string GetSubmitHost();
// The program started as the reporter (this program when empty).
void SetReporterProgram(const std::string& path);
// The application's part of the report. The source must outlive the catcher's installation.
void SetReportSource(CrashReportSource* source);
// Makes the application's part when no source was set (the application object installs one);
// the maker may return null.
using ReportSourceMaker = std::unique_ptr<CrashReportSource> (*)();
void SetFallbackReportSource(ReportSourceMaker maker);

// For the "-crash" option: a fault at this point, as if the program had one.
[[noreturn]] void ForceCrashReport();

// The reporter's windows; without them the reporter writes "crash.txt" and ends.
void SetReportWindows(CrashWindowsRunner runner);

// When argv holds the reporter option: runs the reporter, sets the exit code and returns
// true. Otherwise returns false at once.
bool RunReporterIfRequested(int argc, char** argv, int& exitCode);

// --- Helpers of the report text -------------------------------------------------------------
// Each character 0-9, A-F or a-f; empty gives 0 and true; anything else false.
bool ParseHex(const std::string& text, uint32_t& value);
// The part after the last '\' or '/'; the whole path when it holds neither.
std::string GetFileNamePart(const std::string& path);
// The exception code a signal stands for (si_code tells the kinds of arithmetic errors,
// bus errors and traps apart); an abort after an uncaught C++ exception has its own code.
uint32_t ExceptionCodeOfSignal(int signal, int signalCode, bool uncaughtException);
// The name of an exception code; null when the table does not know it.
const char* ExceptionName(uint32_t code);
} // namespace CrashCatcher
} // namespace Quoll

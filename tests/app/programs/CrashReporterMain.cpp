// The crash reporter alone: what a program that installs the crash catcher runs when it is
// started with the reporter option. The crash tests start it in place of the test program.
#include "framework/crash/CrashCatcher.h"

#include <cstdio>

int main(int argc, char** argv)
{
    int exitCode = 0;
    if (Quoll::CrashCatcher::RunReporterIfRequested(argc, argv, exitCode))
        return exitCode;
    std::fprintf(stderr, "usage: %s %s <pipe fd> [submit host]\n", argv[0], Quoll::CrashCatcher::kReporterOption);
    return 2;
}

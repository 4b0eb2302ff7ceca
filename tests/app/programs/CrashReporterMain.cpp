// The crash reporter alone, with its windows: what a program that installs the crash catcher
// runs when it is started with the reporter option. The crash tests start it in place of the
// test program. With QUOLL_TEST_REPORTER_FDS naming a file it first lists there the file
// descriptors it was started with, one a line.
#include "framework/crash/CrashCatcher.h"
#include "framework/crashwindows/CrashWindows.h"

#include <dirent.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace
{
// Listed before the list's own file is opened.
void ListDescriptors(const char* path)
{
    std::string list;
    if (DIR* folder = ::opendir("/proc/self/fd"))
    {
        const int own = ::dirfd(folder);
        while (const dirent* entry = ::readdir(folder))
            if (entry->d_name[0] != '.' && std::atoi(entry->d_name) != own)
                list += std::string(entry->d_name) + "\n";
        ::closedir(folder);
    }
    std::ofstream(path) << list;
}
} // namespace

int main(int argc, char** argv)
{
    if (const char* path = std::getenv("QUOLL_TEST_REPORTER_FDS"))
        ListDescriptors(path);
    Quoll::CrashCatcher::SetReportWindows(&Quoll::CrashWindows::Show);
    int exitCode = 0;
    if (Quoll::CrashCatcher::RunReporterIfRequested(argc, argv, exitCode))
        return exitCode;
    std::fprintf(stderr, "usage: %s %s <pipe fd> [submit host]\n", argv[0], Quoll::CrashCatcher::kReporterOption);
    return 2;
}

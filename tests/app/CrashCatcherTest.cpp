// Death tests of the crash catcher: a null write, an integer division by zero, abort() and
// an uncaught exception each leave "crash.txt" with the right first line (written by the
// reporter process, here the helper program quoll_crash_reporter) and end the process by the
// original signal. The reporter shows its crash window for a forced crash, inherits only its
// pipe, and in sanitizer builds a sanitizer's own report ends the process without one. The
// handlers are given back when the program exits.
//
// Sanitizers: ASan keeps its own SEGV/BUS/FPE handlers only until ours are installed (its
// allow_user_segv_handler is on by default), so the test environment needs no option; the
// faulting functions are built without UBSan, which would otherwise stop them first.
// Rerun one case: test_app --gtest_filter='CrashCatcherDeath.NullWrite*'
#include "framework/crash/CrashCatcher.h"
#include "framework/crash/CrashReportSource.h"
#include "framework/crash/CrashReporter.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>

#include <chrono>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace
{
class TestSource : public Quoll::CrashReportSource
{
public:
    Quoll::CrashAppInfo Gather() override
    {
        Quoll::CrashAppInfo info;
        info.product = "CrashTest";
        info.version = "9.9";
        info.crashInfo = "Product: CrashTest\r\nVersion: 9.9\r\n";
        return info;
    }
};
TestSource gSource;

__attribute__((noinline, no_sanitize("undefined", "address"))) void NullWrite()
{
    volatile int* nowhere = nullptr;
    *nowhere = 1;
}

volatile int gZero = 0;
__attribute__((noinline, no_sanitize("undefined"))) void DivideByZero()
{
    volatile int result = 10 / gZero;
    (void)result;
}

void Abort() { std::abort(); }

void ThrowUncaught()
{
    std::thread([] { throw std::runtime_error("nobody catches this"); }).join();
}

void CrashWithCatcher(void (*fault)(), const char* reporter = QUOLL_CRASH_REPORTER)
{
    Quoll::CrashCatcher::SetReporterProgram(reporter);
    Quoll::CrashCatcher::SetSubmitHost("");
    Quoll::CrashCatcher::SetReportSource(&gSource);
    Quoll::CrashCatcher::Install();
    fault();
}

// Each case runs in a folder of its own, where the reporter writes "crash.txt".
class CrashCatcherDeath : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mOldFolder = std::filesystem::current_path();
        mFolder = std::filesystem::temp_directory_path() /
                  ("crashcatcher_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(mFolder);
        std::filesystem::current_path(mFolder);
    }
    void TearDown() override
    {
        std::filesystem::current_path(mOldFolder);
        std::filesystem::remove_all(mFolder);
    }
    std::string CrashText()
    {
        std::ifstream in(mFolder / "crash.txt", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string FirstLine()
    {
        std::string text = CrashText();
        return text.substr(0, text.find("\r\n"));
    }

    std::filesystem::path mOldFolder, mFolder;
};
} // namespace

TEST_F(CrashCatcherDeath, NullWriteIsAnAccessViolation)
{
    EXPECT_EXIT(CrashWithCatcher(NullWrite), ::testing::KilledBySignal(SIGSEGV), "");
    EXPECT_TRUE(FirstLine().starts_with("Exception: Access Violation (code 0xc0000005) at address ")) << CrashText();
    std::string text = CrashText();
    EXPECT_NE(text.find("\r\nModule: "), std::string::npos);
    EXPECT_NE(text.find("NullWrite"), std::string::npos) << "the stack names the faulting function";
    EXPECT_NE(text.find("RIP:"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\r\nProduct: CrashTest\r\nVersion: 9.9\r\n\n")) << "application part, then one \\n";
}

TEST_F(CrashCatcherDeath, IntegerDivisionByZero)
{
    EXPECT_EXIT(CrashWithCatcher(DivideByZero), ::testing::KilledBySignal(SIGFPE), "");
    EXPECT_TRUE(FirstLine().starts_with("Exception: Integer Divide by Zero (code 0xc0000094) at address "))
        << CrashText();
}

TEST_F(CrashCatcherDeath, AbortIsReported)
{
    EXPECT_EXIT(CrashWithCatcher(Abort), ::testing::KilledBySignal(SIGABRT), "");
    EXPECT_TRUE(FirstLine().starts_with("Exception: Abort (code 0x40000015) at address ")) << CrashText();
}

TEST_F(CrashCatcherDeath, UncaughtExceptionIsReportedAndAborts)
{
    EXPECT_EXIT(CrashWithCatcher(ThrowUncaught), ::testing::KilledBySignal(SIGABRT), "");
    EXPECT_TRUE(FirstLine().starts_with("Unknown exception: (code 0xe06d7363) at address ")) << CrashText();
}

TEST_F(CrashCatcherDeath, ForcedCrashReportIsAnAccessViolation)
{
    EXPECT_EXIT(CrashWithCatcher([] { Quoll::CrashCatcher::ForceCrashReport(); }), ::testing::KilledBySignal(SIGSEGV),
                "");
    EXPECT_TRUE(FirstLine().starts_with("Exception: Access Violation (code 0xc0000005)")) << CrashText();
}

TEST_F(CrashCatcherDeath, ReporterThatCannotStartStillEndsByTheOriginalSignal)
{
    EXPECT_EXIT(CrashWithCatcher(NullWrite, "/nonexistent/reporter"), ::testing::KilledBySignal(SIGSEGV), "");
    EXPECT_FALSE(std::filesystem::exists(mFolder / "crash.txt"));
}

// The exit-time destructor gives the handlers back: a fault in a destructor that runs after it
// (of an object made before the installation) is no crash report, only the signal's own end.
struct AbortAtExit
{
    ~AbortAtExit() { Abort(); }
};

void InstallAndExit()
{
    static AbortAtExit abortAtExit; // made first, so destroyed after the catcher's exit destructor
    Quoll::CrashCatcher::SetReporterProgram(QUOLL_CRASH_REPORTER);
    Quoll::CrashCatcher::SetSubmitHost("");
    Quoll::CrashCatcher::SetReportSource(&gSource);
    Quoll::CrashCatcher::Install();
    std::exit(0);
}

TEST_F(CrashCatcherDeath, TheHandlersAreGivenBackAtExit)
{
    EXPECT_EXIT(InstallAndExit(), ::testing::KilledBySignal(SIGABRT), "");
    EXPECT_FALSE(std::filesystem::exists(mFolder / "crash.txt")) << CrashText();
    // The same abort before the exit is reported.
    EXPECT_EXIT(CrashWithCatcher(Abort), ::testing::KilledBySignal(SIGABRT), "");
    EXPECT_TRUE(std::filesystem::exists(mFolder / "crash.txt"));
}

// --- What the reporter is given ---------------------------------------------------------------

TEST_F(CrashCatcherDeath, ForcedCrashBringsUpTheCrashWindowInTheReporter)
{
    // The headless desktop's user presses Close Now.
    const std::string script = (mFolder / "input.script").string();
    std::ofstream(script) << "mouse move 300 280\nmouse down left 300 280\nmouse up left 300 280\n";
    EXPECT_EXIT(
        {
            ::setenv(Quoll::CrashReporter::kScriptVariable, script.c_str(), 1);
            CrashWithCatcher([] { Quoll::CrashCatcher::ForceCrashReport(); });
        },
        ::testing::KilledBySignal(SIGSEGV), "\"Fatal Error!\" shown at 64,64, 400 x 300");
    EXPECT_TRUE(FirstLine().starts_with("Exception: Access Violation")) << CrashText();
}

TEST_F(CrashCatcherDeath, TheCrashedProgramsOwnScriptDoesNotDriveTheReporter)
{
    const std::string script = (mFolder / "input.script").string();
    std::ofstream(script) << "at 60000\nexpose\n";
    EXPECT_EXIT(
        {
            ::setenv("QUOLL_HEADLESS_SCRIPT", script.c_str(), 1);
            CrashWithCatcher(NullWrite);
        },
        ::testing::KilledBySignal(SIGSEGV), "no one can answer");
}

namespace
{
bool Ended(pid_t process)
{
    std::ifstream stat("/proc/" + std::to_string(process) + "/stat");
    std::string pid, name, state;
    return !(stat >> pid >> name >> state) || state == "Z";
}

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

namespace
{
// A program that crashed and whose reporter shows its crash window (for a minute); null ids
// when the window did not come up.
struct CrashedProgram
{
    pid_t crashed = 0;
    pid_t reporter = 0;
};

CrashedProgram CrashWithWindowStanding(const std::filesystem::path& folder)
{
    const std::string script = (folder / "input.script").string(), log = (folder / "crashed.log").string();
    std::ofstream(script) << "at 60000\nexpose\n";
    CrashedProgram program;
    program.crashed = ::fork();
    if (program.crashed == 0)
    {
        ::dup2(::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        ::setenv(Quoll::CrashReporter::kScriptVariable, script.c_str(), 1);
        CrashWithCatcher(NullWrite);
        ::_exit(0);
    }
    for (int tries = 0; tries < 600 && ReadAll(log).find("shown at") == std::string::npos; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::ifstream(std::filesystem::path("/proc") / std::to_string(program.crashed) / "task" /
                  std::to_string(program.crashed) / "children") >>
        program.reporter;
    return program;
}

// Waits up to half a minute for the reporter to end; kills it when it does not.
bool ReporterEnds(pid_t reporter)
{
    for (int tries = 0; tries < 300 && !Ended(reporter); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (Ended(reporter))
        return true;
    ::kill(reporter, SIGKILL);
    return false;
}
} // namespace

TEST_F(CrashCatcherDeath, ReporterEndsWhenTheCrashedProgramIsKilled)
{
    const CrashedProgram program = CrashWithWindowStanding(mFolder);
    ::kill(program.crashed, SIGKILL);
    ::waitpid(program.crashed, nullptr, 0);
    ASSERT_GT(program.reporter, 0) << ReadAll(mFolder / "crashed.log");
    EXPECT_TRUE(ReporterEnds(program.reporter));
}

TEST_F(CrashCatcherDeath, CloseSignalToTheCrashedProgramEndsItAndItsReporter)
{
    const CrashedProgram program = CrashWithWindowStanding(mFolder);
    ::kill(program.crashed, SIGTERM);
    int status = 0;
    for (int tries = 0; tries < 300 && ::waitpid(program.crashed, &status, WNOHANG) != program.crashed; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (!WIFSIGNALED(status))
    {
        ::kill(program.crashed, SIGKILL);
        ::waitpid(program.crashed, nullptr, 0);
    }
    ASSERT_GT(program.reporter, 0) << ReadAll(mFolder / "crashed.log");
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGSEGV) << "status " << status;
    EXPECT_TRUE(ReporterEnds(program.reporter));
}

TEST_F(CrashCatcherDeath, ReporterInheritsOnlyItsPipeAndTheStandardStreams)
{
    constexpr int kOpenFile = 57;
    const std::string list = (mFolder / "fds.txt").string();
    EXPECT_EXIT(
        {
            // A file of the crashed program that is not close-on-exec.
            ::dup2(::open("/dev/null", O_RDONLY), kOpenFile);
            ::setenv("QUOLL_TEST_REPORTER_FDS", list.c_str(), 1);
            CrashWithCatcher(NullWrite);
        },
        ::testing::KilledBySignal(SIGSEGV), "");
    std::ifstream in(list);
    std::vector<int> fds;
    for (int fd; in >> fd;)
        fds.push_back(fd);
    EXPECT_EQ(fds.size(), 4u) << "0, 1, 2 and the pipe";
    EXPECT_EQ(std::count(fds.begin(), fds.end(), kOpenFile), 0);
}

#if defined(__SANITIZE_ADDRESS__)
__attribute__((noinline)) void OverflowTheHeap()
{
    volatile char* block = new char[4];
    block[8] = 1;
    delete[] block;
}

// With abort_on_error the sanitizer ends by SIGABRT, without it by exit code 1: either way
// after its own report and with no crash report.
TEST_F(CrashCatcherDeath, SanitizerReportIsLeftToTheSanitizer)
{
    auto endedBySanitizer = [](int status) {
        return (WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT) || (WIFEXITED(status) && WEXITSTATUS(status) == 1);
    };
    EXPECT_EXIT(CrashWithCatcher(OverflowTheHeap), endedBySanitizer, "AddressSanitizer: heap-buffer-overflow");
    EXPECT_FALSE(std::filesystem::exists(mFolder / "crash.txt"));
}
#endif

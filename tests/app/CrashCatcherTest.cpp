// Death tests of the crash catcher: a null write, an integer division by zero, abort() and
// an uncaught exception each leave "crash.txt" with the right first line (written by the
// reporter process, here the helper program quoll_crash_reporter) and end the process by the
// original signal.
//
// Sanitizers: ASan keeps its own SEGV/BUS/FPE handlers only until ours are installed (its
// allow_user_segv_handler is on by default), so the test environment needs no option; the
// faulting functions are built without UBSan, which would otherwise stop them first.
// Rerun one case: test_app --gtest_filter='CrashCatcherDeath.NullWrite*'
#include "framework/crash/CrashCatcher.h"
#include "framework/crash/CrashReportSource.h"

#include <gtest/gtest.h>

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

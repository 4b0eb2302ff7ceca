// The stopwatch, the profiler's report format and nesting, and the leak report's layout.
#include "framework/core/HiResTimer.h"
#include "framework/core/LeakTracker.h"
#include "framework/core/Profiler.h"
#include "framework/platform/system/Clock.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace Quoll;

TEST(HiResTimer, RunningDurationKeepsRunning)
{
    HiResTimer timer;
    EXPECT_EQ(timer.GetDuration(), 0.0);
    timer.Start();
    Platform::SleepMilliseconds(2);
    const double first = timer.GetDuration();
    EXPECT_GT(first, 0.0);
    Platform::SleepMilliseconds(1);
    EXPECT_GT(timer.GetDuration(), first) << "still running";
    timer.Stop();
    const double stopped = timer.GetDuration();
    Platform::SleepMilliseconds(1);
    EXPECT_EQ(timer.GetDuration(), stopped);
}

TEST(Profiler, EmptyRunReportsOnlyTheTotal)
{
    Profiler::Start();
    EXPECT_TRUE(Profiler::IsActive());
    Profiler::Stop();
    EXPECT_FALSE(Profiler::IsActive());
    const std::string text = Profiler::GetResults();
    EXPECT_EQ(text.rfind("Total Time: ", 0), 0u);
    EXPECT_EQ(text.find('\n'), text.size() - 1);
    EXPECT_GT(Profiler::GetCPUSpeed(), 0u);
}

TEST(Profiler, NestedCallsOfOneSectionCountOnce)
{
    Profiler::AddSample("ignored", true); // no run: not recorded
    Profiler::Start();
    {
        ProfileScope outer("Draw");
        ProfileScope inner("draw"); // same section, case ignored
    }
    {
        ProfileScope again("Update");
    }
    Profiler::Stop();
    const std::string text = Profiler::GetResults();
    EXPECT_NE(text.find("Draw (2 calls, %"), std::string::npos) << text;
    EXPECT_NE(text.find("Update (1 calls, %"), std::string::npos) << text;
    EXPECT_EQ(text.find("ignored"), std::string::npos);
    EXPECT_LT(text.find("Draw"), text.find("Update"));
}

TEST(LeakTracker, ReportLayout)
{
#ifdef QUOLL_LEAK_TRACKING
    GTEST_SKIP() << "every allocation is tracked in this build, so the totals are not fixed";
#endif
    LeakTracker& tracker = LeakTracker::Instance();
    const std::string path = std::string(QUOLL_BINARY_DIR) + "/mem_leaks_test.txt";
    int a = 0, b = 0;
    tracker.Record(&a, 1, "a.cpp", 10);
    tracker.Record(&b, 2048, "b.cpp", 20);
    ASSERT_TRUE(tracker.WriteReport(path));
    tracker.Forget(&a);
    tracker.Forget(&b);

    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    const std::string report = text.str();
    EXPECT_EQ(report.rfind("Memory Leak Report for ", 0), 0u);
    EXPECT_NE(report.find("a.cpp(10) : Leak 1 byte\n"), std::string::npos) << report;
    EXPECT_NE(report.find("b.cpp(20) : Leak 2048 bytes\n"), std::string::npos);
    EXPECT_NE(report.find(std::string(59, '-') + "\nTotal Unfreed: 2049 bytes (2KB)\n\n"), std::string::npos);

    ASSERT_TRUE(tracker.WriteReport(path));
    std::ifstream again(path);
    std::stringstream empty;
    empty << again.rdbuf();
    EXPECT_NE(empty.str().find("Total Unfreed: 0 bytes (0KB)"), std::string::npos);
}

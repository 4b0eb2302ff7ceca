// Stresses the fake clock that tests put behind the free clock functions: sleeping
// advances it exactly, the tick wraps at 2^32, and the previous clock comes back.
// Rerun one case: test_platform --gtest_filter='Clock.*'
#include "framework/platform/system/Clock.h"

#include <gtest/gtest.h>

namespace Quoll::Platform
{
static_assert(!std::is_copy_constructible_v<ScopedClock>);

TEST(Clock, FakeClockAdvancesOnlyWhenSleptOrAdvanced)
{
    FakeClock clock(5'000'000); // 5 ms
    EXPECT_EQ(clock.TickCount(), 5u);
    EXPECT_EQ(clock.TickCount(), 5u);
    clock.Sleep(10);
    EXPECT_EQ(clock.TickCount(), 15u);
    EXPECT_EQ(clock.PerformanceCounter(), 15'000'000);
    EXPECT_EQ(clock.PerformanceFrequency(), 1'000'000'000);
    clock.AdvanceNanoseconds(999'999);
    EXPECT_EQ(clock.TickCount(), 15u);
    EXPECT_EQ(clock.SleepCount(), 1u);
    EXPECT_EQ(clock.SleptMilliseconds(), 10u);
}

TEST(Clock, TickWrapsAtTwoToTheThirtyTwo)
{
    FakeClock clock((uint64_t(1) << 32) * 1'000'000 - 3'000'000); // 3 ms before the wrap
    uint32_t before = clock.TickCount();
    EXPECT_EQ(before, 0xFFFFFFFDu);
    clock.Sleep(5);
    uint32_t after = clock.TickCount();
    EXPECT_EQ(after, 2u);
    EXPECT_EQ(after - before, 5u); // unsigned differences stay right across the wrap
}

TEST(Clock, ScopedClockRoutesTheFreeFunctionsAndRestores)
{
    uint32_t realBefore = TickCount();
    {
        FakeClock fake(42'000'000);
        ScopedClock scope(fake);
        EXPECT_EQ(TickCount(), 42u);
        SleepMilliseconds(1000); // returns at once
        EXPECT_EQ(TickCount(), 1042u);
        EXPECT_EQ(PerformanceCounter(), 1'042'000'000);
        EXPECT_EQ(fake.SleptMilliseconds(), 1000u);
    }
    EXPECT_EQ(&CurrentClock() == nullptr, false);
    uint32_t realAfter = TickCount();
    EXPECT_LT(realAfter - realBefore, 60'000u); // the system clock again, not the fake one
}

TEST(Clock, SystemClockIsMonotonic)
{
    SystemClock clock;
    int64_t first = clock.PerformanceCounter();
    clock.Sleep(1);
    EXPECT_GE(clock.PerformanceCounter() - first, 1'000'000);
}
} // namespace Quoll::Platform

// Ratio reduction and the critical section's re-entrancy.
#include "framework/core/CriticalSection.h"
#include "framework/core/Ratio.h"

#include <gtest/gtest.h>

#include <thread>
#include <type_traits>

using namespace Quoll;

static_assert(!std::is_copy_constructible_v<CriticalSection>);

TEST(Ratio, Reduces)
{
    EXPECT_EQ(Ratio(640, 480), Ratio(4, 3));
    EXPECT_EQ(Ratio(1024, 768).mNumerator, 4);
    const Ratio byZero(5, 0);
    EXPECT_EQ(byZero.mNumerator, 1);
    EXPECT_EQ(byZero.mDenominator, 0);
    const Ratio negative(-4, 6);
    EXPECT_EQ(negative.mNumerator, -2);
    EXPECT_EQ(negative.mDenominator, 3);
    const Ratio none(0, 0);
    EXPECT_EQ(none.mNumerator, 0);
    EXPECT_EQ(none.mDenominator, 1);
    EXPECT_EQ(Ratio().mNumerator, 1);
}

TEST(CriticalSection, ReentrantAndExclusive)
{
    CriticalSection section;
    int counter = 0;
    {
        AutoCrit outer(section);
        AutoCrit inner(section); // the holder may enter again
        ++counter;
    }
    std::thread worker([&] {
        for (int i = 0; i < 10000; ++i)
        {
            AutoCrit lock(section);
            ++counter;
        }
    });
    for (int i = 0; i < 10000; ++i)
    {
        std::lock_guard lock(section);
        ++counter;
    }
    worker.join();
    EXPECT_EQ(counter, 20001);
}

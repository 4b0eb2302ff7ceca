// The drawing threads' band pool: every band of every run is drawn exactly once, also when runs
// of different band counts follow each other at once and workers wake late.
// Rerun: test_platform --gtest_filter='BandPool.*'
#include "framework/platform/video/BandPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>
#include <vector>

using namespace Quoll::Platform;

TEST(BandPool, EveryBandOfEveryRunIsDrawnOnce)
{
    BandPool pool(4);
    EXPECT_EQ(pool.Threads(), 4);
    for (int run = 0; run < 400; ++run)
    {
        const int bands = 1 + (run * 7) % 40;
        std::vector<std::atomic<int>> drawn(static_cast<size_t>(bands));
        pool.Run(bands, [&](int band) {
            ASSERT_GE(band, 0);
            ASSERT_LT(band, bands);
            if (band % 5 == 0)
                std::this_thread::yield();
            drawn[static_cast<size_t>(band)].fetch_add(1);
        });
        for (int band = 0; band < bands; ++band)
            ASSERT_EQ(drawn[static_cast<size_t>(band)].load(), 1) << "run " << run << " band " << band;
    }
}

// A round of few bands right after one of many, over and over: a worker still finishing the last
// round must not take a band of the next one (before the fix it did within seconds, drawing a
// band twice and leaving the caller waiting for ever). A watchdog ends the program rather than
// the suite's timeout.
TEST(BandPool, RoundsOfGrowingBandCountsNeverHangOrDrawABandTwice)
{
    std::promise<void> finished;
    std::thread watchdog([done = finished.get_future()] {
        if (done.wait_for(std::chrono::seconds(60)) != std::future_status::ready)
        {
            std::fputs("BandPool: a run never ended\n", stderr);
            std::_Exit(1);
        }
    });
    const auto runs = [] {
        BandPool pool(4);
        for (int run = 0; run < 100000; ++run)
        {
            const int bands = run % 2 == 0 ? 1 : 8;
            std::vector<std::atomic<int>> drawn(8);
            pool.Run(bands, [&](int band) { drawn[static_cast<size_t>(band) % 8].fetch_add(1); });
            for (int band = 0; band < 8; ++band)
                ASSERT_EQ(drawn[static_cast<size_t>(band)].load(), band < bands ? 1 : 0) << "run " << run;
        }
    };
    runs();
    finished.set_value();
    watchdog.join();
}

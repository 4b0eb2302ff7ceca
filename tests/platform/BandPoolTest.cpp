// The drawing threads' band pool: every band of every run is drawn exactly once, also when runs
// of different band counts follow each other at once and workers wake late.
// Rerun: test_platform --gtest_filter='BandPool.*'
#include "framework/platform/video/BandPool.h"

#include <gtest/gtest.h>

#include <atomic>
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

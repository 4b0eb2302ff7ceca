#include "framework/platform/video/BandPool.h"

namespace Quoll::Platform
{
BandPool::BandPool(int threads)
{
    for (int i = 1; i < threads; ++i)
        mWorkers.emplace_back([this] { WorkerLoop(); });
}

BandPool::~BandPool()
{
    {
        const std::lock_guard lock(mMutex);
        mStop = true;
    }
    mWake.notify_all();
    for (std::thread& worker : mWorkers)
        worker.join();
}

void BandPool::Run(int bands, const std::function<void(int)>& work)
{
    if (bands <= 0)
        return;
    uint64_t round = 0;
    {
        const std::lock_guard lock(mMutex);
        round = mRound.load() + 1;
        // Close the last round's ticket first: a worker still in that round holding a ticket with
        // every band taken would otherwise compare it with the new, larger band count and take a
        // band that is not there (drawn twice, the finished count past the end: a hang).
        mTicket.store(((round & 0xFFFFFFFFu) << 32) | kClosed);
        mWork = &work;
        mBands.store(bands);
        mFinished.store(0);
        mRound.store(round);
        mTicket.store((round & 0xFFFFFFFFu) << 32);
    }
    mWake.notify_all();
    RunBands(round);
    std::unique_lock lock(mMutex);
    mDone.wait(lock, [&] { return mFinished.load() == bands; });
}

void BandPool::RunBands(uint64_t round)
{
    const uint64_t tag = round & 0xFFFFFFFFu;
    for (;;)
    {
        uint64_t ticket = mTicket.load();
        do
        {
            if ((ticket >> 32) != tag || (ticket & 0xFFFFFFFFu) >= static_cast<uint64_t>(mBands.load()))
                return;
        } while (!mTicket.compare_exchange_weak(ticket, ticket + 1));
        // The round cannot end before this band is finished, so its work is still in place.
        (*mWork)(static_cast<int>(ticket & 0xFFFFFFFFu));
        if (mFinished.fetch_add(1) + 1 == mBands.load())
        {
            const std::lock_guard lock(mMutex);
            mDone.notify_all();
        }
    }
}

void BandPool::WorkerLoop()
{
    std::unique_lock lock(mMutex);
    uint64_t seen = 0;
    for (;;)
    {
        mWake.wait(lock, [&] { return mStop || mRound.load() != seen; });
        if (mStop)
            return;
        seen = mRound.load();
        lock.unlock();
        RunBands(seen);
        lock.lock();
    }
}
} // namespace Quoll::Platform

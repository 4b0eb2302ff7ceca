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
    std::unique_lock lock(mMutex);
    mWork = &work;
    mBands = bands;
    mNext = 0;
    mFinished = 0;
    ++mRound;
    mWake.notify_all();
    RunBands(lock);
    mDone.wait(lock, [this] { return mFinished == mBands; });
    mWork = nullptr;
}

void BandPool::RunBands(std::unique_lock<std::mutex>& lock)
{
    while (mNext < mBands)
    {
        const int band = mNext++;
        const std::function<void(int)>& work = *mWork;
        lock.unlock();
        work(band);
        lock.lock();
        if (++mFinished == mBands)
            mDone.notify_all();
    }
}

void BandPool::WorkerLoop()
{
    std::unique_lock lock(mMutex);
    uint64_t seen = 0;
    for (;;)
    {
        mWake.wait(lock, [&] { return mStop || mRound != seen; });
        if (mStop)
            return;
        seen = mRound;
        RunBands(lock);
    }
}
} // namespace Quoll::Platform

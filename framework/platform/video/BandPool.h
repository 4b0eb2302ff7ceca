#pragma once
// A persistent pool of worker threads for drawing a frame in bands: Run(bands, work) calls
// work(band) once for every band, on the workers and on the calling thread, and returns when
// all of them are done.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace Quoll::Platform
{
class BandPool
{
public:
    // threads counts the calling thread: 1 starts no worker.
    explicit BandPool(int threads);
    ~BandPool();
    BandPool(const BandPool&) = delete;
    BandPool& operator=(const BandPool&) = delete;

    [[nodiscard]] int Threads() const { return static_cast<int>(mWorkers.size()) + 1; }
    void Run(int bands, const std::function<void(int)>& work);

private:
    void WorkerLoop();
    // Runs unclaimed bands of the current round until none is left; the lock is held on entry
    // and on return.
    void RunBands(std::unique_lock<std::mutex>& lock);

    std::mutex mMutex;
    std::condition_variable mWake, mDone;
    std::vector<std::thread> mWorkers;
    const std::function<void(int)>* mWork = nullptr;
    int mBands = 0, mNext = 0, mFinished = 0;
    uint64_t mRound = 0;
    bool mStop = false;
};
} // namespace Quoll::Platform

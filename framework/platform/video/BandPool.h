#pragma once
// A persistent pool of worker threads for drawing a frame in bands: Run(bands, work) calls
// work(band) once for every band, on the workers and on the calling thread, and returns when
// all of them are done. Between runs the workers sleep; within a run they take bands without a
// lock (a ticket of the round and the next band, taken by compare-and-swap), so a frame costs
// one wake-up of each worker and no lock per band.
#include <atomic>
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
    // Runs unclaimed bands of the round until none is left; a worker that wakes late finds its
    // round over and takes nothing.
    void RunBands(uint64_t round);

    std::mutex mMutex;
    std::condition_variable mWake, mDone;
    std::vector<std::thread> mWorkers;
    // Set before a round's ticket is published; constant until all its bands are finished.
    const std::function<void(int)>* mWork = nullptr;
    std::atomic<int> mBands{0}, mFinished{0};
    // The round's low 32 bits above the next band; kClosed as the band while a round is set up.
    static constexpr uint64_t kClosed = 0xFFFFFFFFu;
    std::atomic<uint64_t> mTicket{0};
    std::atomic<uint64_t> mRound{0};
    bool mStop = false;
};
} // namespace Quoll::Platform

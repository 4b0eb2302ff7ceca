#pragma once
// The thread that keeps the mixer's streams decoded ahead. Each pass tops up, one block at a
// time, every stream whose ring has at least a block (or a quarter ring) free; between passes
// it sleeps a short while when a stream plays, and until woken when none does. Decoding holds
// the feeder's lock only, which the audio thread never takes.
//
// Without a thread (an offline mixer, which renders on request) streams are filled by the
// renderer on demand instead, so what is rendered never depends on timing.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace Quoll::Platform
{
class MixerStream;

class StreamFeeder
{
public:
    static constexpr uint32_t kBlockFrames = 4096;

    StreamFeeder() = default;
    ~StreamFeeder();
    StreamFeeder(const StreamFeeder&) = delete;
    StreamFeeder& operator=(const StreamFeeder&) = delete;

    // Off: streams are filled only through FillNow. Set before the first stream.
    void SetThreaded(bool threaded);
    bool IsThreaded() const { return mThreaded.load(std::memory_order_relaxed); }

    void Add(MixerStream* stream);
    // After it returns the feeder no longer touches the stream.
    void Remove(MixerStream* stream);
    void Wake();
    // Decodes up to `frames` frames into the stream's ring now, on the calling thread.
    uint32_t FillNow(MixerStream& stream, uint32_t frames);
    // Held while a stream's source is moved.
    std::mutex& SourceLock() { return mLock; }

private:
    void Run();
    bool FillPass(bool& anyActive); // true when some stream took frames

    std::mutex mLock;
    std::condition_variable mWakeUp;
    std::vector<MixerStream*> mStreams;
    std::thread mThread;
    uint64_t mWakeCount = 0;
    bool mStopping = false;
    std::atomic<bool> mThreaded{true};
};
} // namespace Quoll::Platform

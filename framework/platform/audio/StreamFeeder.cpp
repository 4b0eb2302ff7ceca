// The feeder thread of the mixer's streams.
#include "framework/platform/audio/StreamFeeder.h"

#include "framework/platform/audio/MixerStream.h"

#include <algorithm>
#include <chrono>

namespace Quoll::Platform
{
namespace
{
constexpr auto kPlayingPollInterval = std::chrono::milliseconds(10);
} // namespace

StreamFeeder::~StreamFeeder()
{
    {
        std::lock_guard lock(mLock);
        mStopping = true;
    }
    mWakeUp.notify_all();
    if (mThread.joinable())
        mThread.join();
}

void StreamFeeder::SetThreaded(bool threaded)
{
    std::lock_guard lock(mLock);
    mThreaded = threaded;
}

void StreamFeeder::Add(MixerStream* stream)
{
    {
        std::lock_guard lock(mLock);
        mStreams.push_back(stream);
        ++mWakeCount;
        if (mThreaded && !mThread.joinable())
            mThread = std::thread([this] { Run(); });
    }
    mWakeUp.notify_all();
}

void StreamFeeder::Remove(MixerStream* stream)
{
    std::lock_guard lock(mLock);
    std::erase(mStreams, stream);
}

void StreamFeeder::Wake()
{
    {
        std::lock_guard lock(mLock);
        ++mWakeCount;
    }
    mWakeUp.notify_all();
}

uint32_t StreamFeeder::FillNow(MixerStream& stream, uint32_t frames)
{
    std::lock_guard lock(mLock);
    return stream.Fill(frames);
}

bool StreamFeeder::FillPass(bool& anyActive)
{
    bool filled = false;
    for (MixerStream* stream : mStreams)
    {
        anyActive = anyActive || stream->IsActive();
        const uint32_t threshold = std::min(kBlockFrames, stream->GetRingFrames() / 4);
        if (stream->FreeFrames() >= std::max(threshold, 1u))
            filled = stream->Fill(kBlockFrames) > 0 || filled;
    }
    return filled;
}

void StreamFeeder::Run()
{
    std::unique_lock lock(mLock);
    while (!mStopping)
    {
        bool anyActive = false;
        if (FillPass(anyActive))
        {
            // Let a waiting move or removal in between blocks.
            lock.unlock();
            std::this_thread::yield();
            lock.lock();
            continue;
        }
        const uint64_t seen = mWakeCount;
        const auto woken = [&] { return mStopping || mWakeCount != seen; };
        if (anyActive)
            mWakeUp.wait_for(lock, kPlayingPollInterval, woken);
        else
            mWakeUp.wait(lock, woken);
    }
}
} // namespace Quoll::Platform

#pragma once
// Threads of the application (loading, cursor, transfers) and their priorities.
#include <cstdint>
#include <functional>
#include <thread>

namespace Quoll::Platform
{
enum class ThreadPriority
{
    Normal,
    AboveNormal,
    Highest,
};

// A joinable thread, joined when the object goes (move-only).
class Thread
{
public:
    Thread() = default;
    explicit Thread(std::function<void()> body) : mThread(std::move(body)) {}
    Thread(Thread&&) noexcept = default;
    Thread& operator=(Thread&& other) noexcept;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    ~Thread() { Join(); }

    bool Joinable() const { return mThread.joinable(); }
    void Join();

private:
    std::thread mThread;
};

// Sets the calling thread's priority. Raising it usually needs privileges: a refusal is
// logged once and false returned, and the thread carries on at its old priority.
bool SetCurrentThreadPriority(ThreadPriority priority);
// The priority last set successfully on the calling thread.
ThreadPriority CurrentThreadPriority();
// The kernel's id of the calling thread (never 0).
uint32_t CurrentThreadId();
} // namespace Quoll::Platform

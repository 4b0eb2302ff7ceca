// Threads over std::thread; priorities as nice values of the calling thread (Linux
// schedules threads individually, so setpriority on the thread id affects that thread).
// Limits: raising a priority needs CAP_SYS_NICE or a raised RLIMIT_NICE; without them the
// refusal is logged once and the thread keeps its priority.
#include "framework/platform/system/PlatformLog.h"
#include "framework/platform/system/Thread.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace Quoll::Platform
{
namespace
{
thread_local ThreadPriority tPriority = ThreadPriority::Normal;
std::atomic<bool> gRefusalLogged{false};

int NiceValue(ThreadPriority priority)
{
    switch (priority)
    {
    case ThreadPriority::Normal: return 0;
    case ThreadPriority::AboveNormal: return -5;
    case ThreadPriority::Highest: return -10;
    }
    return 0;
}
} // namespace

Thread& Thread::operator=(Thread&& other) noexcept
{
    if (this != &other)
    {
        Join();
        mThread = std::move(other.mThread);
    }
    return *this;
}

void Thread::Join()
{
    if (mThread.joinable() && mThread.get_id() != std::this_thread::get_id())
        mThread.join();
}

bool SetCurrentThreadPriority(ThreadPriority priority)
{
    if (setpriority(PRIO_PROCESS, static_cast<id_t>(CurrentThreadId()), NiceValue(priority)) != 0)
    {
        if (!gRefusalLogged.exchange(true))
            LogLine("Thread", std::string("priority change refused (") + std::strerror(errno) +
                                  "); running at the normal priority");
        return false;
    }
    tPriority = priority;
    return true;
}

ThreadPriority CurrentThreadPriority() { return tPriority; }

uint32_t CurrentThreadId() { return static_cast<uint32_t>(syscall(SYS_gettid)); }
} // namespace Quoll::Platform

// Global new/delete that record every allocation in the leak tracker. Compiled in only when
// the build sets QUOLL_LEAK_TRACKING (a Debug aid: Release builds never pay for it).
#ifdef QUOLL_LEAK_TRACKING
#include "framework/core/LeakTracker.h"

#include <cstdlib>
#include <new>

namespace
{
// The tracker's own table allocates: those allocations are not tracked.
thread_local bool tInsideTracker = false;

void* TrackedAlloc(std::size_t size)
{
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr)
        throw std::bad_alloc();
    if (!tInsideTracker)
    {
        tInsideTracker = true;
        Quoll::LeakTracker::Instance().Record(p, static_cast<int32_t>(size), "operator new", 0);
        tInsideTracker = false;
    }
    return p;
}

void TrackedFree(void* p) noexcept
{
    if (p == nullptr)
        return;
    if (!tInsideTracker)
    {
        tInsideTracker = true;
        Quoll::LeakTracker::Instance().Forget(p);
        tInsideTracker = false;
    }
    std::free(p);
}
} // namespace

namespace Quoll
{
void InstallLeakHooks() {}
} // namespace Quoll

void* operator new(std::size_t size) { return TrackedAlloc(size); }
void* operator new[](std::size_t size) { return TrackedAlloc(size); }
void operator delete(void* p) noexcept { TrackedFree(p); }
void operator delete[](void* p) noexcept { TrackedFree(p); }
void operator delete(void* p, std::size_t) noexcept { TrackedFree(p); }
void operator delete[](void* p, std::size_t) noexcept { TrackedFree(p); }
#endif

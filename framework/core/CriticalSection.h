#pragma once
// A lock that the thread holding it may enter again, guarding an owner's shared data.
// Usable with std::lock_guard / std::scoped_lock, or through AutoCrit.
#include <mutex>

namespace Quoll
{
class CriticalSection
{
public:
    CriticalSection() = default;
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter() { mMutex.lock(); }
    void Leave() { mMutex.unlock(); }
    bool TryEnter() { return mMutex.try_lock(); }

    // BasicLockable, so standard guards work.
    void lock() { Enter(); }
    void unlock() { Leave(); }
    bool try_lock() { return TryEnter(); }

private:
    std::recursive_mutex mMutex;
};

// Holds a critical section for the lifetime of a scope.
class AutoCrit
{
public:
    explicit AutoCrit(CriticalSection& section) : mSection(section) { mSection.Enter(); }
    ~AutoCrit() { mSection.Leave(); }
    AutoCrit(const AutoCrit&) = delete;
    AutoCrit& operator=(const AutoCrit&) = delete;

private:
    CriticalSection& mSection;
};
} // namespace Quoll

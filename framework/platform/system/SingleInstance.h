#pragma once
// The program-wide named mutex that keeps a second copy of the program from running.
// The name is held by a listening socket in the abstract namespace, which the kernel
// releases when the process ends, however it ends: nothing stale is left after a crash.
// A second copy that finds the name taken can send the running copy a notify (a
// registered message's name with wParam and lParam); the running copy's handler gets it
// on a listener thread and normally posts it to its windows.
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace Quoll::Platform
{
enum class InstanceState
{
    Owner, // this process holds the name
    TakenByOther, // another process holds it
    Failed, // the socket could not be made; treated as "not taken"
};

class SingleInstance
{
public:
    using NotifyHandler = std::function<void(std::string_view messageName, uintptr_t wParam, intptr_t lParam)>;

    // Tries to take the name at once.
    explicit SingleInstance(std::string name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    InstanceState State() const { return mState; }
    // The name was already held by another process (the "already exists" answer).
    bool AlreadyExists() const { return mState == InstanceState::TakenByOther; }
    const std::string& Name() const { return mName; }

    // Owner: called on the listener thread for each notify. Notifies that arrived before
    // a handler was set are handed to it at once.
    void SetNotifyHandler(NotifyHandler handler);

    // Second copy: sends a notify to the process holding the name; false when none does
    // or it could not be reached.
    bool NotifyOwner(std::string_view messageName, uintptr_t wParam, intptr_t lParam) const;

    // Whether a process (this one included) holds the name, asked without taking it and without
    // reaching the holder, which hears nothing; false when it cannot be told.
    static bool IsTaken(const std::string& name);

private:
    struct Notify
    {
        std::string messageName;
        uintptr_t wParam;
        intptr_t lParam;
    };

    void Listen();
    void Deliver(Notify notify);

    std::string mName;
    InstanceState mState = InstanceState::Failed;
    int mSocket = -1;
    int mStopPipe[2] = {-1, -1};
    std::thread mListener;
    std::mutex mMutex;
    NotifyHandler mHandler;
    std::vector<Notify> mPending;
};
} // namespace Quoll::Platform

#pragma once
// States::BaseState: one state of a stack machine. It belongs to one host for its whole life,
// has a name (for the flow log) and hooks that the host calls in a fixed order:
//   push:   the old top's OnPause, then the new state's OnEnter;
//   pop:    the top's OnExit, then the new top's OnResume;
//   change: the old top's OnExit, then the new state's OnEnter (the state below is untouched).
// Update runs once per logic update on the top state only; OnLoadingCompleted reaches the top
// state when the loading thread's work has finished.
#include <string>

namespace States
{
class Host;

class BaseState
{
public:
    BaseState(Host& host, std::string name) : mHost(host), mName(std::move(name)) {}
    virtual ~BaseState() = default;
    BaseState(const BaseState&) = delete;
    BaseState& operator=(const BaseState&) = delete;

    [[nodiscard]] Host& GetHost() const { return mHost; }
    [[nodiscard]] const std::string& GetName() const { return mName; }
    [[nodiscard]] bool IsOnStack() const;

    // --- Hooks (called by the host) -------------------------------------------------------------
    virtual void OnEnter() {}
    virtual void OnExit() {}
    virtual void OnPause() {}
    virtual void OnResume() {}
    virtual void Update() {}
    virtual void OnLoadingCompleted() {}

    // Called by the host after OnExit, once the state is off the stack: releases what the state
    // must never keep while it is not on the stack.
    virtual void AfterExit() {}

protected:
    // Requests to the host.
    void PushState(BaseState& state);
    void PopState();
    void ChangeState(BaseState& state);

private:
    Host& mHost;
    std::string mName;
};
} // namespace States

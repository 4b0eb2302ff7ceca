#pragma once
// StateHost: the game's state machine. It keeps the stack of states (the bottom one is the
// game's root state), runs the top state's update once per logic update, hands the loading
// thread's completion to the top state and carries the commands of the states' widgets to
// their handlers, writing each push, pop, change and command to the flow log.
//
// Requests made while a hook, an update, a command handler or a completion runs wait in order
// and are carried out once that call has returned, one after the other; a request made from
// outside any of them (the application pushing the root state) is carried out at once. Each
// request is checked when it is carried out: a state of another host, a push or change to a
// state already on the stack, and a pop or change on an empty stack are refused with a line on
// the "WARNING" log. The host does not own its states.
#include "game/shell/FlowLog.h"
#include "game/shell/StatesHost.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <vector>

class WidgetLink;

class StateHost final : public States::Host
{
public:
    // Writes to the game log.
    StateHost() = default;
    explicit StateHost(FlowLog log) : mLog(std::move(log)) {}
    StateHost(const StateHost&) = delete;
    StateHost& operator=(const StateHost&) = delete;

    // --- States::Host -----------------------------------------------------------------------------
    void PushState(States::BaseState& state) override;
    void PopState() override;
    void ChangeState(States::BaseState& state) override;
    [[nodiscard]] States::BaseState* GetTopState() const override;
    [[nodiscard]] bool IsOnStack(const States::BaseState& state) const override;
    [[nodiscard]] std::size_t GetDepth() const { return mStack.size(); }

    // --- From the application ---------------------------------------------------------------------
    // One logic update: counts it, then updates the top state.
    void Update();
    // The loading thread's work has finished (picked up on the main thread): tells the top state.
    void LoadingCompleted();
    // At shutdown: takes every state off, top first, with its exit hook and without resuming the
    // ones below; requests made meanwhile are dropped.
    void ExitAll();
    // Logic updates counted so far (0 before the first).
    [[nodiscard]] int GetUpdateNumber() const { return mUpdateNumber; }

    // --- From the links ---------------------------------------------------------------------------
    // A command of a link's widget: logged, then handled by the link unless the link's state is
    // not on the stack (then it is dropped with a warning).
    void DeliverCommand(WidgetLink& link, int command, int argument);

private:
    struct Request
    {
        enum class Kind
        {
            Push,
            Pop,
            Change
        };
        Kind kind;
        States::BaseState* state; // null for a pop
    };

    void Ask(Request request);
    // Runs a call during which requests wait; carries them out when the outermost call returns.
    void Dispatch(const std::function<void()>& call);
    void CarryOutWaiting();
    void CarryOut(const Request& request);
    void DoPush(States::BaseState& state);
    void DoPop();
    void DoChange(States::BaseState& state);
    // Takes the top state off with its exit hooks.
    void ExitTop();
    [[nodiscard]] bool CanEnter(const States::BaseState& state, const char* what) const;

    FlowLog mLog;
    std::vector<States::BaseState*> mStack;
    std::deque<Request> mWaiting;
    int mDepth = 0;
    int mUpdateNumber = 0;
};

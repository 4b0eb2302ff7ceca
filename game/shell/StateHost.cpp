#include "game/shell/StateHost.h"

#include "game/shell/BaseState.h"
#include "game/shell/WidgetLink.h"

#include <algorithm>

void StateHost::PushState(States::BaseState& state)
{
    Ask({Request::Kind::Push, &state});
}

void StateHost::PopState()
{
    Ask({Request::Kind::Pop, nullptr});
}

void StateHost::ChangeState(States::BaseState& state)
{
    Ask({Request::Kind::Change, &state});
}

States::BaseState* StateHost::GetTopState() const
{
    return mStack.empty() ? nullptr : mStack.back();
}

bool StateHost::IsOnStack(const States::BaseState& state) const
{
    return std::find(mStack.begin(), mStack.end(), &state) != mStack.end();
}

void StateHost::Update()
{
    ++mUpdateNumber;
    if (States::BaseState* top = GetTopState())
        Dispatch([top] { top->Update(); });
}

void StateHost::LoadingCompleted()
{
    if (States::BaseState* top = GetTopState())
        Dispatch([top] { top->OnLoadingCompleted(); });
}

void StateHost::ExitAll()
{
    ++mDepth;
    while (!mStack.empty())
    {
        mLog.Pop(mUpdateNumber, mStack.back()->GetName());
        ExitTop();
    }
    mWaiting.clear();
    --mDepth;
}

void StateHost::DeliverCommand(WidgetLink& link, int command, int argument)
{
    if (!IsOnStack(link))
    {
        mLog.Warning("Command " + std::to_string(command) + " for state " + link.GetName() +
                     ", which is not on the stack, dropped");
        return;
    }
    mLog.Command(mUpdateNumber, link.GetName(), command, argument);
    Dispatch([&link, command, argument] { link.OnCommand(command, argument); });
}

void StateHost::Ask(Request request)
{
    mWaiting.push_back(request);
    if (mDepth == 0)
        CarryOutWaiting();
}

void StateHost::Dispatch(const std::function<void()>& call)
{
    ++mDepth;
    call();
    --mDepth;
    if (mDepth == 0)
        CarryOutWaiting();
}

void StateHost::CarryOutWaiting()
{
    // Hooks run while a request is carried out may ask for more; those join the queue.
    ++mDepth;
    while (!mWaiting.empty())
    {
        const Request request = mWaiting.front();
        mWaiting.pop_front();
        CarryOut(request);
    }
    --mDepth;
}

void StateHost::CarryOut(const Request& request)
{
    switch (request.kind)
    {
    case Request::Kind::Push:
        DoPush(*request.state);
        break;
    case Request::Kind::Pop:
        DoPop();
        break;
    case Request::Kind::Change:
        DoChange(*request.state);
        break;
    }
}

bool StateHost::CanEnter(const States::BaseState& state, const char* what) const
{
    if (&state.GetHost() != this)
    {
        mLog.Warning(std::string("Refused ") + what + " of state " + state.GetName() + ": it belongs to another host");
        return false;
    }
    if (IsOnStack(state))
    {
        mLog.Warning(std::string("Refused ") + what + " of state " + state.GetName() + ": it is already on the stack");
        return false;
    }
    return true;
}

void StateHost::DoPush(States::BaseState& state)
{
    if (!CanEnter(state, "push"))
        return;
    mLog.Push(mUpdateNumber, state.GetName());
    if (States::BaseState* below = GetTopState())
        below->OnPause();
    mStack.push_back(&state);
    state.OnEnter();
}

void StateHost::DoPop()
{
    if (mStack.empty())
    {
        mLog.Warning("Refused pop: the state stack is empty");
        return;
    }
    mLog.Pop(mUpdateNumber, mStack.back()->GetName());
    ExitTop();
    if (States::BaseState* top = GetTopState())
        top->OnResume();
}

void StateHost::DoChange(States::BaseState& state)
{
    if (mStack.empty())
    {
        mLog.Warning("Refused change to state " + state.GetName() + ": the state stack is empty");
        return;
    }
    // The top state may change to itself: it leaves and enters again.
    States::BaseState* old = mStack.back();
    if (&state != old && !CanEnter(state, "change"))
        return;
    mLog.Change(mUpdateNumber, old->GetName(), state.GetName());
    ExitTop();
    mStack.push_back(&state);
    state.OnEnter();
}

void StateHost::ExitTop()
{
    States::BaseState* top = mStack.back();
    top->OnExit();
    mStack.pop_back();
    top->AfterExit();
}

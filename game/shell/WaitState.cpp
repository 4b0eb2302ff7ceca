#include "game/shell/WaitState.h"

WaitState::WaitState(StateHost& host, std::string name, WidgetFactory factory)
    : WidgetLink(host, std::move(name)), mFactory(std::move(factory))
{
}

WaitState::WaitState(StateHost& host, std::string name, GameState& next, WidgetFactory factory)
    : WidgetLink(host, std::move(name)), mFactory(std::move(factory)), mNext(&next)
{
}

void WaitState::OnEnter()
{
    mResult.reset();
    WidgetLink::OnEnter();
}

BaseWidget* WaitState::CreateWidget()
{
    return mFactory ? mFactory() : nullptr;
}

void WaitState::OnCommand(int command, int argument)
{
    // A widget may send more than one command before the change takes effect; only the first
    // one decides, so the state is never popped twice.
    if (mResult)
        return;
    mResult = Result{command, argument};
    if (mNext != nullptr)
        ChangeState(*mNext);
    else
        PopState();
}

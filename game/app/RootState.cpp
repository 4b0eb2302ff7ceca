#include "game/app/RootState.h"

RootState::RootState(StateHost& host, std::function<void()> requestShutdown)
    : GameState(host, kName), mRequestShutdown(std::move(requestShutdown))
{
}

void RootState::OnEnter()
{
    if (mFirst != nullptr)
        PushState(*mFirst);
}

void RootState::OnResume()
{
    if (mRequestShutdown)
        mRequestShutdown();
}

#include "game/shell/BaseState.h"

#include "game/shell/StatesHost.h"

namespace States
{
bool BaseState::IsOnStack() const
{
    return mHost.IsOnStack(*this);
}

void BaseState::PushState(BaseState& state)
{
    mHost.PushState(state);
}

void BaseState::PopState()
{
    mHost.PopState();
}

void BaseState::ChangeState(BaseState& state)
{
    mHost.ChangeState(state);
}
} // namespace States

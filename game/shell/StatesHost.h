#pragma once
// States::Host: what a state may ask of the machine that runs it. A state never changes the
// stack itself: it asks its host, which decides when the change takes effect (a change asked
// for inside a hook, an update or a command handler waits until that call has returned).
namespace States
{
class BaseState;

class Host
{
public:
    virtual ~Host() = default;

    // Puts the state on top; the state below is paused.
    virtual void PushState(BaseState& state) = 0;
    // Takes the top state off; the state below it is resumed.
    virtual void PopState() = 0;
    // Replaces the top state; the state below it is neither paused nor resumed.
    virtual void ChangeState(BaseState& state) = 0;

    // The state on top of the stack as it stands now (requests still waiting are not counted);
    // null when the stack is empty.
    [[nodiscard]] virtual BaseState* GetTopState() const = 0;
    [[nodiscard]] virtual bool IsOnStack(const BaseState& state) const = 0;
};
} // namespace States

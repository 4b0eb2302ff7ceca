#pragma once
// What a dialog tells its listener when one of its buttons is pressed or released, by the
// dialog's id and the button's id.
namespace Quoll
{
class DialogListener
{
public:
    virtual ~DialogListener() = default;

    virtual void DialogButtonPress(int dialogId, int buttonId) = 0;
    virtual void DialogButtonRelease(int dialogId, int buttonId) = 0;
};
} // namespace Quoll

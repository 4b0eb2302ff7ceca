#pragma once
// What a button tells its listener, by the button's integer id. Every call is empty here so a
// listener overrides only what it needs.
namespace Quoll
{
class ButtonListener
{
public:
    virtual ~ButtonListener() = default;

    virtual void ButtonPressCount(int id, int clickCount)
    {
        (void)clickCount;
        ButtonPress(id);
    }
    virtual void ButtonPress(int id) { (void)id; }
    virtual void ButtonRelease(int id) { (void)id; }
    virtual void ButtonHeldTick(int id) { (void)id; }
    virtual void ButtonMouseEnter(int id) { (void)id; }
    virtual void ButtonMouseLeave(int id) { (void)id; }
    virtual void ButtonMouseMove(int id, int x, int y)
    {
        (void)id;
        (void)x;
        (void)y;
    }
};
} // namespace Quoll

#pragma once
// What a checkbox tells its listener when it is checked or unchecked, by the checkbox's id.
namespace Quoll
{
class CheckboxListener
{
public:
    virtual ~CheckboxListener() = default;

    virtual void CheckboxChecked(int id, bool checked) = 0;
};
} // namespace Quoll

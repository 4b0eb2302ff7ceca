#pragma once
// What a slider tells its listener when the user changed its value (0 to 1), by the slider's id.
namespace Quoll
{
class SliderListener
{
public:
    virtual ~SliderListener() = default;

    virtual void SliderVal(int id, double value) = 0;
};
} // namespace Quoll

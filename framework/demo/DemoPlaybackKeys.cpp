#include "framework/demo/DemoPlaybackKeys.h"

#include <algorithm>

namespace Quoll
{
namespace
{
constexpr double kSpeedStep = 1.5;
// Playing time left before the end of the demo for the keys '4' to '9', in milliseconds.
constexpr int kTailMilliseconds[] = {120000, 90000, 60000, 30000, 10000, 5000};
} // namespace

DemoKeyAction HandleDemoPlaybackKey(char32_t key, DemoPlaybackControl& control, int updateCount, int demoLength,
                                    int frameTimeMs)
{
    const int frameTime = std::max(frameTimeMs, 1);
    switch (key)
    {
    case U'+': control.speedFactor *= kSpeedStep; return DemoKeyAction::Handled;
    case U'-': control.speedFactor /= kSpeedStep; return DemoKeyAction::Handled;
    case U'=': control.speedFactor = 1.0; return DemoKeyAction::Handled;
    case U'0': control.fastForwardTarget = demoLength; return DemoKeyAction::Handled;
    case U'4':
    case U'5':
    case U'6':
    case U'7':
    case U'8':
    case U'9':
        control.fastForwardTarget = demoLength - kTailMilliseconds[key - U'4'] / frameTime;
        return DemoKeyAction::Handled;
    case U'n':
    case U'N':
        control.fastForwardTarget = updateCount + 1;
        control.fastForwardStep = true;
        return DemoKeyAction::Handled;
    case U'm':
    case U'M': control.fastForwardToEnd = true; return DemoKeyAction::Handled;
    case U'p':
    case U'P': control.paused = !control.paused; return DemoKeyAction::PauseToggled;
    case U'j':
    case U'J': return DemoKeyAction::JumpToTime;
    case U'l':
    case U'L': return DemoKeyAction::MarkerList;
    case U's':
    case U'S': return DemoKeyAction::ToggleSound;
    default: return DemoKeyAction::None;
    }
}
} // namespace Quoll

#pragma once
// The demo navigation dialogs as the application reaches them. The application sits below the
// widgets: main, the game and the tests install an implementation built from widgets
// (QuollAppBase::SetDemoDialogs); without one, 'j' and 'l' during playback are only logged.
#include "framework/demo/DemoNavigation.h"
#include "framework/platform/window/WindowMessages.h"

#include <string>
#include <vector>

namespace Quoll
{
class Image;

// Modal UI that the application runs in a nested loop (QuollAppBase::RunModal) until it has
// finished: it receives the live input and draws over each frame. No update runs meanwhile, as
// with a system dialog that holds the window procedure.
class AppModalClient
{
public:
    virtual ~AppModalClient() = default;
    [[nodiscard]] virtual bool Finished() const = 0;
    // Keys, characters, mouse moves, buttons and the wheel, with the window's message numbers.
    virtual void Input(uint32_t message, Platform::WParam wParam, Platform::LParam lParam) = 0;
    // Draws over the frame just drawn into the screen image, before it is shown.
    virtual void Draw(Image* screen) = 0;
};

class AppDemoDialogs
{
public:
    virtual ~AppDemoDialogs() = default;
    // The marker list: the chosen line's index, or -1 when it was closed without a choice.
    virtual int ChooseMarker(const std::vector<DemoMarkerLine>& lines) = 0;
    // The jump-to-time field, showing `text` all selected: true with the typed text on Ok.
    virtual bool AskJumpTime(std::string& text) = 0;
};
} // namespace Quoll

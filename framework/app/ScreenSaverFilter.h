#pragma once
// Screen-saver mode ("-screensaver"): the filter the window procedure asks first about every
// message. Swallowed system commands keep the screen saver in front; a key, a button, losing
// the activation, a close or the fourth mouse move to a new place ends it - except within the
// first second after the screen saver started, when activation changes, closes and mouse moves
// are ignored.
//
// The desktop offers no screen-saver password check here, so ending never asks for one.
#include "framework/platform/window/WindowMessages.h"

#include <cstdint>

namespace Quoll
{
class ScreenSaverFilter
{
public:
    enum class Verdict
    {
        PassOn,  // the window procedure handles the message as usual
        Swallow, // handled: the window procedure returns 0
        End,     // the screen saver ends: close the window, then handle the message as usual
    };

    // What the filter needs to know besides the message.
    struct Context
    {
        bool forMainWindow = true;   // false when the message is for another window of the app
        uint32_t msSinceStart = 0;   // since the first window was created
        int cursorX = 0, cursorY = 0; // the pointer's screen position now
    };

    Verdict Filter(uint32_t message, Platform::WParam wParam, const Context& context);

    [[nodiscard]] bool Closing() const { return mClosing; }
    [[nodiscard]] int MouseMoves() const { return mMouseMoves; }

private:
    Verdict End(uint32_t message, const Context& context);

    bool mClosing = false;     // the window was asked to close: nothing more is filtered
    bool mInitialised = false; // the first creation message was seen
    int mMouseMoves = 0;       // moves counted to a new position
    int mLastX = 0, mLastY = 0;
};
} // namespace Quoll

#pragma once
// Input as a back end reports it, before translation into window messages: the SDL back
// end converts its events into these, the headless back end reads them from a script.
#include <cstdint>
#include <optional>
#include <string>

namespace Quoll::Platform
{
enum class WindowId : uint32_t;

// The frame a window manager draws around a window's client area: its thickness on each side.
struct FrameExtents
{
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const FrameExtents&) const = default;
};

enum class InputKind : uint8_t
{
    KeyDown,
    KeyUp,
    Text, // typed text (UTF-8), after the keyboard layout and input method
    MouseMove,
    PointerLeft, // the pointer left the window
    MouseDown,
    MouseUp,
    Wheel,
    FocusGained,
    FocusLost,
    Minimised,
    Restored,
    Maximised,
    Moved, // x, y: the client area's new screen position; frame: the manager's, when known
    Exposed,
    DisplayChanged, // a monitor was added, removed or turned
    CloseRequested, // the window's close button
    Quit, // the session or a signal asks the program to end
};

// Modifier keys held, left and right apart.
enum KeyModifier : uint16_t
{
    ModLeftShift = 1 << 0,
    ModRightShift = 1 << 1,
    ModLeftCtrl = 1 << 2,
    ModRightCtrl = 1 << 3,
    ModLeftAlt = 1 << 4,
    ModRightAlt = 1 << 5,
};
inline constexpr uint16_t ModShift = ModLeftShift | ModRightShift;
inline constexpr uint16_t ModCtrl = ModLeftCtrl | ModRightCtrl;

enum class MouseButton : uint8_t
{
    None,
    Left,
    Middle,
    Right,
};

struct InputEvent
{
    InputKind kind = InputKind::MouseMove;
    WindowId window{}; // the window it happened in; 0 means the one with the focus
    // Keys: the unshifted symbol of the key in the current layout (a code point, 0 when
    // the key has none) and the USB HID usage of the physical key.
    uint32_t symbol = 0;
    uint16_t usage = 0;
    uint16_t modifiers = 0; // KeyModifier bits held at the time
    bool repeat = false;
    MouseButton button = MouseButton::None;
    int clicks = 1; // consecutive clicks of the same button (2 = double click)
    int x = 0, y = 0; // pointer in client coordinates (Moved: screen coordinates)
    int wheelNotches = 0; // positive away from the user
    std::string text;
    std::optional<FrameExtents> frame; // Moved: the frame around the window, once the manager has said
};

// USB HID usages of the keys the translation treats specially.
namespace HidUsage
{
inline constexpr uint16_t A = 4;
inline constexpr uint16_t Digit1 = 30;
inline constexpr uint16_t Digit0 = 39;
inline constexpr uint16_t Return = 40;
inline constexpr uint16_t Escape = 41;
inline constexpr uint16_t Backspace = 42;
inline constexpr uint16_t Tab = 43;
inline constexpr uint16_t Space = 44;
inline constexpr uint16_t F1 = 58;
inline constexpr uint16_t F12 = 69;
inline constexpr uint16_t F13 = 104;
inline constexpr uint16_t F24 = 115;
inline constexpr uint16_t LeftCtrl = 224;
inline constexpr uint16_t LeftShift = 225;
inline constexpr uint16_t LeftAlt = 226;
inline constexpr uint16_t RightCtrl = 228;
inline constexpr uint16_t RightShift = 229;
inline constexpr uint16_t RightAlt = 230;
} // namespace HidUsage
} // namespace Quoll::Platform

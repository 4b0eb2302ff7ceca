#pragma once
// From a key as the back ends report it (layout symbol and physical HID usage) to the
// virtual-key code of the window messages.
#include <cstdint>
#include <string_view>

namespace Quoll::Platform
{
// Letters follow the layout (the key that types 'a' is 'A'); digits, punctuation and
// the other keys follow their position. 0 for a key without a code.
int VirtualKeyFromKey(uint32_t symbol, uint16_t usage);

struct NamedKey
{
    uint32_t symbol = 0;
    uint16_t usage = 0;
};

// Keys by name for scripts and tools: "A".."Z", "0".."9", "F1".."F24", "Return",
// "Escape", "Space", "Tab", "Backspace", "Left", "Right", "Up", "Down", "Home", "End",
// "PageUp", "PageDown", "Insert", "Delete", "Shift", "Ctrl", "Alt", "RightShift",
// "RightCtrl", "RightAlt" (names compared without regard to case). usage 0 when unknown.
NamedKey KeyFromName(std::string_view name);
} // namespace Quoll::Platform

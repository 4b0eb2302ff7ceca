#include "framework/platform/window/KeyMap.h"

#include "framework/platform/window/InputEvent.h"
#include "framework/platform/system/TextHelpers.h"
#include "framework/platform/window/WindowMessages.h"

#include <array>
#include <cctype>
#include <string>

namespace Quoll::Platform
{
namespace
{
struct UsageKey
{
    uint16_t usage;
    int virtualKey;
    const char* name;
};

// HID usage -> virtual key, with the script name of the key.
constexpr UsageKey kUsageKeys[] = {
    {40, VK_RETURN, "Return"}, {41, VK_ESCAPE, "Escape"}, {42, VK_BACK, "Backspace"},
    {43, VK_TAB, "Tab"}, {44, VK_SPACE, "Space"}, {45, VK_OEM_MINUS, "Minus"},
    {46, VK_OEM_PLUS, "Equals"}, {47, VK_OEM_4, "LeftBracket"}, {48, VK_OEM_6, "RightBracket"},
    {49, VK_OEM_5, "Backslash"}, {50, VK_OEM_5, nullptr}, {51, VK_OEM_1, "Semicolon"},
    {52, VK_OEM_7, "Apostrophe"}, {53, VK_OEM_3, "Grave"}, {54, VK_OEM_COMMA, "Comma"},
    {55, VK_OEM_PERIOD, "Period"}, {56, VK_OEM_2, "Slash"}, {57, VK_CAPITAL, "CapsLock"},
    {70, VK_SNAPSHOT, "PrintScreen"}, {71, VK_SCROLL, "ScrollLock"}, {72, VK_PAUSE, "Pause"},
    {73, VK_INSERT, "Insert"}, {74, VK_HOME, "Home"}, {75, VK_PRIOR, "PageUp"},
    {76, VK_DELETE, "Delete"}, {77, VK_END, "End"}, {78, VK_NEXT, "PageDown"},
    {79, VK_RIGHT, "Right"}, {80, VK_LEFT, "Left"}, {81, VK_DOWN, "Down"}, {82, VK_UP, "Up"},
    {83, VK_NUMLOCK, "NumLock"}, {84, VK_DIVIDE, "KeypadDivide"}, {85, VK_MULTIPLY, "KeypadMultiply"},
    {86, VK_SUBTRACT, "KeypadMinus"}, {87, VK_ADD, "KeypadPlus"}, {88, VK_RETURN, "KeypadEnter"},
    {99, VK_DECIMAL, "KeypadPeriod"}, {100, VK_OEM_102, nullptr}, {101, VK_APPS, "Menu"},
    {224, VK_CONTROL, "Ctrl"}, {225, VK_SHIFT, "Shift"}, {226, VK_MENU, "Alt"}, {227, VK_LWIN, "Super"},
    {228, VK_CONTROL, "RightCtrl"}, {229, VK_SHIFT, "RightShift"}, {230, VK_MENU, "RightAlt"},
    {231, VK_RWIN, nullptr},
};

} // namespace

int VirtualKeyFromKey(uint32_t symbol, uint16_t usage)
{
    // 1. Letters by the layout's symbol.
    if (symbol >= 'a' && symbol <= 'z')
        return int(symbol - 'a' + 'A');
    if (symbol >= 'A' && symbol <= 'Z')
        return int(symbol);
    // 2. Position: letters (a layout without a Latin letter there), digit row, function
    //    keys, keypad digits, then the table.
    if (usage >= HidUsage::A && usage < HidUsage::A + 26)
        return 'A' + (usage - HidUsage::A);
    if (usage >= HidUsage::Digit1 && usage < HidUsage::Digit0)
        return '1' + (usage - HidUsage::Digit1);
    if (usage == HidUsage::Digit0)
        return '0';
    if (usage >= HidUsage::F1 && usage <= HidUsage::F12)
        return VK_F1 + (usage - HidUsage::F1);
    if (usage >= HidUsage::F13 && usage <= HidUsage::F24)
        return VK_F13 + (usage - HidUsage::F13);
    if (usage >= 89 && usage <= 97) // keypad 1..9
        return VK_NUMPAD0 + 1 + (usage - 89);
    if (usage == 98)
        return VK_NUMPAD0;
    for (const UsageKey& key : kUsageKeys)
        if (key.usage == usage)
            return key.virtualKey;
    return 0;
}

NamedKey KeyFromName(std::string_view name)
{
    if (name.size() == 1 && std::isalpha(static_cast<unsigned char>(name[0])))
    {
        char lower = char(std::tolower(static_cast<unsigned char>(name[0])));
        return {uint32_t(lower), uint16_t(HidUsage::A + (lower - 'a'))};
    }
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9')
        return {uint32_t(name[0]), uint16_t(name[0] == '0' ? HidUsage::Digit0 : HidUsage::Digit1 + (name[0] - '1'))};
    if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f'))
    {
        std::string digits(name.substr(1));
        if (digits.find_first_not_of("0123456789") == std::string::npos && digits.size() <= 2)
        {
            int number = std::stoi(digits);
            if (number >= 1 && number <= 12)
                return {0, uint16_t(HidUsage::F1 + number - 1)};
            if (number >= 13 && number <= 24)
                return {0, uint16_t(HidUsage::F13 + number - 13)};
        }
    }
    if (EqualNoCaseAscii(name, "Enter"))
        name = "Return";
    for (const UsageKey& key : kUsageKeys)
        if (key.name != nullptr && EqualNoCaseAscii(name, key.name))
        {
            uint32_t symbol = 0;
            if (key.usage == HidUsage::Return)
                symbol = '\r';
            else if (key.usage == HidUsage::Escape)
                symbol = 27;
            else if (key.usage == HidUsage::Backspace)
                symbol = '\b';
            else if (key.usage == HidUsage::Tab)
                symbol = '\t';
            else if (key.usage == HidUsage::Space)
                symbol = ' ';
            return {symbol, key.usage};
        }
    return {};
}
} // namespace Quoll::Platform

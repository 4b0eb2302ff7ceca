#pragma once
// The input script of the headless window system, one step a line:
//   # comment
//   at 1500                      following steps are due 1.5 s after the script started
//   key down Alt | key up Alt | key Return (down and up) | key down A repeat
//   text é                       typed text (the rest of the line, UTF-8)
//   mouse move 10 20 | mouse down right 10 20 clicks 2 | mouse up right 10 20
//   wheel 1 [x y]                notches, positive away from the user
//   focus gained | focus lost | minimise | restore | maximise | move 64 64
//   expose | displaychange | leave | close | quit
//   msgbox IDNO                  the answer of the next message box
// Modifier keys pressed by the script are held for the events that follow them.
#include "framework/platform/window/InputEvent.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Quoll::Platform
{
struct ScriptStep
{
    uint32_t atMilliseconds = 0;
    std::optional<InputEvent> event; // else a message-box answer
    int messageBoxAnswer = 0;
};

class HeadlessScript
{
public:
    // Appends the steps of the text; false (with "line N: why" in `error`) at the first bad
    // line, keeping the steps before it.
    bool Parse(std::string_view text, std::vector<ScriptStep>& steps, std::string* error);

    // One event in the script's own syntax (for the evidence log).
    static std::string Format(const InputEvent& event);

private:
    bool ParseLine(std::string_view line, std::vector<ScriptStep>& steps, std::string& why);
    void AddEvent(std::vector<ScriptStep>& steps, InputEvent event);
    void NoteModifier(const InputEvent& event);

    uint32_t mAt = 0;
    uint16_t mModifiers = 0;
};

// IDOK ... IDNO by name or number; 0 when unknown.
int MessageBoxAnswerFromName(std::string_view name);
} // namespace Quoll::Platform

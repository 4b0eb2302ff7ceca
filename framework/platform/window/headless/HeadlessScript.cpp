#include "framework/platform/window/headless/HeadlessScript.h"

#include "framework/platform/window/KeyMap.h"
#include "framework/platform/system/TextHelpers.h"
#include "framework/platform/window/WindowMessages.h"

#include <charconv>
#include <sstream>

namespace Quoll::Platform
{
namespace
{
std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    size_t pos = 0;
    while (pos < line.size())
    {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
        size_t end = pos;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t')
            ++end;
        if (end > pos)
            words.push_back(line.substr(pos, end - pos));
        pos = end;
    }
    return words;
}

std::optional<int> Number(std::string_view word)
{
    int value = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size())
        return std::nullopt;
    return value;
}

std::optional<MouseButton> ButtonFromName(std::string_view name)
{
    if (name == "left")
        return MouseButton::Left;
    if (name == "right")
        return MouseButton::Right;
    if (name == "middle")
        return MouseButton::Middle;
    return std::nullopt;
}

const char* ButtonName(MouseButton button)
{
    return button == MouseButton::Left ? "left" : button == MouseButton::Right ? "right" : "middle";
}

uint16_t ModifierOf(uint16_t usage)
{
    switch (usage)
    {
    case HidUsage::LeftShift: return ModLeftShift;
    case HidUsage::RightShift: return ModRightShift;
    case HidUsage::LeftCtrl: return ModLeftCtrl;
    case HidUsage::RightCtrl: return ModRightCtrl;
    case HidUsage::LeftAlt: return ModLeftAlt;
    case HidUsage::RightAlt: return ModRightAlt;
    default: return 0;
    }
}
} // namespace

int MessageBoxAnswerFromName(std::string_view name)
{
    static constexpr std::pair<std::string_view, int> kAnswers[] = {
        {"IDOK", IDOK}, {"IDCANCEL", IDCANCEL}, {"IDABORT", IDABORT}, {"IDRETRY", IDRETRY},
        {"IDIGNORE", IDIGNORE}, {"IDYES", IDYES}, {"IDNO", IDNO}};
    for (const auto& [answerName, answer] : kAnswers)
        if (name == answerName)
            return answer;
    std::optional<int> number = Number(name);
    return number && *number >= IDOK && *number <= IDNO ? *number : 0;
}

bool HeadlessScript::Parse(std::string_view text, std::vector<ScriptStep>& steps, std::string* error)
{
    return ForEachLine(text, [&](size_t lineNumber, std::string_view line) {
        std::string why;
        if (ParseLine(line, steps, why))
            return true;
        if (error != nullptr)
            *error = "line " + std::to_string(lineNumber) + ": " + why;
        return false;
    });
}

void HeadlessScript::NoteModifier(const InputEvent& event)
{
    uint16_t modifier = ModifierOf(event.usage);
    if (event.kind == InputKind::KeyDown)
        mModifiers |= modifier;
    else if (event.kind == InputKind::KeyUp)
        mModifiers &= static_cast<uint16_t>(~modifier);
}

void HeadlessScript::AddEvent(std::vector<ScriptStep>& steps, InputEvent event)
{
    // Like the keyboard, a modifier's own press already counts it as held.
    NoteModifier(event);
    event.modifiers = mModifiers;
    ScriptStep step;
    step.atMilliseconds = mAt;
    step.event = std::move(event);
    steps.push_back(std::move(step));
}

bool HeadlessScript::ParseLine(std::string_view line, std::vector<ScriptStep>& steps, std::string& why)
{
    std::vector<std::string_view> words = Words(line);
    if (words.empty() || words[0].front() == '#')
        return true;
    std::string_view verb = words[0];
    InputEvent event;
    auto simple = [&](InputKind kind) {
        event.kind = kind;
        AddEvent(steps, event);
        return true;
    };
    if (verb == "at" && words.size() == 2)
    {
        std::optional<int> at = Number(words[1]);
        if (!at || *at < 0)
            return why = "bad time", false;
        mAt = static_cast<uint32_t>(*at);
        return true;
    }
    if (verb == "key" && words.size() >= 2)
    {
        bool both = words.size() == 2;
        std::string_view name = both ? words[1] : words[2];
        NamedKey key = KeyFromName(name);
        if (name.size() > 1 && name.front() == '#')
        {
            // "#<usage>/<symbol>", the form the evidence log writes.
            size_t slash = name.find('/');
            std::optional<int> usage = Number(name.substr(1, slash - 1));
            std::optional<int> symbol = slash == std::string_view::npos ? 0 : Number(name.substr(slash + 1));
            if (usage && symbol && *usage > 0 && *usage < 0x10000 && *symbol >= 0)
                key = {static_cast<uint32_t>(*symbol), static_cast<uint16_t>(*usage)};
        }
        if (key.usage == 0)
            return why = "unknown key " + std::string(name), false;
        event.symbol = key.symbol;
        event.usage = key.usage;
        if (!both && words[1] != "down" && words[1] != "up")
            return why = "key down or key up", false;
        event.repeat = words.size() == 4 && words[3] == "repeat";
        event.kind = (both || words[1] == "down") ? InputKind::KeyDown : InputKind::KeyUp;
        AddEvent(steps, event);
        if (both)
        {
            event.kind = InputKind::KeyUp;
            AddEvent(steps, event);
        }
        return true;
    }
    if (verb == "text")
    {
        size_t start = line.find("text") + 4;
        if (start < line.size() && line[start] == ' ')
            ++start;
        event.kind = InputKind::Text;
        event.text = std::string(line.substr(start));
        AddEvent(steps, event);
        return true;
    }
    if (verb == "mouse" && words.size() >= 4)
    {
        bool move = words[1] == "move";
        size_t xIndex = move ? 2 : 3;
        if (!move)
        {
            std::optional<MouseButton> button = ButtonFromName(words[2]);
            if (!button || (words[1] != "down" && words[1] != "up"))
                return why = "mouse down|up left|right|middle x y", false;
            event.button = *button;
        }
        std::optional<int> x = xIndex < words.size() ? Number(words[xIndex]) : std::nullopt;
        std::optional<int> y = xIndex + 1 < words.size() ? Number(words[xIndex + 1]) : std::nullopt;
        if (!x || !y)
            return why = "bad position", false;
        event.x = *x;
        event.y = *y;
        if (words.size() == xIndex + 4 && words[xIndex + 2] == "clicks")
        {
            std::optional<int> clicks = Number(words[xIndex + 3]);
            if (!clicks || *clicks < 1)
                return why = "bad click count", false;
            event.clicks = *clicks;
        }
        event.kind = move ? InputKind::MouseMove : words[1] == "down" ? InputKind::MouseDown : InputKind::MouseUp;
        AddEvent(steps, event);
        return true;
    }
    if (verb == "wheel" && (words.size() == 2 || words.size() == 4))
    {
        std::optional<int> notches = Number(words[1]);
        if (!notches)
            return why = "bad wheel", false;
        event.wheelNotches = *notches;
        if (words.size() == 4)
        {
            std::optional<int> x = Number(words[2]), y = Number(words[3]);
            if (!x || !y)
                return why = "bad position", false;
            event.x = *x;
            event.y = *y;
        }
        return simple(InputKind::Wheel);
    }
    if (verb == "focus" && words.size() == 2 && (words[1] == "gained" || words[1] == "lost"))
        return simple(words[1] == "gained" ? InputKind::FocusGained : InputKind::FocusLost);
    if (verb == "move" && words.size() == 3)
    {
        std::optional<int> x = Number(words[1]), y = Number(words[2]);
        if (!x || !y)
            return why = "bad position", false;
        event.x = *x;
        event.y = *y;
        return simple(InputKind::Moved);
    }
    if (words.size() == 1)
    {
        if (verb == "minimise")
            return simple(InputKind::Minimised);
        if (verb == "restore")
            return simple(InputKind::Restored);
        if (verb == "maximise")
            return simple(InputKind::Maximised);
        if (verb == "expose")
            return simple(InputKind::Exposed);
        if (verb == "displaychange")
            return simple(InputKind::DisplayChanged);
        if (verb == "leave")
            return simple(InputKind::PointerLeft);
        if (verb == "close")
            return simple(InputKind::CloseRequested);
        if (verb == "quit")
            return simple(InputKind::Quit);
    }
    if (verb == "msgbox" && words.size() == 2)
    {
        int answer = MessageBoxAnswerFromName(words[1]);
        if (answer == 0)
            return why = "unknown answer " + std::string(words[1]), false;
        ScriptStep step;
        step.atMilliseconds = mAt;
        step.messageBoxAnswer = answer;
        steps.push_back(std::move(step));
        return true;
    }
    return why = "cannot read \"" + std::string(line) + "\"", false;
}

std::string HeadlessScript::Format(const InputEvent& event)
{
    std::ostringstream out;
    switch (event.kind)
    {
    case InputKind::KeyDown:
    case InputKind::KeyUp:
        out << "key " << (event.kind == InputKind::KeyDown ? "down" : "up") << " #" << event.usage << '/'
            << event.symbol;
        if (event.repeat)
            out << " repeat";
        break;
    case InputKind::Text: out << "text " << event.text; break;
    case InputKind::MouseMove: out << "mouse move " << event.x << ' ' << event.y; break;
    case InputKind::MouseDown:
    case InputKind::MouseUp:
        out << "mouse " << (event.kind == InputKind::MouseDown ? "down " : "up ") << ButtonName(event.button) << ' '
            << event.x << ' ' << event.y;
        if (event.clicks != 1)
            out << " clicks " << event.clicks;
        break;
    case InputKind::Wheel: out << "wheel " << event.wheelNotches << ' ' << event.x << ' ' << event.y; break;
    case InputKind::PointerLeft: out << "leave"; break;
    case InputKind::FocusGained: out << "focus gained"; break;
    case InputKind::FocusLost: out << "focus lost"; break;
    case InputKind::Minimised: out << "minimise"; break;
    case InputKind::Restored: out << "restore"; break;
    case InputKind::Maximised: out << "maximise"; break;
    case InputKind::Moved: out << "move " << event.x << ' ' << event.y; break;
    case InputKind::Exposed: out << "expose"; break;
    case InputKind::DisplayChanged: out << "displaychange"; break;
    case InputKind::CloseRequested: out << "close"; break;
    case InputKind::Quit: out << "quit"; break;
    }
    return out.str();
}
} // namespace Quoll::Platform

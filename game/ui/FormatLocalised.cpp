#include "game/ui/FormatLocalised.h"

#include "game/ui/UiServices.h"

#include <cstdint>

namespace
{
enum class Kind
{
    Int,
    Unsigned,
    Text,
    Percent,
    Bad,
};

// The conversion at text[pos] (just after a '%'), and its length in characters.
Kind ReadConversion(const std::wstring& text, size_t pos, size_t& length)
{
    length = 1;
    if (pos >= text.size())
        return Kind::Bad;
    switch (text[pos])
    {
    case L'd':
    case L'i':
        return Kind::Int;
    case L'u':
        return Kind::Unsigned;
    case L's':
        return Kind::Text;
    case L'%':
        return Kind::Percent;
    case L'l':
        if (pos + 1 < text.size() && text[pos + 1] == L's')
        {
            length = 2;
            return Kind::Text;
        }
        return Kind::Bad;
    default:
        return Kind::Bad;
    }
}
} // namespace

std::optional<std::wstring> FormatChecked(const std::wstring& text, const std::vector<FormatArg>& args,
                                          std::string& reason)
{
    std::wstring out;
    size_t used = 0;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != L'%')
        {
            out += text[i];
            continue;
        }
        size_t length = 0;
        const Kind kind = ReadConversion(text, i + 1, length);
        i += length;
        if (kind == Kind::Percent)
        {
            out += L'%';
            continue;
        }
        if (kind == Kind::Bad)
        {
            reason = "a conversion other than %d, %i, %u, %s or %ls";
            return std::nullopt;
        }
        if (used >= args.size())
        {
            reason = "more conversions than the " + std::to_string(args.size()) + " arguments";
            return std::nullopt;
        }
        const FormatArg& arg = args[used++];
        if (kind == Kind::Text)
        {
            if (!std::holds_alternative<std::wstring>(arg))
            {
                reason = "a number given for text conversion " + std::to_string(used);
                return std::nullopt;
            }
            out += std::get<std::wstring>(arg);
            continue;
        }
        if (!std::holds_alternative<int>(arg))
        {
            reason = "text given for number conversion " + std::to_string(used);
            return std::nullopt;
        }
        const int value = std::get<int>(arg);
        out += kind == Kind::Unsigned ? std::to_wstring(static_cast<uint32_t>(value)) : std::to_wstring(value);
    }
    if (used != args.size())
    {
        reason = std::to_string(args.size()) + " arguments for " + std::to_string(used) + " conversions";
        return std::nullopt;
    }
    return out;
}

std::wstring FormatLocalised(const std::string& key, const std::wstring& text, std::initializer_list<FormatArg> args)
{
    std::string reason;
    if (auto filled = FormatChecked(text, std::vector<FormatArg>(args), reason))
        return *filled;
    if (UiServices* services = GetUiServices())
        services->LogWarning("Text " + key + " cannot be formatted (" + reason + "); shown unfilled");
    return text;
}

std::wstring FormatText(const std::string& key, std::initializer_list<FormatArg> args)
{
    return FormatLocalised(key, Ui().GetText(key), args);
}

#pragma once
// UTF-8 and wide text (UTF-32 in wchar_t) conversion for titles, message boxes and typed
// characters. Malformed bytes become U+FFFD; nothing throws.
#include <string>
#include <string_view>
#include <vector>

namespace Quoll::Platform
{
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
std::vector<char32_t> Utf8CodePoints(std::string_view text);
} // namespace Quoll::Platform

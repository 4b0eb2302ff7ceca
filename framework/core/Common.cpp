#include "framework/core/Common.h"

#include "framework/platform/system/Path.h"
#include "framework/platform/system/Utf8.h"

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace Quoll
{
namespace
{
bool IsSeparator(char c) { return c == '\\' || c == '/'; }

size_t FindLastSeparator(const std::string& path) { return path.find_last_of("\\/"); }

int HexDigit(uint32_t c)
{
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<int>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return static_cast<int>(c - 'a' + 10);
    return -1;
}

// Shared by the narrow and wide integer parsers.
template <typename String> bool ParseInt(const String& text, int& out)
{
    out = 0;
    if (text.empty())
        return false;
    size_t i = 0;
    const bool negative = text[0] == '-';
    if (negative)
        i = 1;
    uint32_t value = 0;
    uint32_t base = 10;
    for (; i < text.size(); ++i)
    {
        const auto c = static_cast<uint32_t>(text[i]);
        if (i == 1 && value == 0 && (c == 'x' || c == 'X'))
        {
            base = 16;
            continue;
        }
        const int digit = HexDigit(c);
        if (digit < 0 || (base == 10 && digit > 9))
            return false;
        value = value * base + static_cast<uint32_t>(digit);
    }
    if (negative)
        value = 0u - value;
    out = static_cast<int>(value);
    return true;
}

std::mutex gAppDataMutex;
std::string gAppDataFolder;
} // namespace

std::string StringToLower(const std::string& text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string StringToUpper(const std::string& text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::wstring StringToWString(const std::string& text) { return Platform::Utf8ToWide(text); }

std::wstring ToWideString(const std::string& text) { return StringToWString(text); }

std::string WStringToString(const std::wstring& text) { return Platform::WideToUtf8(text); }

std::string ToNarrowString(const std::wstring& text) { return WStringToString(text); }

std::wstring CopyWideString(const std::wstring& text) { return text; }

std::string Trim(const std::string& text)
{
    const auto isSpace = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isSpace(text[begin]))
        ++begin;
    while (end > begin && isSpace(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

bool StringToInt(const std::string& text, int& out)
{
    if (ParseInt(text, out))
        return true;
    out = 0;
    return false;
}

bool WStringToInt(const std::wstring& text, int& out)
{
    if (ParseInt(text, out))
        return true;
    out = 0;
    return false;
}

bool StringToDouble(const std::string& text, double& out)
{
    out = 0.0;
    if (text.empty())
        return false;
    size_t i = 0;
    const bool negative = text[0] == '-';
    if (negative)
        i = 1;
    double value = 0.0;
    double scale = 0.1;
    bool fraction = false;
    for (; i < text.size(); ++i)
    {
        const char c = text[i];
        if (c == '.' && !fraction)
        {
            fraction = true;
            continue;
        }
        if (c < '0' || c > '9')
            return false;
        if (!fraction)
            value = value * 10.0 + (c - '0');
        else
        {
            value += (c - '0') * scale;
            scale /= 10.0;
        }
    }
    out = negative ? -value : value;
    return true;
}

std::wstring FormatWithCommas(int value)
{
    if (value < 0)
        return {};
    const std::wstring digits = std::to_wstring(value);
    std::wstring out;
    for (size_t i = 0; i < digits.size(); ++i)
    {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out.push_back(L',');
        out.push_back(digits[i]);
    }
    return out;
}

std::string VFormatString(const char* format, va_list args)
{
    // Start at 160 characters and double while the text does not fit, up to the limit.
    std::vector<char> buffer(160);
    for (;;)
    {
        va_list copy;
        va_copy(copy, args);
        const int needed = std::vsnprintf(buffer.data(), buffer.size(), format, copy);
        va_end(copy);
        if (needed < 0)
            return {};
        if (static_cast<size_t>(needed) < buffer.size() || buffer.size() >= 1000000)
            return std::string(buffer.data());
        buffer.resize(buffer.size() * 2);
    }
}

std::string FormatString(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string out = VFormatString(format, args);
    va_end(args);
    return out;
}

std::wstring VFormatWideString(const wchar_t* format, va_list args)
{
    std::vector<wchar_t> buffer(160);
    for (;;)
    {
        va_list copy;
        va_copy(copy, args);
        const int written = std::vswprintf(buffer.data(), buffer.size(), format, copy);
        va_end(copy);
        if (written >= 0)
            return std::wstring(buffer.data(), static_cast<size_t>(written));
        if (buffer.size() >= 1000000)
            return std::wstring(buffer.data(), wcsnlen(buffer.data(), buffer.size()));
        buffer.assign(buffer.size() * 2, L'\0');
    }
}

std::wstring FormatWideString(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring out = VFormatWideString(format, args);
    va_end(args);
    return out;
}

wchar_t NamedXmlEntity(const std::wstring& name)
{
    static constexpr struct
    {
        const wchar_t* name;
        wchar_t character;
    } kEntities[] = {{L"lt", L'<'},   {L"gt", L'>'},   {L"amp", L'&'}, {L"quot", L'"'},
                     {L"apos", L'\''}, {L"nbsp", L' '}, {L"cr", L'\n'}};
    for (const auto& entity : kEntities)
        if (name == entity.name)
            return entity.character;
    return 0;
}

std::wstring DecodeXmlEntities(const std::wstring& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        const size_t end = text[i] == L'&' ? text.find(L';', i) : std::wstring::npos;
        if (end == std::wstring::npos)
        {
            out.push_back(text[i]);
            continue;
        }
        const wchar_t named = NamedXmlEntity(text.substr(i + 1, end - i - 1));
        const wchar_t c = named != 0 ? named : L'&';
        out.push_back(c);
        i = end;
    }
    return out;
}

int FindNoCase(const char* text, const char* pattern)
{
    if (text == nullptr || *text == '\0')
        return -1;
    const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
    for (int start = 0; text[start] != '\0'; ++start)
    {
        int k = 0;
        while (pattern[k] != '\0' && text[start + k] != '\0' && lower(text[start + k]) == lower(pattern[k]))
            ++k;
        if (pattern[k] == '\0')
            return start;
    }
    return -1;
}

std::string ResolveRelativePath(const std::string& path, const std::string& baseDir)
{
    // 1. A path with a drive letter is absolute.
    if (path.size() >= 2 && path[1] == ':')
        return path;
    // 2. The output separator follows the path, then the base.
    const char sep = path.find('\\') != std::string::npos || baseDir.find('\\') != std::string::npos ? '\\' : '/';
    // 3. Keep the base's drive aside.
    std::string drive;
    std::string base = baseDir;
    if (base.size() >= 2 && base[1] == ':')
    {
        drive = base.substr(0, 2);
        base.erase(0, 2);
    }
    // 4. The base ends in a separator.
    if (!base.empty() && !IsSeparator(base.back()))
        base.push_back(sep);
    // 5. Apply the path's leading components to the base.
    std::string rest = path;
    while (!base.empty())
    {
        const size_t at = rest.find_first_of("\\/");
        if (at == std::string::npos)
            break;
        const std::string component = rest.substr(0, at);
        rest.erase(0, at + 1);
        if (component == "..")
        {
            const size_t nameEnd = base.size() - 1;
            const size_t previous = nameEnd == 0 ? std::string::npos : base.find_last_of("\\/", nameEnd - 1);
            const size_t nameStart = previous == std::string::npos ? 0 : previous + 1;
            if (base.compare(nameStart, nameEnd - nameStart, "..") == 0)
                base += std::string("..") + sep;
            else
                base.erase(nameStart);
        }
        else if (component.empty())
        {
            base.assign(1, sep);
            break;
        }
        else if (component != ".")
        {
            base += component;
            base.push_back(sep);
        }
    }
    // 6. One separator throughout.
    std::string result = drive + base + rest;
    for (char& c : result)
        if (IsSeparator(c))
            c = sep;
    return result;
}

std::string GetFileBaseName(const std::string& path)
{
    const size_t sep = FindLastSeparator(path);
    const size_t start = sep == std::string::npos ? 0 : sep + 1;
    const size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot >= start)
        return path.substr(start, dot - start);
    return path.substr(start);
}

std::string GetDirectoryPart(const std::string& path)
{
    const size_t sep = FindLastSeparator(path);
    return sep == std::string::npos ? std::string() : path.substr(0, sep);
}

std::string RemoveTrailingSlash(const std::string& path)
{
    if (!path.empty() && IsSeparator(path.back()))
        return path.substr(0, path.size() - 1);
    return path;
}

std::string AddTrailingSlash(const std::string& path)
{
    if (path.empty() || IsSeparator(path.back()))
        return path;
    const bool slashOnly = path.find('/') != std::string::npos && path.find('\\') == std::string::npos;
    return path + (slashOnly ? '/' : '\\');
}

std::string ToSystemPath(const std::string& path) { return Platform::ResolvePathCase(path); }

void MakeDirectories(const std::string& path) { Platform::MakeDirectories(path); }

bool FileExists(const std::string& path) { return !path.empty() && Platform::PathExists(path); }

uint64_t GetFileModTime(const std::string& path)
{
    std::error_code ec;
    const auto time = fs::last_write_time(ToSystemPath(path), ec);
    if (ec)
        return 0;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::file_clock::to_sys(time).time_since_epoch());
    return seconds.count() < 0 ? 0 : static_cast<uint64_t>(seconds.count());
}

bool DeleteTree(const std::string& path)
{
    if (path.size() < 2)
        return false;
    const fs::path folder(ToSystemPath(RemoveTrailingSlash(path)));
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec)
        return false;
    bool allRemoved = true;
    for (const fs::directory_entry& entry : it)
    {
        std::error_code entryError;
        if (entry.is_directory(entryError) && !entry.is_symlink(entryError))
            allRemoved = DeleteTree(entry.path().string() + "/") && allRemoved;
        else if (!fs::remove(entry.path(), entryError))
            allRemoved = false;
    }
    return fs::remove(folder, ec) && allRemoved;
}

bool GrantEveryoneAccess(const std::string&) { return true; }

bool IsWindows9x() { return false; }

std::string GetAppDataFolder()
{
    std::lock_guard lock(gAppDataMutex);
    return gAppDataFolder;
}

void SetAppDataFolder(const std::string& path)
{
    std::lock_guard lock(gAppDataMutex);
    gAppDataFolder = AddTrailingSlash(path);
}
} // namespace Quoll

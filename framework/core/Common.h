#pragma once
// Free helpers shared by the framework and the game: text conversion and parsing,
// printf-style formatting, paths that accept both '\' and '/', small file-system operations
// and the program-wide data folder. Narrow text is UTF-8; wide text is UTF-32 wchar_t.
#include <cstdarg>
#include <cstdint>
#include <string>

namespace Quoll
{
// --- Text -----------------------------------------------------------------------------
std::string StringToLower(const std::string& text);
std::string StringToUpper(const std::string& text);
// UTF-8 to wide; malformed bytes become U+FFFD.
std::wstring StringToWString(const std::string& text);
std::wstring ToWideString(const std::string& text);
// Wide to UTF-8; characters outside Unicode become U+FFFD.
std::string WStringToString(const std::wstring& text);
std::string ToNarrowString(const std::wstring& text);
std::wstring CopyWideString(const std::wstring& text);
std::string Trim(const std::string& text);

// Decimal, or hexadecimal after a leading "0x"; an optional '-' first. On failure the
// output is 0 and the result false. Accumulates modulo 2^32.
bool StringToInt(const std::string& text, int& out);
bool WStringToInt(const std::wstring& text, int& out);
// Digits with an optional '-' and one '.'; no exponent.
bool StringToDouble(const std::string& text, double& out);
// "1,234,567"; negative values give the empty string.
std::wstring FormatWithCommas(int value);

// printf-style formatting into a string of any length up to kMaxFormatLength characters.
constexpr size_t kMaxFormatLength = 1310720;
std::string FormatString(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string VFormatString(const char* format, va_list args);
std::wstring FormatWideString(const wchar_t* format, ...);
std::wstring VFormatWideString(const wchar_t* format, va_list args);

// The character of a named entity: lt gt amp quot apos nbsp (a plain space) cr (a line
// feed); 0 for any other name. The XML parser and DecodeXmlEntities share it.
wchar_t NamedXmlEntity(const std::wstring& name);
// Replaces the named entities above (an unknown name gives '&').
std::wstring DecodeXmlEntities(const std::wstring& text);
// Index of the first ASCII-case-insensitive match; -1 when none or the text is empty.
int FindNoCase(const char* text, const char* pattern);

// --- Paths (either '\' or '/' separates) ------------------------------------------------
std::string ResolveRelativePath(const std::string& path, const std::string& base);
std::string GetFileBaseName(const std::string& path);
std::string GetDirectoryPart(const std::string& path);
std::string RemoveTrailingSlash(const std::string& path);
// Appends the path's own separator ('/' when it uses only '/', else '\').
std::string AddTrailingSlash(const std::string& path);
// The path as the operating system wants it: '/' separators, and each component in the
// letter case it has on disk when the exact name does not exist.
std::string ToSystemPath(const std::string& path);

// --- Files -------------------------------------------------------------------------------
void MakeDirectories(const std::string& path);
bool FileExists(const std::string& path);
// Last-write time in whole seconds since 1970-01-01 UTC; 0 when not found.
uint64_t GetFileModTime(const std::string& path);
// Removes a folder and everything in it; true when all of it was removed.
bool DeleteTree(const std::string& path);
// The data folder is per user and is never opened to everyone: does nothing, true.
bool GrantEveryoneAccess(const std::string& path);
bool IsWindows9x();

std::string GetAppDataFolder();
void SetAppDataFolder(const std::string& path);
} // namespace Quoll

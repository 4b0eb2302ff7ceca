// The settings file:
//   QuollSettings 1
//   [SOFTWARE\Nordwick\PetriGlowSaga]
//   MusicVolume=dword:85
//   CurrentProfile=sz:Anna
//   Blob=t3:00ff10
// Names and string payloads escape bytes below 0x20, 0x7f and the characters % = [ ] #
// as %XX; other bytes are stored as they are. A DWORD that is not 4 bytes long, and any
// other type, use the raw "t<type>:<hex>" form, so every value survives a rewrite.
#include "framework/platform/system/SettingsStore.h"

#include "framework/platform/system/AtomicFile.h"
#include "framework/platform/system/PlatformLog.h"
#include "framework/platform/system/TextHelpers.h"
#include "framework/platform/system/UserFolders.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace Quoll::Platform
{
namespace
{
constexpr std::string_view kHeader = "QuollSettings 1";

bool NeedsEscape(uint8_t c)
{
    return c < 0x20 || c == 0x7f || c == '%' || c == '=' || c == '[' || c == ']' || c == '#';
}

void AppendEscaped(std::string& out, std::span<const uint8_t> bytes)
{
    static const char* digits = "0123456789ABCDEF";
    for (uint8_t c : bytes)
    {
        if (NeedsEscape(c))
        {
            out.push_back('%');
            out.push_back(digits[c >> 4]);
            out.push_back(digits[c & 15]);
        }
        else
            out.push_back(char(c));
    }
}

void AppendEscaped(std::string& out, std::string_view text)
{
    AppendEscaped(out, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::vector<uint8_t>> Unescape(std::string_view text)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i < text.size(); ++i)
    {
        uint8_t c = uint8_t(text[i]);
        if (c != '%')
        {
            if (NeedsEscape(c))
                return std::nullopt;
            out.push_back(c);
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        int high = HexDigit(text[i + 1]), low = HexDigit(text[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out.push_back(uint8_t(high * 16 + low));
        i += 2;
    }
    return out;
}

std::optional<std::vector<uint8_t>> FromHex(std::string_view text)
{
    if (text.size() % 2 != 0)
        return std::nullopt;
    std::vector<uint8_t> out;
    for (size_t i = 0; i < text.size(); i += 2)
    {
        int high = HexDigit(text[i]), low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out.push_back(uint8_t(high * 16 + low));
    }
    return out;
}

template <typename Int>
std::optional<Int> ParseNumber(std::string_view text)
{
    Int value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::string AsText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }
} // namespace

std::string NormaliseKeyPath(std::string_view keyPath)
{
    std::string out;
    for (char c : keyPath)
    {
        if (c == '\\' && (out.empty() || out.back() == '\\'))
            continue;
        out.push_back(c);
    }
    if (!out.empty() && out.back() == '\\')
        out.pop_back();
    return out;
}

SettingsStore::SettingsStore(std::string filePath) : mPath(std::move(filePath)) { Load(); }

SettingsStore::~SettingsStore()
{
    mFlushFailed = false;
    FlushLocked();
}

std::optional<std::string> SettingsStore::DefaultPath(std::string_view company, std::string_view product)
{
    std::optional<std::string> folder = UserFolder(UserFolderKind::Settings, company, product);
    if (!folder)
        return std::nullopt;
    return *folder + "settings.txt";
}

void SettingsStore::Load()
{
    if (mPath.empty())
        return;
    RemoveStaleTemporaryFiles(mPath);
    std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(mPath);
    if (!bytes)
        return; // no file yet: defaults
    size_t badLine = 0;
    KeyMap keys;
    if (Parse(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), keys, badLine))
    {
        mKeys = std::move(keys);
        return;
    }
    // Keep the damaged file for a person to look at, then start from defaults.
    mCorrupt = true;
    std::string aside = mPath + ".corrupt";
    const std::string what = mPath + " is corrupt (line " + std::to_string(badLine) + "); ";
    if (std::rename(mPath.c_str(), aside.c_str()) == 0)
        LogLine("Settings", what + "kept as " + aside + ", using defaults");
    else
        LogLine("Settings", what + "cannot be kept as " + aside + " (" + std::strerror(errno) +
                                "), using defaults; the next change overwrites it");
}

bool SettingsStore::Parse(std::string_view text, KeyMap& keys, size_t& badLine) const
{
    Key* current = nullptr;
    bool sawHeader = false;
    bool parsed = ForEachLine(text, [&](size_t lineNumber, std::string_view line) {
        badLine = lineNumber;
        if (!sawHeader)
            return sawHeader = line == kHeader;
        if (line.empty() || line.front() == '#')
            return true;
        if (line.front() == '[')
        {
            if (line.back() != ']')
                return false;
            std::optional<std::vector<uint8_t>> path = Unescape(line.substr(1, line.size() - 2));
            std::string normal = path ? NormaliseKeyPath(AsText(*path)) : std::string();
            if (normal.empty())
                return false;
            current = &keys[LowerAscii(normal)];
            current->path = normal;
            return true;
        }
        std::optional<Value> value = current != nullptr ? ParseValue(line) : std::nullopt;
        if (!value)
            return false;
        current->values[LowerAscii(value->name)] = std::move(*value);
        return true;
    });
    // An empty file (or one cut before its header) is not a settings file.
    return parsed && sawHeader;
}

std::optional<SettingsStore::Value> SettingsStore::ParseValue(std::string_view line)
{
    size_t equals = line.find('=');
    size_t colon = equals == std::string_view::npos ? equals : line.find(':', equals);
    if (colon == std::string_view::npos)
        return std::nullopt;
    std::optional<std::vector<uint8_t>> name = Unescape(line.substr(0, equals));
    std::string_view kind = line.substr(equals + 1, colon - equals - 1);
    std::string_view payload = line.substr(colon + 1);
    if (!name)
        return std::nullopt;
    Value value;
    value.name = AsText(*name);
    if (kind == "dword")
    {
        std::optional<uint32_t> number = ParseNumber<uint32_t>(payload);
        if (!number)
            return std::nullopt;
        value.type = REG_DWORD;
        for (int i = 0; i < 4; ++i)
            value.data.push_back(uint8_t(*number >> (8 * i)));
        return value;
    }
    if (kind == "sz")
    {
        std::optional<std::vector<uint8_t>> bytes = Unescape(payload);
        if (!bytes)
            return std::nullopt;
        value.type = REG_SZ;
        value.data = std::move(*bytes);
        return value;
    }
    if (kind.size() > 1 && kind.front() == 't')
    {
        std::optional<uint32_t> type = ParseNumber<uint32_t>(kind.substr(1));
        std::optional<std::vector<uint8_t>> bytes = FromHex(payload);
        if (!type || !bytes)
            return std::nullopt;
        value.type = *type;
        value.data = std::move(*bytes);
        return value;
    }
    return std::nullopt;
}

std::string SettingsStore::Serialise() const
{
    std::lock_guard lock(mMutex);
    return SerialiseLocked();
}

std::string SettingsStore::SerialiseLocked() const
{
    static const char* digits = "0123456789abcdef";
    std::string out(kHeader);
    out += '\n';
    for (const auto& [folded, key] : mKeys)
    {
        out += '[';
        AppendEscaped(out, key.path);
        out += "]\n";
        for (const auto& [foldedName, value] : key.values)
        {
            AppendEscaped(out, value.name);
            out += '=';
            if (value.type == REG_DWORD && value.data.size() == 4)
            {
                uint32_t number = uint32_t(value.data[0]) | uint32_t(value.data[1]) << 8 |
                                  uint32_t(value.data[2]) << 16 | uint32_t(value.data[3]) << 24;
                out += "dword:" + std::to_string(number);
            }
            else if (value.type == REG_SZ)
            {
                out += "sz:";
                AppendEscaped(out, value.data);
            }
            else
            {
                out += 't' + std::to_string(value.type) + ':';
                for (uint8_t byte : value.data)
                {
                    out.push_back(digits[byte >> 4]);
                    out.push_back(digits[byte & 15]);
                }
            }
            out += '\n';
        }
    }
    return out;
}

SettingsResult SettingsStore::CommitLocked(KeyMap previous)
{
    if (mPath.empty())
        return SettingsResult::Ok;
    if (mDeferred)
    {
        mDirty = true;
        mFlushFailed = false;
        return SettingsResult::Ok;
    }
    if (RewriteLocked())
        return SettingsResult::Ok;
    mKeys = std::move(previous);
    return SettingsResult::WriteFailed;
}

bool SettingsStore::RewriteLocked()
{
    std::string text = SerialiseLocked();
    if (!WriteFileAtomically(mPath, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size())))
        return false;
    ++mRewrites;
    mDirty = false;
    return true;
}

SettingsResult SettingsStore::FlushLocked()
{
    if (!mDirty || mPath.empty())
        return SettingsResult::Ok;
    if (mFlushFailed)
        return SettingsResult::WriteFailed;
    if (RewriteLocked())
        return SettingsResult::Ok;
    mFlushFailed = true;
    return SettingsResult::WriteFailed;
}

SettingsResult SettingsStore::Flush()
{
    std::lock_guard lock(mMutex);
    return FlushLocked();
}

void SettingsStore::SetDeferredWrites(bool deferred)
{
    std::lock_guard lock(mMutex);
    mDeferred = deferred;
    if (!deferred)
    {
        mFlushFailed = false;
        FlushLocked();
    }
}

bool SettingsStore::DeferredWrites() const
{
    std::lock_guard lock(mMutex);
    return mDeferred;
}

uint64_t SettingsStore::RewriteCount() const
{
    std::lock_guard lock(mMutex);
    return mRewrites;
}

SettingsStore::Key& SettingsStore::EnsureKeyLocked(std::string_view keyPath)
{
    std::string normal = NormaliseKeyPath(keyPath);
    // Parents exist whenever a child does, as in the registry.
    for (size_t i = 0; i <= normal.size(); ++i)
    {
        if (i != normal.size() && normal[i] != '\\')
            continue;
        std::string prefix = normal.substr(0, i);
        Key& key = mKeys[LowerAscii(prefix)];
        if (key.path.empty())
            key.path = prefix;
    }
    return mKeys[LowerAscii(normal)];
}

bool SettingsStore::KeyExists(std::string_view keyPath) const
{
    std::lock_guard lock(mMutex);
    return mKeys.count(LowerAscii(NormaliseKeyPath(keyPath))) != 0;
}

SettingsResult SettingsStore::CreateKey(std::string_view keyPath)
{
    std::lock_guard lock(mMutex);
    if (NormaliseKeyPath(keyPath).empty())
        return SettingsResult::NotFound;
    if (mKeys.count(LowerAscii(NormaliseKeyPath(keyPath))) != 0)
        return SettingsResult::Ok;
    KeyMap previous = mKeys;
    EnsureKeyLocked(keyPath);
    return CommitLocked(std::move(previous));
}

SettingsResult SettingsStore::SetValue(std::string_view keyPath, std::string_view name, RegValueType type,
                                       std::span<const uint8_t> data)
{
    std::lock_guard lock(mMutex);
    if (NormaliseKeyPath(keyPath).empty())
        return SettingsResult::NotFound;
    const auto key = mKeys.find(LowerAscii(NormaliseKeyPath(keyPath)));
    if (key != mKeys.end())
    {
        const auto same = key->second.values.find(LowerAscii(name));
        if (same != key->second.values.end() && same->second.name == name && same->second.type == type &&
            std::equal(same->second.data.begin(), same->second.data.end(), data.begin(), data.end()))
            return SettingsResult::Ok; // unchanged: nothing to rewrite
    }
    KeyMap previous = mKeys;
    Value& value = EnsureKeyLocked(keyPath).values[LowerAscii(name)];
    value.name = std::string(name);
    value.type = type;
    value.data.assign(data.begin(), data.end());
    return CommitLocked(std::move(previous));
}

SettingsResult SettingsStore::QueryValue(std::string_view keyPath, std::string_view name, RegValueType* type,
                                         uint8_t* data, uint32_t* length) const
{
    std::lock_guard lock(mMutex);
    auto key = mKeys.find(LowerAscii(NormaliseKeyPath(keyPath)));
    if (key == mKeys.end())
        return SettingsResult::NotFound;
    auto value = key->second.values.find(LowerAscii(name));
    if (value == key->second.values.end())
        return SettingsResult::NotFound;
    const Value& found = value->second;
    if (type != nullptr)
        *type = found.type;
    uint32_t size = static_cast<uint32_t>(found.data.size());
    if (data != nullptr)
    {
        if (length == nullptr || *length < size)
        {
            if (length != nullptr)
                *length = size;
            return SettingsResult::MoreData;
        }
        if (size > 0)
            std::memcpy(data, found.data.data(), size);
    }
    if (length != nullptr)
        *length = size;
    return SettingsResult::Ok;
}

SettingsResult SettingsStore::DeleteValue(std::string_view keyPath, std::string_view name)
{
    std::lock_guard lock(mMutex);
    auto key = mKeys.find(LowerAscii(NormaliseKeyPath(keyPath)));
    if (key == mKeys.end() || key->second.values.count(LowerAscii(name)) == 0)
        return SettingsResult::NotFound;
    KeyMap previous = mKeys;
    key->second.values.erase(LowerAscii(name));
    return CommitLocked(std::move(previous));
}

SettingsResult SettingsStore::SetInt32(std::string_view keyPath, std::string_view name, int32_t value)
{
    uint32_t bits = static_cast<uint32_t>(value);
    const uint8_t bytes[4] = {uint8_t(bits), uint8_t(bits >> 8), uint8_t(bits >> 16), uint8_t(bits >> 24)};
    return SetValue(keyPath, name, REG_DWORD, bytes);
}

SettingsResult SettingsStore::SetString(std::string_view keyPath, std::string_view name, std::string_view text)
{
    return SetValue(keyPath, name, REG_SZ,
                    std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::optional<int32_t> SettingsStore::GetInt32(std::string_view keyPath, std::string_view name) const
{
    RegValueType type = REG_NONE;
    uint8_t bytes[4] = {};
    uint32_t length = sizeof(bytes);
    if (QueryValue(keyPath, name, &type, bytes, &length) != SettingsResult::Ok || type != REG_DWORD || length != 4)
        return std::nullopt;
    return static_cast<int32_t>(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                                uint32_t(bytes[3]) << 24);
}

std::optional<std::string> SettingsStore::GetString(std::string_view keyPath, std::string_view name) const
{
    RegValueType type = REG_NONE;
    uint32_t length = 0;
    if (QueryValue(keyPath, name, &type, nullptr, &length) != SettingsResult::Ok || type != REG_SZ)
        return std::nullopt;
    std::string text(length, '\0');
    if (QueryValue(keyPath, name, &type, reinterpret_cast<uint8_t*>(text.data()), &length) != SettingsResult::Ok)
        return std::nullopt;
    text.resize(length);
    return text;
}
} // namespace Quoll::Platform

#pragma once
// The settings store that stands in for the per-user registry: keys with '\'-separated
// sub-keys, values of a registry type (32-bit number, string, raw bytes), names compared
// without regard to ASCII letter case. Everything lives in one text file that is rewritten
// atomically after each change; a file that cannot be parsed is logged, kept beside as
// "<file>.corrupt" and replaced by an empty store. Thread-safe.
//
// Each rewrite is a synced file write (milliseconds): a caller that changes many values
// defers the writes and flushes once (the application does once per logic update and at
// exit). A deferred change reports success; a failed flush is logged and retried at the next
// flush after a further change, at the end of the deferral and at destruction. Writing a
// value equal to the stored one rewrites nothing.
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Quoll::Platform
{
// Registry value types, with the numbers the framework records in demos.
using RegValueType = uint32_t;
inline constexpr RegValueType REG_NONE = 0;
inline constexpr RegValueType REG_SZ = 1;
inline constexpr RegValueType REG_BINARY = 3;
inline constexpr RegValueType REG_DWORD = 4;

enum class SettingsResult
{
    Ok,
    NotFound, // no such key or value
    MoreData, // the caller's capacity is too small; the needed length was returned
    WriteFailed, // the file could not be rewritten; the store is as it was
};

class SettingsStore
{
public:
    // Loads the file when it exists. An empty path keeps the store in memory only.
    explicit SettingsStore(std::string filePath);
    ~SettingsStore(); // flushes deferred changes
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // "<settings folder>/settings.txt" for the company and product; nullopt without a
    // usable settings folder.
    static std::optional<std::string> DefaultPath(std::string_view company, std::string_view product);

    const std::string& FilePath() const { return mPath; }
    // True when the file existed but could not be parsed (the store started empty).
    bool LoadedFromCorruptFile() const { return mCorrupt; }

    bool KeyExists(std::string_view keyPath) const;
    SettingsResult CreateKey(std::string_view keyPath);

    // Stores a value, creating the key and its parents.
    SettingsResult SetValue(std::string_view keyPath, std::string_view name, RegValueType type,
                            std::span<const uint8_t> data);
    // Registry-style query: `type` and `length` receive the value's type and byte count.
    // With `data` null only those are returned. When `*length` (the capacity on entry) is
    // smaller than the value, nothing is copied, `*length` becomes the size needed and
    // the result is MoreData.
    SettingsResult QueryValue(std::string_view keyPath, std::string_view name, RegValueType* type, uint8_t* data,
                              uint32_t* length) const;
    SettingsResult DeleteValue(std::string_view keyPath, std::string_view name);

    // Typed conveniences: a REG_DWORD of 4 little-endian bytes, a REG_SZ without a
    // terminating zero. Reads fail for a missing value or another type.
    SettingsResult SetInt32(std::string_view keyPath, std::string_view name, int32_t value);
    SettingsResult SetString(std::string_view keyPath, std::string_view name, std::string_view text);
    std::optional<int32_t> GetInt32(std::string_view keyPath, std::string_view name) const;
    std::optional<std::string> GetString(std::string_view keyPath, std::string_view name) const;

    // The file text of the current contents (what the next rewrite stores).
    std::string Serialise() const;

    // While deferred, changes stay in memory until Flush; ending the deferral flushes.
    void SetDeferredWrites(bool deferred);
    bool DeferredWrites() const;
    // Rewrites the file when a deferred change is pending.
    SettingsResult Flush();
    // How many times the file was rewritten.
    uint64_t RewriteCount() const;

private:
    struct Value
    {
        std::string name;
        RegValueType type = REG_NONE;
        std::vector<uint8_t> data;
    };
    struct Key
    {
        std::string path; // as first written
        std::map<std::string, Value> values; // by lower-cased name
    };
    using KeyMap = std::map<std::string, Key>; // by lower-cased path

    void Load();
    bool Parse(std::string_view text, KeyMap& keys, size_t& badLine) const;
    static std::optional<Value> ParseValue(std::string_view line);
    std::string SerialiseLocked() const;
    SettingsResult CommitLocked(KeyMap previous);
    bool RewriteLocked();
    SettingsResult FlushLocked();
    Key& EnsureKeyLocked(std::string_view keyPath);

    std::string mPath;
    bool mCorrupt = false;
    bool mDeferred = false;
    bool mDirty = false;        // deferred changes not yet in the file
    bool mFlushFailed = false;  // the last flush failed and nothing changed since
    uint64_t mRewrites = 0;
    mutable std::mutex mMutex;
    KeyMap mKeys;
};

// '\' separated, runs of separators collapsed, no leading or trailing one.
std::string NormaliseKeyPath(std::string_view keyPath);
} // namespace Quoll::Platform

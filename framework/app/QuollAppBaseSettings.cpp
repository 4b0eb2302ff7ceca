// Registry values over the per-user settings store, the framework's own settings, and the
// whole-file reads and writes of the game's files. Every outcome passes through the demo
// stream: recorded while recording, taken from the stream while playing back.
#include "framework/core/Common.h"
#include "framework/app/QuollAppBase.h"
#include "framework/platform/system/AtomicFile.h"
#include "framework/platform/system/SettingsStore.h"
#include "framework/files/PakInterface.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace Quoll
{
namespace
{
// Longest string value ReadRegString takes, in bytes (one more byte holds the terminator).
constexpr uint32_t kMaxRegStringLength = 1023;

// Volumes are stored in hundredths. The small bias keeps a value such as 0.29, whose double
// is just below 29/100, from losing a hundredth on every save; 0.999 still stores 99.
int VolumeToRegistry(double volume)
{
    return static_cast<int>(volume * 100.0 + 1e-6);
}

// 64-bit fields of the file records: two Int32, the low half first.
void WriteUInt64(Buffer& buffer, uint64_t value)
{
    buffer.WriteInt32(int32_t(uint32_t(value)));
    buffer.WriteInt32(int32_t(uint32_t(value >> 32)));
}

uint64_t ReadUInt64(Buffer& buffer)
{
    const uint64_t low = uint32_t(buffer.ReadInt32());
    return low | uint64_t(uint32_t(buffer.ReadInt32())) << 32;
}

// A listed file's record: its name's length field, then its size and modification time.
constexpr size_t kFolderFileFixedBits = 16 + 64 + 64;
} // namespace

void QuollAppBase::SetSettingsStore(std::unique_ptr<Platform::SettingsStore> store)
{
    mSettings = std::move(store);
    mSettingsInjected = mSettings != nullptr;
}

Platform::SettingsStore* QuollAppBase::Settings()
{
    if (mSettingsInjected)
        return mSettings.get();
    if (!mSettings || mSettingsKey != mRegKey)
    {
        mSettings.reset();
        mSettingsKey = mRegKey;
        if (std::optional<std::string> path = Platform::SettingsStore::DefaultPath(mRegKey, {}))
            mSettings = std::make_unique<Platform::SettingsStore>(*path);
    }
    return mSettings.get();
}

bool QuollAppBase::GetRegKeyPath(const std::string& valueName, std::string& keyPath, std::string& name) const
{
    if (mRegKey.empty())
        return false;
    keyPath = "SOFTWARE\\" + mRegKey;
    const size_t slash = valueName.rfind('\\');
    if (slash == std::string::npos)
        name = valueName;
    else
    {
        keyPath += "\\" + valueName.substr(0, slash);
        name = valueName.substr(slash + 1);
    }
    return true;
}

bool QuollAppBase::WriteStoreValue(const std::string& valueName, uint32_t type, const uint8_t* data,
                                   uint32_t length)
{
    std::string keyPath, name;
    if (!GetRegKeyPath(valueName, keyPath, name))
        return false;
    Platform::SettingsStore* store = Settings();
    return store != nullptr &&
           store->SetValue(keyPath, name, type, {data, data == nullptr ? 0 : length}) == Platform::SettingsResult::Ok;
}

bool QuollAppBase::ReadStoreValue(const std::string& valueName, uint32_t* type, uint8_t* data, uint32_t* length)
{
    std::string keyPath, name;
    if (data == nullptr || length == nullptr || !GetRegKeyPath(valueName, keyPath, name))
        return false;
    Platform::SettingsStore* store = Settings();
    return store != nullptr && store->QueryValue(keyPath, name, type, data, length) == Platform::SettingsResult::Ok;
}

bool QuollAppBase::WriteRegValue(const std::string& valueName, uint32_t type, const uint8_t* data, uint32_t length)
{
    if (mRegKey.empty())
        return false;
    if (mPlayingDemo)
        return ReadDemoOutcome(DemoKind::RegistryWrite, true);

    const bool written = WriteStoreValue(valueName, type, data, length);
    if (IsRecordingDemo())
    {
        WriteDemoRecordKind(DemoKind::RegistryWrite);
        mDemo.Data().WriteBits(written ? 1 : 0, 1);
    }
    return written;
}

bool QuollAppBase::ReadRegValue(const std::string& valueName, uint32_t* type, uint8_t* data, uint32_t* length)
{
    if (type == nullptr || data == nullptr || length == nullptr || mRegKey.empty())
        return false;
    if (mPlayingDemo)
        return ReadDemoRegistryValue(type, data, length);

    const bool read = ReadStoreValue(valueName, type, data, length);
    if (IsRecordingDemo())
    {
        Buffer& demo = mDemo.Data();
        WriteDemoRecordKind(DemoKind::RegistryRead);
        demo.WriteBits(read ? 1 : 0, 1);
        if (read)
        {
            demo.WriteInt32(int32_t(*type));
            demo.WriteInt32(int32_t(*length));
            demo.WriteBytes(data, *length);
        }
    }
    return read;
}

bool QuollAppBase::Display3DHost::ReadRegValue(const std::string& name, uint32_t* type, uint8_t* data,
                                               uint32_t* length)
{
    return !mApp.mPlayingDemo && mApp.ReadStoreValue(name, type, data, length);
}

bool QuollAppBase::Display3DHost::WriteRegValue(const std::string& name, uint32_t type, const uint8_t* data,
                                                uint32_t length)
{
    return !mApp.mPlayingDemo && mApp.WriteStoreValue(name, type, data, length);
}

bool QuollAppBase::WriteRegString(const std::string& name, const std::string& text)
{
    return WriteRegValue(name, Platform::REG_SZ, reinterpret_cast<const uint8_t*>(text.data()),
                         uint32_t(text.size()));
}

bool QuollAppBase::WriteRegInt(const std::string& name, int value)
{
    const uint32_t bits = uint32_t(value);
    const uint8_t bytes[4] = {uint8_t(bits), uint8_t(bits >> 8), uint8_t(bits >> 16), uint8_t(bits >> 24)};
    return WriteRegValue(name, Platform::REG_DWORD, bytes, 4);
}

bool QuollAppBase::WriteRegBool(const std::string& name, bool value)
{
    return WriteRegInt(name, value ? 1 : 0);
}

bool QuollAppBase::ReadRegString(const std::string& name, std::string& text)
{
    uint8_t bytes[kMaxRegStringLength + 1] = {};
    uint32_t type = 0;
    uint32_t length = kMaxRegStringLength;
    if (!ReadRegValue(name, &type, bytes, &length) || type != Platform::REG_SZ)
        return false;
    bytes[std::min(length, kMaxRegStringLength)] = 0;
    text = reinterpret_cast<const char*>(bytes);
    return true;
}

bool QuollAppBase::ReadRegInt(const std::string& name, int& value)
{
    uint8_t bytes[4] = {};
    uint32_t type = 0;
    uint32_t length = 4;
    if (!ReadRegValue(name, &type, bytes, &length) || type != Platform::REG_DWORD)
        return false;
    value = int(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24);
    return true;
}

bool QuollAppBase::ReadRegBool(const std::string& name, bool& value)
{
    int number = 0;
    if (!ReadRegInt(name, number))
        return false;
    value = number != 0;
    return true;
}

void QuollAppBase::EraseRegValue(const std::string& valueName)
{
    std::string keyPath, name;
    if (!GetRegKeyPath(valueName, keyPath, name))
        return;
    if (Platform::SettingsStore* store = Settings())
        store->DeleteValue(keyPath, name);
}

// The store is rewritten once for all the values (and not at all when none changed).
void QuollAppBase::WriteSettings()
{
    if (mRegKey.empty())
        return;
    Platform::SettingsStore* store = mPlayingDemo ? nullptr : Settings();
    const bool wasDeferred = store != nullptr && store->DeferredWrites();
    if (store != nullptr)
        store->SetDeferredWrites(true);
    WriteRegInt("MusicVolume", VolumeToRegistry(mMusicVolume));
    WriteRegInt("SfxVolume", VolumeToRegistry(mSfxVolume));
    WriteRegInt("Muted", mMuteCount - mAutoMuteCount > 0 ? 1 : 0);
    WriteRegInt("ScreenMode", mIsWindowed ? 0 : 1);
    WriteRegInt("PreferredX", mPreferredX);
    WriteRegInt("PreferredY", mPreferredY);
    WriteRegInt("CustomCursors", mCustomCursorsEnabled ? 1 : 0);
    WriteRegInt("InProgress", 0);
    WriteRegBool("WaitForVSync", mWaitForVSync);
    if (store != nullptr)
    {
        store->SetDeferredWrites(wasDeferred);
        store->Flush();
    }
}

void QuollAppBase::FlushSettings()
{
    if (mSettings)
        mSettings->Flush();
}

void QuollAppBase::DeferSettingsWrites(bool deferred)
{
    if (Platform::SettingsStore* store = mRegKey.empty() ? nullptr : Settings())
        store->SetDeferredWrites(deferred);
}

void QuollAppBase::ReadSettings()
{
    mReadFromRegistry = true;
    mRegKey = WStringToString(GetString("RegistryKey", StringToWString(mRegKey)));
    if (mRegKey.empty())
        return;

    // The store is a file a person may edit: numbers are clamped to their ranges (volumes in
    // hundredths, the mute flag 0 or 1; the window position is kept on the desktop when used).
    int value = 0;
    if (ReadRegInt("MusicVolume", value))
        mMusicVolume = std::clamp(value, 0, 100) / 100.0;
    if (ReadRegInt("SfxVolume", value))
        mSfxVolume = std::clamp(value, 0, 100) / 100.0;
    if (ReadRegInt("Muted", value))
        mMuteCount = std::clamp(value, 0, 1);
    if (ReadRegInt("ScreenMode", value))
        mIsWindowed = value == 0;
    if (ReadRegInt("PreferredX", value))
        mPreferredX = value;
    if (ReadRegInt("PreferredY", value))
        mPreferredY = value;
    if (ReadRegInt("CustomCursors", value))
        EnableCustomCursors(value != 0);
    bool flag = false;
    if (ReadRegBool("WaitForVSync", flag))
        mWaitForVSync = flag;
    ReadRegBool("InProgress", flag);

    // Cleared again by WriteSettings: a value of 1 at start means the last run did not end.
    if (!mIsScreenSaver)
        WriteRegInt("InProgress", 1);
}

// --- Whole files -------------------------------------------------------------------------------

bool QuollAppBase::WriteBytesToFile(const std::string& path, const uint8_t* data, size_t length)
{
    if (mPlayingDemo)
        return ReadDemoOutcome(DemoKind::FileWrite, true);

    // The bytes go to a temporary file that replaces the old one only once it is complete.
    const std::string directory = GetDirectoryPart(path);
    if (!directory.empty())
        MakeDirectories(directory);
    const bool written = Platform::WriteFileAtomically(ToSystemPath(path), {data, data == nullptr ? 0 : length});
    if (IsRecordingDemo())
    {
        WriteDemoRecordKind(DemoKind::FileWrite);
        mDemo.Data().WriteBits(written ? 1 : 0, 1);
    }
    return written;
}

bool QuollAppBase::WriteBufferToFile(const std::string& path, const Buffer& buffer)
{
    return WriteBytesToFile(path, buffer.GetDataPtr(), buffer.GetDataSize());
}

bool QuollAppBase::ReadBufferFromFile(const std::string& path, Buffer& buffer, bool noDemo)
{
    if (mPlayingDemo && !noDemo)
        return ReadDemoFileRecord(buffer);

    std::string bytes;
    const bool read = PakReadFile(path, bytes);
    if (read)
    {
        buffer.Clear();
        buffer.WriteBytes(bytes.data(), bytes.size());
    }
    if (IsRecordingDemo() && !noDemo)
    {
        Buffer& demo = mDemo.Data();
        WriteDemoRecordKind(DemoKind::FileRead);
        demo.WriteBits(read ? 1 : 0, 1);
        if (read)
        {
            demo.WriteInt32(int32_t(bytes.size()));
            demo.WriteBytes(bytes.data(), bytes.size());
        }
    }
    return read;
}

bool QuollAppBase::FileExists(const std::string& path)
{
    if (mPlayingDemo)
        return ReadDemoOutcome(DemoKind::FileExists, true);
    PakFileHandle* file = PakFOpen(path, "rb");
    const bool exists = file != nullptr;
    if (file != nullptr)
        PakFClose(file);
    if (IsRecordingDemo())
    {
        WriteDemoRecordKind(DemoKind::FileExists);
        mDemo.Data().WriteBits(exists ? 1 : 0, 1);
    }
    return exists;
}

std::vector<QuollAppBase::FolderFile> QuollAppBase::ListFolderFiles(const std::string& folder)
{
    if (mPlayingDemo)
        return ReadDemoFolderList();

    namespace fs = std::filesystem;
    std::vector<FolderFile> files;
    std::error_code error;
    for (fs::directory_iterator it(ToSystemPath(folder.empty() ? std::string(".") : folder), error), end;
         !error && it != end; it.increment(error))
    {
        std::error_code entryError;
        if (!it->is_regular_file(entryError))
            continue;
        const uint64_t size = it->file_size(entryError);
        const auto modified = it->last_write_time(entryError);
        if (!entryError)
            files.push_back({it->path().filename().string(), size,
                             static_cast<int64_t>(modified.time_since_epoch().count())});
    }
    if (IsRecordingDemo())
    {
        Buffer& demo = mDemo.Data();
        WriteDemoRecordKind(DemoKind::FolderList);
        demo.WriteInt32(int32_t(files.size()));
        for (const FolderFile& file : files)
        {
            demo.WriteString(file.name);
            WriteUInt64(demo, file.size);
            WriteUInt64(demo, uint64_t(file.modified));
        }
    }
    return files;
}

bool QuollAppBase::RenameFile(const std::string& from, const std::string& to)
{
    if (mPlayingDemo)
        return ReadDemoOutcome(DemoKind::FileRename, true);

    std::error_code error;
    std::filesystem::rename(ToSystemPath(from), ToSystemPath(to), error);
    const bool renamed = !error;
    if (IsRecordingDemo())
    {
        WriteDemoRecordKind(DemoKind::FileRename);
        mDemo.Data().WriteBits(renamed ? 1 : 0, 1);
    }
    return renamed;
}

std::optional<uint64_t> QuollAppBase::GetFileSize(const std::string& path)
{
    if (mPlayingDemo)
        return ReadDemoFileSize();

    std::error_code error;
    const uint64_t size = std::filesystem::file_size(ToSystemPath(path), error);
    const std::optional<uint64_t> found = error ? std::nullopt : std::optional<uint64_t>(size);
    if (IsRecordingDemo())
    {
        WriteDemoRecordKind(DemoKind::FileSize);
        mDemo.Data().WriteBits(found ? 1 : 0, 1);
        if (found)
            WriteUInt64(mDemo.Data(), *found);
    }
    return found;
}

// A listing whose count or names run past the end of the demo stops playback.
std::vector<QuollAppBase::FolderFile> QuollAppBase::ReadDemoFolderList()
{
    std::vector<FolderFile> files;
    if (!IsReplayingRecords() || !ExpectDemoRecord(DemoKind::FolderList))
        return files;
    Buffer& demo = mDemo.Data();
    const int32_t count = demo.ReadInt32();
    bool whole = count >= 0 && size_t(count) <= demo.GetBitsLeft() / kFolderFileFixedBits;
    for (int32_t i = 0; whole && i < count; ++i)
    {
        const size_t left = demo.GetBitsLeft();
        FolderFile file;
        file.name = demo.ReadString();
        file.size = ReadUInt64(demo);
        file.modified = int64_t(ReadUInt64(demo));
        whole = left - demo.GetBitsLeft() == kFolderFileFixedBits + 8 * file.name.size();
        files.push_back(std::move(file));
    }
    mDemo.EndRecord();
    if (!whole)
    {
        mDemo.Fail(FormatString("a folder listing of %d files runs past the end of the demo", count), mUpdateCount);
        ReportDemoFailure();
        files.clear();
    }
    return files;
}

// Demos recorded before file sizes were recorded have no such record: the size is then not known,
// and the file's read record follows at once.
std::optional<uint64_t> QuollAppBase::ReadDemoFileSize()
{
    if (!IsReplayingRecords() || !mDemo.PeekRecord(DemoKind::FileSize, mUpdateCount))
        return std::nullopt;
    Buffer& demo = mDemo.Data();
    const bool found = demo.ReadBits(1, false) != 0;
    const std::optional<uint64_t> size = found ? std::optional<uint64_t>(ReadUInt64(demo)) : std::nullopt;
    mDemo.EndRecord();
    return size;
}
} // namespace Quoll

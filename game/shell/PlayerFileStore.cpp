#include "game/shell/PlayerFileStore.h"

#include "framework/app/QuollAppBase.h"
#include "framework/core/Common.h"
#include "game/shell/PlayerDataLog.h"

#include <utility>

bool PlayerFileStore::Read(const std::string& name, Quoll::Buffer& buffer)
{
    const std::optional<uint64_t> size = GetSize(name);
    if (size && *size > kMaxFileSize)
    {
        // Reading it would only cost memory: no player file is this large.
        const std::string kept = name + ".bad";
        const std::string line = name + " too large (" + std::to_string(*size) + " bytes)";
        LogPlayerData(PlayerLogKind::Error, Rename(name, kept) ? line + "; kept as " + kept : line + "; not read");
        return false;
    }
    return ReadFile(name, buffer);
}

bool PlayerFileStore::Write(const std::string& name, const Quoll::Buffer& buffer)
{
    if (WriteFile(name, buffer))
        return true;
    if (mReportedWrites.insert(name).second)
        LogPlayerData(PlayerLogKind::WriteFailed, GetPath(name));
    return false;
}

std::string PlayerFileStore::KeepDamaged(const std::string& name, const Quoll::Buffer& bytes)
{
    const std::string kept = name + ".bad";
    if (Write(kept, bytes))
        return name + " corrupted; kept as " + kept;
    return name + " corrupted";
}

bool PlayerFileStore::KeepOld(const std::string& name, const Quoll::Buffer& bytes)
{
    const std::string kept = name + ".old";
    return Rename(name, kept) || Write(kept, bytes);
}

// --- MemoryFileStore ---------------------------------------------------------------------------

std::vector<StoredFile> MemoryFileStore::List()
{
    std::vector<StoredFile> files;
    for (const auto& [name, file] : mFiles)
        files.push_back({name, file.bytes.size(), file.modified});
    return files;
}

std::map<std::string, std::string> MemoryFileStore::GetFiles() const
{
    std::map<std::string, std::string> files;
    for (const auto& [name, file] : mFiles)
        files[name] = file.bytes;
    return files;
}

void MemoryFileStore::SetBytes(const std::string& name, std::string bytes)
{
    mFiles[name] = {std::move(bytes), ++mClock};
}

std::string MemoryFileStore::GetBytes(const std::string& name) const
{
    const auto found = mFiles.find(name);
    return found == mFiles.end() ? std::string() : found->second.bytes;
}

void MemoryFileStore::SetModified(const std::string& name, int64_t modified)
{
    const auto found = mFiles.find(name);
    if (found != mFiles.end())
        found->second.modified = modified;
}

bool MemoryFileStore::ReadFile(const std::string& name, Quoll::Buffer& buffer)
{
    const auto found = mFiles.find(name);
    if (found == mFiles.end())
        return false;
    buffer.Clear();
    buffer.WriteBytes(found->second.bytes.data(), found->second.bytes.size());
    return true;
}

bool MemoryFileStore::WriteFile(const std::string& name, const Quoll::Buffer& buffer)
{
    if (mFailWrites)
        return false;
    const auto* data = reinterpret_cast<const char*>(buffer.GetDataPtr());
    SetBytes(name, data == nullptr ? std::string() : std::string(data, buffer.GetDataSize()));
    return true;
}

std::optional<uint64_t> MemoryFileStore::GetSize(const std::string& name)
{
    const auto found = mFiles.find(name);
    return found == mFiles.end() ? std::nullopt : std::optional<uint64_t>(found->second.bytes.size());
}

bool MemoryFileStore::Rename(const std::string& from, const std::string& to)
{
    const auto found = mFiles.find(from);
    if (mFailWrites || found == mFiles.end())
        return false;
    File file = std::move(found->second);
    mFiles.erase(found);
    mFiles[to] = std::move(file);
    return true;
}

// --- AppFileStore ------------------------------------------------------------------------------

AppFileStore::AppFileStore(Quoll::QuollAppBase& app, std::string folder) : mApp(app), mFolder(std::move(folder)) {}

std::string AppFileStore::GetPath(const std::string& name) const
{
    return mFolder.empty() ? name : Quoll::AddTrailingSlash(mFolder) + name;
}

std::vector<StoredFile> AppFileStore::List()
{
    std::vector<StoredFile> files;
    for (const Quoll::QuollAppBase::FolderFile& file : mApp.ListFolderFiles(mFolder))
        files.push_back({file.name, file.size, file.modified});
    return files;
}

bool AppFileStore::ReadFile(const std::string& name, Quoll::Buffer& buffer)
{
    if (!mApp.ReadBufferFromFile(GetPath(name), buffer))
        return false;
    buffer.SeekReadStart();
    return true;
}

bool AppFileStore::WriteFile(const std::string& name, const Quoll::Buffer& buffer)
{
    return mApp.WriteBufferToFile(GetPath(name), buffer);
}

std::optional<uint64_t> AppFileStore::GetSize(const std::string& name)
{
    return mApp.GetFileSize(GetPath(name));
}

bool AppFileStore::Rename(const std::string& from, const std::string& to)
{
    return mApp.RenameFile(GetPath(from), GetPath(to));
}

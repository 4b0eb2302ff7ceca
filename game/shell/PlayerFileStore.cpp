#include "game/shell/PlayerFileStore.h"

#include "framework/app/QuollAppBase.h"
#include "framework/core/Common.h"

#include <utility>

std::string PlayerFileStore::KeepDamaged(const std::string& name, const Quoll::Buffer& bytes)
{
    const std::string kept = name + ".bad";
    if (Write(kept, bytes))
        return name + " corrupted; kept as " + kept;
    return name + " corrupted";
}

bool MemoryFileStore::Read(const std::string& name, Quoll::Buffer& buffer)
{
    const auto found = mFiles.find(name);
    if (found == mFiles.end())
        return false;
    buffer.Clear();
    buffer.WriteBytes(found->second.data(), found->second.size());
    return true;
}

bool MemoryFileStore::Write(const std::string& name, const Quoll::Buffer& buffer)
{
    if (mFailWrites)
        return false;
    const auto* data = reinterpret_cast<const char*>(buffer.GetDataPtr());
    mFiles[name] = data == nullptr ? std::string() : std::string(data, buffer.GetDataSize());
    return true;
}

std::string MemoryFileStore::GetBytes(const std::string& name) const
{
    const auto found = mFiles.find(name);
    return found == mFiles.end() ? std::string() : found->second;
}

AppFileStore::AppFileStore(Quoll::QuollAppBase& app, std::string folder) : mApp(app), mFolder(std::move(folder)) {}

std::string AppFileStore::GetPath(const std::string& name) const
{
    return mFolder.empty() ? name : Quoll::AddTrailingSlash(mFolder) + name;
}

bool AppFileStore::Read(const std::string& name, Quoll::Buffer& buffer)
{
    if (!mApp.ReadBufferFromFile(GetPath(name), buffer))
        return false;
    buffer.SeekReadStart();
    return true;
}

bool AppFileStore::Write(const std::string& name, const Quoll::Buffer& buffer)
{
    return mApp.WriteBufferToFile(GetPath(name), buffer);
}

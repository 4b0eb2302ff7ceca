#include "game/shell/SavedGame.h"

#include "game/shell/PlayerDataLog.h"
#include "game/shell/PlayerFileFormat.h"
#include "game/shell/PlayerFileStore.h"
#include "game/shell/Profile.h"
#include "game/shell/ProfileList.h"

#include <utility>
#include <vector>

using PlayerFileFormat::kProfileMagic;

SavedGame::SavedGame(int level, Quoll::Buffer body) : mLevel(level), mBody(std::move(body)) { mBody.SeekReadStart(); }

bool SavedGame::IsLevelNumber(int level)
{
    return (level >= 1 && level <= Profile::kLevelCount) || (level <= -1 && level >= -Profile::kEpisodeCount);
}

void SavedGame::Write(Quoll::Buffer& buffer) const
{
    PlayerFileFormat::WriteHeader(buffer, kProfileMagic);
    buffer.WriteInt32(mLevel);
    buffer.WriteInt32(static_cast<int32_t>(mBody.GetDataSize()));
    buffer.WriteBytes(mBody.GetDataPtr(), mBody.GetDataSize());
    PlayerFileFormat::WriteTrailer(buffer, kProfileMagic);
}

bool SavedGame::Read(Quoll::Buffer& buffer)
{
    RecordReader reader(buffer);
    int32_t level = 0;
    int32_t size = 0;
    if (!reader.ReadHeader(kProfileMagic) || !reader.ReadInt(level) || !IsLevelNumber(level) ||
        !reader.ReadInt(size, 1, kMaxBodySize) || reader.BytesLeft() < static_cast<size_t>(size))
        return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!reader.ReadBytes(bytes.data(), bytes.size()) || !reader.ReadTrailer(kProfileMagic))
        return false;
    mLevel = level;
    mBody.Clear();
    mBody.WriteBytes(bytes.data(), bytes.size());
    return true;
}

std::string SavedGame::GetFileName(const std::string& profileName)
{
    return ProfileList::GetFileStem(profileName) + ".save";
}

std::optional<SavedGame> SavedGame::Load(PlayerFileStore& store, const std::string& profileName)
{
    Quoll::Buffer buffer;
    if (!store.Read(GetFileName(profileName), buffer) || buffer.GetDataSize() == 0)
        return std::nullopt;
    SavedGame game;
    if (!game.Read(buffer))
    {
        LogPlayerData(PlayerLogKind::Error, "Saved game: " + store.KeepDamaged(GetFileName(profileName), buffer));
        return std::nullopt;
    }
    return game;
}

bool SavedGame::Save(PlayerFileStore& store, const std::string& profileName) const
{
    // A record the reader would refuse is never written over a good one.
    if (!IsLevelNumber(mLevel) || mBody.GetDataSize() == 0 || mBody.GetDataSize() > static_cast<size_t>(kMaxBodySize))
        return false;
    Quoll::Buffer buffer;
    Write(buffer);
    // A failure is reported by the store, once per file.
    return store.Write(GetFileName(profileName), buffer);
}

bool SavedGame::Erase(PlayerFileStore& store, const std::string& profileName)
{
    return store.Erase(GetFileName(profileName));
}

#include "game/shell/Profile.h"

#include "game/shell/PlayerDataLog.h"
#include "game/shell/PlayerFileFormat.h"
#include "game/shell/PlayerFileStore.h"
#include "game/shell/ProfileList.h"

#include <algorithm>
#include <limits>
#include <utility>

using PlayerFileFormat::kProfileMagic;

Profile::Profile(std::string name) : mName(std::move(name)) {}

bool Profile::ChooseDifficulty(int difficulty)
{
    if (difficulty != kEasyDifficulty && difficulty != kNormalDifficulty)
        return false;
    mDifficulty = difficulty;
    mDifficultyChosen = true;
    return true;
}

int Profile::GetLevelScore(int level) const
{
    return level >= 1 && level <= kLevelCount ? mLevels[static_cast<size_t>(level - 1)].score : 0;
}

int Profile::GetLevelMedal(int level) const
{
    return level >= 1 && level <= kLevelCount ? mLevels[static_cast<size_t>(level - 1)].medal : 0;
}

bool Profile::SetLevelResult(int level, int score, int medal)
{
    if (level < 1 || level > kLevelCount || score < 0 || medal < 0)
        return false;
    LevelResult& stored = mLevels[static_cast<size_t>(level - 1)];
    stored.medal = std::max(stored.medal, std::min(medal, kMaxMedal));
    if (score <= stored.score)
        return false;
    stored.score = score;
    return true;
}

int Profile::GetTotalScore() const
{
    int64_t total = 0;
    for (const LevelResult& result : mLevels)
        total += result.score;
    return static_cast<int>(std::min<int64_t>(total, std::numeric_limits<int32_t>::max()));
}

int Profile::ClampEpisode(int episode) { return std::clamp(episode, 1, kEpisodeCount); }

void Profile::GetRandomStats(int episode, int& first, int& second) const
{
    const RandomStats& stats = mRandom[static_cast<size_t>(ClampEpisode(episode) - 1)];
    first = stats.played;
    second = stats.won;
}

void Profile::AddRandomResult(int episode, bool won)
{
    RandomStats& stats = mRandom[static_cast<size_t>(ClampEpisode(episode) - 1)];
    if (stats.played >= kMaxCount)
        return;
    ++stats.played;
    if (won)
        ++stats.won;
}

bool Profile::HasSeen(ProfileSeen what) const { return (mSeen >> static_cast<int>(what) & 1) != 0; }

void Profile::MarkSeen(ProfileSeen what) { mSeen |= 1 << static_cast<int>(what); }

void Profile::Write(Quoll::Buffer& buffer) const
{
    PlayerFileFormat::WriteHeader(buffer, kProfileMagic);
    buffer.WriteString(mName);
    buffer.WriteInt32(mDifficulty);
    buffer.WriteByte(mDifficultyChosen ? 1 : 0);
    buffer.WriteInt32(kLevelCount);
    for (const LevelResult& result : mLevels)
    {
        buffer.WriteInt32(result.score);
        buffer.WriteInt32(result.medal);
    }
    buffer.WriteInt32(kEpisodeCount);
    for (const RandomStats& stats : mRandom)
    {
        buffer.WriteInt32(stats.played);
        buffer.WriteInt32(stats.won);
    }
    buffer.WriteInt32(mSeen);
    mAchievements.Write(buffer);
    PlayerFileFormat::WriteTrailer(buffer, kProfileMagic);
}

bool Profile::Read(Quoll::Buffer& buffer)
{
    RecordReader reader(buffer);
    Profile read;
    if (!reader.ReadHeader(kProfileMagic) || !read.ReadBody(reader) || !reader.ReadTrailer(kProfileMagic))
        return false;
    *this = std::move(read);
    return true;
}

bool Profile::ReadBody(RecordReader& reader)
{
    if (!reader.ReadString(mName) || !reader.ReadInt(mDifficulty, kEasyDifficulty, kNormalDifficulty) ||
        !reader.ReadFlag(mDifficultyChosen))
        return false;

    int32_t count = 0;
    if (!reader.ReadInt(count, kLevelCount, kLevelCount))
        return false;
    for (LevelResult& result : mLevels)
        if (!reader.ReadInt(result.score, 0, std::numeric_limits<int32_t>::max()) ||
            !reader.ReadInt(result.medal, 0, kMaxMedal))
            return false;

    if (!reader.ReadInt(count, kEpisodeCount, kEpisodeCount))
        return false;
    for (RandomStats& stats : mRandom)
        if (!reader.ReadInt(stats.played, 0, kMaxCount) || !reader.ReadInt(stats.won, 0, stats.played))
            return false;

    return reader.ReadInt(mSeen, 0, kSeenMask) && mAchievements.Read(reader);
}

std::string Profile::GetFileName(const std::string& name) { return ProfileList::GetFileStem(name) + ".dat"; }

bool Profile::Load(PlayerFileStore& store, const std::string& name)
{
    *this = Profile(name);
    Quoll::Buffer buffer;
    if (!store.Read(GetFileName(name), buffer) || buffer.GetDataSize() == 0)
    {
        LogPlayerData(PlayerLogKind::Warning, "Cannot read profile: " + name + " (no file, a new profile)");
        return false;
    }
    Profile read;
    if (!read.Read(buffer) || read.GetName() != name)
    {
        LogPlayerData(PlayerLogKind::Error, "Cannot read profile: " + name + " (" + store.KeepDamaged(GetFileName(name), buffer) + ")");
        return false;
    }
    *this = std::move(read);
    return true;
}

bool Profile::Save(PlayerFileStore& store) const
{
    Quoll::Buffer buffer;
    Write(buffer);
    // A failure is reported by the store, once per file.
    return store.Write(GetFileName(mName), buffer);
}

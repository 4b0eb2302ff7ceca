#include "game/shell/ScoreTable.h"

#include "game/shell/PlayerDataLog.h"
#include "game/shell/PlayerFileFormat.h"
#include "game/shell/PlayerFileStore.h"

#include <algorithm>
#include <limits>

using PlayerFileFormat::kScoresMagic;

bool ScoreTable::Submit(const std::string& name, int score)
{
    if (score < 0)
        return false;
    const auto same = std::find_if(mEntries.begin(), mEntries.end(), [&](const Entry& e) { return e.name == name; });
    if (same != mEntries.end())
    {
        if (score <= same->score)
            return false;
        mEntries.erase(same);
    }
    // After every entry with at least this score: ties keep the older entry ahead.
    const auto place = std::find_if(mEntries.begin(), mEntries.end(), [&](const Entry& e) { return e.score < score; });
    if (place == mEntries.end() && mEntries.size() >= static_cast<size_t>(kMaxEntries))
        return false;
    mEntries.insert(place, Entry{name, score});
    if (mEntries.size() > static_cast<size_t>(kMaxEntries))
        mEntries.pop_back();
    return true;
}

void ScoreTable::Write(Quoll::Buffer& buffer) const
{
    PlayerFileFormat::WriteHeader(buffer, kScoresMagic);
    buffer.WriteInt32(static_cast<int32_t>(mEntries.size()));
    for (const Entry& entry : mEntries)
    {
        buffer.WriteString(entry.name);
        buffer.WriteInt32(entry.score);
    }
    PlayerFileFormat::WriteTrailer(buffer, kScoresMagic);
}

bool ScoreTable::Read(Quoll::Buffer& buffer)
{
    RecordReader reader(buffer);
    int32_t count = 0;
    if (!reader.ReadHeader(kScoresMagic) || !reader.ReadInt(count, 0, kMaxEntries))
        return false;
    std::vector<Entry> entries(static_cast<size_t>(count));
    for (size_t i = 0; i < entries.size(); ++i)
    {
        Entry& entry = entries[i];
        const int32_t limit = i == 0 ? std::numeric_limits<int32_t>::max() : entries[i - 1].score;
        if (!reader.ReadString(entry.name) || !reader.ReadInt(entry.score, 0, limit))
            return false;
        for (size_t j = 0; j < i; ++j)
            if (entries[j].name == entry.name)
                return false;
    }
    if (!reader.ReadTrailer(kScoresMagic))
        return false;
    mEntries = std::move(entries);
    return true;
}

bool ScoreTable::Load(PlayerFileStore& store)
{
    mEntries.clear();
    Quoll::Buffer buffer;
    if (!store.Read(kFileName, buffer) || buffer.GetDataSize() == 0)
        return false;
    if (Read(buffer))
        return true;
    LogPlayerData(PlayerLogKind::Error, "Score file: " + store.KeepDamaged(kFileName, buffer));
    return false;
}

bool ScoreTable::Save(PlayerFileStore& store) const
{
    Quoll::Buffer buffer;
    Write(buffer);
    // A failure is reported by the store, once per file.
    return store.Write(kFileName, buffer);
}

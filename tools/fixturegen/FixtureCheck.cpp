#include "tools/fixturegen/FixtureCheck.h"

#include "game/shell/PlayerData.h"
#include "game/shell/PlayerDataLog.h"
#include "tools/fixturegen/Fixtures.h"

#include <fstream>
#include <iterator>

namespace Fixtures
{
namespace
{
namespace fs = std::filesystem;

MemoryFileStore ReadFolder(const fs::path& folder)
{
    MemoryFileStore store;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    {
        std::error_code kindError;
        if (!it->is_regular_file(kindError))
            continue;
        std::ifstream in(it->path(), std::ios::binary);
        store.SetBytes(it->path().filename().string(), {std::istreambuf_iterator<char>(in), {}});
    }
    return store;
}

template <typename Record>
bool ReadRecord(const std::string& bytes, Record& record)
{
    Quoll::Buffer buffer;
    buffer.WriteBytes(bytes.data(), bytes.size());
    buffer.SeekReadStart();
    return record.Read(buffer);
}

struct Expected
{
    const char* name;
    int levelsWon;
    int savedLevel;
};
constexpr Expected kProfiles[] = {{kDefeatProfile, kDefeatLevel - 1, kDefeatLevel},
                                  {kNearlyPassedProfile, kBossLevel - 1, kBossLevel}};

void Fault(KillCheck& check, int& count, const std::string& what)
{
    ++count;
    check.faults.push_back(what);
}

// The profile's progress against the fixture's: every won level still recorded, and the saved
// game of the boss level there until its win is.
void CheckProgress(KillCheck& check, const Expected& expected, const Profile& profile, bool hasSavedGame)
{
    for (int level = 1; level <= expected.levelsWon; ++level)
        if (profile.GetLevelScore(level) == 0)
        {
            Fault(check, check.reset, std::string(expected.name) + ": level " + std::to_string(level) + " not recorded");
            break;
        }
    // The defeat profile's saved game is lost by the play-through itself; the boss level's
    // stays until its win is recorded.
    if (expected.savedLevel == kBossLevel && !hasSavedGame && profile.GetLevelScore(kBossLevel) == 0)
        Fault(check, check.lost, std::string(expected.name) + ": the saved game is gone, its win not recorded");
}

void CheckScores(KillCheck& check, const ScoreTable& scores, const std::string& name, int total)
{
    for (const ScoreTable::Entry& entry : scores.GetEntries())
        if (entry.name == name)
        {
            if (entry.score < total)
                Fault(check, check.behind, name + ": score entry " + std::to_string(entry.score) + " behind " +
                                               std::to_string(total));
            return;
        }
    Fault(check, check.reset, name + ": no score entry");
}
} // namespace

KillCheck CheckFilesAfterKill(const fs::path& folder)
{
    KillCheck check;
    MemoryFileStore store = ReadFolder(folder);
    const auto bytesOf = [&](const std::string& file) { return store.GetBytes(file); };

    ProfileList list;
    const std::string listBytes = bytesOf(ProfileList::kFileName);
    if (listBytes.empty())
        Fault(check, check.lost, "profiles.lst missing");
    else if (!ReadRecord(listBytes, list))
        Fault(check, check.torn, "profiles.lst torn");
    ScoreTable scores;
    const std::string scoreBytes = bytesOf(ScoreTable::kFileName);
    if (scoreBytes.empty())
        Fault(check, check.reset, "scores.dat missing");
    else if (!ReadRecord(scoreBytes, scores))
        Fault(check, check.torn, "scores.dat torn");

    for (const Expected& expected : kProfiles)
    {
        if (!listBytes.empty() && list.Find(expected.name) < 0 && list.GetCount() > 0)
            Fault(check, check.lost, std::string(expected.name) + " not listed");
        const std::string profileBytes = bytesOf(Profile::GetFileName(expected.name));
        Profile profile;
        if (profileBytes.empty())
        {
            Fault(check, check.lost, std::string(expected.name) + ": profile file missing");
            continue;
        }
        if (!ReadRecord(profileBytes, profile))
        {
            Fault(check, check.torn, std::string(expected.name) + ": profile torn");
            continue;
        }
        const std::string savedBytes = bytesOf(SavedGame::GetFileName(expected.name));
        SavedGame saved;
        if (!savedBytes.empty() && !ReadRecord(savedBytes, saved))
            Fault(check, check.torn, std::string(expected.name) + ": saved game torn");
        CheckProgress(check, expected, profile, !savedBytes.empty());
        if (!scoreBytes.empty())
            CheckScores(check, scores, expected.name, profile.GetTotalScore());
    }
    return check;
}

KillCheck CheckNextStartAfterKill(const fs::path& folder)
{
    KillCheck check;
    MemoryFileStore store = ReadFolder(folder);
    const PlayerDataLogSink previous = SetPlayerDataLogSink([&](PlayerLogKind kind, const std::string& line) {
        if (kind == PlayerLogKind::Error)
            Fault(check, check.torn, "at load: " + line);
    });
    {
        PlayerData data(store);
        data.Load(kNearlyPassedProfile);
        for (const Expected& expected : kProfiles)
        {
            const int index = data.GetProfileList().Find(expected.name);
            if (index < 0)
            {
                Fault(check, check.lost, std::string(expected.name) + " not listed at the next start");
                continue;
            }
            data.SelectProfile(index);
            CheckProgress(check, expected, data.GetCurrentProfile(), data.LoadSavedGame().has_value());
            CheckScores(check, data.GetScoreTable(), expected.name, data.GetCurrentProfile().GetTotalScore());
        }
    }
    SetPlayerDataLogSink(previous);
    return check;
}
} // namespace Fixtures

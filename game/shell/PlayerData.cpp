#include "game/shell/PlayerData.h"

#include "game/shell/AchievementManager.h"
#include "game/shell/PlayerDataLog.h"
#include "game/shell/PlayerFileStore.h"

#include <algorithm>
#include <string_view>
#include <tuple>
#include <vector>

namespace
{
constexpr std::string_view kProfileSuffix = ".dat";

// The profile name a "<stem>.dat" file belongs to; nullopt for any other file.
std::optional<std::string> ProfileNameOfFile(const std::string& file)
{
    if (file.size() <= kProfileSuffix.size() || !file.ends_with(kProfileSuffix))
        return std::nullopt;
    return ProfileList::GetNameOfStem(file.substr(0, file.size() - kProfileSuffix.size()));
}

std::string JoinNames(const std::vector<std::string>& names)
{
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : ", ") + name;
    return joined;
}
} // namespace

PlayerData::PlayerData(PlayerFileStore& store, AchievementManager* achievements)
    : mStore(store), mAchievements(achievements)
{
    AttachAchievements();
}

PlayerData::~PlayerData()
{
    if (mAchievements != nullptr)
        mAchievements->SetRecord(nullptr);
}

void PlayerData::AttachAchievements()
{
    if (mAchievements != nullptr)
        mAchievements->SetRecord(&mCurrent.GetAchievements());
}

void PlayerData::MakeCurrent(const std::string& name)
{
    if (mCurrentUnsaved && mList.Find(mCurrent.GetName()) >= 0)
        mUnsavedProfiles[mCurrent.GetName()] = mCurrent;
    const auto unsaved = mUnsavedProfiles.find(name);
    mCurrentUnsaved = unsaved != mUnsavedProfiles.end();
    if (mCurrentUnsaved)
    {
        // Newer than its file: the write that failed is still to be made.
        mCurrent = std::move(unsaved->second);
        mUnsavedProfiles.erase(unsaved);
    }
    else
    {
        mCurrent.Load(mStore, name);
    }
    AttachAchievements();
}

void PlayerData::RebuildList()
{
    struct Found
    {
        int64_t modified;
        std::string name;
    };
    std::vector<Found> found;
    for (const StoredFile& file : mStore.List())
    {
        const std::optional<std::string> name = ProfileNameOfFile(file.name);
        // A deleted profile's file is empty; a name no profile may take is not the game's file.
        if (!name || file.size == 0 || ProfileList().CheckNewName(*name) != ProfileList::NameCheck::Ok)
            continue;
        Quoll::Buffer bytes;
        Profile profile;
        if (!mStore.Read(file.name, bytes) || !profile.Read(bytes) || profile.GetName() != *name)
        {
            LogPlayerData(PlayerLogKind::Warning, "Profile list: " + file.name + " does not read as a profile; not listed");
            continue;
        }
        found.push_back({file.modified, *name});
    }
    if (found.empty())
        return;
    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return std::tie(a.modified, a.name) < std::tie(b.modified, b.name); });
    const size_t dropped = found.size() > size_t(ProfileList::kMaxProfiles) ? found.size() - ProfileList::kMaxProfiles : 0;
    std::vector<std::string> listed;
    std::vector<std::string> left;
    for (size_t i = 0; i < found.size(); ++i)
        (i < dropped ? left : listed).push_back(found[i].name);
    for (const std::string& name : listed)
        mList.Add(name);
    LogPlayerData(PlayerLogKind::Warning, "Profile list: rebuilt from the profile files: " + JoinNames(listed));
    if (!left.empty())
        LogPlayerData(PlayerLogKind::Warning,
                      "Profile list: the list holds five; left out (files kept): " + JoinNames(left));
    SaveList();
}

void PlayerData::SubmitListedTotals()
{
    bool changed = false;
    for (int index = 0; index < mList.GetCount(); ++index)
    {
        const std::string& name = mList.GetName(index);
        Profile profile;
        if (name == mCurrent.GetName())
            profile = mCurrent;
        else if (!profile.Load(mStore, name))
            continue;
        // A profile that has won nothing has no entry, as before its first win.
        if (profile.GetTotalScore() > 0)
            changed = mScores.Submit(name, profile.GetTotalScore()) || changed;
    }
    if (changed)
        SaveScores();
}

void PlayerData::Load(const std::string& currentName)
{
    mList.Load(mStore);
    mScores.Load(mStore);
    if (mList.GetCount() == 0)
        RebuildList();
    if (mList.GetCount() == 0)
    {
        // A first start: nothing is written until the player creates a profile.
        mCurrent = Profile(kDefaultProfileName);
        AttachAchievements();
        return;
    }
    const int index = mList.Find(currentName);
    MakeCurrent(mList.GetName(index >= 0 ? index : mList.GetCount() - 1));
    SubmitListedTotals();
}

bool PlayerData::SelectProfile(int index)
{
    if (index < 0 || index >= mList.GetCount())
        return false;
    RetryUnsaved();
    SaveCurrentProfile();
    MakeCurrent(mList.GetName(index));
    return true;
}

void PlayerData::KeepEarlierFiles(const std::string& name)
{
    for (const std::string& file : {Profile::GetFileName(name), SavedGame::GetFileName(name)})
    {
        Quoll::Buffer bytes;
        if (!mStore.Read(file, bytes) || bytes.GetDataSize() == 0)
            continue;
        if (mStore.KeepOld(file, bytes))
            LogPlayerData(PlayerLogKind::Warning, "New profile " + name + ": the earlier " + file + " kept as " + file + ".old");
        else
            LogPlayerData(PlayerLogKind::Error, "New profile " + name + ": the earlier " + file + " could not be kept");
    }
}

ProfileList::NameCheck PlayerData::CreateProfile(const std::string& name)
{
    const ProfileList::NameCheck check = mList.Add(name);
    if (check != ProfileList::NameCheck::Ok)
        return check;
    RetryUnsaved();
    SaveCurrentProfile();
    SaveList();
    KeepEarlierFiles(name);
    if (mCurrentUnsaved && mCurrent.GetName() != name)
        mUnsavedProfiles[mCurrent.GetName()] = mCurrent;
    mUnsavedProfiles.erase(name);
    mSavedGamesToErase.erase(name);
    mCurrent = Profile(name);
    AttachAchievements();
    SaveCurrentProfile();
    SavedGame::Erase(mStore, name);
    return check;
}

int PlayerData::DeleteProfile(int index)
{
    if (mList.GetCount() < 2 || index < 0 || index >= mList.GetCount())
        return -1;
    RetryUnsaved();
    const std::string name = mList.GetName(index);
    const bool wasCurrent = name == mCurrent.GetName();
    mList.Remove(index);
    SaveList();
    mStore.Erase(Profile::GetFileName(name));
    SavedGame::Erase(mStore, name);
    mUnsavedProfiles.erase(name);
    mSavedGamesToErase.erase(name);
    if (wasCurrent)
        mCurrentUnsaved = false;

    const int selected = std::max(0, index - 1);
    if (!wasCurrent)
        SaveCurrentProfile();
    MakeCurrent(mList.GetName(selected));
    return selected;
}

bool PlayerData::RecordLevelResult(int level, int score, int medal)
{
    RetryUnsaved();
    const bool newBest = mCurrent.SetLevelResult(level, score, medal);
    if (mScores.Submit(mCurrent.GetName(), mCurrent.GetTotalScore()))
        mScoresUnsaved = true;
    SaveCurrentProfile();
    if (mScoresUnsaved)
        SaveScores();
    return newBest;
}

void PlayerData::RecordRandomResult(int episode, bool won)
{
    RetryUnsaved();
    mCurrent.AddRandomResult(episode, won);
    SaveCurrentProfile();
}

bool PlayerData::ChooseDifficulty(int difficulty)
{
    if (!mCurrent.ChooseDifficulty(difficulty))
        return false;
    RetryUnsaved();
    SaveCurrentProfile();
    return true;
}

bool PlayerData::SaveGame(int level, const Quoll::Buffer& levelBody)
{
    if (KeepsFinishedSavedGame("not replaced by the game of level " + std::to_string(level) + ", which is not saved"))
    {
        // Not saved, as a failed write is: logged and told once.
        const std::string file = SavedGame::GetFileName(mCurrent.GetName());
        if (mRefusedSavedGames.insert(file).second)
            LogPlayerData(PlayerLogKind::WriteFailed, mStore.GetPath(file));
        return false;
    }
    return SavedGame(level, levelBody).Save(mStore, mCurrent.GetName());
}

std::optional<SavedGame> PlayerData::LoadSavedGame() { return SavedGame::Load(mStore, mCurrent.GetName()); }

bool PlayerData::EraseSavedGame()
{
    if (KeepsFinishedSavedGame("not erased"))
        return false;
    return SavedGame::Erase(mStore, mCurrent.GetName());
}

bool PlayerData::KeepsFinishedSavedGame(const std::string& refused)
{
    const std::string name = mCurrent.GetName();
    if (mSavedGamesToErase.count(name) == 0)
        return false;
    // Written now, the result takes its saved game with it, and the caller may go on.
    RetryUnsaved();
    if (mSavedGamesToErase.count(name) == 0)
        return false;
    LogPlayerData(PlayerLogKind::Warning, "Saved game: " + SavedGame::GetFileName(name) + " " + refused +
                                              ": the result of its level is not yet written");
    return true;
}

void PlayerData::EraseFinishedSavedGame()
{
    if (IsCurrentProfileSaved())
        EraseSavedGame();
    else
        mSavedGamesToErase.insert(mCurrent.GetName());
}

void PlayerData::EraseSavedGameIfDue(const std::string& name)
{
    if (mSavedGamesToErase.erase(name) != 0)
        SavedGame::Erase(mStore, name);
}

bool PlayerData::SaveCurrentProfile()
{
    // A profile no longer listed (deleted) is not written back.
    if (mList.Find(mCurrent.GetName()) < 0)
        return true;
    mCurrentUnsaved = !mCurrent.Save(mStore);
    if (!mCurrentUnsaved)
        EraseSavedGameIfDue(mCurrent.GetName());
    return !mCurrentUnsaved;
}

bool PlayerData::SaveList()
{
    mListUnsaved = !mList.Save(mStore);
    return !mListUnsaved;
}

bool PlayerData::SaveScores()
{
    mScoresUnsaved = !mScores.Save(mStore);
    return !mScoresUnsaved;
}

void PlayerData::RetryUnsaved()
{
    if (mListUnsaved)
        SaveList();
    if (mScoresUnsaved)
        SaveScores();
    if (mCurrentUnsaved)
        SaveCurrentProfile();
    for (auto it = mUnsavedProfiles.begin(); it != mUnsavedProfiles.end();)
    {
        const std::string name = it->first;
        if (mList.Find(name) < 0 || it->second.Save(mStore))
        {
            it = mUnsavedProfiles.erase(it);
            EraseSavedGameIfDue(name);
        }
        else
        {
            ++it;
        }
    }
}

bool PlayerData::IsAllSaved() const
{
    return !mCurrentUnsaved && !mListUnsaved && !mScoresUnsaved && mUnsavedProfiles.empty();
}

bool PlayerData::SaveAll()
{
    // Everything is written again: a shutdown is the last chance this session has.
    mListUnsaved = mScoresUnsaved = true;
    mCurrentUnsaved = mList.Find(mCurrent.GetName()) >= 0;
    RetryUnsaved();
    return IsAllSaved();
}

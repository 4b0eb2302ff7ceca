#include "game/shell/PlayerData.h"

#include "game/shell/AchievementManager.h"
#include "game/shell/PlayerFileStore.h"

#include <algorithm>

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
    mCurrent.Load(mStore, name);
    AttachAchievements();
}

bool PlayerData::RecoverDefaultProfile()
{
    Quoll::Buffer file;
    if (!mStore.Read(Profile::GetFileName(kDefaultProfileName), file) || file.GetDataSize() == 0)
        return false;
    mList.Add(kDefaultProfileName);
    mList.Save(mStore);
    MakeCurrent(kDefaultProfileName);
    return true;
}

void PlayerData::Load(const std::string& currentName)
{
    mList.Load(mStore);
    mScores.Load(mStore);
    if (mList.GetCount() == 0 && !RecoverDefaultProfile())
    {
        // A first start: nothing is written until the player creates a profile.
        mCurrent = Profile(kDefaultProfileName);
        AttachAchievements();
        return;
    }
    const int index = mList.Find(currentName);
    MakeCurrent(mList.GetName(index >= 0 ? index : mList.GetCount() - 1));
}

bool PlayerData::SelectProfile(int index)
{
    if (index < 0 || index >= mList.GetCount())
        return false;
    SaveCurrentProfile();
    MakeCurrent(mList.GetName(index));
    return true;
}

ProfileList::NameCheck PlayerData::CreateProfile(const std::string& name)
{
    const ProfileList::NameCheck check = mList.Add(name);
    if (check != ProfileList::NameCheck::Ok)
        return check;
    SaveCurrentProfile();
    mList.Save(mStore);
    // A fresh record over whatever an earlier profile of that name left behind.
    mCurrent = Profile(name);
    AttachAchievements();
    mCurrent.Save(mStore);
    SavedGame::Erase(mStore, name);
    return check;
}

int PlayerData::DeleteProfile(int index)
{
    if (mList.GetCount() < 2 || index < 0 || index >= mList.GetCount())
        return -1;
    const std::string name = mList.GetName(index);
    const bool wasCurrent = name == mCurrent.GetName();
    mList.Remove(index);
    mList.Save(mStore);
    mStore.Erase(Profile::GetFileName(name));
    SavedGame::Erase(mStore, name);

    const int selected = std::max(0, index - 1);
    if (!wasCurrent)
        SaveCurrentProfile();
    MakeCurrent(mList.GetName(selected));
    return selected;
}

bool PlayerData::RecordLevelResult(int level, int score, int medal)
{
    const bool newBest = mCurrent.SetLevelResult(level, score, medal);
    mScores.Submit(mCurrent.GetName(), mCurrent.GetTotalScore());
    SaveCurrentProfile();
    mScores.Save(mStore);
    return newBest;
}

void PlayerData::RecordRandomResult(int episode, bool won)
{
    mCurrent.AddRandomResult(episode, won);
    SaveCurrentProfile();
}

bool PlayerData::ChooseDifficulty(int difficulty)
{
    if (!mCurrent.ChooseDifficulty(difficulty))
        return false;
    SaveCurrentProfile();
    return true;
}

bool PlayerData::SaveGame(int level, const Quoll::Buffer& levelBody)
{
    return SavedGame(level, levelBody).Save(mStore, mCurrent.GetName());
}

std::optional<SavedGame> PlayerData::LoadSavedGame() { return SavedGame::Load(mStore, mCurrent.GetName()); }

bool PlayerData::EraseSavedGame() { return SavedGame::Erase(mStore, mCurrent.GetName()); }

bool PlayerData::SaveCurrentProfile()
{
    // A profile no longer listed (deleted) is not written back.
    if (mList.Find(mCurrent.GetName()) < 0)
        return true;
    return mCurrent.Save(mStore);
}

bool PlayerData::SaveAll()
{
    const bool list = mList.Save(mStore);
    const bool profile = SaveCurrentProfile();
    const bool scores = mScores.Save(mStore);
    return list && profile && scores;
}

#pragma once
// PlayerData: everything kept for the players: the profile list, the current profile, its saved
// game and the score table, read from and written to a PlayerFileStore. The application owns one;
// its LevelServices answer the difficulty and level results from GetCurrentProfile(), its
// shutdown hook calls SaveAll, and the profile dialogs' states call Select, Create and Delete.
// When an AchievementManager is given, it always works on the current profile's record.
//
// There is always a current profile. On a first start no profile is listed yet: the current one is
// a fresh, unlisted kDefaultProfileName, which is never written as a profile, until the player
// creates the first (the title then leads to the compulsory profile screen). A lost list keeps a
// kDefaultProfileName profile an earlier start wrote: it is listed again with its progress.
#include "game/shell/Profile.h"
#include "game/shell/ProfileList.h"
#include "game/shell/SavedGame.h"
#include "game/shell/ScoreTable.h"

#include <optional>
#include <string>

class AchievementManager;
class PlayerFileStore;

class PlayerData
{
public:
    static constexpr const char* kDefaultProfileName = "Player";

    explicit PlayerData(PlayerFileStore& store, AchievementManager* achievements = nullptr);
    ~PlayerData();
    PlayerData(const PlayerData&) = delete;
    PlayerData& operator=(const PlayerData&) = delete;

    // Reads the list and the scores and makes the named profile current (the last listed one
    // when the name is not listed; the unlisted default profile when the list is empty).
    void Load(const std::string& currentName);

    [[nodiscard]] const ProfileList& GetProfileList() const { return mList; }
    // Whether the player has created a profile (the current one is then listed).
    [[nodiscard]] bool HasProfile() const { return mList.GetCount() > 0; }
    [[nodiscard]] Profile& GetCurrentProfile() { return mCurrent; }
    [[nodiscard]] const Profile& GetCurrentProfile() const { return mCurrent; }
    [[nodiscard]] const std::string& GetCurrentName() const { return mCurrent.GetName(); }
    [[nodiscard]] const ScoreTable& GetScoreTable() const { return mScores; }

    // Saves the current profile and makes the listed one current; false for an index outside
    // the list.
    bool SelectProfile(int index);
    // Adds a profile with a fresh record, writes it and the list, and makes it current.
    ProfileList::NameCheck CreateProfile(const std::string& name);
    // Removes a profile and empties its files; the last profile cannot be removed. The entry
    // before it (or the first) becomes current; its index is returned, -1 when nothing was
    // removed.
    int DeleteProfile(int index);

    // A won campaign level: the profile's best result and medal, the profile's total into the
    // score table, both saved. True when the score is a new best for the level.
    bool RecordLevelResult(int level, int score, int medal);
    // A finished random level of an episode; the profile is saved.
    void RecordRandomResult(int episode, bool won);
    // The difficulty chosen in the difficulty dialog; the profile is saved. False for a value
    // other than 513 and 514.
    bool ChooseDifficulty(int difficulty);

    // The current profile's saved game.
    bool SaveGame(int level, const Quoll::Buffer& levelBody);
    [[nodiscard]] std::optional<SavedGame> LoadSavedGame();
    bool EraseSavedGame();

    bool SaveCurrentProfile();
    // The list, the current profile and the scores; false when any write failed.
    bool SaveAll();

private:
    void MakeCurrent(const std::string& name);
    // Lists the default profile again when an earlier start wrote its file; false when none.
    bool RecoverDefaultProfile();
    void AttachAchievements();

    PlayerFileStore& mStore;
    AchievementManager* mAchievements;
    ProfileList mList;
    Profile mCurrent;
    ScoreTable mScores;
};

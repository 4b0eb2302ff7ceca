#pragma once
// PlayerData: everything kept for the players: the profile list, the current profile, its saved
// game and the score table, read from and written to a PlayerFileStore. The application owns one;
// its LevelServices answer the difficulty and level results from GetCurrentProfile(), its
// shutdown hook calls SaveAll, and the profile dialogs' states call Select, Create and Delete.
// When an AchievementManager is given, it always works on the current profile's record.
//
// There is always a current profile. On a first start no profile is listed yet: the current one is
// a fresh, unlisted kDefaultProfileName, which is never written as a profile, until the player
// creates the first (the title then leads to the compulsory profile screen).
//
// Nothing the player has is lost to a lost list, a full disk or a kill:
// - A missing, damaged or empty list is rebuilt from the profile files in the folder (see
//   RebuildList); creating a profile over a file that still holds one keeps it as "<file>.old".
// - A write that fails is tried again, from what is in memory, at every later write point (level
//   ends, profile changes, SaveAll at shutdown); a profile that failed to write stays in memory
//   when another one becomes current. A saved game played to its end is erased only once the
//   result is written (EraseFinishedSavedGame); until then no new level erases or replaces it.
// - The score table holds every listed profile's total (a kill between the two writes).
#include "game/shell/Profile.h"
#include "game/shell/ProfileList.h"
#include "game/shell/SavedGame.h"
#include "game/shell/ScoreTable.h"

#include <map>
#include <optional>
#include <set>
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

    // The current profile's saved game. While a finished saved game waits for its result to be
    // written (EraseFinishedSavedGame), the failed writes are tried again first; should the
    // result stay unwritten, the file is neither replaced nor erased and false is returned (a
    // save refused so is reported as a failed write of the file).
    bool SaveGame(int level, const Quoll::Buffer& levelBody);
    [[nodiscard]] std::optional<SavedGame> LoadSavedGame();
    bool EraseSavedGame();
    // The current profile's saved game was played to its end: erased now when the profile's
    // record is written, else once a later write of it succeeds (until then it stays, so that
    // the level can be played again should the record never be written).
    void EraseFinishedSavedGame();

    bool SaveCurrentProfile();
    // Whether the current profile's last write succeeded.
    [[nodiscard]] bool IsCurrentProfileSaved() const { return !mCurrentUnsaved; }
    // Whether every write that failed has since succeeded.
    [[nodiscard]] bool IsAllSaved() const;
    // The list, every profile in memory and the scores; false when any write failed.
    bool SaveAll();

private:
    void MakeCurrent(const std::string& name);
    // Lists the profiles whose files are in the folder: every non-empty "<stem>.dat" that reads
    // as the profile its stem names, by modification time, then name; the five latest when
    // there are more (the others are logged and left alone).
    void RebuildList();
    // Raises every listed profile's score table entry to its total, as a level end does.
    void SubmitListedTotals();
    // Keeps an earlier profile's files that a new profile of the same name would replace.
    void KeepEarlierFiles(const std::string& name);
    bool SaveList();
    bool SaveScores();
    // Tries the writes that failed before again.
    void RetryUnsaved();
    void EraseSavedGameIfDue(const std::string& name);
    // Whether the current profile's finished saved game must stay: its result is still unwritten
    // after the failed writes were tried again. What is refused it then logs ("not erased").
    bool KeepsFinishedSavedGame(const std::string& refused);
    void AttachAchievements();

    PlayerFileStore& mStore;
    AchievementManager* mAchievements;
    ProfileList mList;
    Profile mCurrent;
    ScoreTable mScores;
    bool mCurrentUnsaved = false;
    bool mListUnsaved = false;
    bool mScoresUnsaved = false;
    // Listed profiles, no longer current, whose last write failed.
    std::map<std::string, Profile> mUnsavedProfiles;
    // Profiles whose finished saved game is erased once their record is written.
    std::set<std::string> mSavedGamesToErase;
    // Saved-game files whose save was refused (KeepsFinishedSavedGame), reported once each.
    std::set<std::string> mRefusedSavedGames;
};

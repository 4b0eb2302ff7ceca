#pragma once
// Profile: one player's record: the name, the difficulty (513 easy, 514 normal) and whether the
// player chose it, the best result and medal of every campaign level, the random levels played
// and won per episode, what the player has already been shown, and the achievements. It is the
// progress that LevelList and the level read through the game's LevelServices.
//
// File "<name as hex>.dat" (see ProfileList::GetFileStem), 32-bit little-endian integers,
// strings with a 16-bit length:
//   string "tymlo1", int32 version 1
//   string name
//   int32 difficulty (513 or 514), byte difficulty chosen (0 or 1)
//   int32 70, then per level 1..70: int32 score (0 = not completed), int32 medal (0..2)
//   int32 5, then per episode 1..5: int32 random levels played, int32 of them won (<= played)
//   int32 seen flags (bits of ProfileSeen)
//   the achievement record (AchievementRecord.h)
//   string "tymlo1"
#include "game/shell/AchievementRecord.h"

#include <array>
#include <cstdint>
#include <string>

class PlayerFileStore;

// Things shown to the player once.
enum class ProfileSeen : int
{
    OpeningComic = 0,
    MapIntro = 1,
    FinalComic = 2,
};

class Profile
{
public:
    static constexpr int kEasyDifficulty = 513;
    static constexpr int kNormalDifficulty = 514;
    static constexpr int kLevelCount = 70;
    static constexpr int kEpisodeCount = 5;
    static constexpr int kMaxMedal = 2;

    explicit Profile(std::string name = {});

    [[nodiscard]] const std::string& GetName() const { return mName; }

    // 513 until the player chooses.
    [[nodiscard]] int GetDifficulty() const { return mDifficulty; }
    [[nodiscard]] bool IsDifficultyChosen() const { return mDifficultyChosen; }
    // Stores the choice; false (nothing stored) for a value other than 513 and 514.
    bool ChooseDifficulty(int difficulty);

    // The best result of a campaign level; 0 when not completed, for level 0 and past the list.
    [[nodiscard]] int GetLevelScore(int level) const;
    // The best medal grade 0..2 of a level; 0 in the same cases.
    [[nodiscard]] int GetLevelMedal(int level) const;
    // Books a won level: the score and the medal each replace the stored one when higher. True
    // when the score beat the stored best. Levels outside 1..70 and negative values are ignored.
    bool SetLevelResult(int level, int score, int medal);
    // The best results of all levels together (at most INT32_MAX).
    [[nodiscard]] int GetTotalScore() const;

    // Random levels of an episode (clamped to 1..5): first = played, second = won.
    void GetRandomStats(int episode, int& first, int& second) const;
    void AddRandomResult(int episode, bool won);

    [[nodiscard]] bool HasSeen(ProfileSeen what) const;
    void MarkSeen(ProfileSeen what);

    [[nodiscard]] AchievementRecord& GetAchievements() { return mAchievements; }
    [[nodiscard]] const AchievementRecord& GetAchievements() const { return mAchievements; }

    void Write(Quoll::Buffer& buffer) const;
    // All or nothing: false, with the profile unchanged, when the record is damaged or not
    // complete. The name comes from the record.
    [[nodiscard]] bool Read(Quoll::Buffer& buffer);

    // "<stem>.dat" of the name.
    [[nodiscard]] static std::string GetFileName(const std::string& name);
    // Reads the named profile's file. A missing or empty file gives a fresh profile of that name;
    // a damaged one is logged ("Cannot read profile: " and the name) and gives a fresh profile
    // too. False in both cases.
    bool Load(PlayerFileStore& store, const std::string& name);
    bool Save(PlayerFileStore& store) const;

    bool operator==(const Profile&) const = default;

private:
    struct LevelResult
    {
        int32_t score = 0;
        int32_t medal = 0;
        bool operator==(const LevelResult&) const = default;
    };
    struct RandomStats
    {
        int32_t played = 0;
        int32_t won = 0;
        bool operator==(const RandomStats&) const = default;
    };
    static constexpr int32_t kMaxCount = 1000000000;

    static constexpr int32_t kSeenMask = 0x7;

    [[nodiscard]] static int ClampEpisode(int episode);
    [[nodiscard]] bool ReadBody(RecordReader& reader);

    std::string mName;
    int32_t mDifficulty = kEasyDifficulty;
    bool mDifficultyChosen = false;
    std::array<LevelResult, kLevelCount> mLevels{};
    std::array<RandomStats, kEpisodeCount> mRandom{};
    int32_t mSeen = 0;
    AchievementRecord mAchievements;
};

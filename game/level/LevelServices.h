#pragma once
// LevelServices: what a level asks of the game around it: sounds, achievement events, the hint
// interval ramp, the update clock and its time step, the current level number, the profile's
// difficulty and results, the error log and the tutorial data. The game shell implements it;
// NullLevelServices and RecordingLevelServices serve tools and tests.
//
// The level never reads the wall clock: its time comes from GetUpdateClockMs and GetFrameTime,
// which advance with logic updates, so a replayed game takes the same decisions.
#include <cstdint>
#include <string>

// The sounds a level plays; the game shell maps them to its sound resources.
enum class LevelSound : int
{
    BacSelect,
    BacJump,
    BacClone,
    BacSelectWrong,
    MoveHint,
    BackstepActivate,
    BonusTeleport,
    BonusMineSet,
    BonusMineHit,
};

// The achievement events a level reports (ids 1..52 of the achievement manager). The win of a
// random level reports 44 + its episode, outside this list.
enum class AchievementEvent : int
{
    HumanLanded = 8,
    HumanJumped = 9,
    HumanCloned = 10,
    QuickLandings = 11,
    NewRound = 12,
    FirstRound = 14,
    LevelWon = 15,
    LevelLost = 16,
    SteppedBack = 19,
    CapturedNothing = 20,
    Captured = 21,
    CapturedFive = 22,
    CapturedSix = 23,
    HiddenObjectFound = 30,
    BombedFourEnemies = 31,
    MineLaid = 32,
    Teleported = 33,
    BombHitEnemy = 34,
    MineHitEnemy = 35,
    OwnMineHitEnemy = 36,
    MineHitHuman = 37,
    WonWithoutEnemies = 38,
    FreeCellsToHuman = 39,
    FollowedHint = 42,
    HumanCannotMove = 43,
    OvertookEnemies = 44,
    BossBeaten = 50,
    BonusesOnBoard = 52,
};

// The win of a random level of episode e reports this plus e.
inline constexpr int kRandomLevelWonEventBase = 44;

// The tutorial steps of the campaign's levels.
class TutorialData
{
public:
    virtual ~TutorialData() = default;
    // Loads the steps once; later calls do nothing.
    virtual void LoadSteps() = 0;
    [[nodiscard]] virtual bool HasLevelSteps(int level) const = 0;
};

class LevelServices
{
public:
    // The profile difficulty whose hint ramp runs from 5 to 30 seconds (others: 3 to 10).
    static constexpr int kSlowRampDifficulty = 514;

    virtual ~LevelServices() = default;

    virtual void PlaySound(LevelSound sound, float volume, float pan) = 0;
    virtual void OnAchievementEvent(int eventId) = 0;
    void OnAchievementEvent(AchievementEvent event) { OnAchievementEvent(static_cast<int>(event)); }
    // The hint interval in seconds for the given step (hints already shown this turn).
    [[nodiscard]] virtual float GetLevelRampValue(int step) const = 0;
    // Seconds between the previous logic update and this one.
    [[nodiscard]] virtual float GetFrameTime() const = 0;
    // Milliseconds of the update clock.
    [[nodiscard]] virtual uint32_t GetUpdateClockMs() const = 0;
    // 1..70 for campaign levels, minus the episode for random levels.
    [[nodiscard]] virtual int GetCurrentLevelNumber() const = 0;
    // The current profile's difficulty value, 513 or 514.
    [[nodiscard]] virtual int GetProfileDifficulty() const = 0;
    // The stored result and medal grade of a level in the current profile; 0 when not completed.
    [[nodiscard]] virtual int GetLevelScore(int level) const = 0;
    [[nodiscard]] virtual int GetLevelMedal(int level) const = 0;
    // One line to the game's "ERROR" log.
    virtual void LogError(const std::string& line) = 0;
    virtual TutorialData& GetTutorial() = 0;
};

// The hint ramp: a + (b - a) * t with t = (level - step) / levelCount, not below 0; (a, b) is
// (5, 30) for the slow-ramp difficulty and (3, 10) otherwise.
[[nodiscard]] float ComputeLevelRampValue(int difficulty, int currentLevel, int step, int levelCount);

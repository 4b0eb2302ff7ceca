#pragma once
// BossRules: the boss of a boss level, without drawing. Every two rounds (at once when it has no
// cell left or no cell is free) the boss aims at a cell, and when its ray arrives one of its
// bacteria is placed there; a bomb dropped on its portrait costs it a hit point; while it has hit
// points a human win does not end the level, and once they are gone the free cells go to the
// human, who wins. Its hit points and countdown are words of the level's parameters, so they are
// saved with the level. Each boss cell the human captures leaves a bonus from a program-wide
// spawn bag. Every draw of the boss (its targets, the bag's refills) comes from the level's own
// generator (saved with the level), never the program-wide one that the screen's effects also
// draw from: the boss plays the same with or without a screen.
//
// The play screen's boss wraps these rules and adds the portrait on the HUD and the ray's
// particles: it moves the portrait area with the HUD avatar, advances the ray with Update and
// draws it between GetRayStart and GetRayEnd while GetPhase is RayFlying. A level whose view
// offers no boss plays by these rules alone and advances the ray itself.
#include "game/level/LevelView.h"

#include <array>
#include <vector>

class Level;

namespace Quoll
{
class MersenneTwister;
}

// The bonus kinds the boss leaves on its captured cells: a bag of four drawn in order. Drawing
// a bomb (12) refills the bag with three kinds of 4, 8 or 12 (a 12 in the first two slots
// becomes a laid mine, 16) and a last bomb, so a refill comes by the fourth draw at the latest.
class BossSpawnBag
{
public:
    static constexpr std::array<int, 4> kInitialBag = {12, 4, 12, 12};

    // The next kind; a refill is drawn from the generator given.
    int Next(Quoll::MersenneTwister& random);
    void Reset();

private:
    std::array<int, 4> mKinds = kInitialBag;
    size_t mIndex = 0;
};

// The program's one spawn bag.
BossSpawnBag& GetBossSpawnBag();

// Where the boss's portrait lies on the screen. Tools without a screen use kScreenlessPortrait,
// the boss's corner of the HUD.
struct BossPortraitArea
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    // Right and bottom edges excluded.
    [[nodiscard]] bool Contains(ScreenPoint point) const
    {
        return point.x >= x && point.x < x + width && point.y >= y && point.y < y + height;
    }
    [[nodiscard]] ScreenPoint Centre() const { return {x + width / 2, y + height / 2}; }
};

inline constexpr BossPortraitArea kScreenlessPortrait = {864, 20, 140, 160};

// A screen point of the ray's flight.
struct RayPoint
{
    float x = 0.0f;
    float y = 0.0f;
};

enum class BossPhase
{
    Waiting,   // between attacks
    RayFlying, // the ray is on its way to the target
    Beaten,    // no hit points left
};

// The cell the boss aims at, and whether the ray also wipes out its six neighbours.
struct BossTarget
{
    int cell = -1;
    bool spread = false;
};

class BossRules : public BossLevelInterface
{
public:
    static constexpr int kCountdown = 2;
    static constexpr float kRaySpeed = 600.0f;
    // Where the ray leaves the portrait, from its top-left corner.
    static constexpr RayPoint kRayOffset = {32.0f, 120.0f};
    // Seconds after the ray's arrival until the boss's bacterium shows.
    static constexpr float kPlaceDelay = 0.4f;
    static constexpr float kSpawnDelay = 0.3f;
    // Up to this many seconds more before each neighbour of a spreading ray's target changes.
    static constexpr float kSpreadJitter = 0.5f;

    explicit BossRules(Level& level);

    // --- BossLevelInterface ---
    // Nothing to show without a screen.
    void BindHud() override {}
    // One round passed: the countdown runs down and the boss attacks when it can act.
    void OnTurnPassed() override;
    [[nodiscard]] int AdjustGameResult(int result) override;
    void SetPendingBonus(int bonusCode) override { mPendingBonus = bonusCode; }
    // An armed bomb whose point lies on the portrait area costs the boss a hit point.
    [[nodiscard]] bool TryUseBonus(ScreenPoint point) override;
    [[nodiscard]] bool IsAnimating() const override { return mRayTimer > 0.0f; }
    void PlaceSpawnedUnits(const std::vector<int>& cells) override;

    // --- Steps, also for the play screen's boss ---
    // The ray flies on; when it arrives the target changes and the boss's bacterium is placed.
    void Update(float dt);
    // The armed bomb used on the portrait (the caller has found the point on it): true when a
    // bomb was armed and the boss took its hit.
    bool UseBonusOnPortrait();
    [[nodiscard]] bool CanAct() const;
    // A free cell when there is one; else one of the human's cells, spreading; else any cell.
    // Cell -1 when the board has no cell at all.
    [[nodiscard]] BossTarget ChooseTarget();
    void StartAttack();
    // Hit points go down by damage, not below 0.
    void HitBoss(int damage);
    // The portrait's place on the screen; the ray starts from it.
    void SetPortraitArea(const BossPortraitArea& area) { mPortrait = area; }

    // --- State ---
    [[nodiscard]] BossPhase GetPhase() const;
    [[nodiscard]] int GetHitPoints() const;
    [[nodiscard]] int GetCountdown() const;
    // The player whose bacteria the boss places (the first with the boss's AI level); 0 for none.
    [[nodiscard]] int GetBossPlayer() const;
    [[nodiscard]] int GetPendingBonus() const { return mPendingBonus; }
    // The cell of the current or last ray; -1 before the first.
    [[nodiscard]] int GetTargetCell() const { return mTargetCell; }
    [[nodiscard]] const BossPortraitArea& GetPortraitArea() const { return mPortrait; }
    [[nodiscard]] RayPoint GetRayStart() const { return mRayStart; }
    [[nodiscard]] RayPoint GetRayEnd() const { return mRayEnd; }
    [[nodiscard]] float GetRayTimer() const { return mRayTimer; }
    [[nodiscard]] float GetRayDuration() const { return mRayDuration; }
    // Where the ray is now: from start (just fired) to end (arrived).
    [[nodiscard]] RayPoint GetRayPosition() const;

private:
    // The target changes, late seconds after the ray arrived (late is 0 or less).
    void Land(float late);
    // The level's own generator (saved with the level).
    [[nodiscard]] Quoll::MersenneTwister& Random();

    Level& mLevel;
    BossPortraitArea mPortrait = kScreenlessPortrait;
    int mPendingBonus = 0;
    float mRayTimer = 0.0f;
    float mRayDuration = 0.0f;
    RayPoint mRayStart;
    RayPoint mRayEnd;
    int mTargetCell = -1;
};

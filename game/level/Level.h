#pragma once
// Level: the round controller of the level being played. It owns the level's rules engine, its
// parameters (counts, round, score, inventory, boss counters, step-backs), the medal rule, the
// armed bonus action and, in a boss level, the boss. It turns the human's clicks into selections
// and moves, plays the computer players' turns, books captures, bonuses and scores, passes the
// turn and counts rounds, offers hints to an idle human, books step-backs and decides when the
// game is over. Everything shown goes through its LevelView; sounds, achievement events, time
// and the current level number come from its LevelServices. The play state (LevelSession)
// drives it: Load or GenerateRandomLevel, Start, SetupScene, then Update once per logic update
// while it is not busy, and the game-over step whenever a turn has ended.
//
// Level.cpp holds the life cycle and the turn machine; LevelInput.cpp clicks, selection, moves,
// hints and step-backs; LevelBonuses.cpp bonuses and explosions; LevelScore.cpp scores and
// medals; LevelSave.cpp the saved body; LevelEditor.cpp the editor's operations.
#include "game/level/BonusImpl.h"
#include "game/level/BossRules.h"
#include "game/board/GameLogic.h"
#include "game/board/LevelParams.h"
#include "game/level/LevelFileLayout.h"
#include "game/level/LevelServices.h"
#include "game/level/LevelView.h"
#include "game/level/ScoreRules.h"

#include "framework/core/Buffer.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// How strictly Load reads a body. A saved game and the step-back snapshot are read as the
// saved format allows (a medal rule when its marker is found, data after it left unread); a
// level file (a campaign, easy or editor level) must be whole and undamaged, see
// LevelFileCheck.
enum class LevelBodyKind
{
    Saved,
    LevelFile,
};

// The round states.
enum class LevelState : int
{
    NotStarted = 0,
    MoveLanded = 1,     // the landing waits to be processed
    EndOfTurn = 2,
    HumanToMove = 3,    // moves come from clicks; the hint timer runs
    ComputerToMove = 4,
    BonusArmed = 5,     // waits until the armed bonus action is ready
};

// How AnimateCellChange shows a wiped-out cell.
enum class CellChangeKind : int
{
    Plain = 0, // cleared without a blast (the boss's ray)
    MineBlast = 4,
    BombBlast = 12,
};

class Level
{
public:
    // Marker between the selected cell and the medal rule in a saved body.
    static constexpr int32_t kMedalRuleMarker = 365;
    // Bytes of a saved body after the logic section: parameters, selection, marker, medal rule.
    static constexpr size_t kBodyTailBytes = 112;

    // A cell index 0..60.
    static constexpr bool IsCell(int cell) { return cell >= 0 && cell < kCellCount; }

    Level(LevelView& view, LevelServices& services);
    ~Level();
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    // --- Play state ---
    // Fills the logic through generate (a random-level provider), then fresh parameters.
    bool GenerateRandomLevel(const std::function<bool(GameLogic&)>& generate);
    // False when the level has fewer than two players.
    bool Start();
    // Builds the screen's view of the level and starts the first turn.
    void SetupScene();
    // One step of the round state machine.
    void Update();
    [[nodiscard]] bool IsBusy() const;
    // A click on the play screen.
    void OnMouseDown(ScreenPoint point);
    // The board part of a click: cell -1 when no cell was hit (also for tools without a screen).
    void OnCellClick(int cell, ScreenPoint point);
    // Clears the turn-ended flag; true with the result (1..N the winner, 0 nobody) when the game
    // is over.
    bool CheckGameOver(int& result);
    void OnGameOver(int result);
    // Books one step-back after the play state restored the snapshot.
    void StepBack();
    void ShowFastMenu() { mView->ShowFastMenu(); }
    // Resets the logic, deletes the boss and forgets the screen.
    void Stop();
    void ReleaseLogic() { mLogic.Reset(); }
    // Advances the boss the level made itself because its view offered none (tools and tests
    // without a screen); a boss made by the view is advanced by its screen.
    void UpdateOwnBoss(float dt);
    // Set by the play state when the level was completed before: no tutorial.
    void SetTutorialSuppressed(bool suppressed) { mTutorialSuppressed = suppressed; }

    // --- Saved body ---
    // Appends the body; with reset, fresh parameters and no selection go with the board.
    bool Save(Quoll::Buffer& buffer, bool reset) const;
    // Reads a body into a freshly constructed level. False, with the reason in GetLoadError,
    // when the logic section does not read, a counter lies outside what a game can reach, or a
    // level file is damaged.
    bool Load(Quoll::Buffer& buffer, LevelBodyKind kind = LevelBodyKind::Saved);
    // Why the last Load failed; empty after a successful one.
    [[nodiscard]] const std::string& GetLoadError() const { return mLoadError; }
    // The layout of the level file the last Load read; none for other bodies and refused files.
    [[nodiscard]] const std::optional<LevelFileLayout>& GetFileLayout() const { return mFileLayout; }

    // --- Scores and medals ---
    // Books points of the kind; answers the points per cell for captures, else the points.
    int AddScore(ScoreKind kind, int count);
    // The end-of-level bonuses of a won level.
    void ComputeScore();
    [[nodiscard]] int GetMedalGrade() const;
    [[nodiscard]] int GetShownMedalGrade() const;

    // --- Level editor ---
    void EditSetCellKind(ScreenPoint point, int kind);
    // value 0 empties the cell, 1..3 a player's bacterium, 4, 8, 12, 16 a bonus.
    void EditSetCellContent(ScreenPoint point, int value);
    void EditCyclePlayerAiLevel(int player);
    void EditToggleMedalMode();
    void EditSetMedalThresholds(int first, int second);

    // --- Steps used by the bonus actions and the boss ---
    void SelectOrMove(int cell);
    // A move of the selected bacterium; check false is the teleport's move to any cell.
    void Move(int target, bool check);
    void ClearSelection();
    // kind 1..3 a player's bacterium, 4..16 a bonus; in logic and view.
    void PlaceOnCell(int cell, int kind, float delay);
    void ExplodeMine(int cell, float time);
    void BombCells(const std::vector<int>& cells, float time);
    void AnimateCellChange(int cell, float time, CellChangeKind kind);
    void FillFreeCells(int player);
    void MarkRefreshPending() { mRefreshPending = true; }

    // --- State ---
    [[nodiscard]] LevelState GetState() const { return mState; }
    [[nodiscard]] bool IsTurnEnded() const { return mTurnEnded; }
    [[nodiscard]] const GameLogic& GetLogic() const { return mLogic; }
    // The level's own generator, saved with it: the computer players' and the boss's draws.
    [[nodiscard]] Quoll::MersenneTwister& GetRandom() { return mLogic.GetRandom(); }
    [[nodiscard]] const LevelParams& GetParams() const { return mParams; }
    // The boss lowers its hit points and counts its countdown here.
    [[nodiscard]] LevelParams& GetParams() { return mParams; }
    [[nodiscard]] const MedalRule& GetMedalRule() const { return mMedalRule; }
    [[nodiscard]] int GetSelectedCell() const { return mSelectedCell; }
    [[nodiscard]] int GetBonusSourceCell() const { return mBonusSourceCell; }
    [[nodiscard]] bool HasPendingBonus() const { return mPendingBonus != nullptr; }
    // The armed bonus action, null when none is armed.
    [[nodiscard]] const BonusImpl* GetPendingBonus() const { return mPendingBonus.get(); }
    [[nodiscard]] bool HasBoss() const { return mBoss != nullptr; }
    // The boss's rules when the level made its boss itself; null otherwise.
    [[nodiscard]] const BossRules* GetOwnBoss() const { return mOwnBoss; }
    [[nodiscard]] BossRules* GetOwnBoss() { return mOwnBoss; }
    [[nodiscard]] int GetLastLaidMine() const { return mLastLaidMine; }
    [[nodiscard]] LevelView& GetView() { return *mView; }
    [[nodiscard]] LevelServices& GetServices() { return mServices; }

private:
    // Level.cpp
    void BuildBoardViews();
    void RestoreArmedBonus();
    void BeginPlayerTurn();
    void RefreshAvatarMoveMarks();
    void ProcessLanding();
    void ApplyReadyBonus();
    void RunHintTimer();
    void PlayComputerTurn();
    void CaptureAtTarget(int target, std::vector<int>& captured, std::vector<int>& bossCells);
    void BookHumanLanding(int capturedCount, bool overtook, const std::vector<int>& captured);
    void EndTurn();
    void NewRound();
    void UpdateParamsFromLogic();
    void RefreshScene();
    void Event(AchievementEvent event) { mServices.OnAchievementEvent(event); }
    void Sound(LevelSound sound, float volume) { mServices.PlaySound(sound, volume, 0.0f); }
    [[nodiscard]] int EnemyCellCount() const;

    // LevelInput.cpp
    void Select(int cell);
    void FlashPlayableCells(bool wrongSound);
    void StoreStepBackPoint();
    void ShowHint();
    void ClickHiddenObject(ScreenPoint point);

    // LevelBonuses.cpp
    void CollectBonuses(int target, const std::vector<int>& captured, const std::vector<int>& bossCells);
    void CollectBonus(int cell, int code);
    // Whether an armed bonus of the code could ever be used; sourceCell: where it was picked up.
    [[nodiscard]] bool CanUseBonus(int code, int sourceCell) const;
    void ArmBonus(int slot);
    bool OnBonusClick(int cell, ScreenPoint point);

    // LevelScore.cpp
    // Adds points to one part of the score and to the total.
    void BookPoints(int32_t& part, int64_t points);

    // LevelSave.cpp
    bool RefuseLoad(std::string reason);
    bool ReadParams(Quoll::Buffer& buffer);
    void RepairLoadedParams();
    void ReadMedalRule(Quoll::Buffer& buffer);

    // LevelEditor.cpp
    void EditSetCellKindAt(int cell, int kind);
    void EditSetCellContentAt(int cell, int value);
    void EditAdjustPlayerCount();

    LevelView* mView;
    LevelServices& mServices;
    std::unique_ptr<BonusImpl> mPendingBonus;
    std::unique_ptr<BossLevelInterface> mBoss;
    // mBoss, when the level made it from the rules alone.
    BossRules* mOwnBoss = nullptr;
    GameLogic mLogic;
    LevelParams mParams;
    MedalRule mMedalRule;
    LevelState mState = LevelState::NotStarted;
    bool mTurnEnded = false;
    bool mBoardViewReady = false;
    bool mRefreshPending = false;
    bool mTutorialSuppressed = false;
    int mSelectedCell = -1;
    CellSet mClickableCells;
    int mMoveTarget = -1;
    // Whether the last move was a jump (distance 2 or a teleport).
    bool mLastMoveJump = false;
    int mBonusSourceCell = -1;
    float mHintTimer = 0.0f;
    int mHintCount = 0;
    // The move the last hint showed; (0, 0) for none.
    int mHintFrom = 0;
    int mHintTo = 0;
    // Update-clock time of the human's previous landing.
    uint32_t mLastMoveTimeMs = 0;
    // The last mine the human laid, -1 for none.
    int mLastLaidMine = -1;
    std::string mLoadError;
    std::optional<LevelFileLayout> mFileLayout;
};

#pragma once
// LevelView: how a level reaches the play screen: the scene (cell choice, moves, captures,
// floating texts, units, HUD, tutorial, hidden objects), its board view (cell views, their
// states and flashes), the HUD's step-back counter, the background flash and the link to the
// play state. The play screen implements it; NullLevelView and RecordingLevelView serve tools
// and tests. BossLevelInterface is the boss of a boss level, made by the view for its level; a
// view that makes none leaves the level to play by the boss's rules alone (BossRules).
#include "game/board/Board.h"
#include "game/board/CellSet.h"
#include "game/board/LevelParams.h"

#include <memory>
#include <vector>

class Level;

struct ScreenPoint
{
    int x = 0;
    int y = 0;

    bool operator==(const ScreenPoint&) const = default;
};

// Phases of the scene's cell choice.
enum class CellSelectionMode : int
{
    None = 0,
    TurnStart = 4, // the human's own cells, at the start of its turn
    Target = 5,    // the targets of a selected bacterium or an armed bonus
    Bomb = 7,      // up to three cells around the pointer
};

// Pixels around the pointer within which the cell choice picks cells.
inline constexpr int kCellPickRadius = 34;
inline constexpr int kBombPickRadius = 69;

// Display states of a cell view.
enum class CellViewState : int
{
    Normal = 0,
    Selected = 1,
    CloneTarget = 2,
    JumpTarget = 3, // also any free target of a bonus
    BombTarget = 6,
};

// Effects of MoveBacterium.
inline constexpr int kNoMoveEffect = -1;
inline constexpr int kTeleportMoveEffect = 85;

// Commands the level sends to the play state through the scene's link.
inline constexpr int kCommandStoreStepBack = 2;
inline constexpr int kStoreStepBackArgument = -100;
inline constexpr int kCommandStepBack = 102;

// The play state's side of the link (tools and tests connect it to a null or recording view).
class LevelLinkListener
{
public:
    virtual ~LevelLinkListener() = default;
    virtual void OnLevelCommand(int command, int argument) = 0;
};

class BossLevelInterface
{
public:
    virtual ~BossLevelInterface() = default;
    // Shows the boss's hit points on the HUD.
    virtual void BindHud() = 0;
    // A round passed: counts the countdown down and, when the boss may act, attacks.
    virtual void OnTurnPassed() = 0;
    // The game result as the boss sees it (a beaten boss makes player 1 the winner; while it
    // lives a player-1 win becomes 0, the game going on).
    [[nodiscard]] virtual int AdjustGameResult(int result) = 0;
    virtual void SetPendingBonus(int bonusCode) = 0;
    // True when an armed bonus was used on the boss's portrait at the point.
    [[nodiscard]] virtual bool TryUseBonus(ScreenPoint point) = 0;
    [[nodiscard]] virtual bool IsAnimating() const = 0;
    // Units the boss spawns on cells freed by the human's capture of its cells.
    virtual void PlaceSpawnedUnits(const std::vector<int>& cells) = 0;
};

class LevelView
{
public:
    virtual ~LevelView() = default;

    // --- Scene: cell choice ---
    virtual void BeginCellSelection(CellSelectionMode mode, int count, int radius, CellSet offered) = 0;
    // Ends the choice and clears the marks, the picked and the stored cells.
    virtual void EndCellSelection() = 0;
    // Stores the human's other cells for the running choice.
    virtual void SetChosenCells(CellSet cells) = 0;
    // Empties the vector, then fills it with the cells the choice picks, in ascending ids.
    virtual void GetSelectedTargets(std::vector<int>& cells) = 0;

    // --- Scene: players, moves, captures, units ---
    virtual void SetActivePlayer(int player) = 0;
    virtual void SetAvatarCellMark(int player, bool canMove) = 0;
    virtual void ShowHeroAvatarState() = 0;
    virtual void MoveBacterium(int from, int to, bool clone, int effect) = 0;
    // source -1: captured by none; a negative time means exactly its absolute value.
    virtual void StartCapture(int cell, int source, float time) = 0;
    virtual void StartCaptureAt(int cell, float time) = 0;
    virtual void ShowFloatingText(int value, int style, float delay, ScreenPoint at) = 0;
    // kind 0 clears the cells, 1..3 places a player's bacteria, 4..16 bonuses.
    virtual void PlaceOnCells(int kind, CellSet cells) = 0;
    virtual void ActivateCellBonus(int cell, float delay) = 0;
    // The bonus unit flies from the cell into the HUD's inventory.
    virtual void CollectBonus(int cell) = 0;
    virtual void SetLevelParams(const LevelParams& params) = 0;
    virtual void CreateHud(const LevelParams& params) = 0;
    virtual void ShowFastMenu() = 0;
    [[nodiscard]] virtual bool IsBusy() const = 0;

    // --- Scene: tutorial and hidden objects ---
    virtual void StartTutorial() = 0;
    virtual void CloseTutorial() = 0;
    [[nodiscard]] virtual bool HasTutorialStep() const = 0;
    // The id of the hidden object under the point that can be opened, or -1.
    [[nodiscard]] virtual int FindHiddenObjectAt(ScreenPoint point) const = 0;
    [[nodiscard]] virtual ScreenPoint GetHiddenObjectCentre(int object) const = 0;
    virtual void OpenHiddenObject(int object) = 0;

    // --- Board view ---
    virtual void BuildCellViews(const Board& board) = 0;
    virtual void SpawnUnits(const Board& board) = 0;
    virtual void CentreOnScreen() = 0;
    // The cell of the view whose centre lies within 34 pixels of the point, or -1.
    [[nodiscard]] virtual int CellAtPoint(ScreenPoint point) const = 0;
    // The kind the cell's view shows (0 for a hole or no view).
    [[nodiscard]] virtual int GetCellViewKind(int cell) const = 0;
    // (0, 0) when the cell has no view.
    [[nodiscard]] virtual ScreenPoint GetCellCentre(int cell) const = 0;
    virtual void ResetCellStates() = 0;
    virtual void HighlightCell(int cell) = 0;
    virtual void SetCellsState(CellSet cells, CellViewState state) = 0;
    virtual void AddCellSetEffect(CellSet cells, float a, float b, float c, float d) = 0;
    virtual void AddBacteria(int cell, int player, float delay) = 0;
    virtual void AddBonus(int cell, int bonusCode, float delay) = 0;
    virtual void SetCellExplosionTimer(int cell, float time) = 0;
    // Level editor: the view loses its bacterium and bonus units; the view takes a new kind.
    virtual void ClearCellUnits(int cell) = 0;
    virtual void SetCellViewKind(int cell, int kind) = 0;

    // --- HUD, background, link ---
    virtual void RefreshStepBackCounter(bool stored) = 0;
    [[nodiscard]] virtual bool HasBackground() const = 0;
    virtual void StartBackgroundFlash(float seconds) = 0;
    virtual void SendToLink(int command, int argument) = 0;

    // The boss of a boss level; null when the view has none to offer.
    virtual std::unique_ptr<BossLevelInterface> CreateBossLevel(Level& level) = 0;
};

#pragma once
// RecordingLevelView: a play screen for tests. It writes every call into a log of lines
// ("MoveBacterium 30 13 0 -1"), keeps the moves, captures, floating texts and the last level
// parameters as records, and lets a test script what the screen would answer: where cells lie
// (cell c's centre is at (100 c, 500)), busy and tutorial flags, hidden objects, the cells a
// bomb picks, a background, and a boss whose answers the test sets.
#include "game/level/LevelView.h"

#include <array>
#include <map>
#include <string>
#include <vector>

class RecordingLevelView;

class RecordingBossLevel : public BossLevelInterface
{
public:
    explicit RecordingBossLevel(RecordingLevelView& view) : mView(view) {}

    void BindHud() override;
    void OnTurnPassed() override;
    [[nodiscard]] int AdjustGameResult(int result) override;
    void SetPendingBonus(int bonusCode) override;
    [[nodiscard]] bool TryUseBonus(ScreenPoint point) override;
    [[nodiscard]] bool IsAnimating() const override { return animating; }
    void PlaceSpawnedUnits(const std::vector<int>& cells) override;

    // Scripted answers: AdjustGameResult gives adjustedResult when it is 0 or more, else the
    // result it was given; TryUseBonus gives acceptBonus.
    int adjustedResult = -1;
    bool acceptBonus = false;
    bool animating = false;

private:
    RecordingLevelView& mView;
};

class RecordingLevelView : public LevelView
{
public:
    struct MoveRecord
    {
        int from;
        int to;
        bool clone;
        int effect;
        bool operator==(const MoveRecord&) const = default;
    };
    struct CaptureRecord
    {
        int cell;
        int source;
        float time;
    };
    struct FloatingTextRecord
    {
        int value;
        int style;
        ScreenPoint at;
    };

    // The point at the centre of a cell (any cell 0..60, with or without a view).
    [[nodiscard]] static ScreenPoint PointOf(int cell) { return {cell * 100, 500}; }

    // --- Scripting ---
    void SetLinkListener(LevelLinkListener* listener) { mListener = listener; }
    void SetBusy(bool busy) { mBusy = busy; }
    void SetTutorialStep(bool shown) { mTutorialStep = shown; }
    void SetBackground(bool present) { mBackground = present; }
    // Holes get a view that can be hit (the level editor's board).
    void SetHolesClickable(bool clickable) { mHolesClickable = clickable; }
    void AddHiddenObject(int object, ScreenPoint at) { mHiddenObjects[object] = at; }
    // The cells the scene's choice picks (for the bomb).
    void SetSelectedTargets(std::vector<int> cells) { mSelectedTargets = std::move(cells); }
    // CreateBossLevel makes a RecordingBossLevel.
    void EnableBoss(bool enabled) { mBossEnabled = enabled; }
    // The last boss made (owned by its level).
    [[nodiscard]] RecordingBossLevel* GetBoss() const { return mBoss; }

    // --- Records ---
    void Log(std::string line) { mLog.push_back(std::move(line)); }
    [[nodiscard]] const std::vector<std::string>& GetLog() const { return mLog; }
    // Log lines equal to line, or (with prefix) starting with it.
    [[nodiscard]] int Count(const std::string& line, bool prefix = false) const;
    [[nodiscard]] const std::vector<MoveRecord>& GetMoves() const { return mMoves; }
    [[nodiscard]] const std::vector<CaptureRecord>& GetCaptures() const { return mCaptures; }
    [[nodiscard]] const std::vector<FloatingTextRecord>& GetFloatingTexts() const { return mFloatingTexts; }
    [[nodiscard]] const LevelParams& GetLastParams() const { return mLastParams; }
    [[nodiscard]] CellSelectionMode GetSelectionMode() const { return mSelectionMode; }
    [[nodiscard]] CellSet GetOfferedCells() const { return mOffered; }
    void ClearRecords();

    // --- LevelView ---
    void BeginCellSelection(CellSelectionMode mode, int count, int radius, CellSet offered) override;
    void EndCellSelection() override;
    void SetChosenCells(CellSet cells) override;
    void GetSelectedTargets(std::vector<int>& cells) override;
    void SetActivePlayer(int player) override;
    void SetAvatarCellMark(int player, bool canMove) override;
    void ShowHeroAvatarState() override;
    void MoveBacterium(int from, int to, bool clone, int effect) override;
    void StartCapture(int cell, int source, float time) override;
    void StartCaptureAt(int cell, float time) override;
    void ShowFloatingText(int value, int style, float delay, ScreenPoint at) override;
    void PlaceOnCells(int kind, CellSet cells) override;
    void ActivateCellBonus(int cell, float delay) override;
    void CollectBonus(int cell) override;
    void SetLevelParams(const LevelParams& params) override;
    void CreateHud(const LevelParams& params) override;
    void ShowFastMenu() override;
    [[nodiscard]] bool IsBusy() const override { return mBusy; }
    void StartTutorial() override;
    void CloseTutorial() override;
    [[nodiscard]] bool HasTutorialStep() const override { return mTutorialStep; }
    [[nodiscard]] int FindHiddenObjectAt(ScreenPoint point) const override;
    [[nodiscard]] ScreenPoint GetHiddenObjectCentre(int object) const override;
    void OpenHiddenObject(int object) override;
    void BuildCellViews(const Board& board) override;
    void SpawnUnits(const Board& board) override;
    void CentreOnScreen() override;
    [[nodiscard]] int CellAtPoint(ScreenPoint point) const override;
    [[nodiscard]] int GetCellViewKind(int cell) const override;
    [[nodiscard]] ScreenPoint GetCellCentre(int cell) const override;
    void ResetCellStates() override;
    void HighlightCell(int cell) override;
    void SetCellsState(CellSet cells, CellViewState state) override;
    void AddCellSetEffect(CellSet cells, float a, float b, float c, float d) override;
    void AddBacteria(int cell, int player, float delay) override;
    void AddBonus(int cell, int bonusCode, float delay) override;
    void SetCellExplosionTimer(int cell, float time) override;
    void ClearCellUnits(int cell) override;
    void SetCellViewKind(int cell, int kind) override;
    void RefreshStepBackCounter(bool stored) override;
    [[nodiscard]] bool HasBackground() const override { return mBackground; }
    void StartBackgroundFlash(float seconds) override;
    void SendToLink(int command, int argument) override;
    std::unique_ptr<BossLevelInterface> CreateBossLevel(Level& level) override;

private:
    static bool IsCell(int cell) { return cell >= 0 && cell < kCellCount; }

    LevelLinkListener* mListener = nullptr;
    bool mBusy = false;
    bool mTutorialStep = false;
    bool mBackground = false;
    bool mHolesClickable = false;
    bool mBossEnabled = false;
    RecordingBossLevel* mBoss = nullptr;
    std::map<int, ScreenPoint> mHiddenObjects;
    std::vector<int> mSelectedTargets;
    std::array<int, kCellCount> mViewKinds{};
    CellSelectionMode mSelectionMode = CellSelectionMode::None;
    CellSet mOffered;

    std::vector<std::string> mLog;
    std::vector<MoveRecord> mMoves;
    std::vector<CaptureRecord> mCaptures;
    std::vector<FloatingTextRecord> mFloatingTexts;
    LevelParams mLastParams;
};

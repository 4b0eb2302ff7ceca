#pragma once
// NullLevelView: a play screen that shows nothing, is never busy, hits no cell and offers no
// boss; only its link reaches a listener. Tools that play levels without a screen use it (and
// override what they need, such as the cells a bomb picks).
#include "game/level/LevelView.h"

class NullLevelView : public LevelView
{
public:
    // The listener that receives the level's commands (the play state's part); may be null.
    void SetLinkListener(LevelLinkListener* listener) { mListener = listener; }

    void BeginCellSelection(CellSelectionMode, int, int, CellSet) override {}
    void EndCellSelection() override {}
    void SetChosenCells(CellSet) override {}
    void GetSelectedTargets(std::vector<int>&) override {}
    void SetActivePlayer(int) override {}
    void SetAvatarCellMark(int, bool) override {}
    void ShowHeroAvatarState() override {}
    void MoveBacterium(int, int, bool, int) override {}
    void StartCapture(int, int, float) override {}
    void StartCaptureAt(int, float) override {}
    void ShowFloatingText(int, int, float, ScreenPoint) override {}
    void PlaceOnCells(int, CellSet) override {}
    void ActivateCellBonus(int, float) override {}
    void CollectBonus(int) override {}
    void SetLevelParams(const LevelParams&) override {}
    void CreateHud(const LevelParams&) override {}
    void ShowFastMenu() override {}
    [[nodiscard]] bool IsBusy() const override { return false; }
    void StartTutorial() override {}
    void CloseTutorial() override {}
    [[nodiscard]] bool HasTutorialStep() const override { return false; }
    [[nodiscard]] int FindHiddenObjectAt(ScreenPoint) const override { return -1; }
    [[nodiscard]] ScreenPoint GetHiddenObjectCentre(int) const override { return {}; }
    void OpenHiddenObject(int) override {}
    void BuildCellViews(const Board&) override {}
    void SpawnUnits(const Board&) override {}
    void CentreOnScreen() override {}
    [[nodiscard]] int CellAtPoint(ScreenPoint) const override { return -1; }
    [[nodiscard]] int GetCellViewKind(int) const override { return 0; }
    [[nodiscard]] ScreenPoint GetCellCentre(int) const override { return {}; }
    void ResetCellStates() override {}
    void HighlightCell(int) override {}
    void SetCellsState(CellSet, CellViewState) override {}
    void AddCellSetEffect(CellSet, float, float, float, float) override {}
    void AddBacteria(int, int, float) override {}
    void AddBonus(int, int, float) override {}
    void SetCellExplosionTimer(int, float) override {}
    void ClearCellUnits(int) override {}
    void SetCellViewKind(int, int) override {}
    void RefreshStepBackCounter(bool) override {}
    [[nodiscard]] bool HasBackground() const override { return false; }
    void StartBackgroundFlash(float) override {}
    void SendToLink(int command, int argument) override
    {
        if (mListener)
            mListener->OnLevelCommand(command, argument);
    }
    std::unique_ptr<BossLevelInterface> CreateBossLevel(Level&) override { return nullptr; }

private:
    LevelLinkListener* mListener = nullptr;
};

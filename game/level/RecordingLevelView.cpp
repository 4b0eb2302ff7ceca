#include "game/level/RecordingLevelView.h"

#include "framework/core/Common.h"

namespace
{
std::string CellsText(CellSet cells)
{
    std::string text = "{";
    for (int cell : cells)
        text.append(text.size() > 1 ? "," : "").append(std::to_string(cell));
    return text + "}";
}

std::string Line(const char* name, std::initializer_list<int> values)
{
    std::string line = name;
    for (int value : values)
        line.append(1, ' ').append(std::to_string(value));
    return line;
}
} // namespace

// --- RecordingBossLevel ---

void RecordingBossLevel::BindHud() { mView.Log("Boss.BindHud"); }

void RecordingBossLevel::OnTurnPassed() { mView.Log("Boss.OnTurnPassed"); }

int RecordingBossLevel::AdjustGameResult(int result)
{
    mView.Log(Line("Boss.AdjustGameResult", {result}));
    return adjustedResult >= 0 ? adjustedResult : result;
}

void RecordingBossLevel::SetPendingBonus(int bonusCode) { mView.Log(Line("Boss.SetPendingBonus", {bonusCode})); }

bool RecordingBossLevel::TryUseBonus(ScreenPoint point)
{
    mView.Log(Line("Boss.TryUseBonus", {point.x, point.y}));
    return acceptBonus;
}

void RecordingBossLevel::PlaceSpawnedUnits(const std::vector<int>& cells)
{
    std::string line = "Boss.PlaceSpawnedUnits";
    for (int cell : cells)
        line.append(1, ' ').append(std::to_string(cell));
    mView.Log(line);
}

// --- RecordingLevelView ---

int RecordingLevelView::Count(const std::string& line, bool prefix) const
{
    int count = 0;
    for (const std::string& entry : mLog)
        count += prefix ? entry.rfind(line, 0) == 0 : entry == line;
    return count;
}

void RecordingLevelView::ClearRecords()
{
    mLog.clear();
    mMoves.clear();
    mCaptures.clear();
    mFloatingTexts.clear();
}

void RecordingLevelView::BeginCellSelection(CellSelectionMode mode, int count, int radius, CellSet offered)
{
    mSelectionMode = mode;
    mOffered = offered;
    Log(Line("BeginCellSelection", {static_cast<int>(mode), count, radius}) + " " + CellsText(offered));
}

void RecordingLevelView::EndCellSelection()
{
    mSelectionMode = CellSelectionMode::None;
    mOffered = CellSet();
    Log("EndCellSelection");
}

void RecordingLevelView::SetChosenCells(CellSet cells) { Log("SetChosenCells " + CellsText(cells)); }

void RecordingLevelView::GetSelectedTargets(std::vector<int>& cells)
{
    Log("GetSelectedTargets");
    cells.insert(cells.end(), mSelectedTargets.begin(), mSelectedTargets.end());
}

void RecordingLevelView::SetActivePlayer(int player) { Log(Line("SetActivePlayer", {player})); }

void RecordingLevelView::SetAvatarCellMark(int player, bool canMove)
{
    Log(Line("SetAvatarCellMark", {player, canMove}));
}

void RecordingLevelView::ShowHeroAvatarState() { Log("ShowHeroAvatarState"); }

void RecordingLevelView::MoveBacterium(int from, int to, bool clone, int effect)
{
    mMoves.push_back({from, to, clone, effect});
    Log(Line("MoveBacterium", {from, to, clone, effect}));
}

void RecordingLevelView::StartCapture(int cell, int source, float time)
{
    mCaptures.push_back({cell, source, time});
    Log(Line("StartCapture", {cell, source}) + Quoll::FormatString(" %.2f", time));
}

void RecordingLevelView::StartCaptureAt(int cell, float time)
{
    mCaptures.push_back({cell, -1, time});
    Log(Line("StartCaptureAt", {cell}) + Quoll::FormatString(" %.2f", time));
}

void RecordingLevelView::ShowFloatingText(int value, int style, float /*delay*/, ScreenPoint at)
{
    mFloatingTexts.push_back({value, style, at});
    Log(Line("ShowFloatingText", {value, style, at.x, at.y}));
}

void RecordingLevelView::PlaceOnCells(int kind, CellSet cells) { Log(Line("PlaceOnCells", {kind}) + " " + CellsText(cells)); }

void RecordingLevelView::ActivateCellBonus(int cell, float delay)
{
    Log(Line("ActivateCellBonus", {cell}) + Quoll::FormatString(" %.2f", delay));
}

void RecordingLevelView::CollectBonus(int cell) { Log(Line("CollectBonus", {cell})); }

void RecordingLevelView::SetLevelParams(const LevelParams& params)
{
    mLastParams = params;
    Log("SetLevelParams");
}

void RecordingLevelView::CreateHud(const LevelParams& params)
{
    mLastParams = params;
    Log("CreateHud");
}

void RecordingLevelView::ShowFastMenu() { Log("ShowFastMenu"); }

void RecordingLevelView::StartTutorial() { Log("StartTutorial"); }

void RecordingLevelView::CloseTutorial() { Log("CloseTutorial"); }

int RecordingLevelView::FindHiddenObjectAt(ScreenPoint point) const
{
    for (const auto& [object, at] : mHiddenObjects)
        if (at == point)
            return object;
    return -1;
}

ScreenPoint RecordingLevelView::GetHiddenObjectCentre(int object) const
{
    const auto found = mHiddenObjects.find(object);
    return found == mHiddenObjects.end() ? ScreenPoint{} : found->second;
}

void RecordingLevelView::OpenHiddenObject(int object)
{
    mHiddenObjects.erase(object);
    Log(Line("OpenHiddenObject", {object}));
}

void RecordingLevelView::BuildCellViews(const Board& board)
{
    for (int cell = 0; cell < kCellCount; ++cell)
        mViewKinds[static_cast<size_t>(cell)] = board.GetCellValue(cell);
    Log("BuildCellViews");
}

void RecordingLevelView::SpawnUnits(const Board& /*board*/) { Log("SpawnUnits"); }

void RecordingLevelView::CentreOnScreen() { Log("CentreOnScreen"); }

int RecordingLevelView::CellAtPoint(ScreenPoint point) const
{
    if (point.y != 500 || point.x % 100 != 0)
        return -1;
    const int cell = point.x / 100;
    if (!IsCell(cell))
        return -1;
    return mHolesClickable || mViewKinds[static_cast<size_t>(cell)] != 0 ? cell : -1;
}

int RecordingLevelView::GetCellViewKind(int cell) const { return IsCell(cell) ? mViewKinds[static_cast<size_t>(cell)] : 0; }

ScreenPoint RecordingLevelView::GetCellCentre(int cell) const { return IsCell(cell) ? PointOf(cell) : ScreenPoint{}; }

void RecordingLevelView::ResetCellStates() { Log("ResetCellStates"); }

void RecordingLevelView::HighlightCell(int cell) { Log(Line("HighlightCell", {cell})); }

void RecordingLevelView::SetCellsState(CellSet cells, CellViewState state)
{
    Log(Line("SetCellsState", {static_cast<int>(state)}) + " " + CellsText(cells));
}

void RecordingLevelView::AddCellSetEffect(CellSet cells, float a, float b, float c, float d)
{
    Log("AddCellSetEffect " + CellsText(cells) + Quoll::FormatString(" %.2f %.2f %.2f %.2f", a, b, c, d));
}

void RecordingLevelView::AddBacteria(int cell, int player, float delay)
{
    Log(Line("AddBacteria", {cell, player}) + Quoll::FormatString(" %.2f", delay));
}

void RecordingLevelView::AddBonus(int cell, int bonusCode, float delay)
{
    Log(Line("AddBonus", {cell, bonusCode}) + Quoll::FormatString(" %.2f", delay));
}

void RecordingLevelView::SetCellExplosionTimer(int cell, float time)
{
    Log(Line("SetCellExplosionTimer", {cell}) + Quoll::FormatString(" %.2f", time));
}

void RecordingLevelView::ClearCellUnits(int cell) { Log(Line("ClearCellUnits", {cell})); }

void RecordingLevelView::SetCellViewKind(int cell, int kind)
{
    if (IsCell(cell))
        mViewKinds[static_cast<size_t>(cell)] = kind;
    Log(Line("SetCellViewKind", {cell, kind}));
}

void RecordingLevelView::RefreshStepBackCounter(bool stored) { Log(Line("RefreshStepBackCounter", {stored})); }

void RecordingLevelView::StartBackgroundFlash(float seconds) { Log("StartBackgroundFlash" + Quoll::FormatString(" %.2f", seconds)); }

void RecordingLevelView::SendToLink(int command, int argument)
{
    Log(Line("SendToLink", {command, argument}));
    if (mListener)
        mListener->OnLevelCommand(command, argument);
}

std::unique_ptr<BossLevelInterface> RecordingLevelView::CreateBossLevel(Level& /*level*/)
{
    if (!mBossEnabled)
        return nullptr;
    auto boss = std::make_unique<RecordingBossLevel>(*this);
    mBoss = boss.get();
    Log("CreateBossLevel");
    return boss;
}

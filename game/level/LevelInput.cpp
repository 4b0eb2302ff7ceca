// Level: clicks, selection and moves of the human, flashes of what can be clicked, hints,
// hidden objects and step-backs.
#include "game/level/Level.h"

void Level::OnMouseDown(ScreenPoint point)
{
    ClickHiddenObject(point);
    OnCellClick(mView->CellAtPoint(point), point);
}

void Level::OnCellClick(int cell, ScreenPoint point)
{
    // Clicks count only while the human is to move or an armed bonus waits: a screen that is
    // not busy while a landing is processed must not let the human move twice.
    const bool waiting = mState == LevelState::HumanToMove || mState == LevelState::BonusArmed;
    if (IsBusy() || mLogic.GetCurrentPlayer() != 1 || !waiting)
        return;
    if (!IsCell(cell))
        cell = -1;
    if (mPendingBonus)
    {
        OnBonusClick(cell, point);
        return;
    }
    if (cell != mSelectedCell)
        SelectOrMove(cell);
    else
        FlashPlayableCells(true);
}

void Level::SelectOrMove(int cell)
{
    if (!IsCell(cell))
    {
        FlashPlayableCells(true);
        return;
    }
    const int mover = mLogic.GetCurrentPlayer();
    const int owner = mLogic.GetBoard().GetOwner(cell);
    if (owner == mover)
    {
        Select(cell);
        return;
    }
    // A free cell the selected bacterium can reach is a move; the step-back point is stored
    // only then, so that stepping back always undoes a move.
    const bool reachable = mSelectedCell != -1 && owner == 0 && mLogic.GetBoard().Exists(cell) &&
                           mLogic.IsLegalMove(mSelectedCell, cell);
    if (!reachable)
    {
        FlashPlayableCells(true);
        return;
    }
    StoreStepBackPoint();
    Move(cell, true);
}

void Level::Select(int cell)
{
    ClearSelection();
    mSelectedCell = cell;
    if (mLogic.GetCurrentPlayer() == 1)
    {
        Sound(LevelSound::BacSelect, 0.7f);
        mView->ShowHeroAvatarState();
    }
    const GameLogic& logic = mLogic;
    const NeighbourTables& tables = logic.GetNeighbourTables();
    const CellSet free = logic.GetBoard().GetFreeCells();
    mView->HighlightCell(cell);
    mView->SetCellsState(tables.Ring2(cell) & free, CellViewState::JumpTarget);
    mView->SetCellsState(tables.Ring1(cell) & free, CellViewState::CloneTarget);
    CellSet others = logic.GetBoard().GetOwnedCells(1);
    others.Remove(cell);
    const CellSet clickable = (tables.Reach(cell) & free) | others;
    mView->BeginCellSelection(CellSelectionMode::Target, 1, kCellPickRadius, clickable);
    mView->SetChosenCells(others);
    mClickableCells = clickable;
}

void Level::ClearSelection()
{
    mView->EndCellSelection();
    mView->ResetCellStates();
    mClickableCells = CellSet();
    mSelectedCell = -1;
}

void Level::Move(int target, bool check)
{
    // 1. A checked move must reach the target; the distance decides between jump and clone.
    //    The teleport's unchecked move is a jump to any cell.
    bool jump = true;
    if (check)
    {
        if (!mLogic.IsLegalMove(mSelectedCell, target))
        {
            FlashPlayableCells(true);
            return;
        }
        jump = mLogic.GetJumpFlag();
    }
    mLastMoveJump = jump;
    Sound(jump ? LevelSound::BacJump : LevelSound::BacClone, 0.4f);
    // 2. The boss never clones: its distance-1 moves empty the source as well.
    const int from = mSelectedCell;
    const int mover = mLogic.GetCurrentPlayer();
    ClearSelection();
    const bool clone = mLogic.IsClone(mover, jump);
    if (IsCell(target) && IsCell(from))
    {
        mLogic.MakeMove(from, target, clone);
        mView->MoveBacterium(from, target, clone, check ? kNoMoveEffect : kTeleportMoveEffect);
        mMoveTarget = target;
        if (mover == 1 && from == mHintFrom && target == mHintTo)
            Event(AchievementEvent::FollowedHint);
    }
    mRefreshPending = true;
    mState = LevelState::MoveLanded;
}

void Level::FlashPlayableCells(bool wrongSound)
{
    if (mView->HasTutorialStep())
        return;
    const int player = mLogic.GetCurrentPlayer();
    const CellSet cells = mLogic.GetBoard().GetOwnedCells(player) | mClickableCells;
    if (player == 1)
        mView->AddCellSetEffect(cells, 0.6f, 0.5f, 1.2f, 0.0f);
    else
        mView->AddCellSetEffect(cells, 0.7f, 0.3f, 1.0f, 0.0f);
    if (wrongSound)
        Sound(LevelSound::BacSelectWrong, 0.5f);
}

void Level::ShowHint()
{
    int from = 0;
    int to = 0;
    if (mBoardViewReady && mLogic.FindBestMove(from, to))
    {
        mHintFrom = from;
        mHintTo = to;
        mView->AddCellSetEffect(CellSet::Single(from), 1.0f, 0.1f, 0.3f, 0.0f);
        mView->AddCellSetEffect(CellSet::Single(to), 1.0f, 0.1f, 0.3f, 0.15f);
        Sound(LevelSound::MoveHint, 1.0f);
    }
    mHintCount += 1;
    mHintTimer = mServices.GetLevelRampValue(mHintCount);
}

void Level::ClickHiddenObject(ScreenPoint point)
{
    const int object = mView->FindHiddenObjectAt(point);
    if (object < 0)
        return;
    const int points = AddScore(ScoreKind::HiddenObject, 1);
    mView->ShowFloatingText(points, 1, 0.4f, mView->GetHiddenObjectCentre(object));
    mView->OpenHiddenObject(object);
    Event(AchievementEvent::HiddenObjectFound);
}

void Level::StoreStepBackPoint()
{
    mView->SendToLink(kCommandStoreStepBack, kStoreStepBackArgument);
    mView->RefreshStepBackCounter(true);
}

void Level::StepBack()
{
    if (mParams.stepBacksLeft <= 0)
        return;
    Event(AchievementEvent::SteppedBack);
    mParams.stepBacksLeft -= 1;
    RefreshScene();
    mView->RefreshStepBackCounter(false);
    if (mView->HasBackground())
        mView->StartBackgroundFlash(0.5f);
    Sound(LevelSound::BackstepActivate, 1.0f);
}

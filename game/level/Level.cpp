// Level: life cycle, the scene set-up and the round state machine (landings, turns, rounds,
// computer turns, game over).
#include "game/level/Level.h"

#include "game/level/NullLevelView.h"

#include "framework/core/MersenneTwister.h"

#include <algorithm>

namespace
{
// The view of a stopped level: it shows nothing.
NullLevelView& DetachedView()
{
    static NullLevelView view;
    return view;
}
} // namespace

Level::Level(LevelView& view, LevelServices& services) : mView(&view), mServices(services)
{
    mParams.Reset();
}

Level::~Level() = default;

bool Level::GenerateRandomLevel(const std::function<bool(GameLogic&)>& generate)
{
    if (!generate || !generate(mLogic))
        return false;
    mParams.Init(mLogic.GetBoard().CountExistingCells(), mLogic.GetPlayerCount());
    mSelectedCell = -1;
    return true;
}

bool Level::Start()
{
    mLastMoveTimeMs = mServices.GetUpdateClockMs();
    if (!mLogic.HasEnoughPlayers())
        return false;
    // A level file without filled parameters gets fresh ones.
    if (mParams.playerCount == 0)
        mParams.Init(mLogic.GetBoard().CountExistingCells(), mLogic.GetPlayerCount());
    mLogic.MakeActive();
    mState = mLogic.GetCurrentPlayer() == 1 ? LevelState::HumanToMove : LevelState::ComputerToMove;
    return true;
}

void Level::SetupScene()
{
    BuildBoardViews();
    if (!mTutorialSuppressed)
        mView->StartTutorial();
    UpdateParamsFromLogic();
    mView->CreateHud(mParams);
    if (mBoss)
        mBoss->BindHud();
    if (mParams.round == 1)
    {
        Event(AchievementEvent::FirstRound);
        if (mLogic.GetBoard().GetCellsWithFlags(kBonusMask).Any())
            Event(AchievementEvent::BonusesOnBoard);
    }
    RestoreArmedBonus();
    BeginPlayerTurn();
    RefreshScene();
    mView->RefreshStepBackCounter(false);
    mLastLaidMine = -1;
}

void Level::BuildBoardViews()
{
    mView->BuildCellViews(mLogic.GetBoard());
    mView->SpawnUnits(mLogic.GetBoard());
    mBoardViewReady = true;
}

void Level::RestoreArmedBonus()
{
    // A level saved while a bonus was armed waits for the human's choice again. The bacterium
    // that picked a teleport up is the saved selection. Only the human can use an armed bonus,
    // so on another player's turn it stays in the inventory unarmed.
    if (mParams.armedSlot == -1 || mLogic.GetCurrentPlayer() != 1)
    {
        mParams.armedSlot = -1;
        mSelectedCell = -1;
        return;
    }
    // A bonus that could never be used (a teleport without a bacterium of the human selected,
    // a mine or teleport without a free cell) would hold the turn for ever: it is used up
    // without effect, as it would have been destroyed when picked up.
    const int slot = mParams.armedSlot;
    if (!CanUseBonus(mParams.inventory[slot], mSelectedCell))
    {
        mParams.inventory[slot] = 0;
        mParams.armedSlot = -1;
        mSelectedCell = -1;
        return;
    }
    if (mSelectedCell != -1)
        SelectOrMove(mSelectedCell);
    mBonusSourceCell = mSelectedCell;
    ArmBonus(slot);
    if (mPendingBonus)
        mState = LevelState::BonusArmed;
}

void Level::BeginPlayerTurn()
{
    const int player = mLogic.GetCurrentPlayer();
    mView->SetActivePlayer(player);
    if (mState == LevelState::BonusArmed)
        return;
    if (player == 1)
    {
        mView->BeginCellSelection(CellSelectionMode::TurnStart, 1, kCellPickRadius, mLogic.GetBoard().GetOwnedCells(1));
        mHintCount = 0;
        mHintTimer = mServices.GetLevelRampValue(0);
    }
    RefreshAvatarMoveMarks();
}

void Level::RefreshAvatarMoveMarks()
{
    for (int player = 1; player <= kMaxPlayers; ++player)
    {
        if (!mLogic.IsPlayerAlive(player))
            continue;
        const bool canMove = mLogic.CanMove(player);
        mView->SetAvatarCellMark(player, canMove);
        if (player == 1 && !canMove)
            Event(AchievementEvent::HumanCannotMove);
    }
}

void Level::UpdateOwnBoss(float dt)
{
    if (mOwnBoss)
        mOwnBoss->Update(dt);
}

bool Level::IsBusy() const { return mView->IsBusy() || (mBoss && mBoss->IsAnimating()); }

void Level::Update()
{
    if (mRefreshPending)
        RefreshScene();
    switch (mState)
    {
    case LevelState::NotStarted:
        break;
    case LevelState::MoveLanded:
        ProcessLanding();
        break;
    case LevelState::EndOfTurn:
        EndTurn();
        break;
    case LevelState::HumanToMove:
        // The boss's ray can take the human's last move after its turn began: the turn passes,
        // as it does for a human who cannot move when the turn comes.
        if (!mLogic.CanMove(1))
            mState = LevelState::EndOfTurn;
        else
            RunHintTimer();
        break;
    case LevelState::ComputerToMove:
        PlayComputerTurn();
        break;
    case LevelState::BonusArmed:
        ApplyReadyBonus();
        break;
    }
}

void Level::ProcessLanding()
{
    // Landing on a laid mine captures nothing: the mine explodes under the bacterium instead.
    // Without a target (nothing landed) the turn simply ends.
    const int target = mMoveTarget;
    mMoveTarget = -1;
    if (IsCell(target))
    {
        std::vector<int> captured;
        std::vector<int> bossCells;
        if (mLogic.GetBoard().GetBonus(target) != BONUS_LAID_MINE)
            CaptureAtTarget(target, captured, bossCells);
        CollectBonuses(target, captured, bossCells);
    }
    mState = mPendingBonus ? LevelState::BonusArmed : LevelState::EndOfTurn;
}

void Level::ApplyReadyBonus()
{
    if (!mPendingBonus || !mPendingBonus->IsReady())
        return;
    // The turn ends after the action, unless it moved a bacterium (the teleport), whose landing
    // is then processed first.
    mState = LevelState::EndOfTurn;
    const std::unique_ptr<BonusImpl> action = std::move(mPendingBonus);
    action->Apply();
    if (mParams.armedSlot >= 0 && mParams.armedSlot < 3)
        mParams.inventory[mParams.armedSlot] = 0;
    ArmBonus(-1);
    mRefreshPending = true;
    RefreshScene();
}

void Level::RunHintTimer()
{
    if (mView->HasTutorialStep() || mHintTimer <= 0.0f)
        return;
    mHintTimer -= mServices.GetFrameTime();
    if (mHintTimer < 0.0f)
        ShowHint();
}

void Level::PlayComputerTurn()
{
    int from = 0;
    int to = 0;
    if (!mLogic.FindBestMove(from, to))
    {
        EndTurn();
        return;
    }
    mSelectedCell = from;
    Move(to, true);
}

int Level::EnemyCellCount() const { return mLogic.GetCellCount(2) + mLogic.GetCellCount(3); }

void Level::CaptureAtTarget(int target, std::vector<int>& captured, std::vector<int>& bossCells)
{
    // 1. Counts before, for the overtaking test.
    captured.clear();
    const int enemiesBefore = EnemyCellCount();
    const int humanBefore = mLogic.GetCellCount(1);
    // 2. The capture; a human mover also learns which neighbours were the boss's.
    mLogic.CaptureAt(target, &captured, bossCells);
    const int enemiesAfter = EnemyCellCount();
    const int humanAfter = mLogic.GetCellCount(1);
    const bool overtook = humanBefore < enemiesBefore && humanAfter > enemiesAfter;
    // 3. The mover's capture total.
    const int mover = mLogic.GetCurrentPlayer();
    const int count = static_cast<int>(captured.size());
    if (mover >= 1 && mover <= kMaxPlayers)
        mParams.capturedCells[mover - 1] = SaturatingAdd(mParams.capturedCells[mover - 1], count, kMaxCapturedCells);
    // 4. The human's landings earn events and points.
    if (mover == 1)
        BookHumanLanding(count, overtook, captured);
    // 5. The captured bacteria change sides on screen; the boss's are destroyed by none.
    const bool moverIsBoss = mover >= 1 && mover <= mLogic.GetPlayerCount() && mLogic.GetPlayerAiLevel(mover) == kBossLevel;
    for (int cell : captured)
    {
        const bool wasBoss = std::find(bossCells.begin(), bossCells.end(), cell) != bossCells.end();
        mView->StartCapture(cell, moverIsBoss || wasBoss ? -1 : target, 0.0f);
    }
    mRefreshPending = true;
}

void Level::BookHumanLanding(int capturedCount, bool overtook, const std::vector<int>& captured)
{
    Event(AchievementEvent::HumanLanded);
    Event(mLastMoveJump ? AchievementEvent::HumanJumped : AchievementEvent::HumanCloned);
    // Two landings within 3.5 s of the update clock.
    const uint32_t now = mServices.GetUpdateClockMs();
    if (now - mLastMoveTimeMs <= 3500)
        Event(AchievementEvent::QuickLandings);
    mLastMoveTimeMs = now;
    if (capturedCount == 0)
    {
        Event(AchievementEvent::CapturedNothing);
        return;
    }
    Event(AchievementEvent::Captured);
    if (capturedCount == 5)
        Event(AchievementEvent::CapturedFive);
    if (capturedCount == 6)
        Event(AchievementEvent::CapturedSix);
    const int points = AddScore(ScoreKind::Captures, capturedCount);
    for (int cell : captured)
        mView->ShowFloatingText(points, capturedCount - 1, 0.4f + Quoll::RandFloat(0.2f), mView->GetCellCentre(cell));
    if (overtook)
        Event(AchievementEvent::OvertookEnemies);
}

void Level::EndTurn()
{
    // 1. The turn passes to the next player that has cells and a move.
    mTurnEnded = true;
    const int previous = mLogic.GetCurrentPlayer();
    ClearSelection();
    const bool passed = mLogic.NextPlayer();
    const bool bossAlive = mBoss && mParams.bossHitPoints > 0;
    // 2. Nobody else can move: the free cells go to the mover, and this wrap is no new round.
    if (!passed && !bossAlive && mLogic.IsPlayerAlive(mLogic.GetCurrentPlayer()))
    {
        FillFreeCells(mLogic.GetCurrentPlayer());
        mParams.round -= 1;
    }
    // 3. A living boss keeps its free cells; a human who cannot move is skipped, and when the
    //    boss cannot move either the turn passes again at the next update (the boss's countdown
    //    runs on, so the board can change).
    bool passAgain = false;
    if (bossAlive && mLogic.GetCurrentPlayer() == 1 && !mLogic.CanMove(1))
    {
        mLogic.NextPlayer();
        passAgain = mLogic.GetCurrentPlayer() == 1 && mLogic.GetFreeCellCount() > 0;
    }
    FlashPlayableCells(false);
    mState = mLogic.GetCurrentPlayer() == 1 ? LevelState::HumanToMove : LevelState::ComputerToMove;
    if (passAgain)
        mState = LevelState::EndOfTurn;
    // 4. The turn order wrapped (or nobody else could move): a new round.
    if (previous >= mLogic.GetCurrentPlayer())
    {
        mRefreshPending = true;
        NewRound();
    }
    BeginPlayerTurn();
}

void Level::NewRound()
{
    mHintFrom = 0;
    mHintTo = 0;
    mParams.round = SaturatingAdd(mParams.round, 1, kMaxRound);
    if (mBoss)
        mBoss->OnTurnPassed();
    Event(AchievementEvent::NewRound);
}

bool Level::CheckGameOver(int& result)
{
    mTurnEnded = false;
    result = mLogic.GetWinner();
    if (!mLogic.IsPlayerAlive(1))
    {
        result = mLogic.GetLeader();
        if (result == 0)
            return true;
    }
    if (mBoss)
        result = mBoss->AdjustGameResult(result);
    return result >= 1 && result <= mLogic.GetPlayerCount();
}

void Level::OnGameOver(int result)
{
    if (result == 1)
    {
        if (EnemyCellCount() == 0)
            Event(AchievementEvent::WonWithoutEnemies);
        Event(AchievementEvent::LevelWon);
        const int level = mServices.GetCurrentLevelNumber();
        if (level < 0)
            mServices.OnAchievementEvent(kRandomLevelWonEventBase - level);
    }
    else
    {
        Event(AchievementEvent::LevelLost);
    }
    FillFreeCells(result);
    mView->CloseTutorial();
    RefreshScene();
    if (result > 0)
        mLogic.RefreshCounts(result);
    mRefreshPending = false;
}

void Level::FillFreeCells(int player)
{
    const int free = mLogic.GetFreeCellCount();
    if (player == 1 && mLogic.IsPlayerAlive(2) && mLogic.IsPlayerAlive(3) && free > 0)
        Event(AchievementEvent::FreeCellsToHuman);
    const CellSet freeCells = mLogic.GetBoard().GetFreeCells();
    mView->PlaceOnCells(player, freeCells);
    if (player >= 1 && player <= mLogic.GetPlayerCount())
        mLogic.AssignCells(freeCells, player, true);
    mRefreshPending = true;
}

void Level::Stop()
{
    mLogic.Reset();
    mOwnBoss = nullptr;
    mBoss.reset();
    mPendingBonus.reset();
    mView = &DetachedView();
    mBoardViewReady = false;
}

void Level::UpdateParamsFromLogic()
{
    for (int player = 1; player <= mLogic.GetPlayerCount(); ++player)
    {
        mParams.playerCells[player - 1] = mLogic.GetCellCount(player);
        mParams.playerAiLevels[player - 1] = mLogic.GetPlayerAiLevel(player);
    }
    mParams.cellCount = mLogic.GetBoard().CountExistingCells();
}

void Level::RefreshScene()
{
    UpdateParamsFromLogic();
    mView->SetLevelParams(mParams);
    mRefreshPending = false;
}

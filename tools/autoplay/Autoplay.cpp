#include "tools/autoplay/Autoplay.h"

#include "framework/app/AppWidgetManager.h"
#include "framework/core/MersenneTwister.h"
#include "framework/platform/window/headless/HeadlessWindowSystem.h"
#include "game/app/GameStates.h"
#include "game/app/PlayLevelState.h"
#include "game/board/LogicChecker.h"
#include "game/board/MoveList.h"
#include "game/level/BonusImpl.h"
#include "game/level/BossRules.h"
#include "game/level/Level.h"
#include "game/level/TutorialSteps.h"
#include "game/play/BoardView.h"
#include "game/play/Bacteria.h"
#include "game/play/Bonus.h"
#include "game/play/GameProgress.h"
#include "game/play/GameScene.h"
#include "game/play/HUD.h"
#include "game/play/HudAvatar.h"
#include "game/play/InventoryView.h"
#include "game/play/ProbirkaNode.h"
#include "game/play/Tutorial.h"
#include "game/play/VCell.h"
#include "game/scene/ParticleManager.h"
#include "game/shell/PlayerData.h"
#include "tools/leveldriver/HeadlessGame.h"
#include "tools/leveldriver/Replay.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace Autoplay
{
namespace
{
// Where the play state hands back to, and goes to after the end of the level: nothing is shown.
class IdleState final : public GameState
{
public:
    explicit IdleState(StateHost& host) : GameState(host, "AutoplayIdle") {}
};

std::string ParamsLine(int turn, const LevelParams& p)
{
    std::ostringstream line;
    line << "turn " << turn << " round " << p.round << " cells " << p.cellCount << " players " << p.playerCount
         << " counts " << p.playerCells[0] << ' ' << p.playerCells[1] << ' ' << p.playerCells[2] << " captured "
         << p.capturedCells[0] << ' ' << p.capturedCells[1] << ' ' << p.capturedCells[2] << " score " << p.score
         << ' ' << p.roundBonus << ' ' << p.cellBonus << ' ' << p.captureScore << " inventory " << p.inventory[0]
         << ' ' << p.inventory[1] << ' ' << p.inventory[2] << " armed " << p.armedSlot << " boss "
         << p.bossHitPoints << ' ' << p.bossCountdown << " stepbacks " << p.stepBacksLeft;
    return line.str();
}
} // namespace

// --- The application -----------------------------------------------------------------------------

AutoplayApp::AutoplayApp(const std::string& gameDir, std::string product)
{
    SetWindowSystem(std::make_unique<Quoll::Platform::HeadlessWindowSystem>());
    SetSettingsStore(std::make_unique<Quoll::Platform::SettingsStore>(std::string()));
    mProdName = std::move(product);
    mWorkingFolder = gameDir;
    mCommandLineParsed = true;
}

void AutoplayApp::PlaySound(LevelSound sound, float volume, float pan)
{
    if (onLine)
    {
        std::ostringstream line;
        line << "sound " << static_cast<int>(sound) << " volume " << volume << " pan " << pan;
        onLine(line.str());
    }
    GameApp::PlaySound(sound, volume, pan);
}

// --- The screen against the board ------------------------------------------------------------------

std::string FindViewFault(GameScene& scene, const Level& level)
{
    const GameLogic& logic = level.GetLogic();
    if (std::string fault = FindLogicFault(logic); !fault.empty())
        return "logic: " + fault;
    BoardView* boardView = scene.GetBoardView();
    if (boardView == nullptr)
        return "no board view";
    const Board& board = logic.GetBoard();
    for (int cell = 0; cell < kCellCount; ++cell)
    {
        VCell* view = boardView->FindCellView(cell);
        if (view == nullptr)
            return "no view of cell " + std::to_string(cell);
        const int shownOwner = view->GetBacteria() != nullptr ? view->GetBacteria()->GetValue() : 0;
        if (shownOwner != board.GetOwner(cell))
            return "cell " + std::to_string(cell) + " shows player " + std::to_string(shownOwner) + ", board " +
                   std::to_string(board.GetOwner(cell));
        // A bonus taken by a computer player bursts a moment later: it is on its way out.
        const Bonus* bonus = view->GetBonus();
        const int shownBonus = bonus != nullptr && bonus->GetState() < Bonus::Activated ? bonus->GetValue() : 0;
        if (shownBonus != board.GetBonus(cell))
            return "cell " + std::to_string(cell) + " shows bonus " + std::to_string(shownBonus) + ", board " +
                   std::to_string(board.GetBonus(cell));
    }
    const LevelParams& params = level.GetParams();
    HUD* hud = scene.GetHud();
    if (hud == nullptr)
        return "no HUD";
    GameProgress* progress = hud->GetProgress();
    for (int player = 0; progress != nullptr && player < params.playerCount; ++player)
    {
        ProbirkaNode* tube = progress->GetTube(player);
        if (tube != nullptr && tube->GetLevel() != params.playerCells[player])
            return "tube " + std::to_string(player) + " shows " + std::to_string(tube->GetLevel()) + ", level " +
                   std::to_string(params.playerCells[player]);
    }
    InventoryView* inventory = hud->GetInventory();
    for (int slot = 0; inventory != nullptr && slot < InventoryView::kSlotCount; ++slot)
    {
        Bonus* bonus = inventory->GetSlot(slot);
        const int shown = bonus != nullptr ? bonus->GetValue() : 0;
        if (shown != params.inventory[slot])
            return "inventory slot " + std::to_string(slot) + " shows " + std::to_string(shown) + ", level " +
                   std::to_string(params.inventory[slot]);
    }
    return {};
}

// --- The run -----------------------------------------------------------------------------------------

Runner::Runner(Options options, std::string product) : mOptions(std::move(options))
{
    mApp = std::make_unique<AutoplayApp>(mOptions.gameDir, std::move(product));
    mApp->onLine = [this](const std::string& line) { Write(line); };
}

Runner::~Runner()
{
    if (mApp)
        mApp->onLine = nullptr;
    mApp.reset();
}

bool Runner::Start()
{
    mApp->Init();
    if (mApp->mShutdown || mApp->GetGameStates() == nullptr)
    {
        Write("the game did not start");
        return false;
    }
    mApp->Activate();
    if (!mOptions.replayPath.empty() && !PrepareReplay())
        return false;
    if (mOptions.levelBody && !HandOverLevelBody())
        return false;
    if (mOptions.difficulty != 0 && mApp->GetPlayerData() != nullptr &&
        !mApp->GetPlayerData()->GetCurrentProfile().ChooseDifficulty(mOptions.difficulty))
    {
        Write("no such difficulty: " + std::to_string(mOptions.difficulty));
        return false;
    }
    Quoll::SeedRandom(mOptions.seed);
    mRandom.Seed(mOptions.seed);
    if (mOptions.policy)
        mPolicy = std::make_unique<DriverPolicy>(mOptions.seed, *mOptions.policy, 0);
    // Every run starts as a fresh program would: the boss's spawn bag too.
    GetBossSpawnBag().Reset();
    mIdle = std::make_unique<IdleState>(mApp->GetStateHost());
    PlayLevelState& play = Play();
    if (mOptions.continueSavedGame)
        play.SetContinueSavedGame(mIdle.get());
    else
        play.SetLevel(mOptions.level, mIdle.get());
    play.SetEndOfLevel([this](PlayLevelState&, const LevelOutcome& outcome) {
        std::ostringstream line;
        line << "outcome winner " << outcome.result << " medal " << outcome.medalGrade << " score " << outcome.score;
        Write(line.str());
        mOutcome = line.str();
    });
    mApp->GetStateHost().ChangeState(play);
    if (Scene() == nullptr)
    {
        Write("the level did not start");
        return false;
    }
    NoteTurnBegun();
    return true;
}

bool Runner::PrepareReplay()
{
    // 1. The replay, its level (compiled when it is a level text) and its level seed.
    const std::filesystem::path path = mOptions.replayPath;
    std::ifstream in(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    ReplayFile replay;
    std::string error;
    Quoll::Buffer body;
    if (!in || !replay.Parse(text, error) || !LoadLevelFile(path.parent_path() / replay.levelPath, body, error))
    {
        Write("the replay does not read: " + (error.empty() ? "cannot open " + path.string() : error));
        return false;
    }
    if (replay.levelSeed)
    {
        std::optional<Quoll::Buffer> reseeded = HeadlessGame::ReseedLevelBody(body, *replay.levelSeed);
        if (!reseeded)
        {
            Write("the replay's level does not read");
            return false;
        }
        body = std::move(*reseeded);
    }
    for (const ReplayLine& line : replay.body)
    {
        if (line.text.rfind("turn ", 0) == 0)
            mTurns.push_back(line);
        else if (std::optional<DriverInput> act = DriverInput::FromLine(line.text, error))
        {
            mActs.push_back(std::move(*act));
            mActLines.push_back(line.number);
        }
    }
    // 2. The level counts as completed before, so that no tutorial step filters the driver's
    //    clicks.
    PlayerData* data = mApp->GetPlayerData();
    if (data == nullptr || !data->RecordLevelResult(replay.levelNumber, 1, 0))
    {
        Write("the replay's level cannot be marked as played before");
        return false;
    }
    mOptions.levelBody = std::move(body);
    mOptions.level = replay.levelNumber;
    mOptions.seed = replay.seed;
    mReplay = true;
    return true;
}

bool Runner::HandOverLevelBody()
{
    // The saved game's reader takes a level file's body as it stands: both are a logic section
    // and the level's parameters.
    PlayerData* data = mApp->GetPlayerData();
    if (data == nullptr || !data->SaveGame(mOptions.level, *mOptions.levelBody))
    {
        Write("the level body cannot be handed to the play screen");
        return false;
    }
    mOptions.continueSavedGame = true;
    return true;
}

PlayLevelState& Runner::Play()
{
    return mApp->GetGameStates()->PlayLevel();
}

GameScene* Runner::Scene()
{
    return Play().IsOnStack() ? Play().GetScene() : nullptr;
}

Level* Runner::CurrentLevel()
{
    LevelSession* session = Play().GetSession();
    return session != nullptr && session->HasLevel() ? &session->GetLevel() : nullptr;
}

void Runner::Write(const std::string& line)
{
    mLog.push_back(line);
}

void Runner::Step()
{
    mApp->UpdateFrame();
    // As the main loop does: widgets that left the screen go after the update.
    mApp->ProcessDeferredDeletes();
    ++mUpdates;
    GameScene* scene = Scene();
    Level* level = CurrentLevel();
    const bool busy = scene != nullptr && level != nullptr && !IsFinished() && level->IsBusy();
    mBusy = busy ? mBusy + 1 : 0;
    mLongestBusy = std::max(mLongestBusy, mBusy);
    NoteParticles();
    NoteTurnBegun();
}

void Runner::NoteTurnBegun()
{
    // A turn begins once a level update has passed it on: each update begins one turn at most,
    // and no two turns in a row share their player and round. The turn whose beginning ends the
    // game is not seen: the end (a beaten boss's free cells to the human) comes in its update.
    const Level* level = CurrentLevel();
    const LevelSession* session = Play().GetSession();
    if (!mReplay || level == nullptr || level->GetState() == LevelState::NotStarted || session->IsOver())
        return;
    const int player = level->GetLogic().GetCurrentPlayer();
    const int round = level->GetParams().round;
    if (player == mTurnPlayer && round == mTurnRound)
        return;
    mTurnPlayer = player;
    mTurnRound = round;
    const std::string line = HeadlessGame::TurnLine(player, *level);
    Write(line);
    CheckReplayTurn(line);
}

void Runner::CheckReplayTurn(const std::string& turnLine)
{
    const size_t turn = mNextTurn++;
    if (turn >= mTurns.size())
        NoteReplayDifference("turn " + std::to_string(turn + 1) + ": the replay has no such turn; played " + turnLine);
    else if (mTurns[turn].text != turnLine)
        NoteReplayDifference("turn " + std::to_string(turn + 1) + " (replay line " + std::to_string(mTurns[turn].number) +
                             "): expected " + mTurns[turn].text + "; played " + turnLine);
}

void Runner::NoteReplayDifference(const std::string& difference)
{
    if (!mReplayDifference.empty())
        return;
    mReplayDifference = difference;
    Write("the replay differs at " + difference);
}

void Runner::NoteParticles()
{
    ParticleManager* particles = mApp->GetParticleManager();
    const int count = particles != nullptr ? particles->GetCount() : 0;
    if (count == mParticles)
        return;
    mParticles = count;
    Write("particles " + std::to_string(count));
}

bool Runner::HumanToMove()
{
    Level* level = CurrentLevel();
    return level != nullptr && Play().IsLevelRunning() && level->GetState() == LevelState::HumanToMove &&
           !level->IsBusy() && level->GetLogic().GetCurrentPlayer() == 1;
}

bool Runner::BonusToPlace()
{
    Level* level = CurrentLevel();
    if (level == nullptr || !Play().IsLevelRunning() || level->GetState() != LevelState::BonusArmed ||
        level->IsBusy() || level->GetLogic().GetCurrentPlayer() != 1)
        return false;
    const BonusImpl* bonus = level->GetPendingBonus();
    return bonus != nullptr && !bonus->IsReady();
}

bool Runner::RunToHumanTurn()
{
    while (mUpdates < mOptions.maxUpdates)
    {
        if (IsFinished() || HumanToMove() || BonusToPlace())
            return true;
        Step();
    }
    Write("update limit reached");
    return false;
}

void Runner::ClickCell(int cell)
{
    const ScreenPoint centre = Scene()->GetCellCentre(cell);
    Click(centre.x, centre.y);
    Step();
}

void Runner::ClickPortrait()
{
    // The middle of the HUD's boss avatar, where the player drops a bomb on the boss.
    const HudAvatar* portrait = Scene()->GetHud() != nullptr ? Scene()->GetHud()->GetBossAvatar() : nullptr;
    if (portrait == nullptr)
    {
        Write("no boss portrait");
        return;
    }
    const Quoll::Rect rect = portrait->GetScreenRect();
    Click(rect.x + rect.width / 2, rect.y + rect.height / 2);
    Step();
}

void Runner::Click(int x, int y)
{
    if (onClick)
        onClick(mUpdates, x, y);
    Quoll::AppWidgetManager& widgets = *mApp->mWidgetManager;
    widgets.MouseMove(x, y);
    widgets.MouseDown(x, y, 1);
    widgets.MouseUp(x, y, 1);
}

bool Runner::ClickTutorialTarget()
{
    // While a step shows, only its target passes: press it, as a player following the tutorial.
    const auto* tutorial = dynamic_cast<const Tutorial*>(Scene()->GetTutorial());
    if (tutorial == nullptr || !tutorial->IsShowingStep())
        return false;
    // A cell step's cell is pressed at its centre, as a move's cells are, a portrait step on the
    // boss's portrait; other steps where the pointer aims.
    const TutorialStep* step = mApp->GetTutorialSteps().GetStep(tutorial->GetCurrentStep());
    FloatPoint target = tutorial->GetTargetPoint();
    if (step != nullptr && step->IsCellStep())
    {
        const ScreenPoint centre = Scene()->GetCellCentre(step->GetTargetCell());
        target = {static_cast<float>(centre.x), static_cast<float>(centre.y)};
    }
    else if (step != nullptr && step->IsPortraitStep() && Scene()->GetHud() != nullptr &&
             Scene()->GetHud()->GetBossAvatar() != nullptr)
    {
        const Quoll::Rect rect = Scene()->GetHud()->GetBossAvatar()->GetScreenRect();
        target = {static_cast<float>(rect.x + rect.width / 2), static_cast<float>(rect.y + rect.height / 2)};
    }
    std::ostringstream line;
    line << "tutorial step " << tutorial->GetCurrentStep() << " click " << static_cast<int>(target.x) << " "
         << static_cast<int>(target.y);
    Write(line.str());
    Click(static_cast<int>(target.x), static_cast<int>(target.y));
    Step();
    return true;
}

bool Runner::ChooseMove(int& from, int& to)
{
    if (mPolicy)
    {
        // The policy's act at the human's turn (never a step-back: it is made without any).
        const std::optional<DriverInput> act = mPolicy->Next(*Play().GetSession());
        if (!act || act->kind != DriverInput::Kind::Move)
            return false;
        from = act->from;
        to = act->to;
        return true;
    }
    const Level* level = CurrentLevel();
    MoveList moves;
    level->GetLogic().GenerateMoves(1, moves);
    if (moves.IsEmpty())
        return false;
    const AiMove move = moves[static_cast<int>(mRandom.Next(static_cast<uint32_t>(moves.Size())))];
    from = move.from;
    to = move.to;
    return true;
}

bool Runner::PlaceBonus()
{
    // As the level driver's policy places it: a living boss takes every bomb on its portrait;
    // otherwise a bomb goes on an enemy cell (the scene picks the cells around it), a mine or
    // teleport on a free cell.
    const Level& level = *CurrentLevel();
    const LevelParams& params = level.GetParams();
    const int code = params.armedSlot >= 0 && params.armedSlot < 3 ? params.inventory[params.armedSlot] : 0;
    if (code == BONUS_BOMB && level.HasBoss() && params.bossHitPoints > 0)
    {
        Write("bonus " + std::to_string(code) + " portrait");
        ClickPortrait();
        return true;
    }
    const Board& board = level.GetLogic().GetBoard();
    CellSet candidates = board.GetFreeCells();
    if (code == BONUS_BOMB)
    {
        candidates = board.GetOwnedCells(2) | board.GetOwnedCells(3);
        if (candidates.IsEmpty())
            candidates = board.GetExistingCells();
    }
    std::vector<int> cells;
    candidates.GetIndices(cells);
    if (cells.empty())
        return false;
    const int cell = cells[mRandom.Next(static_cast<uint32_t>(cells.size()))];
    Write("bonus " + std::to_string(code) + " cell " + std::to_string(cell));
    ClickCell(cell);
    return true;
}

bool Runner::PlayReplayAct()
{
    if (mNextAct >= mActs.size())
    {
        Write("the replay has no act left");
        return false;
    }
    const size_t index = mNextAct++;
    const DriverInput& act = mActs[index];
    Write("act " + act.ToLine());
    const size_t turnsBefore = mNextTurn;
    switch (act.kind)
    {
    case DriverInput::Kind::Move:
        ClickCell(act.from);
        ClickCell(act.to);
        // A move taken begins the next turn, ends the game or leaves a picked-up bonus to place.
        if (RunToHumanTurn() && mNextTurn == turnsBefore && !IsFinished() && !BonusToPlace())
            NoteReplayDifference("turn " + std::to_string(mNextTurn) + " (replay line " + std::to_string(mActLines[index]) +
                                 "): the move " + act.ToLine() + " was not taken");
        break;
    case DriverInput::Kind::Bonus:
        // A bomb's cells are the scene's pick around the click.
        ClickCell(act.cell);
        break;
    case DriverInput::Kind::Click:
        ClickCell(act.cell);
        break;
    case DriverInput::Kind::Portrait:
        ClickPortrait();
        break;
    case DriverInput::Kind::StepBack:
        Play().ReceiveCommand(PlayLevelState::kCommandStepBack, 0);
        Step();
        break;
    }
    return true;
}

void Runner::LogTurn()
{
    ++mTurn;
    Write(ParamsLine(mTurn, CurrentLevel()->GetParams()));
}

bool Runner::PlayTurn()
{
    if (!RunToHumanTurn() || IsFinished())
        return false;
    if (mReplay)
        return PlayReplayAct() && RunToHumanTurn();
    for (int i = 0; i < mOptions.thinkUpdates && mUpdates < mOptions.maxUpdates; ++i)
        Step();
    const bool placing = BonusToPlace();
    if (!placing)
        LogTurn();
    if (ClickTutorialTarget())
        return RunToHumanTurn();
    if (placing)
        return PlaceBonus() && RunToHumanTurn();
    int from = 0, to = 0;
    if (!ChooseMove(from, to))
    {
        Write("no move");
        return false;
    }
    std::ostringstream line;
    line << "move " << from << " " << to;
    Write(line.str());
    ClickCell(from);
    ClickCell(to);
    // The move has started: wait for the next human act or the end.
    return RunToHumanTurn();
}

bool Runner::RunToEnd()
{
    while (!IsFinished())
    {
        if (!mReplayDifference.empty())
            return false;
        const int before = mUpdates;
        if (!PlayTurn() && !IsFinished())
        {
            if (ReplayExhausted())
                return false;
            // No move of its own: the level passes the turn; let it run.
            if (mUpdates == before)
                Step();
            if (mUpdates >= mOptions.maxUpdates)
                return false;
        }
    }
    return mReplayDifference.empty();
}

void Runner::Leave()
{
    if (Play().IsOnStack())
        mApp->GetStateHost().ChangeState(*mIdle);
    mApp->ProcessDeferredDeletes();
    NoteParticles();
}
} // namespace Autoplay

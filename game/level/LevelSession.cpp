#include "game/level/LevelSession.h"

LevelSession::LevelSession(LevelView& view, LevelServices& services) : mView(view), mServices(services) {}

LevelSession::~LevelSession() { EndLevel(); }

void LevelSession::EndLevel()
{
    if (!mLevel)
        return;
    mLevel->Stop();
    mLevel->ReleaseLogic();
    mLevel.reset();
}

bool LevelSession::Load(Quoll::Buffer& body, LevelBodyKind kind)
{
    mLoadError.clear();
    const bool loaded = Fill([this, &body, kind](Level& level) {
        if (level.Load(body, kind))
            return true;
        mLoadError = level.GetLoadError();
        return false;
    });
    if (!loaded && kind == LevelBodyKind::LevelFile)
        mServices.LogError("Cannot open Level file: " + mLoadError);
    return loaded;
}

bool LevelSession::LoadRandom(const std::function<bool(GameLogic&)>& generate)
{
    mLoadError.clear();
    return Fill([&generate](Level& level) { return level.GenerateRandomLevel(generate); });
}

bool LevelSession::Fill(const std::function<bool(Level&)>& fill)
{
    EndLevel();
    mSnapshot.reset();
    mOutcome.reset();
    auto level = std::make_unique<Level>(mView, mServices);
    if (!fill(*level))
        return false;
    mLevel = std::move(level);
    return true;
}

bool LevelSession::Start(bool tutorialSuppressed)
{
    if (!mLevel)
        return false;
    mTutorialSuppressed = tutorialSuppressed;
    mLevel->SetTutorialSuppressed(tutorialSuppressed);
    if (!mLevel->Start())
        return false;
    mLevel->SetupScene();
    return true;
}

void LevelSession::Update()
{
    if (!mLevel || IsOver() || mLevel->GetState() == LevelState::NotStarted)
        return;
    mLevel->UpdateOwnBoss(mServices.GetFrameTime());
    if (mLevel->IsBusy())
        return;
    mLevel->Update();
    if (mLevel->IsTurnEnded())
        RunGameOverStep();
}

void LevelSession::RunGameOverStep()
{
    int result = 0;
    if (!mLevel->CheckGameOver(result))
        return;
    mLevel->OnGameOver(result);
    LevelOutcome outcome;
    outcome.result = result;
    if (result == 1)
    {
        outcome.medalGrade = mLevel->GetMedalGrade();
        mLevel->ComputeScore();
        outcome.score = mLevel->GetParams().score;
    }
    mOutcome = outcome;
}

void LevelSession::OnLevelCommand(int command, int argument)
{
    if (command == kCommandStoreStepBack && argument < 1)
        StoreStepBackPoint();
    else if (command == kCommandStepBack)
        StepBack();
}

void LevelSession::StoreStepBackPoint()
{
    if (!mLevel)
        return;
    Quoll::Buffer snapshot;
    mLevel->Save(snapshot, false);
    mSnapshot = std::move(snapshot);
}

bool LevelSession::StepBack()
{
    if (!mLevel || IsOver() || mLevel->GetParams().stepBacksLeft <= 0)
        return false;
    if (!mSnapshot)
    {
        mServices.LogError("Level buffer empty");
        return false;
    }
    // A new level from the snapshot: board, turn, generator, parameters and medal rule as they
    // were before the human's last move.
    Quoll::Buffer body = *mSnapshot;
    body.SeekReadStart();
    auto level = std::make_unique<Level>(mView, mServices);
    if (!level->Load(body))
        return false;
    EndLevel();
    mLevel = std::move(level);
    mLevel->SetTutorialSuppressed(mTutorialSuppressed);
    if (!mLevel->Start())
        return false;
    mLevel->SetupScene();
    mLevel->StepBack();
    return true;
}

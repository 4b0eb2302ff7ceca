#include "game/app/PlayLevelState.h"

#include "framework/core/Common.h"
#include "framework/platform/system/AtomicFile.h"
#include "framework/resources/ResourceManager.h"
#include "game/app/EndLevelState.h"
#include "game/app/GameApp.h"
#include "game/app/LevelMapState.h"
#include "game/level/LevelList.h"
#include "game/level/LevelText.h"
#include "game/level/RandomLevelProvider.h"
#include "game/play/BossLevel.h"
#include "game/play/FastMenu.h"
#include "game/play/GameScene.h"
#include "game/play/HOManager.h"
#include "game/play/Tutorial.h"
#include "game/scene/ZoomSFX.h"
#include "game/screens/ExitGameDlg.h"
#include "game/shell/PlayerData.h"
#include "game/shell/WaitState.h"

#include <filesystem>
#include <span>

namespace
{
bool IsCampaignLevel(int level)
{
    return level >= 1 && level <= LevelList::kLevelCount;
}

bool IsRandomLevel(int level)
{
    return level <= -1 && level >= -PlayLevelState::kMaxEpisode;
}

bool ReadDiskFile(const std::string& path, Quoll::Buffer& buffer)
{
    const std::optional<std::vector<uint8_t>> bytes = Quoll::Platform::ReadWholeFile(path);
    if (!bytes)
        return false;
    buffer.Clear();
    buffer.SetData(bytes->data(), bytes->size());
    buffer.SeekReadStart();
    return true;
}
} // namespace

PlayLevelState::PlayLevelState(StateHost& host, GameApp& app, Screens screens, SceneHooks hooks)
    : WidgetLink(host, "PlayLevelState"), mApp(app), mScreens(screens), mHooks(std::move(hooks))
{
    if (!mHooks.makeHiddenObjects)
        mHooks.makeHiddenObjects = [this] { return std::make_unique<HOManager>(mApp.GetPlayServices()); };
    if (!mHooks.makeFastMenu)
        mHooks.makeFastMenu = [this](GameScene& scene) {
            return Quoll::FastMenu::Make(mApp.GetPlayServices(), scene, mMenuLevel.get());
        };
    if (!mHooks.makeTutorial)
        mHooks.makeTutorial = MakeTutorialHook(mApp.GetPlayServices(), mApp.GetTutorialSteps());
    if (!mHooks.makeBoss)
        mHooks.makeBoss = MakeBossHook(mApp.GetPlayServices());
}

PlayLevelState::~PlayLevelState() = default;

void PlayLevelState::SetZoomEffect(std::unique_ptr<Quoll::ZoomSFX> effect)
{
    // Set before the change to this state: no scene of this state draws the old effect then.
    mZoomEffect = std::move(effect);
    mZoomPending = mZoomEffect != nullptr;
}

void PlayLevelState::SetLevel(int level, GameState* previous)
{
    mLevelNumber = level;
    mContinueSavedGame = false;
    mEditOnStart = false;
    mPrevious = previous;
}

void PlayLevelState::SetContinueSavedGame(GameState* previous)
{
    mContinueSavedGame = true;
    mEditOnStart = false;
    mPrevious = previous;
}

void PlayLevelState::SetEditLevel(int level, GameState* previous)
{
    SetLevel(level, previous);
    mEditOnStart = true;
}

GameScene* PlayLevelState::GetScene() const
{
    return static_cast<GameScene*>(GetWidget());
}

bool PlayLevelState::IsLevelRunning() const
{
    return mSession && mSession->HasLevel() && !mSession->IsOver() && mPhase == Phase::Playing;
}

// --- Entering and leaving -------------------------------------------------------------------------

void PlayLevelState::OnEnter()
{
    if (!Begin())
        HandBack();
}

bool PlayLevelState::Begin()
{
    mPhase = Phase::Idle;
    mLastBody.reset();
    mFromSavedGame = false;
    for (const char* group : kPlayGroups)
        if (!mApp.mResourceManager->IsGroupLoaded(group) && !mApp.LoadResourceGroup(group))
            return false;
    if (!FillSession())
    {
        mSession.reset();
        return false;
    }
    if (!StartSession())
        return false;
    // A new level has started: a saved game of another one is stale from now on (unless it waits
    // for the result of its level to be written: it then stays, and this level is not saved). A
    // level that does not start leaves the player's files as they were.
    if (PlayerData* data = mApp.GetPlayerData(); data != nullptr && !mFromSavedGame)
        data->EraseSavedGame();
    return true;
}

bool PlayLevelState::FillSession()
{
    PlayerData* data = mApp.GetPlayerData();
    std::optional<SavedGame> saved;
    if (mContinueSavedGame)
    {
        mContinueSavedGame = false;
        saved = data != nullptr ? data->LoadSavedGame() : std::nullopt;
        if (!saved)
            return Refuse("There is no saved game to continue");
        mLevelNumber = saved->GetLevel();
        mFromSavedGame = true;
    }
    if (!IsCampaignLevel(mLevelNumber) && !IsRandomLevel(mLevelNumber))
        return Refuse("Refused to play level " + std::to_string(mLevelNumber));
    mApp.GetPlayServices().SetCurrentLevel(mLevelNumber);
    // The scene reads the level's look when it is made.
    Attach();
    GameScene* scene = GetScene();
    if (scene == nullptr)
        return false;
    mSession = std::make_unique<LevelSession>(*scene, mApp);
    if (saved)
        return mSession->Load(saved->GetBody(), LevelBodyKind::Saved) ||
               Refuse(WithReason("Cannot continue the saved game of level " + std::to_string(mLevelNumber),
                                 mSession->GetLoadError()));
    if (IsRandomLevel(mLevelNumber))
        return mSession->LoadRandom(Game::RandomLevelProvider::ForLevel(mLevelNumber, &mApp.GetLevelList())) ||
               Refuse("Cannot make a random level of episode " + std::to_string(-mLevelNumber));
    return LoadLevelFile(ChooseCampaignPath(), false);
}

std::string PlayLevelState::ChooseCampaignPath() const
{
    PlayerData* data = mApp.GetPlayerData();
    const bool easy = data != nullptr && data->GetCurrentProfile().GetDifficulty() == Profile::kEasyDifficulty;
    const std::string easyPath = GetCampaignPath(mLevelNumber, true);
    if (easy && mApp.FileExists(easyPath))
        return easyPath;
    return GetCampaignPath(mLevelNumber, false);
}

bool PlayLevelState::LoadLevelFile(const std::string& path, bool fromDisk)
{
    Quoll::Buffer body;
    const bool read = fromDisk ? ReadDiskFile(path, body) : mApp.ReadBufferFromFile(path, body);
    body.SeekReadStart();
    if (!read)
        return Refuse("Cannot open Level file: " + path);
    if (!mSession->Load(body, LevelBodyKind::LevelFile))
        return Refuse(WithReason("Cannot open Level file: " + path, mSession->GetLoadError()));
    return true;
}

std::string PlayLevelState::WithReason(const std::string& what, const std::string& reason)
{
    return reason.empty() ? what : what + ": " + reason;
}

bool PlayLevelState::Refuse(const std::string& reason)
{
    mApp.LogError(reason);
    mApp.NoteLoadFailure(reason);
    return false;
}

void PlayLevelState::MakeMenuLevel()
{
    // Only the first fast menu of a scene keeps it; later starts on the same scene keep theirs.
    if (mMenuLevel)
        return;
    Quoll::Buffer body;
    mSession->GetLevel().Save(body, false);
    body.SeekReadStart();
    auto level = std::make_unique<Level>(mRuleView, mRuleServices);
    if (level->Load(body))
        mMenuLevel = std::move(level);
}

bool PlayLevelState::StartSession()
{
    GameScene* scene = GetScene();
    MakeMenuLevel();
    Level& level = mSession->GetLevel();
    for (int player = 1; player <= level.GetLogic().GetPlayerCount(); ++player)
        mApp.GetPlayServices().SetPlayerAiLevel(player, level.GetLogic().GetPlayerAiLevel(player));
    if (std::exchange(mZoomPending, false))
        scene->SetZoomEffect(mZoomEffect.get());
    const bool suppressed = !IsCampaignLevel(mLevelNumber) || IsLevelCompleted(mLevelNumber);
    if (!mSession->Start(suppressed))
        return Refuse("Level " + std::to_string(mLevelNumber) + " cannot start");
    mSession->GetLevel().ShowFastMenu();
    mApp.PlayMusic(kLevelSong, kMusicFade);
    mPhase = Phase::Playing;
    if (std::exchange(mEditOnStart, false) && mScreens.editor != nullptr)
        PushState(*mScreens.editor);
    return true;
}

void PlayLevelState::HandBack()
{
    // The level editor, the one state over the play screen that reloads levels, goes first.
    if (mScreens.editor != nullptr && mScreens.editor->IsOnStack())
        PopState();
    mApp.GetAchievements().SetEditorActive(false); // an edited level that never started too
    End();
    GameState* back = mPrevious != nullptr ? mPrevious : mScreens.mainMenu;
    if (back != nullptr && !back->IsOnStack())
        ChangeState(*back);
    else
        PopState();
}

void PlayLevelState::OnExit()
{
    // Closing the window (or any other way out) mid-level keeps the game.
    if (IsLevelRunning())
        SaveGame();
    End();
}

void PlayLevelState::End()
{
    if (GameScene* scene = GetScene())
        scene->SetOverlayNode(nullptr, nullptr);
    Detach();
    mSession.reset();
    mMenuLevel.reset();
    mLastBody.reset();
    mPhase = Phase::Idle;
    mAwaitingTutorialAnswer = false;
    mAwaitingEndLevelAnswer = false;
}

void PlayLevelState::OnResume()
{
    if (mAwaitingEndLevelAnswer)
    {
        OnEndLevelAnswer();
        return;
    }
    if (!mAwaitingTutorialAnswer)
        return;
    mAwaitingTutorialAnswer = false;
    const auto& answer = mScreens.tutorialCancel->GetResult();
    if (answer && answer->command == ExitGameDlg::kCommandYes && GetScene() != nullptr)
        GetScene()->CloseTutorial();
}

// --- Updates ---------------------------------------------------------------------------------------

void PlayLevelState::Update()
{
    if (!mSession || !mSession->HasLevel())
        return;
    if (mPhase == Phase::Playing)
    {
        mSession->Update();
        TakeBody();
        if (mSession->IsOver())
        {
            const int winner = mSession->GetOutcome()->result;
            if (winner >= 1)
                GetScene()->FinishRound(winner);
            mPhase = Phase::Finishing;
        }
        return;
    }
    UpdateEndSequence();
}

void PlayLevelState::TakeBody()
{
    if (mSession->IsOver() || mSession->GetLevel().IsBusy())
        return;
    const LevelState state = mSession->GetLevel().GetState();
    if (state != LevelState::HumanToMove && state != LevelState::ComputerToMove && state != LevelState::BonusArmed)
        return;
    Quoll::Buffer body;
    mSession->GetLevel().Save(body, false);
    mLastBody = std::move(body);
}

void PlayLevelState::UpdateEndSequence()
{
    GameScene* scene = GetScene();
    if (scene == nullptr || scene->IsBusy())
        return;
    if (mPhase == Phase::Finishing)
    {
        scene->OnRoundOver();
        mPhase = Phase::RoundOver;
        return;
    }
    if (mPhase == Phase::RoundOver)
    {
        mPhase = Phase::Finished;
        const LevelOutcome outcome = *mSession->GetOutcome();
        const bool newBest = RecordResult(outcome);
        if (mEndOfLevel)
            mEndOfLevel(*this, outcome);
        else if (mScreens.endLevel != nullptr)
            ShowEndLevel(outcome, newBest);
        else
            LeaveFinishedLevel();
    }
}

bool PlayLevelState::RecordResult(const LevelOutcome& outcome)
{
    mCompletedGroup = -1;
    PlayerData* data = mApp.GetPlayerData();
    if (data == nullptr)
        return false;
    bool newBest = false;
    if (IsRandomLevel(mLevelNumber))
    {
        data->RecordRandomResult(-mLevelNumber, outcome.result == 1);
    }
    else if (outcome.result == 1)
    {
        // The profile's new total goes into the score table, which is saved with the profile.
        const LevelList& list = mApp.GetLevelList();
        const int group = LevelList::GetLevelGroup(mLevelNumber);
        const bool wasComplete = list.IsGroupComplete(group);
        newBest = data->RecordLevelResult(mLevelNumber, outcome.score, outcome.medalGrade);
        if (!wasComplete && list.IsGroupComplete(group))
            mCompletedGroup = group;
    }
    // The saved game goes only once the result it led to is written.
    if (mFromSavedGame)
        data->EraseFinishedSavedGame();
    return newBest;
}

void PlayLevelState::ShowEndLevel(const LevelOutcome& outcome, bool newBest)
{
    const bool won = outcome.result == 1;
    const EndLevelResult result = MakeEndLevelResult(outcome.result, won, newBest, outcome.medalGrade);
    // Fireworks only for a win, for the dialog's whole life after the campaign's last level.
    mScreens.endLevel->Prepare(result, ScoresOf(mSession->GetLevel().GetParams()), won,
                               mLevelNumber == LevelList::kLevelCount);
    mAwaitingEndLevelAnswer = true;
    PushState(*mScreens.endLevel);
}

void PlayLevelState::OnEndLevelAnswer()
{
    mAwaitingEndLevelAnswer = false;
    const auto& answer = mScreens.endLevel->GetResult();
    if (answer && answer->command == EndLevelDlg::kCommandRestart)
        Restart();
    else
        LeaveFinishedLevel();
}

void PlayLevelState::LeaveFinishedLevel()
{
    // The map marks the campaign level just played and celebrates the group it completed.
    if (mLevelMap != nullptr)
        mLevelMap->SetFocus(IsCampaignLevel(mLevelNumber) ? mLevelNumber : -1, mCompletedGroup);
    GameState* next = mLevelMap != nullptr ? static_cast<GameState*>(mLevelMap) : mScreens.mainMenu;
    if (next != nullptr)
        ChangeState(*next);
    else
        PopState();
}

// --- Commands --------------------------------------------------------------------------------------

BaseWidget* PlayLevelState::CreateWidget()
{
    return new GameScene(mApp.GetPlayServices(), mHooks);
}

void PlayLevelState::OnCommand(int command, int argument)
{
    switch (command)
    {
    case kCommandMenu:
        if (IsLevelRunning() && mScreens.inGameMenu != nullptr)
            PushState(*mScreens.inGameMenu);
        break;
    case kCommandClick:
        if (IsLevelRunning())
        {
            float x = 0, y = 0;
            mApp.GetMousePos(x, y);
            mSession->GetLevel().OnMouseDown({static_cast<int>(x), static_cast<int>(y)});
        }
        break;
    case kCommandStoreStepBack:
    case kCommandStepBack:
        if (mSession)
            mSession->OnLevelCommand(command, argument);
        break;
    case kCommandRestart: Restart(); break;
    case kCommandMute: ToggleMute(); break;
    case kCommandCloseTutorial: AskToCloseTutorial(); break;
    default: break;
    }
}

void PlayLevelState::Restart()
{
    // A random level comes back the same.
    if (IsRandomLevel(mLevelNumber))
        Game::RandomLevelReplay = true;
    End();
    mContinueSavedGame = false;
    if (!Begin())
        HandBack();
}

void PlayLevelState::ToggleMute()
{
    GamePlayServices& services = mApp.GetPlayServices();
    services.SetMuted(!services.IsMuted());
}

void PlayLevelState::AskToCloseTutorial()
{
    if (mScreens.tutorialCancel == nullptr)
        return;
    mScreens.tutorialCancel->SetWidgetFactory([] { return new TutorialCancelDlg; });
    mAwaitingTutorialAnswer = true;
    PushState(*mScreens.tutorialCancel);
}

// --- Saved game and editor -------------------------------------------------------------------------

bool PlayLevelState::SaveGame()
{
    PlayerData* data = mApp.GetPlayerData();
    if (data == nullptr || !mSession || !mSession->HasLevel() || mSession->IsOver() || !mLastBody)
        return false;
    if (!data->SaveGame(mLevelNumber, *mLastBody))
    {
        mApp.LogError("The game of level " + std::to_string(mLevelNumber) + " could not be saved");
        return false;
    }
    return true;
}

void PlayLevelState::SaveAndLeave()
{
    SaveGame();
    // Written: leaving must not write it again from another body.
    End();
    if (mScreens.mainMenu != nullptr)
        ChangeState(*mScreens.mainMenu);
    else
        PopState();
}

std::string PlayLevelState::GetEditorCopyPath(int level)
{
    return Quoll::GetAppDataFolder() + "leveleditor/" + std::to_string(level) + ".bin";
}

std::string PlayLevelState::GetEditorTextPath(int level)
{
    return Quoll::GetAppDataFolder() + "leveleditor/" + std::to_string(level) + ".txt";
}

std::string PlayLevelState::GetCampaignPath(int level, bool easy)
{
    return std::string("data/levels/") + (easy ? "easy/" : "") + std::to_string(level) + ".bin";
}

bool PlayLevelState::LoadLevel(int mode)
{
    if (!mSession || GetScene() == nullptr || !IsCampaignLevel(mLevelNumber))
        return false;
    const std::string copy = GetEditorCopyPath(mLevelNumber);
    const bool fromCopy = mode == kEditorCopy && std::filesystem::exists(copy);
    mLastBody.reset();
    if (LoadLevelFile(fromCopy ? copy : GetCampaignPath(mLevelNumber, false), fromCopy) && StartSession())
        return true;
    // The old level has gone with the failed load.
    HandBack();
    return false;
}

bool PlayLevelState::SaveLevel(int mode)
{
    if (!mSession || !mSession->HasLevel() || !IsCampaignLevel(mLevelNumber))
        return false;
    Quoll::Buffer body;
    mSession->GetLevel().Save(body, true);
    if (mode == kEditorCopy)
        return WriteLevelFile(GetEditorCopyPath(mLevelNumber), std::span(body.GetDataPtr(), body.GetDataSize()));
    // The campaign's level files are compiled from texts at build time: the text is what an
    // author can take back into the campaign.
    const std::string path = GetEditorTextPath(mLevelNumber);
    std::string text;
    LevelTextError error;
    body.SeekReadStart();
    if (!PrintLevelText(body, text, error))
    {
        mApp.LogError("Cannot save Level file: " + path + ": " + error.ToString());
        return false;
    }
    return WriteLevelFile(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

bool PlayLevelState::WriteLevelFile(const std::string& path, std::span<const uint8_t> bytes)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    // Written whole or not at all: a failed write leaves the old file as it was.
    if (!Quoll::Platform::WriteFileAtomically(path, bytes))
    {
        mApp.LogError("Cannot save Level file: " + path);
        return false;
    }
    return true;
}

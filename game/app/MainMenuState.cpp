#include "game/app/MainMenuState.h"

#include "game/app/ComicsState.h"
#include "game/app/ShellActions.h"
#include "game/screens/ComplexityDlg.h"
#include "game/screens/ExitGameDlg.h"
#include "game/screens/MainMenu.h"
#include "game/screens/MainMenuServices.h"
#include "game/shell/PlayerData.h"
#include "game/shell/Profile.h"
#include "game/shell/WaitState.h"
#include "game/ui/UiServices.h"

Quoll::MainMenu* MainMenuState::GetMenu() const
{
    return dynamic_cast<Quoll::MainMenu*>(GetWidget());
}

BaseWidget* MainMenuState::CreateWidget()
{
    return new Quoll::MainMenu(mServices);
}

void MainMenuState::OnEnter()
{
    mAwaitingDifficulty = false;
    mAwaitingComic = false;
    mAwaitingSavedGame = false;
    if (mServices.GetCurrentSong() != kMenuSong) mActions.PlayMusic(kMenuSong, kMusicFade);
    WidgetLink::OnEnter();
}

void MainMenuState::OnPause()
{
    mPausedLanguage = mServices.GetArtLanguage();
    mPausedProfile = mServices.GetProfileName();
}

void MainMenuState::OnResume()
{
    if (Quoll::MainMenu* menu = GetMenu())
    {
        if (mServices.GetArtLanguage() != mPausedLanguage ||
            mServices.GetProfileName() != mPausedProfile)
            menu->RefreshLabels();
        else
            menu->UpdateProfileName();
    }
    if (mAwaitingDifficulty)
        TakeDifficulty();
    else if (mAwaitingSavedGame)
        TakeSavedGameAnswer();
    else if (mAwaitingComic)
        TakeOpeningComic();
}

void MainMenuState::OnCommand(int command, int)
{
    switch (command)
    {
    case Quoll::MainMenu::kPlay:
        Play();
        break;
    case Quoll::MainMenu::kSettings:
        Open(mScreens.settings, "settings");
        break;
    case Quoll::MainMenu::kHighScores:
        Open(mScreens.scores, "scores");
        break;
    case Quoll::MainMenu::kCredits:
        Open(mScreens.credits, "credits");
        break;
    case Quoll::MainMenu::kQuit:
        Open(mScreens.exit, "exit");
        break;
    case Quoll::MainMenu::kProfile:
        Open(mScreens.changeProfile, "profile");
        break;
    default:
        Ui().LogWarning("Unhundled main menu button: " + std::to_string(command));
        break;
    }
}

void MainMenuState::Open(GameState* screen, const char* what)
{
    if (screen == nullptr)
    {
        Ui().LogWarning(std::string("Main menu: no ") + what + " screen");
        return;
    }
    PushState(*screen);
}

void MainMenuState::Play()
{
    PlayerData* data = mActions.GetPlayerData();
    if (data != nullptr && !data->GetCurrentProfile().IsDifficultyChosen() &&
        mScreens.difficulty != nullptr)
    {
        mAwaitingDifficulty = true;
        mScreens.difficulty->SetWidgetFactory([] { return new ComplexityDlg; });
        mScreens.difficulty->SetNextState(nullptr);
        PushState(*mScreens.difficulty);
        return;
    }
    OfferSavedGame();
}

void MainMenuState::TakeDifficulty()
{
    mAwaitingDifficulty = false;
    const auto& result = mScreens.difficulty->GetResult();
    if (!result) return;
    int difficulty = 0;
    if (result->command == ComplexityDlg::kCommandEasy)
        difficulty = Profile::kEasyDifficulty;
    else if (result->command == ComplexityDlg::kCommandNormal)
        difficulty = Profile::kNormalDifficulty;
    PlayerData* data = mActions.GetPlayerData();
    // Cancelled: nothing chosen, the menu stays and asks again next time.
    if (difficulty == 0 || data == nullptr) return;
    data->ChooseDifficulty(difficulty);
    OfferSavedGame();
}

void MainMenuState::OfferSavedGame()
{
    PlayerData* data = mActions.GetPlayerData();
    const std::optional<SavedGame> saved =
        data != nullptr && mSavedGameQuestion != nullptr && mContinueSavedGame ? data->LoadSavedGame()
                                                                                        : std::nullopt;
    if (!saved)
    {
        EnterLevelMap();
        return;
    }
    mSavedLevel = saved->GetLevel();
    mAwaitingSavedGame = true;
    mSavedGameQuestion->SetWidgetFactory([] { return new StartSavedGameDlg; });
    mSavedGameQuestion->SetNextState(nullptr);
    PushState(*mSavedGameQuestion);
}

void MainMenuState::TakeSavedGameAnswer()
{
    mAwaitingSavedGame = false;
    const auto& result = mSavedGameQuestion->GetResult();
    if (!result)
        return;
    if (result->command == ExitGameDlg::kCommandYes)
    {
        mContinueSavedGame(mSavedLevel);
        return;
    }
    if (PlayerData* data = mActions.GetPlayerData())
        data->EraseSavedGame();
    EnterLevelMap();
}

void MainMenuState::EnterLevelMap()
{
    if (mScreens.levelMap == nullptr)
    {
        Ui().LogWarning("Main menu: play has no level map to go to");
        return;
    }
    PlayerData* data = mActions.GetPlayerData();
    if (mScreens.comics != nullptr && data != nullptr &&
        !data->GetCurrentProfile().HasSeen(ProfileSeen::OpeningComic))
    {
        mAwaitingComic = true;
        mScreens.comics->SetComic(false);
        PushState(*mScreens.comics);
        return;
    }
    ChangeState(*mScreens.levelMap);
}

void MainMenuState::TakeOpeningComic()
{
    mAwaitingComic = false;
    PlayerData* data = mActions.GetPlayerData();
    // A comic that could not be shown stays unseen; the map follows either way.
    if (mScreens.comics->WasFinished() && data != nullptr)
    {
        data->GetCurrentProfile().MarkSeen(ProfileSeen::OpeningComic);
        data->SaveCurrentProfile();
    }
    ChangeState(*mScreens.levelMap);
}

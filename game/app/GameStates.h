#pragma once
// GameStates: the game's states from the start to the main menu and the dialogs the menu opens,
// made once and wired together: the branding splash waits for its command 0 and changes to the
// start-load state, which runs the loading bar over the title and goes on to the main menu (with
// the compulsory first profile before it on a first run); the menu's play leads to the level map
// (through the opening comic once per profile), which shows the final comic once the campaign is
// complete, and the map's main-menu command back. A level chosen on the map, or a saved game the
// menu's play continues, loads through the level-loading state into the play screen's state; its
// pause menu, the tutorial quit question, the end-of-level dialog and the level editor are made
// here as well.
#include "game/app/AchievesState.h"
#include "game/app/ChangeProfileState.h"
#include "game/app/ComicsState.h"
#include "game/app/CreateProfileState.h"
#include "game/app/DialogState.h"
#include "game/app/EditorState.h"
#include "game/app/EndLevelState.h"
#include "game/app/ExitGameState.h"
#include "game/app/GameLevelMapServices.h"
#include "game/app/LevelMapState.h"
#include "game/app/LoadLevelState.h"
#include "game/app/InGameState.h"
#include "game/app/LoadState.h"
#include "game/app/MainMenuState.h"
#include "game/app/PlayLevelState.h"
#include "game/app/SettingsState.h"
#include "game/app/StartLoadState.h"
#include "game/shell/WaitState.h"

#include <functional>

class GameApp;
class MainMenuServices;

class GameStates
{
public:
    using DialogFactory = std::function<BaseWidget*()>;

    GameStates(GameApp& app, StateHost& host, ShellActions& actions, MainMenuServices& menu);
    GameStates(const GameStates&) = delete;
    GameStates& operator=(const GameStates&) = delete;

    // The state the root pushes: the branding splash.
    [[nodiscard]] GameState& First() { return mSplash; }
    [[nodiscard]] MainMenuState& MainMenu() { return mMainMenu; }
    [[nodiscard]] LoadState& Loading() { return mLoad; }
    [[nodiscard]] LevelMapState& LevelMap() { return mLevelMap; }
    [[nodiscard]] PlayLevelState& PlayLevel() { return mPlay; }
    [[nodiscard]] LoadLevelState& LoadLevel() { return mLoadLevel; }
    [[nodiscard]] InGameState& InGameMenu() { return mInGame; }
    [[nodiscard]] EndLevelState& EndLevel() { return mEndLevel; }
    [[nodiscard]] EditorState& Editor() { return mEditor; }

private:
    SettingsState mSettings;
    CloseOnCommandState<DialogFactory> mScores;
    CloseOnCommandState<DialogFactory> mCredits;
    ExitGameState mExit;
    ChangeProfileState mChangeProfile;
    CreateProfileState mCreateProfile;
    WaitState mDifficulty;
    ComicsState mComics;
    GameAchievesViewerServices mAchievesServices;
    AchievesState mAchieves;
    GameLevelMapServices mLevelMapServices;
    LevelMapState mLevelMap;
    MainMenuState mMainMenu;
    WaitState mTutorialCancel;
    WaitState mSavedGameQuestion;
    // Before the play state: the zoom effect it hands over reads its configurations.
    LoadLevelState mLoadLevel;
    PlayLevelState mPlay;
    InGameState mInGame;
    LoadState mLoad;
    StartLoadState mStartLoad;
    WaitState mSplash;
    EndLevelState mEndLevel;
    EditorState mEditor;
};

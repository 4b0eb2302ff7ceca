#pragma once
// PlayLevelState: the play screen's state. Entering it loads the play groups, reads the level
// (a campaign level's file, the profile's saved game, or a random level of an episode), makes
// the GameScene through the link, starts the level in a LevelSession, takes over a zoom effect
// handed to it and starts the level's song. Each update runs the session; once the game is over
// it runs the end sequence: the round's finish on the scene, the scene's round-over once that
// is idle, then, idle again, the result into the profile and the end-of-level step.
//
// It owns the one writer of the saved game (SaveGame): the pause menu's save-and-leave and the
// closing of the window mid-level both write the last level body taken while a player was to
// move, so leaving a running level never loses it.
//
// A finished level shows the end-of-level dialog over the screen (when the state has one):
// restart plays the level again (a random level comes back with the same board), continue goes
// to the level map, focused on the level and on the group the win just completed.
//
// Commands of the scene: 0 the pause menu and 1 a click, both only while the level runs; 2 and
// 102 the step-back point and the step back; 100 restart; 101 mute on and off; 200 the tutorial
// quit question.
#include "framework/core/Buffer.h"
#include "game/level/LevelSession.h"
#include "game/level/NullLevelServices.h"
#include "game/level/NullLevelView.h"
#include "game/play/SceneHooks.h"
#include "game/shell/WidgetLink.h"

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

class EndLevelState;
class GameApp;
class GameScene;
class LevelMapState;
class WaitState;

namespace Quoll
{
class ZoomSFX;
}

class PlayLevelState final : public WidgetLink
{
public:
    enum Command
    {
        kCommandMenu = 0,
        kCommandClick = 1,
        kCommandStoreStepBack = 2,
        kCommandRestart = 100,
        kCommandMute = 101,
        kCommandStepBack = 102,
        kCommandCloseTutorial = 200,
    };
    // The editor's load and save modes: the campaign file, or the editor's own copy.
    // Saving in kCampaignFile mode writes the level's text beside the editor's copy: the
    // campaign files are build output, compiled from such texts.
    enum EditorMode
    {
        kCampaignFile = 0,
        kEditorCopy = 2,
    };
    static constexpr int kLevelSong = 3;
    static constexpr float kMusicFade = 0.001f;
    static constexpr int kMaxEpisode = 5;
    // The resource groups the play screen draws from (every level background is in "Fones").
    static constexpr const char* kPlayGroups[] = {"Game", "Fones", "Particles", "Sounds"};

    struct Screens
    {
        // The pause menu, pushed on command 0.
        GameState* inGameMenu = nullptr;
        // The tutorial quit question, pushed on command 200; its yes closes the tutorial.
        WaitState* tutorialCancel = nullptr;
        GameState* mainMenu = nullptr;
        // The end-of-level dialog; null: a finished level goes straight to the map.
        EndLevelState* endLevel = nullptr;
        // The level editor, pushed over a level started with SetEditLevel.
        GameState* editor = nullptr;
    };
    // After the result is stored: where the game goes from a finished level (replaces the
    // end-of-level dialog).
    using EndOfLevel = std::function<void(PlayLevelState& state, const LevelOutcome& outcome)>;

    // Parts the hooks leave empty get the game's: the hidden objects and the fast menu.
    PlayLevelState(StateHost& host, GameApp& app, Screens screens, SceneHooks hooks = {});
    ~PlayLevelState() override;

    // --- What the next entry plays --------------------------------------------------------------
    // 1..70 a campaign level, -1..-5 a random level of that episode; anything else is refused
    // at the entry. The screen before it is where a level that cannot be read hands back to
    // (the main menu when null).
    void SetLevel(int level, GameState* previous = nullptr);
    // The next entry plays the profile's saved game instead.
    void SetContinueSavedGame(GameState* previous = nullptr);
    // As SetLevel, with the level editor over the level once it has started.
    void SetEditLevel(int level, GameState* previous = nullptr);
    // The loading state's zoom effect, handed to the scene at the next entry; the state keeps it
    // while the scene draws it (until the next effect comes).
    void SetZoomEffect(std::unique_ptr<Quoll::ZoomSFX> effect);
    [[nodiscard]] Quoll::ZoomSFX* GetZoomEffect() const { return mZoomEffect.get(); }
    void SetEndOfLevel(EndOfLevel hook) { mEndOfLevel = std::move(hook); }
    // The level map, where a finished level returns to; the main menu while there is none.
    void SetLevelMap(LevelMapState* levelMap) { mLevelMap = levelMap; }

    // --- Saved game and editor ------------------------------------------------------------------
    // Writes the last level body taken while a player was to move as the profile's saved game;
    // false when no level runs, the game is over or the write fails.
    bool SaveGame();
    // The pause menu's save and leave: the saved game, then the main menu.
    void SaveAndLeave();
    // Reloads the running level from the campaign file (kCampaignFile) or from the editor's
    // copy when there is one (kEditorCopy); false when it does not read: the old level has gone
    // and the state hands back to the screen before it.
    bool LoadLevel(int mode);
    // Writes the level's board with fresh parameters to the editor's copy (kEditorCopy) or, as
    // level text, beside it (kCampaignFile); false, logged, when the write fails, and the old
    // file stays.
    bool SaveLevel(int mode);
    // "<data folder>/leveleditor/<n>.bin".
    [[nodiscard]] static std::string GetEditorCopyPath(int level);
    // "<data folder>/leveleditor/<n>.txt".
    [[nodiscard]] static std::string GetEditorTextPath(int level);
    [[nodiscard]] static std::string GetCampaignPath(int level, bool easy);

    // --- Reading --------------------------------------------------------------------------------
    [[nodiscard]] int GetLevelNumber() const { return mLevelNumber; }
    [[nodiscard]] GameScene* GetScene() const;
    [[nodiscard]] LevelSession* GetSession() const { return mSession.get(); }
    // A level is loaded and its game is not over.
    [[nodiscard]] bool IsLevelRunning() const;
    // The end sequence has finished and the result is stored.
    [[nodiscard]] bool IsFinished() const { return mPhase == Phase::Finished; }
    [[nodiscard]] const std::optional<Quoll::Buffer>& GetLastBody() const { return mLastBody; }

    // --- State hooks ----------------------------------------------------------------------------
    void OnEnter() override;
    void OnExit() override;
    void OnResume() override;
    void Update() override;

protected:
    BaseWidget* CreateWidget() override;
    void OnCommand(int command, int argument) override;

private:
    enum class Phase
    {
        Idle,
        Playing,
        // The round's finish runs on the scene.
        Finishing,
        // The scene's round-over runs.
        RoundOver,
        Finished,
    };

    // Loads the groups, shows the scene and starts the level; false (logged and told) when it
    // cannot.
    bool Begin();
    // Fills the session from the level's file, the saved game or the generator.
    bool FillSession();
    bool LoadLevelFile(const std::string& path, bool fromDisk);
    // A level that cannot start: the reason is logged and told to the player at the next
    // update; false.
    bool Refuse(const std::string& reason);
    [[nodiscard]] static std::string WithReason(const std::string& what, const std::string& reason);
    [[nodiscard]] std::string ChooseCampaignPath() const;
    bool StartSession();
    void MakeMenuLevel();
    // Stops the level and takes the scene away.
    void End();
    void HandBack();
    void Restart();
    void ToggleMute();
    void AskToCloseTutorial();
    void UpdateEndSequence();
    // True when the result is a new best for the level.
    bool RecordResult(const LevelOutcome& outcome);
    void ShowEndLevel(const LevelOutcome& outcome, bool newBest);
    void OnEndLevelAnswer();
    void LeaveFinishedLevel();
    bool WriteLevelFile(const std::string& path, std::span<const uint8_t> bytes);
    // Keeps the level body while a player is to move, for the saved game.
    void TakeBody();

    GameApp& mApp;
    Screens mScreens;
    SceneHooks mHooks;
    EndOfLevel mEndOfLevel;
    LevelMapState* mLevelMap = nullptr;
    GameState* mPrevious = nullptr;
    std::unique_ptr<Quoll::ZoomSFX> mZoomEffect;
    bool mZoomPending = false;
    std::unique_ptr<LevelSession> mSession;
    // The fast menu grades the medal goal by a level's medal rule for the scene's whole life,
    // while a step back replaces the session's level: it reads this copy of the level instead,
    // made when the level starts and dropped with the scene.
    NullLevelView mRuleView;
    NullLevelServices mRuleServices;
    std::unique_ptr<Level> mMenuLevel;
    std::optional<Quoll::Buffer> mLastBody;
    Phase mPhase = Phase::Idle;
    int mLevelNumber = 0;
    bool mContinueSavedGame = false;
    // The level running was continued from the saved game.
    bool mFromSavedGame = false;
    bool mAwaitingTutorialAnswer = false;
    bool mAwaitingEndLevelAnswer = false;
    bool mEditOnStart = false;
    // The group the finished level completed, -1 when none: where the map celebrates.
    int mCompletedGroup = -1;
};

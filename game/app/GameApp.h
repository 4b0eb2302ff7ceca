#pragma once
// GameApp: the game's application object, derived from the framework's application. It owns
// the game's services (texts, settings record, resource-id bindings, sound-repeat limiter,
// level catalogue and asset table), starts the game in a fixed order, plays sounds and music
// for all game code, loads resource groups and binds their ids, and serves the level logic
// (LevelServices). One instance per process, reached through gGameApp.
//
// Start-up order (Init): crash catcher; pack password; the framework's start (settings, data
// folder, window, display, sound); "data/texts.xml" and the language; window icon and title;
// "data\resources.xml"; the groups "Fonts" and "PreInterface"; the player's data (profiles,
// scores; the catalogue reads the profile's progress); level catalogue; achievements;
// "data/game.cfg"; cursor images; particle systems; music files; bacterium animations; the
// triangle span table; the state host; "Game inited. AppDataFolder: ". Each step is a
// virtual operation of its own so that tests can watch the order. Missing or corrupt texts,
// manifest or start groups end the start with one message naming the file and line; a
// missing optional file (game configuration, cursor image, music file) is logged and the game
// goes on.
//
// Time: every logic update is exactly kFrameTime seconds; nothing here reads the wall clock.
#include "framework/app/BlockFont.h"
#include "framework/app/QuollAppBase.h"
#include "framework/widgets/ImageFontFactory.h"
#include "framework/widgets/SysFont.h"
#include "game/level/AssetCfg.h"
#include "game/level/LevelList.h"
#include "game/level/LevelServices.h"
#include "game/level/TutorialSteps.h"
#include "game/shell/GameSettings.h"
#include "game/shell/Localisation.h"
#include "game/scene/FrameAnimationCache.h"
#include "game/scene/ParticleManager.h"
#include "game/shell/AchievementManager.h"
#include "game/shell/PlayerData.h"
#include "game/shell/PlayerFileStore.h"
#include "game/shell/ResourceBindings.h"
#include "game/shell/SaveFailureReport.h"
#include "game/shell/SceneServices.h"
#include "game/shell/SoundRepeatLimiter.h"
#include "game/app/GameMenuServices.h"
#include "game/app/GamePlayServices.h"
#include "game/app/GameShellActions.h"
#include "game/app/GameUiServices.h"
#include "game/shell/StateHost.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Quoll
{
class SoundLoader;
}

// The fonts the framework keeps by pointer: the bitmap-font factory of the manifest's "Font"
// resources and the font of the framework's own dialogs (a system font, or blocks when none can
// be read). A base of GameApp declared before the application's own base, so that they outlive
// the resource manager and the dialogs that use them.
struct GameAppFonts
{
    Quoll::ImageFontFactory mFontFactory;
    Quoll::BlockFont mFallbackDialogFont;
    std::unique_ptr<Quoll::SysFont> mDialogFont;
};

class GameStates;
class RootState;

class GameApp : private GameAppFonts, public Quoll::QuollAppBase, public LevelServices, public SceneServices
{
public:
    static constexpr float kFrameTime = 0.01f;
    static constexpr uint32_t kStepMs = 10;
    static constexpr const char* kManifestFile = "data\\resources.xml";
    static constexpr const char* kPakPassword = "Nordwick PetriGlow";
    // The profile difficulty before the player's data is loaded (the normal one).
    static constexpr int kDefaultDifficulty = 513;
    static constexpr float kParticleStepsPerSecond = 60.0f;
    // Loaded by the loading thread at start-up, in this order.
    static constexpr const char* kBackgroundGroups[] = {"Interface", "Game", "Sounds", "Particles", "Achievements"};
    static constexpr const char* kParticleTable = "data/particles.txt";

    GameApp();
    ~GameApp() override;

    // --- The framework's hooks ------------------------------------------------------------------
    void Init() override;
    void UpdateFrame() override;
    std::unique_ptr<Quoll::MusicInterface> CreateMusicInterface(Quoll::Platform::WindowId window) override;
    void LoadingThreadProc() override;
    void LoadingThreadCompleted() override;
    void GotFocus() override;
    void LostFocus() override;
    void ShutdownHook() override;
    void ReadSettings() override;
    void WriteSettings() override;

    // --- Sound and music --------------------------------------------------------------------------
    // Plays the sound of a resource id once when sounds are on and the limiter allows it; pan
    // -1..1 becomes -300..300 for the sound layer.
    void PlaySound(int soundId, float volume, float pan);
    // Only with music on. A fade speed above 0 fades everything out and the song in (from its
    // position when it is the current song); otherwise plays the song at once.
    void PlayMusic(int songId, float fadeSpeed);
    void SetMusicEnabled(bool enabled);
    void SetSoundEnabled(bool enabled);
    [[nodiscard]] int GetCurrentSong() const { return mCurrentSong; }

    // --- Resources -------------------------------------------------------------------------------
    // Loads the images, sounds and fonts of a group and binds their ids; false on failure (the
    // resource manager's error text says why, and the ERROR log has it). A failure is also told
    // to the player (NoteLoadFailure). Main thread only: the loading thread loads its own way.
    bool LoadResourceGroup(const std::string& group);
    void UnloadResourceGroup(const std::string& group);
    // Groups that LoadingThreadProc loads, in order (the loading state queues them).
    void QueueLoadingGroup(const std::string& group) { mLoadingGroups.push_back(group); }
    [[nodiscard]] ResourceBindings& GetBindings() { return mBindings; }
    // Something the player asked for could not be loaded (a screen's group, a level): the reason
    // is shown in the error box at the start of the next update, since a screen may be built
    // inside a mouse dispatch, where no box may open. Only the first reason noted before it is
    // told is kept, so one attempt gives one box.
    void NoteLoadFailure(const std::string& reason);

    // --- Texts and language ----------------------------------------------------------------------
    [[nodiscard]] Localisation& GetLocalisation() { return mLocalisation; }
    [[nodiscard]] GameSettings& GetGameSettings() { return mGameSettings; }
    // The language of language-dependent art: the second language when the flag is set.
    [[nodiscard]] int GetArtLanguage() const;
    // Switches between the two languages: texts, the framework's messages and the title.
    void SetLanguageFlag(bool secondLanguage);
    void UpdateWindowTitle();

    // --- Input -----------------------------------------------------------------------------------
    [[nodiscard]] bool IsKeyDown(int keyCode) const;
    // The widget manager's last mouse position.
    void GetMousePos(float& x, float& y) const;
    [[nodiscard]] int GetFocusLossCount() const { return mFocusLossCount; }

    // --- The player's data --------------------------------------------------------------------------
    // Profiles, saved games and scores; null before the start loaded them.
    [[nodiscard]] PlayerData* GetPlayerData() { return mPlayerData.get(); }
    [[nodiscard]] AchievementManager& GetAchievements() { return mAchievements; }
    // The current profile's name; empty before the player's data is loaded.
    [[nodiscard]] std::string GetCurrentProfileName() const;

    // --- States ---------------------------------------------------------------------------------------
    // The state machine: the root state at the bottom from the start on; its top state updates
    // with every logic update and hears the loading thread's completion.
    [[nodiscard]] StateHost& GetStateHost() { return mStateHost; }
    // The game's states from the splash to the main menu's dialogs; null before the start.
    [[nodiscard]] GameStates* GetGameStates() { return mGameStates.get(); }
    // The loading thread's work has finished and its completion was handed to the states.
    [[nodiscard]] bool IsLoadingFinished() const { return mLoadingCompletionPickedUp; }

    // --- Level ------------------------------------------------------------------------------------
    void SetCurrentLevelNumber(int level) { mCurrentLevel = level; }
    [[nodiscard]] AssetCfg& GetAssets() { return mAssets; }
    [[nodiscard]] LevelList& GetLevelList() { return mLevelList; }
    // The bacteria kind 1..8 of a player on the current level (the play services' answer: the
    // boss's kind for the boss's player); 1 for other player numbers.
    [[nodiscard]] int GetPlayerBacteria(int player) const;
    // The play screen's services; the play state sets the level's look through them.
    [[nodiscard]] GamePlayServices& GetPlayServices() { return mPlayServices; }
    [[nodiscard]] int GetUpdateCount() const { return mGameUpdateCount; }

    // --- LevelServices ---------------------------------------------------------------------------
    void PlaySound(LevelSound sound, float volume, float pan) override;
    void OnAchievementEvent(int eventId) override;
    using LevelServices::OnAchievementEvent;
    [[nodiscard]] float GetLevelRampValue(int step) const override;
    // (Also the scene's: both ask for the same step and clock.)
    [[nodiscard]] float GetFrameTime() const override { return mStepSeconds; }
    [[nodiscard]] uint32_t GetUpdateClockMs() const override;
    [[nodiscard]] int GetCurrentLevelNumber() const override { return mCurrentLevel; }
    [[nodiscard]] int GetProfileDifficulty() const override;
    [[nodiscard]] int GetLevelScore(int level) const override;
    [[nodiscard]] int GetLevelMedal(int level) const override;
    void LogError(const std::string& line) override;
    TutorialData& GetTutorial() override;
    [[nodiscard]] TutorialSteps& GetTutorialSteps() { return mTutorial; }

    // --- SceneServices ---------------------------------------------------------------------------
    uint32_t RandomWord() override;
    void LogWarning(const std::string& line) override;
    [[nodiscard]] Quoll::Image* GetImageById(int id) override;
    [[nodiscard]] int GetResourceIdByName(const std::string& name) override;
    [[nodiscard]] int GetImageResourceId(const Quoll::Image* image) override;
    [[nodiscard]] bool FileExists(const std::string& path) override;
    [[nodiscard]] FrameAnimation* GetFrameAnimation(const Quoll::Image* image) override;
    [[nodiscard]] int GetAppWidth() const override { return mWidth; }
    [[nodiscard]] int GetAppHeight() const override { return mHeight; }
    [[nodiscard]] Quoll::Rect GetScreenRect() const override { return Quoll::Rect(0, 0, mWidth, mHeight); }
    [[nodiscard]] FrameAnimationCache& GetFrameAnimationCache() { return mAnimations; }

    // The resource id of a level sound.
    [[nodiscard]] static int SoundIdOf(LevelSound sound);

    // --- Particle systems: the scene's registry, created at start-up (60 steps a second) -------
    // The ".psi" file under the id, drawn with the image of the resource id; false (logged) when
    // the file cannot be read.
    bool RegisterParticleSystem(const std::string& fileName, int id, int imageId);
    // A system of the registered id at (x, y); null (logged) when it cannot be spawned.
    ParticleSystem* SpawnParticleSystem(int id, float x, float y);
    // true while at least one system is held; false without a manager.
    bool UpdateParticles(float dt);
    void DrawParticles(Quoll::Graphics* g);
    void KillAllParticles();
    [[nodiscard]] ParticleManager* GetParticleManager() { return mParticles.get(); }

protected:
    // --- The start-up steps, in the order Init runs them ------------------------------------------
    virtual void InstallCrashCatcher();
    virtual void SetPackPassword();
    virtual void InitFramework();
    virtual void LoadTexts();
    virtual void SetWindowIconAndTitle();
    virtual void LoadResourceManifest();
    virtual void LoadStartGroups();
    virtual void LoadPlayerData();
    virtual void InitLevelCatalogue();
    virtual void InitAchievements();
    virtual void LoadGameConfig();
    virtual void LoadCursorImages();
    virtual void RegisterParticleSystems();
    virtual void LoadMusicFiles();
    virtual void LoadEmotionAnimations();
    virtual void InitSpanTable();
    virtual void StartStateHost();
    virtual void LogInited();

    // Ends the start with one message (the ERROR log, then the fatal message box) and exit
    // code 1.
    [[noreturn]] void FailStartup(const std::string& message);

private:
    void ApplyLanguage();
    // Loads the group and binds its ids; false with the reason in error.
    bool LoadAndBindGroup(const std::string& group, std::string& error);
    void TellLoadFailure();

    // Saving (GameAppSaving.cpp): failed writes are logged once per file and told to the
    // player once per session.
    void InstallSaveReporting();
    void RemoveSaveReporting();
    void TellSaveFailure();
    static void LogSaveFailure(const std::string& line);
    // The player's folder and the settings file: the files a failed write is told of.
    void SetSaveReportCoverage(const std::string& playerFolder);

public:
    // A write of a file failed: reported (true) when it is one of the player's files or the
    // settings; other files' failures are their owners' to report.
    bool ReportSaveFailure(const std::string& path, const std::string& reason);

private:

    SaveFailureReport mSaveFailures{&GameApp::LogSaveFailure};
    Localisation mLocalisation;
    GameSettings mGameSettings;
    ResourceBindings mBindings;
    SoundRepeatLimiter mSoundLimiter;
    AssetCfg mAssets;
    LevelList mLevelList{*this, &mAssets};
    TutorialSteps mTutorial{[this](const std::string& line) { LogError(line); }};
    FrameAnimationCache mAnimations{*this};
    std::unique_ptr<ParticleManager> mParticles;
    AchievementManager mAchievements{&mTutorial};
    std::unique_ptr<AppFileStore> mPlayerFiles;
    std::unique_ptr<PlayerData> mPlayerData;
    std::unique_ptr<Quoll::SoundLoader> mSoundLoaderInner;
    std::unique_ptr<Quoll::SoundLoader> mLockedSoundLoader;
    std::vector<std::string> mLoadingGroups;
    bool mLoadingFailed = false;
    std::optional<std::string> mUntoldLoadFailure;
    // The state machine; its states are declared after it and go before it.
    StateHost mStateHost;
    GameUiServices mUiServices{*this};
    GameShellActions mShellActions{*this};
    GameMenuServices mMenuServices{*this};
    GamePlayServices mPlayServices{*this};
    std::unique_ptr<GameStates> mGameStates;
    std::unique_ptr<RootState> mRootState;

    float mStepSeconds = kFrameTime;
    int mGameUpdateCount = 0;
    int mCurrentLevel = 1;
    int mCurrentSong = -1;
    int mFocusLossCount = 0;
};

// The application object; set by GameApp's constructor, cleared by its destructor.
extern GameApp* gGameApp;

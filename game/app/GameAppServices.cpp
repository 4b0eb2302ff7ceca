// GameApp's services to game code: updates, sound and music, resource groups, texts and
// language, input, settings, focus, shutdown and the level's services.
#include "game/app/GameApp.h"

#include "framework/core/MersenneTwister.h"
#include "framework/resources/ResourceManager.h"
#include "framework/sound/CreateMusicInterface.h"
#include "framework/sound/SoundInstance.h"
#include "framework/sound/SoundManager.h"
#include "game/shell/GameLog.h"
#include "game/shell/SharedFonts.h"

#include <mutex>
#include <utility>

namespace
{
// GameSettings' view of the application's typed settings.
class AppSettingsAccess final : public SettingsAccess
{
public:
    explicit AppSettingsAccess(Quoll::QuollAppBase& app) : mApp(app) {}
    bool ReadInt(const std::string& name, int& value) override { return mApp.ReadRegInt(name, value); }
    bool ReadBool(const std::string& name, bool& value) override { return mApp.ReadRegBool(name, value); }
    bool ReadString(const std::string& name, std::string& value) override { return mApp.ReadRegString(name, value); }
    void WriteInt(const std::string& name, int value) override { mApp.WriteRegInt(name, value); }
    void WriteBool(const std::string& name, bool value) override { mApp.WriteRegBool(name, value); }
    void WriteString(const std::string& name, const std::string& value) override { mApp.WriteRegString(name, value); }

private:
    Quoll::QuollAppBase& mApp;
};
} // namespace

// --- Updates -------------------------------------------------------------------------------------

void GameApp::UpdateFrame()
{
    mStepSeconds = kFrameTime;
    TellSaveFailure();
    TellLoadFailure();
    ++mGameUpdateCount;
    // The states act within this update: a demo record they make (a file written, a setting
    // read) carries this update's number, as the widgets' records do once the framework's update
    // has counted it; stamped with the previous number, a played demo meets it too early.
    ++mUpdateCount;
    mStateHost.Update();
    --mUpdateCount;
    QuollAppBase::UpdateFrame();
}

uint32_t GameApp::GetUpdateClockMs() const
{
    return static_cast<uint32_t>(mGameUpdateCount) * kStepMs;
}

// --- Sound and music -------------------------------------------------------------------------------

std::unique_ptr<Quoll::MusicInterface> GameApp::CreateMusicInterface(Quoll::Platform::WindowId window)
{
    return Quoll::CreateMusicInterface(Quoll::GameMusicPlayer(mNoSoundNeeded), Quoll::WindowHandle(window));
}

void GameApp::PlaySound(int soundId, float volume, float pan)
{
    if (!mGameSettings.soundEnabled || !mSoundManager)
        return;
    std::lock_guard lock(mCritSect);
    if (!mSoundLimiter.TryStart(soundId, mGameUpdateCount))
        return;
    const int sound = mBindings.GetSound(soundId);
    if (sound < 0)
        return;
    Quoll::SoundInstance* instance = mSoundManager->GetSoundInstance(static_cast<unsigned>(sound));
    if (instance == nullptr)
        return;
    instance->SetPan(static_cast<int>(pan * 300.0f));
    instance->SetVolume(volume);
    instance->Play(false, true);
}

void GameApp::PlayMusic(int songId, float fadeSpeed)
{
    if (!mGameSettings.musicEnabled || !mMusicInterface)
        return;
    if (fadeSpeed > 0.0f)
    {
        mMusicInterface->FadeOutAll(true, fadeSpeed);
        mMusicInterface->FadeIn(songId, songId == mCurrentSong ? 1 : 0, fadeSpeed, false);
    }
    else
    {
        mMusicInterface->StopAllMusic();
        mMusicInterface->PlayMusic(songId, 0, false);
    }
    mCurrentSong = songId;
}

void GameApp::SetMusicEnabled(bool enabled)
{
    if (!enabled && mMusicInterface)
        mMusicInterface->StopAllMusic();
    mGameSettings.musicEnabled = enabled;
}

void GameApp::SetSoundEnabled(bool enabled)
{
    mGameSettings.soundEnabled = enabled;
}

// --- Resources ---------------------------------------------------------------------------------------

bool GameApp::LoadResourceGroup(const std::string& group)
{
    std::string error;
    if (LoadAndBindGroup(group, error))
        return true;
    LogRecord(GetErrorLog()) << error;
    const std::string reason = mResourceManager->GetErrorText();
    NoteLoadFailure(reason.empty() ? error : reason);
    return false;
}

void GameApp::NoteLoadFailure(const std::string& reason)
{
    if (!mUntoldLoadFailure)
        mUntoldLoadFailure = reason;
}

void GameApp::TellLoadFailure()
{
    if (const std::optional<std::string> reason = std::exchange(mUntoldLoadFailure, std::nullopt))
        PopupA(*reason);
}

bool GameApp::LoadAndBindGroup(const std::string& group, std::string& error)
{
    if (!mResourceManager->LoadResources(group))
    {
        error = "Cannot load resource group " + group + ": " + mResourceManager->GetErrorText();
        return false;
    }
    const int missing = mBindings.Bind(group, *mResourceManager);
    if (missing > 0)
        LogRecord(GetWarningLog()) << "Resource group " << group << ": " << missing
                                   << " ids of the id table are not in the manifest";
    return true;
}

void GameApp::UnloadResourceGroup(const std::string& group)
{
    if (group == "Fonts")
        SetSharedFonts(nullptr);
    mBindings.Unbind(group);
    mResourceManager->DeleteResources(group);
}

void GameApp::LoadingThreadProc()
{
    mNumLoadingThreadTasks = static_cast<int>(mLoadingGroups.size());
    for (const std::string& group : mLoadingGroups)
    {
        if (mShutdown)
            break;
        // A failure here ends the game with the fatal box once the completion is picked up.
        std::string error;
        if (!LoadAndBindGroup(group, error))
        {
            LogRecord(GetErrorLog()) << error;
            mLoadingFailed = true;
            break;
        }
        ++mCompletedLoadingThreadTasks;
    }
    mLoadingGroups.clear();
}

void GameApp::LoadingThreadCompleted()
{
    if (mLoadingFailed)
        ShowResourceError(true);
    mStateHost.LoadingCompleted();
}

// --- Texts and language --------------------------------------------------------------------------------

int GameApp::GetArtLanguage() const
{
    return mGameSettings.languageFlag ? mGameSettings.secondLanguage : mGameSettings.firstLanguage;
}

void GameApp::SetLanguageFlag(bool secondLanguage)
{
    mGameSettings.languageFlag = secondLanguage;
    ApplyLanguage();
    UpdateWindowTitle();
}

void GameApp::UpdateWindowTitle()
{
    mTitle = mLocalisation.GetText("UI_WINDOWTITLE");
    if (GetWindowSystem() != nullptr && mMainWindow != Quoll::Platform::WindowId::None)
        GetWindowSystem()->SetWindowText(mMainWindow, mTitle);
}

// --- Input -----------------------------------------------------------------------------------------------

bool GameApp::IsKeyDown(int keyCode) const
{
    return mWidgetManager && mWidgetManager->IsKeyDown(keyCode);
}

void GameApp::GetMousePos(float& x, float& y) const
{
    x = mWidgetManager ? static_cast<float>(mWidgetManager->GetLastMouseX()) : 0.0f;
    y = mWidgetManager ? static_cast<float>(mWidgetManager->GetLastMouseY()) : 0.0f;
}

// --- Settings, focus, shutdown ------------------------------------------------------------------------------

void GameApp::ReadSettings()
{
    QuollAppBase::ReadSettings();
    AppSettingsAccess access(*this);
    mGameSettings.Read(access);
}

void GameApp::WriteSettings()
{
    QuollAppBase::WriteSettings();
    AppSettingsAccess access(*this);
    mGameSettings.Write(access);
}

void GameApp::GotFocus()
{
    if (mFocusLossCount > 0)
        --mFocusLossCount;
}

void GameApp::LostFocus()
{
    ++mFocusLossCount;
}

void GameApp::ShutdownHook()
{
    // The profile list, the current profile and the scores; the settings (with the current
    // profile's name) are written by the framework right after this hook.
    if (mPlayerData)
    {
        mGameSettings.currentProfile = mPlayerData->GetCurrentName();
        if (!mPlayerData->SaveAll())
            LogRecord(GetErrorLog()) << "The player's data could not be saved in full";
    }
    TellSaveFailure();
    LogRecord(GetAppLog()) << "Shutdown";
}

std::string GameApp::GetCurrentProfileName() const
{
    return mPlayerData ? mPlayerData->GetCurrentName() : std::string();
}

// --- The level's services ----------------------------------------------------------------------------------

int GameApp::SoundIdOf(LevelSound sound)
{
    switch (sound)
    {
    case LevelSound::BacSelect: return SOUND_BAC_SELECT;
    case LevelSound::BacJump: return SOUND_BAC_JUMP;
    case LevelSound::BacClone: return SOUND_BAC_CLONE;
    case LevelSound::BacSelectWrong: return SOUND_BAC_SELECTWRONG;
    case LevelSound::MoveHint: return SOUND_MOVE_HINT;
    case LevelSound::BackstepActivate: return SOUND_BACKSTEP_ACTIVATE;
    case LevelSound::BonusTeleport: return SOUND_BONUS_TELEPORT;
    case LevelSound::BonusMineSet: return SOUND_BONUSMINE_SET;
    case LevelSound::BonusMineHit: return SOUND_BONUSMINE_HIT;
    }
    return RESOURCE_NONE;
}

void GameApp::PlaySound(LevelSound sound, float volume, float pan)
{
    PlaySound(SoundIdOf(sound), volume, pan);
}

void GameApp::OnAchievementEvent(int eventId)
{
    mAchievements.OnEvent(eventId);
}

float GameApp::GetLevelRampValue(int step) const
{
    return ComputeLevelRampValue(GetProfileDifficulty(), mCurrentLevel, step, LevelList::kLevelCount);
}

// The current profile's values; defaults before the player's data is loaded.
int GameApp::GetProfileDifficulty() const
{
    return mPlayerData ? mPlayerData->GetCurrentProfile().GetDifficulty() : kDefaultDifficulty;
}

int GameApp::GetLevelScore(int level) const
{
    return mPlayerData ? mPlayerData->GetCurrentProfile().GetLevelScore(level) : 0;
}

int GameApp::GetLevelMedal(int level) const
{
    return mPlayerData ? mPlayerData->GetCurrentProfile().GetLevelMedal(level) : 0;
}

void GameApp::LogError(const std::string& line)
{
    LogRecord(GetErrorLog()) << line;
}

TutorialData& GameApp::GetTutorial()
{
    return mTutorial;
}

int GameApp::GetPlayerBacteria(int player) const
{
    return mPlayServices.GetPlayerBacteria(player);
}

// --- The scene's services ------------------------------------------------------------------------------------

uint32_t GameApp::RandomWord()
{
    return Quoll::RandomWord();
}

void GameApp::LogWarning(const std::string& line)
{
    LogRecord(GetWarningLog()) << line;
}

Quoll::Image* GameApp::GetImageById(int id)
{
    return mBindings.GetImage(id);
}

int GameApp::GetResourceIdByName(const std::string& name)
{
    return ResourceBindings::GetIdByName(name);
}

int GameApp::GetImageResourceId(const Quoll::Image* image)
{
    const int id = mBindings.FindImageId(image);
    return id == RESOURCE_NONE ? kNoImageId : id;
}

bool GameApp::FileExists(const std::string& path)
{
    return QuollAppBase::FileExists(path);
}

FrameAnimation* GameApp::GetFrameAnimation(const Quoll::Image* image)
{
    return mAnimations.GetFrameAnimation(image);
}

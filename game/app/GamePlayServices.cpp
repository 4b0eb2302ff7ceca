#include "game/app/GamePlayServices.h"

#include "game/app/GameApp.h"

// --- The level being played -----------------------------------------------------------------------

void GamePlayServices::SetCurrentLevel(int level)
{
    mApp.SetCurrentLevelNumber(level);
    mOwnAssets.reset();
    mAiLevels = {};
}

void GamePlayServices::SetCurrentLevel(int level, const AssetCfg::Row& assets)
{
    SetCurrentLevel(level);
    mOwnAssets = OwnAssets{level, assets};
}

void GamePlayServices::SetPlayerAiLevel(int player, int aiLevel)
{
    if (player >= 1 && player <= kPlayerCount)
        mAiLevels[static_cast<size_t>(player - 1)] = aiLevel;
}

const AssetCfg::Row& GamePlayServices::GetLevelAssets() const
{
    const int level = mApp.GetCurrentLevelNumber();
    return mOwnAssets && mOwnAssets->level == level ? mOwnAssets->row : mApp.GetAssets().GetRow(level);
}

int GamePlayServices::GetCurrentLevel() const
{
    return mApp.GetCurrentLevelNumber();
}

int GamePlayServices::GetPlayerBacteria(int player) const
{
    const AssetCfg::Row& row = GetLevelAssets();
    const int aiLevel = player >= 1 && player <= kPlayerCount ? mAiLevels[static_cast<size_t>(player - 1)] : 0;
    return ChoosePlayerBacteria(player, aiLevel, row[AssetCfg::HeroBacteria], row[AssetCfg::EnemyBacteria],
                                row[AssetCfg::ThirdBacteria]);
}

int GamePlayServices::GetCellSkin() const
{
    return GetLevelAssets()[AssetCfg::CellSkin];
}

int GamePlayServices::GetLevelBackground() const
{
    return GetLevelAssets()[AssetCfg::FoneIndex];
}

// --- Scene services ---------------------------------------------------------------------------------

uint32_t GamePlayServices::RandomWord()
{
    return mApp.RandomWord();
}

void GamePlayServices::LogError(const std::string& line)
{
    mApp.LogError(line);
}

void GamePlayServices::LogWarning(const std::string& line)
{
    mApp.LogWarning(line);
}

Quoll::Image* GamePlayServices::GetImageById(int id)
{
    return mApp.GetImageById(id);
}

int GamePlayServices::GetResourceIdByName(const std::string& name)
{
    return mApp.GetResourceIdByName(name);
}

int GamePlayServices::GetImageResourceId(const Quoll::Image* image)
{
    return mApp.GetImageResourceId(image);
}

bool GamePlayServices::FileExists(const std::string& path)
{
    return mApp.FileExists(path);
}

FrameAnimation* GamePlayServices::GetFrameAnimation(const Quoll::Image* image)
{
    return mApp.GetFrameAnimation(image);
}

std::unique_ptr<Quoll::Image> GamePlayServices::LoadImageFile(const std::string& path)
{
    return mApp.LoadImageFile(path);
}

bool GamePlayServices::ReadFileToBuffer(const std::string& path, Quoll::Buffer& buffer)
{
    return mApp.ReadFileToBuffer(path, buffer);
}

int GamePlayServices::GetAppWidth() const
{
    return mApp.GetAppWidth();
}

int GamePlayServices::GetAppHeight() const
{
    return mApp.GetAppHeight();
}

Quoll::Rect GamePlayServices::GetScreenRect() const
{
    return mApp.GetScreenRect();
}

bool GamePlayServices::IsDisplay3D() const
{
    return mApp.IsDisplay3D();
}

float GamePlayServices::GetFrameTime() const
{
    return mApp.GetFrameTime();
}

uint32_t GamePlayServices::GetUpdateClockMs() const
{
    return mApp.GetUpdateClockMs();
}

// --- Sound --------------------------------------------------------------------------------------------

void GamePlayServices::PlaySound(int soundId, float volume, float pan)
{
    // The application plays only with sounds enabled and within the repeat limit.
    mApp.PlaySound(soundId, volume, pan);
}

// --- Particle systems ----------------------------------------------------------------------------------

ParticleRef GamePlayServices::SpawnParticleSystem(int id, float x, float y)
{
    ParticleSystem* system = mApp.SpawnParticleSystem(id, x, y);
    if (system == nullptr)
        return {};
    return {system, system->GetSerial()};
}

ParticleSystem* GamePlayServices::LiveSystem(const ParticleRef& system) const
{
    const ParticleManager* manager = mApp.GetParticleManager();
    if (system.IsEmpty() || manager == nullptr || !manager->IsAlive(system.system, system.serial))
        return nullptr;
    return system.system;
}

bool GamePlayServices::IsParticleAlive(const ParticleRef& system) const
{
    return LiveSystem(system) != nullptr;
}

void GamePlayServices::MoveParticleSystem(const ParticleRef& system, float x, float y)
{
    if (ParticleSystem* live = LiveSystem(system))
        live->MoveTo(x, y);
}

void GamePlayServices::StopParticleSystem(const ParticleRef& system)
{
    if (ParticleSystem* live = LiveSystem(system))
        live->Stop();
}

void GamePlayServices::KillParticleSystem(const ParticleRef& system)
{
    if (ParticleSystem* live = LiveSystem(system))
        mApp.GetParticleManager()->Kill(live);
}

void GamePlayServices::KillAllParticles()
{
    mApp.KillAllParticles();
}

bool GamePlayServices::UpdateParticles(float dt)
{
    return mApp.UpdateParticles(dt);
}

void GamePlayServices::DrawParticles(Quoll::Graphics* g)
{
    mApp.DrawParticles(g);
}

// --- Animations and resources ----------------------------------------------------------------------------

FrameAnimation* GamePlayServices::GetEmotionAnimation(int code)
{
    if (code < kFirstEmotionCode || code > kLastEmotionCode)
        return nullptr;
    return mApp.GetFrameAnimationCache().Find(code);
}

bool GamePlayServices::LoadResourceGroup(const std::string& group)
{
    return mApp.LoadResourceGroup(group);
}

void GamePlayServices::UnloadResourceGroup(const std::string& group)
{
    mApp.UnloadResourceGroup(group);
}

// --- Input and application flags -------------------------------------------------------------------------

PointerPosition GamePlayServices::GetMousePos() const
{
    PointerPosition position;
    mApp.GetMousePos(position.x, position.y);
    return position;
}

bool GamePlayServices::IsKeyDown(int keyCode) const
{
    return mApp.IsKeyDown(keyCode);
}

bool GamePlayServices::IsMuted() const
{
    return mApp.IsMuted();
}

void GamePlayServices::SetMuted(bool muted)
{
    if (muted && !mApp.IsMuted())
        mApp.Mute();
    else if (!muted && mApp.IsMuted())
        mApp.Unmute();
}

bool GamePlayServices::HasFocus() const
{
    return mApp.GetFocusLossCount() == 0;
}

bool GamePlayServices::IsActive() const
{
    return mApp.mActive;
}

// --- Texts ---------------------------------------------------------------------------------------------------

std::wstring GamePlayServices::GetText(const std::string& key)
{
    return mApp.GetLocalisation().GetText(key);
}

std::string GamePlayServices::GetLocaleName() const
{
    return mApp.GetLocalisation().GetLocaleName();
}

Quoll::Font* GamePlayServices::GetFont(const std::string& name)
{
    return mApp.GetBindings().GetFont(mApp.GetResourceIdByName(name));
}

// --- Achievements and widgets ---------------------------------------------------------------------------------

void GamePlayServices::OnAchievementEvent(int event)
{
    mApp.OnAchievementEvent(event);
}

void GamePlayServices::UpdateAchievementPopup(float dt)
{
    mApp.GetAchievements().UpdatePopup(dt);
}

void GamePlayServices::DrawAchievementPopup(Quoll::Graphics* g)
{
    mApp.GetAchievements().DrawPopup(g);
}

bool GamePlayServices::IsAchievementPopupPending() const
{
    return mApp.GetAchievements().IsPopupPending();
}

bool GamePlayServices::IsAchievementPopupTextShown() const
{
    return mApp.GetAchievements().IsPopupTextShown();
}

bool GamePlayServices::IsAchieved(int achievement, bool* isNew) const
{
    return mApp.GetAchievements().IsAchieved(achievement, isNew);
}

void GamePlayServices::DeleteWidgetLater(Quoll::Widget* widget)
{
    mApp.SafeDeleteWidget(widget);
}

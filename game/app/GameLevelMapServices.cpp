#include "game/app/GameLevelMapServices.h"

#include "framework/sound/SoundManager.h"
#include "game/app/GameApp.h"
#include "game/scene/ParticleSystem.h"

LevelList& GameLevelMapServices::GetLevelList()
{
    return mApp.GetLevelList();
}

const AssetCfg& GameLevelMapServices::GetAssets()
{
    return mApp.GetAssets();
}

std::string GameLevelMapServices::GetProfileName()
{
    return mApp.GetCurrentProfileName();
}

int GameLevelMapServices::GetTotalScore()
{
    PlayerData* data = mApp.GetPlayerData();
    return data != nullptr ? data->GetCurrentProfile().GetTotalScore() : 0;
}

int GameLevelMapServices::GetLevelMedal(int level)
{
    return mApp.GetLevelMedal(level);
}

const Profile* GameLevelMapServices::GetProfile()
{
    PlayerData* data = mApp.GetPlayerData();
    return data != nullptr ? &data->GetCurrentProfile() : nullptr;
}

void GameLevelMapServices::LoadTutorialSteps()
{
    mApp.GetTutorial().LoadSteps();
}

PlayServices& GameLevelMapServices::GetPlayServices()
{
    return mApp.GetPlayServices();
}

float GameLevelMapServices::GetFrameTime()
{
    return mApp.GetFrameTime();
}

int GameLevelMapServices::GetCurrentSong()
{
    return mApp.GetCurrentSong();
}

void GameLevelMapServices::PlayMusic(int song, float fadeSpeed)
{
    mApp.PlayMusic(song, fadeSpeed);
}

void GameLevelMapServices::StopAllSounds()
{
    if (mApp.mSoundManager)
        mApp.mSoundManager->StopAllSounds();
}

bool GameLevelMapServices::IsKeyDown(int keyCode)
{
    return mApp.IsKeyDown(keyCode);
}

PointerPosition GameLevelMapServices::GetMousePos()
{
    PointerPosition at;
    mApp.GetMousePos(at.x, at.y);
    return at;
}

ParticleRef GameLevelMapServices::SpawnParticleSystem(int id, float x, float y)
{
    ParticleSystem* system = mApp.SpawnParticleSystem(id, x, y);
    return system != nullptr ? ParticleRef{system, system->GetSerial()} : ParticleRef{};
}

ParticleSystem* GameLevelMapServices::Live(const ParticleRef& system)
{
    ParticleManager* manager = mApp.GetParticleManager();
    if (system.IsEmpty() || manager == nullptr || !manager->IsAlive(system.system, system.serial))
        return nullptr;
    return system.system;
}

bool GameLevelMapServices::IsParticleAlive(const ParticleRef& system)
{
    return Live(system) != nullptr;
}

void GameLevelMapServices::StartParticlePath(const ParticleRef& system)
{
    if (ParticleSystem* live = Live(system))
        live->StartPath();
}

bool GameLevelMapServices::IsParticlePathRunning(const ParticleRef& system)
{
    ParticleSystem* live = Live(system);
    return live != nullptr && live->IsPathRunning();
}

void GameLevelMapServices::StopParticleSystem(const ParticleRef& system)
{
    if (ParticleSystem* live = Live(system))
        live->Stop();
}

FloatPoint GameLevelMapServices::GetParticlePosition(const ParticleRef& system)
{
    ParticleSystem* live = Live(system);
    return live != nullptr ? FloatPoint{live->GetX(), live->GetY()} : FloatPoint{};
}

bool GameLevelMapServices::IsInsideParticleMask(const ParticleRef& system, int x, int y)
{
    ParticleSystem* live = Live(system);
    return live != nullptr && live->IsInsideMask(x, y);
}

void GameLevelMapServices::KillAllParticles()
{
    mApp.KillAllParticles();
}

void GameLevelMapServices::UpdateParticles(float dt)
{
    mApp.UpdateParticles(dt);
}

void GameLevelMapServices::DrawParticles(Quoll::Graphics* g)
{
    mApp.DrawParticles(g);
}

void GameLevelMapServices::OnAchievementEvent(int eventId)
{
    mApp.OnAchievementEvent(eventId);
}

bool GameLevelMapServices::HasNewAchievements()
{
    return !mApp.GetAchievements().GetNewAchievements().empty();
}

bool GameLevelMapServices::IsAchievementPopupPending()
{
    return mApp.GetAchievements().IsPopupPending();
}

bool GameLevelMapServices::IsAchievementPopupTextShown()
{
    return mApp.GetAchievements().IsPopupTextShown();
}

void GameLevelMapServices::UpdateAchievementPopup(float dt)
{
    mApp.GetAchievements().UpdatePopup(dt);
}

void GameLevelMapServices::DrawAchievementPopup(Quoll::Graphics* g)
{
    mApp.GetAchievements().DrawPopup(g);
}

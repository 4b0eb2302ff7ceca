#include "game/app/GameEndLevelServices.h"

#include "framework/core/Common.h"
#include "game/app/GameApp.h"

std::wstring GameEndLevelServices::GetProfileName()
{
    return Quoll::ToWideString(mApp.GetCurrentProfileName());
}

int GameEndLevelServices::GetCurrentLevel()
{
    return mApp.GetCurrentLevelNumber();
}

int GameEndLevelServices::GetPlayerBacteria(int player)
{
    return mApp.GetPlayerBacteria(player);
}

float GameEndLevelServices::GetFrameTime()
{
    return mApp.GetFrameTime();
}

void GameEndLevelServices::OnAchievementEvent(int event)
{
    mApp.OnAchievementEvent(event);
}

void GameEndLevelServices::SpawnParticleSystem(int id, float x, float y)
{
    mApp.SpawnParticleSystem(id, x, y);
}

void GameEndLevelServices::KillAllParticles()
{
    mApp.KillAllParticles();
}

void GameEndLevelServices::DrawParticles(Quoll::Graphics* g)
{
    mApp.DrawParticles(g);
}

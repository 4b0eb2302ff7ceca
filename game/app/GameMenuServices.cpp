#include "game/app/GameMenuServices.h"

#include "game/app/GameApp.h"
#include "game/scene/MeshDescription.h"
#include "game/scene/MeshGrid.h"
#include "game/scene/MeshNode.h"

std::string GameMenuServices::GetProfileName()
{
    return mApp.GetCurrentProfileName();
}

int GameMenuServices::GetArtLanguage()
{
    return mApp.GetArtLanguage();
}

int GameMenuServices::GetCurrentSong()
{
    return mApp.GetCurrentSong();
}

bool GameMenuServices::GetCustomCursors()
{
    return mApp.mCustomCursorsEnabled;
}

void GameMenuServices::SetCustomCursors(bool enabled)
{
    mApp.EnableCustomCursors(enabled);
}

void GameMenuServices::OnAchievementEvent(int eventId)
{
    mApp.OnAchievementEvent(eventId);
}

void GameMenuServices::UpdateAchievementPopup(float dt)
{
    mApp.GetAchievements().UpdatePopup(dt);
}

void GameMenuServices::DrawAchievementPopup(Quoll::Graphics* g)
{
    mApp.GetAchievements().DrawPopup(g);
}

void GameMenuServices::SpawnParticleSystem(int systemId, float x, float y)
{
    mApp.SpawnParticleSystem(systemId, x, y);
}

void GameMenuServices::UpdateParticles(float dt)
{
    mApp.UpdateParticles(dt);
}

void GameMenuServices::DrawParticles(Quoll::Graphics* g)
{
    mApp.DrawParticles(g);
}

void GameMenuServices::KillAllParticles()
{
    mApp.KillAllParticles();
}

std::unique_ptr<VisualNode> GameMenuServices::LoadMeshNode(const std::string& path, float gridScale)
{
    std::unique_ptr<MeshNode> node = ::LoadMeshNode(path, mApp);
    if (node && node->GetGrid() != nullptr)
    {
        node->GetGrid()->mScaleX = gridScale;
        node->GetGrid()->mScaleY = gridScale;
    }
    return node;
}

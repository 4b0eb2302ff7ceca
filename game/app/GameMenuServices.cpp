#include "game/app/GameMenuServices.h"

#include "game/app/GameApp.h"
#include "game/scene/VisualNode.h"

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

std::unique_ptr<VisualNode> GameMenuServices::LoadMeshNode(const std::string&, float)
{
    return nullptr;
}

#include "game/app/AchievesState.h"

#include "game/app/GameApp.h"

bool GameAchievesViewerServices::IsAchieved(int number, bool& isNew)
{
    return mApp.GetAchievements().IsAchieved(number, &isNew);
}

float GameAchievesViewerServices::GetFrameTime()
{
    return mApp.GetFrameTime();
}

FloatPoint GameAchievesViewerServices::GetPointer()
{
    float x = 0;
    float y = 0;
    mApp.GetMousePos(x, y);
    return {x, y};
}

void AchievesState::OnCommand(int /*command*/, int /*argument*/)
{
    // The viewer repeats its command on every update until it is gone.
    if (mClosing) return;
    mClosing = true;
    Close();
}

void AchievesState::OnExit()
{
    mClosing = false;
    DialogState::OnExit();
    if (mLeaving) mLeaving();
}

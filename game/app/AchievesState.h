#pragma once
// AchievesState: shows the achievements viewer over the level map and pops back at its first
// command; on the way out the newly earned list is cleared and the profile saved (the map is
// reactivated by its own resume).
#include "game/app/DialogState.h"
#include "game/screens/AchievesViewer.h"

#include <functional>

class GameApp;

// The viewer's services served by GameApp.
class GameAchievesViewerServices final : public AchievesViewerServices
{
public:
    explicit GameAchievesViewerServices(GameApp& app) : mApp(app) {}

    bool IsAchieved(int number, bool& isNew) override;
    float GetFrameTime() override;
    FloatPoint GetPointer() override;

private:
    GameApp& mApp;
};

class AchievesState final : public DialogState
{
public:
    // Run on leaving: clears the new list and saves the profile.
    using Leaving = std::function<void()>;

    AchievesState(StateHost& host, AchievesViewerServices& services, Leaving leaving)
        : DialogState(host, "AchievesState"), mServices(services), mLeaving(std::move(leaving))
    {
    }

    void OnExit() override;

protected:
    BaseWidget* CreateWidget() override { return new Quoll::AchievesViewer(mServices); }
    void OnCommand(int command, int argument) override;

private:
    AchievesViewerServices& mServices;
    Leaving mLeaving;
    bool mClosing = false;
};

#pragma once
// GameEndLevelServices: the end-of-level dialog's services served by GameApp: the current
// profile's name, the level and its players, the frame time, achievements and particles.
#include "game/screens/EndLevelDlg.h"

class GameApp;

class GameEndLevelServices final : public EndLevelServices
{
public:
    explicit GameEndLevelServices(GameApp& app) : mApp(app) {}

    std::wstring GetProfileName() override;
    int GetCurrentLevel() override;
    int GetPlayerBacteria(int player) override;
    float GetFrameTime() override;
    void OnAchievementEvent(int event) override;
    void SpawnParticleSystem(int id, float x, float y) override;
    void KillAllParticles() override;
    void DrawParticles(Quoll::Graphics* g) override;

private:
    GameApp& mApp;
};

#pragma once
// GameMenuServices: the main menu's application services served by GameApp. The particle
// systems and the logo's mesh node come with the scene graph's particles and meshes; until then
// the menu runs without fireworks and without its logo.
#include "game/screens/MainMenuServices.h"

class GameApp;

class GameMenuServices final : public MainMenuServices
{
public:
    explicit GameMenuServices(GameApp& app) : mApp(app) {}

    std::string GetProfileName() override;
    int GetArtLanguage() override;
    int GetCurrentSong() override;
    bool GetCustomCursors() override;
    void SetCustomCursors(bool enabled) override;
    void OnAchievementEvent(int eventId) override;
    void SpawnParticleSystem(int, float, float) override {}
    void UpdateParticles(float) override {}
    void DrawParticles(Quoll::Graphics*) override {}
    void KillAllParticles() override {}
    void UpdateAchievementPopup(float dt) override;
    void DrawAchievementPopup(Quoll::Graphics* g) override;
    std::unique_ptr<VisualNode> LoadMeshNode(const std::string& path, float gridScale) override;

private:
    GameApp& mApp;
};

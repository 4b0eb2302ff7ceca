#pragma once
// GameMenuServices: the main menu's application services served by GameApp: the profile, the
// languages, cursors and music, achievements and their popup, the scene's particle systems and
// the logo's mesh node.
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
    void SpawnParticleSystem(int systemId, float x, float y) override;
    void UpdateParticles(float dt) override;
    void DrawParticles(Quoll::Graphics* g) override;
    void KillAllParticles() override;
    void UpdateAchievementPopup(float dt) override;
    void DrawAchievementPopup(Quoll::Graphics* g) override;
    std::unique_ptr<VisualNode> LoadMeshNode(const std::string& path, float gridScale) override;

private:
    GameApp& mApp;
};

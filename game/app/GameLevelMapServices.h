#pragma once
// GameLevelMapServices: the level map's application services served by GameApp: the catalogue
// and asset table, the current profile, music, input, the particle systems by handle and the
// achievements with their popup.
#include "game/screens/LevelMapServices.h"

class GameApp;
class ParticleSystem;

class GameLevelMapServices final : public LevelMapServices
{
public:
    explicit GameLevelMapServices(GameApp& app) : mApp(app) {}

    LevelList& GetLevelList() override;
    const AssetCfg& GetAssets() override;
    std::string GetProfileName() override;
    int GetTotalScore() override;
    int GetLevelMedal(int level) override;
    const Profile* GetProfile() override;
    void LoadTutorialSteps() override;
    PlayServices& GetPlayServices() override;
    float GetFrameTime() override;
    int GetCurrentSong() override;
    void PlayMusic(int song, float fadeSpeed) override;
    void StopAllSounds() override;
    bool IsKeyDown(int keyCode) override;
    PointerPosition GetMousePos() override;
    ParticleRef SpawnParticleSystem(int id, float x, float y) override;
    bool IsParticleAlive(const ParticleRef& system) override;
    void StartParticlePath(const ParticleRef& system) override;
    bool IsParticlePathRunning(const ParticleRef& system) override;
    void StopParticleSystem(const ParticleRef& system) override;
    FloatPoint GetParticlePosition(const ParticleRef& system) override;
    bool IsInsideParticleMask(const ParticleRef& system, int x, int y) override;
    void KillAllParticles() override;
    void UpdateParticles(float dt) override;
    void DrawParticles(Quoll::Graphics* g) override;
    void OnAchievementEvent(int eventId) override;
    bool HasNewAchievements() override;
    bool IsAchievementPopupPending() override;
    bool IsAchievementPopupTextShown() override;
    void UpdateAchievementPopup(float dt) override;
    void DrawAchievementPopup(Quoll::Graphics* g) override;

private:
    // The system while it lives; null otherwise.
    [[nodiscard]] ParticleSystem* Live(const ParticleRef& system);

    GameApp& mApp;
};

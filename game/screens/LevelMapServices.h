#pragma once
// LevelMapServices: what the level map, its nodes and its selectors ask of the application
// beyond the widgets' services: the campaign catalogue and asset table, the tutorial's script,
// the current profile's name, score and medals, music, the keyboard and pointer, the particle
// systems (by handle, with their paths and masks) and the achievements with their popup. GameApp
// serves them; tests use a scripted fake.
#include "game/scene/FloatPoint.h"
#include "game/shell/PlayServices.h"

#include <string>

namespace Quoll
{
class Graphics;
}
class AssetCfg;
class LevelList;
class Profile;

class LevelMapServices
{
public:
    virtual ~LevelMapServices() = default;

    // --- The campaign and the current profile ----------------------------------------------------
    [[nodiscard]] virtual LevelList& GetLevelList() = 0;
    [[nodiscard]] virtual const AssetCfg& GetAssets() = 0;
    // UTF-8; empty without a profile.
    [[nodiscard]] virtual std::string GetProfileName() = 0;
    [[nodiscard]] virtual int GetTotalScore() = 0;
    // The best medal grade 0..2 won on a level.
    [[nodiscard]] virtual int GetLevelMedal(int level) = 0;
    // The current profile (its random-level record); null without one.
    [[nodiscard]] virtual const Profile* GetProfile() = 0;
    // Reads the tutorial's script unless it is read already: the catalogue holds the levels with
    // steps back until they are completed, and the map may come before any level has loaded.
    virtual void LoadTutorialSteps() = 0;
    // The services the map's bulbs, sparkles, random-level panel and intro draw and sound through.
    [[nodiscard]] virtual PlayServices& GetPlayServices() = 0;

    // --- Time ------------------------------------------------------------------------------------
    // Seconds since the previous update as the application measures it.
    [[nodiscard]] virtual float GetFrameTime() = 0;

    // --- Music, sounds and input -------------------------------------------------------------------
    // The song playing now; -1 for none.
    [[nodiscard]] virtual int GetCurrentSong() = 0;
    virtual void PlayMusic(int song, float fadeSpeed) = 0;
    virtual void StopAllSounds() = 0;
    [[nodiscard]] virtual bool IsKeyDown(int keyCode) = 0;
    // The widget manager's last mouse position.
    [[nodiscard]] virtual PointerPosition GetMousePos() = 0;

    // --- Particle systems ------------------------------------------------------------------------
    // Empty when the id is not registered or its image is missing (the application logs it).
    virtual ParticleRef SpawnParticleSystem(int id, float x, float y) = 0;
    [[nodiscard]] virtual bool IsParticleAlive(const ParticleRef& system) = 0;
    // The following act on live systems only.
    virtual void StartParticlePath(const ParticleRef& system) = 0;
    [[nodiscard]] virtual bool IsParticlePathRunning(const ParticleRef& system) = 0;
    virtual void StopParticleSystem(const ParticleRef& system) = 0;
    // The emitter's location; (0, 0) for a system that is gone.
    [[nodiscard]] virtual FloatPoint GetParticlePosition(const ParticleRef& system) = 0;
    [[nodiscard]] virtual bool IsInsideParticleMask(const ParticleRef& system, int x, int y) = 0;
    virtual void KillAllParticles() = 0;
    virtual void UpdateParticles(float dt) = 0;
    virtual void DrawParticles(Quoll::Graphics* g) = 0;

    // --- Achievements ------------------------------------------------------------------------------
    virtual void OnAchievementEvent(int eventId) = 0;
    // Whether the list of newly earned achievements is not empty.
    [[nodiscard]] virtual bool HasNewAchievements() = 0;
    [[nodiscard]] virtual bool IsAchievementPopupPending() = 0;
    // While the popup shows its caption the map counts as busy.
    [[nodiscard]] virtual bool IsAchievementPopupTextShown() = 0;
    virtual void UpdateAchievementPopup(float dt) = 0;
    virtual void DrawAchievementPopup(Quoll::Graphics* g) = 0;
};

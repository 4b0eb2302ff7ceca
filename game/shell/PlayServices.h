#pragma once
// PlayServices: the one interface through which the play screen (and the screens above it) reach
// the game shell: the current level and its look, the players' bacteria kinds, sound effects,
// particle systems, the emotion animations, resource groups, the pointer, texts, the mute, focus
// and active flags, achievements and deferred widget deletion. The game application implements
// it by forwarding to its parts; tests use recording fakes.
//
// Particle systems are reached through ParticleRef handles: the manager may delete a finished
// system and reuse its address, so a handle also carries the serial number the manager gave the
// system, and every operation on a handle first asks whether that system still lives.
#include "game/shell/SceneServices.h"

#include <cstdint>
#include <string>

namespace Quoll
{
class Font;
class Graphics;
class Widget;
} // namespace Quoll

class ParticleSystem;

// A spawned particle system as its holder keeps it; empty when the spawn failed.
struct ParticleRef
{
    ParticleSystem* system = nullptr;
    uint64_t serial = 0;

    [[nodiscard]] bool IsEmpty() const { return system == nullptr; }
    bool operator==(const ParticleRef&) const = default;
};

// A point of the screen in pixels (the pointer).
struct PointerPosition
{
    float x = 0;
    float y = 0;

    bool operator==(const PointerPosition&) const = default;
};

// The codes of the bacteria's emotion animations in the animation cache: above every resource id,
// so that they never meet an image's own record.
inline constexpr int kFirstEmotionCode = 457;
inline constexpr int kLastEmotionCode = 470;

// The bacteria kind of the boss.
inline constexpr int kBossBacteria = 8;
// The AI level of the boss's player.
inline constexpr int kBossAiLevel = 3;

// The bacteria kind (1..8) of a player on a level: the boss's kind for the player whose AI
// level is the boss's, else the level's hero (player 1), enemy (2) or third (3) kind; any other
// player number gives 1. Kinds outside 1..8 in the level's table are taken as 1.
[[nodiscard]] int ChoosePlayerBacteria(int player, int aiLevel, int hero, int enemy, int third);

class PlayServices : public SceneServices
{
public:
    // --- The level --------------------------------------------------------------------------------
    // 1..70 on a campaign level, below 0 on a random level.
    [[nodiscard]] virtual int GetCurrentLevel() const = 0;
    // See ChoosePlayerBacteria.
    [[nodiscard]] virtual int GetPlayerBacteria(int player) const = 0;
    // The current level's cell skin (1..5 expected; callers clamp) and background number.
    [[nodiscard]] virtual int GetCellSkin() const = 0;
    [[nodiscard]] virtual int GetLevelBackground() const = 0;

    // --- Sound -------------------------------------------------------------------------------------
    // Plays the sound of a resource id once when sounds are enabled; volume 0..1, pan -1..1.
    virtual void PlaySound(int soundId, float volume, float pan) = 0;
    // The same by resource name ("SOUND_BAC_POP"); an unknown name plays nothing.
    void PlaySoundNamed(const std::string& name, float volume = 1.0f, float pan = 0.0f)
    {
        PlaySound(GetResourceIdByName(name), volume, pan);
    }

    // --- Particle systems --------------------------------------------------------------------------
    // A system of a registered description at (x, y); empty (with an "ERROR" line) for an id that
    // is not registered or whose image is not loaded, and empty without a particle manager.
    virtual ParticleRef SpawnParticleSystem(int id, float x, float y) = 0;
    [[nodiscard]] virtual bool IsParticleAlive(const ParticleRef& system) const = 0;
    // These act on live systems only.
    virtual void MoveParticleSystem(const ParticleRef& system, float x, float y) = 0;
    virtual void StopParticleSystem(const ParticleRef& system) = 0;
    virtual void KillParticleSystem(const ParticleRef& system) = 0;
    virtual void KillAllParticles() = 0;
    // false without a particle manager; else true while at least one system is held.
    virtual bool UpdateParticles(float dt) = 0;
    virtual void DrawParticles(Quoll::Graphics* g) = 0;

    // --- Animations --------------------------------------------------------------------------------
    // The emotion animation of a code (kFirstEmotionCode..kLastEmotionCode), preloaded into the
    // animation cache at start-up; null for other codes.
    [[nodiscard]] virtual FrameAnimation* GetEmotionAnimation(int code) = 0;

    // --- Resources --------------------------------------------------------------------------------
    // false on failure (the loader reports it).
    virtual bool LoadResourceGroup(const std::string& group) = 0;
    virtual void UnloadResourceGroup(const std::string& group) = 0;

    // --- Input and application flags ---------------------------------------------------------------
    // The widget manager's last mouse position.
    [[nodiscard]] virtual PointerPosition GetMousePos() const = 0;
    [[nodiscard]] virtual bool IsKeyDown(int keyCode) const = 0;
    [[nodiscard]] virtual bool IsMuted() const = 0;
    virtual void SetMuted(bool muted) = 0;
    // Whether the application has the focus (no focus loss pending).
    [[nodiscard]] virtual bool HasFocus() const = 0;
    // Whether the application is active (not minimised or paused by the system).
    [[nodiscard]] virtual bool IsActive() const = 0;

    // --- Texts ------------------------------------------------------------------------------------
    // The text of a key in the current locale; the key itself, widened, when it is missing.
    [[nodiscard]] virtual std::wstring GetText(const std::string& key) = 0;
    // The current locale's name, such as "de".
    [[nodiscard]] virtual std::string GetLocaleName() const = 0;
    // The font of a resource name such as "FONT_NUM"; null when it is not loaded (callers then
    // draw no text).
    [[nodiscard]] virtual Quoll::Font* GetFont(const std::string& /*name*/) { return nullptr; }

    // --- Achievements -------------------------------------------------------------------------------
    virtual void OnAchievementEvent(int event) = 0;
    // Whether achievement n (1..40) is earned; isNew (when given) tells whether it is newly earned.
    [[nodiscard]] virtual bool IsAchieved(int achievement, bool* isNew) const = 0;
    // The popup that announces newly earned achievements: advanced once per logic step, drawn in
    // the play screen's overlay pass. Without an achievement manager there is no popup.
    virtual void UpdateAchievementPopup(float /*dt*/) {}
    virtual void DrawAchievementPopup(Quoll::Graphics* /*g*/) {}
    // A popup shows or waits to show.
    [[nodiscard]] virtual bool IsAchievementPopupPending() const { return false; }
    // The shown popup is in its caption phase (the play screen waits meanwhile).
    [[nodiscard]] virtual bool IsAchievementPopupTextShown() const { return false; }

    // --- Widgets -----------------------------------------------------------------------------------
    // Destroys a widget taken out of its manager once the update that asked for it has unwound.
    virtual void DeleteWidgetLater(Quoll::Widget* widget) = 0;
};

#pragma once
// FakePlayServices: the play screen's services for tests. Images are bound by id as memory
// images with the game's cel grids (cell strips of six 69 x 66 cels, eight-frame bodies and
// births, bonus pictures and glows), drawn here as simple synthetic pictures; the birth strips
// carry a short animation. Sounds, particle systems, achievement events and log lines are
// recorded in call order; the pointer, the level, the players' kinds and the achievement popup's
// state are settable. Particle systems are records with a serial number; only ids registered by
// the test spawn. Every random draw comes from a generator seeded by the test.
#include "framework/core/MersenneTwister.h"
#include "framework/display/MemoryImage.h"
#include "game/scene/FrameAnimationCache.h"
#include "game/shell/PlayServices.h"

#include <array>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class FakePlayServices : public PlayServices
{
public:
    // Cell box and cel sizes of the synthetic art.
    static constexpr int kCellWidth = 69;
    static constexpr int kCellHeight = 66;
    static constexpr int kBodySize = 52;
    static constexpr int kBonusSize = 40;
    // Milliseconds of each of the eight birth frames.
    static constexpr int kBirthFrameMs = 40;

    // A particle system as the fake keeps it.
    struct Particle
    {
        int id = 0;
        float x = 0;
        float y = 0;
        bool stopped = false;
        bool killed = false;
        uint64_t serial = 0;
    };

    explicit FakePlayServices(uint32_t seed = 1);
    ~FakePlayServices() override;

    // Binds the synthetic art (cell skins 1..5, bodies and births 1..8, bonuses and glows, the
    // inventory glow) to their ids and names.
    void RegisterArt();
    // Binds one image to an id and a name.
    void Register(int id, const std::string& name, Quoll::Image* image);
    // Replaces the frame animation of an id (an empty one: the image does not animate).
    void SetAnimation(int id, const FrameAnimation& animation) { mAnimations.Add(id, animation); }
    // Names of sounds the fake knows (resolved by PlaySoundNamed).
    void RegisterSound(int id, const std::string& name);

    // --- SceneServices ---
    uint32_t RandomWord() override { return random.NextWord(); }
    void LogError(const std::string& line) override { log.push_back("ERROR: " + line); }
    void LogWarning(const std::string& line) override { log.push_back("WARNING: " + line); }
    Quoll::Image* GetImageById(int id) override;
    int GetResourceIdByName(const std::string& name) override;
    int GetImageResourceId(const Quoll::Image* image) override;
    bool FileExists(const std::string& /*path*/) override { return false; }
    FrameAnimation* GetFrameAnimation(const Quoll::Image* image) override;
    [[nodiscard]] int GetAppWidth() const override { return appWidth; }
    [[nodiscard]] int GetAppHeight() const override { return appHeight; }
    [[nodiscard]] Quoll::Rect GetScreenRect() const override { return {0, 0, appWidth, appHeight}; }
    [[nodiscard]] float GetFrameTime() const override { return 0.01f; }
    [[nodiscard]] uint32_t GetUpdateClockMs() const override { return clockMs; }

    // --- PlayServices ---
    [[nodiscard]] int GetCurrentLevel() const override { return level; }
    [[nodiscard]] int GetPlayerBacteria(int player) const override;
    [[nodiscard]] int GetCellSkin() const override { return cellSkin; }
    [[nodiscard]] int GetLevelBackground() const override { return background; }
    void PlaySound(int soundId, float volume, float pan) override;
    ParticleRef SpawnParticleSystem(int id, float x, float y) override;
    [[nodiscard]] bool IsParticleAlive(const ParticleRef& system) const override;
    void MoveParticleSystem(const ParticleRef& system, float x, float y) override;
    void StopParticleSystem(const ParticleRef& system) override;
    void KillParticleSystem(const ParticleRef& system) override;
    void KillAllParticles() override;
    bool UpdateParticles(float /*dt*/) override { return !particles.empty(); }
    void DrawParticles(Quoll::Graphics* /*g*/) override {}
    [[nodiscard]] FrameAnimation* GetEmotionAnimation(int code) override;
    bool LoadResourceGroup(const std::string& group) override;
    void UnloadResourceGroup(const std::string& group) override { events.push_back("unload " + group); }
    [[nodiscard]] PointerPosition GetMousePos() const override { return mouse; }
    [[nodiscard]] bool IsKeyDown(int keyCode) const override { return keysDown.count(keyCode) != 0; }
    [[nodiscard]] bool IsMuted() const override { return muted; }
    void SetMuted(bool value) override { muted = value; }
    [[nodiscard]] bool HasFocus() const override { return focus; }
    [[nodiscard]] bool IsActive() const override { return active; }
    [[nodiscard]] std::wstring GetText(const std::string& key) override;
    [[nodiscard]] std::string GetLocaleName() const override { return locale; }
    [[nodiscard]] Quoll::Font* GetFont(const std::string& name) override
    {
        const auto found = fonts.find(name);
        return found != fonts.end() ? found->second : nullptr;
    }
    void OnAchievementEvent(int event) override { events.push_back("achievement " + std::to_string(event)); }
    [[nodiscard]] bool IsAchieved(int achievement, bool* isNew) const override;
    void DeleteWidgetLater(Quoll::Widget* widget) override { deferredWidgets.push_back(widget); }
    void UpdateAchievementPopup(float /*dt*/) override { ++popupUpdates; }
    void DrawAchievementPopup(Quoll::Graphics* /*g*/) override { ++popupDraws; }
    [[nodiscard]] bool IsAchievementPopupPending() const override { return popupPending; }
    [[nodiscard]] bool IsAchievementPopupTextShown() const override { return popupTextShown; }

    // The live particle systems' records, by serial.
    [[nodiscard]] const Particle* FindParticle(const ParticleRef& system) const;
    // How many sounds of the name were played.
    [[nodiscard]] int CountSound(const std::string& name) const;
    [[nodiscard]] int CountParticles(int id) const;

    Quoll::MersenneTwister random;
    // "name volume pan" per sound played, in order.
    std::vector<std::string> sounds;
    // Every particle system spawned, in order (stopped and killed ones stay listed).
    std::deque<Particle> particles;
    // Achievement events, group loads and unloads, in order.
    std::vector<std::string> events;
    std::vector<std::string> log;
    std::vector<Quoll::Widget*> deferredWidgets;
    // Particle ids that spawn; others log an error and give nothing.
    std::set<int> registeredParticles;
    std::map<std::string, std::wstring> texts;
    // Fonts by resource name (not owned); others are missing.
    std::map<std::string, Quoll::Font*> fonts;
    std::set<int> achieved;
    std::set<int> keysDown;
    int appWidth = 1024;
    int appHeight = 768;
    int level = 1;
    int cellSkin = 1;
    int background = 1;
    // The bacteria kinds of players 1..3 and their AI levels.
    std::array<int, 3> kinds{1, 2, 3};
    std::array<int, 3> aiLevels{0, 1, 1};
    PointerPosition mouse;
    std::string locale = "en";
    uint32_t clockMs = 0;
    bool muted = false;
    bool focus = true;
    bool active = true;
    // The achievement popup: its state as set by the test, and how often it was advanced and drawn.
    bool popupPending = false;
    bool popupTextShown = false;
    int popupUpdates = 0;
    int popupDraws = 0;

private:
    Quoll::MemoryImage* MakeImage(int id, const std::string& name, int celWidth, int celHeight, int columns);

    std::map<int, Quoll::Image*> mImages;
    std::map<std::string, int> mIds;
    std::map<int, std::string> mSoundNames;
    std::vector<std::unique_ptr<Quoll::MemoryImage>> mOwned;
    FrameAnimationCache mAnimations{*this};
    uint64_t mNextSerial = 1;
};

#pragma once
// The level map parts' harness: play services with named synthetic images and their frame
// animations, recorded sounds, spawns and group loads, a seeded generator and a real particle
// manager whose registered "rays" are endless systems walking a two-point path that ends after a
// chosen number of 0.01 s updates; map nodes with settable state; a map view for the intro whose
// node fades take their time; and the campaign catalogue over settable progress.
#include "framework/core/MersenneTwister.h"
#include "framework/display/MemoryImage.h"
#include "game/level/AssetCfg.h"
#include "game/level/LevelList.h"
#include "game/level/ProgressLevelServices.h"
#include "game/scene/FrameAnimationCache.h"
#include "game/scene/ParticleManager.h"
#include "game/screens/Bulbulator.h"
#include "game/screens/IntroScene.h"
#include "game/shell/PlayServices.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace MapParts
{
struct SoundCall
{
    std::string name;
    float volume = 0;
    float pan = 0;
};

struct SpawnCall
{
    int id = 0;
    float x = 0;
    float y = 0;
};

class FakeServices : public PlayServices
{
public:
    explicit FakeServices(uint32_t seed = 1);
    ~FakeServices() override;

    // A plain image of cels filled with the colour (a lighter rim marks each cel) under the name.
    Quoll::MemoryImage* AddImage(const std::string& name, int width, int height, uint32_t argb, int columns = 1);
    // A picture drawn pixel by pixel (ARGB) under the name.
    Quoll::MemoryImage* AddPainted(const std::string& name, int width, int height,
                                   uint32_t (*paint)(int x, int y, int width, int height));
    // The image's frame animation: `frames` steps of `delayMs` each.
    void SetAnimation(const std::string& name, int frames, int delayMs);
    // A system of the id whose path ends after `updates` updates of 0.01 s.
    void RegisterRay(int id, int updates);
    [[nodiscard]] int CountSound(const std::string& name) const;
    [[nodiscard]] int CountSpawns(int id) const;
    [[nodiscard]] Quoll::Image* Named(const std::string& name) { return GetImageById(GetResourceIdByName(name)); }

    // --- SceneServices ---
    uint32_t RandomWord() override { return random.NextWord(); }
    void LogError(const std::string& line) override { log.push_back("ERROR: " + line); }
    void LogWarning(const std::string& line) override { log.push_back("WARNING: " + line); }
    Quoll::Image* GetImageById(int id) override;
    int GetResourceIdByName(const std::string& name) override;
    int GetImageResourceId(const Quoll::Image* image) override;
    bool FileExists(const std::string& /*path*/) override { return false; }
    FrameAnimation* GetFrameAnimation(const Quoll::Image* image) override;
    [[nodiscard]] int GetAppWidth() const override { return 1024; }
    [[nodiscard]] int GetAppHeight() const override { return 768; }
    [[nodiscard]] Quoll::Rect GetScreenRect() const override { return {0, 0, 1024, 768}; }
    [[nodiscard]] bool IsDisplay3D() const override { return false; }
    [[nodiscard]] float GetFrameTime() const override { return 0.01f; }
    [[nodiscard]] uint32_t GetUpdateClockMs() const override { return 0; }

    // --- PlayServices ---
    [[nodiscard]] int GetCurrentLevel() const override { return 1; }
    [[nodiscard]] int GetPlayerBacteria(int /*player*/) const override { return 1; }
    [[nodiscard]] int GetCellSkin() const override { return 1; }
    [[nodiscard]] int GetLevelBackground() const override { return 1; }
    void PlaySound(int soundId, float volume, float pan) override;
    ParticleRef SpawnParticleSystem(int id, float x, float y) override;
    [[nodiscard]] bool IsParticleAlive(const ParticleRef& system) const override;
    void MoveParticleSystem(const ParticleRef& system, float x, float y) override;
    void StopParticleSystem(const ParticleRef& system) override;
    void KillParticleSystem(const ParticleRef& system) override;
    void KillAllParticles() override;
    bool UpdateParticles(float dt) override { return particles.Update(dt); }
    void DrawParticles(Quoll::Graphics* g) override { particles.Render(g); }
    [[nodiscard]] FrameAnimation* GetEmotionAnimation(int /*code*/) override { return nullptr; }
    bool LoadResourceGroup(const std::string& group) override;
    void UnloadResourceGroup(const std::string& group) override { events.push_back("unload " + group); }
    [[nodiscard]] PointerPosition GetMousePos() const override { return mouse; }
    [[nodiscard]] bool IsKeyDown(int keyCode) const override { return keysDown.count(keyCode) != 0; }
    [[nodiscard]] bool IsMuted() const override { return false; }
    void SetMuted(bool /*muted*/) override {}
    [[nodiscard]] bool HasFocus() const override { return true; }
    [[nodiscard]] bool IsActive() const override { return true; }
    [[nodiscard]] std::wstring GetText(const std::string& key) override;
    [[nodiscard]] std::string GetLocaleName() const override { return "en"; }
    [[nodiscard]] Quoll::Font* GetFont(const std::string& name) override { return name == "FONT_FNT1" ? font : nullptr; }
    void OnAchievementEvent(int event) override { events.push_back("achievement " + std::to_string(event)); }
    [[nodiscard]] bool IsAchieved(int /*achievement*/, bool* /*isNew*/) const override { return false; }
    void DeleteWidgetLater(Quoll::Widget* /*widget*/) override {}

    Quoll::MersenneTwister random;
    ParticleManager particles{*this, 0.0f};
    std::vector<SoundCall> sounds;
    std::vector<SpawnCall> spawns;
    // Group loads and unloads, "kill all", achievement events, in order.
    std::vector<std::string> events;
    std::vector<std::string> log;
    std::map<std::string, std::wstring> texts;
    std::set<int> keysDown;
    PointerPosition mouse;
    // Not owned; null: no caption is measured or drawn.
    Quoll::Font* font = nullptr;

private:
    std::map<std::string, int> mIds;
    std::map<int, std::string> mNames;
    std::map<int, Quoll::Image*> mImages;
    std::vector<std::unique_ptr<Quoll::MemoryImage>> mOwned;
    FrameAnimationCache mAnimations{*this};
};

// A map node whose state the test sets.
class FakeNode : public MapNodeView
{
public:
    FakeNode(int group, Quoll::Rect rect) : group(group), rect(rect) {}
    [[nodiscard]] int GetGroup() const override { return group; }
    [[nodiscard]] Quoll::Rect GetRect() const override { return rect; }
    [[nodiscard]] bool IsFullyShown() const override { return shown; }
    [[nodiscard]] float GetGlow() const override { return glow; }
    [[nodiscard]] FloatPoint GetMedalAnchor() const override
    {
        return {static_cast<float>(rect.x + rect.width / 2), static_cast<float>(rect.y + rect.height)};
    }
    [[nodiscard]] float GetSparkleRadius() const override { return 20.0f; }

    int group;
    Quoll::Rect rect;
    bool shown = true;
    float glow = 0;
};

// The campaign catalogue over settable progress, with the game's episode table.
struct Campaign
{
    Campaign();
    ProgressLevelServices progress;
    AssetCfg assets;
    LevelList levels{progress, &assets};
};

// The intro's view of the map: 24 nodes in a grid whose fades take their seconds of updates.
class FakeIntroMap : public IntroMapView
{
public:
    FakeIntroMap(FakeServices& services, const LevelList& levels);
    void HideAllPoints() override;
    void ShowOpenedPoints() override;
    void FadePoint(int index, float seconds, bool fadeIn) override;
    [[nodiscard]] bool AnyPointFading() const override;
    [[nodiscard]] Bulbulator& GetBulbs() override { return bulbs; }
    // Advances the fades.
    void Update(float dt);
    // Each shown node as a disc (for the pictures).
    void Draw(Quoll::Graphics* g) const;

    struct Point
    {
        bool shown = false;
        float fadeLeft = 0;
    };
    std::vector<Point> points;
    // "hide", "show opened", "fade <index> <seconds>" in order.
    std::vector<std::string> calls;
    Bulbulator bulbs;
};
} // namespace MapParts

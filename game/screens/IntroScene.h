#pragma once
// IntroScene: the scripted intro played over the level map the first time a profile sees it.
// The map zooms out of black; a first figure sends out a ray; the boss appears under a spotlight,
// laughs and sends an infection ray to every level group, highest group first, then three rays
// that fail; Gloria comes out, attacks the boss, and both leave as rays. Not a widget: the map
// updates it, draws its back layer in place of its own background elements and its front layer
// over everything, and deletes it once it is finished or skipped.
//
// The script never waits forever: an effect that did not spawn, or that is gone, counts as done.
#include "framework/display/Color.h"
#include "game/scene/AnimSprite.h"
#include "game/screens/MapIntro.h"
#include "game/shell/PlayServices.h"

#include <memory>
#include <vector>

namespace Quoll
{
class Graphics;
class Image;
} // namespace Quoll
class Bulbulator;
class LevelList;
class SpotEffect;

// What the intro asks of the level map: its nodes (one per level group, by group index) and its
// bulbs.
class IntroMapView
{
public:
    virtual ~IntroMapView() = default;
    // Every node hidden.
    virtual void HideAllPoints() = 0;
    // Every node as the profile's progress shows it.
    virtual void ShowOpenedPoints() = 0;
    // Fades the node of a group index (0-based) in or out over the seconds (0: at once).
    virtual void FadePoint(int index, float seconds, bool fadeIn) = 0;
    [[nodiscard]] virtual bool AnyPointFading() const = 0;
    [[nodiscard]] virtual Bulbulator& GetBulbs() = 0;
};

class IntroScene final : public MapIntro
{
public:
    enum State : int
    {
        kStart = 0,
        kMapZoom = 1,
        kSopli = 2,
        kBossRay = 3,
        kBossAppears = 4,
        kSmile = 5,
        kInfectionRays = 6,
        kFailingRays = 7,
        kGloriaRay = 8,
        kGloriaAttacks = 9,
        kBossHit = 10,
        kBossLeaves = 11,
        kGloriaLeaves = 12,
        kFinished = 13,
        kWaiting = 14,
    };

    // Seconds of the infection rays together, and of the opening zoom.
    static constexpr float kRaySeconds = 5.0f;
    static constexpr float kZoomSeconds = 2.0f;
    // The longest step the script takes at once.
    static constexpr float kMaxStep = 0.1f;
    static constexpr int kEscapeKey = 27;

    // Loads the intro's resource groups and hides the map's nodes.
    IntroScene(PlayServices& services, IntroMapView& map, const LevelList& levels);
    ~IntroScene() override;
    IntroScene(const IntroScene&) = delete;
    IntroScene& operator=(const IntroScene&) = delete;

    void Update(float dt) override;
    [[nodiscard]] bool IsFinished() const override { return mState == kFinished; }
    // Drawn in place of the map's background elements.
    void DrawBack(Quoll::Graphics* g) override;
    // Drawn over everything else.
    void DrawFront(Quoll::Graphics* g) override;

    [[nodiscard]] int GetState() const { return mState; }
    [[nodiscard]] const SpotEffect& GetSpot() const { return *mSpot; }

private:
    struct IntroRay
    {
        int groupIndex = 0;
        ParticleRef ray;
        bool launched = false;
        // Launched and not yet landed on its node.
        bool flying = false;
    };

    void Reset(bool hidePoints);
    void UpdateShake(float dt);
    void WaitThen(float seconds, int next);
    // Spawns a registered system and starts it on its path; empty when it did not spawn.
    ParticleRef Spawn(int id, float x = 0.0f, float y = 0.0f);
    // Gone, never spawned, or at the end of its path.
    [[nodiscard]] bool IsEffectDone(const ParticleRef& effect) const;
    // When the current effect is done: stops it, forgets it and answers true.
    bool FinishEffect();
    void PlaySound(const char* name, float volume = 1.0f);
    [[nodiscard]] Quoll::Image* Image(const char* name);

    void RunState(float dt);
    void UpdateMapZoom(float dt);
    void UpdateSmile(float dt);
    void UpdateInfectionRays(float dt);
    void UpdateFailingRays();
    void UpdateGloriaAttack(float dt);
    void UpdateGloriaLeaves(float dt);

    PlayServices& mServices;
    IntroMapView& mMap;
    const LevelList& mLevels;
    bool mSkip = false;
    int mState = kStart;
    float mTimer = 0;
    std::vector<IntroRay> mRays;
    AnimSprite mSopli;
    AnimSprite mBoss;
    Quoll::Image* mSmile = nullptr;
    Quoll::Image* mEyes = nullptr;
    Quoll::Image* mFear = nullptr;
    Quoll::Image* mGloria = nullptr;
    Quoll::Color mGloriaColor{255, 255, 255, 0};
    ParticleRef mEffect;
    // Gloria's attack was launched (its effect may not have spawned).
    bool mAttackLaunched = false;
    Quoll::Image* mMapImage = nullptr;
    float mMapScale = 1.0f;
    float mBlack = 0;
    int mNextState = kStart;
    int mShake = 0;
    int mShakeDirection = 1;
    float mShakeTime = 0;
    int mFailedRays = 0;
    std::unique_ptr<SpotEffect> mSpot;
};

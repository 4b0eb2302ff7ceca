#pragma once
// BossLevel: the boss of a boss level on the play screen. It plays by BossRules and adds what the
// screen shows of it: the portrait is the HUD's boss avatar (its gauge shows the hit points, it
// reacts to an armed bomb and to hits, and its screen rectangle is where bombs land and the ray
// starts), and the ray is a particle system that flies from the portrait to the target cell.
// The scene updates it as its overlay node.
#include "game/level/BossRules.h"
#include "game/level/LevelView.h"
#include "game/scene/VisualNode.h"
#include "game/shell/PlayServices.h"

#include <functional>
#include <memory>

class GameScene;
class HudAvatar;
class Level;

class BossLevel : public VisualNode, public BossLevelInterface
{
public:
    static constexpr int kRayParticle = 92;
    static constexpr float kHitShowTime = 1.0f;

    BossLevel(PlayServices& services, Level& level, GameScene& scene);
    // Kills the ray, and stops being the scene's overlay unless another boss took its place.
    ~BossLevel() override;
    BossLevel(const BossLevel&) = delete;
    BossLevel& operator=(const BossLevel&) = delete;

    // --- BossLevelInterface ---
    // The portrait gets its gauge and the hit points; the boss becomes the scene's overlay node.
    void BindHud() override;
    void OnTurnPassed() override;
    [[nodiscard]] int AdjustGameResult(int result) override { return mRules.AdjustGameResult(result); }
    void SetPendingBonus(int bonusCode) override;
    [[nodiscard]] bool TryUseBonus(ScreenPoint point) override;
    [[nodiscard]] bool IsAnimating() const override { return mRules.IsAnimating(); }
    void PlaceSpawnedUnits(const std::vector<int>& cells) override { mRules.PlaceSpawnedUnits(cells); }

    // --- VisualNode ---
    // The ray flies on with the rules; it stops when it arrives.
    void Update(float dt) override;

    [[nodiscard]] const BossRules& GetRules() const { return mRules; }
    [[nodiscard]] BossRules& GetRules() { return mRules; }
    [[nodiscard]] const ParticleRef& GetRay() const { return mRay; }

private:
    // The HUD's boss avatar now (a rebuilt HUD has a new one); null without one.
    [[nodiscard]] HudAvatar* FindPortrait() const;
    // The rules' portrait area follows the avatar on the screen.
    void RefreshPortraitArea();
    void StartRay();
    void StopRay();

    PlayServices& mServices;
    GameScene& mScene;
    BossRules mRules;
    ParticleRef mRay;
};

// The scene hook that makes the boss of a boss level.
[[nodiscard]] std::function<std::unique_ptr<BossLevelInterface>(Level& level, GameScene& scene)>
MakeBossHook(PlayServices& services);

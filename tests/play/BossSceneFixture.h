#pragma once
// The boss level tests/play/data/levels/boss.txt on the game scene's harness, with the play
// screen's boss made by its hook and the HUD's synthetic art.
#include "HudArt.h"
#include "SceneTestFixture.h"
#include "game/level/Level.h"
#include "game/play/BossLevel.h"

#include <gtest/gtest.h>

// The scene's boss hook needs the harness's services, which the harness makes after its hooks.
struct BossScene
{
    explicit BossScene(uint32_t seed = 7) : h(seed, Hooks(this))
    {
        h.services.RegisterSound(385, "SOUND_BOSSBAC_RAYSPAWN");
        h.services.registeredParticles.insert(BossLevel::kRayParticle);
        h.Show();
        EXPECT_TRUE(h.StartLevel("boss"));
        h.Step(100);
        boss = dynamic_cast<BossLevel*>(h.scene->GetOverlayNode());
    }

    static SceneHooks Hooks(BossScene* self)
    {
        SceneHooks hooks;
        hooks.makeBoss = [self](Level& level, GameScene& scene) {
            return MakeBossHook(self->h.services)(level, scene);
        };
        return hooks;
    }

    // The next round lets the boss act at once.
    void Attack()
    {
        h.GetLevel().GetParams().bossCountdown = 1;
        boss->OnTurnPassed();
    }

    SceneHarness h;
    HudTestArt::HudArt art{h.services};
    BossLevel* boss = nullptr;
};

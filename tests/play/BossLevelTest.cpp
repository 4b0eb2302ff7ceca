// The play screen's boss on a real scene and level (tests/play/data/levels/boss.txt): the ray
// leaves the HUD's boss portrait and flies at 600 pixels a second as a particle system, a bomb
// on the portrait costs a hit point and shows on it, and a boss leaves the scene's overlay only
// while it still is the overlay.
#include "BossSceneFixture.h"
#include "game/play/HUD.h"
#include "game/play/HudAvatar.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
float Distance(RayPoint a, float x, float y) { return std::hypot(x - a.x, y - a.y); }
} // namespace

TEST(BossLevel, TheRayLeavesThePortraitAndFliesSixHundredPixelsASecond)
{
    BossScene s;
    ASSERT_NE(s.boss, nullptr);
    const HudAvatar* portrait = s.h.scene->GetHud()->GetBossAvatar();
    ASSERT_NE(portrait, nullptr);
    EXPECT_NE(portrait->GetBossGauge(), nullptr);

    s.Attack();
    const BossRules& rules = s.boss->GetRules();
    ASSERT_TRUE(s.boss->IsAnimating());
    const Quoll::Rect r = portrait->GetScreenRect();
    ASSERT_GT(r.width, 0);
    const RayPoint start = rules.GetRayStart();
    EXPECT_EQ(start.x, static_cast<float>(r.x) + 32.0f);
    EXPECT_EQ(start.y, static_cast<float>(r.y) + 120.0f);
    const ScreenPoint target = s.h.CellPoint(rules.GetTargetCell());
    EXPECT_EQ(rules.GetRayEnd().x, static_cast<float>(target.x));
    EXPECT_EQ(s.h.services.CountSound("SOUND_BOSSBAC_RAYSPAWN"), 1);
    ASSERT_EQ(s.h.services.CountParticles(BossLevel::kRayParticle), 1);
    const FakePlayServices::Particle* ray = s.h.services.FindParticle(s.boss->GetRay());
    ASSERT_NE(ray, nullptr);
    EXPECT_EQ(ray->x, start.x);

    // Each tenth of a second takes the ray 60 pixels further, until it arrives.
    const float length = Distance(start, rules.GetRayEnd().x, rules.GetRayEnd().y);
    ASSERT_GT(length, 120.0f);
    for (int tenths = 1; tenths * 60.0f < length; ++tenths)
    {
        s.boss->Update(0.1f);
        ray = s.h.services.FindParticle(s.boss->GetRay());
        ASSERT_NE(ray, nullptr);
        EXPECT_NEAR(Distance(start, ray->x, ray->y), 60.0f * static_cast<float>(tenths), 0.05f);
    }
    s.boss->Update(0.1f);
    EXPECT_FALSE(s.boss->IsAnimating());
    EXPECT_TRUE(s.h.services.particles.back().stopped);
    EXPECT_TRUE(s.boss->GetRay().IsEmpty());
}

TEST(BossLevel, ABombOnThePortraitCostsAHitPointAndShowsOnIt)
{
    BossScene s;
    ASSERT_NE(s.boss, nullptr);
    HudAvatar* portrait = s.h.scene->GetHud()->GetBossAvatar();
    const Quoll::Rect r = portrait->GetScreenRect();
    ASSERT_GT(r.width, 0);
    const int before = s.boss->GetRules().GetHitPoints();

    EXPECT_FALSE(s.boss->TryUseBonus({r.x + 5, r.y + 5})) << "nothing is armed";
    s.boss->SetPendingBonus(BONUS_BOMB);
    EXPECT_FALSE(s.boss->TryUseBonus({r.x - 5, r.y + 5}));
    EXPECT_TRUE(s.boss->TryUseBonus({r.x + 5, r.y + 5}));
    EXPECT_EQ(s.boss->GetRules().GetHitPoints(), before - 1);
    EXPECT_EQ(portrait->GetState(), HudAvatar::BossHits);
}

TEST(BossLevel, ABossLeavesTheOverlayOnlyWhileItIsTheOverlay)
{
    BossScene s;
    ASSERT_NE(s.boss, nullptr);
    s.Attack();
    const ParticleRef ray = s.boss->GetRay();
    {
        // A step back makes the new boss before the old one goes.
        BossLevel successor(s.h.services, s.h.GetLevel(), *s.h.scene);
        successor.BindHud();
        EXPECT_EQ(s.h.scene->GetOverlayNode(), &successor);
        s.h.GetLevel().Stop();
        EXPECT_EQ(s.h.scene->GetOverlayNode(), &successor);
        EXPECT_FALSE(s.h.services.IsParticleAlive(ray)) << "the old boss's ray is killed with it";
    }
    EXPECT_EQ(s.h.scene->GetOverlayNode(), nullptr);
}

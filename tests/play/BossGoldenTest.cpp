// A boss ray mid-flight over the boss level (tests/play/data/levels/boss.txt): on the 2D path
// against its golden image, and on the 3D path compared with it. The ray's particles come from a
// real particle manager whose system follows the one the boss spawned and moves in the fake
// services, so the frame shows where the boss put its ray. Rerun: test_play
// --gtest_filter='BossGolden*'; QUOLL_UPDATE_GOLDEN=1 rewrites the golden.
#include "FrameOnBothPaths.h"
#include "tests/GoldenImage.h"
#include "BossSceneFixture.h"
#include "game/play/HUD.h"
#include "game/play/HudAvatar.h"
#include "game/play/VCell.h"
#include "game/play/BoardView.h"
#include "game/play/Bacteria.h"
#include "game/play/Bonus.h"
#include "game/play/GameProgress.h"
#include "game/scene/ParticleManager.h"

#include "framework/core/MersenneTwister.h"
#include "framework/display/MemoryImage.h"
#include "framework/rasteriser/TriangleSpanTable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace
{
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

struct RayFrame
{
    RayFrame() : s(20261209), manager(s.h.services, 60.0f)
    {
        // A soft round spark.
        std::vector<uint32_t> bits(16 * 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
            {
                const double d = std::hypot(x - 7.5, y - 7.5) / 8.0;
                const auto a = static_cast<uint32_t>(255.0 * std::max(0.0, 1.0 - d));
                bits[static_cast<size_t>(y * 16 + x)] = a << 24 | 0xFFFFFFu;
            }
        spark.SetBits(bits.data(), 16, 16);
        file.desc.emission = 300;
        file.desc.lifetime = -1.0f;
        file.desc.lifeMin = 0.2f;
        file.desc.lifeMax = 0.4f;
        file.desc.spread = 6.2831855f;
        file.desc.speedMin = 0.2f;
        file.desc.speedMax = 1.0f;
        file.desc.sizeStart = 1.6f;
        file.desc.sizeEnd = 0.4f;
        const float start[4] = {0.6f, 1.0f, 0.4f, 1.0f}, end[4] = {0.2f, 0.6f, 1.0f, 0.0f};
        std::copy(start, start + 4, file.desc.colourStart);
        std::copy(end, end + 4, file.desc.colourEnd);
        file.additive = true;

        Quoll::SeedRandom(31);
        EXPECT_NE(s.boss, nullptr);
        s.Attack();
        const FakePlayServices::Particle* fake = s.h.services.FindParticle(s.boss->GetRay());
        EXPECT_NE(fake, nullptr);
        ray = manager.Spawn(file, &spark, fake->x, fake->y);
        // Half of the flight, the real system following the boss's.
        const float half = s.boss->GetRules().GetRayDuration() / 2.0f;
        for (float t = 0; t < half; t += 0.01f)
        {
            s.h.Step();
            if (const FakePlayServices::Particle* p = s.h.services.FindParticle(s.boss->GetRay()))
                ray->MoveTo(p->x, p->y);
            manager.Update(0.01f);
        }
        EXPECT_TRUE(s.boss->IsAnimating());
    }

    void Draw(Quoll::Graphics& g)
    {
        s.h.scene->Draw(&g);
        manager.Render(&g);
    }

    // Boxes drawn by different calls on the two paths: bacteria and bonuses (at sub-pixel
    // positions), busts, the ray's particles.
    [[nodiscard]] std::vector<Quoll::Rect> LooseBoxes() const
    {
        std::vector<Quoll::Rect> boxes;
        const auto around = [&boxes](const VisualNode* unit) {
            const FloatPoint p = unit->GetWorldPosition();
            boxes.emplace_back(static_cast<int>(p.x) - 12, static_cast<int>(p.y) - 12, 69 + 24, 66 + 24);
        };
        for (const VCell* cell : s.h.scene->GetBoardView()->GetCellViews())
        {
            if (cell->GetBacteria() != nullptr)
                around(cell->GetBacteria());
            if (cell->GetBonus() != nullptr)
                around(cell->GetBonus());
        }
        const HUD* hud = s.h.scene->GetHud();
        for (int i = 0; i < 2; ++i)
            if (const Bacteria* b = hud->GetProgress()->GetBacterium(i))
                around(b);
        for (int i = 0; i < 3; ++i)
            if (const HudAvatar* avatar = hud->GetAvatar(i))
            {
                const Quoll::Rect r = avatar->GetScreenRect();
                boxes.emplace_back(r.x - 40, r.y - 40, r.width * 3 / 2 + 80, r.height * 3 / 2 + 80);
            }
        const RayPoint a = s.boss->GetRules().GetRayStart();
        const RayPoint b = s.boss->GetRules().GetRayPosition();
        const int x0 = static_cast<int>(std::min(a.x, b.x)) - 60;
        const int y0 = static_cast<int>(std::min(a.y, b.y)) - 60;
        boxes.emplace_back(x0, y0, static_cast<int>(std::abs(a.x - b.x)) + 120, static_cast<int>(std::abs(a.y - b.y)) + 120);
        return boxes;
    }

    BossScene s;
    ParticleManager manager;
    ParticleFile file;
    Quoll::MemoryImage spark;
    ParticleSystem* ray = nullptr;
};

std::vector<uint32_t> Draw2D()
{
    return PlayTesting::DrawOnMemoryImage<RayFrame>(kWidth, kHeight);
}

std::vector<uint32_t> Draw3D()
{
    return PlayTesting::DrawOnDisplay<RayFrame>(kWidth, kHeight, true);
}
} // namespace

TEST(BossGolden, ARayMidFlightMatchesItsGolden)
{
    const std::vector<uint32_t> frame = Draw2D();
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("play", "boss_ray", frame.data(), kWidth, kHeight));
}

// Outside the bacteria, the bonuses, the busts and the ray every pixel agrees within 3 on both paths.
TEST(BossGolden, TheThreeDimensionalPathAgreesOutsideTheLooseBoxes)
{
    const std::vector<uint32_t> a = Draw2D();
    const std::vector<uint32_t> b = Draw3D();
    RayFrame layout;
    const Quoll::Testing::FrameAgreement agreement =
        Quoll::Testing::CompareFrames(a, b, kWidth, kHeight, layout.LooseBoxes());
    std::printf("boss ray: largest difference %d, outside the loose boxes %d, %.4f of the pixels within 3\n",
                agreement.most, agreement.mostOutsideExcluded, agreement.shareWithin3);
    EXPECT_LE(agreement.mostOutsideExcluded, 3);
    EXPECT_GE(agreement.shareWithin3, 0.98);
}

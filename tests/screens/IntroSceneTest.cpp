// The intro script with a fake map and real particle systems whose paths end after a set number
// of updates: the order and timing of its states, the infection rays (highest group first, one
// every 5 / 24 s), skipping with Escape, running without any registered effect, the long-frame
// limit, and the spotlight's hole and bands.
// Rerun one case: test_screens --gtest_filter='IntroScene*:SpotEffect*'
#include "MapPartsDoubles.h"

#include "framework/display/Graphics.h"
#include "framework/rasteriser/TriangleSpanTable.h"
#include "game/screens/SpotEffect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace
{
using MapParts::FakeServices;

constexpr float kStep = 0.01f;
constexpr int kPathUpdates = 20;

// Every particle id the intro spawns.
std::vector<int> IntroEffectIds()
{
    std::vector<int> ids{38};
    for (int id = 42; id <= 65; ++id)
        ids.push_back(id);
    for (int id = 68; id <= 78; ++id)
        ids.push_back(id);
    return ids;
}

struct IntroRun
{
    explicit IntroRun(bool registerEffects = true)
    {
        if (registerEffects)
            for (int id : IntroEffectIds())
                services.RegisterRay(id, kPathUpdates);
        intro = std::make_unique<IntroScene>(services, map, campaign.levels);
    }

    // One update of the intro, then of the particles and the map's fades, as the map runs them.
    void Step(float dt = kStep)
    {
        intro->Update(dt);
        services.UpdateParticles(dt);
        map.Update(dt);
        ++updates;
        if (intro->GetState() != states.back().first)
            states.emplace_back(intro->GetState(), updates);
    }
    // Steps until the state is reached or the update limit passes; true when reached.
    bool RunUntil(int state, int limit = 3000)
    {
        for (int i = 0; i < limit && intro->GetState() != state; ++i)
            Step();
        return intro->GetState() == state;
    }

    FakeServices services;
    MapParts::Campaign campaign;
    MapParts::FakeIntroMap map{services, campaign.levels};
    std::unique_ptr<IntroScene> intro;
    int updates = 0;
    // Each state entered with the update count at which it was entered.
    std::vector<std::pair<int, int>> states{{0, 0}};
};

TEST(IntroScene, PassesEveryStateInItsTime)
{
    IntroRun run;
    ASSERT_TRUE(run.RunUntil(IntroScene::kFinished));

    std::vector<int> order;
    for (const auto& [state, at] : run.states)
        order.push_back(state);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 14, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 13}));

    // Seconds from entering each state to entering the next: the zoom (2 s) and the wait (1 s);
    // the first figure's animation (none here); the boss ray's path; the smile (1.4 s); the rays
    // (the last leaves at 23 / 24 of 5 s, flies its path, then its node fades 0.6 s); three
    // failing rays; Gloria's ray; her fade (1 s) and attack; the hit (2 s); two rays leaving and
    // the last wait (1 s). Nine paths in all.
    const float path = kPathUpdates * kStep;
    const std::map<int, float> expected{{1, 2.0f},
                                        {2, 0.0f},
                                        {3, path},
                                        {4, 0.0f},
                                        {5, 1.4f},
                                        {6, 5.0f * 23.0f / 24.0f + path + 0.6f},
                                        {7, 3.0f * path},
                                        {8, path},
                                        {9, 1.0f + path},
                                        {10, 2.0f},
                                        {11, path},
                                        {12, 1.0f + path}};
    for (size_t i = 0; i + 1 < run.states.size(); ++i)
    {
        const auto [state, at] = run.states[i];
        const float seconds = static_cast<float>(run.states[i + 1].second - at) * kStep;
        if (const auto found = expected.find(state); found != expected.end())
        {
            EXPECT_NEAR(seconds, found->second, 0.05f) << "state " << state;
        }
    }
    const float total = static_cast<float>(run.updates) * kStep;
    EXPECT_NEAR(total, 2.0f + 1.0f + 1.4f + 5.0f * 23.0f / 24.0f + 0.6f + 1.0f + 2.0f + 1.0f + 1.0f + 9.0f * path, 0.2f);
}

TEST(IntroScene, InfectionRaysLeaveFromTheHighestGroupOneEveryFifthOfASecond)
{
    IntroRun run;
    ASSERT_TRUE(run.RunUntil(IntroScene::kInfectionRays));
    const size_t spawnsBefore = run.services.spawns.size();
    const int start = run.updates;
    std::vector<std::pair<int, int>> rays; // id, update
    while (run.intro->GetState() == IntroScene::kInfectionRays && run.updates < start + 1000)
    {
        const size_t before = run.services.spawns.size();
        run.Step();
        for (size_t i = before; i < run.services.spawns.size(); ++i)
            if (run.services.spawns[i].id >= 42 && run.services.spawns[i].id <= 65)
                rays.emplace_back(run.services.spawns[i].id, run.updates - start);
    }
    ASSERT_GT(run.services.spawns.size(), spawnsBefore);
    // The first record (group index 23) showed at once without a ray; 23 rays follow.
    ASSERT_EQ(rays.size(), 23u);
    for (size_t k = 0; k < rays.size(); ++k)
    {
        EXPECT_EQ(rays[k].first, 42 + 22 - static_cast<int>(k));
        const float due = static_cast<float>(k + 1) * 5.0f / 24.0f;
        EXPECT_NEAR(static_cast<float>(rays[k].second) * kStep, due, 0.015f) << "ray " << k;
    }
    // Nodes: the first at once, then each landing ray's over 0.6 s, in launch order.
    ASSERT_GE(run.map.calls.size(), 25u);
    EXPECT_EQ(run.map.calls[0], "hide");
    EXPECT_EQ(run.map.calls[1], "fade 23 0.0");
    EXPECT_EQ(run.map.calls[2], "fade 22 0.6");
    EXPECT_EQ(run.map.calls.back(), "fade 0 0.6");
    EXPECT_EQ(run.services.CountSound("SOUND_INFECTIONRAY_FALL"), 23);
}

TEST(IntroScene, EscapeEndsItAtTheNextUpdateWithTheProgressShown)
{
    IntroRun run;
    ASSERT_TRUE(run.RunUntil(IntroScene::kInfectionRays));
    for (int i = 0; i < 100; ++i)
        run.Step();
    ASSERT_GT(run.services.particles.GetCount(), 0);

    run.services.keysDown.insert(IntroScene::kEscapeKey);
    run.Step();
    EXPECT_TRUE(run.intro->IsFinished());
    EXPECT_EQ(run.map.calls.back(), "show opened");
    EXPECT_EQ(run.services.particles.GetCount(), 0);
    // Held on, it stays finished and resets nothing more.
    const size_t calls = run.map.calls.size();
    run.Step();
    EXPECT_TRUE(run.intro->IsFinished());
    EXPECT_EQ(run.map.calls.size(), calls);
}

TEST(IntroScene, EndsWithoutAnyRegisteredEffect)
{
    IntroRun run(false);
    ASSERT_TRUE(run.RunUntil(IntroScene::kFinished, 2000));
    // 2 s zoom, 1 s wait, 1.4 s smile, the rays' 5 s less one step and the last fade, Gloria's
    // 1 s fade, the 2 s hit, 1 s before leaving, the last 1 s wait.
    EXPECT_NEAR(static_cast<float>(run.updates) * kStep, 2.0f + 1.0f + 1.4f + 5.0f * 23.0f / 24.0f + 0.6f + 5.0f, 0.2f);
    EXPECT_EQ(run.services.particles.GetCount(), 0);
    // Every ray that never spawned still brought its node in.
    EXPECT_TRUE(std::all_of(run.map.points.begin(), run.map.points.end(), [](const auto& p) { return p.shown; }));
}

TEST(IntroScene, ALongFrameCountsATenthOfASecond)
{
    IntroRun run;
    run.intro->Update(0.5f); // the start
    ASSERT_EQ(run.intro->GetState(), IntroScene::kMapZoom);
    for (int i = 0; i < 19; ++i)
        run.intro->Update(0.5f);
    EXPECT_EQ(run.intro->GetState(), IntroScene::kMapZoom) << "the zoom took less than 2 s of updates";
    run.intro->Update(0.5f);
    EXPECT_EQ(run.intro->GetState(), IntroScene::kWaiting);
}

// --- The spotlight -------------------------------------------------------------------------------

uint32_t SpotPixel(int x, int y, int w, int h)
{
    const double dx = x + 0.5 - w / 2.0, dy = y + 0.5 - h / 2.0;
    return std::hypot(dx, dy) < w / 2.0 - 1 ? 0x00000000u : 0xFF000000u;
}

struct SpotFrame
{
    SpotFrame() { services.AddPainted("IMAGE_SPOT", 256, 256, SpotPixel); }

    // The spot drawn over a white screen.
    std::vector<uint32_t> Draw(const SpotEffect& spot)
    {
        Quoll::InitTriangleSpanTable();
        Quoll::MemoryImage screen;
        std::vector<uint32_t> white(1024 * 768, 0xFFFFFFFFu);
        screen.SetBits(white.data(), 1024, 768);
        {
            Quoll::Graphics g(&screen);
            spot.Draw(&g);
        }
        return {screen.GetBits(), screen.GetBits() + 1024 * 768};
    }
    static int Red(const std::vector<uint32_t>& px, int x, int y) { return static_cast<int>((px[static_cast<size_t>(y * 1024 + x)] >> 16) & 0xFF); }

    FakeServices services;
};

TEST(SpotEffect, SettlesIdleThenDarkensAroundItsHole)
{
    SpotFrame frame;
    SpotEffect spot(frame.services);
    spot.SetFullSize();
    spot.Update(kStep);
    EXPECT_EQ(spot.GetState(), SpotEffect::State::Idle);
    EXPECT_EQ(spot.GetAlpha(), 0);
    EXPECT_EQ(spot.GetHoleRect(), Quoll::Rect(512 - 600, 384 - 600, 1200, 1200));

    spot.Start(675, 500, 0.7f, 550, 550, 0.8f);
    for (int i = 0; i < 35; ++i)
        spot.Update(kStep);
    EXPECT_EQ(spot.GetState(), SpotEffect::State::Moving);
    for (int i = 0; i < 40; ++i)
        spot.Update(kStep);
    EXPECT_EQ(spot.GetState(), SpotEffect::State::Arrived);
    EXPECT_EQ(spot.GetAlpha(), 204);
    EXPECT_EQ(spot.GetHoleRect(), Quoll::Rect(400, 225, 550, 550));

    // Darkness 204 over white leaves 51 in the bands and in the hole's corners; the hole's
    // middle stays white; nothing is drawn twice where the bands meet.
    const auto px = frame.Draw(spot);
    EXPECT_EQ(SpotFrame::Red(px, 10, 10), 51);     // above
    EXPECT_EQ(SpotFrame::Red(px, 1000, 224), 51);  // above, right
    EXPECT_EQ(SpotFrame::Red(px, 399, 400), 51);   // left
    EXPECT_EQ(SpotFrame::Red(px, 950, 400), 51);   // right
    EXPECT_EQ(SpotFrame::Red(px, 402, 227), 51);   // a corner of the hole's image
    EXPECT_EQ(SpotFrame::Red(px, 675, 500), 255);  // the hole
    EXPECT_EQ(SpotFrame::Red(px, 675, 767), 255);  // the hole reaches below the screen

    // Back to the centre at full size, fading out; idle once there.
    spot.MoveToCentre(0.5f);
    for (int i = 0; i < 52; ++i)
        spot.Update(kStep);
    EXPECT_EQ(spot.GetState(), SpotEffect::State::Idle);
    EXPECT_EQ(spot.GetAlpha(), 0);
    const auto clear = frame.Draw(spot);
    EXPECT_EQ(SpotFrame::Red(clear, 10, 10), 255);
}

TEST(SpotEffect, AHoleOffTheLeftEdgeLeavesNoLeftBand)
{
    SpotFrame frame;
    SpotEffect spot(frame.services);
    spot.Update(kStep);
    spot.Start(0, 384, 0.1f, 200, 200, 1.0f);
    for (int i = 0; i < 12; ++i)
        spot.Update(kStep);
    EXPECT_EQ(spot.GetHoleRect(), Quoll::Rect(-100, 284, 200, 200));
    const auto px = frame.Draw(spot);
    EXPECT_EQ(SpotFrame::Red(px, 0, 384), 255);   // inside the hole
    EXPECT_EQ(SpotFrame::Red(px, 150, 384), 0);   // right band
    EXPECT_EQ(SpotFrame::Red(px, 50, 283), 0);    // above
    EXPECT_EQ(SpotFrame::Red(px, 50, 484), 0);    // below
}
} // namespace

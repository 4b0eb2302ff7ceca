// HUD avatars and the tube gauge: homes, blends and scales of the display states, boss hits,
// the hit test, the no-moves mark, and the tube's fill.
#include "FakePlayServices.h"
#include "PlayTestFixture.h"
#include "game/play/Avatar.h"
#include "game/play/HudAvatar.h"
#include "game/play/ProbirkaNode.h"

#include "framework/display/MemoryImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

class HudAvatarTest : public ::testing::Test
{
protected:
    HudAvatarTest()
    {
        ResetPlayGlobalsForTests();
        services.RegisterArt();
        for (int kind : {1, 2, 3, 8})
            Add("IMAGE_BODY" + std::to_string(kind), 200, 180);
        Add("IMAGE_NOMOVES", 30, 30);
        services.kinds = {1, 2, 3};
        int id = 400;
        for (const char* sound : {"SOUND_AVATARGLORIA_WIN", "SOUND_AVATARBOSS_WIN", "SOUND_AVATARENEMY_WIN",
                                  "SOUND_BOSS_BEATTEN1", "SOUND_AVATAR_FAIL"})
            services.RegisterSound(id++, sound);
    }
    ~HudAvatarTest() override { ResetPlayGlobalsForTests(); }

    void Add(const std::string& name, int w, int h)
    {
        auto image = std::make_unique<Quoll::MemoryImage>();
        image->Create(w, h);
        image->mFilePath = name;
        services.Register(2000 + static_cast<int>(images.size()), name, image.get());
        images.push_back(std::move(image));
    }
    // A HUD holding one avatar of the player, placed at home.
    HudAvatar& Make(int player)
    {
        auto* avatar = new HudAvatar(services);
        hud.AddChild(avatar);
        avatar->Init(player);
        avatar->ResetToHome();
        return *avatar;
    }
    static void Step(HudAvatar& a, int count)
    {
        for (int i = 0; i < count; ++i)
            a.Update(0.01f);
    }

    FakePlayServices services{11};
    std::vector<std::unique_ptr<Quoll::MemoryImage>> images;
    VisualNode hud;
};

TEST_F(HudAvatarTest, HomesAndScreenRects)
{
    HudAvatar& one = Make(1);
    EXPECT_EQ(one.GetHome(), (FloatPoint{20, 568}));
    EXPECT_EQ(Make(2).GetHome(), (FloatPoint{804, 20}));
    EXPECT_EQ(Make(3).GetHome(), (FloatPoint{804, 568}));
    EXPECT_EQ(one.HomePosition(7, 200, 180), (FloatPoint{20, 20}));
    EXPECT_EQ(one.GetScreenRect(), (Quoll::Rect{20, 568, 200, 180}));
    EXPECT_TRUE(one.HitTest(20, 568));
    EXPECT_TRUE(one.HitTest(219, 747));
    EXPECT_FALSE(one.HitTest(220, 600));
    EXPECT_FALSE(one.HitTest(100, 748));
    EXPECT_FALSE(one.HitTest(19, 600));
}

TEST_F(HudAvatarTest, BlendTimesAndScales)
{
    HudAvatar& a = Make(2);
    a.SetState(HudAvatar::ToMove);
    EXPECT_FLOAT_EQ(a.GetBlendDuration(), 0.2f);
    Step(a, 21);
    EXPECT_FALSE(a.IsBusy());
    // The avatar came 70 px toward the screen centre (plus its small wobble).
    const FloatPoint toward = a.TowardCentre(70);
    EXPECT_NEAR(std::hypot(toward.x, toward.y), 70.0f, 1e-3f);
    EXPECT_LT(toward.x, 0); // player 2 sits top right
    EXPECT_GT(toward.y, 0);
    const FloatPoint at = a.GetPosition();
    EXPECT_NEAR(at.x, a.GetHome().x + toward.x, 5.01f);
    EXPECT_NEAR(at.y, a.GetHome().y + toward.y, 5.01f);
    // From "to move" back to idle is quick; from any other state slow; elimination takes 1 s.
    a.SetState(HudAvatar::Idle);
    EXPECT_FLOAT_EQ(a.GetBlendDuration(), 0.2f);
    a.SetState(HudAvatar::Idle);
    EXPECT_FLOAT_EQ(a.GetBlendDuration(), 0.5f);
    a.SetState(HudAvatar::Eliminated);
    EXPECT_FLOAT_EQ(a.GetBlendDuration(), 1.0f);
    Step(a, 50);
    EXPECT_TRUE(a.IsBusy());
    EXPECT_NEAR(a.GetScale(), 0.75f, 0.02f);
    Step(a, 51);
    EXPECT_FALSE(a.IsBusy());
    EXPECT_GT(a.GetPosition().y, 1000);
}

TEST_F(HudAvatarTest, ScaleGrowsDuringTheBlendAndStaysAfterIt)
{
    HudAvatar& a = Make(1);
    a.SetState(HudAvatar::ToMove);
    Step(a, 10);
    EXPECT_NEAR(a.GetScale(), 1.1f, 0.011f);
    Step(a, 20);
    const float settled = a.GetScale();
    EXPECT_NEAR(settled, 1.2f, 0.011f);
    Step(a, 100);
    EXPECT_EQ(a.GetScale(), settled);
}

TEST_F(HudAvatarTest, FiveBossHitsThenIdle)
{
    services.kinds = {1, 8, 3};
    HudAvatar& boss = Make(2);
    EXPECT_TRUE(boss.IsBoss());
    Step(boss, 60); // the initial blend is over
    boss.StartBossHits(1.5f);
    int previous = 0;
    std::vector<int> hitSteps;
    for (int step = 1; step <= 200; ++step)
    {
        Step(boss, 1);
        const int now = services.CountParticles(84);
        if (now != previous)
            hitSteps.push_back(step);
        previous = now;
        if (step < 150)
        {
            ASSERT_TRUE(boss.IsBusy()) << step;
        }
    }
    ASSERT_EQ(hitSteps.size(), 5u);
    for (size_t i = 1; i < hitSteps.size(); ++i)
        EXPECT_NEAR(hitSteps[i] - hitSteps[i - 1], 30, 1);
    EXPECT_EQ(services.CountParticles(7), 5);
    EXPECT_EQ(services.CountSound("SOUND_BOSS_BEATTEN1"), 5);
    EXPECT_EQ(boss.GetState(), HudAvatar::Idle);
    EXPECT_FALSE(boss.IsBusy() && boss.GetState() == HudAvatar::BossHits);
}

TEST_F(HudAvatarTest, NoMovesMarkOnlyWhenIdleOrEliminated)
{
    HudAvatar& a = Make(1);
    a.SetNoMovesMark(true);
    RecordingImage screen;
    Quoll::Graphics g(&screen);
    const auto marks = [&] {
        screen.blits.clear();
        a.Draw(&g);
        int count = 0;
        for (const BlitRecord& b : screen.blits)
            count += b.source == "IMAGE_NOMOVES" ? 1 : 0;
        return count;
    };
    EXPECT_EQ(marks(), 1);
    for (int state : {1, 3, 4, 5, 6})
    {
        a.SetState(state);
        EXPECT_EQ(marks(), 0) << state;
    }
    a.SetState(HudAvatar::Eliminated);
    EXPECT_EQ(marks(), 1);
    // The cross blinks for a second and ends opaque.
    Step(a, 120);
    EXPECT_EQ(a.GetMarkAlpha(), 255);
}

TEST_F(HudAvatarTest, WinnerSoundsAndSelectingFreezes)
{
    services.kinds = {1, 8, 3};
    Make(1).SetState(HudAvatar::Winner);
    Make(2).SetState(HudAvatar::Winner);
    Make(3).SetState(HudAvatar::Winner);
    EXPECT_EQ(services.CountSound("SOUND_AVATARGLORIA_WIN"), 1);
    EXPECT_EQ(services.CountSound("SOUND_AVATARBOSS_WIN"), 1);
    EXPECT_EQ(services.CountSound("SOUND_AVATARENEMY_WIN"), 1);
    HudAvatar& hero = Make(1);
    Step(hero, 60);
    hero.SetState(HudAvatar::Selecting);
    const FloatPoint still = hero.GetPosition();
    Step(hero, 100);
    EXPECT_EQ(hero.GetPosition(), still);
    EXPECT_EQ(hero.GetAvatar()->GetScheduler().GetRequestedValue(), 2);
}

TEST_F(HudAvatarTest, BossGaugeRevivesAnEliminatedBoss)
{
    services.kinds = {1, 8, 3};
    HudAvatar& boss = Make(2);
    boss.CreateBossGauge();
    ASSERT_NE(boss.GetBossGauge(), nullptr);
    EXPECT_EQ(boss.GetBossGauge()->GetParent(), &hud);
    boss.SetState(HudAvatar::Eliminated);
    boss.SetBossHitPoints(0);
    EXPECT_EQ(boss.GetState(), HudAvatar::Eliminated);
    boss.SetBossHitPoints(3);
    EXPECT_EQ(boss.GetState(), HudAvatar::Idle);
    EXPECT_EQ(boss.GetBossGauge()->GetLevel(), 3);
}

TEST_F(HudAvatarTest, MissingBustIsAnEmptyAvatar)
{
    services.kinds = {5, 2, 3}; // no body5.mesh
    HudAvatar& a = Make(1);
    EXPECT_EQ(a.GetScreenRect(), (Quoll::Rect{0, 0, 0, 0}));
    EXPECT_FALSE(a.HitTest(0, 0));
    a.StartBossHits(0.5f);
    Step(a, 80);
    EXPECT_EQ(a.GetState(), HudAvatar::Idle);
    a.PlayDieEffect();
}

TEST(ProbirkaNode, FillGlidesAndClamps)
{
    FakePlayServices services;
    ProbirkaNode tube(services);
    tube.Init(61, 1);
    for (const auto& [level, fill] : {std::pair{1, 0.0f}, {31, 0.5f}, {61, 1.0f}, {90, 1.0f}})
    {
        tube.SetLevel(level);
        EXPECT_FLOAT_EQ(tube.GetTargetFill(), fill) << level;
    }
    tube.SetLevel(31);
    for (int i = 0; i < 40; ++i)
        tube.Update(0.01f);
    EXPECT_NEAR(tube.GetFill(), 0.25f, 0.01f); // from empty toward half
    // The same level again keeps the running glide.
    tube.SetLevel(31);
    EXPECT_NEAR(tube.GetTweenTime(), 0.4f, 0.001f);
    for (int i = 0; i < 41; ++i)
        tube.Update(0.01f);
    EXPECT_FLOAT_EQ(tube.GetFill(), 0.5f);

    // A tube of one (or none) is full at level 1 or more, without dividing by zero.
    ProbirkaNode one(services);
    one.Init(1, 8);
    one.SetLevel(1);
    EXPECT_FLOAT_EQ(one.GetTargetFill(), 1.0f);
    one.SetLevel(0);
    EXPECT_FLOAT_EQ(one.GetTargetFill(), 0.0f);
    ProbirkaNode none(services);
    none.Init(0, 8);
    none.SetLevel(5);
    EXPECT_FLOAT_EQ(none.GetTargetFill(), 1.0f);
}

TEST(ProbirkaNode, HalfATubeIsA65PixelColumn)
{
    FakePlayServices services;
    Quoll::MemoryImage liquid;
    liquid.Create(38 * 8, 130);
    liquid.mNumCols = 8;
    liquid.mFilePath = "IMAGE_PROBIRKA_FILL";
    services.Register(2100, "IMAGE_PROBIRKA_FILL", &liquid);
    ProbirkaNode tube(services);
    tube.Init(61, 2);
    tube.SetPosition({100, 50});
    tube.SetLevel(31);
    for (int i = 0; i < 81; ++i)
        tube.Update(0.01f);
    RecordingImage screen;
    Quoll::Graphics g(&screen);
    tube.Draw(&g);
    ASSERT_EQ(screen.blits.size(), 1u);
    EXPECT_EQ(screen.blits[0].x, 106);
    EXPECT_EQ(screen.blits[0].y, 50 + 138 - 65);
    EXPECT_EQ(screen.blits[0].srcRect, (Quoll::Rect{38, 0, 38, 130})); // the kind's cel, squeezed
    // Level 0 once the fill has drained draws no liquid.
    tube.SetLevel(0);
    for (int i = 0; i < 81; ++i)
        tube.Update(0.01f);
    screen.blits.clear();
    tube.Draw(&g);
    EXPECT_TRUE(screen.blits.empty());
}

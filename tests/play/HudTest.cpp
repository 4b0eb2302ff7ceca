// The HUD from successive parameter blocks: rebuilds, the step-back flash, eliminations, the
// boss, the active player, floating texts, the menu's pointer and the inventory's slots.
#include "FakePlayServices.h"
#include "PlayTestFixture.h"
#include "game/play/GameProgress.h"
#include "game/play/HUD.h"
#include "game/play/HudAvatar.h"
#include "game/play/InventoryView.h"
#include "game/play/ProbirkaNode.h"
#include "game/scene/StringNode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace
{
class RecordingMenu : public HudMenu
{
public:
    explicit RecordingMenu(std::vector<std::string>& log) : mLog(log) {}
    void SetLevelParams(const LevelParams& /*params*/) override { mLog.push_back("params"); }
    void FlashStepBack() override { mLog.push_back("flash"); }
    void SetStepBackCount(int count, bool enabled) override
    {
        mLog.push_back("count " + std::to_string(count) + (enabled ? " on" : " off"));
    }
    void Show() override { mLog.push_back("show"); }
    void Hide() override { mLog.push_back("hide"); }
    void MouseMove(int x, int y) override { mLog.push_back("move " + std::to_string(x) + " " + std::to_string(y)); }
    [[nodiscard]] bool IsActive() const override { return false; }
    void Update(float /*dt*/) override {}
    void Draw(Quoll::Graphics* /*g*/) override {}
    void Detach() override { mLog.push_back("detach"); }

private:
    std::vector<std::string>& mLog;
};

LevelParams Params(int players, int c1, int c2, int c3 = 0)
{
    LevelParams p;
    p.Init(61, players);
    p.playerCells[0] = c1;
    p.playerCells[1] = c2;
    p.playerCells[2] = c3;
    return p;
}
} // namespace

class HudTest : public ::testing::Test
{
protected:
    HudTest()
    {
        ResetPlayGlobalsForTests();
        services.RegisterArt();
        hud = std::make_unique<HUD>(services);
        hud->SetMenu(std::make_unique<RecordingMenu>(menu));
    }
    ~HudTest() override
    {
        hud.reset();
        ResetPlayGlobalsForTests();
    }
    int Count(const std::string& entry) const { return static_cast<int>(std::count(menu.begin(), menu.end(), entry)); }
    void Step(int count)
    {
        for (int i = 0; i < count; ++i)
            hud->Update(0.01f);
    }

    FakePlayServices services{21};
    std::vector<std::string> menu;
    std::unique_ptr<HUD> hud;
};

TEST_F(HudTest, StepBackFlashesOnABigLossOnly)
{
    hud->Build(Params(2, 20, 20));
    hud->SetLevelParams(Params(2, 17, 20));
    EXPECT_EQ(Count("flash"), 0);
    hud->SetLevelParams(Params(2, 20, 20));
    hud->SetLevelParams(Params(2, 16, 20));
    EXPECT_EQ(Count("flash"), 1);
    // A rebuild (three players now) never flashes.
    hud->SetLevelParams(Params(3, 2, 20, 5));
    EXPECT_EQ(Count("flash"), 1);
    EXPECT_NE(hud->GetAvatar(2), nullptr);
    hud->RefreshStepBackCounter(true);
    EXPECT_EQ(menu.back(), "count 3 on");
}

TEST_F(HudTest, EliminationsHappenOnceAndBuildsGoQuietly)
{
    services.registeredParticles.insert(95);
    hud->Build(Params(3, 20, 5, 0));
    EXPECT_EQ(hud->GetAvatar(2)->GetState(), HudAvatar::Eliminated);
    EXPECT_EQ(services.CountParticles(95), 0); // no effect when built eliminated
    hud->SetLevelParams(Params(3, 20, 0, 0));
    EXPECT_EQ(hud->GetAvatar(1)->GetState(), HudAvatar::Eliminated);
    EXPECT_EQ(services.CountParticles(95), 1);
    hud->SetLevelParams(Params(3, 21, 0, 0));
    EXPECT_EQ(services.CountParticles(95), 1);
    EXPECT_EQ(hud->GetProgress()->GetBacterium(1)->mColor.a, GameProgress::kEliminatedAlpha);
}

TEST_F(HudTest, BossIsBeatenByItsHitPoints)
{
    services.registeredParticles.insert(95);
    services.aiLevels = {0, 3, 1};
    LevelParams p = Params(2, 20, 20);
    p.playerAiLevels[1] = 3;
    hud->Build(p);
    ASSERT_EQ(hud->GetBossAvatar(), hud->GetAvatar(1));
    p.playerCells[1] = 0; // cells do not beat the boss
    hud->SetLevelParams(p);
    EXPECT_NE(hud->GetAvatar(1)->GetState(), HudAvatar::Eliminated);
    p.bossHitPoints = 0;
    hud->SetLevelParams(p);
    EXPECT_EQ(hud->GetAvatar(1)->GetState(), HudAvatar::Eliminated);
}

TEST_F(HudTest, ActivePlayerAndWinner)
{
    hud->Build(Params(2, 20, 20));
    hud->SetActivePlayer(0);
    EXPECT_EQ(hud->GetAvatar(0)->GetState(), HudAvatar::ToMove);
    EXPECT_FLOAT_EQ(hud->GetAvatar(0)->GetBlendDuration(), 0.5f); // the first turn glides slowly
    EXPECT_TRUE(hud->IsAnimating());
    hud->SetActivePlayer(1);
    EXPECT_EQ(hud->GetAvatar(0)->GetState(), HudAvatar::Idle);
    EXPECT_FLOAT_EQ(hud->GetAvatar(1)->GetBlendDuration(), 0.2f);
    hud->SetActivePlayer(5);
    EXPECT_EQ(hud->GetActiveAvatar(), 1);
    Step(60);
    EXPECT_FALSE(hud->IsAnimating());
    hud->ShowWinner(0);
    EXPECT_EQ(hud->GetAvatar(0)->GetState(), HudAvatar::Winner);
    EXPECT_EQ(hud->GetAvatar(1)->GetState(), HudAvatar::Eliminated);
    EXPECT_EQ(hud->GetActiveAvatar(), -1);
    EXPECT_TRUE(hud->GetProgress()->GetTube(0)->IsCelebrating());
}

TEST_F(HudTest, FloatingTextLifetime)
{
    hud->Build(Params(2, 20, 20));
    hud->ShowFloatingText(15, 9, 0.4f, 300, 300);
    ASSERT_EQ(hud->GetFloatingTexts().size(), 1u);
    const FloatingText& text = hud->GetFloatingTexts()[0];
    EXPECT_EQ(text.redFactor, 200);
    StringNode* node = text.node;
    Step(39);
    EXPECT_FALSE(node->mVisible);
    Step(2);
    EXPECT_TRUE(node->mVisible);
    Step(50); // 0.51 s into its life
    EXPECT_EQ(node->mColor.a, 255);
    EXPECT_LE(node->mColor.r, 255);
    EXPECT_LT(node->GetPosition().y, 270);
    Step(30); // 0.81 s: fading
    EXPECT_LT(node->mColor.a, 255);
    EXPECT_GT(node->mColor.a, 0);
    Step(41);
    EXPECT_TRUE(hud->GetFloatingTexts().empty());
    EXPECT_EQ(FloatingText::RedFactor(0), 0);
    EXPECT_EQ(FloatingText::RedFactor(-2), 0);
}

TEST_F(HudTest, MenuPointerFollowsTheInputSwitch)
{
    hud->Build(Params(2, 20, 20));
    hud->MouseMove(10, 20);
    hud->SetInputEnabled(false);
    hud->MouseMove(10, 20);
    EXPECT_EQ(menu[menu.size() - 2], "move 10 20");
    EXPECT_EQ(menu.back(), "move 1000 1000");
    hud.reset();
    EXPECT_EQ(menu.back(), "detach");
}

TEST_F(HudTest, InventorySlotsFollowTheBlocks)
{
    for (int id : {86, 87, 88})
        services.registeredParticles.insert(id);
    LevelParams p = Params(2, 20, 20);
    p.inventory[0] = 4;
    p.inventory[1] = 8;
    p.inventory[2] = 12;
    hud->Build(p);
    InventoryView* inventory = hud->GetInventory();
    ASSERT_NE(inventory->GetSlot(2), nullptr);
    EXPECT_EQ(inventory->GetSlot(1)->GetPosition(), (FloatPoint{50, -50}));
    p.inventory[0] = 0;
    p.inventory[1] = 0;
    p.inventory[2] = 0;
    hud->SetLevelParams(p);
    EXPECT_EQ(services.CountParticles(86), 1);
    EXPECT_EQ(services.CountParticles(87), 1);
    EXPECT_EQ(services.CountParticles(88), 1);
    EXPECT_EQ(inventory->GetSlot(0), nullptr);
    hud->SetLevelParams(p);
    EXPECT_EQ(services.CountParticles(86), 1);
}

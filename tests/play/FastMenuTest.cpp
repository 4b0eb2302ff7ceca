// The fast menu: its slide (tab, opening, open, closing), buttons visible only when open, the
// pointer over it taking clicks from the board, the commands of its buttons, the sound button's
// icon and hint, the step-back tab (icons, disabled state, slide-in and pulse), the medal goal
// with its rise and fall animations (sounds, particles, order), the random level's title, and the
// buttons drawn in the menu's layer.
// Rerun: test_play --gtest_filter='FastMenu*'.
#include "FastMenuFixture.h"

#include "game/play/HUD.h"

#include <gtest/gtest.h>

#include <cstdlib>

using Quoll::FastMenu;

TEST_F(FastMenuTest, TheTabComesDownThenOpensAndClosesUnderThePointer)
{
    EXPECT_EQ(menu->GetMenuState(), FastMenu::kHidden);
    EXPECT_EQ(menu->GetPanelX(), 212);
    menu->Show();
    EXPECT_EQ(menu->GetPanelY(), -160);
    // The tab is still coming down: the pointer over it does not open it yet.
    menu->MouseMove(500, 10);
    menu->Update(0.0625f);
    EXPECT_EQ(menu->GetPanelY(), -120);
    EXPECT_EQ(menu->GetMenuState(), FastMenu::kCollapsed);
    menu->MouseMove(500, 500);
    menu->Update(0.0625f);
    EXPECT_EQ(menu->GetPanelY(), -80);

    menu->MouseMove(500, 10);
    menu->Update(0.01f);
    EXPECT_EQ(menu->GetMenuState(), FastMenu::kOpening);
    EXPECT_TRUE(menu->IsActive());
    Step(6);
    EXPECT_EQ(menu->GetMenuState(), FastMenu::kOpening);
    EXPECT_FALSE(ButtonsVisible());
    // Off the panel halfway: it closes from where it was.
    const float reached = menu->GetSlide();
    menu->MouseMove(100, 10);
    Step(1);
    EXPECT_EQ(menu->GetMenuState(), FastMenu::kClosing);
    EXPECT_FALSE(menu->IsActive());
    Step(1);
    EXPECT_NEAR(menu->GetSlide(), reached - 0.08f, 1e-4f);
    menu->MouseMove(500, menu->GetPanelY() + 100);
    Step(20);
    EXPECT_EQ(menu->GetMenuState(), FastMenu::kOpen);
    EXPECT_EQ(menu->GetPanelY(), 0);
    EXPECT_TRUE(ButtonsVisible());
    EXPECT_TRUE(menu->GetButton(FastMenu::kStepBack)->mVisible);

    menu->MouseMove(500, 300);
    Step(1);
    EXPECT_EQ(menu->GetMenuState(), FastMenu::kClosing);
    EXPECT_FALSE(ButtonsVisible());
    Step(20);
    EXPECT_EQ(menu->GetMenuState(), FastMenu::kCollapsed);
    EXPECT_EQ(menu->GetPanelY(), -80);

    menu->Hide();
    EXPECT_FALSE(menu->GetButton(FastMenu::kStepBack)->mVisible);
}

TEST_F(FastMenuTest, APressOverTheOpeningMenuIsSwallowedButNotOverTheRestingTab)
{
    HUD hud(services);
    hud.SetMenu(FastMenu::Make(services, scene, &level));
    hud.ShowFastMenu();
    hud.Update(0.2f);
    hud.MouseMove(500, 10);
    EXPECT_FALSE(hud.IsFastMenuActive()) << "the collapsed tab takes no clicks";
    hud.Update(0.01f);
    EXPECT_TRUE(hud.IsFastMenuActive());
    hud.MouseMove(500, 400);
    EXPECT_FALSE(hud.IsFastMenuActive());
    // With input off the menu is told the pointer is nowhere.
    hud.MouseMove(500, 10);
    hud.SetInputEnabled(false);
    hud.MouseMove(500, 10);
    EXPECT_FALSE(hud.IsFastMenuActive());
}

TEST_F(FastMenuTest, ButtonsSendTheirCommandsAndTheMainMenuCollapsesFirst)
{
    menu->Show();
    OpenFully();
    for (int id : {FastMenu::kRestart, FastMenu::kStepBack, FastMenu::kMainMenu})
        menu->ButtonRelease(id);
    EXPECT_EQ(scene.commands, (std::vector<std::string>{"100 0", "102 0", "0 0 state 2"}));
    EXPECT_FALSE(ButtonsVisible());
}

TEST_F(FastMenuTest, TheSoundButtonTogglesItsIconAndHint)
{
    auto* sound = menu->GetButton(FastMenu::kSound);
    EXPECT_EQ(sound->mIcon, Image("IMAGE_SOUND_ON"));
    menu->Show();
    OpenFully();
    sound->mIsOver = true;
    menu->ButtonRelease(FastMenu::kSound);
    EXPECT_TRUE(services.muted);
    EXPECT_EQ(sound->mIcon, Image("IMAGE_SOUND_OFF"));
    EXPECT_EQ(sound->GetHintText(), L"Turn the sound on");
    EXPECT_TRUE(sound->IsHintShown());
    menu->ButtonRelease(FastMenu::kSound);
    EXPECT_FALSE(services.muted);
    EXPECT_EQ(sound->mIcon, Image("IMAGE_SOUND_ON"));
    EXPECT_EQ(sound->GetHintText(), L"Turn the sound off");
}

TEST_F(FastMenuTest, StepBackIconsAndTheDisabledButton)
{
    auto* button = menu->GetButton(FastMenu::kStepBack);
    menu->SetStepBackCount(3, true);
    EXPECT_EQ(button->mIcon, services.GetImageById(200));
    EXPECT_FALSE(button->mDisabled);
    menu->SetStepBackCount(1, true);
    EXPECT_EQ(button->mIcon, services.GetImageById(198));
    menu->SetStepBackCount(0, false);
    EXPECT_EQ(button->mIcon, nullptr);
    EXPECT_EQ(menu->GetStepBacks(), 0);
    EXPECT_TRUE(button->mDisabled);
    EXPECT_EQ(button->GetColor(Quoll::ButtonWidget::kColorLabel), Quoll::Color(0x33, 0x33, 0x33, 60));
    menu->SetStepBackCount(4, true);
    EXPECT_EQ(menu->GetStepBacks(), 0);
    EXPECT_FALSE(button->mDisabled);
}

TEST_F(FastMenuTest, TheTabSlidesInOnceThenPulsesForAThirdOfASecond)
{
    menu->Show();
    auto* button = menu->GetButton(FastMenu::kStepBack);
    EXPECT_EQ(menu->GetTabX(), -92);
    Step(50);
    EXPECT_EQ(menu->GetTabX(), -92) << "no tab without a counter";
    menu->SetStepBackCount(2, true);
    // A flash before the tab is in waits for the slide to end.
    menu->FlashStepBack();
    Step(50);
    EXPECT_GT(menu->GetTabX(), -5);
    EXPECT_EQ(menu->GetPulse(), 0.0f);
    Step(50);
    EXPECT_EQ(menu->GetTabX(), 0);
    EXPECT_EQ(button->mX, 12);
    // The pulse started as the slide ended and runs a third of a second.
    Step(32);
    EXPECT_LT(menu->GetPulse(), 1.0f);
    Step(2);
    EXPECT_EQ(menu->GetPulse(), 1.0f);
    EXPECT_EQ(button->GetColor(Quoll::ButtonWidget::kColorLabel), ColorLabel);
    menu->FlashStepBack();
    Step(10);
    EXPECT_NEAR(menu->GetPulse(), 0.3f, 1e-4f);
}

TEST_F(FastMenuTest, AMedalRiseFliesTheIconInThenSparklesAndChimes)
{
    SetRule(MedalMode::Cells, 30, 20);
    menu->Show();
    menu->SetLevelParams(Cells(10));
    EXPECT_EQ(menu->GetGoalIcon(), Image("IMAGE_ICON_CELL"));
    EXPECT_EQ(menu->GetBigMedalIcon(), Medal(0));
    EXPECT_EQ(menu->GetSmallMedalIcon(), Medal(1));
    EXPECT_EQ(menu->GetThresholdText(), L"20");
    EXPECT_EQ(menu->GetCountText(), L"10");
    EXPECT_EQ(menu->GetGoalColour(), Quoll::Color(220, 220, 220));
    EXPECT_TRUE(services.sounds.empty());

    // Bronze to silver.
    menu->SetLevelParams(Cells(22));
    EXPECT_EQ(services.sounds, (std::vector<std::string>{"SOUND_MEDAL_GOTFLYFX 1.00 0.00"}));
    EXPECT_EQ(menu->GetBigMedalIcon(), Medal(0));
    EXPECT_EQ(menu->GetSmallMedalIcon(), Medal(2));
    EXPECT_EQ(menu->GetMovingMedalIcon(), Medal(1));
    EXPECT_EQ(menu->GetThresholdText(), L"30");
    Step(1);
    EXPECT_EQ(menu->GetMovingX(), 341);
    Step(30);
    EXPECT_EQ(menu->GetMovingX(), 300);
    Step(28);
    EXPECT_EQ(menu->GetMovingX(), 262);
    EXPECT_EQ(services.CountParticles(10), 0);
    EXPECT_NEAR(StepsUntilLanded(), 1, 1);
    // Landed: the silver icon takes the big slot, medal2's sparkles and the chime follow.
    EXPECT_EQ(menu->GetBigMedalIcon(), Medal(1));
    EXPECT_EQ(menu->GetMovingMedalIcon(), nullptr);
    ASSERT_EQ(services.particles.size(), 1u);
    EXPECT_EQ(services.particles[0].id, 10);
    EXPECT_EQ(services.particles[0].x, 212 + 256 + 19);
    EXPECT_EQ(services.particles[0].y, -80 + 81 + 19);
    EXPECT_EQ(services.sounds.back(), "SOUND_MEDAL_GOTFX 1.00 0.00");
    Step(100);
    EXPECT_EQ(services.sounds.size(), 2u);
}

TEST_F(FastMenuTest, AMedalFallSparksAtOnceAndFliesTheOldIconOut)
{
    SetRule(MedalMode::Cells, 30, 20);
    menu->Show();
    menu->SetLevelParams(Cells(35));
    EXPECT_EQ(menu->GetBigMedalIcon(), Medal(2));
    // Gold to bronze: the fall of two grades moves the silver icon.
    menu->SetLevelParams(Cells(5));
    EXPECT_EQ(services.sounds, (std::vector<std::string>{"SOUND_MEDAL_LOOSEFX 1.00 0.00"}));
    ASSERT_EQ(services.particles.size(), 1u);
    EXPECT_EQ(services.particles[0].id, 97);
    EXPECT_EQ(menu->GetBigMedalIcon(), Medal(0));
    EXPECT_EQ(menu->GetMovingMedalIcon(), Medal(1));
    Step(1);
    EXPECT_EQ(menu->GetMovingX(), 262);
    Step(58);
    EXPECT_EQ(menu->GetMovingX(), 341);
    EXPECT_NEAR(StepsUntilLanded(), 1, 1);
    EXPECT_EQ(menu->GetSmallMedalIcon(), Medal(1));
    EXPECT_EQ(services.particles.size(), 1u);
    EXPECT_EQ(services.sounds.size(), 1u);
}

TEST_F(FastMenuTest, ARoundsGoalCountsRoundsAndDropsAsTheyPass)
{
    SetRule(MedalMode::Rounds, 10, 20);
    menu->SetLevelParams(Rounds(3));
    EXPECT_EQ(menu->GetGoalIcon(), Image("IMAGE_ICON_ROUND"));
    EXPECT_EQ(menu->GetMedalGrade(), 2);
    EXPECT_EQ(menu->GetThresholdText(), L"10");
    EXPECT_EQ(menu->GetCountText(), L"3");
    menu->SetLevelParams(Rounds(12));
    EXPECT_EQ(menu->GetMedalGrade(), 1);
    EXPECT_EQ(menu->GetThresholdText(), L"20");
    EXPECT_EQ(services.CountSound("SOUND_MEDAL_LOOSEFX"), 1);
    EXPECT_EQ(menu->GetGoalHint().mText, L"Win in as few rounds as you can");
}

TEST_F(FastMenuTest, ARandomLevelShowsItsTitleAndNoGoal)
{
    services.level = -2;
    Remake();
    menu->SetLevelParams(Cells(20));
    EXPECT_EQ(menu->GetGoalIcon(), nullptr);
    EXPECT_EQ(menu->GetTitleText(), L"Random dish");
    EXPECT_TRUE(menu->GetGoalHint().mText.empty());
    EXPECT_TRUE(services.sounds.empty());
}

TEST_F(FastMenuTest, TheGoalHintShowsOnlyOverItsArea)
{
    SetRule(MedalMode::Cells, 30, 20);
    Remake();
    menu->Show();
    OpenFully();
    menu->MouseMove(390, 95);
    EXPECT_EQ(menu->GetGoalHint().GetShownX(), 0);
    menu->MouseMove(450, 95);
    EXPECT_EQ(menu->GetGoalHint().GetShownX(), 397 - 70);
    EXPECT_EQ(menu->GetGoalHint().GetShownY(), 83 + 72);
    EXPECT_EQ(menu->GetGoalHint().mText, L"Hold as many cells as you can");
    menu->MouseMove(400, 600);
    EXPECT_EQ(menu->GetGoalHint().GetShownX(), 0);
}

// The menu's buttons are children of the screen widget but belong to the menu's layer: what the
// screen draws after the menu (the tutorial's panel, the pause shade) covers them as it covers
// the menu's panel.
TEST_F(FastMenuTest, TheButtonsDrawWithTheMenuUnderWhatTheScreenDrawsLater)
{
    menu->Show();
    OpenFully();
    const Quoll::Rect later(0, 70, 1024, 200);
    scene.draw = [this, &later](Quoll::Graphics* g) {
        menu->Draw(g);
        g->SetColor(Quoll::Color(0x20, 0xC0, 0x40));
        g->FillRect(later);
    };
    scene.Resize(0, 0, 1024, 768);
    ui.AddWidget(&scene);
    ui.Step();
    // Within 3 on each channel: the stretched face is filtered.
    const auto near = [](uint32_t a, uint32_t b) {
        for (int shift : {0, 8, 16})
            if (std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) > 3)
                return false;
        return true;
    };
    for (int id : {FastMenu::kMainMenu, FastMenu::kRestart, FastMenu::kSound})
    {
        const Quoll::Button* button = menu->GetButton(id);
        ASSERT_TRUE(button->mVisible);
        const uint32_t face = id == FastMenu::kRestart ? 0x3AB06Au : 0x3A6AB0u;
        EXPECT_TRUE(near(ui.Pixel(button->mX + 4, button->mY + 4), face)) << id;
        EXPECT_EQ(ui.Pixel(button->mX + 4, 80), 0x20C040u) << id;
    }
    ui.RemoveWidget(&scene);
}

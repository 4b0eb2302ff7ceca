// The main menu: its commands, the profile hint's timing and sound, the arrow's travel, the
// cursor switch with its program-wide salute count, the logo of the art language and the labels
// after a language switch; golden images on the 2D path.
#include "MenuTestDoubles.h"
#include "ScreenGallery.h"
#include "game/screens/MainMenu.h"
#include "game/ui/Button.h"
#include "tests/GoldenImage.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
using ScreenTest::FakeMenuServices;
using ScreenTest::ScreenHarness;
using Commands = std::vector<std::pair<int, int>>;

class MainMenuTest : public ::testing::Test
{
protected:
    MainMenuTest()
    {
        ScreenTest::AddMenuResources(harness);
        Quoll::MainMenu::ResetCursorSwitchClicks();
    }
    ~MainMenuTest() override { Quoll::MainMenu::ResetCursorSwitchClicks(); }

    Quoll::MainMenu* ShowMenu() { return harness.Show(new Quoll::MainMenu(services)); }
    // The pointer moved into the cursor switch and pressed there.
    void ClickCursorSwitch(const Quoll::MainMenu& menu)
    {
        const Quoll::Rect& r = menu.GetCursorSwitchRect();
        harness.ui.manager.MouseMove(r.x + 5, r.y + 5);
        harness.ui.manager.MouseDown(r.x + 5, r.y + 5, 1);
        harness.ui.manager.MouseUp(r.x + 5, r.y + 5, 1);
    }
    // Logic updates without drawing (the long waits).
    void Updates(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            harness.host.Update();
            harness.ui.manager.UpdateFrame();
        }
    }
    [[nodiscard]] int CountSound(const std::string& name) const
    {
        const auto names = harness.ui.SoundNames();
        return static_cast<int>(std::count(names.begin(), names.end(), name));
    }

    FakeMenuServices services;
    ScreenHarness harness;
};

TEST_F(MainMenuTest, KeysAndButtonsSendTheirCommands)
{
    Quoll::MainMenu* menu = ShowMenu();
    harness.Key(13);
    harness.Key(27);
    harness.Key('P');
    EXPECT_EQ(harness.Commands(), (Commands{{0, 0}, {5, 0}}));

    harness.Run();
    ASSERT_GT(menu->GetProfileHintAlpha(), 0.0f);
    harness.Click(*menu->GetButton(Quoll::MainMenu::kCredits));
    EXPECT_EQ(harness.Commands().back(), (std::pair<int, int>{3, 0}));
    // Releasing a button hides the hint at once.
    EXPECT_EQ(menu->GetProfileHintAlpha(), 0.0f);
    harness.Click(*menu->GetButton(Quoll::MainMenu::kProfile));
    EXPECT_EQ(harness.Commands().back(), (std::pair<int, int>{6, 0}));
    // The quit button stands 92 pixels below credits, the others 42 apart.
    EXPECT_EQ(menu->GetButton(Quoll::MainMenu::kQuit)->mY - menu->GetButton(Quoll::MainMenu::kCredits)->mY, 92);
    EXPECT_EQ(menu->GetButton(Quoll::MainMenu::kSettings)->mY - menu->GetButton(Quoll::MainMenu::kPlay)->mY, 42);
}

TEST_F(MainMenuTest, ProfileHintShowsOnTheProfileButtonAndFadesAfterLeavingIt)
{
    Quoll::MainMenu* menu = ShowMenu();
    menu->RefreshLabels();
    EXPECT_FLOAT_EQ(menu->GetProfileHintAlpha(), 0.2f);
    harness.ui.manager.MouseMove(5, 5);
    harness.Run();
    EXPECT_EQ(CountSound("SOUND_PROFILE_OVER"), 0);

    const Quoll::Button& profile = *menu->GetButton(Quoll::MainMenu::kProfile);
    harness.ui.manager.MouseMove(profile.mX + 10, profile.mY + 5);
    harness.Run();
    EXPECT_GE(menu->GetProfileHintAlpha(), 0.5f);
    Updates(60);
    EXPECT_FLOAT_EQ(menu->GetProfileHintAlpha(), 1.0f);
    EXPECT_EQ(CountSound("SOUND_PROFILE_OVER"), 1);

    // From full strength the hint is gone about two and a half seconds after the pointer left.
    harness.ui.manager.MouseMove(5, 5);
    Updates(240);
    EXPECT_GT(menu->GetProfileHintAlpha(), 0.0f);
    Updates(15);
    EXPECT_EQ(menu->GetProfileHintAlpha(), 0.0f);
    EXPECT_EQ(CountSound("SOUND_PROFILE_OVER"), 1);
}

// The cursor switch's hint is drawn while the pointer rests on the switch; it goes with the
// pointer when the pointer leaves the window and when a dialog over the menu takes the focus.
TEST_F(MainMenuTest, CursorSwitchHintGoesWhenTheMenuLosesThePointerOrTheFocus)
{
    Quoll::MainMenu* menu = ShowMenu();
    const Quoll::Rect r = menu->GetCursorSwitchRect();
    Quoll::WidgetManager& manager = harness.ui.manager;
    manager.MouseMove(r.x + 5, r.y + 5);
    EXPECT_TRUE(menu->IsCursorSwitchHovered());
    manager.MouseExit();
    EXPECT_FALSE(menu->IsCursorSwitchHovered());

    manager.MouseMove(r.x + 5, r.y + 5);
    ASSERT_TRUE(menu->IsCursorSwitchHovered());
    Quoll::Widget dialog;
    dialog.Resize(300, 200, 400, 300);
    manager.AddWidget(&dialog);
    manager.SetFocus(&dialog);
    EXPECT_FALSE(menu->IsCursorSwitchHovered());
    manager.RemoveWidget(&dialog);
}

// The profile hint wraps inside the part of its place that lies on the screen.
TEST(MainMenuHint, WrapsInsideTheScreen)
{
    EXPECT_EQ(Quoll::MainMenu::ProfileHintRect(1024), Quoll::Rect(750, 210, 274, 100));
    EXPECT_EQ(Quoll::MainMenu::ProfileHintRect(1280), Quoll::Rect(750, 210, 276, 100));
}

TEST_F(MainMenuTest, ArrowSwingsOverItsTravel)
{
    Quoll::MainMenu* menu = ShowMenu();
    // The start point (790, 117) is about 130.3 pixels from the anchor (898, 190), less 30.
    EXPECT_NEAR(menu->GetProfileArrow().GetTravel(), 100.3f, 0.1f);
    Updates(50); // half a swing: the tip at its closest to the anchor
    EXPECT_NEAR(menu->GetProfileArrow().GetLength(), 30.0f, 0.5f);
    Updates(50);
    EXPECT_NEAR(menu->GetProfileArrow().GetLength(), menu->GetProfileArrow().GetTravel() + 30.0f, 0.5f);
}

TEST_F(MainMenuTest, TenthCursorSwitchClickOverTwoMenusSetsOffTheSalute)
{
    Quoll::MainMenu* first = ShowMenu();
    // Before any mouse move, and outside the picture, a press does nothing.
    const Quoll::Rect r = first->GetCursorSwitchRect();
    first->MouseDown(r.x + 5, r.y + 5, 1, 1);
    harness.ui.manager.MouseMove(r.x - 5, r.y + 5);
    harness.ui.manager.MouseDown(r.x - 5, r.y + 5, 1);
    harness.ui.manager.MouseUp(r.x - 5, r.y + 5, 1);
    EXPECT_TRUE(services.events.empty());
    EXPECT_EQ(Quoll::MainMenu::GetCursorSwitchClicks(), 0);

    for (int i = 0; i < 6; ++i)
        ClickCursorSwitch(*first);
    EXPECT_EQ(Quoll::MainMenu::GetCursorSwitchClicks(), 6);
    EXPECT_FALSE(services.customCursors);
    EXPECT_FLOAT_EQ(first->GetCursorSwitchGlow(), 1.0f);
    harness.Close();

    Quoll::MainMenu* second = ShowMenu();
    for (int i = 0; i < 3; ++i)
        ClickCursorSwitch(*second);
    EXPECT_TRUE(services.spawns.empty());
    harness.ui.sounds.clear();
    ClickCursorSwitch(*second);

    EXPECT_EQ(services.events, std::vector<int>(10, Quoll::MainMenu::kAchievementCursorSwitch));
    EXPECT_EQ(CountSound("SOUND_BUTTON_SELECT"), 1);
    EXPECT_EQ(CountSound("SOUND_SALUT"), 1);
    ASSERT_EQ(harness.ui.sounds.size(), 3u);
    EXPECT_GE(harness.ui.sounds.back(), 362);
    EXPECT_LT(harness.ui.sounds.back(), 455);
    ASSERT_EQ(services.spawns.size(), 10u);
    for (const auto& spawn : services.spawns)
    {
        EXPECT_EQ(spawn.id, 93);
        EXPECT_TRUE(spawn.x >= 0 && spawn.x < 1024 && spawn.y >= 0 && spawn.y < 768);
    }
    EXPECT_EQ(Quoll::MainMenu::GetCursorSwitchClicks(), 0);
    // The eleventh click starts a new count.
    ClickCursorSwitch(*second);
    EXPECT_EQ(Quoll::MainMenu::GetCursorSwitchClicks(), 1);
    EXPECT_EQ(services.spawns.size(), 10u);
}

TEST_F(MainMenuTest, LogoComesFromTheArtLanguagesMesh)
{
    Quoll::MainMenu* menu = ShowMenu();
    ASSERT_NE(menu->GetLogoNode(), nullptr);
    EXPECT_EQ(services.meshes.back(), "data/art/textures/interface/logo_en.mesh 0.800000");
    EXPECT_EQ(menu->GetLogoNode()->GetPosition(), (FloatPoint{240.0f, 0.0f}));

    services.artLanguage = 1;
    menu->RefreshLabels();
    EXPECT_EQ(services.meshes.back(), "data/art/textures/interface/logo_alt.mesh 0.800000");
    EXPECT_EQ(menu->GetLogoNode()->GetPosition(), (FloatPoint{250.0f, 0.0f}));

    services.withLogo = false;
    menu->RefreshLabels();
    EXPECT_EQ(menu->GetLogoNode(), nullptr);
    harness.Run();
}

TEST_F(MainMenuTest, RefreshLabelsAfterALanguageSwitchKeepsTheProfileName)
{
    Quoll::MainMenu* menu = ShowMenu();
    EXPECT_EQ(menu->GetButton(Quoll::MainMenu::kProfile)->mLabel, L"Zoë");
    EXPECT_EQ(menu->GetButton(Quoll::MainMenu::kPlay)->mLabel, L"Play");
    harness.ui.texts["UI_PLAY_GAME"] = L"Spielen";
    harness.ui.texts["UI_QUIT"] = L"Beenden";
    menu->RefreshLabels();
    EXPECT_EQ(menu->GetButton(Quoll::MainMenu::kPlay)->mLabel, L"Spielen");
    EXPECT_EQ(menu->GetButton(Quoll::MainMenu::kQuit)->mLabel, L"Beenden");
    EXPECT_EQ(menu->GetButton(Quoll::MainMenu::kProfile)->mLabel, L"Zoë");
}

TEST_F(MainMenuTest, WithoutItsGroupTheMenuStaysEmptyAndDetachUnloadsIt)
{
    harness.ui.failingGroups.insert(Quoll::MainMenu::kGroup);
    Quoll::MainMenu* menu = ShowMenu();
    EXPECT_EQ(menu->GetButton(Quoll::MainMenu::kPlay), nullptr);
    EXPECT_EQ(menu->GetLink(), nullptr);
    harness.Close();
    EXPECT_EQ(harness.ui.groupCalls, (std::vector<std::string>{"load MainMenu", "unload MainMenu"}));
    EXPECT_EQ(services.particleKills, 1);
}

// --- Golden images --------------------------------------------------------------------------------

TEST(MainMenuGolden, WithItsHintAndAfterALanguageSwitch)
{
    FakeMenuServices services;
    auto harness = ScreenTest::MakeGalleryHarness();
    ASSERT_NE(harness, nullptr) << "no system font";
    ScreenTest::AddMenuResources(*harness);
    services.withLogo = false;
    auto* menu = harness->Show(new Quoll::MainMenu(services));
    harness->ui.manager.MouseMove(400, 580); // over the cursor switch: its hint shows too
    harness->Run(2);
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("screens", "main_menu", harness->ui.screen.GetBits(), 1024, 768));

    for (const auto& [key, text] : {std::pair<const char*, const wchar_t*>{"UI_PLAY_GAME", L"Spielen"},
                                    {"UI_SETTINGS", L"Einstellungen"}, {"UI_HIGH_SCORE", L"Bestenliste"},
                                    {"UI_CREDITS", L"Mitwirkende"}, {"UI_QUIT", L"Beenden"}})
        harness->ui.texts[key] = text;
    menu->RefreshLabels();
    harness->ui.manager.MouseMove(5, 5);
    harness->Run(2);
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("screens", "main_menu_language", harness->ui.screen.GetBits(),
                                                  1024, 768));
}
} // namespace

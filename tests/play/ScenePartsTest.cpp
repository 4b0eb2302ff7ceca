// The hidden objects and the fast menu plugged into a real game scene through its hooks: the
// objects drift over the background and are found and opened by id through the scene; the fast
// menu opens under the pointer, swallows presses over it, and its main-menu button sends the
// command that Escape sends (the in-game menu).
// Rerun: test_play --gtest_filter='SceneParts*'.
#include "SceneTestFixture.h"
#include "game/play/Bacteria.h"
#include "game/play/FastMenu.h"
#include "game/play/HOManager.h"
#include "game/play/HiddenObject.h"
#include "game/play/HudMenu.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <utility>
#include <vector>

namespace
{
SceneHooks RealHooks(PlayServices*& services)
{
    SceneHooks hooks;
    hooks.makeHiddenObjects = [&services] { return std::make_unique<HOManager>(*services); };
    hooks.makeFastMenu = [&services](GameScene& scene) { return Quoll::FastMenu::Make(*services, scene, nullptr); };
    return hooks;
}

LevelParams TwoPlayers()
{
    LevelParams p;
    p.Init(61, 2);
    p.playerCells[0] = 3;
    p.playerCells[1] = 3;
    return p;
}

class SceneParts : public ::testing::Test
{
protected:
    SceneParts() : h(7, RealHooks(mServices))
    {
        mServices = &h.services;
        h.services.level = -1;
        for (const auto& [name, w, h2] : {std::tuple{"IMAGE_FASTMENU_BG", 600, 130}, std::tuple{"IMAGE_BTN1", 160, 48},
                                          std::tuple{"IMAGE_BTN1_OVER", 160, 48}, std::tuple{"IMAGE_BTN2", 160, 48},
                                          std::tuple{"IMAGE_BTN2_OVER", 160, 48}})
        {
            mArt.push_back(UiTest::MakeImage(w, h2, 0xFF406080u));
            h.services.Register(4000 + static_cast<int>(mArt.size()), name, mArt.back().get());
        }
    }

    PlayServices* mServices = nullptr;
    std::vector<std::unique_ptr<Quoll::MemoryImage>> mArt;
    SceneHarness h;
};
} // namespace

TEST_F(SceneParts, HiddenObjectsAreFoundAndOpenedThroughTheScene)
{
    h.Show();
    auto* field = dynamic_cast<HOManager*>(h.scene->GetHiddenObjects());
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->GetChildren().size(), 10u);
    HiddenObject* visible = nullptr;
    for (int i = 0; i < 20000 && visible == nullptr; ++i)
    {
        h.Step();
        for (size_t k = 0; k < field->GetChildren().size() && visible == nullptr; ++k)
            if (field->GetObject(k)->GetState() == HiddenObject::State::Visible)
                visible = field->GetObject(k);
    }
    ASSERT_NE(visible, nullptr);
    const FloatPoint p = visible->GetBacterium()->GetDrawPosition();
    const int id = h.scene->FindHiddenObjectAt({static_cast<int>(p.x) + 2, static_cast<int>(p.y) + 2});
    ASSERT_NE(id, -1);
    h.scene->OpenHiddenObject(id);
    EXPECT_EQ(field->Find(id)->GetState(), HiddenObject::State::Caught);
    h.scene->OpenHiddenObject(1000);
}

TEST_F(SceneParts, TheFastMenusMainMenuButtonSendsTheEscapeCommandAndPressesOverItAreSwallowed)
{
    h.Show();
    h.scene->CreateHud(TwoPlayers());
    h.scene->ShowFastMenu();
    h.Step(30);
    h.ui.manager.MouseMove(512, 10);
    h.Step(30);
    // A press on the open panel, beside its buttons, does not reach the board.
    h.ui.manager.MouseMove(212 + 430, 120);
    h.Step(1);
    h.ui.manager.MouseDown(212 + 430, 120, 1);
    h.ui.manager.MouseUp(212 + 430, 120, 1);
    EXPECT_TRUE(h.link->commands.empty());
    // The main menu button.
    h.ui.manager.MouseMove(212 + 60, 60);
    h.Step(1);
    h.ui.manager.MouseDown(212 + 60, 60, 1);
    h.ui.manager.MouseUp(212 + 60, 60, 1);
    h.Step(1);
    h.ui.manager.KeyDown(GameScene::kKeyEscape);
    const std::vector<std::pair<int, int>> expected{{0, 0}, {0, 0}};
    EXPECT_EQ(h.link->commands, expected);
}

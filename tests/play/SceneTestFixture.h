#pragma once
// The game scene's harness: the scene shown by a recording play state on a real state host and
// widget manager (the widgets' fake services), the play services' fake with the synthetic art and
// a background picture, logic updates that advance the update clock, and a real level from the
// level texts under tests/play/data/levels driven by a LevelSession as the play state drives it
// (a press becomes the level's click at the press point, the level's commands reach the session).
#include "../ui/UiTestDoubles.h"
#include "FakePlayServices.h"
#include "game/level/LevelSession.h"
#include "game/level/RecordingLevelServices.h"
#include "game/play/GameScene.h"
#include "game/shell/StateHost.h"
#include "game/shell/WidgetLink.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

// The play state's part: shows the one scene and records its commands.
class SceneLink : public WidgetLink
{
public:
    SceneLink(StateHost& host, GameScene* scene) : WidgetLink(host, "PlayLevel"), mScene(scene) {}

    using WidgetLink::Detach;

    std::vector<std::pair<int, int>> commands;
    // Set while a level runs: its clicks and commands.
    LevelSession* session = nullptr;
    ScreenPoint lastPress;

protected:
    BaseWidget* CreateWidget() override { return std::exchange(mScene, nullptr); }
    void OnCommand(int command, int argument) override;

private:
    GameScene* mScene;
};

class SceneHarness
{
public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;

    explicit SceneHarness(uint32_t seed = 7, SceneHooks hooks = {});
    ~SceneHarness();
    SceneHarness(const SceneHarness&) = delete;
    SceneHarness& operator=(const SceneHarness&) = delete;

    // The play state enters: the scene is attached.
    void Show();
    // The play state leaves: the scene is detached, then deleted with the deferred deletions.
    void Close();
    // Logic updates: the clocks advance by 10 ms, the level (when one runs) updates, then the scene.
    void Step(int count = 1);
    // A press at the point as the play state sees it.
    void Press(int x, int y, int button = 0);
    void Press(ScreenPoint p) { Press(p.x, p.y); }

    // Compiles the level text of tests/play/data/levels/<name>.txt and starts it on the scene.
    bool StartLevel(const std::string& name);
    [[nodiscard]] Level& GetLevel() { return session->GetLevel(); }
    // The screen point of a cell's centre.
    [[nodiscard]] ScreenPoint CellPoint(int cell) const { return scene->GetCellCentre(cell); }

    UiTest::FakeUiServices ui;
    FakePlayServices services;
    StateHost host;
    std::vector<std::string> warnings;
    GameScene* scene = nullptr;
    std::unique_ptr<SceneLink> link;
    RecordingLevelServices levelServices;
    std::unique_ptr<LevelSession> session;

private:
    std::unique_ptr<Quoll::MemoryImage> mBackground;
    bool mShown = false;
};

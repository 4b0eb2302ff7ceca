// The game scene as the level's view and as the play screen's widget: its commands, when it is
// busy, moves, captures and placing with their timing, the end of a round, the cell choice by
// hovering, focus and activation, the background's fallback, the idle-input report, the
// achievement popup's pass and the hooks of the tutorial, hidden objects, quick menu and boss.
// Rerun: test_play --gtest_filter='GameScene*'
#include "PlayTestFixture.h"
#include "SceneTestFixture.h"
#include "game/play/HUD.h"
#include "game/play/HudAvatar.h"
#include "game/play/HudMenu.h"
#include "game/play/InventoryView.h"
#include "game/level/NullLevelServices.h"
#include "game/scene/Fone.h"
#include "game/scene/ZoomSFX.h"

#include <algorithm>

namespace
{
// Cells: 30 the middle of the board, 31 and 40 free around it.
Board BoardWithUnits()
{
    Board board = FullBoard(1);
    board.SetOwner(30, 1);
    board.SetOwner(2, 2);
    board.SetOwner(3, 2);
    board.SetOwner(58, 3);
    return board;
}

LevelParams ThreePlayers()
{
    LevelParams p;
    p.Init(61, 3);
    p.playerCells[0] = 1;
    p.playerCells[1] = 2;
    p.playerCells[2] = 1;
    return p;
}

class GameSceneTest : public ::testing::Test
{
protected:
    explicit GameSceneTest(SceneHooks hooks = {}) : h(7, std::move(hooks)) {}

    // Shown, with the board's units and a HUD, and idle.
    void ShowBoard()
    {
        h.Show();
        h.scene->BuildCellViews(BoardWithUnits());
        h.scene->SpawnUnits(BoardWithUnits());
        h.scene->CreateHud(ThreePlayers());
        RunUntilIdle();
    }
    void RunUntilIdle(int limit = 500)
    {
        for (int i = 0; i < limit && h.scene->IsBusy(); ++i)
            h.Step();
        ASSERT_FALSE(h.scene->IsBusy());
    }
    VCell& Cell(int id) { return *h.scene->GetBoardView()->FindCellView(id); }

    SceneHarness h;
};

TEST_F(GameSceneTest, EscapeSendsTheMenuCommandAndAPressTheClickWithItsButton)
{
    h.Show();
    EXPECT_EQ(h.scene->mWidth, 1024);
    EXPECT_EQ(h.scene->mHeight, 768);
    h.ui.manager.KeyDown(GameScene::kKeyEscape);
    h.ui.manager.MouseMove(300, 200);
    h.ui.manager.MouseDown(300, 200, -1); // the right button
    h.ui.manager.MouseUp(300, 200, -1);
    h.ui.manager.MouseDown(310, 200, 1);
    const std::vector<std::pair<int, int>> expected{{0, 0}, {1, 1}, {1, 0}};
    EXPECT_EQ(h.link->commands, expected);
}

TEST_F(GameSceneTest, IsBusyWhileBacteriaAreAwaitedOrTheBoardMovesOrTheZoomRuns)
{
    h.Show();
    // Attaching awaits idle bacteria: busy until the first update finds them.
    EXPECT_EQ(h.scene->GetAwaitedState(), 1);
    EXPECT_TRUE(h.scene->IsBusy());
    h.scene->BuildCellViews(BoardWithUnits());
    h.scene->SpawnUnits(BoardWithUnits());
    h.Step();
    EXPECT_TRUE(h.scene->IsBusy()) << "the new bacteria are being born";
    RunUntilIdle();
    EXPECT_EQ(h.scene->GetAwaitedState(), -1);

    // The board's hide transition; Enter snaps it to its end.
    h.scene->OnRoundOver();
    EXPECT_TRUE(h.scene->IsBusy());
    h.scene->KeyDown(GameScene::kKeyEnter);
    EXPECT_FALSE(h.scene->GetBoardView()->IsInTransition());
    EXPECT_FALSE(h.scene->IsBusy());

    // A zoom effect (one without a configuration is finished at once): busy and the HUD deaf
    // until the first draw finds it finished.
    h.scene->CreateHud(ThreePlayers());
    Quoll::ZoomConfigs configs;
    Quoll::ZoomSFX zoom(h.services, configs);
    h.scene->SetZoomEffect(&zoom);
    EXPECT_TRUE(h.scene->IsBusy());
    EXPECT_FALSE(h.scene->GetHud()->IsInputEnabled());
    RecordingImage screen;
    Quoll::Graphics g(&screen);
    h.scene->Draw(&g);
    EXPECT_EQ(h.scene->GetZoomEffect(), nullptr);
    EXPECT_TRUE(h.scene->GetHud()->IsInputEnabled());
    EXPECT_FALSE(h.scene->IsBusy());
}

TEST_F(GameSceneTest, IsBusyWhileTheRoundEndsTheHudAnimatesOrThePopupShowsItsCaption)
{
    ShowBoard();
    h.scene->SetLevelParams(ThreePlayers());
    // The first turn's avatar comes forward in 0.5 s.
    h.scene->SetActivePlayer(2);
    EXPECT_EQ(h.scene->GetHud()->GetActiveAvatar(), 1);
    EXPECT_TRUE(h.scene->IsBusy());
    h.Step(49);
    EXPECT_TRUE(h.scene->IsBusy());
    h.Step(2);
    EXPECT_FALSE(h.scene->IsBusy());

    h.services.popupTextShown = true;
    EXPECT_TRUE(h.scene->IsBusy());
    h.services.popupTextShown = false;

    // A player without cells does not become the active one.
    LevelParams p = ThreePlayers();
    p.playerCells[2] = 0;
    h.scene->SetLevelParams(p);
    h.scene->SetActivePlayer(3);
    EXPECT_EQ(h.scene->GetHud()->GetActiveAvatar(), 1);
}

TEST_F(GameSceneTest, FinishRoundCapturesTheLosersApartAndAPressCutsTheTimer)
{
    ShowBoard();
    h.scene->FinishRound(2);
    EXPECT_FLOAT_EQ(h.scene->GetEndOfRoundTimer(), 2.5f);
    EXPECT_EQ(h.scene->GetAwaitedState(), 1);
    EXPECT_EQ(h.scene->GetHud()->GetAvatar(1)->GetState(), HudAvatar::Winner);
    // Losers in cell-view order: 30 (player 1), then 58 (player 3); the winner's stay.
    Bacteria* first = Cell(30).GetBacteria();
    Bacteria* second = Cell(58).GetBacteria();
    EXPECT_EQ(first->GetRequestedState(), Bacteria::Capture);
    EXPECT_EQ(second->GetRequestedState(), Bacteria::Capture);
    EXPECT_EQ(first->GetCapturerPlayer(), 0);
    EXPECT_GE(first->GetDelay(), 0.0f);
    EXPECT_LE(first->GetDelay(), 0.15f);
    EXPECT_GE(second->GetDelay(), 0.05f);
    EXPECT_LE(second->GetDelay(), 0.2f);
    EXPECT_NE(Cell(2).GetBacteria()->GetRequestedState(), Bacteria::Capture);

    h.Step(100);
    EXPECT_NEAR(h.scene->GetEndOfRoundTimer(), 1.5f, 0.001f);
    EXPECT_TRUE(h.scene->IsBusy());
    h.Press(500, 400);
    EXPECT_EQ(h.scene->GetEndOfRoundTimer(), 0.0f);
    EXPECT_EQ(h.link->commands.back(), std::make_pair(1, 0));
}

TEST_F(GameSceneTest, ACloneAppearsAfterItsSourceBouncedAndATeleportsEffectFollowsTheUnit)
{
    ShowBoard();
    Bacteria* source = Cell(30).GetBacteria();
    h.scene->MoveBacterium(30, 31, true, kNoMoveEffect);
    Bacteria* clone = Cell(31).GetBacteria();
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(Cell(30).GetBacteria(), source);
    EXPECT_EQ(clone->GetValue(), 1);
    EXPECT_EQ(source->GetRequestedState(), Bacteria::Bounce);
    EXPECT_EQ(clone->GetRequestedState(), Bacteria::Move);
    EXPECT_FLOAT_EQ(clone->GetDelay(), 0.1f);
    // The source is in front of the clone in the units' layer.
    const auto& units = h.scene->GetBoardView()->GetLayer(BoardView::kUnitLayer)->GetChildren();
    EXPECT_EQ(units.back(), source);
    h.Step(9);
    EXPECT_GT(clone->GetDelay(), 0.0f) << "hidden for 0.1 s";
    h.Step(2);
    EXPECT_LE(clone->GetDelay(), 0.0f);
    RunUntilIdle();

    // A teleport: the unit leaves its cell and its effect starts at the source's centre.
    h.services.registeredParticles.insert(kTeleportMoveEffect);
    Bacteria* mover = Cell(30).GetBacteria();
    const FloatPoint from = Cell(30).GetCentre();
    const FloatPoint to = Cell(40).GetCentre();
    h.scene->MoveBacterium(30, 40, false, kTeleportMoveEffect);
    EXPECT_EQ(Cell(30).GetBacteria(), nullptr);
    EXPECT_EQ(Cell(40).GetBacteria(), mover);
    ASSERT_EQ(h.services.CountParticles(kTeleportMoveEffect), 1);
    const FakePlayServices::Particle& effect = h.services.particles.back();
    EXPECT_FLOAT_EQ(effect.x, from.x);
    EXPECT_FLOAT_EQ(effect.y, from.y);
    EXPECT_TRUE(h.scene->IsBusy());
    h.Step(25);
    EXPECT_GT(std::abs(effect.x - from.x) + std::abs(effect.y - from.y), 20.0f) << "under way";
    RunUntilIdle();
    EXPECT_NEAR(effect.x, to.x, 2.0f);
    EXPECT_NEAR(effect.y, to.y, 2.0f);

    // Moves from or to cells without the expected unit change nothing.
    h.scene->MoveBacterium(31, 99, false, kNoMoveEffect);
    h.scene->MoveBacterium(12, 13, true, kNoMoveEffect);
    EXPECT_NE(Cell(31).GetBacteria(), nullptr);
    EXPECT_EQ(Cell(13).GetBacteria(), nullptr);
}

TEST_F(GameSceneTest, PlacedBacteriaAreBornTwoHundredthsApartAndKindZeroClears)
{
    ShowBoard();
    CellSet cells;
    for (int id : {40, 11, 20})
        cells.Insert(id);
    h.scene->PlaceOnCells(2, cells);
    EXPECT_EQ(h.scene->GetAwaitedState(), 1);
    EXPECT_FLOAT_EQ(Cell(11).GetBacteria()->GetDelay(), 0.0f);
    EXPECT_FLOAT_EQ(Cell(20).GetBacteria()->GetDelay(), 0.02f);
    EXPECT_FLOAT_EQ(Cell(40).GetBacteria()->GetDelay(), 0.04f);
    EXPECT_EQ(Cell(40).GetBacteria()->GetValue(), 2);

    h.scene->PlaceOnCells(Bonus::Bomb, CellSet::Single(12));
    ASSERT_NE(Cell(12).GetBonus(), nullptr);
    EXPECT_EQ(Cell(12).GetBonus()->GetValue(), Bonus::Bomb);
    h.scene->PlaceOnCells(17, CellSet::Single(13));
    h.scene->PlaceOnCells(-1, CellSet::Single(13));
    EXPECT_EQ(Cell(13).GetBonus(), nullptr);
    EXPECT_EQ(Cell(13).GetBacteria(), nullptr);

    CellSet cleared = CellSet::Single(12);
    cleared.Insert(40);
    h.scene->PlaceOnCells(0, cleared);
    EXPECT_EQ(Cell(12).GetBonus(), nullptr);
    EXPECT_EQ(Cell(40).GetBacteria(), nullptr);
}

TEST_F(GameSceneTest, CapturesTakeTheSourcesPlayerAndCollectedBonusesFlyToTheInventory)
{
    ShowBoard();
    h.scene->StartCapture(2, 30, 0.0f);
    EXPECT_EQ(Cell(2).GetBacteria()->GetCapturerPlayer(), 1);
    h.scene->StartCaptureAt(3, -0.3f);
    EXPECT_EQ(Cell(3).GetBacteria()->GetCapturerPlayer(), 0);
    EXPECT_FLOAT_EQ(Cell(3).GetBacteria()->GetDelay(), 0.3f);
    RunUntilIdle();

    h.scene->PlaceOnCells(Bonus::Mine, CellSet::Single(20));
    RunUntilIdle();
    Bonus* bonus = Cell(20).GetBonus();
    h.scene->CollectBonus(20);
    EXPECT_EQ(Cell(20).GetBonus(), nullptr);
    EXPECT_EQ(h.scene->GetHud()->GetInventory()->GetSlot(0), bonus);
    EXPECT_EQ(bonus->GetRequestedState(), Bonus::Flying);
    // A cell without a bonus unit hands the HUD nothing.
    h.scene->CollectBonus(21);
    EXPECT_EQ(h.scene->GetHud()->GetInventory()->GetSlot(1), nullptr);
}

TEST_F(GameSceneTest, ABombHoverPicksAtMostThreeCellsInAscendingIds)
{
    ShowBoard();
    h.scene->BeginCellSelection(CellSelectionMode::Bomb, 3, kBombPickRadius, CellSet::AllCells());
    h.scene->SetChosenCells(CellSet::Single(31));
    const ScreenPoint p = h.scene->GetCellCentre(30);
    h.scene->MouseMove(p.x + 20, p.y + 5);
    std::vector<int> picked{99};
    h.scene->GetSelectedTargets(picked);
    ASSERT_EQ(picked.size(), 3u);
    EXPECT_TRUE(std::is_sorted(picked.begin(), picked.end()));
    EXPECT_EQ(std::count(picked.begin(), picked.end(), 30), 1);
    for (int id : picked)
        EXPECT_EQ(Cell(id).GetRequestedState(), id == 31 ? VCell::HoveredTarget : VCell::HoveredBombArea) << id;

    // Moving on restores the cells left behind.
    const ScreenPoint far = h.scene->GetCellCentre(50);
    h.scene->MouseMove(far.x, far.y);
    EXPECT_EQ(Cell(30).GetRequestedState(), VCell::Normal);

    // The end restores every state and forgets the targets; the last pick stays readable.
    h.scene->EndCellSelection();
    for (const VCell* view : h.scene->GetBoardView()->GetCellViews())
        EXPECT_EQ(view->GetRequestedState(), VCell::Normal);
    EXPECT_TRUE(h.scene->GetPicker().GetTargets().IsEmpty());
    h.scene->GetSelectedTargets(picked);
    EXPECT_EQ(picked.size(), 3u);
    EXPECT_TRUE(std::find(picked.begin(), picked.end(), 50) != picked.end());
    // Without a running choice a move picks nothing new.
    h.scene->MouseMove(p.x, p.y);
    EXPECT_EQ(Cell(30).GetRequestedState(), VCell::Normal);
    EXPECT_EQ(Play().lastMousePos.x, static_cast<float>(p.x));
}

TEST_F(GameSceneTest, ArmingABonusHoversAtTheLastPointerPosition)
{
    ShowBoard();
    const ScreenPoint p = h.scene->GetCellCentre(31);
    h.scene->MouseMove(p.x, p.y);
    LevelParams params = ThreePlayers();
    h.scene->SetLevelParams(params);
    h.scene->BeginCellSelection(CellSelectionMode::Target, 1, kCellPickRadius, CellSet::AllCells());
    params.armedSlot = 0;
    h.scene->SetLevelParams(params);
    EXPECT_EQ(Cell(31).GetRequestedState(), VCell::Hovered);
}

TEST_F(GameSceneTest, WithoutFocusNothingMovesAndThePauseCaptionIsDrawn)
{
    ShowBoard();
    UiTest::BlockFont font;
    h.services.fonts["FONT_FNT1"] = &font;
    h.services.texts["UI_PAUSE"] = L"PAUSE";
    h.scene->FinishRound(1);
    h.services.focus = false;
    const int popupUpdates = h.services.popupUpdates;
    h.Step(50);
    EXPECT_FLOAT_EQ(h.scene->GetEndOfRoundTimer(), 2.5f);
    EXPECT_EQ(h.services.popupUpdates, popupUpdates + 50) << "the popup runs on";

    const auto draw = [this](Quoll::MemoryImage& screen) {
        std::vector<uint32_t> white(1024 * 768, 0xFFFFFFFFu);
        screen.SetBits(white.data(), 1024, 768);
        Quoll::Graphics g(&screen);
        h.scene->Draw(&g);
    };
    Quoll::MemoryImage paused;
    draw(paused);
    // "PAUSE": 30 pixels wide, a 10-pixel box centred at (497, 379); the shadow 2 pixels lower right.
    const auto at = [](Quoll::MemoryImage& screen, int x, int y) { return screen.GetBits()[y * 1024 + x] & 0xFFFFFFu; };
    EXPECT_EQ(at(paused, 497, 380), 0xFFFFFFu);
    EXPECT_EQ(at(paused, 503, 387), 0x000000u) << "shadow";
    // Elsewhere the frame is dimmed.
    h.services.focus = true;
    Quoll::MemoryImage running;
    draw(running);
    EXPECT_LT(at(paused, 2, 2) & 0xFF, at(running, 2, 2) & 0xFF);
    EXPECT_NE(at(running, 497, 380), 0xFFFFFFu);
    h.Step();
    EXPECT_LT(h.scene->GetEndOfRoundTimer(), 2.5f);
}

TEST_F(GameSceneTest, ADeactivatedWindowDrawsOneMoreFrameThenNone)
{
    ShowBoard();
    const auto frame = [this] {
        RecordingImage screen;
        Quoll::Graphics g(&screen);
        h.scene->Draw(&g);
        return screen.blits.size();
    };
    EXPECT_GT(frame(), 0u);
    h.services.active = false;
    EXPECT_GT(frame(), 0u);
    EXPECT_EQ(frame(), 0u);
    EXPECT_EQ(frame(), 0u);
    h.services.active = true;
    EXPECT_GT(frame(), 0u);
}

TEST_F(GameSceneTest, AMissingBackgroundIsLoggedAndBackgroundOneTakesItsPlace)
{
    h.services.background = 5;
    GameScene* scene = new GameScene(h.services);
    SceneLink link(h.host, scene);
    h.host.PushState(link);
    EXPECT_EQ(scene->GetBackgroundIndex(), 5);
    EXPECT_TRUE(std::find(h.services.log.begin(), h.services.log.end(), "ERROR: Cannot load fone 5") !=
                h.services.log.end());
    ASSERT_TRUE(scene->HasBackground());
    EXPECT_EQ(scene->GetBackground()->GetLayers().size(), 1u);
    h.host.PopState();
}

TEST_F(GameSceneTest, InputAfterFifteenIdleMinutesOfTheUpdateClockIsReported)
{
    h.Show();
    h.services.clockMs += GameScene::kIdleInputMs;
    h.scene->MouseMove(10, 10);
    EXPECT_TRUE(h.services.events.empty()) << "exactly 15 minutes";
    h.services.clockMs += GameScene::kIdleInputMs + 1;
    h.scene->MouseDown(10, 10, 0, 1);
    h.scene->MouseMove(10, 10);
    EXPECT_EQ(h.services.events, std::vector<std::string>{"achievement 40"});
}

TEST_F(GameSceneTest, ThePopupAsksForTheOverlayPassWhilePending)
{
    ShowBoard();
    h.ui.Step();
    EXPECT_EQ(h.services.popupDraws, 0);
    h.services.popupPending = true;
    h.ui.Step();
    EXPECT_EQ(h.services.popupDraws, 1);
    EXPECT_GT(h.services.popupUpdates, 0) << "the manager's update advances it";
}

TEST_F(GameSceneTest, DetachFreesTheNodesAndKillsTheParticles)
{
    ShowBoard();
    h.services.SpawnParticleSystem(0, 1, 1);
    ASSERT_EQ(Play().boardView, h.scene->GetBoardView());
    h.Close();
    EXPECT_EQ(Play().boardView, nullptr);
    EXPECT_TRUE(h.services.particles.back().killed);
    EXPECT_EQ(h.ui.deleted.size(), 1u);
}

// --- Hooks ---------------------------------------------------------------------------------------

struct Record
{
    std::vector<std::string> calls;
    bool letClicksThrough = true;
    bool menuActive = false;
};

class FakeTutorial : public SceneTutorial
{
public:
    explicit FakeTutorial(Record& record) : mRecord(record) {}
    ~FakeTutorial() override { mRecord.calls.push_back("tutorial gone"); }
    void Start(GameScene&, BoardView&, int level) override { Log("start " + std::to_string(level)); }
    void Advance(int round, bool skip) override { Log("advance " + std::to_string(round) + (skip ? " skip" : "")); }
    void Update(float) override { ++updates; }
    void Draw(Quoll::Graphics*) override {}
    bool OnBoardClick(int x, int y) override
    {
        Log("click " + std::to_string(x) + " " + std::to_string(y));
        return mRecord.letClicksThrough;
    }
    [[nodiscard]] bool IsShowingStep() const override { return true; }
    void SetBossPortrait(HudAvatar* portrait) override { Log(portrait != nullptr ? "portrait" : "no portrait"); }
    int updates = 0;

private:
    void Log(const std::string& line) { mRecord.calls.push_back(line); }
    Record& mRecord;
};

class FakeHiddenObjects : public HiddenObjectField
{
public:
    explicit FakeHiddenObjects(Record& record) : mRecord(record) {}
    void Start(int runs) override { mRecord.calls.push_back("start " + std::to_string(runs)); }
    int FindAt(int x, int) const override { return x == 77 ? 4 : -1; }
    ScreenPoint GetCentre(int object) const override { return {object * 10, 5}; }
    void Open(int object) override { mRecord.calls.push_back("open " + std::to_string(object)); }
    void StopAll() override { mRecord.calls.push_back("stop all"); }

private:
    Record& mRecord;
};

class FakeMenu : public HudMenu
{
public:
    explicit FakeMenu(Record& record) : mRecord(record) {}
    void SetLevelParams(const LevelParams&) override {}
    void FlashStepBack() override {}
    void SetStepBackCount(int, bool) override {}
    void Show() override { mRecord.calls.push_back("menu show"); }
    void Hide() override { mRecord.calls.push_back("menu hide"); }
    void MouseMove(int, int) override {}
    bool IsActive() const override { return mRecord.menuActive; }
    void Update(float) override {}
    void Draw(Quoll::Graphics*) override {}
    void Detach() override { mRecord.calls.push_back("menu detach"); }

private:
    Record& mRecord;
};

Record gRecord;

SceneHooks RecordingHooks()
{
    SceneHooks hooks;
    hooks.makeTutorial = [](int level) -> std::unique_ptr<SceneTutorial> {
        if (level != 1)
            return nullptr;
        return std::make_unique<FakeTutorial>(gRecord);
    };
    hooks.makeHiddenObjects = [] { return std::make_unique<FakeHiddenObjects>(gRecord); };
    hooks.makeFastMenu = [](GameScene&) { return std::make_unique<FakeMenu>(gRecord); };
    return hooks;
}

class GameSceneHooksTest : public GameSceneTest
{
protected:
    GameSceneHooksTest() : GameSceneTest(RecordingHooks()) { gRecord = Record(); }
    ~GameSceneHooksTest() override { gRecord = Record(); }
};

TEST_F(GameSceneHooksTest, TheHiddenObjectsLieOnTheBackgroundAndAnswerForTheScene)
{
    ShowBoard();
    HiddenObjectField* field = h.scene->GetHiddenObjects();
    ASSERT_NE(field, nullptr);
    ASSERT_EQ(gRecord.calls.size(), 1u);
    const int runs = std::stoi(gRecord.calls[0].substr(6));
    EXPECT_GE(runs, 10);
    EXPECT_LE(runs, 19);
    EXPECT_EQ(field->GetParent(), h.scene->GetBackground());
    EXPECT_EQ(h.scene->FindHiddenObjectAt({77, 3}), 4);
    EXPECT_EQ(h.scene->FindHiddenObjectAt({78, 3}), -1);
    EXPECT_EQ(h.scene->GetHiddenObjectCentre(4), (ScreenPoint{40, 5}));
    h.scene->OpenHiddenObject(4);
    h.scene->FinishRound(1);
    EXPECT_EQ(gRecord.calls.back(), "stop all");
    EXPECT_EQ(gRecord.calls[1], "open 4");
    NullLevelServices levelServices;
    Level level(*h.scene, levelServices);
    EXPECT_EQ(h.scene->CreateBossLevel(level), nullptr) << "no boss hook";
}

TEST_F(GameSceneHooksTest, TheTutorialFollowsRoundsAndFiltersPressesWhileTheSceneIsIdle)
{
    ShowBoard();
    h.scene->StartTutorial();
    ASSERT_NE(h.scene->GetTutorial(), nullptr);
    EXPECT_TRUE(h.scene->HasTutorialStep());
    LevelParams p = ThreePlayers();
    h.scene->SetLevelParams(p);
    p.round = 2;
    p.armedSlot = 1;
    h.scene->SetLevelParams(p);
    h.scene->SetLevelParams(p);
    // The first line is the hidden objects' start.
    EXPECT_EQ(gRecord.calls.size(), 4u);
    EXPECT_EQ(gRecord.calls[1], "start 1");
    EXPECT_EQ(gRecord.calls[2], "advance 1");
    EXPECT_EQ(gRecord.calls[3], "advance 2 skip");

    const auto* tutorial = static_cast<const FakeTutorial*>(h.scene->GetTutorial());
    h.Step(3);
    EXPECT_EQ(tutorial->updates, 3);

    // A refused press stays in the scene; an accepted one goes on.
    gRecord.letClicksThrough = false;
    const size_t commands = h.link->commands.size();
    h.Press(100, 120);
    EXPECT_EQ(gRecord.calls.back(), "click 100 120");
    EXPECT_EQ(h.link->commands.size(), commands);
    // While busy the press bypasses the tutorial.
    h.scene->PlaceOnCells(1, CellSet::Single(40));
    ASSERT_TRUE(h.scene->IsBusy());
    h.Press(101, 120);
    EXPECT_EQ(gRecord.calls.back(), "click 100 120");
    EXPECT_EQ(h.link->commands.size(), commands + 1);
    h.Step();
    ASSERT_TRUE(h.scene->IsBusy());
    EXPECT_EQ(tutorial->updates, 3) << "no tutorial updates while busy";

    h.scene->SetOverlayNode(nullptr, h.scene->GetHud()->GetAvatar(0));
    EXPECT_EQ(gRecord.calls.back(), "portrait");
    // The end of the round closes it and the quick menu.
    h.scene->OnRoundOver();
    EXPECT_EQ(h.scene->GetTutorial(), nullptr);
    EXPECT_FALSE(h.scene->HasTutorialStep());
    EXPECT_EQ(gRecord.calls.back(), "menu hide");
    EXPECT_EQ(gRecord.calls[gRecord.calls.size() - 2], "tutorial gone");

    // Levels without steps get none.
    h.services.level = 2;
    h.scene->StartTutorial();
    EXPECT_EQ(h.scene->GetTutorial(), nullptr);
}

TEST_F(GameSceneHooksTest, AnOpenQuickMenuSwallowsPressesAndSurvivesTheHudsRebuild)
{
    ShowBoard();
    h.scene->ShowFastMenu();
    EXPECT_EQ(gRecord.calls.back(), "menu show");
    gRecord.menuActive = true;
    const size_t commands = h.link->commands.size();
    h.Press(10, 10);
    EXPECT_EQ(h.link->commands.size(), commands);
    gRecord.menuActive = false;

    // A second set-up (a step back) rebuilds the HUD; the menu stays.
    HUD* hud = h.scene->GetHud();
    h.scene->CreateHud(ThreePlayers());
    EXPECT_EQ(h.scene->GetHud(), hud);
    EXPECT_NE(gRecord.calls.back(), "menu detach");
    EXPECT_EQ(hud->GetAvatar(2)->GetPlayer(), 3);
    h.Close();
    EXPECT_EQ(gRecord.calls.back(), "menu detach");
}
} // namespace

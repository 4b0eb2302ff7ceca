#pragma once
// GameScene: the widget of the play screen and the level's view of it. It owns the screen's
// nodes (the background with the hidden objects, the board view, the HUD), turns the level's
// decisions into animations (moves, captures, placing, bonuses, the cell choice, the end of a
// round), tells the level when they are over (IsBusy), and routes input: presses to the tutorial
// and then as command 1 to the play state, Escape as command 0, pointer moves to the cell choice
// and the HUD. While the application has lost the focus it stands still under a pause caption;
// while a zoom effect runs it shows only the background and the effect.
//
// The tutorial, the hidden objects, the quick menu and the boss come from SceneHooks; without
// them the scene runs without those parts.
#include "game/board/LevelParams.h"
#include "game/level/LevelView.h"
#include "game/play/CellPicker.h"
#include "game/play/SceneHooks.h"
#include "game/ui/QuollWidget.h"

#include <cstdint>
#include <memory>

class BoardView;
class Fone;
class HUD;
class PlayServices;

namespace Quoll
{
class ZoomSFX;
}

class GameScene : public QuollWidget, public LevelView
{
public:
    enum Command
    {
        kCommandMenu = 0,  // Escape: the in-game menu
        kCommandClick = 1, // a press for the level, with its mouse button
    };
    static constexpr int kKeyEnter = 13;
    static constexpr int kKeyEscape = 27;
    // Milliseconds of the update clock without input after which the next input is reported.
    static constexpr uint32_t kIdleInputMs = 15 * 60 * 1000;
    static constexpr int kIdleAchievementEvent = 40;
    static constexpr float kEndOfRoundTime = 2.5f;
    // Delays between the losers' captures at the end of a round and between placed bacteria.
    static constexpr float kLoserCaptureStagger = 0.05f;
    static constexpr float kPlaceStagger = 0.02f;
    static constexpr int kIdleBacteriumState = 1;
    static constexpr int kNoAwaitedState = -1;
    static constexpr int kOverlayPriority = 10;
    static constexpr int kFallbackBackground = 1;
    // Runs of the hidden objects: the base and the random extra.
    static constexpr int kHiddenObjectRuns = 10;
    static constexpr int kHiddenObjectExtraRuns = 10;

    // Reads the current level's background number and starts the input clock.
    explicit GameScene(PlayServices& services, SceneHooks hooks = {});
    ~GameScene() override;

    // --- The play state ----------------------------------------------------------------------------
    // Sizes the widget, joins the widget manager, then builds the background, the hidden objects
    // and the board view.
    void Attach(WidgetLink* link) override;
    // Frees the nodes, leaves the widget manager (the widget is deleted later) and kills every
    // particle system.
    void Detach() override;
    // Sends (command, 0) through the link.
    virtual void PostCommand(int command);
    // winner: player 1..3.
    void FinishRound(int winner);
    // The effect (not owned) runs until the update or the draw that finds it finished; the HUD
    // takes no input meanwhile.
    void SetZoomEffect(Quoll::ZoomSFX* effect);
    // The board hides, the tutorial goes, the quick menu closes.
    void OnRoundOver();
    // The boss's node, updated and drawn above the board (not owned), and its portrait for the
    // tutorial.
    void SetOverlayNode(VisualNode* node, HudAvatar* portrait);

    // --- Widget ------------------------------------------------------------------------------------
    void Update() override;
    void Draw(Quoll::Graphics* g) override;
    void DrawOverlay(Quoll::Graphics* g) override;
    void KeyDown(int keyCode) override;
    void MouseMove(int x, int y) override;
    using Quoll::Widget::MouseDown;
    void MouseDown(int x, int y, int button, int clickCount) override;

    // --- LevelView: the scene ----------------------------------------------------------------------
    void BeginCellSelection(CellSelectionMode mode, int count, int radius, CellSet offered) override;
    void EndCellSelection() override;
    void SetChosenCells(CellSet cells) override;
    void GetSelectedTargets(std::vector<int>& cells) override;
    void SetActivePlayer(int player) override;
    void SetAvatarCellMark(int player, bool canMove) override;
    void ShowHeroAvatarState() override;
    void MoveBacterium(int from, int to, bool clone, int effect) override;
    void StartCapture(int cell, int source, float time) override;
    void StartCaptureAt(int cell, float time) override;
    void ShowFloatingText(int value, int style, float delay, ScreenPoint at) override;
    void PlaceOnCells(int kind, CellSet cells) override;
    void ActivateCellBonus(int cell, float delay) override;
    void CollectBonus(int cell) override;
    void SetLevelParams(const LevelParams& params) override;
    void CreateHud(const LevelParams& params) override;
    void ShowFastMenu() override;
    [[nodiscard]] bool IsBusy() const override;
    void StartTutorial() override;
    void CloseTutorial() override;
    [[nodiscard]] bool HasTutorialStep() const override;
    [[nodiscard]] int FindHiddenObjectAt(ScreenPoint point) const override;
    [[nodiscard]] ScreenPoint GetHiddenObjectCentre(int object) const override;
    void OpenHiddenObject(int object) override;

    // --- LevelView: the board view -----------------------------------------------------------------
    void BuildCellViews(const Board& board) override;
    void SpawnUnits(const Board& board) override;
    void CentreOnScreen() override;
    [[nodiscard]] int CellAtPoint(ScreenPoint point) const override;
    [[nodiscard]] int GetCellViewKind(int cell) const override;
    [[nodiscard]] ScreenPoint GetCellCentre(int cell) const override;
    void ResetCellStates() override;
    void HighlightCell(int cell) override;
    void SetCellsState(CellSet cells, CellViewState state) override;
    void AddCellSetEffect(CellSet cells, float a, float b, float c, float d) override;
    void AddBacteria(int cell, int player, float delay) override;
    void AddBonus(int cell, int bonusCode, float delay) override;
    void SetCellExplosionTimer(int cell, float time) override;
    void ClearCellUnits(int cell) override;
    void SetCellViewKind(int cell, int kind) override;

    // --- LevelView: HUD, background, link ----------------------------------------------------------
    void RefreshStepBackCounter(bool stored) override;
    [[nodiscard]] bool HasBackground() const override;
    void StartBackgroundFlash(float seconds) override;
    // Both the widget's and the level's way to the play state.
    void SendToLink(int command, int argument) override;
    // The hooks' boss; null without one.
    std::unique_ptr<BossLevelInterface> CreateBossLevel(Level& level) override;

    // --- Reading -----------------------------------------------------------------------------------
    [[nodiscard]] BoardView* GetBoardView() const { return mBoardView.get(); }
    [[nodiscard]] HUD* GetHud() const { return mHud.get(); }
    [[nodiscard]] Fone* GetBackground() const { return mBackground.get(); }
    [[nodiscard]] HiddenObjectField* GetHiddenObjects() const { return mHiddenObjects; }
    [[nodiscard]] SceneTutorial* GetTutorial() const { return mTutorial.get(); }
    [[nodiscard]] VisualNode* GetOverlayNode() const { return mOverlayNode; }
    [[nodiscard]] Quoll::ZoomSFX* GetZoomEffect() const { return mZoomEffect; }
    [[nodiscard]] const LevelParams& GetParams() const { return mParams; }
    [[nodiscard]] const CellPicker& GetPicker() const { return mPicker; }
    [[nodiscard]] float GetEndOfRoundTimer() const { return mEndOfRoundTimer; }
    [[nodiscard]] int GetAwaitedState() const { return mAwaitedState; }
    [[nodiscard]] int GetBackgroundIndex() const { return mBackgroundIndex; }
    void SetDrawParticles(bool draw) { mDrawParticles = draw; }

private:
    // Forgets the finished zoom effect and gives the HUD its input back.
    void EndZoomEffect();
    void LoadBackground();
    void StartHiddenObjects();
    // Every mouse move and press: reports input after a long idle time, then restarts the clock.
    void NoteInput();
    void DrawPause(Quoll::Graphics* g);
    // False while the application is inactive, after the one frame drawn on the change.
    bool DrawsThisFrame();

    PlayServices& mServices;
    SceneHooks mHooks;
    bool mDrawParticles = true;
    float mEndOfRoundTimer = 0;
    int mBackgroundIndex = 0;
    std::unique_ptr<BoardView> mBoardView;
    VisualNode* mOverlayNode = nullptr;
    LevelParams mParams;
    std::unique_ptr<Fone> mBackground;
    std::unique_ptr<HUD> mHud;
    // A child of the background, which owns it.
    HiddenObjectField* mHiddenObjects = nullptr;
    Quoll::ZoomSFX* mZoomEffect = nullptr;
    int mAwaitedState = kNoAwaitedState;
    CellPicker mPicker;
    std::unique_ptr<SceneTutorial> mTutorial;
    // A new tutorial waits for the next parameter block's round.
    bool mTutorialAwaitsRound = false;
    uint32_t mLastInputMs = 0;
    // The inactive application's one frame has been drawn.
    bool mDrewInactiveFrame = false;
};

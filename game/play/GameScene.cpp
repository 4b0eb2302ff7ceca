#include "game/play/GameScene.h"

#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "game/play/Bacteria.h"
#include "game/play/BoardView.h"
#include "game/play/Bonus.h"
#include "game/play/HUD.h"
#include "game/play/HudMenu.h"
#include "game/play/PlayGlobals.h"
#include "game/play/VCell.h"
#include "game/scene/Fone.h"
#include "game/scene/ZoomSFX.h"
#include "game/shell/PlayServices.h"

#include <string>

namespace
{
ScreenPoint ToScreenPoint(const FloatPoint& p)
{
    return {static_cast<int>(p.x), static_cast<int>(p.y)};
}

// Kinds of PlaceOnCells.
constexpr int kClearKind = 0;
constexpr int kFirstPlayerKind = 1;
constexpr int kLastPlayerKind = 3;
constexpr int kLastBonusKind = 16;
// The pause screen's dimming.
const Quoll::Color kPauseShade(0, 0, 0, 100);
} // namespace

GameScene::GameScene(PlayServices& services, SceneHooks hooks)
    : mServices(services), mHooks(std::move(hooks)), mBackgroundIndex(services.GetLevelBackground()),
      mLastInputMs(services.GetUpdateClockMs())
{
    mParams.Reset();
}

GameScene::~GameScene()
{
    // Detach normally frees these; a scene destroyed while attached lets them go in this order.
    mTutorial.reset();
    mBoardView.reset();
    mHiddenObjects = nullptr;
    mBackground.reset();
    mHud.reset();
}

// --- The play state ------------------------------------------------------------------------------

void GameScene::Attach(WidgetLink* link)
{
    Resize(0, 0, mServices.GetAppWidth(), mServices.GetAppHeight());
    QuollWidget::Attach(link);
    LoadBackground();
    StartHiddenObjects();
    mBoardView = std::make_unique<BoardView>(mServices);
    mBoardView->InitLayers();
    mAwaitedState = kIdleBacteriumState;
}

void GameScene::LoadBackground()
{
    mBackground = std::make_unique<Fone>(mServices);
    if (mBackground->LoadByIndex(mBackgroundIndex))
        return;
    mServices.LogError("Cannot load fone " + std::to_string(mBackgroundIndex));
    mBackground = std::make_unique<Fone>(mServices);
    mBackground->LoadByIndex(kFallbackBackground);
}

void GameScene::StartHiddenObjects()
{
    // Drawn whether or not the hidden objects are plugged in, so the later draws stay the same.
    const int runs = kHiddenObjectRuns + mServices.RandInt(kHiddenObjectExtraRuns);
    if (!mHooks.makeHiddenObjects)
        return;
    std::unique_ptr<HiddenObjectField> field = mHooks.makeHiddenObjects();
    if (!field)
        return;
    field->Start(runs);
    mHiddenObjects = field.release();
    mBackground->InsertChild(mHiddenObjects);
}

void GameScene::Detach()
{
    CloseTutorial();
    if (mBoardView)
        mBoardView->Clear();
    mBoardView.reset();
    mBackground.reset();
    mHiddenObjects = nullptr;
    // The HUD goes first so that its quick menu lets go of its buttons while they are still the
    // scene's children.
    mHud.reset();
    QuollWidget::Detach();
    mServices.KillAllParticles();
    mOverlayNode = nullptr;
}

void GameScene::PostCommand(int command)
{
    SendToLink(command, 0);
}

void GameScene::FinishRound(int winner)
{
    if (mHiddenObjects != nullptr)
        mHiddenObjects->StopAll();
    mEndOfRoundTimer = kEndOfRoundTime;
    if (mBoardView)
    {
        int order = 0;
        for (VCell* view : mBoardView->GetCellViews())
        {
            Bacteria* bacterium = view->GetBacteria();
            if (bacterium == nullptr || bacterium->GetValue() == winner)
                continue;
            bacterium->StartCapture(nullptr, kLoserCaptureStagger * static_cast<float>(order));
            ++order;
        }
    }
    mAwaitedState = kIdleBacteriumState;
    if (mHud)
        mHud->ShowWinner(winner - 1);
}

void GameScene::SetZoomEffect(Quoll::ZoomSFX* effect)
{
    mZoomEffect = effect;
    if (mHud)
        mHud->SetInputEnabled(false);
}

void GameScene::EndZoomEffect()
{
    mZoomEffect = nullptr;
    if (mHud)
        mHud->SetInputEnabled(true);
}

void GameScene::OnRoundOver()
{
    if (mBoardView)
        mBoardView->StartTransition(false);
    CloseTutorial();
    if (mHud)
        mHud->HideFastMenu();
}

void GameScene::SetOverlayNode(VisualNode* node, HudAvatar* portrait)
{
    mOverlayNode = node;
    if (mTutorial)
        mTutorial->SetBossPortrait(portrait);
}

// --- Widget --------------------------------------------------------------------------------------

void GameScene::Update()
{
    const float dt = mServices.GetFrameTime();
    MarkDirty();
    mServices.UpdateAchievementPopup(dt);
    // Without the focus the level is paused.
    if (!mServices.HasFocus())
        return;
    if (mEndOfRoundTimer > 0)
        mEndOfRoundTimer -= dt;
    if (mHud)
        mHud->Update(dt);
    if (mBackground)
        mBackground->Update(dt);
    mServices.UpdateParticles(dt);
    if (mZoomEffect != nullptr)
    {
        mZoomEffect->Update(dt);
        // Its end is the update's, not a frame's: updates run without drawing when frames are
        // skipped, and the level waits for the scene.
        if (mZoomEffect->IsFinished())
            EndZoomEffect();
        return;
    }
    if (mBoardView)
        mBoardView->Update(dt);
    if (mOverlayNode != nullptr)
        mOverlayNode->Update(dt);
    if (mTutorial && !IsBusy())
        mTutorial->Update(dt);
    if (mAwaitedState != kNoAwaitedState && mBoardView && mBoardView->AllBacteriaInState(mAwaitedState))
        mAwaitedState = kNoAwaitedState;
}

bool GameScene::DrawsThisFrame()
{
    if (mServices.IsActive())
    {
        mDrewInactiveFrame = false;
        return true;
    }
    if (mDrewInactiveFrame)
        return false;
    mDrewInactiveFrame = true;
    return true;
}

void GameScene::Draw(Quoll::Graphics* g)
{
    if (!DrawsThisFrame())
        return;
    if (mBackground)
        mBackground->Draw(g);
    if (mZoomEffect != nullptr)
    {
        mZoomEffect->Draw(g);
        if (mZoomEffect->IsFinished())
            EndZoomEffect();
        return;
    }
    if (mBoardView)
        mBoardView->Draw(g);
    if (mHud)
        mHud->Draw(g);
    if (mDrawParticles)
        mServices.DrawParticles(g);
    if (mOverlayNode != nullptr)
        mOverlayNode->Draw(g);
    if (mTutorial)
        mTutorial->Draw(g);
    if (!mServices.HasFocus())
        DrawPause(g);
    if (mServices.IsAchievementPopupPending())
        DeferOverlay(kOverlayPriority);
}

void GameScene::DrawPause(Quoll::Graphics* g)
{
    g->SetColor(kPauseShade);
    g->FillRect(0, 0, mWidth, mHeight);
    Quoll::Font* font = mServices.GetFont("FONT_FNT1");
    if (font == nullptr)
        return;
    const std::wstring text = mServices.GetText("UI_PAUSE");
    const int x = (mWidth - font->StringWidth(text)) / 2;
    // The text's box is centred; strings are drawn from their baseline.
    const int y = (mHeight - font->GetHeight()) / 2 + font->GetAscent();
    g->SetFont(font);
    g->SetColor(Quoll::Color::Black);
    g->DrawString(text, x + 2, y + 2);
    g->SetColor(Quoll::Color::White);
    g->DrawString(text, x, y);
}

void GameScene::DrawOverlay(Quoll::Graphics* g)
{
    mServices.DrawAchievementPopup(g);
}

void GameScene::NoteInput()
{
    const uint32_t now = mServices.GetUpdateClockMs();
    if (now - mLastInputMs > kIdleInputMs)
        mServices.OnAchievementEvent(kIdleAchievementEvent);
    mLastInputMs = now;
}

void GameScene::KeyDown(int keyCode)
{
    mEndOfRoundTimer = 0;
    if (keyCode == kKeyEnter && mBoardView)
        mBoardView->FinishTransition();
    else if (keyCode == kKeyEscape)
        PostCommand(kCommandMenu);
}

void GameScene::MouseMove(int x, int y)
{
    NoteInput();
    if (mBoardView)
    {
        Play().lastMousePos = {static_cast<float>(x), static_cast<float>(y)};
        if (mPicker.IsRunning())
            mPicker.Hover(*mBoardView, static_cast<float>(x), static_cast<float>(y));
    }
    if (mHud && mZoomEffect == nullptr)
        mHud->MouseMove(x, y);
}

void GameScene::MouseDown(int x, int y, int button, int /*clickCount*/)
{
    NoteInput();
    if (mHud && mHud->IsFastMenuActive())
        return;
    // A press while busy goes to the play state unfiltered (the level ignores it then).
    if (mTutorial && !IsBusy() && !mTutorial->OnBoardClick(x, y))
        return;
    mEndOfRoundTimer = 0;
    SendToLink(kCommandClick, button);
}

// --- LevelView: the scene ------------------------------------------------------------------------

void GameScene::BeginCellSelection(CellSelectionMode mode, int count, int radius, CellSet offered)
{
    if (mBoardView)
        mPicker.Begin(*mBoardView, static_cast<int>(mode), count, radius, offered);
}

void GameScene::EndCellSelection()
{
    if (mBoardView)
        mPicker.End(*mBoardView);
}

void GameScene::SetChosenCells(CellSet cells)
{
    mPicker.SetTargets(cells);
}

void GameScene::GetSelectedTargets(std::vector<int>& cells)
{
    mPicker.GetHoveredIds(cells);
}

void GameScene::SetActivePlayer(int player)
{
    if (mHud && player >= 1 && player <= 3 && mParams.playerCells[player - 1] > 0)
        mHud->SetActivePlayer(player - 1);
}

void GameScene::SetAvatarCellMark(int player, bool canMove)
{
    if (mHud)
        mHud->SetPlayerCanMove(player, canMove);
}

void GameScene::ShowHeroAvatarState()
{
    if (mHud)
        mHud->ShowHeroAvatarState();
}

void GameScene::MoveBacterium(int from, int to, bool clone, int effect)
{
    if (!mBoardView)
        return;
    VCell* source = mBoardView->FindCellView(from);
    VCell* target = mBoardView->FindCellView(to);
    Bacteria* mover = source != nullptr ? source->GetBacteria() : nullptr;
    if (mover == nullptr || target == nullptr)
        return;
    const FloatPoint sourcePosition = source->GetPosition();
    Bacteria* original = mover;
    // A clone waits until the original's bounce lets it go.
    float cloneDelay = 0;
    if (clone)
    {
        cloneDelay = original->StartBounce();
        mover = new Bacteria(mServices);
        mover->AttachWithDelay(original->GetValue(), BoardView::kUnitLayer, cloneDelay);
    }
    else
    {
        mover = source->TakeBacteria();
    }
    target->SetBacteria(mover);
    mover->StartMove(sourcePosition);
    mover->ReattachToLayer();
    if (effect != kNoMoveEffect)
    {
        const FloatPoint centre = source->GetCentre();
        mover->SetEffect(mServices.SpawnParticleSystem(effect, centre.x, centre.y));
    }
    if (clone)
        original->ReattachToLayer();
    mAwaitedState = kIdleBacteriumState;
}

void GameScene::StartCapture(int cell, int source, float time)
{
    if (!mBoardView)
        return;
    VCell* view = mBoardView->FindCellView(cell);
    Bacteria* captured = view != nullptr ? view->GetBacteria() : nullptr;
    if (captured != nullptr)
    {
        const VCell* capturerView = source >= 0 ? mBoardView->FindCellView(source) : nullptr;
        captured->StartCapture(capturerView != nullptr ? capturerView->GetBacteria() : nullptr, time);
    }
    mAwaitedState = kIdleBacteriumState;
}

void GameScene::StartCaptureAt(int cell, float time)
{
    StartCapture(cell, -1, time);
}

void GameScene::ShowFloatingText(int value, int style, float delay, ScreenPoint at)
{
    if (mHud)
        mHud->ShowFloatingText(value, style, delay, static_cast<float>(at.x), static_cast<float>(at.y));
}

void GameScene::PlaceOnCells(int kind, CellSet cells)
{
    if (!mBoardView)
        return;
    int placed = 0;
    for (int id : cells)
    {
        if (kind == kClearKind)
            mBoardView->ClearCell(id);
        else if (kind >= kFirstPlayerKind && kind <= kLastPlayerKind)
        {
            mBoardView->AddBacteria(id, kind, kPlaceStagger * static_cast<float>(placed));
            ++placed;
        }
        else if (kind > kLastPlayerKind && kind <= kLastBonusKind)
            mBoardView->AddBonus(id, kind, 0);
    }
    mAwaitedState = kIdleBacteriumState;
}

void GameScene::ActivateCellBonus(int cell, float delay)
{
    VCell* view = mBoardView ? mBoardView->FindCellView(cell) : nullptr;
    if (view != nullptr && view->GetBonus() != nullptr)
        view->GetBonus()->Activate(delay);
}

void GameScene::CollectBonus(int cell)
{
    // The level collects only bonuses its board holds; a cell without a bonus unit (a view out
    // of step with the board) collects nothing rather than handing the HUD a null unit.
    VCell* view = mBoardView ? mBoardView->FindCellView(cell) : nullptr;
    if (view == nullptr || view->GetBonus() == nullptr)
        return;
    const FloatPoint start = view->GetBonus()->GetWorldPosition();
    Bonus* bonus = view->TakeBonus();
    if (!mHud)
    {
        delete bonus;
        return;
    }
    mHud->CollectBonus(bonus);
    bonus->FlyToInventory(start);
}

void GameScene::SetLevelParams(const LevelParams& params)
{
    const bool bonusJustArmed = params.armedSlot != -1 && mParams.armedSlot == -1;
    if (mTutorial && (params.round != mParams.round || mTutorialAwaitsRound))
        mTutorial->Advance(params.round, params.armedSlot != -1);
    mTutorialAwaitsRound = false;
    if (mHud)
        mHud->SetLevelParams(params);
    mParams = params;
    MarkDirty();
    if (bonusJustArmed && mBoardView && mPicker.IsRunning())
    {
        const FloatPoint mouse = Play().lastMousePos;
        mPicker.Hover(*mBoardView, static_cast<float>(static_cast<int>(mouse.x)),
                      static_cast<float>(static_cast<int>(mouse.y)));
    }
}

void GameScene::CreateHud(const LevelParams& params)
{
    SetLevelParams(params);
    if (mHud)
    {
        // A second set-up of the same scene (a step back): the HUD is built afresh, its quick
        // menu stays.
        mHud->Clear();
    }
    else
    {
        mHud = std::make_unique<HUD>(mServices);
        if (mHooks.makeFastMenu)
            mHud->SetMenu(mHooks.makeFastMenu(*this));
    }
    mHud->Build(mParams);
    if (mZoomEffect != nullptr)
        mHud->SetInputEnabled(false);
}

void GameScene::ShowFastMenu()
{
    if (mHud)
        mHud->ShowFastMenu();
}

bool GameScene::IsBusy() const
{
    return mAwaitedState != kNoAwaitedState || (mBoardView && mBoardView->IsInTransition()) ||
           mZoomEffect != nullptr || mEndOfRoundTimer > 0 || (mHud && mHud->IsAnimating()) ||
           mServices.IsAchievementPopupTextShown();
}

void GameScene::StartTutorial()
{
    if (!mHooks.makeTutorial || !mBoardView)
        return;
    // A step back starts the level's scene again: the new tutorial replaces the old one. The old
    // one goes first, since it frees the tutorial's resource group, which the new one loads.
    mTutorial.reset();
    std::unique_ptr<SceneTutorial> tutorial = mHooks.makeTutorial(mServices.GetCurrentLevel());
    if (!tutorial)
        return;
    // It shows the step of the round the next parameter block names, even when the round is
    // the one the scene already had.
    mTutorial = std::move(tutorial);
    mTutorial->Start(*this, *mBoardView, mServices.GetCurrentLevel());
    mTutorialAwaitsRound = true;
}

void GameScene::CloseTutorial()
{
    mTutorial.reset();
}

bool GameScene::HasTutorialStep() const
{
    return mTutorial && mTutorial->IsShowingStep();
}

int GameScene::FindHiddenObjectAt(ScreenPoint point) const
{
    return mHiddenObjects != nullptr ? mHiddenObjects->FindAt(point.x, point.y) : -1;
}

ScreenPoint GameScene::GetHiddenObjectCentre(int object) const
{
    return mHiddenObjects != nullptr ? mHiddenObjects->GetCentre(object) : ScreenPoint{};
}

void GameScene::OpenHiddenObject(int object)
{
    if (mHiddenObjects != nullptr)
        mHiddenObjects->Open(object);
}

// --- LevelView: the board view -------------------------------------------------------------------

void GameScene::BuildCellViews(const Board& board)
{
    if (mBoardView)
        mBoardView->BuildCellViews(board);
}

void GameScene::SpawnUnits(const Board& board)
{
    if (mBoardView)
        mBoardView->SpawnUnits(board);
}

void GameScene::CentreOnScreen()
{
    if (mBoardView)
        mBoardView->CentreOnScreen();
}

int GameScene::CellAtPoint(ScreenPoint point) const
{
    return mBoardView ? mBoardView->CellAtPoint(static_cast<float>(point.x), static_cast<float>(point.y)) : -1;
}

int GameScene::GetCellViewKind(int cell) const
{
    return mBoardView ? mBoardView->GetCellViewKind(cell) : 0;
}

ScreenPoint GameScene::GetCellCentre(int cell) const
{
    return mBoardView ? ToScreenPoint(mBoardView->GetCellCentre(cell)) : ScreenPoint{};
}

void GameScene::ResetCellStates()
{
    if (mBoardView)
        mBoardView->ResetCellStates();
}

void GameScene::HighlightCell(int cell)
{
    if (mBoardView)
        mBoardView->HighlightCell(cell);
}

void GameScene::SetCellsState(CellSet cells, CellViewState state)
{
    if (mBoardView)
        mBoardView->SetCellsState(cells, static_cast<int>(state));
}

void GameScene::AddCellSetEffect(CellSet cells, float a, float b, float c, float d)
{
    if (mBoardView)
        mBoardView->AddCellSetEffect(cells, a, b, c, d);
}

void GameScene::AddBacteria(int cell, int player, float delay)
{
    if (mBoardView)
        mBoardView->AddBacteria(cell, player, delay);
}

void GameScene::AddBonus(int cell, int bonusCode, float delay)
{
    if (mBoardView)
        mBoardView->AddBonus(cell, bonusCode, delay);
}

void GameScene::SetCellExplosionTimer(int cell, float time)
{
    if (mBoardView)
        mBoardView->SetCellExplosionTimer(cell, time);
}

void GameScene::ClearCellUnits(int cell)
{
    if (mBoardView)
        mBoardView->ClearCellUnits(cell);
}

void GameScene::SetCellViewKind(int cell, int kind)
{
    if (mBoardView)
        mBoardView->SetCellViewKind(cell, kind);
}

// --- LevelView: HUD, background, link ------------------------------------------------------------

void GameScene::RefreshStepBackCounter(bool stored)
{
    if (mHud)
        mHud->RefreshStepBackCounter(stored);
}

bool GameScene::HasBackground() const
{
    return mBackground != nullptr;
}

void GameScene::StartBackgroundFlash(float seconds)
{
    if (mBackground)
        mBackground->StartFlash(seconds);
}

void GameScene::SendToLink(int command, int argument)
{
    BaseWidget::SendToLink(command, argument);
}

std::unique_ptr<BossLevelInterface> GameScene::CreateBossLevel(Level& level)
{
    return mHooks.makeBoss ? mHooks.makeBoss(level, *this) : nullptr;
}

#include "game/play/BoardView.h"

#include "framework/display/Graphics.h"
#include "game/play/Bacteria.h"
#include "game/play/Bonus.h"
#include "game/play/PlayGlobals.h"
#include "game/play/VCell.h"
#include "game/level/LevelView.h"
#include "game/scene/Truncate.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace
{
// Squared radius of a cell for point picking (34 pixels, strictly inside).
constexpr int kPickRadiusSquared = 34 * 34;
// The model grid the places are walked in.
constexpr int kGridSize = 9;
constexpr int kMaxColumnDistance = 4;

// The level names the display states and the pick radius it asks for by the same numbers.
static_assert(static_cast<int>(CellViewState::Normal) == VCell::Normal &&
              static_cast<int>(CellViewState::Selected) == VCell::Highlighted &&
              static_cast<int>(CellViewState::CloneTarget) == VCell::CloneTarget &&
              static_cast<int>(CellViewState::JumpTarget) == VCell::JumpTarget &&
              static_cast<int>(CellViewState::BombTarget) == VCell::BombArea);
static_assert(kCellPickRadius * kCellPickRadius == kPickRadiusSquared);

// Points far off the screen are moved closer, so that squared distances stay within 64 bits.
float ClampFar(float coordinate)
{
    return std::clamp(coordinate, -1.0e6f, 1.0e6f);
}
} // namespace

BoardView::BoardView(PlayServices& services) : mServices(services) {}

BoardView::~BoardView()
{
    if (Play().boardView == this)
        Play().boardView = nullptr;
    if (mHighlighted != nullptr)
        Play().selectedBacterium = nullptr;
    mCellViews.clear();
}

// --- Layers ---------------------------------------------------------------------------------------

void BoardView::InitLayers()
{
    Play().boardView = this;
    mFirstLayer = static_cast<int>(GetChildren().size());
    AddChild(new VisualNode());
    AddChild(new VisualNode());
}

void BoardView::Clear()
{
    mCellViews.clear();
    SetHighlighted(nullptr);
    DeleteChildren();
}

VisualNode* BoardView::GetLayer(int layer) const
{
    const size_t index = static_cast<size_t>(mFirstLayer) + static_cast<size_t>(layer);
    if (layer < 0 || layer > kUnitLayer || index >= GetChildren().size())
        return nullptr;
    return GetChildren()[index];
}

void BoardView::AddToLayer(int layer, VisualNode* unit)
{
    if (VisualNode* node = GetLayer(layer))
        node->AddChild(unit);
}

void BoardView::EnsureInLayer(VisualNode* unit, int layer)
{
    // Units join the board view on screen; one made by another board view still belongs here.
    if (unit->GetParent() != GetLayer(layer))
        AddToLayer(layer, unit);
}

void BoardView::RemoveFromLayer(VisualNode* unit)
{
    VisualNode* parent = unit->GetParent();
    if (parent != nullptr && (parent == GetLayer(kCellLayer) || parent == GetLayer(kUnitLayer)))
        parent->RemoveChild(unit);
}

// --- Layout ---------------------------------------------------------------------------------------

VCell* BoardView::CreateCellView(float x, float y, int kind)
{
    auto* view = new VCell(mServices);
    view->VisualNode::SetPosition({x, y});
    view->Attach(kind, kCellLayer);
    EnsureInLayer(view, kCellLayer);
    return view;
}

void BoardView::BuildCellViews(const Board& board)
{
    if (GetLayer(kUnitLayer) == nullptr)
        InitLayers();
    // A step back sets the scene up again: the units go first, so no cell view outlives them.
    SetHighlighted(nullptr);
    mCellViews.clear();
    GetLayer(kUnitLayer)->DeleteChildren();
    GetLayer(kCellLayer)->DeleteChildren();
    int id = 0;
    for (int r = 0; r < kGridSize; ++r)
        for (int k = 0; k < kGridSize; ++k)
        {
            if (std::abs(k - r) > kMaxColumnDistance)
                continue;
            const int x = (k * 59250) / 1000;
            const int y = 132 + 66 * r - 33 * k;
            VCell* view = CreateCellView(static_cast<float>(x), static_cast<float>(y), board.GetCellValue(id));
            view->SetCellId(id);
            mCellViews.push_back(view);
            view->Update(0);
            ++id;
        }
    CentreOnScreen();
}

void BoardView::SpawnUnits(const Board& board)
{
    int spawned = 0;
    for (int id = 0; id < kCellCount; ++id)
    {
        const int flags = board.GetCellFlags(id);
        if (flags <= 0)
            continue;
        const int owner = flags & 3;
        if (owner != 0)
        {
            AddBacteria(id, owner, kSpawnStagger * static_cast<float>(spawned));
            ++spawned;
        }
        const int bonus = flags & 0x1C;
        if (bonus != 0)
            AddBonus(id, bonus, 0);
    }
}

void BoardView::CentreOnScreen()
{
    float minX = 1000;
    float minY = 1000;
    float maxX = 0;
    float maxY = 0;
    for (const VCell* view : mCellViews)
    {
        if (view->GetValue() == 0)
            continue;
        const FloatPoint p = view->GetPosition();
        const FloatPoint size = view->GetSpriteSize();
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x + size.x);
        maxY = std::max(maxY, p.y + size.y);
    }
    mWidth = maxX - minX;
    mHeight = maxY - minY;
    SetPosition({(static_cast<float>(mServices.GetAppWidth()) - mWidth) * 0.5f - minX,
                 (static_cast<float>(mServices.GetAppHeight()) - mHeight) * 0.5f - minY});
}

// --- Cells ----------------------------------------------------------------------------------------

VCell* BoardView::FindCellView(int id) const
{
    for (VCell* view : mCellViews)
        if (view->GetCellId() == id)
            return view;
    return nullptr;
}

VCell* BoardView::ViewOrWarn(int id, const char* operation) const
{
    if (id < 0 || id >= kCellCount)
    {
        mServices.LogWarning(std::string("Board view: ") + operation + " of cell " + std::to_string(id) +
                             ", which does not exist");
        return nullptr;
    }
    return FindCellView(id);
}

FloatPoint BoardView::GetCellCentre(int id) const
{
    const VCell* view = FindCellView(id);
    if (view == nullptr)
        return {0, 0};
    const FloatPoint p = view->GetWorldPosition();
    const FloatPoint size = view->GetSpriteSize();
    return {p.x + size.x * 0.5f, p.y + size.y * 0.5f};
}

VCell* BoardView::CellViewAtPoint(float x, float y) const
{
    const FloatPoint origin = GetWorldPosition();
    const int64_t px = TruncToInt(ClampFar(x) - origin.x);
    const int64_t py = TruncToInt(ClampFar(y) - origin.y);
    for (VCell* view : mCellViews)
    {
        const int64_t dx = TruncToInt(view->GetPosition().x) - px + kHalfCellWidth;
        const int64_t dy = TruncToInt(view->GetPosition().y) - py + kHalfCellHeight;
        if (dx * dx + dy * dy < kPickRadiusSquared)
            return view;
    }
    return nullptr;
}

CellSet BoardView::FindCellsNearPoint(float x, float y, int radius, CellSet cells, int pickCount) const
{
    auto& scratch = Play().nearbyScratch;
    scratch.clear();
    for (const VCell* view : mCellViews)
    {
        if (!cells.Contains(view->GetCellId()) || view->GetValue() <= 0)
            continue;
        const FloatPoint c = view->GetCentre();
        const int64_t dx = int64_t{TruncToInt(c.x)} - TruncToInt(ClampFar(x));
        const int64_t dy = int64_t{TruncToInt(c.y)} - TruncToInt(ClampFar(y));
        const int64_t d2 = dx * dx + dy * dy;
        if (int64_t{radius} * radius > d2)
            scratch.emplace_back(view->GetCellId(), d2);
    }
    if (pickCount > 0 && scratch.size() > static_cast<size_t>(pickCount))
    {
        // Nearest first; equal distances by cell id, so that a replay picks the same cells.
        std::sort(scratch.begin(), scratch.end(),
                  [](const auto& a, const auto& b) { return a.second != b.second ? a.second < b.second : a.first < b.first; });
        scratch.resize(static_cast<size_t>(pickCount));
    }
    CellSet out;
    for (const auto& entry : scratch)
        out.Insert(entry.first);
    return out;
}

// --- Display states -------------------------------------------------------------------------------

void BoardView::SetHighlighted(VCell* view)
{
    mHighlighted = view;
    Play().selectedBacterium = view != nullptr ? view->GetBacteria() : nullptr;
}

void BoardView::ResetCellStates()
{
    for (VCell* view : mCellViews)
        view->SetState(VCell::Normal);
    SetHighlighted(nullptr);
}

void BoardView::HighlightCell(int id)
{
    VCell* view = ViewOrWarn(id, "highlight");
    if (view == nullptr)
        return;
    view->SetState(VCell::Highlighted);
    SetHighlighted(view);
}

void BoardView::SetCellsState(CellSet cells, int state)
{
    for (VCell* view : mCellViews)
        if (cells.Contains(view->GetCellId()))
        {
            view->SetState(state);
            if (view == mHighlighted)
                SetHighlighted(nullptr);
        }
}

void BoardView::SaveCellStates()
{
    for (const VCell* view : mCellViews)
        if (view->GetCellId() >= 0 && view->GetCellId() < kCellCount)
            mSavedStates[static_cast<size_t>(view->GetCellId())] = view->GetRequestedState();
}

void BoardView::RestoreCellStates()
{
    for (VCell* view : mCellViews)
        if (view->GetCellId() >= 0 && view->GetCellId() < kCellCount)
            view->SetState(mSavedStates[static_cast<size_t>(view->GetCellId())]);
}

void BoardView::SaveCellStatesOf(CellSet cells)
{
    for (int id : cells)
        if (const VCell* view = FindCellView(id))
            mSavedStates[static_cast<size_t>(id)] = view->GetRequestedState();
}

void BoardView::RestoreCellStatesOf(CellSet cells)
{
    for (int id : cells)
        if (VCell* view = FindCellView(id))
            view->SetState(mSavedStates[static_cast<size_t>(id)]);
}

void BoardView::AddCellSetEffect(CellSet cells, float peak, float riseTime, float fallTime, float delay)
{
    mEffects.push_back(CellSetEffect::Make(cells, peak, riseTime, fallTime, delay));
}

// --- Units ----------------------------------------------------------------------------------------

void BoardView::AddBacteria(int id, int player, float delay)
{
    VCell* view = ViewOrWarn(id, "bacterium");
    if (view == nullptr || player == 0)
        return;
    auto* bacterium = new Bacteria(mServices);
    bacterium->AttachWithDelay(player, kUnitLayer, delay);
    EnsureInLayer(bacterium, kUnitLayer);
    view->SetBacteria(bacterium);
}

void BoardView::AddBonus(int id, int kind, float delay)
{
    VCell* view = ViewOrWarn(id, "bonus");
    if (view == nullptr || kind < Bonus::Mine)
        return;
    auto* bonus = new Bonus(mServices);
    bonus->AttachWithDelay(kind, kUnitLayer, delay);
    EnsureInLayer(bonus, kUnitLayer);
    view->SetBonus(bonus);
}

void BoardView::ClearCell(int id)
{
    VCell* view = ViewOrWarn(id, "clear");
    if (view == nullptr)
        return;
    view->SetBacteria(nullptr);
    view->SetBonus(nullptr);
}

bool BoardView::AllBacteriaInState(int state) const
{
    return std::all_of(mCellViews.begin(), mCellViews.end(), [state](const VCell* view) {
        return view->GetBacteria() == nullptr || view->GetBacteria()->GetState() == state;
    });
}

// --- The level's view -----------------------------------------------------------------------------

int BoardView::CellAtPoint(float x, float y) const
{
    const VCell* view = CellViewAtPoint(x, y);
    return view != nullptr ? view->GetCellId() : -1;
}

int BoardView::GetCellViewKind(int id) const
{
    const VCell* view = ViewOrWarn(id, "kind");
    return view != nullptr ? view->GetValue() : 0;
}

void BoardView::SetCellExplosionTimer(int id, float seconds)
{
    if (VCell* view = ViewOrWarn(id, "bomb timer"))
        view->SetBombTimer(seconds);
}

void BoardView::ClearCellUnits(int id)
{
    ClearCell(id);
}

void BoardView::SetCellViewKind(int id, int kind)
{
    VCell* view = ViewOrWarn(id, "kind change");
    if (view == nullptr)
        return;
    view->Attach(kind, kCellLayer);
    view->Update(0);
}

// --- Transition -----------------------------------------------------------------------------------

void BoardView::StartTransition(bool show)
{
    mTransitionDirection = show ? 1 : -1;
    mTransitionPath = mServices.RandInt(VCell::kPathCount);
    Play().gatherPoint = {mWidth * 0.5f - kHalfCellWidth, mHeight * 0.5f - kHalfCellHeight};
    mTransitionTime = 0;
}

void BoardView::FinishTransition()
{
    if (mTransitionDirection == 0)
        return;
    const bool show = mTransitionDirection > 0;
    if (show)
        mServices.PlaySoundNamed("SOUND_CELLS_DONE");
    for (VCell* view : mCellViews)
        view->ApplyTransition(0, show ? 0.0f : 1.0f);
    mTransitionDirection = 0;
}

void BoardView::TransitionStep(float dt)
{
    const bool show = mTransitionDirection > 0;
    if (dt > 0 && mTransitionTime == 0)
        mServices.PlaySoundNamed(show ? "SOUND_CELLS_FLYIN" : "SOUND_CELLS_FLYOUT");
    mTransitionTime += dt;
    const float t = std::min(mTransitionTime * 0.5f, 1.0f);
    if (mTransitionTime > kTransitionTime)
    {
        mTransitionTime = 0;
        FinishTransition();
        return;
    }
    for (VCell* view : mCellViews)
        view->ApplyTransition(mTransitionPath, show ? 1 - t : t);
}

void BoardView::Update(float dt)
{
    // A hide waits until every bacterium has come to rest.
    if (mTransitionDirection > 0 || (mTransitionDirection < 0 && AllBacteriaInState(Bacteria::Idle)))
    {
        TransitionStep(dt);
        return;
    }
    UpdateCellPulse(dt);
    VisualNode::Update(dt);
    for (size_t i = 0; i < mEffects.size();)
    {
        if (mEffects[i].Update(dt))
            ++i;
        else
            mEffects.erase(mEffects.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void BoardView::Draw(Quoll::Graphics* g)
{
    const auto& children = GetChildren();
    for (size_t i = 0; i < children.size(); ++i)
    {
        children[i]->Draw(g);
        if (static_cast<int>(i) == mFirstLayer + kCellLayer)
            DrawEffects(g);
    }
}

void BoardView::DrawEffects(Quoll::Graphics* g)
{
    if (mEffects.empty())
        return;
    g->SetDrawMode(Quoll::DrawMode::Additive);
    for (const CellSetEffect& effect : mEffects)
    {
        const Quoll::Color colour(effect.colour, std::clamp(TruncToInt(effect.level * 255), 0, 255));
        for (VCell* view : mCellViews)
        {
            if (!effect.cells.Contains(view->GetCellId()))
                continue;
            const Quoll::Color own = view->mColor;
            view->mColor = colour;
            view->DrawSprite(g);
            view->mColor = own;
        }
    }
    g->SetDrawMode(Quoll::DrawMode::Normal);
}

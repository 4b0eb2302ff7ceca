#pragma once
// BoardView: the scene node that shows the 61-place hexagonal board of a level. It lays out one
// cell view per place in its cell layer, holds the bacteria and bonus units in a units' layer
// above it, maps screen points to cells, sets the cells' display states for selection and
// highlighting, flashes sets of cells, and plays the show and hide transition of the whole board.
// One board view exists while a level is on screen; units join its layers through the
// program-wide pointer that InitLayers sets. It also answers the board-view half of the level's
// view (cell at a point, kinds, centres, states, flashes, units, bomb timers, editor changes).
#include "game/board/Board.h"
#include "game/board/CellSet.h"
#include "game/play/CellSetEffect.h"
#include "game/scene/VisualNode.h"
#include "game/shell/PlayServices.h"

#include <array>
#include <vector>

class VCell;

class BoardView : public VisualNode
{
public:
    static constexpr int kCellCount = 61;
    static constexpr int kCellLayer = 0;
    static constexpr int kUnitLayer = 1;
    // Seconds of a transition; its parameter runs at half the time.
    static constexpr float kTransitionTime = 2.0f;
    // Half a cell box: the centre of a cell from its view's position.
    static constexpr int kHalfCellWidth = 34;
    static constexpr int kHalfCellHeight = 33;
    // Delay between the births of the bacteria of a new level.
    static constexpr float kSpawnStagger = 0.025f;

    explicit BoardView(PlayServices& services);
    // Clears the program-wide pointer and selection, then deletes the layers with every unit.
    ~BoardView() override;

    void Update(float dt) override;
    void Draw(Quoll::Graphics* g) override;

    // --- Layers ------------------------------------------------------------------------------------
    // Makes this the board view on screen and creates the two layers.
    void InitLayers();
    // Forgets the cell views and deletes every child (the layers, cell views and units).
    void Clear();
    // The layer node, or null.
    [[nodiscard]] VisualNode* GetLayer(int layer) const;
    void AddToLayer(int layer, VisualNode* unit);
    void RemoveFromLayer(VisualNode* unit);

    // --- Layout ------------------------------------------------------------------------------------
    // One cell view per place, then centred on the screen. Cells and units of an earlier layout
    // are deleted first.
    void BuildCellViews(const Board& board);
    // The bacteria and bonus units of the board's cell flags.
    void SpawnUnits(const Board& board);
    // Centres the box of the existing cells in the application's area.
    void CentreOnScreen();

    // --- Cells -------------------------------------------------------------------------------------
    [[nodiscard]] VCell* FindCellView(int id) const;
    [[nodiscard]] const std::vector<VCell*>& GetCellViews() const { return mCellViews; }
    // The cell view's world position plus half its cell size; (0, 0) without a view.
    [[nodiscard]] FloatPoint GetCellCentre(int id) const;
    // The first view within 34 pixels (strictly) of the screen point; kind-0 views too.
    [[nodiscard]] VCell* CellViewAtPoint(float x, float y) const;
    // The cells of the set with a cell whose centre lies within the radius of the screen point;
    // with a pick count above 0 only the nearest ones (ties by ascending cell id).
    [[nodiscard]] CellSet FindCellsNearPoint(float x, float y, int radius, CellSet cells, int pickCount) const;
    [[nodiscard]] float GetWidth() const { return mWidth; }
    [[nodiscard]] float GetHeight() const { return mHeight; }

    // --- Display states ----------------------------------------------------------------------------
    void ResetCellStates();
    void HighlightCell(int id);
    void SetCellsState(CellSet cells, int state);
    [[nodiscard]] VCell* GetHighlighted() const { return mHighlighted; }
    void SaveCellStates();
    void RestoreCellStates();
    void SaveCellStatesOf(CellSet cells);
    void RestoreCellStatesOf(CellSet cells);
    // Queues a flash of the cells: the level rises to peak in riseTime, falls back in fallTime.
    void AddCellSetEffect(CellSet cells, float peak, float riseTime, float fallTime, float delay);
    [[nodiscard]] const std::vector<CellSetEffect>& GetEffects() const { return mEffects; }

    // --- Units -------------------------------------------------------------------------------------
    // Player 0 creates nothing.
    void AddBacteria(int id, int player, float delay);
    // Kinds below 4 create nothing.
    void AddBonus(int id, int kind, float delay);
    // Deletes the cell's units.
    void ClearCell(int id);
    [[nodiscard]] bool AllBacteriaInState(int state) const;

    // --- The level's view --------------------------------------------------------------------------
    // The cell id under the point, or -1.
    [[nodiscard]] int CellAtPoint(float x, float y) const;
    // The kind the cell's view shows; 0 without a view.
    [[nodiscard]] int GetCellViewKind(int id) const;
    void SetCellExplosionTimer(int id, float seconds);
    void ClearCellUnits(int id);
    // The view takes a new kind (the editor) and redraws in it.
    void SetCellViewKind(int id, int kind);

    // --- Transition --------------------------------------------------------------------------------
    void StartTransition(bool show);
    // Puts every cell at the end of path 0 and ends the transition.
    void FinishTransition();
    [[nodiscard]] bool IsInTransition() const { return mTransitionDirection != 0; }
    [[nodiscard]] int GetTransitionPath() const { return mTransitionPath; }
    [[nodiscard]] int GetTransitionDirection() const { return mTransitionDirection; }

private:
    VCell* CreateCellView(float x, float y, int kind);
    void EnsureInLayer(VisualNode* unit, int layer);
    // The view of an id; ids outside 0..60 write one warning naming the operation.
    [[nodiscard]] VCell* ViewOrWarn(int id, const char* operation) const;
    void SetHighlighted(VCell* view);
    void TransitionStep(float dt);
    void DrawEffects(Quoll::Graphics* g);

    PlayServices& mServices;
    int mTransitionPath = 0;
    float mWidth = 0;
    float mHeight = 0;
    VCell* mHighlighted = nullptr;
    std::vector<VCell*> mCellViews;
    int mFirstLayer = 0;
    int mTransitionDirection = 0;
    float mTransitionTime = 0;
    std::array<int, kCellCount> mSavedStates{};
    std::vector<CellSetEffect> mEffects;
};

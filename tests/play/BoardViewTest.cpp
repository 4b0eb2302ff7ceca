// The board view: the 61-place layout, centring, point picking and the nearby-cells search,
// display states with the selected bacterium, saved states, flashes, rebuilding, the show and
// hide transition with its sounds, and ids that name no cell.
// Rerun: test_play --gtest_filter='BoardView*'
#include "PlayTestFixture.h"

#include <cmath>
#include <limits>

namespace
{
// Column x of the model columns 0..8, and the rows' lengths and first columns.
constexpr int kColumnX[9] = {0, 59, 118, 177, 237, 296, 355, 414, 474};
constexpr int kRowLength[9] = {5, 6, 7, 8, 9, 8, 7, 6, 5};

struct Place
{
    int row;
    int column;
};

std::vector<Place> Places()
{
    std::vector<Place> places;
    for (int r = 0; r < 9; ++r)
        for (int i = 0; i < kRowLength[r]; ++i)
            places.push_back({r, std::max(0, r - 4) + i});
    return places;
}

int IdOf(int row, int column)
{
    const auto places = Places();
    for (size_t id = 0; id < places.size(); ++id)
        if (places[id].row == row && places[id].column == column)
            return static_cast<int>(id);
    return -1;
}
} // namespace

using BoardViewTest = PlayTest;

TEST_F(BoardViewTest, LaysOutEveryPlaceInWalkOrder)
{
    Board board = FullBoard(2);
    board.SetCellValue(IdOf(4, 0), 0);
    view->BuildCellViews(board);
    const auto places = Places();
    ASSERT_EQ(places.size(), 61u);
    ASSERT_EQ(view->GetCellViews().size(), 61u);
    for (size_t id = 0; id < places.size(); ++id)
    {
        const VCell& cell = *view->GetCellViews()[id];
        EXPECT_EQ(cell.GetCellId(), static_cast<int>(id));
        EXPECT_EQ(cell.GetPosition().x, static_cast<float>(kColumnX[places[id].column])) << id;
        EXPECT_EQ(cell.GetPosition().y, static_cast<float>(132 + 66 * places[id].row - 33 * places[id].column)) << id;
        EXPECT_EQ(cell.GetParent(), view->GetLayer(BoardView::kCellLayer));
    }
    // The hole has a view without a sprite.
    const VCell& hole = Cell(IdOf(4, 0));
    EXPECT_EQ(hole.GetValue(), 0);
    EXPECT_EQ(hole.GetSprite(), nullptr);
    EXPECT_EQ(hole.GetSpriteSize().x, 0.0f);
    EXPECT_EQ(Cell(0).GetSprite()->mCel, 1);
    EXPECT_EQ(Cell(0).GetSpriteSize().x, 69.0f);
}

TEST_F(BoardViewTest, CentresTheBoxOfExistingCells)
{
    view->BuildCellViews(FullBoard());
    // 474 + 69 wide, from y 0 (row 0, column 4) to 528 + 66 (row 8, column 4).
    EXPECT_EQ(view->GetWidth(), 543.0f);
    EXPECT_EQ(view->GetHeight(), 594.0f);
    EXPECT_EQ(view->GetPosition(), (FloatPoint{240.5f, 87.0f}));

    // Only the first two places of row 0: x 0..128, y 99..198.
    Board holed;
    holed.Clear();
    holed.SetCellValue(0, 1);
    holed.SetCellValue(1, 3);
    view->BuildCellViews(holed);
    EXPECT_EQ(view->GetWidth(), 128.0f);
    EXPECT_EQ(view->GetHeight(), 99.0f);
    EXPECT_EQ(view->GetPosition(), (FloatPoint{448.0f, 235.5f}));
    EXPECT_EQ(view->GetCellCentre(1), (FloatPoint{448.0f + 59 + 34.5f, 235.5f + 99 + 33}));
    EXPECT_EQ(view->GetCellCentre(70), (FloatPoint{0, 0}));
}

TEST_F(BoardViewTest, PointsPickCellsStrictlyWithin34Pixels)
{
    view->BuildCellViews(FullBoard());
    const int centre = IdOf(4, 4);
    // The board sits at (240.5, 87): the centre cell's box centre on screen.
    const float cx = 240.5f + 237 + 34;
    const float cy = 87.0f + 264 + 33;
    EXPECT_EQ(view->CellAtPoint(cx, cy), centre);
    EXPECT_EQ(view->CellAtPoint(cx + 33, cy), centre);
    EXPECT_EQ(view->CellAtPoint(cx + 34, cy), -1);
    EXPECT_EQ(view->CellAtPoint(cx - 34, cy), -1);
    EXPECT_EQ(view->CellAtPoint(-500, -500), -1);
    EXPECT_EQ(view->CellAtPoint(3e9f, -3e9f), -1);
    EXPECT_TRUE(view->FindCellsNearPoint(3e9f, 3e9f, 100000, CellSet::AllCells(), 0).IsEmpty());

    // A hole's view is found too; the caller decides.
    Board board = FullBoard();
    board.SetCellValue(centre, 0);
    view->BuildCellViews(board);
    EXPECT_EQ(view->CellAtPoint(cx, cy), centre);
}

TEST_F(BoardViewTest, NearbyCellsByDistanceThenId)
{
    Board board = FullBoard();
    const int centre = IdOf(4, 4);
    const int above = IdOf(3, 4);
    const int below = IdOf(5, 4);
    // From the centre: the vertical neighbours lie 66 pixels away, those of column 5 at
    // (59, 33) and those of column 3 at (60, 33); one of column 3 is a hole.
    const int right[2] = {IdOf(4, 5), IdOf(5, 5)};
    const int left = IdOf(4, 3);
    board.SetCellValue(IdOf(3, 3), 0);
    view->BuildCellViews(board);
    const FloatPoint c = Cell(centre).GetCentre();
    const CellSet all = CellSet::AllCells();

    CellSet expected;
    for (int id : {centre, above, below, right[0], right[1], left})
        expected.Insert(id);
    EXPECT_EQ(view->FindCellsNearPoint(c.x, c.y, 69, all, 0).Bits(), expected.Bits()) << "a hole is never found";

    EXPECT_EQ(view->FindCellsNearPoint(c.x, c.y, 34, all, 1).Bits(), CellSet::Single(centre).Bits());
    EXPECT_EQ(view->FindCellsNearPoint(c.x, c.y, 69, all, 1).Bits(), CellSet::Single(centre).Bits());
    // Ties go to the lower id: of the two vertical neighbours, then of column 5's.
    CellSet two = CellSet::Single(centre);
    two.Insert(std::min(above, below));
    EXPECT_EQ(view->FindCellsNearPoint(c.x, c.y, 69, all, 2).Bits(), two.Bits());
    CellSet four = CellSet::Single(centre);
    four.Insert(above);
    four.Insert(below);
    four.Insert(std::min(right[0], right[1]));
    EXPECT_EQ(view->FindCellsNearPoint(c.x, c.y, 69, all, 4).Bits(), four.Bits());
    // Three picks from a set that leaves the centre out.
    CellSet three;
    three.Insert(above);
    three.Insert(below);
    three.Insert(std::min(right[0], right[1]));
    EXPECT_EQ(view->FindCellsNearPoint(c.x, c.y, 69, all.Without(CellSet::Single(centre)), 3).Bits(), three.Bits());
    EXPECT_TRUE(view->FindCellsNearPoint(c.x, c.y, 0, all, 0).IsEmpty());
}

TEST_F(BoardViewTest, SelectedBacteriumFollowsTheHighlight)
{
    view->BuildCellViews(FullBoard());
    view->AddBacteria(10, 1, 0);
    view->AddBacteria(11, 2, 0);
    view->HighlightCell(10);
    EXPECT_EQ(view->GetHighlighted(), &Cell(10));
    EXPECT_EQ(Play().selectedBacterium, Cell(10).GetBacteria());
    EXPECT_EQ(Cell(10).GetRequestedState(), VCell::Highlighted);

    view->HighlightCell(12);
    EXPECT_EQ(Play().selectedBacterium, nullptr) << "a cell without bacterium selects none";
    view->HighlightCell(11);
    CellSet cells = CellSet::Single(11);
    cells.Insert(20);
    view->SetCellsState(cells, VCell::JumpTarget);
    EXPECT_EQ(view->GetHighlighted(), nullptr);
    EXPECT_EQ(Play().selectedBacterium, nullptr);
    EXPECT_EQ(Cell(20).GetRequestedState(), VCell::JumpTarget);

    view->HighlightCell(10);
    view->ResetCellStates();
    EXPECT_EQ(Play().selectedBacterium, nullptr);
    EXPECT_EQ(Cell(10).GetRequestedState(), VCell::Normal);

    // Deleting the selected bacterium clears the selection.
    view->HighlightCell(10);
    view->ClearCell(10);
    EXPECT_EQ(Play().selectedBacterium, nullptr);
}

TEST_F(BoardViewTest, SavesAndRestoresRequestedStates)
{
    view->BuildCellViews(FullBoard());
    view->SetCellsState(CellSet(0b1110), VCell::CloneTarget);
    view->SaveCellStates();
    view->ResetCellStates();
    view->RestoreCellStates();
    EXPECT_EQ(Cell(1).GetRequestedState(), VCell::CloneTarget);
    EXPECT_EQ(Cell(0).GetRequestedState(), VCell::Normal);

    view->SaveCellStatesOf(CellSet(0b10));
    view->SetCellsState(CellSet(0b110), VCell::BombArea);
    view->RestoreCellStatesOf(CellSet(0b10));
    EXPECT_EQ(Cell(1).GetRequestedState(), VCell::CloneTarget);
    EXPECT_EQ(Cell(2).GetRequestedState(), VCell::BombArea);
}

TEST_F(BoardViewTest, FlashesRiseFallAndEnd)
{
    view->BuildCellViews(FullBoard());
    const float inf = std::numeric_limits<float>::infinity();
    view->AddCellSetEffect(CellSet(1), 1.0f, inf, inf, 0);
    view->AddCellSetEffect(CellSet(2), 1.0f, 0.1f, 0.3f, 0.15f);
    Step();
    ASSERT_EQ(view->GetEffects().size(), 1u) << "an effect with both rates 0 is dropped";
    Step(14);
    EXPECT_EQ(view->GetEffects()[0].level, 0.0f) << "still waiting";
    Step(11);
    EXPECT_EQ(view->GetEffects()[0].level, 1.0f);
    Step(35);
    EXPECT_TRUE(view->GetEffects().empty());

    // Drawn additively over the cell layer and under the units.
    view->AddBacteria(1, 1, 0);
    view->AddCellSetEffect(CellSet(2), 0.5f, 0.01f, 10.0f, 0);
    Step(60);
    RecordingImage screen;
    Quoll::Graphics g(&screen);
    view->Draw(&g);
    size_t flash = 0;
    size_t body = 0;
    for (size_t i = 0; i < screen.blits.size(); ++i)
    {
        if (screen.blits[i].mode == Quoll::DrawMode::Additive)
        {
            flash = i;
            EXPECT_EQ(screen.blits[i].color.a, static_cast<int>(view->GetEffects()[0].level * 255));
        }
        if (screen.blits[i].source == "IMAGE_BODY_1")
            body = i;
    }
    EXPECT_GT(flash, 60u);
    EXPECT_GT(body, flash);
}

TEST_F(BoardViewTest, RebuildingKeeps61Views)
{
    view->BuildCellViews(FullBoard());
    view->SpawnUnits(FullBoard());
    Board board = FullBoard();
    board.SetOwner(3, 1);
    board.SetBonus(4, BONUS_BOMB);
    view->HighlightCell(3);
    view->BuildCellViews(board);
    view->SpawnUnits(board);
    EXPECT_EQ(view->GetCellViews().size(), 61u);
    EXPECT_EQ(view->GetLayer(BoardView::kCellLayer)->GetChildren().size(), 61u);
    EXPECT_EQ(view->GetLayer(BoardView::kUnitLayer)->GetChildren().size(), 2u);
    EXPECT_EQ(view->GetHighlighted(), nullptr);
    ASSERT_NE(Cell(3).GetBacteria(), nullptr);
    EXPECT_EQ(Cell(3).GetBacteria()->GetValue(), 1);
    EXPECT_EQ(Cell(4).GetBonus()->GetValue(), BONUS_BOMB);
}

TEST_F(BoardViewTest, SpawnsStaggeredBacteriaAndBonuses)
{
    Board board = FullBoard();
    board.SetOwner(5, 1);
    board.SetOwner(9, 2);
    board.SetBonus(9, BONUS_MINE);
    board.SetOwner(40, 3);
    view->BuildCellViews(board);
    view->SpawnUnits(board);
    EXPECT_EQ(Cell(5).GetBacteria()->GetDelay(), 0.0f);
    EXPECT_EQ(Cell(9).GetBacteria()->GetDelay(), 0.025f);
    EXPECT_EQ(Cell(40).GetBacteria()->GetDelay(), 0.05f);
    EXPECT_EQ(Cell(40).GetBacteria()->GetValue(), 3);
    EXPECT_EQ(Cell(9).GetBonus()->GetValue(), BONUS_MINE);
    EXPECT_EQ(Cell(6).GetBacteria(), nullptr);
    // The bacterium draws over the bonus of its cell.
    const auto& units = view->GetLayer(BoardView::kUnitLayer)->GetChildren();
    EXPECT_EQ(units.back(), Cell(40).GetBacteria());
    EXPECT_LT(std::find(units.begin(), units.end(), Cell(9).GetBonus()),
              std::find(units.begin(), units.end(), Cell(9).GetBacteria()));
}

TEST_F(BoardViewTest, ShowFliesInAndEndsAtHome)
{
    view->BuildCellViews(FullBoard());
    view->StartTransition(true);
    EXPECT_TRUE(view->IsInTransition());
    Step();
    EXPECT_EQ(services.sounds, std::vector<std::string>{"SOUND_CELLS_FLYIN 1.00 0.00"});
    Step(100);
    // Half way the cells are out of their places (unless a path meets home there).
    int away = 0;
    for (const VCell* cell : view->GetCellViews())
        away += cell->GetPosition() == cell->GetHome() ? 0 : 1;
    EXPECT_GT(away, 50);
    Step(100);
    EXPECT_EQ(services.CountSound("SOUND_CELLS_DONE"), 1);
    EXPECT_FALSE(view->IsInTransition());
    for (const VCell* cell : view->GetCellViews())
        EXPECT_EQ(cell->GetPosition(), cell->GetHome()) << cell->GetCellId();
    EXPECT_EQ(services.CountSound("SOUND_CELLS_FLYIN"), 1);
}

TEST_F(BoardViewTest, HideWaitsForRestingBacteriaAndEndsOnPathZero)
{
    view->BuildCellViews(FullBoard());
    view->AddBacteria(30, 1, 0);
    view->AddBacteria(31, 2, 0.2f);
    view->StartTransition(false);
    int waited = 0;
    while (!view->AllBacteriaInState(Bacteria::Idle) && waited < 200)
    {
        Step();
        ++waited;
        for (const VCell* cell : view->GetCellViews())
            ASSERT_EQ(cell->GetPosition(), cell->GetHome());
    }
    EXPECT_GT(waited, 20);
    EXPECT_EQ(services.CountSound("SOUND_CELLS_FLYOUT"), 0);
    Step();
    EXPECT_EQ(services.CountSound("SOUND_CELLS_FLYOUT"), 1);
    // The units ride along with their cells.
    Step(50);
    EXPECT_EQ(Cell(30).GetBacteria()->GetPosition(), Cell(30).GetPosition());
    EXPECT_NE(Cell(30).GetPosition(), Cell(30).GetHome());

    // Cut short: every cell at the far end of path 0, whatever path ran.
    view->FinishTransition();
    EXPECT_EQ(services.CountSound("SOUND_CELLS_DONE"), 0) << "only a show ends with its sound";
    for (const VCell* cell : view->GetCellViews())
    {
        const FloatPoint end = cell->GetTransitionOffset(0, 1.0f);
        EXPECT_EQ(cell->GetPosition(), (FloatPoint{cell->GetHome().x + end.x, cell->GetHome().y + end.y}));
    }
}

TEST_F(BoardViewTest, IdsWithoutCellsAreIgnoredWithOneLine)
{
    view->BuildCellViews(FullBoard());
    for (int id : {-1, 61, 1000})
    {
        services.log.clear();
        view->HighlightCell(id);
        view->AddBacteria(id, 1, 0);
        view->AddBonus(id, 4, 0);
        view->SetCellExplosionTimer(id, 1);
        view->SetCellViewKind(id, 2);
        view->ClearCellUnits(id);
        EXPECT_EQ(view->GetCellViewKind(id), 0);
        EXPECT_EQ(services.log.size(), 7u) << "one line per call";
    }
    // Player 0 and kinds below 4 make nothing, quietly.
    services.log.clear();
    view->AddBacteria(3, 0, 0);
    view->AddBonus(3, 2, 0);
    EXPECT_EQ(Cell(3).GetBacteria(), nullptr);
    EXPECT_EQ(Cell(3).GetBonus(), nullptr);
    EXPECT_TRUE(services.log.empty());
}

TEST_F(BoardViewTest, EditorChangesKindAndClearsUnits)
{
    view->BuildCellViews(FullBoard());
    view->AddBacteria(7, 1, 0);
    view->AddBonus(7, 8, 0);
    view->SetCellViewKind(7, 3);
    EXPECT_EQ(view->GetCellViewKind(7), 3);
    EXPECT_EQ(Cell(7).GetSprite()->mCel, 2);
    view->ClearCellUnits(7);
    EXPECT_EQ(Cell(7).GetBacteria(), nullptr);
    EXPECT_EQ(Cell(7).GetBonus(), nullptr);
    EXPECT_TRUE(view->GetLayer(BoardView::kUnitLayer)->GetChildren().empty());
    view->SetCellViewKind(7, 0);
    EXPECT_EQ(Cell(7).GetSprite(), nullptr);
}

TEST_F(BoardViewTest, ClearAndDeletionLeaveNothingBehind)
{
    view->BuildCellViews(FullBoard());
    view->SpawnUnits(FullBoard());
    view->AddBacteria(1, 1, 0);
    view->HighlightCell(1);
    view->Clear();
    EXPECT_TRUE(view->GetChildren().empty());
    EXPECT_EQ(Play().selectedBacterium, nullptr);
    view->InitLayers();
    view->BuildCellViews(FullBoard());
    view->AddBacteria(2, 1, 0);
    view->HighlightCell(2);
    view.reset();
    EXPECT_EQ(Play().boardView, nullptr);
    EXPECT_EQ(Play().selectedBacterium, nullptr);
}

TEST(BoardViewWithoutArt, DrawsNothingAndNeverFails)
{
    ResetPlayGlobalsForTests();
    FakePlayServices services(3);
    {
        BoardView view(services);
        view.InitLayers();
        Board board = FullBoard();
        board.SetOwner(4, 1);
        board.SetOwner(5, 2);
        board.SetBonus(6, BONUS_BOMB);
        board.SetBonus(7, BONUS_LAID_MINE);
        view.BuildCellViews(board);
        view.SpawnUnits(board);
        view.StartTransition(true);
        for (int i = 0; i < 300; ++i)
            view.Update(0.01f);
        view.HighlightCell(4);
        view.SetCellsState(CellSet::AllCells(), VCell::HoveredBombArea);
        view.AddCellSetEffect(CellSet::AllCells(), 1, 0.1f, 0.1f, 0);
        for (int i = 0; i < 30; ++i)
            view.Update(0.01f);
        RecordingImage screen;
        Quoll::Graphics g(&screen);
        view.Draw(&g);
        EXPECT_TRUE(screen.blits.empty());
        // Without sprites the box spans the cells' positions only; centres fall back to the cell box.
        EXPECT_EQ(view.GetWidth(), 474.0f);
        EXPECT_EQ(view.FindCellView(4)->GetCentre().x, view.FindCellView(4)->GetWorldPosition().x + 34);
        EXPECT_TRUE(services.log.empty());
    }
    EXPECT_EQ(Play().boardView, nullptr);
    ResetPlayGlobalsForTests();
}

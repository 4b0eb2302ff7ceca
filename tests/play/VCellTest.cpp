// Cell views: the shared overlay pulse (antiphase, period 1 s), the overlay's cel, alpha and red
// tint per display state, the wobble, the transition paths (home at t = 0, known far ends, a
// home on the gather point that never moves), the bomb countdown, skins and odd kinds.
// Rerun: test_play --gtest_filter='VCell*'
#include "PlayTestFixture.h"

#include "game/play/PlayIds.h"

#include <cmath>

class VCellTest : public PlayTest
{
protected:
    VCellTest() { view->BuildCellViews(FullBoard(2)); }

    // The blits of one cell view's draw.
    std::vector<BlitRecord> DrawCell(VCell& cell)
    {
        RecordingImage screen;
        Quoll::Graphics g(&screen);
        cell.Draw(&g);
        return screen.blits;
    }
    void SetState(VCell& cell, int state)
    {
        cell.SetState(state);
        cell.Update(0);
    }
};

TEST_F(VCellTest, PulsesRunInAntiphaseWithPeriodOneSecond)
{
    const auto& alpha = Play().overlayAlpha;
    UpdateCellPulse(0.25f);
    EXPECT_EQ(alpha[VCell::CloneTarget], 255);
    EXPECT_EQ(alpha[VCell::JumpTarget], 180);
    EXPECT_EQ(GetCellPulseAlpha(), 180);
    UpdateCellPulse(0.5f);
    EXPECT_EQ(alpha[VCell::Hovered], 200);
    EXPECT_EQ(alpha[VCell::HoveredBombArea], 255);
    // One period later the same values; the fixed states keep theirs.
    std::vector<int> before(alpha.begin(), alpha.end());
    for (int i = 0; i < 8; ++i)
        UpdateCellPulse(0.125f);
    EXPECT_NEAR(alpha[VCell::CloneTarget], before[VCell::CloneTarget], 1);
    EXPECT_NEAR(alpha[VCell::JumpTarget], before[VCell::JumpTarget], 1);
    EXPECT_EQ(alpha[VCell::Normal], 255);
    EXPECT_EQ(alpha[VCell::Highlighted], 255);
    EXPECT_EQ(alpha[VCell::HoveredTarget], 120);
}

TEST_F(VCellTest, OverlayPerDisplayState)
{
    UpdateCellPulse(0.3f);
    const auto& alpha = Play().overlayAlpha;
    VCell& cell = Cell(30);
    struct Expect
    {
        int state;
        int cel;
        int alpha;
        bool tinted;
    };
    const Expect table[] = {
        {VCell::Highlighted, 3, 255, false},
        {VCell::CloneTarget, 4, alpha[2], false},
        {VCell::JumpTarget, 5, alpha[3], false},
        {VCell::Hovered, 5, alpha[5], false},
        {VCell::BombArea, 5, alpha[6] / 2 + 20, true},
        {VCell::HoveredBombArea, 5, alpha[7] / 2 + 20, true},
    };
    for (const Expect& e : table)
    {
        SetState(cell, e.state);
        const auto blits = DrawCell(cell);
        ASSERT_EQ(blits.size(), 2u) << e.state;
        EXPECT_EQ(blits[0].srcRect, Quoll::Rect(69, 0, 69, 66)) << "the cell's own cel first";
        EXPECT_EQ(blits[0].color.a, 255);
        EXPECT_EQ(blits[1].srcRect, Quoll::Rect(69 * e.cel, 0, 69, 66)) << e.state;
        EXPECT_EQ(blits[1].color.a, e.alpha) << e.state;
        EXPECT_EQ(blits[1].color.g, e.tinted ? 30 : 255) << e.state;
        EXPECT_EQ(blits[1].color.b, e.tinted ? 20 : 255) << e.state;
        EXPECT_EQ(cell.GetSprite()->mCel, 1) << "the cel is restored";
    }
    SetState(cell, VCell::Normal);
    EXPECT_EQ(DrawCell(cell).size(), 1u);
}

TEST_F(VCellTest, WobbleMovesOnlyTheCell)
{
    VCell& cell = Cell(30);
    view->AddBacteria(30, 1, 0);
    Step(7);
    const FloatPoint home = cell.GetWorldPosition();
    SetState(cell, VCell::HoveredTarget);
    const auto blits = DrawCell(cell);
    ASSERT_EQ(blits.size(), 1u) << "state 4 wobbles without overlay";
    EXPECT_EQ(blits[0].x, std::trunc(home.x + std::cos(Play().phaseA)));
    EXPECT_EQ(blits[0].y, std::trunc(home.y + std::sin(Play().phaseA)));
    EXPECT_EQ(cell.GetWorldPosition(), home);
    EXPECT_EQ(cell.GetBacteria()->GetPosition(), cell.GetPosition());
    SetState(cell, VCell::HoveredBombArea);
    EXPECT_EQ(cell.GetWobble(), (FloatPoint{2 * std::cos(Play().phaseB), 2 * std::sin(Play().phaseB)}));
    // Every view advances the shared phases: one board step advances them 61 times.
    const float before = Play().phaseA;
    Step();
    EXPECT_NEAR(Play().phaseA - before, 61 * 0.7f * 0.01f, 1e-4f);
}

TEST_F(VCellTest, TransitionPathsStartAtHomeAndReachTheirEnds)
{
    Play().gatherPoint = {237, 264};
    for (int id : {0, 4, 17, 56, 60})
    {
        VCell& cell = Cell(id);
        for (int path = 0; path < 5; ++path)
            EXPECT_EQ(cell.GetTransitionOffset(path, 0.0f), (FloatPoint{0, 0})) << id << " " << path;
        const float dx = cell.GetHome().x - 237;
        const float dy = cell.GetHome().y - 264;
        const float n = std::sqrt(dx * dx + dy * dy);
        // Path 4 ends at the start of its cosine: N W / 1.6; path 2 half way round: -N W.
        const FloatPoint four = cell.GetTransitionOffset(4, 1.0f);
        EXPECT_NEAR(four.x, dx / n * 1024 / 1.6f, 0.01f);
        EXPECT_NEAR(four.y, dy / n * 1024 / 1.6f, 0.01f);
        const FloatPoint two = cell.GetTransitionOffset(2, 1.0f);
        EXPECT_NEAR(two.x, -dx / n * 1024, 0.1f);
        EXPECT_NEAR(two.y, -dy / n * 1024, 0.1f);
        EXPECT_EQ(cell.GetTransitionOffset(7, 0.4f), cell.GetTransitionOffset(2, 0.4f)) << "paths modulo 5";
    }
    // A home on the gather point stays put on every path.
    VCell& centre = Cell(30);
    Play().gatherPoint = centre.GetHome();
    for (int path = 0; path < 5; ++path)
        for (float t : {0.1f, 0.5f, 1.0f})
        {
            centre.ApplyTransition(path, t);
            EXPECT_EQ(centre.GetPosition(), centre.GetHome());
        }
}

TEST_F(VCellTest, BombTimerExplodesOnce)
{
    VCell& cell = Cell(12);
    cell.SetBombTimer(0.5f);
    int steps = 0;
    while (services.CountParticles(PlayIds::kBombExplosionParticle) == 0 && steps < 100)
    {
        Step();
        ++steps;
    }
    EXPECT_GE(steps, 50);
    EXPECT_LE(steps, 51);
    EXPECT_LT(cell.GetBombTimer(), 0.0f);
    Step(100);
    EXPECT_EQ(services.CountParticles(PlayIds::kBombExplosionParticle), 1);
    EXPECT_EQ(services.CountSound("SOUND_BOMB_EXPLOSION1"), 1);
    const FakePlayServices::Particle& blast = services.particles.front();
    EXPECT_EQ(blast.x, cell.GetCentre().x);
    EXPECT_EQ(blast.y, cell.GetCentre().y);
}

TEST_F(VCellTest, SkinsAndOddKinds)
{
    int cel = -1;
    services.cellSkin = 9;
    EXPECT_EQ(GetCellSkinImage(services, 3, cel), services.GetImageById(PlayIds::kCellImageBase + 5));
    EXPECT_EQ(cel, 2);
    services.cellSkin = -2;
    EXPECT_EQ(GetCellSkinImage(services, 1, cel), services.GetImageById(PlayIds::kCellImageBase + 1));
    EXPECT_EQ(GetCellSkinImage(services, 0, cel), nullptr);
    EXPECT_TRUE(services.log.empty());

    // A kind the board does not know draws nothing, with one line.
    Board board = FullBoard();
    board.SetCellValue(8, 7);
    view->BuildCellViews(board);
    EXPECT_EQ(services.log.size(), 1u);
    EXPECT_EQ(Cell(8).GetSprite(), nullptr);
    EXPECT_EQ(Cell(8).GetCentre().x, Cell(8).GetWorldPosition().x + 34);
}

TEST_F(VCellTest, UnknownEffectIdsGiveOneLine)
{
    services.registeredParticles.erase(PlayIds::kBombExplosionParticle);
    Cell(3).SetBombTimer(0);
    Step(3);
    EXPECT_EQ(services.log.size(), 1u);
    EXPECT_TRUE(services.particles.empty());
}

// Meshes: the grid's rest places and texture coordinates, the double draw (normal, then additive
// with the tint on) and its triangle order, the rotation and scale about their points, the wave's
// shapes, range and phase, and the mesh node's update order.
// Rerun one case: test_scene --gtest_filter='Mesh*.Name'.
#include "SceneTestDoubles.h"
#include "game/scene/MeshNode.h"
#include "game/scene/Wave_MeshAffector.h"

#include "framework/display/Graphics.h"

#include <gtest/gtest.h>

#include <cmath>

static_assert(!std::is_copy_constructible_v<MeshGrid>);
static_assert(!std::is_copy_constructible_v<MeshNode>);

namespace
{
struct MeshFixture : ::testing::Test
{
    FakeSceneServices services;
    std::unique_ptr<Quoll::Image> texture = MakeSourceImage("tex", 400, 200);
    RecordingImage screen;
    Quoll::Graphics g{&screen};
};
} // namespace

TEST_F(MeshFixture, GridRestsOnItsStepsAndSpansTheTexture)
{
    MeshGrid grid(3, 5);
    grid.SetImage(texture.get());
    EXPECT_FLOAT_EQ(grid.GetStepX(), 100.0f);
    EXPECT_FLOAT_EQ(grid.GetStepY(), 100.0f);
    const Quoll::TriVertex& corner = grid.Vertex(2, 4);
    EXPECT_FLOAT_EQ(corner.x, 400.0f);
    EXPECT_FLOAT_EQ(corner.y, 200.0f);
    EXPECT_FLOAT_EQ(corner.u, 1.0f);
    EXPECT_FLOAT_EQ(corner.v, 1.0f);
    EXPECT_EQ(corner.color, MeshGrid::kNeutralGrey);
    EXPECT_EQ(grid.GetTriangleCount(), 16);

    // An empty extent takes the texture position from the grid position alone.
    grid.SetSize(0, 0);
    EXPECT_FLOAT_EQ(grid.Vertex(1, 2).u, 0.5f);
    EXPECT_FLOAT_EQ(grid.Vertex(1, 2).v, 0.5f);
    EXPECT_FLOAT_EQ(grid.Vertex(1, 2).x, 0.0f);
}

TEST_F(MeshFixture, DrawIsTwoPassesOfTheSameTrianglesAndLeavesTheContextPlain)
{
    MeshGrid grid(3, 5);
    grid.SetImage(texture.get());
    g.SetColor(Quoll::Color(10, 20, 30, 40));
    grid.Draw(&g, 7.0f, 9.0f);
    ASSERT_EQ(screen.calls.size(), 2u);
    EXPECT_EQ(screen.calls[0], "Triangles tex x16 rgba(255,255,255,255) normal");
    EXPECT_EQ(screen.calls[1], "Triangles tex x16 rgba(10,20,30,40) additive");
    EXPECT_FALSE(g.GetImageTint());
    EXPECT_EQ(g.GetDrawMode(), Quoll::DrawMode::Normal);

    // Without rotation or scale the corners are only offset. Triangles (A, B, C), (C, B, D).
    const Quoll::TriVertex* t = grid.GetTriangles()[0];
    EXPECT_FLOAT_EQ(t[0].x, 7.0f);
    EXPECT_FLOAT_EQ(t[1].x, 107.0f);
    EXPECT_FLOAT_EQ(t[2].y, 109.0f);
    const Quoll::TriVertex* second = grid.GetTriangles()[1];
    EXPECT_FLOAT_EQ(second[2].x, 107.0f);
    EXPECT_FLOAT_EQ(second[2].y, 109.0f);
    EXPECT_FLOAT_EQ(second[2].u, 0.25f);
}

TEST_F(MeshFixture, GridWithoutImageDrawsNothingAndLeavesTheContextAlone)
{
    MeshGrid grid(2, 2);
    g.SetImageTint(true);
    g.SetDrawMode(Quoll::DrawMode::Additive);
    grid.Draw(&g, 0, 0);
    EXPECT_TRUE(screen.calls.empty());
    EXPECT_TRUE(g.GetImageTint());
    EXPECT_EQ(g.GetDrawMode(), Quoll::DrawMode::Additive);
}

TEST_F(MeshFixture, RotationTurnsAboutTheCentreAndScaleWorksAboutTheCorner)
{
    MeshGrid grid(2, 2);
    grid.SetImage(texture.get()); // 400 x 200
    grid.mRotation = 3.14159265f;
    grid.Draw(&g, 100.0f, 50.0f);
    // The top-left corner (100, 50) turns half round the centre (300, 150) to (500, 250).
    const Quoll::TriVertex& a = grid.GetTriangles()[0][0];
    EXPECT_NEAR(a.x, 500.0f, 1e-3);
    EXPECT_NEAR(a.y, 250.0f, 1e-3);

    grid.mRotation = 0.0f;
    grid.mScaleX = 2.0f;
    grid.mScaleY = 0.5f;
    grid.Draw(&g, 100.0f, 50.0f);
    const Quoll::TriVertex& b = grid.GetTriangles()[0][1]; // rest (400, 0)
    EXPECT_NEAR(b.x, 900.0f, 1e-3);
    EXPECT_NEAR(b.y, 50.0f, 1e-3);
    const Quoll::TriVertex& c = grid.GetTriangles()[0][2]; // rest (0, 200)
    EXPECT_NEAR(c.x, 100.0f, 1e-3);
    EXPECT_NEAR(c.y, 150.0f, 1e-3);
}

TEST_F(MeshFixture, WaveShapesMoveTheirAxesOnly)
{
    MeshGrid grid(3, 4);
    grid.SetSize(300, 200);
    Wave_MeshAffector wave(services);
    wave.mPhase = 0.3f;
    wave.mAmplitude = 5.0f;
    wave.mMode = Wave_MeshAffector::kHorizontal;
    wave.Apply(&grid);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
        {
            EXPECT_FLOAT_EQ(grid.Vertex(r, c).y, grid.GetStepY() * static_cast<float>(r));
            EXPECT_NEAR(grid.Vertex(r, c).x, 100.0f * c + 5.0f * std::cos(c * 0.5f + 0.3f), 1e-4);
        }
    wave.mMode = Wave_MeshAffector::kBothYReversed;
    wave.Apply(&grid);
    EXPECT_NEAR(grid.Vertex(2, 1).y, 200.0f + 5.0f * std::cos(0.3f - 1.0f), 1e-4);

    // An unknown shape leaves the grid as it was.
    MeshGrid still(3, 4);
    still.SetSize(300, 200);
    wave.mMode = 7;
    wave.Apply(&still);
    EXPECT_FLOAT_EQ(still.Vertex(1, 1).x, 100.0f);
    EXPECT_FLOAT_EQ(still.Vertex(1, 1).y, 100.0f);
}

TEST_F(MeshFixture, UnsetRangeBecomesTheWholeGridOnceAndStays)
{
    MeshGrid grid(3, 4);
    grid.SetSize(300, 200);
    Wave_MeshAffector wave(services);
    wave.Apply(&grid);
    EXPECT_EQ(wave.mFirstColumn, 0);
    EXPECT_EQ(wave.mLastColumn, 3);
    EXPECT_EQ(wave.mLastRow, 2);
    EXPECT_NE(grid.Vertex(2, 3).x, 300.0f);

    MeshGrid larger(6, 6);
    larger.SetSize(500, 500);
    wave.Apply(&larger);
    EXPECT_EQ(wave.mLastColumn, 3);
    EXPECT_FLOAT_EQ(larger.Vertex(5, 5).x, 500.0f);
}

TEST_F(MeshFixture, WavePhaseWrapsOnceAtThePeriodAndDrawsOneStartPhase)
{
    FakeSceneServices reference; // the same seed, no draws yet
    const int before = services.draws;
    Wave_MeshAffector wave(services);
    EXPECT_EQ(services.draws, before + 1);
    EXPECT_FLOAT_EQ(wave.mPhase, reference.RandFloat(6.2831855f));
    wave.mPhase = 6.2f;
    wave.mSpeed = 1.0f;
    wave.Update(0.1f);
    EXPECT_NEAR(wave.mPhase, 0.0168f, 1e-4);
}

TEST_F(MeshFixture, NodeWithoutGridIgnoresItsChildren)
{
    MeshNode node;
    struct Counting : VisualNode
    {
        int* updates;
        explicit Counting(int* u) : updates(u) {}
        void Update(float) override { ++*updates; }
    };
    int updates = 0;
    node.AddChild(new Counting(&updates));
    node.Update(0.01f);
    node.Draw(&g);
    EXPECT_EQ(updates, 0);
    EXPECT_TRUE(screen.calls.empty());

    // With a grid the children are still neither updated nor drawn; the node's rotation reaches
    // the grid after the affectors and it draws at the world position.
    auto grid = std::make_unique<MeshGrid>(2, 2);
    grid->SetImage(texture.get());
    node.SetGrid(std::move(grid));
    node.SetRotation(0.25f);
    node.SetPosition({3.0f, 4.0f});
    node.Update(0.01f);
    EXPECT_EQ(updates, 0);
    EXPECT_FLOAT_EQ(node.GetGrid()->mRotation, 0.25f);
    node.Draw(&g);
    EXPECT_EQ(screen.calls.size(), 2u);
}

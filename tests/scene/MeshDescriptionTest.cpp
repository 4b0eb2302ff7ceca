// The mesh description language: layers, sizes and places of "OBJ" lines, groups and the
// affector lines that join them, refused and incomplete lines, the background node's loading and
// its flash, and the pictures loaded with LoadMeshNode.
// Rerun one case: test_scene --gtest_filter='MeshDescription*.Name'.
#include "SceneTestDoubles.h"
#include "game/scene/Fone.h"
#include "game/scene/MeshDescription.h"
#include "game/scene/Mover_NodeAffector.h"
#include "game/scene/Rotate_NodeAffector.h"
#include "game/scene/Wave_MeshAffector.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace
{
struct MeshDescriptionFixture : ::testing::Test
{
    MeshDescriptionFixture()
    {
        services.Register(30, "IMAGE_SKY", sky.get());
        services.Register(31, "IMAGE_CLOUD", cloud.get());
        services.Register(32, "SOUND_POP", nullptr);
    }

    // Writes a description file into the test's folder and returns its path.
    std::string Write(const std::string& text)
    {
        const std::string path = ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                                 std::to_string(files++) + ".fone";
        std::ofstream(path) << text;
        return path;
    }

    std::vector<std::unique_ptr<MeshNode>> Load(const std::string& text)
    {
        std::vector<std::unique_ptr<MeshNode>> nodes;
        EXPECT_TRUE(LoadFoneFile(Write(text), nodes, services));
        return nodes;
    }

    FakeSceneServices services;
    std::unique_ptr<Quoll::Image> sky = MakeSourceImage("sky", 512, 256);
    std::unique_ptr<Quoll::Image> cloud = MakeSourceImage("cloud", 200, 100);
    int files = 0;
};
} // namespace

TEST_F(MeshDescriptionFixture, BackgroundPathOfIndex)
{
    EXPECT_EQ(Fone::PathOfIndex(7), "data/art/textures/fones/7.fone");
}

TEST_F(MeshDescriptionFixture, ObjLayersGrowFromTheApplicationSizeAndShareTheirCorner)
{
    const auto nodes = Load("OBJ SKY 2 10 20 0 0 5 4\n");
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(nodes[0]->GetGrid()->GetWidth(), 1024);
    EXPECT_EQ(nodes[0]->GetGrid()->GetHeight(), 768);
    EXPECT_EQ(nodes[1]->GetGrid()->GetWidth(), 1536);
    EXPECT_EQ(nodes[1]->GetGrid()->GetHeight(), 1152);
    EXPECT_EQ(nodes[1]->GetGrid()->GetColumns(), 5);
    EXPECT_EQ(nodes[1]->GetGrid()->GetRows(), 4);
    EXPECT_EQ(nodes[1]->GetPosition(), (FloatPoint{10.0f, 20.0f}));
    EXPECT_EQ(nodes[0]->GetGrid()->Vertex(0, 0).color, 0xFF808080u);
}

TEST_F(MeshDescriptionFixture, ObjSizesAndEdgePlacement)
{
    // -1 puts the layer against the right edge; a negative width is a size in pixels, a positive
    // one a fraction of the image; the opacity becomes the vertices' alpha.
    const auto nodes = Load("OBJ CLOUD 1 -1 -1 -200 0.5 2 2 0.5\n");
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0]->GetPosition(), (FloatPoint{824.0f, 718.0f}));
    EXPECT_EQ(nodes[0]->GetGrid()->GetWidth(), 200);
    EXPECT_EQ(nodes[0]->GetGrid()->GetHeight(), 50);
    EXPECT_EQ(nodes[0]->GetGrid()->Vertex(1, 1).color, 0x7F808080u);
}

TEST_F(MeshDescriptionFixture, AffectorLinesJoinTheCurrentGroupOnly)
{
    const auto nodes = Load("WAVE 0 1 2 0.5\n"
                            "OBJ SKY 2 0 0 0 0 4 4\n"
                            "WAVE 1 1 2 0.5\n"
                            "OBJ CLOUD 1 0 0 1 1 3 3\n"
                            "WAVE 2 1 2 0.5 0 0 10 10\n"
                            "ROTATE\n"
                            "OBJ NOSUCH 1 0 0 1 1 3 3\n"
                            "WAVE 2 1 2 0.5\n");
    ASSERT_EQ(nodes.size(), 3u);
    // The first wave preceded every "OBJ"; the one after NOSUCH has no group.
    for (int i : {0, 1})
    {
        ASSERT_EQ(nodes[static_cast<size_t>(i)]->GetMeshAffectors().size(), 1u);
        const MeshAffector& wave = *nodes[static_cast<size_t>(i)]->GetMeshAffectors()[0];
        // Only the four required values: the range is vertex (0, 0) alone.
        EXPECT_EQ(wave.mFirstColumn, 0);
        EXPECT_EQ(wave.mLastColumn, 0);
        EXPECT_EQ(wave.mLastRow, 0);
        EXPECT_TRUE(nodes[static_cast<size_t>(i)]->GetNodeAffectors().empty());
    }
    ASSERT_EQ(nodes[2]->GetMeshAffectors().size(), 1u);
    const MeshAffector& clipped = *nodes[2]->GetMeshAffectors()[0];
    EXPECT_EQ(clipped.mLastColumn, 2);
    EXPECT_EQ(clipped.mLastRow, 2);
    EXPECT_EQ(nodes[2]->GetNodeAffectors().size(), 1u);
    EXPECT_EQ(services.log, std::vector<std::string>{"ERROR: Not found Fone image: NOSUCH"});
}

TEST_F(MeshDescriptionFixture, WaveOnlyAtVertexZeroMovesNothingElse)
{
    auto nodes = Load("OBJ SKY 1 0 0 0 0 3 3\nWAVE 0 1 10 0.5\n");
    ASSERT_EQ(nodes.size(), 1u);
    nodes[0]->Update(0.1f);
    const MeshGrid& grid = *nodes[0]->GetGrid();
    EXPECT_FLOAT_EQ(grid.Vertex(1, 1).x, grid.GetStepX());
    EXPECT_FLOAT_EQ(grid.Vertex(2, 2).y, 2 * grid.GetStepY());
}

TEST_F(MeshDescriptionFixture, MoverAreaResolvesAgainstTheApplication)
{
    auto nodes = Load("OBJ SKY 1 0 0 0 0 2 2\nMOVER 10 0 0 -1 -1 -1 400\n");
    ASSERT_EQ(nodes.size(), 1u);
    ASSERT_EQ(nodes[0]->GetNodeAffectors().size(), 1u);
    const auto* mover = dynamic_cast<const Mover_NodeAffector*>(nodes[0]->GetNodeAffectors()[0].get());
    ASSERT_NE(mover, nullptr);
    EXPECT_EQ(mover->GetArea(), Quoll::Rect(0, 368, 1024, 400));
    EXPECT_FLOAT_EQ(mover->mSpeed, 10.0f); // the first of one node adds no random part
}

TEST_F(MeshDescriptionFixture, MoverAreasWhoseFarEdgePassesTheIntRangeStillWork)
{
    // A width of many application widths (saturated at INT_MAX) from x = 1, and an area placed
    // at the top of the range: both far edges lie past INT_MAX.
    auto nodes = Load("OBJ SKY 2 0 0 0 0 9 7\nMOVER 1 2 3 1 0 -9999991\n"
                      "OBJ SKY 1 0 0 0 0 2 2\nMOVER 1 2 3 2147483000 0 5000\n");
    ASSERT_EQ(nodes.size(), 3u);
    for (auto& node : nodes)
        for (int i = 0; i < 3; ++i)
            node->Update(0.01f);
    const auto* wide = dynamic_cast<const Mover_NodeAffector*>(nodes[0]->GetNodeAffectors()[0].get());
    const auto* far = dynamic_cast<const Mover_NodeAffector*>(nodes[2]->GetNodeAffectors()[0].get());
    ASSERT_TRUE(wide != nullptr && far != nullptr);
    EXPECT_EQ(wide->GetArea(), Quoll::Rect(1, 0, 2147483647, 768));
    EXPECT_GE(wide->GetTravellingPoint().x, 0.0f);
    EXPECT_GE(far->GetTravellingPoint().x, 2147483000.0f - 1.0f);
    EXPECT_LE(far->GetTravellingPoint().x, 2147488000.0f + 1.0f);
}

TEST_F(MeshDescriptionFixture, RotateTurnsEveryLayerFromItsOwnStart)
{
    auto nodes = Load("OBJ SKY 2 0 0 0 0 2 2\nROTATE 90\n");
    ASSERT_EQ(nodes.size(), 2u);
    float starts[2];
    for (size_t i = 0; i < 2; ++i)
    {
        const auto* rotate = dynamic_cast<const Rotate_NodeAffector*>(nodes[i]->GetNodeAffectors()[0].get());
        ASSERT_NE(rotate, nullptr);
        EXPECT_NEAR(rotate->mSpeed, 1.5707963f, 1e-6);
        starts[i] = rotate->mAngle;
        EXPECT_FLOAT_EQ(nodes[i]->GetRotation(), rotate->mAngle);
    }
    EXPECT_NE(starts[0], starts[1]);
}

TEST_F(MeshDescriptionFixture, RefusedLinesAreLoggedAndCreateNothing)
{
    const auto nodes = Load("OBJ SKY 1 0 0 0 0 1 5\n"     // fewer than 2 columns
                            "OBJ SKY 1 0 0 0 0 5 65\n"    // too many rows
                            "OBJ SKY 999 0 0 0 0 5 5\n"   // too many layers
                            "OBJ SKY 1 0 0\n"             // values missing
                            "OBJ POP 1 0 0 0 0 2 2\n"     // not an image
                            "OBJ SKY -3 0 0 0 0 2 2\n"    // negative count
                            "WAVE 1 2\n"
                            "MOVER 1\n"
                            "DIRMOVER\n"
                            "UNKNOWN 1 2 3\n");
    EXPECT_TRUE(nodes.empty());
    EXPECT_EQ(services.log.size(), 9u);
    EXPECT_NE(services.log[0].find("on Line 1"), std::string::npos);
}

TEST_F(MeshDescriptionFixture, UnopenableFileIsReportedByBothLoaders)
{
    Fone fone(services);
    EXPECT_FALSE(fone.Load("no/such.fone"));
    EXPECT_EQ(services.log, (std::vector<std::string>{"ERROR: Cannot load Fone: no/such.fone",
                                                      "ERROR: Cannot load fone: no/such.fone"}));
    EXPECT_EQ(LoadMeshNode("no/such.mesh", services), nullptr);
}

TEST_F(MeshDescriptionFixture, MeshNodeIsTheFirstLayer)
{
    const auto node = LoadMeshNode(Write("OBJ CLOUD 3 5 6 1 1 2 2\n"), services);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->GetGrid()->GetWidth(), 200);
    EXPECT_EQ(LoadMeshNode(Write("# nothing\n"), services), nullptr);
}

TEST_F(MeshDescriptionFixture, BackgroundKeepsItsLayersAsChildren)
{
    Fone fone(services);
    ASSERT_TRUE(fone.Load(Write("OBJ SKY 2 0 0 0 0 2 2\nOBJ CLOUD 1 0 0 1 1 2 2 0.5\n")));
    ASSERT_EQ(fone.GetLayers().size(), 3u);
    EXPECT_EQ(fone.GetChildren().size(), 3u);
    EXPECT_EQ(fone.GetChildren()[0], fone.GetLayers()[0]);
    Fone empty(services);
    EXPECT_FALSE(empty.Load(Write("WAVE 1 1 1 1\n")));
}

TEST_F(MeshDescriptionFixture, FlashFadesToNeutralKeepingEachLayersOpacity)
{
    Fone fone(services);
    ASSERT_TRUE(fone.Load(Write("OBJ SKY 1 0 0 0 0 2 2\nOBJ CLOUD 1 0 0 1 1 2 2 0.5\n")));
    const MeshGrid& opaque = *fone.GetLayers()[0]->GetGrid();
    const MeshGrid& translucent = *fone.GetLayers()[1]->GetGrid();
    fone.StartFlash(0.5f);
    fone.Update(0.25f);
    // Halfway: 128 + trunc(127 * 0.5) = 191.
    EXPECT_EQ(opaque.Vertex(0, 0).color, 0xFFBFBFBFu);
    EXPECT_EQ(translucent.Vertex(1, 1).color, 0x7FBFBFBFu);
    fone.Update(0.3f);
    EXPECT_EQ(opaque.Vertex(0, 0).color, 0xFF808080u);
    EXPECT_EQ(translucent.Vertex(0, 0).color, 0x7F808080u);

    fone.StartFlash(0.5f);
    fone.Update(0.01f);
    fone.StartFlash(0.0f);
    EXPECT_EQ(opaque.Vertex(0, 0).color, 0xFF808080u);
    EXPECT_FLOAT_EQ(fone.GetFlashTime(), 0.0f);
}

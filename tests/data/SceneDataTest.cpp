// The scene graph's own readers take the authored scene data from main.pak as the game mounts
// it: every background builds its layers, every zoom effect its pieces, every particle
// description emits, all without a line on the log; every ripple a description file ships moves
// every vertex of its grid.
#include "tests/data/GameDataFiles.h"
#include "tests/scene/SceneTestDoubles.h"

#include "framework/core/Buffer.h"
#include "framework/files/PakInterface.h"
#include "game/scene/MeshDescription.h"
#include "game/scene/ParticleFile.h"
#include "game/scene/Wave_MeshAffector.h"
#include "game/scene/ZoomConfig.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

namespace
{
class SceneData : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(::chdir(QUOLL_GAME_DIR), 0);
        Quoll::GetPakInterface()->SetPassword(QUOLL_PAK_PASSWORD);
        ASSERT_TRUE(Quoll::GetPakInterface()->MountPakFile("main.pak"));
        // Every image of the master table under its id and name, at the table's size.
        for (const ResGen::Entry& entry : DataTest::MasterTable())
            if (entry.kind == ResGen::Kind::Image)
            {
                mImages.push_back(MakeSourceImage(entry.path, entry.width, entry.height, entry.cols, entry.rows));
                mServices.Register(entry.id, entry.name, mImages.back().get());
            }
    }
    void TearDown() override { Quoll::GetPakInterface()->UnmountAll(); }

    std::vector<std::unique_ptr<Quoll::Image>> mImages;
    FakeSceneServices mServices;
};

TEST_F(SceneData, EveryBackgroundBuildsItsPictureAndLight)
{
    for (int n = 1; n <= 24; ++n)
    {
        std::vector<std::unique_ptr<MeshNode>> layers;
        ASSERT_TRUE(LoadFoneFile("data/art/textures/fones/" + std::to_string(n) + ".fone", layers, mServices)) << n;
        EXPECT_EQ(layers.size(), 2u) << n;
    }
    EXPECT_TRUE(mServices.log.empty()) << mServices.log.front();
}

// The description files the game ships (backgrounds and single pictures), as paths in the pack.
std::vector<std::string> DescriptionFiles()
{
    std::vector<std::string> paths;
    const std::filesystem::path data = QUOLL_SOURCE_DIR "/data";
    for (const auto& entry : std::filesystem::recursive_directory_iterator(data / "art"))
        if (entry.path().extension() == ".fone" || entry.path().extension() == ".mesh")
            paths.push_back(std::filesystem::relative(entry.path(), data.parent_path()).generic_string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

bool HasWave(const MeshNode& layer)
{
    const auto& affectors = layer.GetMeshAffectors();
    return std::any_of(affectors.begin(), affectors.end(),
                       [](const auto& affector) { return dynamic_cast<Wave_MeshAffector*>(affector.get()); });
}

// How a rippling layer moves over two seconds of updates.
struct Ripple
{
    // Vertices that stay within a tenth of a pixel of where they started.
    int still = 0;
    // The layer's edges, at the innermost place each reaches, in screen pixels.
    float left = -1e9f, top = -1e9f, right = 1e9f, bottom = 1e9f;
};

Ripple Watch(MeshNode& layer)
{
    MeshGrid& grid = *layer.GetGrid();
    const int rows = grid.GetRows(), columns = grid.GetColumns();
    const FloatPoint at = layer.GetPosition();
    std::vector<float> minX(rows * columns, 1e9f), maxX(minX.size(), -1e9f), minY(minX), maxY(maxX);
    Ripple ripple;
    for (int update = 0; update < 200; ++update)
    {
        layer.Update(0.01f);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c)
            {
                const int i = r * columns + c;
                const float x = at.x + grid.Vertex(r, c).x, y = at.y + grid.Vertex(r, c).y;
                minX[i] = std::min(minX[i], x), maxX[i] = std::max(maxX[i], x);
                minY[i] = std::min(minY[i], y), maxY[i] = std::max(maxY[i], y);
                ripple.left = c == 0 ? std::max(ripple.left, x) : ripple.left;
                ripple.right = c == columns - 1 ? std::min(ripple.right, x) : ripple.right;
                ripple.top = r == 0 ? std::max(ripple.top, y) : ripple.top;
                ripple.bottom = r == rows - 1 ? std::min(ripple.bottom, y) : ripple.bottom;
            }
    }
    for (size_t i = 0; i < minX.size(); ++i)
        ripple.still += maxX[i] - minX[i] < 0.1f && maxY[i] - minY[i] < 0.1f;
    return ripple;
}

// Every wave moves every vertex of its layer; a background's rippling picture covers the whole
// screen all the while, so the ripple never uncovers an edge.
TEST_F(SceneData, EveryShippedWaveMovesEveryVertexOfItsGrid)
{
    const std::vector<std::string> files = DescriptionFiles();
    ASSERT_GE(files.size(), 32u);
    int waves = 0;
    for (const std::string& path : files)
    {
        std::vector<std::unique_ptr<MeshNode>> layers;
        ASSERT_TRUE(LoadFoneFile(path, layers, mServices)) << path;
        for (const std::unique_ptr<MeshNode>& layer : layers)
            if (HasWave(*layer))
            {
                ++waves;
                const Ripple ripple = Watch(*layer);
                EXPECT_EQ(ripple.still, 0) << path;
                if (path.ends_with(".fone"))
                {
                    EXPECT_LE(ripple.left, 0.0f) << path;
                    EXPECT_LE(ripple.top, 0.0f) << path;
                    EXPECT_GE(ripple.right, static_cast<float>(mServices.appWidth)) << path;
                    EXPECT_GE(ripple.bottom, static_cast<float>(mServices.appHeight)) << path;
                }
            }
    }
    EXPECT_GE(waves, 32);
    EXPECT_TRUE(mServices.log.empty()) << mServices.log.front();
}

TEST_F(SceneData, EveryZoomEffectHasAPicture)
{
    Quoll::ZoomConfigs configs;
    ASSERT_TRUE(configs.Load(mServices));
    for (int key = 1; key <= Quoll::ZoomConfigs::kCount; ++key)
    {
        const Quoll::ZoomConfig* config = configs.Find(key);
        ASSERT_NE(config, nullptr) << key;
        EXPECT_GT(config->duration, 0.0f) << key;
        bool picture = false;
        for (const Quoll::ZoomPiece& piece : config->pieces)
            picture = picture || (!piece.label && piece.imageId > 0 && mServices.GetImageById(piece.imageId) != nullptr);
        EXPECT_TRUE(picture) << key;
    }
    EXPECT_TRUE(mServices.log.empty()) << mServices.log.front();
}

TEST_F(SceneData, EveryParticleDescriptionEmitsVisibleParticles)
{
    for (const char* name : {"bacdie8", "bacfail", "bombattack", "bonusdone1", "bonusdone2", "bonusdone3", "medal1",
                             "medal2", "medal3", "medalloose"})
    {
        std::string bytes;
        ASSERT_TRUE(Quoll::PakReadFile(std::string("data/art/particles/") + name + ".psi", bytes)) << name;
        Quoll::Buffer buffer;
        buffer.WriteBytes(bytes.data(), bytes.size());
        buffer.SeekReadStart();
        const ParticleFile file = ReadParticleFile(buffer);
        EXPECT_GT(file.desc.emission, 0) << name;
        EXPECT_GT(file.desc.lifeMax, 0.0f) << name;
        EXPECT_GT(file.desc.sizeStart, 0.0f) << name;
        EXPECT_GT(file.desc.colourStart[3], 0.0f) << name;
    }
}
} // namespace

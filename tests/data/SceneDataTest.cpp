// The scene graph's own readers take the authored scene data from main.pak as the game mounts
// it: every background builds its layers, every zoom effect its pieces, every particle
// description emits, all without a line on the log.
#include "tests/data/GameDataFiles.h"
#include "tests/scene/SceneTestDoubles.h"

#include "framework/core/Buffer.h"
#include "framework/files/PakInterface.h"
#include "game/scene/MeshDescription.h"
#include "game/scene/ParticleFile.h"
#include "game/scene/ZoomConfig.h"

#include <gtest/gtest.h>
#include <unistd.h>

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

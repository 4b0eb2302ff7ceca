// The zoom effect: configuration files read once, pieces with their defaults, the progress in
// both directions, a piece's window, alpha segments and growth, and the finished state of runs
// without a configuration or length.
// Rerun one case: test_scene --gtest_filter='ZoomSFX*.Name'.
#include "SceneTestDoubles.h"
#include "game/scene/ZoomSFX.h"

#include "framework/display/Graphics.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace
{
struct ZoomSFXFixture : ::testing::Test
{
    ZoomSFXFixture()
    {
        std::filesystem::create_directories(folder);
        for (int key = 1; key <= 6; ++key)
            std::ofstream(folder + Quoll::ZoomConfigs::FileName(key)) << "SFX 2.0 7\n";
        std::ofstream(folder + Quoll::ZoomConfigs::FileName(3)) << "# pieces\n"
                                                                   "SFX 2.0 7\n"
                                                                   "IMAGE_RING 0.2 0.5 0.8 0.2 1.0 0.0\n"
                                                                   "LAB\n"
                                                                   "IMAGE_NOSUCH\n";
        std::ofstream(folder + Quoll::ZoomConfigs::FileName(4)) << "SFX 0\n";
        services.Register(12, "IMAGE_RING", ring.get());
        services.Register(13, "SOUND_ZOOM_IN", nullptr);
        services.Register(14, "SOUND_ZOOM_OUT", nullptr);
    }

    ~ZoomSFXFixture() override { std::filesystem::remove_all(folder); }

    FakeSceneServices services;
    // A folder of the test's own: CTest runs the cases of this file side by side.
    std::string folder =
        std::string("zoom_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    Quoll::ZoomConfigs configs{folder};
    std::unique_ptr<Quoll::Image> ring = MakeSourceImage("ring", 256, 192);
};
} // namespace

TEST_F(ZoomSFXFixture, ConfigurationsAreReadOnceWithPieceDefaults)
{
    ASSERT_TRUE(configs.Load(services));
    const Quoll::ZoomConfig* config = configs.Find(3);
    ASSERT_NE(config, nullptr);
    EXPECT_FLOAT_EQ(config->duration, 2.0f);
    EXPECT_FLOAT_EQ(config->second, 7.0f);
    ASSERT_EQ(config->pieces.size(), 3u);
    const Quoll::ZoomPiece& piece = config->pieces[0];
    EXPECT_FLOAT_EQ(piece.alphaMiddle, 1.0f);
    EXPECT_FLOAT_EQ(piece.scaleStart, 1.0f); // left out: the default
    EXPECT_FLOAT_EQ(piece.scaleEnd, 2.0f);
    EXPECT_TRUE(config->pieces[1].label);
    EXPECT_EQ(configs.Find(9), nullptr);

    std::filesystem::remove(folder + Quoll::ZoomConfigs::FileName(3));
    EXPECT_TRUE(configs.Load(services)); // already held: nothing read
}

TEST_F(ZoomSFXFixture, MissingFileStopsTheReadingButKeepsEarlierOnes)
{
    std::filesystem::remove(folder + Quoll::ZoomConfigs::FileName(5));
    EXPECT_FALSE(configs.Load(services));
    EXPECT_NE(configs.Find(4), nullptr);
    EXPECT_EQ(configs.Find(6), nullptr);
    EXPECT_EQ(services.log, std::vector<std::string>{"ERROR: Cannot open file: " + folder + "zoomfx5.cfg"});
}

TEST_F(ZoomSFXFixture, StartPlaysTheSoundAndUpdatesAreCut)
{
    Quoll::ZoomSFX zoom(services, configs);
    zoom.Start(true, 3);
    zoom.Start(false, 3);
    EXPECT_EQ(services.sounds, (std::vector<std::string>{"13 1.000000 0.000000", "14 1.000000 0.000000"}));
    zoom.Update(0.5f);
    EXPECT_FLOAT_EQ(zoom.GetTime(), 0.1f);
    EXPECT_FALSE(zoom.IsFinished());
    for (int i = 0; i < 30; ++i)
        zoom.Update(0.1f);
    EXPECT_FLOAT_EQ(zoom.GetTime(), 2.0f);
    EXPECT_TRUE(zoom.IsFinished());
    // The pieces are bound at start; the unknown name and the label bind nothing.
    EXPECT_EQ(zoom.GetPieces()[0].image, ring.get());
    EXPECT_EQ(zoom.GetPieces()[1].image, nullptr);
    EXPECT_EQ(zoom.GetPieces()[2].image, nullptr);
}

TEST_F(ZoomSFXFixture, PieceWindowAlphaAndGrowth)
{
    Quoll::ZoomPiece piece;
    piece.start = 0.2f, piece.middle = 0.5f, piece.end = 0.8f;
    piece.alphaStart = 0.2f, piece.alphaMiddle = 1.0f, piece.alphaEnd = 0.0f;
    float alpha = 0.0f, scale = 0.0f;
    EXPECT_FALSE(Quoll::ZoomSFX::PieceAt(piece, 0.1f, alpha, scale));
    EXPECT_FALSE(Quoll::ZoomSFX::PieceAt(piece, 0.9f, alpha, scale));
    ASSERT_TRUE(Quoll::ZoomSFX::PieceAt(piece, 0.35f, alpha, scale));
    EXPECT_NEAR(alpha, 0.6f, 1e-5);
    ASSERT_TRUE(Quoll::ZoomSFX::PieceAt(Quoll::ZoomPiece(), 0.5f, alpha, scale));
    EXPECT_FLOAT_EQ(scale, 1.25f);

    // A segment of no length counts as passed.
    Quoll::ZoomPiece sudden;
    sudden.start = sudden.middle = 0.5f;
    sudden.alphaMiddle = 0.75f;
    ASSERT_TRUE(Quoll::ZoomSFX::PieceAt(sudden, 0.5f, alpha, scale));
    EXPECT_FLOAT_EQ(alpha, 0.75f);
}

TEST_F(ZoomSFXFixture, ZoomingOutShowsFirstWhatZoomingInShowsLast)
{
    Quoll::ZoomSFX in(services, configs), out(services, configs);
    in.Start(true, 3);
    out.Start(false, 3);
    for (int i = 0; i < 20; ++i)
        in.Update(0.1f);
    EXPECT_FLOAT_EQ(in.GetProgress(), 1.0f);
    EXPECT_FLOAT_EQ(out.GetProgress(), 1.0f);
    in.Update(-5.0f);
    EXPECT_FLOAT_EQ(in.GetTime(), 0.0f);
}

TEST_F(ZoomSFXFixture, DrawScalesThePictureOverTheScreen)
{
    RecordingImage screen;
    Quoll::Graphics g(&screen);
    Quoll::ZoomSFX zoom(services, configs);
    zoom.Start(true, 3);
    for (int i = 0; i < 7; ++i)
        zoom.Update(0.1f); // progress 0.35
    zoom.Draw(&g);
    ASSERT_EQ(screen.calls.size(), 1u);
    // 1024 / 256 and 768 / 192 times a growth of 1 + 0.0625: 4.25 both ways, centred on the
    // screen; alpha trunc(0.6 * 255).
    EXPECT_EQ(screen.calls[0], "StretchBlt ring to (-32,-24,1088,816) src (0,0,256,192) rgba(255,255,255,153) normal");
    EXPECT_FALSE(g.GetImageTint());
}

TEST_F(ZoomSFXFixture, RunsWithoutConfigurationOrLengthAreFinishedAtOnce)
{
    Quoll::ZoomSFX zoom(services, configs);
    zoom.Start(true, 42);
    EXPECT_TRUE(zoom.IsFinished());
    EXPECT_TRUE(zoom.GetPieces().empty());
    Quoll::ZoomSFX zero(services, configs);
    zero.Start(true, 4);
    EXPECT_TRUE(zero.IsFinished());
    RecordingImage screen;
    Quoll::Graphics g(&screen);
    zero.Draw(&g);
    EXPECT_TRUE(screen.calls.empty());
}

// A sample background, a mesh and a particle burst drawn on the 2D path (memory images) against
// their golden images, and the same frames drawn on the 3D path compared with the 2D frames.
// The textures are made here; every random draw comes from seeded generators, so the frames are
// the same on every run.
// Rerun: test_scene --gtest_filter='SceneGolden*'; QUOLL_UPDATE_GOLDEN=1 rewrites the goldens.
#include "../display/Display3DFixture.h"
#include "tests/GoldenImage.h"
#include "SceneTestDoubles.h"
#include "game/scene/Fone.h"
#include "game/scene/MeshDescription.h"
#include "game/scene/ParticleManager.h"

#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/rasteriser/TriangleSpanTable.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <fstream>

namespace
{
constexpr int kWidth = 320;
constexpr int kHeight = 240;

// Smooth colour bands, so that bends show while both paths' sampling rules (pixel corners in
// software, pixel centres on the device) stay within a few levels of each other.
void MakeSky(Quoll::MemoryImage& image)
{
    std::vector<uint32_t> pixels(256 * 192);
    for (int y = 0; y < 192; ++y)
        for (int x = 0; x < 256; ++x)
        {
            const auto r = static_cast<uint32_t>(x);
            const auto g = static_cast<uint32_t>(y * 4 / 3);
            const auto b = static_cast<uint32_t>(128.0 + 100.0 * std::sin(x * 0.03 + y * 0.02));
            pixels[static_cast<size_t>(y * 256 + x)] = 0xFF000000u | r << 16 | g << 8 | b;
        }
    image.SetBits(pixels.data(), 256, 192);
}

// A soft disc of one colour on a transparent ground.
void MakeDisc(Quoll::MemoryImage& image, int size, uint32_t rgb)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(size * size));
    const double radius = size / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
        {
            const double d = std::hypot(x + 0.5 - radius, y + 0.5 - radius);
            const double a = std::clamp(1.0 - d / radius, 0.0, 1.0);
            pixels[static_cast<size_t>(y * size + x)] = static_cast<uint32_t>(a * a * 255.0) << 24 | rgb;
        }
    image.SetBits(pixels.data(), size, size);
}

// Services of a 320 x 240 application with the scene's images bound.
struct Scene
{
    explicit Scene(bool is3D)
    {
        services.appWidth = kWidth;
        services.appHeight = kHeight;
        services.screenRect = Quoll::Rect(0, 0, kWidth, kHeight);
        services.is3D = is3D;
        MakeSky(sky);
        MakeDisc(cloud, 64, 0xF0E0FF);
        MakeDisc(spark, 16, 0xFFB040);
        services.Register(30, "IMAGE_SKY", &sky);
        services.Register(31, "IMAGE_CLOUD", &cloud);
    }

    std::unique_ptr<MeshNode> Mesh(const std::string& text)
    {
        // Named after the test: CTest runs the cases side by side in one folder.
        std::string path = std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
                           std::to_string(files++) + ".mesh";
        std::replace(path.begin(), path.end(), '/', '_');
        std::ofstream(path) << text;
        return LoadMeshNode(path, services);
    }

    // Every kind of frame, drawn into g.
    void DrawBackground(Quoll::Graphics& g)
    {
        const std::string path = "golden_background.fone";
        std::ofstream(path) << "OBJ SKY 1 0 0 0 0 9 7\n"
                               "WAVE 0 1.5 6 0.7 0 0 8 6\n"
                               "OBJ CLOUD 2 40 30 1.5 1.5 5 5\n"
                               "WAVE 3 2 4 0.9 0 0 4 4\n";
        Fone fone(services);
        ASSERT_TRUE(fone.Load(path));
        for (int i = 0; i < 20; ++i)
            fone.Update(0.01f);
        fone.Draw(&g);
    }

    void DrawMesh(Quoll::Graphics& g)
    {
        g.SetColor(Quoll::Color(30, 30, 60));
        g.FillRect(0, 0, kWidth, kHeight);
        g.SetColor(Quoll::Color::White);
        auto node = Mesh("OBJ SKY 1 60 40 0.75 0.75 6 6\nWAVE 0 2 5 0.8 0 0 5 5\n");
        ASSERT_NE(node, nullptr);
        node->SetRotation(0.3f);
        node->Update(0.05f);
        node->Draw(&g);
    }

    void DrawBurst(Quoll::Graphics& g)
    {
        g.SetColor(Quoll::Color(10, 20, 40));
        g.FillRect(0, 0, kWidth, kHeight);
        ParticleManager manager(services, 60.0f);
        ParticleFile file;
        file.desc.emission = 400;
        file.desc.lifetime = 0.3f;
        file.desc.lifeMin = 0.6f;
        file.desc.lifeMax = 1.2f;
        file.desc.spread = 6.2831855f;
        file.desc.speedMin = 1.0f;
        file.desc.speedMax = 6.0f;
        file.desc.gravityMin = file.desc.gravityMax = 3.0f;
        file.desc.sizeStart = 1.5f;
        file.desc.sizeEnd = 0.5f;
        const float start[4] = {1.0f, 0.9f, 0.5f, 0.9f}, end[4] = {1.0f, 0.2f, 0.1f, 0.0f};
        std::copy(start, start + 4, file.desc.colourStart);
        std::copy(end, end + 4, file.desc.colourEnd);
        file.additive = true;
        manager.Spawn(file, &spark, 160.0f, 110.0f);
        for (int i = 0; i < 30; ++i)
            manager.Update(1.0f / 60.0f);
        manager.Render(&g);
    }

    FakeSceneServices services{99};
    Quoll::MemoryImage sky, cloud, spark;
    int files = 0;
};

using DrawFrame = void (Scene::*)(Quoll::Graphics&);

std::vector<uint32_t> Draw2D(DrawFrame draw)
{
    Quoll::InitTriangleSpanTable();
    Scene scene(false);
    Quoll::MemoryImage screen;
    std::vector<uint32_t> black(kWidth * kHeight, 0xFF000000u);
    screen.SetBits(black.data(), kWidth, kHeight);
    {
        Quoll::Graphics g(&screen);
        g.SetColor(Quoll::Color::Black);
        g.FillRect(0, 0, kWidth, kHeight);
        g.SetColor(Quoll::Color::White);
        (scene.*draw)(g);
    }
    const uint32_t* bits = screen.GetBits();
    std::vector<uint32_t> pixels(bits, bits + kWidth * kHeight);
    for (uint32_t& p : pixels)
        p |= 0xFF000000u;
    return pixels;
}

std::vector<uint32_t> Draw3D(DrawFrame draw)
{
    using namespace Quoll::Testing;
    Quoll::InitTriangleSpanTable();
    Registry3D registry;
    TestDisplay t(Quoll::Platform::SurfaceFormat::X8R8G8B8(), kWidth, kHeight);
    registry.mDisplay = t.display.get();
    t.display->Set3D(true);
    EXPECT_EQ(t.Init(), 0);
    std::vector<uint32_t> pixels;
    {
        Scene scene(true);
        Quoll::Graphics g(&t.Screen());
        g.SetColor(Quoll::Color::Black);
        g.FillRect(0, 0, kWidth, kHeight);
        g.SetColor(Quoll::Color::White);
        (scene.*draw)(g);
        EXPECT_TRUE(t.display->Redraw(nullptr));
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                pixels.push_back(t.display->mDrawSurface->ArgbAt(x, y) | 0xFF000000u);
    }
    t.display.reset();
    return pixels;
}

struct Case
{
    const char* name;
    DrawFrame draw;
};

const Case kCases[] = {{"background", &Scene::DrawBackground}, {"mesh", &Scene::DrawMesh}, {"burst", &Scene::DrawBurst}};
} // namespace

class SceneGoldenTest : public ::testing::TestWithParam<Case>
{
};

TEST_P(SceneGoldenTest, TwoDimensionalFrameMatchesItsGolden)
{
    const auto pixels = Draw2D(GetParam().draw);
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("scene", GetParam().name, pixels.data(), kWidth, kHeight));
}

// Meshes draw the same triangles on both paths: the opaque mesh agrees within 3 but for single
// pixels where the two sampling rules round apart (within 4); the background's soft-edged cloud
// layers agree within 8 (the software weighs texel alpha by 256ths, the device by 255ths, twice
// over two layers and two passes), about 94% of the frame within 3. Particles are drawn by
// different calls on the two paths (an integer-sized stretch in software, a sub-pixel transform on
// the device), so a burst agrees in its light, within 2.5 levels on the frame's means, not pixel
// for pixel.
TEST_P(SceneGoldenTest, ThreeDimensionalFrameAgreesWithTheGolden)
{
    const auto pixels2D = Draw2D(GetParam().draw);
    const auto pixels3D = Draw3D(GetParam().draw);
    const Quoll::Testing::FrameAgreement agreement =
        Quoll::Testing::CompareFrames(pixels2D, pixels3D, kWidth, kHeight);
    std::printf("%s: largest difference %d, %.4f of the pixels within 3, means %.3f apart\n", GetParam().name,
                agreement.most, agreement.shareWithin3, agreement.meanDifference);
    if (std::string(GetParam().name) == "burst")
    {
        EXPECT_GE(agreement.shareWithin3, 0.9);
        EXPECT_LE(agreement.meanDifference, 2.5);
        return;
    }
    EXPECT_LE(agreement.most, 8);
    EXPECT_GE(agreement.shareWithin3, 0.93);
    EXPECT_LE(agreement.meanDifference, 1.0);
}

INSTANTIATE_TEST_SUITE_P(Frames, SceneGoldenTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

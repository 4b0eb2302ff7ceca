// Frames per second of the scene graph's heaviest frame on the default 3D path at 1024 x 768: a
// full-screen background of three mesh layers (a waving sky of 16 x 12 cells and two drifting
// cloud layers, each drawn twice as meshes are) and 2,000 live particles (four additive systems
// of 500), updated at the game's 100 steps a second and presented with Redraw on a 32-bit display
// of the software video card. One thread. Compare with frame_bench's BM_Frame3D32Mesh row of the
// same run. Counter: frames/s. Run: scene_bench --benchmark_format=json
#include "framework/display/DDImage.h"
#include "framework/display/DDInterface.h"
#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/display/Renderer3D.h"
#include "framework/platform/video/SoftDirect3D.h"
#include "framework/rasteriser/TriangleSpanTable.h"
#include "game/scene/Fone.h"
#include "game/scene/ParticleManager.h"
#include "game/shell/SceneServices.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace Quoll;

namespace
{
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

class BenchServices : public SceneServices
{
public:
    uint32_t RandomWord() override
    {
        mSeed = mSeed * 1103515245u + 12345u;
        return mSeed >> 1;
    }
    void LogError(const std::string& line) override { std::fprintf(stderr, "ERROR: %s\n", line.c_str()); }
    void LogWarning(const std::string&) override {}
    Image* GetImageById(int id) override { return id == 1 ? sky : id == 2 ? cloud : nullptr; }
    int GetResourceIdByName(const std::string& name) override
    {
        return name == "IMAGE_SKY" ? 1 : name == "IMAGE_CLOUD" ? 2 : 456;
    }
    int GetImageResourceId(const Image*) override { return kNoImageId; }
    bool FileExists(const std::string&) override { return false; }
    FrameAnimation* GetFrameAnimation(const Image*) override { return nullptr; }
    [[nodiscard]] int GetAppWidth() const override { return kWidth; }
    [[nodiscard]] int GetAppHeight() const override { return kHeight; }
    [[nodiscard]] Rect GetScreenRect() const override { return {0, 0, kWidth, kHeight}; }
    [[nodiscard]] bool IsDisplay3D() const override { return true; }
    void PlaySound(int, float, float) override {}
    [[nodiscard]] float GetFrameTime() const override { return 0.01f; }
    [[nodiscard]] uint32_t GetUpdateClockMs() const override { return 0; }

    Image* sky = nullptr;
    Image* cloud = nullptr;

private:
    uint32_t mSeed = 12345;
};

std::vector<uint32_t> Sky(int w, int h)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels[static_cast<size_t>(y * w + x)] = 0xFF000000u | static_cast<uint32_t>(x * 255 / w) << 16 |
                                                     static_cast<uint32_t>(y * 255 / h) << 8 | 0x60;
    return pixels;
}

std::vector<uint32_t> Disc(int size, uint32_t rgb)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(size * size));
    const double r = size / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
        {
            const double a = std::clamp(1.0 - std::hypot(x + 0.5 - r, y + 0.5 - r) / r, 0.0, 1.0);
            pixels[static_cast<size_t>(y * size + x)] = static_cast<uint32_t>(a * 255) << 24 | rgb;
        }
    return pixels;
}

ParticleFile Sparks()
{
    ParticleFile file;
    file.desc.emission = 1000;
    file.desc.lifetime = -1.0f;
    file.desc.lifeMin = 1.0f;
    file.desc.lifeMax = 2.0f;
    file.desc.spread = 6.2831855f;
    file.desc.speedMin = 1.0f;
    file.desc.speedMax = 8.0f;
    file.desc.sizeStart = 1.0f;
    file.desc.sizeEnd = 0.3f;
    file.desc.spinEnd = 4.0f;
    const float start[4] = {1.0f, 0.8f, 0.4f, 1.0f}, end[4] = {1.0f, 0.2f, 0.1f, 0.0f};
    std::copy(start, start + 4, file.desc.colourStart);
    std::copy(end, end + 4, file.desc.colourEnd);
    file.additive = true;
    return file;
}

struct SceneFrame
{
    SceneFrame() : card(Settings()), display(&host, &card)
    {
        InitTriangleSpanTable();
        host.mOptions.width = kWidth;
        host.mOptions.height = kHeight;
        host.mOptions.colorDepth = 32;
        host.mOptions.is3D = true;
        ok = display.Init(Platform::WindowId::None, true) == DisplayResult::Ok && display.Is3D();
        const auto skyPixels = Sky(512, 384);
        skyImage.SetBits(skyPixels.data(), 512, 384);
        const auto cloudPixels = Disc(128, 0xE0E8FF);
        cloudImage.SetBits(cloudPixels.data(), 128, 128);
        const auto sparkPixels = Disc(32, 0xFFC060);
        sparkImage.SetBits(sparkPixels.data(), 32, 32);
        services.sky = &skyImage;
        services.cloud = &cloudImage;
        const std::string path = "/tmp/scene_bench_" + std::to_string(::getpid()) + ".fone";
        std::ofstream(path) << "OBJ SKY 1 0 0 0 0 17 13\nWAVE 0 1.2 8 0.6 0 0 16 12\n"
                               "OBJ CLOUD 2 -1 -1 -384 -384 5 5 0.7\nWAVE 3 2 5 0.9 0 0 4 4\nMOVER 20 10 1\n";
        ok = ok && background.Load(path);
        std::remove(path.c_str());
        for (int i = 0; i < 4; ++i)
            particles.Spawn(Sparks(), &sparkImage, 200.0f + 200.0f * static_cast<float>(i), 384.0f);
        // Two seconds of steps: every system holds its 500.
        for (int step = 0; step < 200; ++step)
            Step();
    }
    ~SceneFrame()
    {
        particles.KillAll();
        if (Renderer3D* renderer = display.GetRenderer())
            renderer->Cleanup();
    }
    SceneFrame(const SceneFrame&) = delete;
    SceneFrame& operator=(const SceneFrame&) = delete;

    static Platform::SoftCardSettings Settings()
    {
        Platform::SoftCardSettings s;
        s.desktopFormat = Platform::SurfaceFormat::X8R8G8B8();
        return s;
    }

    void Step()
    {
        background.Update(0.01f);
        particles.Update(0.01f);
    }

    int LiveParticles() const
    {
        int live = 0;
        for (int i = 0; i < particles.GetCount(); ++i)
            live += particles.GetSystem(i)->GetLiveCount();
        return live;
    }

    void Frame()
    {
        Step();
        Graphics g(display.GetScreenImage());
        background.Draw(&g);
        particles.Render(&g);
        display.Redraw(nullptr);
    }

    Platform::SoftVideoCard card;
    DisplayHost host;
    DDInterface display;
    MemoryImage skyImage, cloudImage, sparkImage;
    BenchServices services;
    Fone background{services};
    ParticleManager particles{services, 60.0f};
    bool ok = false;
};

// Argument: the 3D device's drawing threads (its bands); 1 draws on the calling thread.
void BM_Scene3D(benchmark::State& state)
{
    const int threads = static_cast<int>(state.range(0));
    if (threads > static_cast<int>(std::thread::hardware_concurrency()))
    {
        state.SkipWithError("more threads than the machine has");
        return;
    }
    Platform::DefaultDirect3DSettings().drawThreads = threads;
    SceneFrame scene;
    if (!scene.ok)
    {
        state.SkipWithError("the 3D display or the background did not start");
        return;
    }
    int frames = 0;
    for (auto _ : state)
    {
        scene.Frame();
        ++frames;
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.counters["particles"] = scene.LiveParticles();
}
} // namespace

BENCHMARK(BM_Scene3D)->ArgName("threads")->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();

// Frames per second of a busy play screen at 1024 x 768: the game application on its generated
// data, headless, a three-player campaign level played for a few turns by the autoplay (a board
// full of bacteria and bonuses, three avatars and the HUD), with five live particle systems and
// ten floating numbers added, each frame one logic update and one full redraw presented on the
// software video card. Rows: the default 3D path with one thread and with the device's bands
// (threads 0: as many as the renderer's default), and the 2D path. Compare with frame_bench's
// BM_Frame3D32Mesh row of the same run. Counters: frames/s, ms/frame (wall clock).
// Run: play_bench --benchmark_format=json; PLAY_BENCH_SHOTS=<folder> keeps each row's last frame.
#include "framework/app/AppWidgetManager.h"
#include "framework/core/Common.h"
#include "framework/platform/video/SoftDirect3D.h"
#include "game/play/GameScene.h"
#include "tools/autoplay/Autoplay.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace
{
// A three-player level of the first episodes.
constexpr int kLevel = 14;
constexpr int kTurns = 6;
constexpr int kParticleSystems = 5;
constexpr int kFloatingTexts = 10;
// Particle systems of the game: a bacterium's pop of each kind.
constexpr int kParticleId = 0;

void RunPlayScreen(benchmark::State& state, bool is3D)
{
    const int threads = is3D ? static_cast<int>(state.range(0)) : 1;
    Quoll::Platform::DefaultDirect3DSettings().drawThreads = threads;
    static int run = 0;
    const std::string product = "PlayBench" + std::to_string(::getpid()) + "_" + std::to_string(++run);
    std::string dataFolder;
    {
        Autoplay::Options options;
        options.level = kLevel;
        options.seed = 7;
        options.gameDir = QUOLL_GAME_DIR;
        Autoplay::Runner runner(options, product);
        if (!is3D)
            runner.App().WriteRegBool("Is3D", false);
        if (!runner.Start())
        {
            state.SkipWithError("the play screen did not start");
            return;
        }
        for (int turn = 0; turn < kTurns && !runner.IsFinished(); ++turn)
            runner.PlayTurn();
        GameScene* scene = runner.Scene();
        if (scene == nullptr || runner.App().Is3DAccelerated() != is3D)
        {
            state.SkipWithError("the play screen is not on the path asked for");
            return;
        }
        for (int i = 0; i < kParticleSystems; ++i)
            runner.App().SpawnParticleSystem(kParticleId + i, 200.0f + 150.0f * static_cast<float>(i), 400.0f);
        for (int i = 0; i < kFloatingTexts; ++i)
            scene->ShowFloatingText(10 * (i + 1), i % 4, 0.0f, scene->GetCellCentre(20 + i));
        int frames = 0;
        const auto start = std::chrono::steady_clock::now();
        for (auto _ : state)
        {
            runner.App().UpdateFrame();
            runner.App().mWidgetManager->MarkAllDirty();
            runner.App().DrawDirty();
            ++frames;
        }
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.counters["frames/s"] = static_cast<double>(frames) / elapsed.count();
        state.counters["ms/frame"] = 1000.0 * elapsed.count() / static_cast<double>(frames);
        dataFolder = Quoll::GetAppDataFolder();
        if (const char* shots = std::getenv("PLAY_BENCH_SHOTS"))
        {
            runner.App().TakeScreenshot();
            std::error_code error;
            for (const auto& entry : std::filesystem::recursive_directory_iterator(dataFolder, error))
                if (entry.path().extension() == ".png")
                    std::filesystem::copy_file(entry.path(), std::filesystem::path(shots) / (product + ".png"),
                                               std::filesystem::copy_options::overwrite_existing, error);
        }
    }
    if (dataFolder.find("PlayBench") != std::string::npos)
    {
        std::error_code error;
        std::filesystem::remove_all(dataFolder, error);
    }
}

void BM_PlayScreen3D(benchmark::State& state)
{
    RunPlayScreen(state, true);
}

void BM_PlayScreen2D(benchmark::State& state)
{
    RunPlayScreen(state, false);
}
} // namespace

BENCHMARK(BM_PlayScreen3D)->ArgName("threads")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlayScreen2D)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();

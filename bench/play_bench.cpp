// Frames per second of a busy play screen at 1024 x 768: the game application on its generated
// data, headless, the first boss level mid-game: 45 bacteria of the human, the boss and its
// minion among the level's bonuses, the three avatars with the boss's portrait, the tutorial's
// panel, the fast menu open under the pointer, five live particle systems and ten floating
// numbers. Each frame is one logic update and one full redraw presented on the software video
// card. Rows: the default 3D path with one thread and with the device's bands (threads 0: as
// many as the renderer's default), and the 2D path. Compare with frame_bench's
// BM_Frame3D32Mesh row of the same run. Counters: frames/s, ms/frame (wall clock).
// Run: play_bench --benchmark_format=json; PLAY_BENCH_SHOTS=<folder> keeps each row's last frame.
#include "framework/app/AppWidgetManager.h"
#include "framework/core/Common.h"
#include "framework/platform/video/SoftDirect3D.h"
#include "game/board/GameLogic.h"
#include "game/play/GameScene.h"
#include "game/play/HUD.h"
#include "game/play/SceneHooks.h"
#include "game/shell/PlayServices.h"
#include "tools/autoplay/Autoplay.h"
#include "tools/leveldriver/Replay.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace
{
// The first episode's boss level; its tutorial shows at round 1.
constexpr int kLevel = 15;
constexpr int kBacteria = 45;
constexpr int kParticleSystems = 5;
constexpr int kFloatingTexts = 10;
// A floating number's life in logic updates.
constexpr int kFloatingTextUpdates = 120;
// Particle systems of the game: a bacterium's pop of each kind.
constexpr int kParticleId = 0;
// Where the pointer rests to open the fast menu, and the updates its slide takes.
constexpr int kFastMenuX = 512;
constexpr int kFastMenuY = 8;
constexpr int kSlideUpdates = 100;

// The level's file with empty cells given to the three players in turn until the board holds
// kBacteria bacteria; nothing when the level does not read.
std::optional<Quoll::Buffer> MidGameBody()
{
    Quoll::Buffer body;
    std::string error;
    const std::filesystem::path source = std::filesystem::path(QUOLL_SOURCE_DIR) / "data/levels/src" /
                                         (std::to_string(kLevel) + ".txt");
    if (!LoadLevelFile(source, body, error))
        return std::nullopt;
    body.SeekReadStart();
    GameLogic logic;
    if (!logic.Read(body))
        return std::nullopt;
    const auto end = static_cast<size_t>(body.GetReadBitPos() / 8);
    Board& board = logic.GetBoard();
    int bacteria = 0;
    for (int cell = 0; cell < kCellCount; ++cell)
        bacteria += board.GetOwner(cell) != 0 ? 1 : 0;
    // Free cells first, then cells whose bonus a bacterium then stands on.
    int player = 1;
    for (const bool onBonus : {false, true})
        for (int cell = 0; cell < kCellCount && bacteria < kBacteria; ++cell)
        {
            if (!board.Exists(cell) || board.GetOwner(cell) != 0 || (board.GetBonus(cell) != BONUS_NONE) != onBonus)
                continue;
            board.SetOwner(cell, player);
            player = player % 3 + 1;
            ++bacteria;
        }
    Quoll::Buffer out;
    logic.Write(out);
    out.WriteBytes(body.GetDataPtr() + end, body.GetDataSize() - end);
    return out;
}

// Why the screen is not the busy one asked for; empty when it is.
std::string FindMissingPart(Autoplay::Runner& runner)
{
    GameScene* scene = runner.Scene();
    if (scene == nullptr || scene->GetHud() == nullptr)
        return "the play screen did not start";
    if (scene->GetHud()->GetBossAvatar() == nullptr)
        return "no boss portrait";
    if (scene->GetTutorial() == nullptr || !scene->GetTutorial()->IsShowingStep())
        return "no tutorial step shows";
    if (!scene->GetHud()->IsFastMenuActive())
        return "the fast menu is not open";
    return {};
}

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
        options.levelBody = MidGameBody();
        if (!options.levelBody)
        {
            state.SkipWithError("the boss level does not read");
            return;
        }
        Autoplay::Runner runner(options, product);
        if (!is3D)
            runner.App().WriteRegBool("Is3D", false);
        if (!runner.Start() || !runner.RunToHumanTurn() || runner.App().Is3DAccelerated() != is3D)
        {
            state.SkipWithError("the play screen is not on the path asked for");
            return;
        }
        runner.App().mWidgetManager->MouseMove(kFastMenuX, kFastMenuY);
        for (int i = 0; i < kSlideUpdates; ++i)
            runner.Step();
        GameScene* scene = runner.Scene();
        if (const std::string missing = FindMissingPart(runner); !missing.empty())
        {
            state.SkipWithError(missing.c_str());
            return;
        }
        // The effects stay on the screen the whole run: a finished particle system is spawned
        // again, and the floating numbers come again once they have faded.
        std::vector<ParticleRef> particles(kParticleSystems);
        PlayServices& services = runner.App().GetPlayServices();
        const auto keepEffects = [&](int frame) {
            for (int i = 0; i < kParticleSystems; ++i)
                if (!services.IsParticleAlive(particles[static_cast<size_t>(i)]))
                    particles[static_cast<size_t>(i)] = services.SpawnParticleSystem(
                        kParticleId + i, 200.0f + 150.0f * static_cast<float>(i), 400.0f);
            if (frame % kFloatingTextUpdates == 0)
                for (int i = 0; i < kFloatingTexts; ++i)
                    scene->ShowFloatingText(10 * (i + 1), i % 4, 0.0f, scene->GetCellCentre(20 + i));
        };
        int frames = 0;
        const auto start = std::chrono::steady_clock::now();
        for (auto _ : state)
        {
            keepEffects(frames);
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

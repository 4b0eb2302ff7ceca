// Milliseconds from creating the game's application object to its first drawn frame: GameApp's
// whole start-up (framework, texts, manifest, the "Fonts" and "PreInterface" groups, catalogue,
// game configuration, cursors, music, span table), one logic update and one draw, on the
// headless window system, then the shutdown (not timed). The data folder is
// QUOLL_BENCH_GAME_DATA when set (a folder holding data/), else a minimal generated set: texts,
// a manifest and a few small images in the two start groups.
// Figure: the manual time of an iteration, in ms per start. Run: startup_bench --benchmark_format=json
#include "framework/platform/window/headless/HeadlessWindowSystem.h"
#include "game/app/GameApp.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// An uncompressed 32-bit TGA of one colour.
void WriteTga(const fs::path& path, int width, int height)
{
    std::string bytes = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, char(width), char(width >> 8), char(height),
                         char(height >> 8), 32, 0x28};
    bytes.append(static_cast<size_t>(width * height), '\x40');
    bytes.resize(bytes.size() + static_cast<size_t>(width * height) * 3, '\xff');
    WriteFile(path, bytes);
}

fs::path MinimalData()
{
    const fs::path folder = fs::temp_directory_path() / ("startup_bench_" + std::to_string(::getpid()));
    WriteFile(folder / "data/texts.xml", R"(<texts><locale id="0" name="en"/><group name="ui">
<text name="UI_WINDOWTITLE"><value locale="en">PetriGlow Saga</value></text></group></texts>)");
    WriteFile(folder / "data/resources.xml", R"(<ResourceManifest>
<Resources id="Fonts"><Image id="IMAGE_FONT_SHEET" path="data/sheet.tga"/></Resources>
<Resources id="PreInterface"><SetDefaults path="data" idprefix="IMAGE_"/>
<Image id="CURSOR" path="cursor.tga"/><Image id="CURSOR_HAND" path="hand.tga"/>
<Image id="SPLASH" path="splash.tga"/></Resources></ResourceManifest>)");
    WriteTga(folder / "data/sheet.tga", 256, 64);
    WriteTga(folder / "data/cursor.tga", 32, 32);
    WriteTga(folder / "data/hand.tga", 32, 32);
    WriteTga(folder / "data/splash.tga", 1024, 768);
    return folder;
}

class BenchGameApp final : public GameApp
{
public:
    explicit BenchGameApp(const fs::path& folder)
    {
        SetWindowSystem(std::make_unique<Quoll::Platform::HeadlessWindowSystem>());
        SetSettingsStore(std::make_unique<Quoll::Platform::SettingsStore>(std::string()));
        mProdName = "StartupBench" + std::to_string(::getpid());
        mWorkingFolder = folder.string();
        mCommandLineParsed = true;
    }
    void FirstFrame()
    {
        UpdateFrame();
        Redraw(nullptr);
    }

protected:
    void InstallCrashCatcher() override {}
};

void StartToFirstFrame(benchmark::State& state)
{
    const char* given = std::getenv("QUOLL_BENCH_GAME_DATA");
    const fs::path folder = given != nullptr ? fs::path(given) : MinimalData();
    const fs::path home = fs::temp_directory_path() / ("startup_bench_home_" + std::to_string(::getpid()));
    ::setenv("XDG_DATA_HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    ::setenv("QUOLL_PLATFORM", "headless", 1);
    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        auto app = std::make_unique<BenchGameApp>(folder);
        app->Init();
        app->FirstFrame();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        app.reset();
    }
    if (given == nullptr)
        fs::remove_all(folder);
    fs::remove_all(home);
}
BENCHMARK(StartToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
} // namespace

BENCHMARK_MAIN();

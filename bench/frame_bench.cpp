// Frames per second of a synthetic 1024 x 768 frame drawn through the drawing context onto the
// display's screen image (a surface-backed image over the draw surface) and presented with
// Redraw, on a 32-bit and a 5-6-5 display of the software video card (nothing is shown: no
// window system). The frame: an opaque background, 64 alpha sprites of 128 x 128, 300 additive
// particles of 32 x 32, 20 rotated sprites, a translucent full-screen fill and a text block.
// The 3D rows draw the same frame through the 3D renderer on a 32-bit display, and once more
// with a full-screen mesh of 2,400 textured triangles drawn twice (normal, then additive); the
// 3D rows' argument is the number of threads drawing the frame's bands (rows for more threads
// than the machine has are skipped). The sprite rows draw only the background, the alpha
// sprites, the particles and the text (every one an aligned quad on the 3D path) on both paths.
// Counter: frames/s (wall clock).
// Run: frame_bench --benchmark_format=json
#include "framework/display/DDImage.h"
#include "framework/display/DDInterface.h"
#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "framework/display/Renderer3D.h"
#include "framework/platform/video/SoftDirect3D.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

using namespace Quoll;

namespace
{
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// A soft disc on a transparent ground, as game sprites are.
std::vector<uint32_t> Disc(int size, uint32_t rgb)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(size * size));
    const double r = size / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
        {
            const double d = std::hypot(x + 0.5 - r, y + 0.5 - r);
            const double a = std::clamp((r - d) / (r * 0.3), 0.0, 1.0);
            pixels[static_cast<size_t>(y * size + x)] = static_cast<uint32_t>(a * 255) << 24 | rgb;
        }
    return pixels;
}

// Glyphs are 8 x 12 cels of an atlas image, drawn by blits as bitmap fonts do.
class AtlasFont : public Font
{
public:
    explicit AtlasFont(MemoryImage* atlas) : mAtlas(atlas) {}
    int GetHeight() const override { return 12; }
    int GetAscent() const override { return 10; }
    int GetAscentPadding() const override { return 0; }
    int GetLineSpacing() const override { return 14; }
    int StringWidth(const std::wstring& text) override { return 8 * static_cast<int>(text.size()); }
    int CharWidthKern(wchar_t, wchar_t) override { return 8; }
    void DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color, const Rect&) override
    {
        g->PushState();
        g->SetColor(color);
        g->SetImageTint(true);
        for (size_t i = 0; i < text.size(); ++i)
            g->DrawImage(mAtlas, x + 8 * static_cast<int>(i), y - 10, Rect((text[i] % 16) * 8, 0, 8, 12));
        g->PopState();
    }
    std::unique_ptr<Font> Duplicate() const override { return std::make_unique<AtlasFont>(*this); }

private:
    MemoryImage* mAtlas;
};

// A full-screen grid of 40 x 30 cells, two triangles each, gently waved.
std::vector<TriVertex[3]> Mesh(int frame)
{
    constexpr int kColumns = 40, kRows = 30;
    std::vector<TriVertex[3]> triangles(kColumns * kRows * 2);
    auto corner = [frame](int cx, int cy) {
        const float u = static_cast<float>(cx) / kColumns, v = static_cast<float>(cy) / kRows;
        const float wave = 6.0f * std::sin(0.3f * static_cast<float>(cx + cy) + 0.1f * static_cast<float>(frame));
        return TriVertex{u * kWidth + wave, v * kHeight + wave, u, v, 0xFFFFFFFF};
    };
    size_t n = 0;
    for (int y = 0; y < kRows; ++y)
        for (int x = 0; x < kColumns; ++x)
        {
            const TriVertex a = corner(x, y), b = corner(x + 1, y), c = corner(x, y + 1), d = corner(x + 1, y + 1);
            triangles[n][0] = a, triangles[n][1] = b, triangles[n][2] = c, ++n;
            triangles[n][0] = b, triangles[n][1] = d, triangles[n][2] = c, ++n;
        }
    return triangles;
}

struct Scene
{
    explicit Scene(const Platform::SurfaceFormat& format, bool is3D = false)
        : card(Settings(format)), display(&host, &card)
    {
        host.mOptions.width = kWidth;
        host.mOptions.height = kHeight;
        host.mOptions.colorDepth = format.bitCount;
        host.mOptions.is3D = is3D;
        ok = display.Init(Platform::WindowId::None, true) == DisplayResult::Ok && display.Is3D() == is3D;
        std::vector<uint32_t> ground(static_cast<size_t>(kWidth * kHeight));
        for (int i = 0; i < kWidth * kHeight; ++i)
            ground[static_cast<size_t>(i)] = 0xFF000000 | static_cast<uint32_t>((i % kWidth) / 4) << 16 |
                                             static_cast<uint32_t>((i / kWidth) / 3) << 8 | 0x40;
        background.SetBits(ground.data(), kWidth, kHeight);
        const auto spritePixels = Disc(128, 0x3080C0);
        sprite.SetBits(spritePixels.data(), 128, 128);
        const auto particlePixels = Disc(32, 0xFFA040);
        particle.SetBits(particlePixels.data(), 32, 32);
        std::vector<uint32_t> glyphs(128 * 12);
        for (size_t i = 0; i < glyphs.size(); ++i)
            glyphs[i] = (i * 7919) % 3 == 0 ? 0xFFFFFFFF : 0;
        atlas.SetBits(glyphs.data(), 128, 12);
        const auto meshPixels = Disc(256, 0x40A060);
        meshTexture.SetBits(meshPixels.data(), 256, 256);
    }

    // The renderer lets go of the images' textures while the images still exist.
    ~Scene()
    {
        if (Renderer3D* renderer = display.GetRenderer())
            renderer->Cleanup();
    }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    static Platform::SoftCardSettings Settings(const Platform::SurfaceFormat& format)
    {
        Platform::SoftCardSettings s;
        s.desktopFormat = format;
        s.format16 = format.bitCount == 16 ? format : s.format16;
        return s;
    }

    void DrawMesh(int frame)
    {
        const auto triangles = Mesh(frame);
        Graphics g(display.GetScreenImage());
        g.SetTriangleFiltering(true);
        g.DrawTrianglesTex(&meshTexture, triangles.data(), static_cast<int>(triangles.size()));
        g.SetDrawMode(DrawMode::Additive);
        g.DrawTrianglesTex(&meshTexture, triangles.data(), static_cast<int>(triangles.size()));
    }

    void DrawFrame(int frame, bool mesh = false, bool spritesOnly = false)
    {
        Graphics g(display.GetScreenImage());
        if (mesh)
            DrawMesh(frame);
        g.DrawImage(&background, 0, 0);
        for (int i = 0; i < 64; ++i)
            g.DrawImage(&sprite, (i * 137 + frame) % (kWidth - 128), (i * 71) % (kHeight - 128));
        g.SetDrawMode(DrawMode::Additive);
        for (int i = 0; i < 300; ++i)
            g.DrawImage(&particle, (i * 53 + frame * 3) % (kWidth - 32), (i * 97) % (kHeight - 32));
        g.SetDrawMode(DrawMode::Normal);
        if (!spritesOnly)
        {
            for (int i = 0; i < 20; ++i)
                g.DrawImageRotated(&sprite, (i * 211) % (kWidth - 128), (i * 151) % (kHeight - 128), 0.05 * (i + frame));
            g.SetColor(Color(0, 0, 40, 96));
            g.FillRect(0, 0, kWidth, kHeight);
        }
        AtlasFont font(&atlas);
        g.SetFont(&font);
        g.SetColor(Color(255, 240, 200));
        for (int line = 0; line < 6; ++line)
            g.DrawString(L"The quick brown bacteria clone and jump across the board", 40, 600 + 14 * line);
        display.Redraw(nullptr);
    }

    Platform::SoftVideoCard card;
    DisplayHost host;
    DDInterface display;
    MemoryImage background, sprite, particle, atlas, meshTexture;
    bool ok = false;
};

void RunFrames(benchmark::State& state, const Platform::SurfaceFormat& format, bool is3D = false, bool mesh = false,
               bool spritesOnly = false)
{
    const int threads = is3D ? static_cast<int>(state.range(0)) : 1;
    if (threads > static_cast<int>(std::thread::hardware_concurrency()))
    {
        state.SkipWithError("more threads than the machine has");
        return;
    }
    Platform::DefaultDirect3DSettings().drawThreads = threads;
    Scene scene(format, is3D);
    if (!scene.ok)
    {
        state.SkipWithError("the display did not start in the mode asked for");
        return;
    }
    int frame = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        scene.DrawFrame(frame++, mesh, spritesOnly);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    state.counters["frames/s"] = static_cast<double>(frame) / elapsed.count();
}

void BM_Frame32(benchmark::State& state)
{
    RunFrames(state, Platform::SurfaceFormat::X8R8G8B8());
}

void BM_Frame565(benchmark::State& state)
{
    RunFrames(state, Platform::SurfaceFormat::R5G6B5());
}
void BM_Frame3D32(benchmark::State& state)
{
    RunFrames(state, Platform::SurfaceFormat::X8R8G8B8(), true);
}

void BM_Frame3D32Mesh(benchmark::State& state)
{
    RunFrames(state, Platform::SurfaceFormat::X8R8G8B8(), true, true);
}

void BM_Sprites32(benchmark::State& state)
{
    RunFrames(state, Platform::SurfaceFormat::X8R8G8B8(), false, false, true);
}

void BM_Sprites3D32(benchmark::State& state)
{
    RunFrames(state, Platform::SurfaceFormat::X8R8G8B8(), true, false, true);
}
} // namespace

BENCHMARK(BM_Frame32)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Frame565)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Frame3D32)->ArgName("threads")->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Frame3D32Mesh)->ArgName("threads")->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Sprites32)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Sprites3D32)->ArgName("threads")->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();

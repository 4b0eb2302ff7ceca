// Software triangle drawing throughput, one core, 1024 x 768 destination, formats 0x888 and
// 0x8888, five scenes: 2,000 rotated 32 x 32 tinted alpha quads (particles); a 40 x 30 mesh of
// 2,400 grey-shaded textured triangles over the screen, drawn twice, once with an opaque texture
// and once with one of soft alpha (so that every side really blends it, filtered); 10 full-screen textured quads
// (point sampled, and filtered); 10,000 small untextured Gouraud triangles. Each scene is drawn by
// the rasteriser, by SDL2's software renderer (SDL_RenderGeometry) and by Mesa's software OpenGL
// (OSMesa, LP_NUM_THREADS=1, vertex arrays, GL_MODULATE, alpha blending), in the same run.
// Counters: Mpix/s (covered pixels) and tri/s. Run: raster_bench --benchmark_format=json
#include "framework/display/Color.h"
#include "framework/display/MemoryImage.h"
#include "framework/display/Rect.h"
#include "framework/display/RasterView.h"

#include <GL/gl.h>
#include <GL/osmesa.h>
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace
{
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// A texture the bench owns; the rasteriser reads its pixels and flags.
class BenchTexture : public Quoll::MemoryImage
{
public:
    BenchTexture(int width, int height, bool hasAlpha) : mPixels(static_cast<size_t>(width * height))
    {
        mWidth = width;
        mHeight = height;
        mHasAlpha = hasAlpha;
    }
    void CommitBits() override {}
    uint32_t* GetBits() override { return mPixels.data(); }
    std::vector<uint32_t> mPixels;
};

struct Scene
{
    std::string name;
    std::vector<Quoll::TriVertex> vertices; // three per triangle, u and v in 0..1
    BenchTexture* texture = nullptr;
    Quoll::Color color = Quoll::Color::White;
    bool filter = false;
    bool vertexColor = false;
    double pixels = 0; // covered pixels per pass
    int passes = 1;
};

double Area(const Quoll::TriVertex& a, const Quoll::TriVertex& b, const Quoll::TriVertex& c)
{
    return std::abs((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y)) / 2.0;
}

void AddQuad(Scene& s, const Quoll::TriVertex (&q)[4])
{
    // Corners in strip order 0,1,2,3: triangles (0,1,2) and (1,3,2).
    for (int i : {0, 1, 2, 1, 3, 2})
        s.vertices.push_back(q[i]);
    s.pixels += Area(q[0], q[1], q[2]) + Area(q[1], q[3], q[2]);
}

BenchTexture* MakeSprite()
{
    static BenchTexture sprite(32, 32, true);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
        {
            const double d = std::hypot(x - 15.5, y - 15.5) / 16.0;
            const uint32_t a = d >= 1 ? 0 : static_cast<uint32_t>(255 * (1 - d * d));
            sprite.mPixels[static_cast<size_t>(y * 32 + x)] = (a << 24) | 0x00FFD080u;
        }
    return &sprite;
}

BenchTexture* MakeOpaque(int size)
{
    auto* t = new BenchTexture(size, size, false);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            t->mPixels[static_cast<size_t>(y * size + x)] =
                0xFF000000u | (static_cast<uint32_t>(x * 255 / size) << 16) | (static_cast<uint32_t>(y * 255 / size) << 8) |
                static_cast<uint32_t>(((x ^ y) & 16) ? 200 : 60);
    return t;
}

Scene Particles()
{
    Scene s;
    s.name = "particles";
    s.texture = MakeSprite();
    s.color = Quoll::Color(255, 200, 120, 180);
    std::mt19937 rng(1);
    for (int i = 0; i < 2000; ++i)
    {
        const float cx = 24 + static_cast<float>(rng() % (kWidth - 48));
        const float cy = 24 + static_cast<float>(rng() % (kHeight - 48));
        const float angle = static_cast<float>(rng() % 6283) / 1000.0f;
        const float c = std::cos(angle) * 16, sn = std::sin(angle) * 16;
        const Quoll::TriVertex q[4] = {{cx - c + sn, cy - sn - c, 0, 0, 0},
                                       {cx + c + sn, cy + sn - c, 1, 0, 0},
                                       {cx - c - sn, cy - sn + c, 0, 1, 0},
                                       {cx + c - sn, cy + sn + c, 1, 1, 0}};
        AddQuad(s, q);
    }
    return s;
}

// Rings of soft alpha over the opaque pattern.
BenchTexture* MakeTranslucent(int size)
{
    auto* t = MakeOpaque(size);
    t->mHasAlpha = true;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
        {
            const double d = std::hypot(x - size / 2.0, y - size / 2.0);
            const auto a = static_cast<uint32_t>(127.5 + 127.5 * std::cos(d / 6.0));
            uint32_t& p = t->mPixels[static_cast<size_t>(y * size + x)];
            p = (p & 0xFFFFFF) | a << 24;
        }
    return t;
}

Scene Mesh(bool blended = false)
{
    Scene s;
    s.name = blended ? "mesh_blended" : "mesh";
    static BenchTexture* opaque = MakeOpaque(256);
    static BenchTexture* translucent = MakeTranslucent(256);
    s.texture = blended ? translucent : opaque;
    s.filter = blended;
    s.vertexColor = true;
    s.passes = 2;
    const int cols = 40, rows = 30;
    auto vertex = [&](int i, int j)
    {
        const uint32_t grey = 96 + static_cast<uint32_t>((i * 7 + j * 13) % 160);
        return Quoll::TriVertex{static_cast<float>(i * kWidth) / cols, static_cast<float>(j * kHeight) / rows,
                                static_cast<float>(i) / cols, static_cast<float>(j) / rows,
                                0xFF000000u | grey * 0x010101u};
    };
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < cols; ++i)
        {
            const Quoll::TriVertex q[4] = {vertex(i, j), vertex(i + 1, j), vertex(i, j + 1), vertex(i + 1, j + 1)};
            AddQuad(s, q);
        }
    s.pixels *= 2;
    return s;
}

Scene BigQuads(bool filter)
{
    Scene s;
    s.name = filter ? "bigquads_filtered" : "bigquads";
    static BenchTexture* texture = MakeOpaque(512);
    s.texture = texture;
    s.filter = filter;
    for (int i = 0; i < 10; ++i)
    {
        const Quoll::TriVertex q[4] = {{0, 0, 0, 0, 0}, {kWidth, 0, 1, 0, 0}, {0, kHeight, 0, 1, 0},
                                       {kWidth, kHeight, 1, 1, 0}};
        AddQuad(s, q);
    }
    return s;
}

Scene SmallTriangles()
{
    Scene s;
    s.name = "gouraud";
    s.vertexColor = true;
    std::mt19937 rng(2);
    for (int i = 0; i < 10000; ++i)
    {
        const float x = static_cast<float>(rng() % (kWidth - 20)), y = static_cast<float>(rng() % (kHeight - 20));
        Quoll::TriVertex t[3];
        for (auto& v : t)
            v = {x + static_cast<float>(rng() % 2000) / 100.0f, y + static_cast<float>(rng() % 2000) / 100.0f, 0, 0,
                 0xFF000000u | static_cast<uint32_t>(rng() & 0xFFFFFF)};
        s.vertices.insert(s.vertices.end(), t, t + 3);
        s.pixels += Area(t[0], t[1], t[2]);
    }
    return s;
}

const std::vector<Scene>& Scenes()
{
    static const std::vector<Scene> scenes = {Particles(),      Mesh(),          Mesh(true),
                                              BigQuads(false), BigQuads(true), SmallTriangles()};
    return scenes;
}

void Report(benchmark::State& state, const Scene& s)
{
    const double triangles = static_cast<double>(s.vertices.size() / 3) * s.passes;
    state.counters["Mpix/s"] = benchmark::Counter(s.pixels * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["tri/s"] = benchmark::Counter(triangles, benchmark::Counter::kIsIterationInvariantRate);
}

// --- The rasteriser ---------------------------------------------------------------------------
void DrawQuoll(benchmark::State& state, const Scene& s, int32_t format)
{
    Quoll::InitTriangleSpanTable();
    std::vector<uint32_t> dst(static_cast<size_t>(kWidth * kHeight), 0xFF404040u);
    const Quoll::Rect clip(0, 0, kWidth, kHeight);
    for (auto _ : state)
    {
        for (int pass = 0; pass < s.passes; ++pass)
            for (size_t i = 0; i + 2 < s.vertices.size(); i += 3)
                Quoll::RasterizeTriangleStrip(clip, s.color, &s.vertices[i], 3, s.texture,
                                              reinterpret_cast<uint8_t*>(dst.data()), kWidth * 4, format, s.filter,
                                              s.vertexColor);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    Report(state, s);
}

// --- SDL2 software renderer -----------------------------------------------------------------
SDL_Color Modulated(uint32_t vertex, bool vertexColor, const Quoll::Color& c)
{
    const uint32_t v = vertexColor ? vertex : 0xFFFFFFFFu;
    auto ch = [&](int shift, int tint) { return static_cast<Uint8>(((v >> shift) & 0xFF) * static_cast<uint32_t>(tint) / 255); };
    return SDL_Color{ch(16, c.r), ch(8, c.g), ch(0, c.b), ch(24, c.a)};
}

void DrawSdl(benchmark::State& state, const Scene& s, int32_t format)
{
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(
        0, kWidth, kHeight, 32, format == 0x8888 ? SDL_PIXELFORMAT_ARGB8888 : SDL_PIXELFORMAT_RGB888);
    SDL_FillRect(surface, nullptr, 0xFF404040u);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    SDL_Texture* texture = nullptr;
    if (s.texture)
    {
        SDL_Surface* pixels = SDL_CreateRGBSurfaceWithFormatFrom(s.texture->mPixels.data(), s.texture->mWidth,
                                                                 s.texture->mHeight, 32, s.texture->mWidth * 4,
                                                                 SDL_PIXELFORMAT_ARGB8888);
        texture = SDL_CreateTextureFromSurface(renderer, pixels);
        SDL_FreeSurface(pixels);
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
        SDL_SetTextureScaleMode(texture, s.filter ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    }
    std::vector<SDL_Vertex> vertices;
    for (const auto& v : s.vertices)
        vertices.push_back({{v.x, v.y}, Modulated(v.color, s.vertexColor, s.color), {v.u, v.v}});
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    for (auto _ : state)
    {
        for (int pass = 0; pass < s.passes; ++pass)
            SDL_RenderGeometry(renderer, texture, vertices.data(), static_cast<int>(vertices.size()), nullptr, 0);
        SDL_RenderFlush(renderer);
        benchmark::DoNotOptimize(surface->pixels);
    }
    Report(state, s);
    if (texture)
        SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(surface);
}

// --- Mesa software OpenGL ---------------------------------------------------------------------
void DrawMesa(benchmark::State& state, const Scene& s)
{
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_BGRA, 0, 0, 0, nullptr);
    std::vector<uint32_t> buffer(static_cast<size_t>(kWidth * kHeight), 0xFF404040u);
    if (!context || !OSMesaMakeCurrent(context, buffer.data(), GL_UNSIGNED_BYTE, kWidth, kHeight))
    {
        state.SkipWithError("OSMesa context unavailable");
        return;
    }
    OSMesaPixelStore(OSMESA_Y_UP, 0);
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kWidth, kHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    GLuint texture = 0;
    if (s.texture)
    {
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, s.texture->mWidth, s.texture->mHeight, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                     s.texture->mPixels.data());
        const GLint mode = s.filter ? GL_LINEAR : GL_NEAREST;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mode);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mode);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    std::vector<GLfloat> positions, texcoords;
    std::vector<GLubyte> colors;
    for (const auto& v : s.vertices)
    {
        positions.insert(positions.end(), {v.x, v.y});
        texcoords.insert(texcoords.end(), {v.u, v.v});
        const SDL_Color c = Modulated(v.color, s.vertexColor, s.color);
        colors.insert(colors.end(), {c.r, c.g, c.b, c.a});
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, positions.data());
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, colors.data());
    if (s.texture)
    {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, texcoords.data());
    }
    for (auto _ : state)
    {
        for (int pass = 0; pass < s.passes; ++pass)
            glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(s.vertices.size()));
        glFinish();
    }
    Report(state, s);
    if (texture)
        glDeleteTextures(1, &texture);
    OSMesaDestroyContext(context);
}
} // namespace

int main(int argc, char** argv)
{
    setenv("LP_NUM_THREADS", "1", 1);
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    for (const Scene& s : Scenes())
    {
        for (int32_t format : {0x888, 0x8888})
        {
            const std::string suffix = format == 0x888 ? "/888" : "/8888";
            benchmark::RegisterBenchmark((s.name + "/quoll" + suffix).c_str(),
                                         [&s, format](benchmark::State& st) { DrawQuoll(st, s, format); })
                ->Unit(benchmark::kMillisecond)->UseRealTime();
            benchmark::RegisterBenchmark((s.name + "/sdl" + suffix).c_str(),
                                         [&s, format](benchmark::State& st) { DrawSdl(st, s, format); })
                ->Unit(benchmark::kMillisecond)->UseRealTime();
        }
        benchmark::RegisterBenchmark((s.name + "/mesa").c_str(), [&s](benchmark::State& st) { DrawMesa(st, s); })
            ->Unit(benchmark::kMillisecond)->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The two-pass mesh (textured triangles drawn normally, then the same triangles additively) drawn
// through a memory image, the 2D surface screen and the 3D screen: every pixel agrees within 3
// per channel between the three, for vertex colours 0, grey 128 and white, with and without a
// tint. The mesh covers the whole screen, so no pixel lies on an outer edge, where each path
// keeps its own coverage rule; the software paths never draw the clip rectangle's last column
// and row, which are left out. Two cases agree less closely, for reasons of the software's
// normal pass: under a translucent tint within 5 (it weighs by alpha/256 where the 3D device
// weighs by alpha/255), filtered within 8 (its filtered samples weigh their texels to 254/256 and
// the result is weighed once more by alpha/256).
// Rerun: test_display --gtest_filter='MeshAgreement.*'
#include "Display3DFixture.h"
#include "tests/GoldenImage.h"

#include "framework/display/Graphics.h"
#include "framework/rasteriser/TriangleSpanTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

using namespace Quoll;
using namespace Quoll::Platform;
using namespace Quoll::Testing;

namespace
{
constexpr int kWidth = 192, kHeight = 144;

// A smooth opaque texture: neighbouring texels differ by at most 1 per channel, so that the
// paths' different sample positions change nothing beyond rounding.
void MakeSmoothTexture(MemoryImage& texture)
{
    std::vector<uint32_t> texels(64 * 64);
    for (uint32_t y = 0; y < 64; ++y)
        for (uint32_t x = 0; x < 64; ++x)
            texels[y * 64 + x] = 0xFF000000u | (100 + x) << 16 | (60 + y) << 8 | (90 + (x + y) / 2);
    texture.SetBits(texels.data(), 64, 64);
}

// A 7 x 5 grid of vertices a little beyond the screen on every side, inner vertices moved off
// the regular places, in the triangle order of a mesh: (A, B, C) and (C, B, D) per cell.
std::vector<TriVertex> MeshTriangles(uint32_t vertexColor)
{
    constexpr int kColumns = 7, kRows = 5;
    auto vertex = [&](int c, int r) {
        const bool inner = c > 0 && c < kColumns - 1 && r > 0 && r < kRows - 1;
        const float x = -9.0f + c * (kWidth + 18.0f) / (kColumns - 1) + (inner ? 5.5f * std::sin(float(r + c)) : 0.0f);
        const float y = -7.0f + r * (kHeight + 14.0f) / (kRows - 1) + (inner ? 4.5f * std::cos(float(r * c)) : 0.0f);
        return TriVertex{x, y, static_cast<float>(c) / (kColumns - 1), static_cast<float>(r) / (kRows - 1),
                         vertexColor};
    };
    std::vector<TriVertex> out;
    for (int r = 0; r + 1 < kRows; ++r)
        for (int c = 0; c + 1 < kColumns; ++c)
            for (const TriVertex& v : {vertex(c, r), vertex(c + 1, r), vertex(c, r + 1), vertex(c, r + 1),
                                       vertex(c + 1, r), vertex(c + 1, r + 1)})
                out.push_back(v);
    return out;
}

struct MeshCase
{
    uint32_t vertexColor;
    Color tint;
    bool filter;

    [[nodiscard]] std::string Name() const
    {
        char text[96];
        std::snprintf(text, sizeof(text), "vertex %08X tint %d,%d,%d,%d filter %d", vertexColor, tint.r, tint.g,
                      tint.b, tint.a, filter ? 1 : 0);
        return text;
    }
};

// Black, then the two passes of the mesh over it.
void DrawMesh(Image& target, MemoryImage& texture, const MeshCase& c)
{
    Graphics g(&target);
    g.SetColor(Color::Black);
    g.FillRect(0, 0, kWidth, kHeight);
    const std::vector<TriVertex> corners = MeshTriangles(c.vertexColor);
    const auto* triangles = reinterpret_cast<const TriangleVertices*>(corners.data());
    const int count = static_cast<int>(corners.size() / 3);
    g.SetColor(c.tint);
    g.SetImageTint(true);
    g.SetTriangleFiltering(c.filter);
    g.DrawTrianglesTex(&texture, triangles, count);
    g.SetDrawMode(DrawMode::Additive);
    g.DrawTrianglesTex(&texture, triangles, count);
}

std::vector<uint32_t> ReadScreen(TestDisplay& t)
{
    EXPECT_TRUE(t.display->Redraw(nullptr));
    std::vector<uint32_t> pixels;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels.push_back(t.display->mDrawSurface->ArgbAt(x, y) | 0xFF000000u);
    return pixels;
}

// The first pixel where a and b differ by more than the tolerance in some colour channel.
::testing::AssertionResult Agree(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int tolerance)
{
    for (size_t i = 0; i < a.size(); ++i)
    {
        if (i % kWidth == kWidth - 1 || i / kWidth == kHeight - 1)
            continue;
        for (int shift = 0; shift < 24; shift += 8)
        {
            const int da = static_cast<int>((a[i] >> shift) & 0xFF), db = static_cast<int>((b[i] >> shift) & 0xFF);
            if (std::abs(da - db) > tolerance)
            {
                char text[64];
                std::snprintf(text, sizeof(text), "pixel %zu,%zu: %08X against %08X", i % kWidth, i / kWidth, a[i],
                              b[i]);
                return ::testing::AssertionFailure() << text;
            }
        }
    }
    return ::testing::AssertionSuccess();
}
} // namespace

TEST(MeshAgreement, MemorySurfaceAnd3DScreenAgreeWithin3)
{
    InitTriangleSpanTable();
    MemoryImage texture;
    MakeSmoothTexture(texture);
    TestDisplay surface;
    ASSERT_EQ(surface.Init(), 0);
    Display3D screen3D;

    for (const uint32_t vertexColor : {0u, 0xFF808080u, 0xFFFFFFFFu})
        for (const Color& tint : {Color::White, Color(255, 200, 150), Color(230, 250, 180, 200)})
            for (const bool filter : {false, true})
            {
                const MeshCase c{vertexColor, tint, filter};
                SCOPED_TRACE(c.Name());
                MemoryImage memory;
                memory.Create(kWidth, kHeight);
                DrawMesh(memory, texture, c);
                const uint32_t* bits = memory.GetBits();
                std::vector<uint32_t> inMemory(bits, bits + kWidth * kHeight);
                for (uint32_t& p : inMemory)
                    p |= 0xFF000000u;
                DrawMesh(surface.Screen(), texture, c);
                const std::vector<uint32_t> onSurface = ReadScreen(surface);
                DrawMesh(screen3D.t.Screen(), texture, c);
                const std::vector<uint32_t> on3D = ReadScreen(screen3D.t);

                const int tolerance = filter ? 8 : tint.a < 255 ? 5 : 3;
                EXPECT_TRUE(Agree(inMemory, onSurface, tolerance)) << "memory against the surface screen";
                EXPECT_TRUE(Agree(inMemory, on3D, tolerance)) << "memory against the 3D screen";
                EXPECT_TRUE(Agree(onSurface, on3D, tolerance)) << "surface against the 3D screen";
            }
}

// The additive pass brings grey 128 to the texture's own brightness on every path (it was half
// as bright on the software paths, which dropped the draw mode).
TEST(MeshAgreement, GreyMeshOverWhiteTextureIsWhiteOnEveryPath)
{
    InitTriangleSpanTable();
    MemoryImage texture;
    std::vector<uint32_t> white(16 * 16, 0xFFFFFFFF);
    texture.SetBits(white.data(), 16, 16);
    const MeshCase c{0xFF808080u, Color::White, false};
    auto check = [](uint32_t pixel) { EXPECT_EQ(pixel | 0xFF000000u, 0xFFFFFFFFu); };

    MemoryImage memory;
    memory.Create(kWidth, kHeight);
    DrawMesh(memory, texture, c);
    check(memory.GetBits()[70 * kWidth + 90]);
    TestDisplay surface;
    ASSERT_EQ(surface.Init(), 0);
    DrawMesh(surface.Screen(), texture, c);
    check(ReadScreen(surface)[70 * kWidth + 90]);
    Display3D screen3D;
    DrawMesh(screen3D.t.Screen(), texture, c);
    check(ReadScreen(screen3D.t)[70 * kWidth + 90]);
}

// A background's flash: the mesh at grey 128 (rest), 191 (half-way) and 255 (the flash's start)
// in three bands, on the 2D surface screen and on the 3D screen. Each path is pinned by its
// golden, and the two brighten equally: the pair agrees within 3.
TEST(MeshAgreement, FlashBrightensEquallyOnBothPaths)
{
    InitTriangleSpanTable();
    MemoryImage texture;
    MakeSmoothTexture(texture);
    auto drawFlash = [&](Image& target) {
        Graphics g(&target);
        g.SetColor(Color::Black);
        g.FillRect(0, 0, kWidth, kHeight);
        g.SetColor(Color::White);
        const int band = kWidth / 3;
        const uint32_t greys[3] = {0xFF808080u, 0xFFBFBFBFu, 0xFFFFFFFFu};
        for (int i = 0; i < 3; ++i)
        {
            const std::vector<TriVertex> corners = MeshTriangles(greys[i]);
            const auto* triangles = reinterpret_cast<const TriangleVertices*>(corners.data());
            const int count = static_cast<int>(corners.size() / 3);
            g.PushState();
            g.ClipRect(i * band, 0, band, kHeight);
            g.DrawTrianglesTex(&texture, triangles, count);
            g.SetImageTint(true);
            g.SetDrawMode(DrawMode::Additive);
            g.DrawTrianglesTex(&texture, triangles, count);
            g.PopState();
        }
    };
    TestDisplay surface;
    ASSERT_EQ(surface.Init(), 0);
    drawFlash(surface.Screen());
    const std::vector<uint32_t> onSurface = ReadScreen(surface);
    Display3D screen3D;
    drawFlash(screen3D.t.Screen());
    const std::vector<uint32_t> on3D = ReadScreen(screen3D.t);

    EXPECT_TRUE(MatchesGolden("mesh_flash_surface32", onSurface.data(), kWidth, kHeight));
    EXPECT_TRUE(MatchesGolden("mesh_flash_3d32", on3D.data(), kWidth, kHeight));
    // The software paths leave each band's last column undrawn (see above).
    std::vector<uint32_t> a = onSurface, b = on3D;
    for (int y = 0; y < kHeight; ++y)
        for (int x : {kWidth / 3 - 1, 2 * kWidth / 3 - 1})
            a[static_cast<size_t>(y * kWidth + x)] = b[static_cast<size_t>(y * kWidth + x)];
    EXPECT_TRUE(Agree(a, b, 3));
    // The flash's start is about twice as bright as the rest (grey 128).
    const uint32_t rest = onSurface[70 * kWidth + 30], flash = onSurface[70 * kWidth + 160];
    EXPECT_GT((flash >> 16) & 0xFF, 190u) << std::hex << flash;
    EXPECT_LT((rest >> 16) & 0xFF, 150u) << std::hex << rest;
}

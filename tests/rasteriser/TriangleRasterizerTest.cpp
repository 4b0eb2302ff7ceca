// The strip front end: strip order and winding, clipping into polygons and fans, clip edges on
// the last column and row, fixed-point conversion, texture record and drawing flags, a mesh that
// covers every pixel exactly once, and random strips (huge, non-finite and degenerate vertices)
// that must never write outside the clip rectangle (canary margins; run under AddressSanitizer).
// Rerun one case: test_rasteriser --gtest_filter='TriangleRasterizer.Mesh*'
#include "framework/display/RasterView.h"
#include "framework/display/Color.h"
#include "framework/display/MemoryImage.h"
#include "framework/display/Rect.h"
#include "framework/rasteriser/TriangleClipper.h"
#include "RasterTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace Quoll;
using RasterTest::Canvas;

namespace
{
// A texture whose pixels the test owns; counts the calls the front end makes.
class TestTexture : public MemoryImage
{
public:
    TestTexture(int width, int height, uint32_t fill, bool hasAlpha = false)
        : mPixels(static_cast<size_t>(width * height), fill)
    {
        mWidth = width;
        mHeight = height;
        mHasAlpha = hasAlpha;
    }
    void CommitBits() override { ++mCommits; }
    uint32_t* GetBits() override
    {
        ++mGets;
        return mPixels.data();
    }
    std::vector<uint32_t> mPixels;
    int mCommits = 0;
    int mGets = 0;
};

// Records the triangles handed to entry 26 (textured, blended, tinted) of the 0x8888 group.
struct Recorded
{
    FixedVertex v[3];
    TriangleTexture texture;
};
std::vector<Recorded> gRecorded;

void Record(const FixedVertex* v, uint8_t*, int32_t, const TriangleTexture* texture, const TriangleColor*)
{
    gRecorded.push_back({{v[0], v[1], v[2]}, *texture});
}

const Color kTint(255, 255, 255, 254);

struct TriangleRasterizer : ::testing::Test
{
    void SetUp() override
    {
        InitTriangleSpanTable();
        SetTriangleSpanOverride(0x8888, &Record);
        gRecorded.clear();
    }
    void TearDown() override { InitTriangleSpanTable(); }

    // Strip through the recorder: a texture with alpha and a tint select entry 26.
    void RecordStrip(const std::vector<TriVertex>& v, const Rect& clip = Rect(0, 0, 100, 100))
    {
        TestTexture texture(64, 32, 0x80FFFFFF, true);
        uint32_t pixel = 0;
        RasterizeTriangleStrip(clip, kTint, v.data(), static_cast<int32_t>(v.size()), &texture,
                               reinterpret_cast<uint8_t*>(&pixel), 4, 0x8888, false, false);
    }
};

TriVertex V(float x, float y, uint32_t color = 0xFFFFFFFF, float u = 0, float v = 0)
{
    return TriVertex{x, y, u, v, color};
}

int32_t Fx(float v) { return static_cast<int32_t>(v * 65536.0); }
} // namespace

TEST_F(TriangleRasterizer, StripOrderAndWinding)
{
    const std::vector<TriVertex> strip = {V(1, 1), V(20, 2), V(3, 30), V(40, 41), V(5, 50)};
    RecordStrip({strip.begin(), strip.begin() + 2});
    EXPECT_TRUE(gRecorded.empty());
    RecordStrip(strip);
    ASSERT_EQ(gRecorded.size(), 3u);
    // (0,1,2), (1,3,2), (2,3,4): the second and third vertices swap at odd positions.
    const int expected[3][3] = {{0, 1, 2}, {1, 3, 2}, {2, 3, 4}};
    for (int t = 0; t < 3; ++t)
        for (int i = 0; i < 3; ++i)
        {
            EXPECT_EQ(gRecorded[t].v[i].x, Fx(strip[expected[t][i]].x)) << t << i;
            EXPECT_EQ(gRecorded[t].v[i].y, Fx(strip[expected[t][i]].y)) << t << i;
        }
}

TEST_F(TriangleRasterizer, ClippedPolygonsAreDrawnAsFans)
{
    // One corner beyond the left edge: a quadrilateral, two dispatches sharing vertex 0.
    RecordStrip({V(-10, 10), V(50, 5), V(50, 60)}, Rect(0, 0, 100, 100));
    ASSERT_EQ(gRecorded.size(), 2u);
    EXPECT_EQ(gRecorded[0].v[0].x, gRecorded[1].v[0].x);
    EXPECT_EQ(gRecorded[0].v[2].x, gRecorded[1].v[1].x);
    EXPECT_EQ(gRecorded[0].v[2].y, gRecorded[1].v[1].y);
    // A triangle over all four edges: a heptagon, five dispatches.
    gRecorded.clear();
    RecordStrip({V(14, -10), V(70, 64), V(-10, 35)}, Rect(0, 0, 50, 50));
    EXPECT_EQ(gRecorded.size(), 5u);
    // Wholly outside: nothing.
    gRecorded.clear();
    RecordStrip({V(200, 200), V(300, 200), V(200, 300)});
    EXPECT_TRUE(gRecorded.empty());
}

TEST_F(TriangleRasterizer, ClipEdgesLieOnTheLastColumnAndRow)
{
    // x + width - 1 is inside; x + width - 0.5 is cut back to it.
    RecordStrip({V(10, 10), V(109, 10), V(10, 50)}, Rect(10, 10, 100, 100));
    ASSERT_EQ(gRecorded.size(), 1u);
    gRecorded.clear();
    RecordStrip({V(10, 10), V(109.5f, 10), V(10, 50)}, Rect(10, 10, 100, 100));
    ASSERT_GE(gRecorded.size(), 2u);
    for (const auto& r : gRecorded)
        for (const auto& v : r.v)
            EXPECT_LE(v.x, 109 * 65536);
    // A quad over the whole rectangle fills x..x+width-2 and y..y+height-2.
    InitTriangleSpanTable();
    Canvas canvas(12, 10, 0x8888);
    const Rect clip(2, 1, 8, 6);
    const std::vector<TriVertex> quad = {V(-5, -5), V(50, -5), V(-5, 50), V(50, 50)};
    RasterizeTriangleStrip(clip, Color::White, quad.data(), 4, nullptr, canvas.Origin(), canvas.Pitch(), 0x8888,
                           false, true);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
        {
            const bool inside = x >= 2 && x <= 8 && y >= 1 && y <= 5;
            EXPECT_EQ(canvas.Get(x, y), inside ? 0xFFFFFFFFu : 0u) << x << "," << y;
        }
}

TEST_F(TriangleRasterizer, FixedPointConversionAndTextureRecord)
{
    RecordStrip({V(2.5f, 3, 0, 1.0f, 0.5f), V(-0.5f, 20, 0, 0, 0), V(30, 30, 0, 0.25f, 1)}, Rect(-10, -10, 100, 100));
    ASSERT_EQ(gRecorded.size(), 1u);
    EXPECT_EQ(gRecorded[0].v[0].x, 2 * 65536 + 32768);
    EXPECT_EQ(gRecorded[0].v[1].x, -32768); // truncation toward zero
    EXPECT_EQ(gRecorded[0].v[0].u, 4194304); // 1.0 on a 64-wide texture: one past the last column
    EXPECT_EQ(gRecorded[0].v[0].v, 16 * 65536);
    const TriangleTexture& t = gRecorded[0].texture;
    EXPECT_EQ(t.width, 64);
    EXPECT_EQ(t.height, 32);
    EXPECT_EQ(t.size, 64 * 32);
    EXPECT_EQ(t.rowShift, 10);
    EXPECT_EQ(t.maxU, 63 << 16);
    EXPECT_EQ(t.maxV, 31 << 16);
    for (auto [width, shift] : {std::pair{1, 16}, {256, 8}, {100, 10}})
    {
        TestTexture texture(width, 1, 0x80FFFFFF, true);
        gRecorded.clear();
        const TriVertex v[3] = {V(0, 0), V(10, 0), V(0, 10)};
        uint32_t pixel = 0;
        RasterizeTriangleStrip(Rect(0, 0, 20, 20), kTint, v, 3, &texture, reinterpret_cast<uint8_t*>(&pixel), 4,
                               0x8888, false, false);
        ASSERT_EQ(gRecorded.size(), 1u);
        EXPECT_EQ(gRecorded[0].texture.rowShift, shift) << width;
        EXPECT_EQ(texture.mCommits, 1);
        EXPECT_EQ(texture.mGets, 1);
    }
}

TEST_F(TriangleRasterizer, ClipperInterpolatesColoursByTruncation)
{
    const TriVertex a = V(-10, 0, 0x00000000), b = V(10, 0, 0xFFFFFFFF), c = V(10, 10, 0xFFFFFFFF);
    const TriVertex* out[kClipListCapacity];
    ASSERT_EQ(ClipPolygonToRect(&a, &b, &c, out, 0, 50, 0, 50), 4);
    bool found = false;
    for (int i = 0; i < 4; ++i)
        if (out[i]->x == 0 && out[i]->y == 0)
        {
            EXPECT_EQ(out[i]->color, 0x7F7F7F7Fu);
            found = true;
        }
    EXPECT_TRUE(found);
    EXPECT_EQ(out[4], nullptr);
}

TEST_F(TriangleRasterizer, DrawingFlagsSelectTheEntry)
{
    // Tint only when the colour differs from white in any of its four values.
    RecordStrip({V(0, 0), V(10, 0), V(0, 10)});
    EXPECT_EQ(gRecorded.size(), 1u);
    gRecorded.clear();
    TestTexture alpha(4, 4, 0x80FFFFFF, true), opaque(4, 4, 0xFFFFFFFF, false);
    const TriVertex v[3] = {V(0, 0), V(10, 0), V(0, 10)};
    Canvas target(10, 10, 0x8888);
    auto draw = [&](const Color& c, TestTexture& t, bool filter)
    {
        gRecorded.clear();
        RasterizeTriangleStrip(Rect(0, 0, 10, 10), c, v, 3, &t, target.Origin(), target.Pitch(), 0x8888, filter,
                               false);
        return !gRecorded.empty();
    };
    EXPECT_FALSE(draw(Color::White, alpha, false)); // index 24
    EXPECT_TRUE(draw(kTint, alpha, false));          // index 26
    EXPECT_FALSE(draw(kTint, opaque, false));        // index 18: no blend without alpha
    opaque.mHasTrans = true;
    EXPECT_TRUE(draw(kTint, opaque, false));         // transparent pixels blend too
    EXPECT_FALSE(draw(kTint, alpha, true));          // index 27
    // An opaque texture drawn with filtering blends: at the top-left corner the filter reaches
    // outside the texels and the white fades.
    InitTriangleSpanTable();
    TestTexture white(4, 4, 0xFFFFFFFF, false);
    Canvas canvas(8, 8, 0x888);
    const std::vector<TriVertex> quad = {V(0, 0, 0, 0, 0), V(8, 0, 0, 1, 0), V(0, 8, 0, 0, 1), V(8, 8, 0, 1, 1)};
    RasterizeTriangleStrip(Rect(0, 0, 9, 9), Color::White, quad.data(), 4, &white, canvas.Origin(), canvas.Pitch(),
                           0x888, true, false);
    EXPECT_LT(canvas.Get(0, 0) & 0xFF, 0xC0u);
    EXPECT_EQ(canvas.Get(3, 3), 0xFFFDFDFDu);
}

TEST_F(TriangleRasterizer, MeshCoversEveryPixelExactlyOnce)
{
    // A 40 x 30 grid of jittered vertices as strips, half-transparent white over black: a pixel
    // drawn once reads 0x7F, twice 0xBE, never 0.
    const uint32_t seed = 77;
    std::mt19937 rng(seed);
    const int cols = 40, rows = 30;
    std::vector<TriVertex> grid;
    for (int j = 0; j <= rows; ++j)
        for (int i = 0; i <= cols; ++i)
        {
            const bool border = i == 0 || j == 0 || i == cols || j == rows;
            const float jx = border ? 0 : (static_cast<float>(rng() % 1000) / 1000.0f - 0.5f) * 4;
            const float jy = border ? 0 : (static_cast<float>(rng() % 1000) / 1000.0f - 0.5f) * 4;
            grid.push_back(V(-20 + i * 6.1f + jx, -15 + j * 5.3f + jy, 0x80FFFFFF));
        }
    Canvas canvas(220, 150, 0x888, 2);
    const Rect clip(0, 0, 205, 140);
    for (int j = 0; j < rows; ++j)
    {
        std::vector<TriVertex> strip;
        for (int i = 0; i <= cols; ++i)
        {
            strip.push_back(grid[static_cast<size_t>(j * (cols + 1) + i)]);
            strip.push_back(grid[static_cast<size_t>((j + 1) * (cols + 1) + i)]);
        }
        RasterizeTriangleStrip(clip, Color::White, strip.data(), static_cast<int32_t>(strip.size()), nullptr,
                               canvas.Origin(), canvas.Pitch(), 0x888, false, true);
    }
    ASSERT_TRUE(canvas.CanariesIntact());
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 220; ++x)
        {
            const bool inside = x < 204 && y < 139;
            ASSERT_EQ(canvas.Get(x, y), inside ? 0xFF7F7F7Fu : 0u) << "seed " << seed << " pixel " << x << "," << y;
        }
}

TEST_F(TriangleRasterizer, RandomStripsNeverWriteOutsideTheClip)
{
    const uint32_t seed = 9001;
    std::mt19937 rng(seed);
    const float specials[] = {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                              std::numeric_limits<float>::quiet_NaN(), 3.0e38f, -3.0e38f, 1.0e9f, -1.0e9f,
                              32767.5f, -0.00001f};
    auto coordinate = [&](float extent)
    {
        const uint32_t r = rng();
        if (r % 16 == 0)
            return specials[(r >> 4) % 9];
        return (static_cast<float>(r % 100000) / 100000.0f) * extent * 1.6f - extent * 0.3f;
    };
    TestTexture texture(5, 3, 0x80FF8040, true);
    for (int trial = 0; trial < 3000; ++trial)
    {
        const int32_t format = std::array<int32_t, 4>{0x8888, 0x888, 0x565, 0x555}[trial % 4];
        const int w = 1 + static_cast<int>(rng() % 40), h = 1 + static_cast<int>(rng() % 30);
        Canvas canvas(w, h, format, 3);
        canvas.Fill(0x5A5A5A5A);
        const int cx = static_cast<int>(rng() % static_cast<uint32_t>(w));
        const int cy = static_cast<int>(rng() % static_cast<uint32_t>(h));
        const Rect clip(cx, cy, static_cast<int>(rng() % static_cast<uint32_t>(w - cx + 1)),
                        static_cast<int>(rng() % static_cast<uint32_t>(h - cy + 1)));
        std::vector<TriVertex> strip(3 + rng() % 6);
        for (auto& v : strip)
            v = TriVertex{coordinate(static_cast<float>(w)), coordinate(static_cast<float>(h)), coordinate(2),
                          coordinate(2), static_cast<uint32_t>(rng())};
        const Color color(static_cast<int>(rng() % 300) - 20, 255, static_cast<int>(rng() % 256),
                          static_cast<int>(rng() % 256));
        RasterizeTriangleStrip(clip, color, strip.data(), static_cast<int32_t>(strip.size()),
                               rng() % 2 ? &texture : nullptr, canvas.Origin(), canvas.Pitch(), format, rng() % 2,
                               rng() % 2);
        ASSERT_TRUE(canvas.CanariesIntact()) << "seed " << seed << " trial " << trial;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
            {
                const bool inClip = x >= clip.x && x < clip.x + clip.width && y >= clip.y && y < clip.y + clip.height;
                if (!inClip)
                {
                    ASSERT_EQ(canvas.Get(x, y), format == 0x565 || format == 0x555 ? 0x5A5Au : 0x5A5A5A5Au)
                        << "seed " << seed << " trial " << trial << " pixel " << x << "," << y;
                }
            }
    }
}

// Finite vertices near the float range overflow the clipper's interpolation: the polygon is
// dropped before anything is converted to an integer, and every polygon it does return is finite.
TEST_F(TriangleRasterizer, ClipperDropsNonFiniteIntersections)
{
    const float big = 1.7e38f;
    const TriVertex cases[][3] = {{V(-big, 10, 0xFF102030), V(big, 20, 0xFFFFFFFF), V(50, big, 0x80808080)},
                                  {V(big, -big), V(-big, big), V(10, 10)},
                                  {V(-big, -big, 0), V(big, -big, 0xFFFFFFFF), V(-big, big, 0x12345678)}};
    for (const auto& c : cases)
    {
        const TriVertex* out[kClipListCapacity];
        const int32_t n = ClipPolygonToRect(&c[0], &c[1], &c[2], out, 0, 99, 0, 99);
        for (int32_t i = 0; i < n; ++i)
            EXPECT_TRUE(std::isfinite(out[i]->x) && std::isfinite(out[i]->y));
        RecordStrip({c[0], c[1], c[2]});
    }
    for (const Recorded& r : gRecorded)
        for (const FixedVertex& v : r.v)
            EXPECT_TRUE(v.x >= 0 && v.x <= Fx(99) && v.y >= 0 && v.y <= Fx(99));
}

// Additive draws of a textured strip go to the additive family, untextured ones stay normal.
TEST_F(TriangleRasterizer, AdditiveModeReachesTheAdditiveFamily)
{
    InitTriangleSpanTable();
    TestTexture texture(1, 1, 0xFF404040);
    Canvas canvas(8, 8, 0x888);
    canvas.Fill(0xFF101010);
    const std::vector<TriVertex> strip = {V(0, 0), V(8, 0), V(0, 8), V(8, 8)};
    RasterizeTriangleStrip(Rect(0, 0, 8, 8), Color::White, strip.data(), 4, &texture, canvas.Origin(),
                           canvas.Pitch(), 0x888, false, false, TriangleMode::Additive);
    EXPECT_EQ(canvas.Get(3, 3), 0xFF505050u);
    RasterizeTriangleStrip(Rect(0, 0, 8, 8), Color::White, strip.data(), 4, &texture, canvas.Origin(),
                           canvas.Pitch(), 0x888, false, false, TriangleMode::Normal);
    EXPECT_EQ(canvas.Get(3, 3), 0xFF404040u);
}

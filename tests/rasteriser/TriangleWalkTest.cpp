// The 16.16 triangle walk: the coverage rule at whole-number sample points, halves and flat
// triangles, degenerate triangles, the rounded-down pitch, and coverage against an exact
// reference rasteriser on 10,000 seeded random triangles (the seed is printed on failure).
// Rerun one case: test_rasteriser --gtest_filter='TriangleWalk.*'
#include "framework/rasteriser/TriangleWalk.h"
#include "RasterTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace Quoll;
using RasterTest::Canvas;
using RasterTest::Vertex;

namespace
{
// Counts visits per pixel and records the first attribute at each pixel.
template <class PixelWord> struct CountKernelOf
{
    using Pixel = PixelWord;
    static constexpr int kAttributes = 1;
    static constexpr int kColorAttributes = 0;
    CountKernelOf(const TriangleTexture*, const TriangleColor&) {}
    void Load(const FixedVertex& v, int32_t* out) const { out[0] = v.a; }
    template <bool> void Draw(Pixel* pixel, const int32_t*) const { ++*pixel; }
};
using CountKernel = CountKernelOf<uint32_t>;

struct AttributeKernel
{
    using Pixel = uint32_t;
    static constexpr int kAttributes = 1;
    static constexpr int kColorAttributes = 0;
    AttributeKernel(const TriangleTexture*, const TriangleColor&) {}
    void Load(const FixedVertex& v, int32_t* out) const { out[0] = v.a; }
    template <bool> void Draw(Pixel* pixel, const int32_t* k) const { *pixel = static_cast<uint32_t>(k[0]); }
};

void Count(Canvas& canvas, const FixedVertex (&v)[3])
{
    const TriangleColor color{};
    DrawTriangle<CountKernel>(v, canvas.Origin(), canvas.Pitch(), nullptr, &color);
}

int Covered(const Canvas& canvas)
{
    int n = 0;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            n += canvas.Get(x, y) != 0;
    return n;
}

// Exact coverage of a sample point (X, Y in 16.16): top <= Y < bottom, left <= X < right, with
// edges evaluated in doubles. Returns -1 when X lies within `band` of an edge.
int ExactInside(const FixedVertex* t, const FixedVertex* m, const FixedVertex* b, int64_t X, int64_t Y, double band)
{
    if (Y < t->y || Y >= b->y)
        return 0;
    auto edgeX = [&](const FixedVertex* p, const FixedVertex* q)
    { return p->x + double(q->x - p->x) * double(Y - p->y) / double(q->y - p->y); };
    const double longX = edgeX(t, b);
    const double shortX = Y < m->y ? edgeX(t, m) : edgeX(m, b);
    if (std::abs(X - longX) < band || std::abs(X - shortX) < band)
        return -1;
    const double left = std::min(longX, shortX), right = std::max(longX, shortX);
    return X >= left && X < right;
}
} // namespace

TEST(TriangleWalk, NoScanLineWhenAllVerticesRoundToTheSameRow)
{
    Canvas canvas(32, 32, 0x8888);
    Count(canvas, {Vertex(2, 10.2), Vertex(20, 10.5), Vertex(8, 10.9)});
    EXPECT_EQ(Covered(canvas), 0);
}

TEST(TriangleWalk, TopAndLeftEdgesInsideBottomAndRightOutside)
{
    Canvas canvas(32, 32, 0x8888);
    // Axis-aligned right triangle: the top row 10 and left column 4 are drawn, row 20 is not.
    Count(canvas, {Vertex(4, 10), Vertex(24, 10), Vertex(4, 20)});
    EXPECT_EQ(canvas.Get(4, 10), 1u);
    EXPECT_EQ(canvas.Get(3, 10), 0u);
    EXPECT_EQ(canvas.Get(23, 10), 1u);
    EXPECT_EQ(canvas.Get(24, 10), 0u);
    EXPECT_EQ(canvas.Get(4, 19), 1u);
    EXPECT_EQ(canvas.Get(4, 20), 0u);
    // Flat top: the row of the two top vertices is the first drawn; a flat bottom is excluded.
    EXPECT_EQ(Covered(canvas), 20 + 18 + 16 + 14 + 12 + 10 + 8 + 6 + 4 + 2);
}

TEST(TriangleWalk, DegenerateTrianglesDrawNothing)
{
    Canvas canvas(32, 32, 0x8888);
    Count(canvas, {Vertex(2, 2), Vertex(10, 10), Vertex(20, 20)}); // middle on the long edge
    Count(canvas, {Vertex(5.25, 2), Vertex(5.75, 2), Vertex(5.5, 3)}); // no whole column inside
    EXPECT_EQ(Covered(canvas), 0);
}

TEST(TriangleWalk, PitchIsRoundedDownToWholePixels)
{
    for (int32_t format : {0x8888, 0x565})
    {
        Canvas canvas(16, 16, format);
        const TriangleColor color{};
        const FixedVertex v[3] = {Vertex(0, 0), Vertex(8, 0), Vertex(0, 8)};
        if (format == 0x8888)
            DrawTriangle<CountKernel>(v, canvas.Origin(), canvas.Pitch() + 3, nullptr, &color);
        else
            DrawTriangle<CountKernelOf<uint16_t>>(v, canvas.Origin(), canvas.Pitch() + 1, nullptr, &color);
        EXPECT_EQ(Covered(canvas), 8 + 7 + 6 + 5 + 4 + 3 + 2 + 1) << std::hex << format;
    }
}

TEST(TriangleWalk, AttributesAreRecomputedFromTheLongEdgeOnEveryLine)
{
    Canvas canvas(64, 64, 0x8888);
    const TriangleColor color{};
    const FixedVertex v[3] = {Vertex(1.3, 1.7, 0x00000000), Vertex(60.2, 9.1, 0xFF000000), Vertex(7.9, 62.4, 0x80000000)};
    DrawTriangle<AttributeKernel>(v, canvas.Origin(), canvas.Pitch(), nullptr, &color);
    // Every value lies near the plane through the three vertex values: rounding of the gradients
    // adds about one unit per pixel stepped, but does not carry from one line to the next.
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
        {
            const int32_t got = static_cast<int32_t>(canvas.Get(x, y));
            if (got == 0)
                continue;
            const double x0 = v[0].x / 65536.0, y0 = v[0].y / 65536.0, x1 = v[1].x / 65536.0,
                         y1 = v[1].y / 65536.0, x2 = v[2].x / 65536.0, y2 = v[2].y / 65536.0;
            const double det = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0);
            const double l1 = ((x - x0) * (y2 - y0) - (x2 - x0) * (y - y0)) / det;
            const double l2 = ((x1 - x0) * (y - y0) - (x - x0) * (y1 - y0)) / det;
            const double expected = v[0].a + l1 * (v[1].a - v[0].a) + l2 * (v[2].a - v[0].a);
            EXPECT_NEAR(got, expected, 256.0) << x << "," << y;
        }
}

TEST(TriangleWalk, CoverageMatchesExactReferenceOnRandomTriangles)
{
    const uint32_t seed = 20261206;
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int32_t> coord(-2 * 65536, 66 * 65536);
    Canvas canvas(64, 64, 0x8888, 4);
    for (int trial = 0; trial < 10000; ++trial)
    {
        canvas.Fill(0);
        FixedVertex v[3] = {};
        for (auto& p : v)
        {
            // Mix whole, half and arbitrary positions so that edges often pass through samples.
            p.x = coord(rng);
            p.y = coord(rng);
            if (rng() % 4 == 0)
                p.x &= ~0xFFFF;
            if (rng() % 4 == 0)
                p.y &= ~0x7FFF;
        }
        // The walk writes every span as computed: keep the triangle inside the canvas.
        for (auto& p : v)
        {
            p.x = std::clamp(p.x, 0, 63 * 65536);
            p.y = std::clamp(p.y, 0, 63 * 65536);
        }
        Count(canvas, v);
        ASSERT_TRUE(canvas.CanariesIntact()) << "seed " << seed << " trial " << trial;
        const FixedVertex* s[3] = {&v[0], &v[1], &v[2]};
        std::sort(s, s + 3, [](auto a, auto b) { return a->y < b->y; });
        const bool line = int64_t(s[1]->x - s[0]->x) * (s[2]->y - s[0]->y) == int64_t(s[2]->x - s[0]->x) * (s[1]->y - s[0]->y);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
            {
                const uint32_t got = canvas.Get(x, y);
                ASSERT_LE(got, 1u);
                const int want = line ? 0 : ExactInside(s[0], s[1], s[2], int64_t{x} << 16, int64_t{y} << 16, 1024);
                if (want >= 0)
                {
                    ASSERT_EQ(static_cast<int>(got), want)
                        << "seed " << seed << " trial " << trial << " pixel " << x << "," << y;
                }
            }
    }
}

TEST(TriangleWalk, FixedPointRounding)
{
    EXPECT_EQ(FixedFloor(65537), 65536);
    EXPECT_EQ(FixedFloor(65536), 65536);
    EXPECT_EQ(FixedFloor(1), 0);
    EXPECT_EQ(FixedFloor(0), 0);
    EXPECT_EQ(FixedFloor(-1), -65536); // the true floor below zero
    EXPECT_EQ(FixedFloor(-65536), -65536);
    EXPECT_EQ(FixedCeil(10 * 65536), 10);
    EXPECT_EQ(FixedCeil(10 * 65536 + 1), 11);
    EXPECT_EQ(FixedCeil(-32768), 0);
    EXPECT_EQ(FixedReciprocal(3 * 65536), (int64_t{1} << 48) / (3 * 65536));
    EXPECT_EQ(FixedReciprocal(-7), -((int64_t{1} << 48) / 7)); // truncation toward zero
    EXPECT_EQ(FixedMulShift(-1, 1, 16), -1);                   // toward minus infinity
    EXPECT_EQ(FixedAdd(INT32_MAX, 1), INT32_MIN);               // wraps without overflow
}

// The variant table: index selection and sharing, the no-draw entries, the override, every entry
// against the plain per-pixel reference on seeded random scenes (seed and entry printed on a
// mismatch), and a golden CRC per entry that pins the drawn pixels.
// Rerun one case: test_rasteriser --gtest_filter='TriangleSpanTable.*'
// Print new golden CRCs: QUOLL_PRINT_GOLDEN=1 test_rasteriser --gtest_filter='*Golden*'
#include "framework/rasteriser/TriangleSpanTable.h"
#include "RasterReference.h"
#include "RasterTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <vector>

using namespace Quoll;
using RasterTest::Canvas;

namespace
{
constexpr int32_t kFormats[4] = {0x8888, 0x888, 0x565, 0x555};

// Channel values biased toward 0 and 255, where thresholds and carries live.
uint32_t BiasedByte(std::mt19937& rng)
{
    const uint32_t r = rng();
    switch (r % 8)
    {
    case 0:
        return 0;
    case 1:
        return 255;
    case 2:
        return (r >> 8) % 10;       // around the skip threshold
    case 3:
        return 236 + (r >> 8) % 8;  // around the opaque threshold
    default:
        return (r >> 8) & 0xFF;
    }
}

uint32_t BiasedWord(std::mt19937& rng)
{
    return (BiasedByte(rng) << 24) | (BiasedByte(rng) << 16) | (BiasedByte(rng) << 8) | BiasedByte(rng);
}

// One random scene: texture, draw colour, destination contents and a list of triangles that lie
// inside the destination.
struct RandomScene
{
    std::vector<uint32_t> texels;
    TriangleTexture texture{};
    TriangleColor color{};
    std::vector<uint32_t> dst;
    std::vector<FixedVertex> vertices;

    RandomScene(std::mt19937& rng, int width, int height, int triangles)
    {
        const int tw = 1 + rng() % 9, th = 1 + rng() % 9;
        texels.resize(static_cast<size_t>(tw * th));
        for (auto& t : texels)
            t = BiasedWord(rng);
        texture.pixels = texels.data();
        texture.width = tw;
        texture.height = th;
        texture.size = tw * th;
        color = {static_cast<int32_t>(BiasedByte(rng)), static_cast<int32_t>(BiasedByte(rng)),
                 static_cast<int32_t>(BiasedByte(rng)), static_cast<int32_t>(BiasedByte(rng))};
        dst.resize(static_cast<size_t>(width * height));
        for (auto& d : dst)
            d = BiasedWord(rng);
        for (int i = 0; i < 3 * triangles; ++i)
        {
            FixedVertex v{};
            v.x = static_cast<int32_t>(rng() % (static_cast<uint32_t>(width - 1) << 16));
            v.y = static_cast<int32_t>(rng() % (static_cast<uint32_t>(height - 1) << 16));
            v.a = static_cast<int32_t>(BiasedByte(rng) << 16);
            v.r = static_cast<int32_t>(BiasedByte(rng) << 16);
            v.g = static_cast<int32_t>(BiasedByte(rng) << 16);
            v.b = static_cast<int32_t>(BiasedByte(rng) << 16);
            // Texture positions from a little before to a little past the texture.
            v.u = static_cast<int32_t>(rng() % static_cast<uint32_t>((tw + 2) << 16)) - 0x10000;
            v.v = static_cast<int32_t>(rng() % static_cast<uint32_t>((th + 2) << 16)) - 0x10000;
            vertices.push_back(v);
        }
    }

    void Fill(Canvas& canvas) const
    {
        for (int y = 0; y < canvas.Height(); ++y)
            for (int x = 0; x < canvas.Width(); ++x)
                canvas.Set(x, y, dst[static_cast<size_t>(y * canvas.Width() + x)]);
    }
};

struct TableEnvironment : ::testing::Test
{
    void SetUp() override { InitTriangleSpanTable(); }
    void TearDown() override { InitTriangleSpanTable(); }
};

using TriangleSpanTable = TableEnvironment;

void Marker(const FixedVertex*, uint8_t* dst, int32_t, const TriangleTexture*, const TriangleColor*)
{
    *dst = 0x42;
}
} // namespace

TEST(TriangleSpanTableBeforeInit, NullEntriesDrawNothing)
{
    // Defined first so that it runs before any test fills the table (CTest runs it alone).
    if (GetTriangleSpanEntry(16) != nullptr)
        GTEST_SKIP() << "table already filled by an earlier test";
    uint8_t pixel[4] = {1, 2, 3, 4};
    const FixedVertex v[3] = {};
    DispatchTriangleSpan(true, false, 0x8888, false, false, v, pixel, 4, nullptr, nullptr, false);
    EXPECT_EQ(pixel[0], 1);
}

TEST_F(TriangleSpanTable, IndexSelectionAndSharedEntries)
{
    EXPECT_EQ(TriangleFormatGroup(0x8888), 0);
    EXPECT_EQ(TriangleFormatGroup(0x888), 1);
    EXPECT_EQ(TriangleFormatGroup(0x565), 2);
    EXPECT_EQ(TriangleFormatGroup(0x555), 3);
    EXPECT_EQ(TriangleFormatGroup(0), 0);
    EXPECT_EQ(TriangleFormatGroup(888), 0);
    for (int g = 0; g < 4; ++g)
    {
        const int base = g * 32;
        for (int i : {1, 2, 3, 8, 9, 10, 11})
            EXPECT_EQ(GetTriangleSpanEntry(base + i), GetTriangleSpanEntry(0));
        for (int i : {5, 12, 13})
            EXPECT_EQ(GetTriangleSpanEntry(base + i), GetTriangleSpanEntry(base + 4));
        for (int i : {7, 14, 15})
            EXPECT_EQ(GetTriangleSpanEntry(base + i), GetTriangleSpanEntry(base + 6));
        EXPECT_NE(GetTriangleSpanEntry(base + 4), GetTriangleSpanEntry(base + 6));
    }
    EXPECT_EQ(GetTriangleSpanEntry(49), GetTriangleSpanEntry(17));
    EXPECT_EQ(GetTriangleSpanEntry(48), GetTriangleSpanEntry(16));
    // Every other textured entry is a function of its own.
    std::set<TriangleSpanFunc> distinct;
    for (int g = 0; g < 4; ++g)
        for (int i = 16; i < 32; ++i)
            distinct.insert(GetTriangleSpanEntry(g * 32 + i));
    EXPECT_EQ(distinct.size(), 64u - 2u);
}

TEST_F(TriangleSpanTable, DispatchComputesTheIndexAndSkipsNullEntries)
{
    uint8_t pixel[4] = {};
    const FixedVertex v[3] = {};
    const TriangleTexture texture{};
    const TriangleColor color{};
    // 0x565, textured + blend + tint selects 90; an unknown code draws as 0x8888.
    SetTriangleSpanOverride(0x565, &Marker);
    EXPECT_EQ(GetTriangleSpanEntry(90), &Marker);
    DispatchTriangleSpan(true, true, 0x565, false, true, v, pixel, 4, &texture, &color, false);
    EXPECT_EQ(pixel[0], 0x42);
    SetTriangleSpanOverride(1234, &Marker);
    EXPECT_EQ(GetTriangleSpanEntry(26), &Marker);
    EXPECT_NE(GetTriangleSpanEntry(58), &Marker);
    EXPECT_NE(GetTriangleSpanEntry(122), &Marker);
    SetTriangleSpanOverride(0x555, &Marker);
    EXPECT_EQ(GetTriangleSpanEntry(122), &Marker);
}

TEST_F(TriangleSpanTable, UntexturedWithoutVertexColoursDrawsNothing)
{
    Canvas canvas(8, 8, 0x8888);
    canvas.Fill(0x12345678);
    const FixedVertex v[3] = {RasterTest::Vertex(0, 0), RasterTest::Vertex(8, 0), RasterTest::Vertex(0, 8)};
    const TriangleTexture texture{};
    const TriangleColor color{128, 1, 2, 3};
    for (bool blend : {false, true})
        for (bool tint : {false, true})
            for (bool filter : {false, true})
                DispatchTriangleSpan(false, blend, 0x8888, false, tint, v, canvas.Origin(), canvas.Pitch(), &texture,
                                     &color, filter);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(canvas.Get(x, y), 0x12345678u);
}

TEST_F(TriangleSpanTable, EveryEntryMatchesThePlainReference)
{
    const uint32_t seed = 424242;
    std::mt19937 rng(seed);
    for (int scene = 0; scene < 12; ++scene)
    {
        const RandomScene s(rng, 24, 20, 6);
        for (int index = 0; index < kTriangleSpanTableSize; ++index)
        {
            const int32_t format = kFormats[index / 32];
            Canvas fast(24, 20, format, 2), slow(24, 20, format, 2);
            s.Fill(fast);
            s.Fill(slow);
            for (size_t t = 0; t + 2 < s.vertices.size(); t += 3)
            {
                GetTriangleSpanEntry(index)(&s.vertices[t], fast.Origin(), fast.Pitch(), &s.texture, &s.color);
                RasterReference::DrawReference(index, &s.vertices[t], slow.Origin(), slow.Pitch(), s.texture, s.color);
            }
            ASSERT_TRUE(fast.CanariesIntact()) << "seed " << seed << " scene " << scene << " entry " << index;
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 24; ++x)
                    ASSERT_EQ(fast.Get(x, y), slow.Get(x, y))
                        << std::hex << "seed " << std::dec << seed << " scene " << scene << " entry " << index
                        << " pixel " << x << "," << y;
        }
    }
}

TEST_F(TriangleSpanTable, EveryAdditiveEntryMatchesThePlainReference)
{
    const uint32_t seed = 515151;
    std::mt19937 rng(seed);
    for (int scene = 0; scene < 12; ++scene)
    {
        const RandomScene s(rng, 24, 20, 6);
        for (int index = 0; index < kTriangleAddTableSize; ++index)
        {
            const int32_t format = kFormats[index / kTriangleAddGroupSize];
            Canvas fast(24, 20, format, 2), slow(24, 20, format, 2);
            s.Fill(fast);
            s.Fill(slow);
            for (size_t t = 0; t + 2 < s.vertices.size(); t += 3)
            {
                GetTriangleAddEntry(index)(&s.vertices[t], fast.Origin(), fast.Pitch(), &s.texture, &s.color);
                RasterReference::DrawAddReference(index, &s.vertices[t], slow.Origin(), slow.Pitch(), s.texture,
                                                  s.color);
            }
            ASSERT_TRUE(fast.CanariesIntact()) << "seed " << seed << " scene " << scene << " entry " << index;
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 24; ++x)
                    ASSERT_EQ(fast.Get(x, y), slow.Get(x, y))
                        << std::hex << "seed " << std::dec << seed << " scene " << scene << " additive entry "
                        << index << " pixel " << x << "," << y;
        }
    }
}

// Worked values: white over mid grey saturates; grey 128 doubles a texel from black; the
// 8888 destination keeps its alpha; a 16-bit field stops at its maximum.
TEST_F(TriangleSpanTable, AdditiveWorkedValues)
{
    const uint32_t texel = 0xFF808080;
    TriangleTexture texture{&texel, 16, 0, 0, 1, 1, 1};
    auto drawOne = [&](int32_t format, int flags, uint32_t dst, const TriangleColor& color, uint32_t vertexColor) {
        Canvas canvas(4, 4, format);
        canvas.Fill(dst);
        FixedVertex v[3] = {RasterTest::Vertex(0, 0, vertexColor), RasterTest::Vertex(4, 0, vertexColor),
                            RasterTest::Vertex(0, 4, vertexColor)};
        for (auto& p : v)
            p.u = p.v = 0x8000;
        GetTriangleAddEntry(TriangleFormatGroup(format) * kTriangleAddGroupSize + flags)(v, canvas.Origin(),
                                                                                        canvas.Pitch(), &texture,
                                                                                        &color);
        return canvas.Get(1, 1);
    };
    const TriangleColor white{255, 255, 255, 255};
    EXPECT_EQ(drawOne(0x888, 0, 0xFF808080, white, 0), 0xFFFFFFFFu);
    EXPECT_EQ(drawOne(0x8888, 0, 0x40101010, white, 0), 0x40909090u);
    // Grey 128 vertices: 128 * 128 / 255 rounds to 64.
    EXPECT_EQ(drawOne(0x888, kSpanVertexColor, 0xFF000000, white, 0xFF808080), 0xFF404040u);
    // Half alpha in the draw colour halves the sum: 128 * 128 / 255 again.
    EXPECT_EQ(drawOne(0x888, kSpanTint, 0xFF000000, TriangleColor{128, 255, 255, 255}, 0), 0xFF404040u);
    // 565: red 30 + 16 stops at 31, green 40 + 32 at 63, blue 0 + 16.
    EXPECT_EQ(drawOne(0x565, 0, (30u << 11) | (40u << 5), white, 0), (31u << 11) | (63u << 5) | 16u);
}

TEST_F(TriangleSpanTable, GoldenCrcPerEntry)
{
    static const uint32_t kGolden[kTriangleSpanTableSize] = {
#include "TriangleSpanGolden.inc"
    };
    const bool print = std::getenv("QUOLL_PRINT_GOLDEN") != nullptr;
    for (int index = 0; index < kTriangleSpanTableSize; ++index)
    {
        std::mt19937 rng(1000 + static_cast<uint32_t>(index % 32));
        const RandomScene s(rng, 40, 32, 16);
        Canvas canvas(40, 32, kFormats[index / 32]);
        s.Fill(canvas);
        for (size_t t = 0; t + 2 < s.vertices.size(); t += 3)
            GetTriangleSpanEntry(index)(&s.vertices[t], canvas.Origin(), canvas.Pitch(), &s.texture, &s.color);
        const uint32_t crc = RasterTest::Crc32(canvas.Bytes().data(), canvas.Bytes().size());
        if (print)
            std::printf("    0x%08X,%s", crc, index % 4 == 3 ? "\n" : "");
        else
            EXPECT_EQ(crc, kGolden[index]) << "entry " << index;
    }
}

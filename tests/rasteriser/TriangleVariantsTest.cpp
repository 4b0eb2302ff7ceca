// The drawing variants' worked examples, pixel-exact: one covered pixel drawn by a table entry
// with constant vertex colours and texture position, in the formats each example names.
// Rerun one case: test_rasteriser --gtest_filter='TriangleVariants.Tinted*'
#include "framework/rasteriser/TexelFetch.h"
#include "framework/rasteriser/TriangleSpanTable.h"
#include "RasterTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Quoll;
using RasterTest::Canvas;

namespace
{
constexpr int32_t k8888 = 0x8888, k888 = 0x888, k565 = 0x565, k555 = 0x555;

uint32_t F565(uint32_t r, uint32_t g, uint32_t b) { return (r << 11) | (g << 5) | b; }
uint32_t F555(uint32_t r, uint32_t g, uint32_t b) { return (r << 10) | (g << 5) | b; }

TriangleTexture MakeTexture(const std::vector<uint32_t>& texels, int width, int height)
{
    TriangleTexture t{};
    t.pixels = texels.data();
    t.width = width;
    t.height = height;
    t.size = width * height;
    return t;
}

// Everything a variant reads for one pixel; by default one opaque white texel sampled at its
// centre, white opaque vertices and a white draw colour.
struct Scene
{
    std::vector<uint32_t> texels{0xFFFFFFFF};
    int width = 1, height = 1;
    uint32_t vertex = 0xFFFFFFFF;
    TriangleColor color{255, 255, 255, 255};
    int32_t u = 0x8000, v = 0x8000;

    Scene& Texel(uint32_t t) { texels = {t}; return *this; }
    Scene& Vertex(uint32_t argb) { vertex = argb; return *this; }
    Scene& Color(int a, int r, int g, int b) { color = {a, r, g, b}; return *this; }
    // A 4 x 4 texture of one texel value, sampled at (u, v).
    Scene& Uniform4x4(uint32_t t, int32_t su, int32_t sv)
    {
        texels.assign(16, t);
        width = height = 4;
        u = su;
        v = sv;
        return *this;
    }
};

// The value of pixel (1, 1) after the entry for `index` (0..31) of `format` drew a triangle
// over a destination filled with dst.
uint32_t DrawPixel(int32_t format, int index, uint32_t dst, const Scene& s)
{
    InitTriangleSpanTable();
    Canvas canvas(4, 4, format);
    canvas.Fill(dst);
    const TriangleTexture texture = MakeTexture(s.texels, s.width, s.height);
    FixedVertex v[3] = {RasterTest::Vertex(0, 0, s.vertex), RasterTest::Vertex(4, 0, s.vertex),
                        RasterTest::Vertex(0, 4, s.vertex)};
    for (auto& p : v)
    {
        p.u = s.u;
        p.v = s.v;
    }
    GetTriangleSpanEntry(TriangleFormatGroup(format) * 32 + index)(v, canvas.Origin(), canvas.Pitch(), &texture,
                                                                  &s.color);
    return canvas.Get(1, 1);
}
} // namespace

TEST(TriangleVariants, VertexColoredThresholds)
{
    const Scene s;
    for (int index : {4, 5, 12, 13})
    {
        EXPECT_EQ(DrawPixel(k8888, index, 0x00000000, Scene().Vertex(0xFF102030)), 0xFF102030u);
        EXPECT_EQ(DrawPixel(k8888, index, 0x00000000, Scene().Vertex(0xF1102030)), 0xFF102030u);
    }
    // 240 blends with W = 240, 9 with W = 9, 8 draws nothing.
    EXPECT_EQ(DrawPixel(k888, 4, 0xFF000000, Scene().Vertex(0xF0FFFFFF)), 0xFFEFEFEFu);
    EXPECT_EQ(DrawPixel(k888, 4, 0xFF000000, Scene().Vertex(0x09FFFFFF)), 0xFF080808u);
    EXPECT_EQ(DrawPixel(k565, 4, 0x1234, Scene().Vertex(0x08FFFFFF)), 0x1234u);
    // Red 255 at W = 128 onto alpha 0: red 254, alpha 127.
    EXPECT_EQ(DrawPixel(k8888, 4, 0x00000000, Scene().Vertex(0x80FF0000)), 0x7FFE0000u);
    EXPECT_EQ(DrawPixel(k8888, 4, 0xFF000000, Scene().Vertex(0x80FF0000)) >> 24, 0xFFu);
    // Tinted by (a 254, r g b 255): colour 255 keeps 254, alpha 255 becomes 253, still opaque.
    EXPECT_EQ(DrawPixel(k8888, 6, 0x00000000, Scene().Vertex(0xFFFFFFFF).Color(254, 255, 255, 255)), 0xFFFEFEFEu);
}

TEST(TriangleVariants, PlainTexturedPointAndBilinear)
{
    // Point sampling at u = 4.0, v = 1.0 of a 4 x 4 texture reads index 8 (row 2, column 0).
    Scene s;
    s.texels.assign(16, 0xFF000000);
    s.texels[8] = 0xFF00FF00;
    s.width = s.height = 4;
    s.u = 0x40000;
    s.v = 0x10000;
    EXPECT_EQ(DrawPixel(k8888, 16, 0, s), 0xFF00FF00u);
    // One step below zero reads outside the array: opaque black.
    s.u = -1;
    s.v = 0;
    EXPECT_EQ(DrawPixel(k888, 16, 0, s), 0xFF000000u);
    EXPECT_EQ(DrawPixel(k565, 16, 0xFFFF, s), 0u);
    // Wrapping into the next row: 3.75 texels across row 1 reaches the red texel of row 2.
    s.texels[8] = 0xFFFF0000;
    s.u = 3 * 65536 + 49152;
    s.v = 0x18000;
    EXPECT_EQ(DrawPixel(k8888, 17, 0, s), 0xFF3E0000u);
    // Opaque white at a texel centre and half-way between four centres.
    EXPECT_EQ(DrawPixel(k8888, 17, 0, Scene().Uniform4x4(0xFFFFFFFF, 0x18000, 0x18000)), 0xFFFDFDFDu);
    EXPECT_EQ(DrawPixel(k888, 17, 0, Scene().Uniform4x4(0xFFFFFFFF, 0x20000, 0x20000)), 0xFFFBFBFBu);
    EXPECT_EQ(DrawPixel(k565, 17, 0, Scene().Uniform4x4(0xFFFFFFFF, 0x18000, 0x18000)), 0xFFFFu);
    // 0xFB packs to a green field of 62.
    EXPECT_EQ(DrawPixel(k565, 17, 0, Scene().Uniform4x4(0xFFFFFFFF, 0x20000, 0x20000)), F565(31, 62, 31));
    EXPECT_EQ(DrawPixel(k555, 17, 0, Scene().Uniform4x4(0xFFFFFFFF, 0x18000, 0x18000)), 0x7FFFu);
    // Transparent texels contribute black.
    EXPECT_EQ(DrawPixel(k8888, 17, 0x12345678, Scene().Uniform4x4(0x00FFFFFF, 0x18000, 0x18000)), 0xFF000000u);
}

TEST(TriangleVariants, BilinearFetchBeyondTheLastRow)
{
    std::vector<uint32_t> white(16, 0xFFFFFFFF);
    const TriangleTexture t = MakeTexture(white, 4, 4);
    EXPECT_EQ(FetchTexelBilinear(t, 0x18000, 3 * 65536 + 49152), 0xBFBEBEBEu);
    EXPECT_EQ(FetchTexelBilinear(t, 0x20000, 0x20000), 0xFCFBFBFBu);
    // Near the top-left border the true floor reads row and column 0 with most of the weight.
    EXPECT_EQ(FetchTexelBilinear(t, 0x8000, 0x8000) >> 24, 254u);
}

TEST(TriangleVariants, TintedByTheDrawColour)
{
    EXPECT_EQ(DrawPixel(k8888, 18, 0, Scene().Color(255, 255, 128, 0)), 0xFFFE7F00u);
    EXPECT_EQ(DrawPixel(k8888, 18, 0, Scene().Texel(0x80808080).Color(255, 255, 128, 0)), 0xFF7F4000u);
    EXPECT_EQ(DrawPixel(k8888, 18, 0, Scene().Color(255, 128, 128, 128)), 0xFF7F7F7Fu);
    EXPECT_EQ(DrawPixel(k888, 18, 0, Scene().Color(241, 255, 255, 255)), 0xFFFEFEFEu);
    EXPECT_EQ(DrawPixel(k888, 18, 0xFF000000, Scene().Color(240, 255, 255, 255)), 0xFFEDEDEDu);
    const Scene half = Scene().Color(128, 255, 255, 255);
    EXPECT_EQ(DrawPixel(k888, 18, 0xFF000000, half), 0xFF7E7E7Eu);
    EXPECT_EQ(DrawPixel(k888, 18, 0xFFFFFFFF, half), 0xFFFDFDFDu);
    EXPECT_EQ(DrawPixel(k8888, 18, 0x00000000, half), 0x7EFDFDFDu);
    EXPECT_EQ(DrawPixel(k565, 18, 0, half), F565(15, 31, 15));
    EXPECT_EQ(DrawPixel(k555, 18, 0, half), F555(15, 15, 15));
    // Alpha 0 or 1 still rewrites the pixel.
    const Scene none = Scene().Color(1, 255, 255, 255);
    EXPECT_EQ(DrawPixel(k888, 18, 0xFFFFFFFF, none), 0xFFFEFEFEu);
    EXPECT_EQ(DrawPixel(k565, 18, 0xFFFF, none), F565(30, 61, 30));
    EXPECT_EQ(DrawPixel(k8888, 18, 0x80FFFFFF, none), 0x7FFEFEFEu);
    // Filtered: the tinted colour is weighted by the draw alpha once more.
    EXPECT_EQ(DrawPixel(k8888, 19, 0, Scene().Uniform4x4(0xFFFFFFFF, 0x18000, 0x18000).Color(255, 255, 255, 254)),
              0xFFFBFBFAu);
    EXPECT_EQ(DrawPixel(k8888, 18, 0, Scene().Color(255, 255, 255, 254)), 0xFFFEFEFDu);
    EXPECT_EQ(DrawPixel(k888, 19, 0xFF000000, Scene().Uniform4x4(0xFFFFFFFF, 0x18000, 0x18000).Color(128, 255, 255, 255)),
              0xFF7E7E7Eu);
}

TEST(TriangleVariants, ShadedByVertexColours)
{
    EXPECT_EQ(DrawPixel(k8888, 20, 0, Scene()), 0xFFFEFEFEu);
    EXPECT_EQ(DrawPixel(k888, 20, 0, Scene()), 0xFFFEFEFEu);
    EXPECT_EQ(DrawPixel(k565, 20, 0, Scene()), 0xFFFFu);
    EXPECT_EQ(DrawPixel(k555, 20, 0, Scene()), 0x7FFFu);
    EXPECT_EQ(DrawPixel(k8888, 20, 0, Scene().Texel(0x00FF0000)), 0xFFFE0000u);
    // Integer alpha 240 blends (alpha 239), 241 is opaque (240).
    EXPECT_EQ(DrawPixel(k888, 20, 0xFF000000, Scene().Vertex(0xF0FFFFFF)), 0xFFEDEDEDu);
    EXPECT_EQ(DrawPixel(k888, 20, 0xFF000000, Scene().Vertex(0xF1FFFFFF)), 0xFFFEFEFEu);
    // No lower cut-off: alpha 0 scales the destination.
    EXPECT_EQ(DrawPixel(k888, 20, 0x00FF8040, Scene().Vertex(0x00FFFFFF)), 0xFFFE7F3Fu);
    EXPECT_EQ(DrawPixel(k565, 20, 0xFFFF, Scene().Vertex(0x01FFFFFF)), F565(30, 61, 30));
    EXPECT_EQ(DrawPixel(k555, 20, 0x7FFF, Scene().Vertex(0x00FFFFFF)), F555(30, 30, 30));
    // A texel outside the array is black.
    Scene outside;
    outside.u = 0x20000;
    EXPECT_EQ(DrawPixel(k8888, 20, 0x12345678, outside), 0xFF000000u);
    // Filtered: weighted by the vertex alpha once more; a transparent neighbourhood is black.
    EXPECT_EQ(DrawPixel(k8888, 21, 0, Scene().Uniform4x4(0xFFFFFFFF, 0x18000, 0x18000)), 0xFFFBFBFBu);
    EXPECT_EQ(DrawPixel(k565, 21, 0xFFFF, Scene().Uniform4x4(0x00FFFFFF, 0x18000, 0x18000)), 0u);
}

TEST(TriangleVariants, ShadedAndTintedSquareTheTint)
{
    EXPECT_EQ(DrawPixel(k8888, 22, 0, Scene().Color(255, 128, 128, 128)), 0xFF3E3E3Eu);
    EXPECT_EQ(DrawPixel(k8888, 22, 0, Scene().Color(255, 255, 0, 0)) >> 16, 0xFFFCu);
    EXPECT_EQ(DrawPixel(k888, 22, 0xFF000000, Scene().Color(249, 255, 255, 0)) >> 16, 0xFFFCu);
    EXPECT_NE(DrawPixel(k888, 22, 0xFF00FFFF, Scene().Color(248, 255, 255, 0)) & 0xFF, 0xFFu); // blended
    EXPECT_EQ(DrawPixel(k888, 22, 0xFFFFFFFF, Scene().Color(0, 255, 255, 255)), 0xFFFEFEFEu);
    EXPECT_EQ(DrawPixel(k565, 22, 0xFFFF, Scene().Color(0, 255, 255, 255)), F565(30, 61, 30));
    // Filtered: P is the shaded colour weighted by the tinted alpha 253.
    EXPECT_EQ(DrawPixel(k8888, 23, 0, Scene().Uniform4x4(0xFFFFFFFF, 0x18000, 0x18000).Color(255, 255, 255, 254)),
              0xFFF7F7F5u);
}

TEST(TriangleVariants, TexelAlphaBlended)
{
    for (int32_t f : {k8888, k888, k565, k555})
        EXPECT_EQ(DrawPixel(f, 24, 0x1234, Scene().Texel(0x08FFFFFF)), 0x1234u) << f;
    EXPECT_EQ(DrawPixel(k8888, 24, 0, Scene().Texel(0xF0FFFFFF)), 0xFFFFFFFFu);
    EXPECT_EQ(DrawPixel(k888, 24, 0, Scene().Texel(0xF0FFFFFF)), 0xFFFFFFFFu);
    EXPECT_EQ(DrawPixel(k565, 24, 0, Scene().Texel(0xF0FFFFFF)), 0xFFFFu);
    EXPECT_EQ(DrawPixel(k555, 24, 0, Scene().Texel(0xF0FFFFFF)), 0x7FFFu);
    EXPECT_EQ(DrawPixel(k888, 24, 0xFF000000, Scene().Texel(0x09FFFFFF)), 0xFF080808u);
    EXPECT_EQ(DrawPixel(k8888, 24, 0x00ABCDEF, Scene().Texel(0xFA102030)), 0xFF102030u);
    EXPECT_EQ(DrawPixel(k565, 24, 0x0000, Scene().Texel(0x80FFFFFF)), F565(15, 31, 15));
    EXPECT_EQ(DrawPixel(k565, 24, 0xFFFF, Scene().Texel(0x80FFFFFF)), F565(29, 60, 29));
    EXPECT_EQ(DrawPixel(k8888, 24, 0x00000000, Scene().Texel(0x80FF0000)), 0x7FFE0000u);
    Scene outside;
    outside.u = 0x20000;
    EXPECT_EQ(DrawPixel(k8888, 24, 0x12345678, outside), 0x12345678u);
    // Filtered over the last row: alpha 191, colour 0xBE, blended.
    const Scene border = Scene().Uniform4x4(0xFFFFFFFF, 0x18000, 3 * 65536 + 49152);
    EXPECT_EQ(DrawPixel(k8888, 25, 0xFF000000, border), 0xFFBEBEBEu);
    EXPECT_EQ(DrawPixel(k8888, 25, 0x00000000, border), 0xBEFEFEFEu);
    EXPECT_EQ(DrawPixel(k565, 25, 0, border), F565(23, 47, 23));
    EXPECT_EQ(DrawPixel(k555, 25, 0, border), F555(23, 23, 23));
    EXPECT_EQ(DrawPixel(k888, 25, 0, Scene().Uniform4x4(0xFFFFFFFF, 0x18000, 0x18000)), 0xFFFDFDFDu);
    EXPECT_EQ(DrawPixel(k888, 25, 0xFF123456, Scene().Uniform4x4(0x08FFFFFF, 0x20000, 0x20000)), 0xFF123456u);
}

TEST(TriangleVariants, BlendedAndTinted)
{
    EXPECT_EQ(DrawPixel(k8888, 26, 0x1234, Scene().Texel(0x08FFFFFF).Color(255, 255, 0, 0)), 0x1234u);
    EXPECT_EQ(DrawPixel(k888, 26, 0xFF000000, Scene().Texel(0x09FFFFFF).Color(255, 255, 255, 0)), 0xFF070700u);
    EXPECT_EQ(DrawPixel(k8888, 26, 0, Scene().Color(255, 128, 255, 0)), 0xFF7FFE00u);
    EXPECT_EQ(DrawPixel(k8888, 26, 0, Scene().Texel(0x80FFFFFF).Color(255, 128, 255, 0)) >> 24, 126u);
    EXPECT_EQ(DrawPixel(k888, 26, 0, Scene().Color(241, 255, 255, 0)), 0xFFFEFE00u);
    EXPECT_EQ(DrawPixel(k888, 26, 0xFF000000, Scene().Color(240, 255, 255, 0)), 0xFFEDED00u);
    // Filtered with A >= 240 stores the tinted colour weighted by the draw alpha.
    EXPECT_EQ(DrawPixel(k8888, 27, 0, Scene().Uniform4x4(0xFFFFFFFF, 0x18000, 0x18000).Color(250, 255, 255, 0)),
              0xFFF6F600u);
    Scene outside = Scene().Color(255, 255, 0, 0);
    outside.u = 0x20000;
    EXPECT_EQ(DrawPixel(k565, 26, 0x1234, outside), 0x1234u);
}

TEST(TriangleVariants, BlendedAndShaded)
{
    EXPECT_EQ(DrawPixel(k8888, 28, 0xFF000000, Scene().Texel(0x09FFFFFF)), 0xFF070707u);
    EXPECT_EQ(DrawPixel(k8888, 28, 0xFF000000, Scene().Texel(0xF1FFFFFF)), 0xFFFEFEFEu);
    EXPECT_EQ(DrawPixel(k888, 28, 0xFF000000, Scene().Texel(0xF0FFFFFF)), 0xFFEDEDEDu);
    EXPECT_EQ(DrawPixel(k565, 28, 0, Scene()), 0xFFFFu);
    EXPECT_EQ(DrawPixel(k555, 28, 0, Scene()), 0x7FFFu);
    const Scene centre = Scene().Uniform4x4(0xFFFFFFFF, 0x18000, 0x18000);
    EXPECT_EQ(DrawPixel(k8888, 29, 0, centre), 0xFFFBFBFBu);
    EXPECT_EQ(DrawPixel(k565, 29, 0, centre), F565(31, 62, 31));
    EXPECT_EQ(DrawPixel(k555, 29, 0, centre), 0x7FFFu);
    Scene half = centre;
    half.vertex = 0x80FFFFFF;
    EXPECT_EQ(DrawPixel(k8888, 29, 0xFF000000, half), 0xFF7E7E7Eu);
    EXPECT_EQ(DrawPixel(k565, 29, 0, half), F565(15, 31, 15));
    EXPECT_EQ(DrawPixel(k555, 29, 0, half), F555(15, 15, 15));
    EXPECT_EQ(DrawPixel(k8888, 29, 0, half), 0x7EFDFDFDu);
    const Scene none = Scene().Vertex(0x00FFFFFF);
    EXPECT_EQ(DrawPixel(k8888, 28, 0xFFFFFFFF, none), 0xFEFEFEFEu);
    EXPECT_EQ(DrawPixel(k888, 28, 0xFFFFFFFF, none), 0xFFFEFEFEu);
    EXPECT_EQ(DrawPixel(k565, 28, 0xFFFF, none), F565(30, 61, 30));
    EXPECT_EQ(DrawPixel(k555, 28, 0x7FFF, none), F555(30, 30, 30));
    EXPECT_EQ(DrawPixel(k8888, 28, 0, Scene().Texel(0x81FFFFFF)), 0x7FFEFEFEu);
    // Alpha 0 over alpha 0 in 0x8888 has no divisor: the pixel is left as it was.
    EXPECT_EQ(DrawPixel(k8888, 28, 0x00123456, none), 0x00123456u);
}

TEST(TriangleVariants, BlendedShadedAndTinted)
{
    const Scene grey = Scene().Color(255, 128, 128, 128);
    EXPECT_EQ(DrawPixel(k8888, 30, 0, grey), 0xFF3E3E3Eu);
    EXPECT_EQ(DrawPixel(k888, 30, 0, grey), 0xFF3E3E3Eu);
    EXPECT_EQ(DrawPixel(k565, 30, 0, grey), F565(7, 15, 7));
    EXPECT_EQ(DrawPixel(k555, 30, 0, grey), F555(7, 7, 7));
    Scene greyCentre = Scene().Uniform4x4(0xFFFFFFFF, 0x18000, 0x18000);
    greyCentre.color = grey.color;
    EXPECT_EQ(DrawPixel(k8888, 31, 0, greyCentre), 0xFF3D3D3Du);
    EXPECT_EQ(DrawPixel(k565, 31, 0, greyCentre), F565(7, 15, 7));
    EXPECT_EQ(DrawPixel(k555, 31, 0, greyCentre), F555(7, 7, 7));
    EXPECT_EQ(DrawPixel(k8888, 30, 0xFF000000, Scene().Texel(0x09FFFFFF).Color(255, 128, 128, 128)), 0xFF010101u);
    const Scene clear = Scene().Color(0, 255, 255, 255);
    EXPECT_EQ(DrawPixel(k8888, 30, 0xFFFFFFFF, clear), 0xFEFEFEFEu);
    EXPECT_EQ(DrawPixel(k888, 30, 0xFFFFFFFF, clear), 0xFFFEFEFEu);
    EXPECT_EQ(DrawPixel(k565, 30, 0xFFFF, clear), F565(30, 61, 30));
    EXPECT_EQ(DrawPixel(k555, 30, 0x7FFF, clear), F555(30, 30, 30));
    const Scene half = Scene().Color(128, 255, 255, 255);
    EXPECT_EQ(DrawPixel(k8888, 30, 0xFF000000, half), 0xFF3D3D3Du);
    EXPECT_EQ(DrawPixel(k8888, 30, 0x00000000, half), 0x3DFBFBFBu);
}
